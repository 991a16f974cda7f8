#include "platform/gl/ColorTables.h"
#include "platform/gl/OffscreenGLContext.h"
#include "views3d/scene/gl/ColorTablesXN.h"
#include "views3d/scene/gl/Materials.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>

using namespace nupo;

namespace {

using RGBA4 = std::array<float, 4>;

void expectColour(const float* actual, RGBA4 expected, const char* what)
{
    for (int c = 0; c < 4; ++c)
        EXPECT_NEAR(actual[c], expected[c], 1e-5) << what << " component " << c;
}

RGBA4 material(GLenum name)
{
    RGBA4 value{};
    glGetMaterialfv(GL_FRONT, name, value.data());
    return value;
}

}  // namespace

TEST(ColorTables, RampsOfTheFiveModes)
{
    reInitColorX();
    // Mode 1 entry 36 ends the blue rise; entry 65 is halfway from blue to green.
    expectColour(difmatAX1[36], {0, 0, 1, 1}, "mode 1 at 36");
    expectColour(difmatAX1[65], {0, 28.0f / 57, 28.0f / 57, 1}, "mode 1 at 65");
    expectColour(difmatAX2[100], {0, 58.0f / 65, 6.0f / 65, 1}, "mode 2 at 100");
    expectColour(difmatAX2[255], {1, 1, 44.0f / 45, 1}, "mode 2 at 255");
    expectColour(difmatAX3[240], {0.45f, 1, 1, 1}, "mode 3 at 240");
    expectColour(difmatAX3[200], {0.9f + 55.0f / 670, 41.0f / 67, 41.0f / 67, 1}, "mode 3 at 200");
    expectColour(difmatAX4[230], {5.0f / 18, 25.0f / 256, 25 * 0.9f / 256, 1}, "mode 4 at 230");
    expectColour(difmatAX5[100], {1, 0.7f + 89.0f / 630, 30.0f / 223, 1}, "mode 5 at 100");
    expectColour(difmatAX5[240], {1, 15 * 0.7f / 66, 0.3f + 16 * 0.7f / 57, 1}, "mode 5 at 240");

    // Ambient ramps carry the RGB only; the working set is the last ramp built (mode 5).
    expectColour(difambAX2[100], {0, 58.0f / 65, 6.0f / 65, 0}, "ambient mode 2 at 100");
    for (int i = 0; i < 256; i += 17) {
        expectColour(difmatAX[i], {difmatAX5[i][0], difmatAX5[i][1], difmatAX5[i][2], 1}, "working = mode 5");
        expectColour(difambAX[i], {difmatAX5[i][0], difmatAX5[i][1], difmatAX5[i][2], 0}, "working ambient");
    }
}

TEST(ColorTables, BrightnessVariants)
{
    reInitColorX();
    // Variant mode 1 is base mode 2 scaled by k / 50.
    expectColour(difmatFAX1[100][25], {0, 29.0f / 65, 3.0f / 65, 1}, "variant 1 at 100, k 25");
    expectColour(difmatFAX1[100][0], {0, 0, 0, 1}, "k 0 is black");
    expectColour(difmatFAX1[100][100], {0, 116.0f / 65, 12.0f / 65, 1}, "k 100 is twice the colour");
    // Variant mode 2 has its own ramp.
    expectColour(difmatFAX2[20][50], {0.2f, 0, 20.0f / 30, 1}, "variant 2 at 20");
    expectColour(difmatFAX2[180][50], {1, 30.0f / 45, 14.0f / 45, 1}, "variant 2 at 180");
    expectColour(difmatFAX2[253][50], {0.5f, 0.5f, 0.5f, 1}, "variant 2 at 253");
    expectColour(difmatFAX3[240][50], {15 * 9.0f / 260, 1, 1, 1}, "variant 3 at 240");
    expectColour(difmatFAX5[240][50], {1, 15 * 0.7f / 66, 0.3f + 16 * 0.021875f, 1}, "variant 5 at 240");
    for (int i = 0; i < 256; i += 15)
        for (int k = 0; k <= 100; k += 20)
            expectColour(difmatFAX[i][k], {difmatFAX5[i][k][0], difmatFAX5[i][k][1], difmatFAX5[i][k][2], 1},
                         "working variants = mode 5");

    // Modes outside 1..5 write nothing.
    const float before = difmatAX[10][1];
    resetColorX(0);
    resetColorX(6);
    EXPECT_EQ(difmatAX[10][1], before);
}

TEST(ColorTables, WaveSurfaceFamily)
{
    reInitColorXZN();
    expectColour(difmatAXN0[77], {1, 1, 1, 1}, "mode 0 is white");
    expectColour(difmatFAX0N[77][3], {1, 1, 1, 1}, "variant mode 0 is unscaled white");
    expectColour(difmatAXN1[180], {1, 21.0f / 65, 0, 1}, "XN mode 1 at 180");
    expectColour(difmatAXN1[230], {1, 1, 19.0f / 57, 1}, "XN mode 1 at 230");
    expectColour(difmatAXN2[180], {0, 21.0f / 65, 1, 1}, "XN mode 2 at 180");
    expectColour(difmatAXN1[50], {0, 13.0f / 57, 43.0f / 57, 1}, "XN mode 1 as X below 159");
    expectColour(difmatFAX1N[180][25], {0.5f, 0.25f, 16.0f / 180, 1}, "XN variant 1 at 180, k 25");
    expectColour(difmatFAX3N[240][50], {0.45f, 1, 1, 1}, "XN variant 3 at 240");
    expectColour(difmatFAX5N[240][50], {1, 15 * 0.7f / 66, 0.3f + 16 * 0.7f / 57, 1}, "XN variant 5 at 240");
}

class ColorMaterials : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(context_.isValid()) << context_.errorString().toStdString();
        reInitColorX();
        reInitColorXZN();
    }
    OffscreenGLContext context_{QSize(8, 8)};
};

TEST_F(ColorMaterials, LookupsClampIndexAndPalette)
{
    groen_CtextureNX(-5, 2);  // entry 0 of palette 2
    EXPECT_EQ(material(GL_DIFFUSE), (RGBA4{0, 0, 0, 1}));
    groen_CtextureNX(300, 2);  // entry 255
    expectColour(material(GL_DIFFUSE).data(), {1, 1, 44.0f / 45, 1}, "entry 255");
    expectColour(material(GL_AMBIENT).data(), {1, 1, 44.0f / 45, 0}, "its ambient");
    groen_CtextureNX(10, 9);  // palette 5, entry 11
    expectColour(material(GL_DIFFUSE).data(), {1, 0.7f + 178.0f / 630, 3.3f / 223, 1}, "palette 9 is 5");
    groen_CtextureNX(10, -1);  // palette 0: the working ramp, mode 5 after set-up
    expectColour(material(GL_DIFFUSE).data(), {1, 0.7f + 178.0f / 630, 3.3f / 223, 1}, "palette -1 is 0");

    groen_CBtextureNX(10, 50, 1);  // variant mode 1 (= base mode 2) at entry 11
    expectColour(material(GL_DIFFUSE).data(), {11.0f / 36, 0, 0, 1}, "variant k 50");
    expectColour(material(GL_AMBIENT).data(), {11.0f / 36, 0, 0, 1}, "variant ambient");
    groen_CBtextureNX(10, 150, 1);
    expectColour(material(GL_DIFFUSE).data(), {22.0f / 36, 0, 0, 1}, "k 150 is 100");
    groen_CBtextureNX(10, 0, 1);
    expectColour(material(GL_DIFFUSE).data(), {0, 0, 0, 1}, "k 0");

    glMaterialfv(GL_FRONT, GL_AMBIENT, RGBA4{0.25f, 0.25f, 0.25f, 1}.data());
    groen_textureNX(35);  // diffuse only, working ramp entry 36
    expectColour(material(GL_DIFFUSE).data(), {1, 0.7f + 153.0f / 630, 36 * 0.3f / 223, 1}, "working");
    expectColour(material(GL_AMBIENT).data(), {0.25f, 0.25f, 0.25f, 1}, "ambient untouched");

    groen_CtextureNXN(35, 0);  // XN palette 0 is white
    expectColour(material(GL_DIFFUSE).data(), {1, 1, 1, 1}, "XN palette 0");
    groen_textureNXN(35);  // XN working ramps: mode 5, diffuse and ambient
    expectColour(material(GL_AMBIENT).data(), {1, 0.7f + 153.0f / 630, 36 * 0.3f / 223, 0}, "XN ambient");
}

TEST_F(ColorMaterials, Presets)
{
    setMaterial(3);
    EXPECT_EQ(material(GL_AMBIENT), (RGBA4{0, 0, 0, 1}));
    expectColour(material(GL_DIFFUSE).data(), {0.1f, 0.5f, 0.8f, 1}, "preset diffuse");
    EXPECT_EQ(material(GL_SPECULAR), (RGBA4{1, 1, 1, 1}));
    GLfloat shininess = 0;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_EQ(shininess, 100.0f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));

    // 0 and 13 change nothing.
    glEnable(GL_BLEND);
    setMaterial(0);
    setMaterial(13);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(shininess, 100.0f);

    setMaterial(12);
    expectColour(material(GL_AMBIENT).data(), {0.7f, 0.7f, 0.7f, 1}, "preset 12 ambient");
    expectColour(material(GL_EMISSION).data(), {0.3f, 0.2f, 0.2f, 0}, "preset 12 emission");

    // 8: the refraction look, additive and glassy.
    setMaterial(8);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    GLint source = 0, destination = 0, tracked = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &tracked);
    EXPECT_EQ(source, GL_ONE);
    EXPECT_EQ(destination, GL_ONE);
    EXPECT_EQ(tracked, GL_AMBIENT);
    expectColour(material(GL_DIFFUSE).data(), {0.1f, 0.1f, 0.1f, 1}, "refraction diffuse");
    expectColour(material(GL_EMISSION).data(), {0.3f, 0.2f, 0.2f, 0}, "preset 8 emission");
}
