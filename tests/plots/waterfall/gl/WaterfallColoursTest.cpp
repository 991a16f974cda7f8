#include "platform/gl/OffscreenGLContext.h"
#include "plots/waterfall/gl/WaterfallColours.h"
#include "plots/waterfall/gl/WaterfallText.h"
#include "shared/AnalysisState.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace nupo {
namespace {

TEST(WaterfallColours, RampsAndShadeTablesFollowTheirStyles)
{
    setColorXZ();
    reInitColorXZZ();
    EXPECT_NEAR(difmatAXZ3[200][0], 0.9f + 200.0f / 670.0f, 1e-6);  // above 1, stored as computed
    EXPECT_NEAR(difmatAXZ3[240][0], 7.2f, 1e-5);
    EXPECT_FLOAT_EQ(difmatAXZ1[36][2], 1.0f);
    EXPECT_FLOAT_EQ(difmatAXZ1[65][1], 28.0f / 57.0f);
    EXPECT_FLOAT_EQ(difmatAXZ2[100][2], 6.0f / 65.0f);
    EXPECT_FLOAT_EQ(difmatAXZ4[230][0], 5.0f / 18.0f);
    EXPECT_FLOAT_EQ(difmatAXZ4[100][2], 0.3515625f);
    EXPECT_FLOAT_EQ(difmatAXZ5[0][1], 1.0f);
    EXPECT_FLOAT_EQ(difambAXZ3[240][0], difmatAXZ3[240][0]);
    // Shade k is the base colour × k / 50.
    EXPECT_FLOAT_EQ(difmatFAX2Z[252][50][0], 0.5f);
    EXPECT_FLOAT_EQ(difmatFAX2Z[252][100][2], 1.0f);
    EXPECT_FLOAT_EQ(difmatFAX2Z[252][0][1], 0.0f);
    EXPECT_FLOAT_EQ(difmatFAX1Z[40][50][0], difmatAXZ2[40][0]);  // style 1 shades style 2's ramp
    EXPECT_FLOAT_EQ(difmatFAX5Z[240][50][2], 0.3f + 0.7f * 16.0f / 32.0f);
    EXPECT_FLOAT_EQ(difmatFAX3Z[230][50][0], 0.9f * 230.0f / 26.0f);
    // Every entry opaque; palette 0 (the working tables) equals palette 5 after the build.
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(difmatAXZ2[i][3], 1.0f);
        ASSERT_EQ(difmatFAX4Z[i][77][3], 1.0f);
        for (int c = 0; c < 4; ++c) {
            ASSERT_EQ(diffuseRamp(0)[i][c], diffuseRamp(5)[i][c]);
            ASSERT_EQ(shadeTable(0)[i][33][c], shadeTable(5)[i][33][c]);
        }
    }
}

TEST(WaterfallColours, LookupsClampIndexShadeAndPalette)
{
    EXPECT_EQ(colourEntryOf(-1), 0);
    EXPECT_EQ(colourEntryOf(-50), 0);
    EXPECT_EQ(colourEntryOf(0), 1);
    EXPECT_EQ(colourEntryOf(254), 255);
    EXPECT_EQ(colourEntryOf(std::numeric_limits<int>::max()), 255);
    EXPECT_EQ(colourShadeOf(-5), 0);
    EXPECT_EQ(colourShadeOf(150), 100);
    EXPECT_EQ(&diffuseRamp(-3), &diffuseRamp(0));
    EXPECT_EQ(&shadeTable(9), &shadeTable(5));
    // Indices computed in floating point are clamped before the conversion.
    EXPECT_EQ(colourIndexOf(45.9), 45);
    EXPECT_EQ(colourIndexOf(-0.5), 0);
    EXPECT_EQ(colourIndexOf(std::nan("")), 0);
    EXPECT_EQ(colourIndexOf(1e30), 1000000);
    EXPECT_EQ(colourIndexOf(-1e30), -1000000);
}

class WaterfallMaterials : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(context.isValid()) << context.errorString().toStdString();
        context.makeCurrent();
        setColorXZ();
        reInitColorXZZ();
    }
    static std::array<float, 4> material(GLenum what, GLenum face = GL_FRONT)
    {
        std::array<float, 4> v{};
        glGetMaterialfv(face, what, v.data());
        return v;
    }
    OffscreenGLContext context{QSize(8, 8)};
};

TEST_F(WaterfallMaterials, PresetsSetTheirMaterialAndRefractionLook)
{
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    setMaterial2D(6);
    EXPECT_EQ(material(GL_AMBIENT), (std::array<float, 4>{0.25f, 0.5f, 0.75f, 1.0f}));  // the colour's
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_ONE);
    EXPECT_EQ(destination, GL_ONE);
    // The refraction look dims diffuse and specular on both faces.
    EXPECT_FLOAT_EQ(material(GL_DIFFUSE, GL_BACK)[0], 0.1f);

    // 0 and 13 leave everything as it is; 9 equals 3.
    setMaterial2D(0);
    setMaterial2D(13);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    setMaterial2D(3);
    const auto specular3 = material(GL_SPECULAR);
    float shininess3 = 0;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess3);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    setMaterial2D(9);
    EXPECT_EQ(material(GL_SPECULAR), specular3);
    float shininess9 = 0;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess9);
    EXPECT_EQ(shininess9, shininess3);
    EXPECT_FLOAT_EQ(shininess9, 100.0f);
    setMaterial2D(12);
    EXPECT_EQ(material(GL_EMISSION), (std::array<float, 4>{0.3f, 0.2f, 0.2f, 0.0f}));
    EXPECT_EQ(material(GL_AMBIENT), (std::array<float, 4>{0.7f, 0.7f, 0.7f, 1.0f}));
    EXPECT_EQ(material(GL_DIFFUSE), (std::array<float, 4>{0.1f, 0.5f, 0.8f, 1.0f}));
}

TEST_F(WaterfallMaterials, GlassTakesItsAmbientFromTheCurrentColourAtOnce)
{
    // A face turned away from the light shows only its ambient term (material ambient × the scene's
    // 0.2): with the current colour black, the glass presets add nothing to the frame. The presets'
    // own coloured ambient (0.8, 0.8, 0.2) must not linger until the colour next changes.
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat light[] = {0.0f, 0.0f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (const int preset : {5, 6, 7, 8}) {
        SCOPED_TRACE(preset);
        setMaterial2D(3);
        glColor3f(0.0f, 0.0f, 0.0f);
        setMaterial2D(preset);
        EXPECT_EQ(material(GL_AMBIENT), (std::array<float, 4>{0.0f, 0.0f, 0.0f, 1.0f}));
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glNormal3f(0.0f, 0.0f, -1.0f);
        glRectf(-1.0f, -1.0f, 1.0f, 1.0f);
        const QImage image = context.readPixels();
        const QRgb p = image.pixel(4, 4);
        const int red = preset == 8 ? 76 : 0, other = preset == 8 ? 51 : 0;  // 8 adds its emission
        EXPECT_NEAR(qRed(p), red, 1);
        EXPECT_NEAR(qGreen(p), other, 1);
        EXPECT_NEAR(qBlue(p), other, 1);
    }
    setMaterial2D(3);
    glDisable(GL_LIGHTING);
}

TEST_F(WaterfallMaterials, LookupsSetDiffuseAndAmbientFromTheTables)
{
    groen_CtextureNXZ(44, 1);  // entry 45 of palette 1
    for (int c = 0; c < 4; ++c) {
        EXPECT_FLOAT_EQ(material(GL_DIFFUSE)[c], difmatAXZ1[45][c]);
        EXPECT_FLOAT_EQ(material(GL_AMBIENT)[c], difambAXZ1[45][c]);
    }
    groen_CBtextureNXZ(251, 150, 2);  // entry 252, shade 100
    EXPECT_EQ(material(GL_DIFFUSE), (std::array<float, 4>{1.0f, 1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(material(GL_AMBIENT), (std::array<float, 4>{1.0f, 1.0f, 1.0f, 1.0f}));
    groen_textureNXZ(0);
    EXPECT_FLOAT_EQ(material(GL_DIFFUSE)[1], difmatAXZ[1][1]);
}

TEST(WaterfallText, LabelsCaptionsAndValueTexts)
{
    fftp512Band = 0;
    EXPECT_EQ(labelfftBigXText(4, 0), "BetaL 13..15Hz");
    EXPECT_EQ(labelfftBigXText(6, 0), "BetaH 21..28Hz");
    fftp512Band = 1;
    EXPECT_EQ(labelfftBigXText(4, 0), "BetaL 13..19Hz");
    EXPECT_EQ(labelfftBigXText(8, 0), "ACnoise 50..60Hz");
    EXPECT_EQ(labelfftBigXText(27, 0), "CH 3 L <Average %> CH 4 R");
    EXPECT_EQ(labelfftBigXText(9, 0), "");
    displayGainX[2] = 0.3f;
    displayGainX[3] = 2.0f;
    EXPECT_EQ(labelfftBigXText(10, 2), "33 microV");
    EXPECT_EQ(labelfftBigXText(11, 3), "10 microV");
    // The height-axis texts divide by the gain of the channel the panel shows: CH 4's panel uses CH 4's.
    EXPECT_EQ(powerNumberText(2, 1, 0), "33 microV");
    EXPECT_EQ(powerNumberText(3, 1, 0), "5 microV");
    EXPECT_EQ(powerNumberText(3, 2, 0), "10 microV");
    EXPECT_EQ(powerNumberText(0, 0, 0), "0 microV");
    EXPECT_EQ(powerNumberText(0, 2, 1), "100 %");
    // A gain of 0 or below, or a channel with no gain, reads as 1.
    displayGainX[1] = 0.0f;
    EXPECT_EQ(powerNumberText(1, 1, 0), "10 microV");
    displayGainX[1] = -2.0f;
    EXPECT_EQ(labelfftBigXText(11, 1), "20 microV");
    EXPECT_EQ(powerNumberText(7, 2, 0), "20 microV");
    LOGpowerONed = 1;
    EXPECT_EQ(powerNumberText(0, 0, 0), "0.1 microV");
    EXPECT_EQ(labelfftBigXText(11, 0), "10 microV");
}

}  // namespace
}  // namespace nupo
