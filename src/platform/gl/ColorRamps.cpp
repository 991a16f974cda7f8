#include "platform/gl/ColorRamps.h"

namespace nupo::ColorRamps {

namespace {

// Mode 1: black, blue, green, red, yellow, white.
RGB mode1(int n)
{
    const float i = static_cast<float>(n);
    if (n <= 36)
        return {0.0f, 0.0f, i / 36.0f};
    if (n <= 93)
        return {0.0f, (i - 37) / 57.0f, (93 - i) / 57.0f};
    if (n <= 158)
        return {(i - 94) / 65.0f, (158 - i) / 65.0f, 0.0f};
    if (n <= 210)
        return {1.0f, (i - 159) / 52.0f, 0.0f};
    return {1.0f, 1.0f, (i - 211) / 45.0f};
}

// Mode 2: black, red, green, blue, yellow, white.
RGB mode2(int n)
{
    const float i = static_cast<float>(n);
    if (n <= 36)
        return {i / 36.0f, 0.0f, 0.0f};
    if (n <= 93)
        return {(93 - i) / 57.0f, (i - 37) / 57.0f, 0.0f};
    if (n <= 158)
        return {0.0f, (158 - i) / 65.0f, (i - 94) / 65.0f};
    if (n <= 210)
        return {(i - 159) / 52.0f, (i - 159) / 52.0f, (211 - i) / 52.0f};
    return {1.0f, 1.0f, (i - 211) / 45.0f};
}

// Mode 3: mode 1 over a red floor of 0.5, ending in cyan.
RGB mode3(int n)
{
    const float i = static_cast<float>(n);
    if (n <= 36)
        return {0.5f, 0.0f, i / 36.0f};
    if (n <= 93)
        return {0.5f, (i - 37) / 57.0f, (93 - i) / 57.0f};
    if (n <= 158)
        return {0.5f + (i - 94) / 130.0f, (158 - i) / 65.0f, 0.0f};
    if (n <= 225)
        return {0.9f + (255 - i) / 670.0f, (i - 159) / 67.0f, (i - 159) / 67.0f};
    return {(255 - i) * 0.03f, 1.0f, 1.0f};
}

// Mode 4: cyan to red.
RGB mode4(int n)
{
    const float i = static_cast<float>(n);
    const float g = (255 - i) / 256.0f;
    const float b = (255 - i) * 0.9f / 256.0f;
    if (n <= 224)
        return {0.0f, g, b};
    if (n <= 242)
        return {(i - 225) / 18.0f, g, b};
    return {1.0f, g, b};
}

// Mode 5: yellow through orange to magenta.
RGB mode5(int n)
{
    const float i = static_cast<float>(n);
    if (n <= 189)
        return {1.0f, 0.7f + (189 - i) / 630.0f, i * 0.3f / 223.0f};
    if (n <= 223)
        return {1.0f, (255 - i) * 0.7f / 66.0f, i * 0.3f / 223.0f};
    return {1.0f, (255 - i) * 0.7f / 66.0f, 0.3f + (i - 224) * 0.7f / 57.0f};
}

const RGB grey{0.5f, 0.5f, 0.5f};

// The spans the two own variant ramps (X mode 2, XN mode 1) share: green to red on 66..110, red to yellow
// on 111..165, grey to blue-grey on 211..251, grey above.
RGB variantSpans(int n)
{
    const float i = static_cast<float>(n);
    if (n <= 110)
        return {(i - 64) / 45.0f, (110 - i) / 45.0f, 0.0f};
    if (n <= 165)
        return {1.0f, (i - 109) / 55.0f, 0.0f};
    if (n <= 251)
        return {0.5f, 0.5f, (i - 209) / 41.0f};
    return grey;
}

}  // namespace

bool baseX(int mode, int i, RGB& colour)
{
    static constexpr RGB (*ramps[5])(int) = {mode1, mode2, mode3, mode4, mode5};
    if (mode < 1 || mode > 5)
        return false;
    colour = ramps[mode - 1](i);
    return true;
}

bool baseXN(int mode, int n, RGB& colour)
{
    const float i = static_cast<float>(n);
    switch (mode) {
        case 0:
            colour = {1.0f, 1.0f, 1.0f};
            return true;
        case 1:
            colour = n >= 159 && n <= 210 ? RGB{1.0f, (i - 159) / 65.0f, 0.0f}
                     : n >= 211           ? RGB{1.0f, 1.0f, (i - 211) / 57.0f}
                                          : mode1(n);
            return true;
        case 2:
            colour = n >= 159 && n <= 210 ? RGB{0.0f, (i - 159) / 65.0f, 1.0f}
                     : n >= 211           ? RGB{1.0f, 1.0f, (i - 211) / 57.0f}
                                          : mode2(n);
            return true;
        default:
            return baseX(mode, n, colour);
    }
}

bool variantBaseX(int mode, int n, RGB& colour)
{
    const float i = static_cast<float>(n);
    switch (mode) {
        case 1:
            colour = mode2(n);
            return true;
        case 2:
            if (n <= 30)
                colour = {i / 100.0f, 0.0f, i / 30.0f};
            else if (n <= 65)
                colour = {0.3f, (i - 31) / 35.0f, (65 - i) / 35.0f};
            else if (n > 165 && n <= 210)
                colour = {1.0f, (210 - i) / 45.0f, (i - 166) / 45.0f};
            else
                colour = variantSpans(n);
            return true;
        case 3:
            if (n <= 225)
                colour = mode3(n);
            else if (n <= 251)
                colour = {(255 - i) * 9.0f / 260.0f, 1.0f, 1.0f};
            else
                colour = grey;
            return true;
        case 4:
            colour = mode4(n);
            return true;
        case 5:
            colour = mode5(n);
            if (n >= 224)
                colour.b = 0.3f + (i - 224) * 0.021875f;
            return true;
        default:
            return false;
    }
}

bool variantBaseXN(int mode, int n, RGB& colour)
{
    const float i = static_cast<float>(n);
    switch (mode) {
        case 1:
            if (n <= 30)
                colour = {0.0f, 0.0f, i / 30.0f};
            else if (n <= 65)
                colour = {0.0f, (i - 29) / 35.0f, (65 - i) / 35.0f};
            else if (n > 165 && n <= 210)
                colour = {1.0f, 0.5f, (i - 164) / 90.0f};
            else
                colour = variantSpans(n);
            return true;
        case 2:
            return baseXN(2, n, colour);
        case 3:
            colour = n <= 251 ? mode3(n) : grey;
            return true;
        case 4:
            colour = mode4(n);
            return true;
        case 5:
            colour = mode5(n);
            return true;
        default:
            return false;
    }
}

}  // namespace nupo::ColorRamps
