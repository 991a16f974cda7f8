#pragma once

#include "platform/gl/TexelFootprint.h"

#include <functional>
#include <optional>

namespace nupo {

// A textured triangle is drawn without anisotropic filtering where it is seen so nearly edge-on that its
// texture moves more than edgeOnTexelsPerPixel texels from one pixel to the next, or that a corner comes
// within edgeOnPixelsToHorizon pixels of its plane's vanishing line (where neighbouring pixels take
// texture coordinates of any size). Such a triangle is a hairline a few pixels long; the software
// rasteriser's anisotropic filter walks the texels of its footprint, which grows faster than the square
// of the step, and one such triangle stalls a frame for seconds or for good. Drawn with plain trilinear
// filtering, the hairline's few pixels come out a little blurrier. Tests and benches may change the
// limits (an infinite step and a zero distance turn the guard off). Drawing threads read them.
inline double edgeOnTexelsPerPixel = 128.0;
inline double edgeOnPixelsToHorizon = 4.0;

// Finds, before a textured draw, the triangles seen edge-on by the limits above, with the current
// context's transforms and bound 2D texture, and draws them with that texture's anisotropy at 1. Used by
// the wave surface's walls and the 3D scene's textured surfaces.
class EdgeOnGuard {
public:
    // Reads the transforms, the bound texture's size and anisotropy and whether its coordinates are
    // generated (sphere map). False, and nothing to guard, when the texture is not filtered
    // anisotropically.
    bool begin();
    // Where a vertex lands in the window, with its texture coordinates in texels (the generated ones
    // where generation is on). After a successful begin.
    TexturedCorner place(const float position[3], const float normal[3], const float texCoord[2]) const;
    // Whether a triangle of placed corners is seen edge-on.
    static bool edgeOn(const TexturedCorner& a, const TexturedCorner& b, const TexturedCorner& c);
    // Runs draw with the bound texture's anisotropy at 1, and puts the anisotropy back after it.
    void withoutAnisotropy(const std::function<void()>& draw) const;

private:
    std::optional<WindowTransform> transform_;
    float width_ = 0.0f;  // texels of level 0
    float height_ = 0.0f;
    bool generatedS_ = false;
    bool generatedT_ = false;
    float anisotropy_ = 1.0f;
};

}  // namespace nupo
