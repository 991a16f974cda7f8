#include "plots/frame/gl/PlotColourTables.h"

#include <cmath>

namespace nupo {

namespace {

struct RGB {
    float red, green, blue;
};

// The ramp factors are single-precision constants and every product is formed in single precision.
constexpr float k36 = 0.027777778f;
constexpr float k57 = 0.01754386f;
constexpr float k65 = 0.015384615f;
constexpr float k52 = 0.01923077f;
constexpr float k45 = 0.022222223f;
constexpr float k130 = 0.0076923077f;
constexpr float k67 = 0.014925373f;
constexpr float k67tenth = 0.0014925373f;
constexpr float k18 = 0.055555556f;
constexpr float k256 = 0.00390625f;
constexpr float k256of09 = 0.003515625f;

float f(int i)
{
    return static_cast<float>(i);
}

// Black, blue, green, red, yellow, near white.
RGB style1(int i)
{
    if (i <= 36)
        return {0.0f, 0.0f, f(i) * k36};
    if (i <= 93)
        return {0.0f, f(i - 37) * k57, f(93 - i) * k57};
    if (i <= 158)
        return {f(i - 94) * k65, f(158 - i) * k65, 0.0f};
    if (i <= 210)
        return {1.0f, f(i - 159) * k52, 0.0f};
    return {1.0f, 1.0f, f(i - 211) * k45};
}

// Black, red, green, blue, yellow, near white.
RGB style2(int i)
{
    if (i <= 36)
        return {f(i) * k36, 0.0f, 0.0f};
    if (i <= 93)
        return {f(93 - i) * k57, f(i - 37) * k57, 0.0f};
    if (i <= 158)
        return {0.0f, f(158 - i) * k65, f(i - 94) * k65};
    if (i <= 210)
        return {f(i - 159) * k52, f(i - 159) * k52, f(211 - i) * k52};
    return {1.0f, 1.0f, f(i - 211) * k45};
}

// Dark red base; red runs slightly above 1.0 from entry 159 on, as computed.
RGB style3(int i)
{
    if (i <= 36)
        return {0.5f, 0.0f, f(i) * k36};
    if (i <= 93)
        return {0.5f, f(i - 37) * k57, f(93 - i) * k57};
    if (i <= 158)
        return {static_cast<float>(0.5 + f(i - 94) * k130), f(158 - i) * k65, 0.0f};
    if (i <= 225)
        return {static_cast<float>(0.9 + static_cast<double>(f(255 - i) * k67tenth)), f(i - 159) * k67,
                f(i - 159) * k67};
    return {f(255 - i) * 0.03f, 1.0f, 1.0f};
}

// Cyan fading to dark, red rising at the top end.
RGB style4(int i)
{
    float red = 0.0f;
    if (i >= 243)
        red = 1.0f;
    else if (i >= 225)
        red = f(i - 225) * k18;
    return {red, f(255 - i) * k256, f(255 - i) * k256of09};
}

}  // namespace

void buildColourTables(int style, ColourTable& mat, ColourTable& amb)
{
    if (style == 5) {
        const float source[4] = {amb[0][0], amb[0][1], amb[0][2], amb[0][3]};
        for (int i = 0; i < 256; ++i) {
            for (int c = 0; c < 4; ++c) {
                mat[i][c] = source[c];
                amb[i][c] = source[c];
            }
        }
        return;
    }
    RGB (*ramp)(int) = nullptr;
    switch (style) {
        case 1:
            ramp = style1;
            break;
        case 2:
            ramp = style2;
            break;
        case 3:
            ramp = style3;
            break;
        case 4:
            ramp = style4;
            break;
        default:
            return;
    }
    for (int i = 0; i < 256; ++i) {
        const RGB rgb = ramp(i);
        mat[i][0] = amb[i][0] = rgb.red;
        mat[i][1] = amb[i][1] = rgb.green;
        mat[i][2] = amb[i][2] = rgb.blue;
        mat[i][3] = 1.0f;
    }
}

void resetColor(int style)
{
    buildColourTables(style, difmatA, difambA);
    if (style >= 1 && style <= 5)
        difmatAStyle = style;
}

int clampColourIndex(double index)
{
    if (std::isnan(index) || index <= 0.0)
        return 0;
    if (index >= 255.0)
        return 255;
    return static_cast<int>(index);
}

}  // namespace nupo
