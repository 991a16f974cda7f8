#include "platform/gl/ColorTables.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace nupo {

namespace ColorTableDetail {

int entry(int index)
{
    return std::clamp(index + 1, 0, ColorRamps::entries - 1);
}

int palette(int palette)
{
    return std::clamp(palette, 0, 5);
}

int variant(int k)
{
    return std::clamp(k, 0, ColorRamps::variants - 1);
}

bool fillRamp(bool (*ramp)(int, int, ColorRamps::RGB&), int mode, ColorRamp& diffuse, ColorRamp& ambient)
{
    ColorRamps::RGB colour;
    if (!ramp(mode, 0, colour))
        return false;
    for (int i = 0; i < ColorRamps::entries; ++i) {
        ramp(mode, i, colour);
        diffuse[i][0] = ambient[i][0] = colour.r;
        diffuse[i][1] = ambient[i][1] = colour.g;
        diffuse[i][2] = ambient[i][2] = colour.b;
        diffuse[i][3] = 1.0f;
    }
    return true;
}

bool fillVariants(bool (*ramp)(int, int, ColorRamps::RGB&), int mode, ColorVariants& variants, bool scaled)
{
    ColorRamps::RGB colour;
    if (!ramp(mode, 0, colour))
        return false;
    for (int i = 0; i < ColorRamps::entries; ++i) {
        ramp(mode, i, colour);
        for (int k = 0; k < ColorRamps::variants; ++k) {
            const float scale = scaled ? static_cast<float>(k) / 50.0f : 1.0f;
            variants[i][k][0] = colour.r * scale;
            variants[i][k][1] = colour.g * scale;
            variants[i][k][2] = colour.b * scale;
            variants[i][k][3] = 1.0f;
        }
    }
    return true;
}

void copyRamp(const ColorRamp& from, ColorRamp& diffuse, ColorRamp& ambient)
{
    for (int i = 0; i < ColorRamps::entries; ++i) {
        for (int c = 0; c < 3; ++c)
            diffuse[i][c] = ambient[i][c] = from[i][c];
        diffuse[i][3] = 1.0f;
    }
}

void copyVariants(const ColorVariants& from, ColorVariants& to)
{
    std::memcpy(to, from, sizeof(ColorVariants));
    for (auto& row : to)
        for (auto& colour : row)
            colour[3] = 1.0f;
}

void setFrontMaterial(const float* diffuse, const float* ambient)
{
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    if (ambient)
        glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
}

}  // namespace ColorTableDetail

namespace {

using namespace ColorTableDetail;

ColorRamp* const diffusePalettes[6] = {&difmatAX, &difmatAX1, &difmatAX2, &difmatAX3, &difmatAX4, &difmatAX5};
ColorRamp* const ambientPalettes[6] = {&difambAX, &difambAX1, &difambAX2, &difambAX3, &difambAX4, &difambAX5};
ColorVariants* const variantPalettes[6] = {&difmatFAX,  &difmatFAX1, &difmatFAX2,
                                           &difmatFAX3, &difmatFAX4, &difmatFAX5};

}  // namespace

void reInitColorX()
{
    // The tables come out the same each time, and views of several kinds (each drawing on a thread of
    // its own) ask for them when they set up: filled once, they are only read from then on.
    static std::once_flag filled;
    std::call_once(filled, [] {
        for (int mode = 1; mode <= 5; ++mode) {
            resetColorX(mode);
            copyRamp(difmatAX, *diffusePalettes[mode], *ambientPalettes[mode]);
        }
        reInitBColorX();
    });
}

void reInitBColorX()
{
    for (int mode = 1; mode <= 5; ++mode) {
        resetBColorX(mode);
        copyVariants(difmatFAX, *variantPalettes[mode]);
    }
}

void resetColorX(int mode)
{
    fillRamp(ColorRamps::baseX, mode, difmatAX, difambAX);
    resetBColorX(mode);
}

void resetBColorX(int mode)
{
    fillVariants(ColorRamps::variantBaseX, mode, difmatFAX);
}

void setColorX()
{
    std::memcpy(difambAX, difmatAX, sizeof(ColorRamp));
}

const float* colour_CtextureNX(int index, int p)
{
    return (*diffusePalettes[palette(p)])[entry(index)];
}

const float* colour_CBtextureNX(int index, int k, int p)
{
    return (*variantPalettes[palette(p)])[entry(index)][variant(k)];
}

void groen_CtextureNX(int index, int p)
{
    setFrontMaterial(colour_CtextureNX(index, p), (*ambientPalettes[palette(p)])[entry(index)]);
}

void groen_CBtextureNX(int index, int k, int p)
{
    const float* colour = colour_CBtextureNX(index, k, p);
    setFrontMaterial(colour, colour);
}

void groen_textureNX(int index)
{
    setFrontMaterial(difmatAX[entry(index)], nullptr);
}

}  // namespace nupo
