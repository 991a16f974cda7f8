#include "views3d/scene/gl/ColorTablesXN.h"

#include <cstring>

namespace nupo {

namespace {

using namespace ColorTableDetail;

ColorRamp* const diffusePalettes[6] = {&difmatAXN0, &difmatAXN1, &difmatAXN2,
                                       &difmatAXN3, &difmatAXN4, &difmatAXN5};
ColorRamp* const ambientPalettes[6] = {&difambAXN0, &difambAXN1, &difambAXN2,
                                       &difambAXN3, &difambAXN4, &difambAXN5};
ColorVariants* const variantPalettes[6] = {&difmatFAX0N, &difmatFAX1N, &difmatFAX2N,
                                           &difmatFAX3N, &difmatFAX4N, &difmatFAX5N};

// Variant mode 0 is plain white, unscaled; the others have their own base colours.
bool whiteOrVariant(int mode, int i, ColorRamps::RGB& colour)
{
    if (mode == 0) {
        colour = {1.0f, 1.0f, 1.0f};
        return true;
    }
    return ColorRamps::variantBaseXN(mode, i, colour);
}

}  // namespace

void reInitColorXZN()
{
    for (int mode = 0; mode <= 5; ++mode) {
        resetColorXZN(mode);
        copyRamp(difmatAXN, *diffusePalettes[mode], *ambientPalettes[mode]);
    }
    reInitBColorXN();
}

void reInitBColorXN()
{
    for (int mode = 0; mode <= 5; ++mode) {
        resetBColorXN(mode);
        copyVariants(difmatFAXN, *variantPalettes[mode]);
    }
}

void resetColorXZN(int mode)
{
    fillRamp(ColorRamps::baseXN, mode, difmatAXN, difambAXN);
    resetBColorXN(mode);
}

void resetBColorXN(int mode)
{
    fillVariants(whiteOrVariant, mode, difmatFAXN, mode != 0);
}

void setColorXN()
{
    std::memcpy(difambAXN, difmatAXN, sizeof(ColorRamp));
}

void groen_CtextureNXN(int index, int p)
{
    const int i = entry(index);
    const int n = palette(p);
    setFrontMaterial((*diffusePalettes[n])[i], (*ambientPalettes[n])[i]);
}

void groen_CBtextureNXN(int index, int k, int p)
{
    const float* colour = (*variantPalettes[palette(p)])[entry(index)][variant(k)];
    setFrontMaterial(colour, colour);
}

void groen_textureNXN(int index)
{
    const int i = entry(index);
    setFrontMaterial(difmatAXN[i], difambAXN[i]);
}

}  // namespace nupo
