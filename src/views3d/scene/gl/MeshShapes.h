#pragma once

// The reset shapes of a square height mesh, shared by the 3D spectrum mesh and the wave surface.

#include <cmath>
#include <numbers>

namespace nupo {

// Height of vertex (i, j) in reset shape `mode` on a g-vertex grid; false (height untouched) for a mode
// that has no shape. `quarter` and `sixth` are the heights a quarter and a sixth of the grid side stand
// for (the spectrum mesh uses 0.25 G and G / 6, the wave surface whole-number quotients).
//
// Shapes: 1 flat; 2 one spike of 1.5 G in the middle; 3 a ridge `sixth` along the anti-diagonal; 4 row 1
// at `quarter`; 5 a plateau `quarter` with a hole in the central third; 6 a block `quarter` in the central
// third; 7 `sixth` beyond the anti-diagonal; 8 a block `quarter` in the far quarter; 9 one half sine wave
// each way; 10 one full sine wave each way.
inline bool meshShapeHeight(int mode, int i, int j, int g, float quarter, float sixth, float& height)
{
    const float G = static_cast<float>(g);
    const bool inCentre = g / 3 < i && i < (2 * g) / 3 && g / 3 < j && j < (2 * g) / 3;
    switch (mode) {
        case 1:
            height = 0.0f;
            return true;
        case 2:
            height = i == g / 2 && j == g / 2 ? 1.5f * G : 0.0f;
            return true;
        case 3:
            height = i + j == g - 1 || i + j == g - 2 ? sixth : 0.0f;
            return true;
        case 4:
            height = i == 1 ? quarter : 0.0f;
            return true;
        case 5:
            height = inCentre ? 0.0f : quarter;
            return true;
        case 6:
            height = inCentre ? quarter : 0.0f;
            return true;
        case 7:
            height = i + j >= g - 2 ? sixth : 0.0f;
            return true;
        case 8:
            height = i > (3 * g) / 4 && j > (3 * g) / 4 ? quarter : 0.0f;
            return true;
        case 9:
        case 10: {
            const double waves = mode == 9 ? std::numbers::pi : 2.0 * std::numbers::pi;
            const double si = std::sin(waves * static_cast<float>(i / G));
            const double sj = std::sin(waves * static_cast<float>(j / G));
            height = static_cast<float>((si + sj) * G / 6.0);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace nupo
