#pragma once

// How far a textured triangle's texture moves from one pixel to the next, found on the CPU from the GL
// transform state before the triangle is drawn. Mesa's software rasteriser filters anisotropically by
// walking the texels under each pixel's footprint, and a triangle seen almost exactly edge-on stretches
// its texture across a hair's width of the window: its footprint is then thousands to billions of texels
// long, and the few pixels it covers take seconds or never finish. Drawing code finds such triangles here
// and draws them without anisotropic filtering.

namespace nupo {

// The modelview, projection and viewport of a frame, to place object-space vertices in the window.
class WindowTransform {
public:
    // Matrices in GL's column-major order; the viewport as x, y, width, height.
    WindowTransform(const float modelview[16], const float projection[16], const int viewport[4]);
    // The current context's modelview, projection and viewport.
    static WindowTransform current();

    struct Point {
        float x = 0.0f;  // window pixels
        float y = 0.0f;
        float w = 0.0f;  // clip w: at or below 0 at or behind the eye
    };
    Point toWindow(const float object[3]) const;
    void toEye(const float object[3], float eye[3]) const;
    // A normal in eye space, for a modelview without scaling (rotations and shifts), made unit length.
    void normalToEye(const float normal[3], float eye[3]) const;

private:
    float modelview_[16];
    float projection_[16];
    int viewport_[4];
};

// The texture coordinates GL's sphere-map generation gives a vertex at an eye-space position with an
// eye-space unit normal.
void sphereMapCoords(const float eyePosition[3], const float eyeNormal[3], float st[2]);

// A corner of a textured triangle: window position, clip w and texture coordinates in texels.
struct TexturedCorner {
    WindowTransform::Point window;
    float u = 0.0f;
    float v = 0.0f;
};

// How a triangle's texture is spread over the window.
struct TexelFootprint {
    // The largest step in texels between neighbouring pixels at the triangle's corners (the longer of
    // the texture's derivatives along x and along y, perspective-correct).
    double texelsPerPixel = 0.0;
    // How far, in pixels, the triangle's corners come to the vanishing line of its plane, where the
    // perspective division divides by zero. Within a pixel or two of it, the neighbouring pixels that
    // the rasteriser takes derivatives from lie beyond, where the texture coordinates run to any size.
    double pixelsToHorizon = 0.0;
};

// The footprint of a triangle. Zero for one with a corner at or behind the eye, which GL clips and this
// does not judge; infinite steps and no distance for one with no area in the window or with
// coordinates that are not finite.
TexelFootprint texelFootprint(const TexturedCorner& a, const TexturedCorner& b, const TexturedCorner& c);

}  // namespace nupo
