#include "views3d/scene/gl/Materials.h"

#include "platform/gl/MeshShading.h"

#include <GL/gl.h>

#include <array>

namespace nupo {

namespace {

using Colour = std::array<float, 4>;

struct MaterialPreset {
    Colour ambient;
    Colour specular;
    float shininess;
    Colour emission;
    bool refraction;
};

constexpr Colour black = {0, 0, 0, 1};
constexpr Colour white = {1, 1, 1, 1};
constexpr Colour glow = {0.3f, 0.2f, 0.2f, 0.0f};
constexpr Colour amber = {0.8f, 0.8f, 0.2f, 1.0f};
constexpr Colour pale = {0.7f, 0.7f, 0.7f, 1.0f};

// Presets 1..12 in order.
constexpr MaterialPreset presets[12] = {
    {black, black, 0, black, false},  {black, white, 5, black, false},  {black, white, 100, black, false},
    {black, black, 0, glow, false},   {amber, black, 0, black, true},   {amber, white, 5, black, true},
    {amber, white, 100, black, true}, {amber, black, 0, glow, true},    {black, white, 100, black, false},
    {pale, white, 5, black, false},   {pale, white, 100, black, false}, {pale, black, 0, glow, false},
};

constexpr float presetDiffuse[4] = {0.1f, 0.5f, 0.8f, 1.0f};

}  // namespace

void setMaterial(int preset)
{
    if (preset < 1 || preset > 12)
        return;
    const MaterialPreset& p = presets[preset - 1];
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_BLEND);
    glMaterialfv(GL_FRONT, GL_AMBIENT, p.ambient.data());
    glMaterialfv(GL_FRONT, GL_DIFFUSE, presetDiffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, p.specular.data());
    glMaterialf(GL_FRONT, GL_SHININESS, p.shininess);
    glMaterialfv(GL_FRONT, GL_EMISSION, p.emission.data());
    if (p.refraction)
        refraction_Bb();
}

void refraction_Bb()
{
    applyGlassMaterial();
}

}  // namespace nupo
