#include "plots/waterfall/gl/WaterfallColours.h"

#include "platform/gl/MeshShading.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace nupo {

namespace {

// Every component is an integer numerator times a single-precision constant.
float part(int numerator, int denominator)
{
    return static_cast<float>(numerator) * (1.0f / static_cast<float>(denominator));
}

void set(float rgb[3], float r, float g, float b)
{
    rgb[0] = r;
    rgb[1] = g;
    rgb[2] = b;
}

ColourRamp* const diffuseRamps[6] = {&difmatAXZ,  &difmatAXZ1, &difmatAXZ2,
                                     &difmatAXZ3, &difmatAXZ4, &difmatAXZ5};
ColourRamp* const ambientRamps[6] = {&difambAXZ,  &difambAXZ1, &difambAXZ2,
                                     &difambAXZ3, &difambAXZ4, &difambAXZ5};
ShadeTable* const shadeTables[6] = {&difmatFAXZ,  &difmatFAX1Z, &difmatFAX2Z,
                                    &difmatFAX3Z, &difmatFAX4Z, &difmatFAX5Z};

int paletteOf(int palette)
{
    return std::clamp(palette, 0, 5);
}

}  // namespace

void colourRampEntry(int style, int i, float rgb[3])
{
    set(rgb, 0.0f, 0.0f, 0.0f);
    switch (style) {
        case 1:  // black, blue, green, red, yellow, white
            if (i <= 36)
                set(rgb, 0.0f, 0.0f, part(i, 36));
            else if (i <= 93)
                set(rgb, 0.0f, part(i - 37, 57), part(93 - i, 57));
            else if (i <= 158)
                set(rgb, part(i - 94, 65), part(158 - i, 65), 0.0f);
            else if (i <= 210)
                set(rgb, 1.0f, part(i - 159, 52), 0.0f);
            else
                set(rgb, 1.0f, 1.0f, part(i - 211, 45));
            break;
        case 2:  // black, red, green, blue, yellow, white
            if (i <= 36)
                set(rgb, part(i, 36), 0.0f, 0.0f);
            else if (i <= 93)
                set(rgb, part(93 - i, 57), part(i - 37, 57), 0.0f);
            else if (i <= 158)
                set(rgb, 0.0f, part(158 - i, 65), part(i - 94, 65));
            else if (i <= 210)
                set(rgb, part(i - 159, 52), part(i - 159, 52), part(211 - i, 52));
            else
                set(rgb, 1.0f, 1.0f, part(i - 211, 45));
            break;
        case 3:  // dark red, violet, yellow-green, red, white
            if (i <= 36)
                set(rgb, 0.5f, 0.0f, part(i, 36));
            else if (i <= 93)
                set(rgb, 0.5f, part(i - 37, 57), part(93 - i, 57));
            else if (i <= 158)
                set(rgb, 0.5f + part(i - 94, 130), part(158 - i, 65), 0.0f);
            else if (i <= 225)
                set(rgb, 0.9f + part(i, 670), part(i - 159, 67), part(i - 159, 67));
            else
                set(rgb, 0.03f * static_cast<float>(i), 1.0f, 1.0f);
            break;
        case 4: {  // black rising to teal, red added towards white
            const float green = part(i, 256);
            const float blue = 0.003515625f * static_cast<float>(i);
            const float red = i <= 224 ? 0.0f : (i <= 242 ? part(i - 225, 18) : 1.0f);
            set(rgb, red, green, blue);
            break;
        }
        case 5:  // yellow fading to orange, then yellow to pale yellow
            if (i <= 189)
                set(rgb, 1.0f, 0.7f + part(189 - i, 630), 0.3f * part(i, 223));
            else if (i <= 223)
                set(rgb, 1.0f, 0.7f * part(i, 66), 0.3f * part(i, 223));
            else
                set(rgb, 1.0f, 0.7f * part(i, 66), 0.3f + 0.7f * part(i - 224, 57));
            break;
        default:
            break;
    }
}

void shadeBaseEntry(int style, int i, float rgb[3])
{
    switch (style) {
        case 1:
            colourRampEntry(2, i, rgb);
            break;
        case 2:
            if (i <= 30)
                set(rgb, 0.3f * part(i, 30), 0.0f, part(i, 30));
            else if (i <= 65)
                set(rgb, 0.3f, part(i - 31, 35), part(65 - i, 35));
            else if (i <= 110)
                set(rgb, part(i - 64, 45), part(110 - i, 45), 0.0f);
            else if (i <= 165)
                set(rgb, 1.0f, part(i - 109, 55), 0.0f);
            else if (i <= 210)
                set(rgb, 1.0f, part(210 - i, 45), part(i - 166, 45));
            else if (i <= 251)
                set(rgb, 0.5f, 0.5f, part(i - 209, 41));
            else
                set(rgb, 0.5f, 0.5f, 0.5f);
            break;
        case 3:
            if (i <= 225)
                colourRampEntry(3, i, rgb);
            else if (i <= 251)
                set(rgb, 0.9f * part(i, 26), 1.0f, 1.0f);
            else
                set(rgb, 0.5f, 0.5f, 0.5f);
            break;
        case 4:
            colourRampEntry(4, i, rgb);
            break;
        case 5:
            if (i <= 223)
                colourRampEntry(5, i, rgb);
            else
                set(rgb, 1.0f, 0.7f * part(i, 66), 0.3f + 0.7f * part(i - 224, 32));
            break;
        default:
            set(rgb, 0.0f, 0.0f, 0.0f);
            break;
    }
}

void resetColorXZZ(int style)
{
    if (style >= 1 && style <= 5) {
        for (int i = 0; i < colourEntries; ++i) {
            float rgb[3];
            colourRampEntry(style, i, rgb);
            std::copy(rgb, rgb + 3, difmatAXZ[i]);
            difmatAXZ[i][3] = 1.0f;
            std::copy(rgb, rgb + 3, difambAXZ[i]);
        }
    }
    resetBColorXZ(style);
}

void resetBColorXZ(int style)
{
    if (style < 1 || style > 5)
        return;
    for (int i = 0; i < colourEntries; ++i) {
        float base[3];
        shadeBaseEntry(style, i, base);
        for (int k = 0; k < colourShades; ++k) {
            for (int c = 0; c < 3; ++c)
                difmatFAXZ[i][k][c] = base[c] * static_cast<float>(k) / 50.0f;
            difmatFAXZ[i][k][3] = 1.0f;
        }
    }
}

void reInitColorXZZ()
{
    for (int style = 1; style <= 5; ++style) {
        resetColorXZZ(style);
        for (int i = 0; i < colourEntries; ++i)
            for (int c = 0; c < 3; ++c) {
                (*diffuseRamps[style])[i][c] = difmatAXZ[i][c];
                (*ambientRamps[style])[i][c] = difmatAXZ[i][c];
            }
        for (int i = 0; i < colourEntries; ++i) {
            (*diffuseRamps[style])[i][3] = 1.0f;
            (*ambientRamps[style])[i][3] = 1.0f;
        }
    }
    reInitBColorXZ();
}

void reInitBColorXZ()
{
    for (int style = 1; style <= 5; ++style) {
        resetBColorXZ(style);
        ShadeTable& table = *shadeTables[style];
        for (int i = 0; i < colourEntries; ++i)
            for (int k = 0; k < colourShades; ++k) {
                for (int c = 0; c < 3; ++c)
                    table[i][k][c] = difmatFAXZ[i][k][c];
                table[i][k][3] = 1.0f;
            }
    }
}

void setColorXZ()
{
    for (int i = 0; i < colourEntries; ++i)
        std::copy(difmatAXZ[i], difmatAXZ[i] + 4, difambAXZ[i]);
}

const ColourRamp& diffuseRamp(int palette)
{
    return *diffuseRamps[paletteOf(palette)];
}

const ColourRamp& ambientRamp(int palette)
{
    return *ambientRamps[paletteOf(palette)];
}

const ShadeTable& shadeTable(int palette)
{
    return *shadeTables[paletteOf(palette)];
}

int colourEntryOf(int index)
{
    // index + 1 without overflow for the largest int.
    return index >= colourEntries - 1 ? colourEntries - 1 : std::max(index + 1, 0);
}

int colourShadeOf(int shade)
{
    return std::clamp(shade, 0, colourShades - 1);
}

int colourIndexOf(double value)
{
    if (std::isnan(value))
        return 0;
    // Far outside every table, well inside int.
    return static_cast<int>(std::clamp(value, -1.0e6, 1.0e6));
}

void groen_textureNXZ(int index)
{
    glMaterialfv(GL_FRONT, GL_DIFFUSE, difmatAXZ[colourEntryOf(index)]);
}

void groen_CtextureNXZ(int index, int palette)
{
    const int e = colourEntryOf(index);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuseRamp(palette)[e]);
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambientRamp(palette)[e]);
}

void groen_CBtextureNXZ(int index, int shade, int palette)
{
    const float* colour = shadeTable(palette)[colourEntryOf(index)][colourShadeOf(shade)];
    glMaterialfv(GL_FRONT, GL_DIFFUSE, colour);
    glMaterialfv(GL_FRONT, GL_AMBIENT, colour);
}

void setMaterial2D(int preset)
{
    if (preset < 1 || preset > 12)
        return;
    static const GLfloat none[] = {0.0f, 0.0f, 0.0f, 1.0f};
    static const GLfloat grey[] = {0.7f, 0.7f, 0.7f, 1.0f};
    static const GLfloat coloured[] = {0.8f, 0.8f, 0.2f, 1.0f};
    static const GLfloat diffuse[] = {0.1f, 0.5f, 0.8f, 1.0f};
    static const GLfloat white[] = {1.0f, 1.0f, 1.0f, 1.0f};
    static const GLfloat emission[] = {0.3f, 0.2f, 0.2f, 0.0f};
    struct Preset {
        const GLfloat* ambient;
        const GLfloat* specular;
        GLfloat shininess;
        const GLfloat* emission;
    };
    static const Preset presets[12] = {
        {none, none, 0.0f, none},        {none, white, 5.0f, none},        {none, white, 100.0f, none},
        {none, none, 0.0f, emission},    {coloured, none, 0.0f, none},     {coloured, white, 5.0f, none},
        {coloured, white, 100.0f, none}, {coloured, none, 0.0f, emission}, {none, white, 100.0f, none},
        {grey, white, 5.0f, none},       {grey, white, 100.0f, none},      {grey, none, 0.0f, emission}};
    const Preset& p = presets[preset - 1];
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_BLEND);
    glMaterialfv(GL_FRONT, GL_AMBIENT, p.ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, p.specular);
    glMaterialf(GL_FRONT, GL_SHININESS, p.shininess);
    glMaterialfv(GL_FRONT, GL_EMISSION, p.emission);
    if (preset >= 5 && preset <= 8)
        refraction_Bb2D();
}

void refraction_Bb2D()
{
    applyGlassMaterial();
}

}  // namespace nupo
