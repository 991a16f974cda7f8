#pragma once

namespace nupo {

// The one colour type of the system. Every colour that enters (colour wells, documents, defaults) is
// converted to RGBA at the boundary, so no code downstream ever meets a colour without RGB components.
struct RGBAColor {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 1.0f;

    static RGBAColor fromRGBA(double r, double g, double b, double a = 1.0);
    static RGBAColor fromWhite(double white, double a = 1.0);
    // Each component clamped to 0..1; NaN becomes 0.
    RGBAColor clamped() const;

    friend bool operator==(const RGBAColor&, const RGBAColor&) = default;
};

}  // namespace nupo
