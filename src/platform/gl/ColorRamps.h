#pragma once

// The colour ramps behind the 3D views' colour tables: for each ramp entry 0..255 an RGB colour, by mode.
// The X family serves the 3D spectrum scene, the XN family the wave surface.

namespace nupo::ColorRamps {

inline constexpr int entries = 256;
inline constexpr int variants = 101;  // brightness variants k = 0..100 of each entry: colour x k / 50

struct RGB {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

// Base ramp of mode 1..5 (X) or 0..5 (XN) at entry i; false for another mode.
bool baseX(int mode, int i, RGB& colour);
bool baseXN(int mode, int i, RGB& colour);
// Base colour of the brightness variants of mode 1..5 (X) or 1..5 (XN; mode 0 is plain white, not
// scaled) at entry i; false for another mode.
bool variantBaseX(int mode, int i, RGB& colour);
bool variantBaseXN(int mode, int i, RGB& colour);

}  // namespace nupo::ColorRamps
