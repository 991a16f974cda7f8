#include "platform/gl/OffscreenGLContext.h"
#include "views3d/textures/gl/OpenGLCaps.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

using namespace nupo;

namespace {

class OpenGLCaps : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(context_.isValid()) << context_.errorString().toStdString();
        CheckOpenGLCaps(32, records_, &count_);
    }
    void TearDown() override { capsTextures.clear(); }

    OffscreenGLContext context_{QSize(400, 1000)};
    GLCaps records_[32];
    int count_ = 0;
};

}  // namespace

TEST_F(OpenGLCaps, RecordsHoldWhatTheRendererReports)
{
    ASSERT_GE(count_, 1);
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    EXPECT_EQ(records_[0].maxTextureSize, size);
    glGetIntegerv(GL_MAX_RECTANGLE_TEXTURE_SIZE_ARB, &size);
    EXPECT_EQ(records_[0].maxRectTextureSize, size);
    EXPECT_GT(records_[0].max3DTextureSize, 0);
    EXPECT_GT(records_[0].textureUnits, 0);
    EXPECT_NE(records_[0].rendererID, 0u);
    EXPECT_GT(records_[0].width, 0);

    // Features present in this renderer: in its extension list or in its OpenGL version.
    int multitexture = -1, rectangle = -1, apple = -1;
    for (int i = 0; i < glCapsFeatureCount; ++i) {
        const QString label = glCapsFeatureLabel(i);
        if (label.contains("(GL_ARB_multitexture "))
            multitexture = i;
        if (label.contains("(GL_ARB_texture_rectangle)"))
            rectangle = i;
        if (label == "Specular Vector (GL_APPLE_specular_vector)")
            apple = i;
    }
    ASSERT_GE(multitexture, 0);
    ASSERT_GE(rectangle, 0);
    ASSERT_GE(apple, 0);
    EXPECT_EQ(glCapsFeatureLabel(multitexture), "Multitexture (GL_ARB_multitexture or OpenGL 1.3+)");
    EXPECT_EQ(glCapsFeatureLabel(glCapsFeatureCount - 1), "Raster Position Clipping (GL_IBM_rasterpos_clip)");
    EXPECT_EQ(records_[0].features[multitexture], 1);
    EXPECT_EQ(records_[0].features[rectangle], 1);
    EXPECT_EQ(records_[0].features[apple], 0);

    const QString text = capsString(records_[0]).string();
    EXPECT_TRUE(text.startsWith("OpenGL Capabilities:\n  Max VRAM- "));
    EXPECT_TRUE(text.contains(
        QStringLiteral("\n  Max Texture Size- 1D/2D: %1, 3D: %2, Cube: %3, Rect: %4 (%5 texture units)")
            .arg(records_[0].maxTextureSize)
            .arg(records_[0].max3DTextureSize)
            .arg(records_[0].maxCubeMapTextureSize)
            .arg(records_[0].maxRectTextureSize)
            .arg(records_[0].textureUnits)));
    EXPECT_TRUE(text.contains("\n Features:\n  "));
    EXPECT_TRUE(text.contains("\n  Multitexture (GL_ARB_multitexture or OpenGL 1.3+)"));
    EXPECT_FALSE(text.contains("GL_APPLE_specular_vector"));
}

TEST_F(OpenGLCaps, ChangesAreNoticed)
{
    EXPECT_EQ(HaveOpenGLCapsChanged(records_, count_), 0);
    EXPECT_EQ(HaveOpenGLCapsChanged(nullptr, count_), 1);
    EXPECT_EQ(HaveOpenGLCapsChanged(records_, count_ + 1), 1);
    records_[0].width += 1;
    EXPECT_EQ(HaveOpenGLCapsChanged(records_, count_), 1);
    records_[0].width -= 1;
    records_[0].rendererID ^= 2;
    EXPECT_EQ(HaveOpenGLCapsChanged(records_, count_), 1);
}

TEST_F(OpenGLCaps, PanelIsDrawnInTheTopLeftCorner)
{
    initCapsTexture(records_, count_);
    ASSERT_EQ(static_cast<int>(capsTextures.size()), count_);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 400, 1000, 0, -1, 1);  // y down from the top, as the overlays draw
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_RECTANGLE_ARB);
    glColor4f(1, 1, 1, 1);
    drawCaps(records_, count_, records_[0].rendererID + 2, 1000);  // no such renderer: nothing
    QImage frame = context_.readPixels();
    EXPECT_EQ(frame.pixel(20, 980), qRgb(0, 0, 0));

    drawCaps(records_, count_, records_[0].rendererID, 1000);
    frame = context_.readPixels();
    const int h = static_cast<int>(capsTextures[0]->texSize().height());
    EXPECT_GT(h, 300);  // a title, two lines, a heading and many features
    const int top = 1000 - 10 - h;
    // Premultiplied texels drawn unblended: the box (0.4, 0.4, 0) at 0.4 alpha gives 0.16 inside; the
    // border (0.8, 0.8, 0) at 0.8 alpha over the box gives 0.64 + 0.16 x 0.2 on the panel's edge, 10
    // pixels from the view's edges.
    const auto rgb = [&](int x, int y) { return frame.pixel(x, y) & 0xFFFFFFu; };
    const QRgb border = qRgb(171, 171, 0) & 0xFFFFFFu;
    const QRgb box = qRgb(41, 41, 0) & 0xFFFFFFu;
    EXPECT_EQ(rgb(10, top + h / 2), border);
    EXPECT_EQ(rgb(9, top + h / 2), 0u);
    EXPECT_EQ(rgb(11, top + 1), box);
    EXPECT_EQ(rgb(20, 989), border);
    EXPECT_EQ(rgb(20, 990), 0u);
    // White title text at the panel's top.
    int bright = 0;
    for (int y = top; y < top + 20; ++y)
        for (int x = 14; x < 150; ++x)
            bright += qRed(frame.pixel(x, y)) > 200 ? 1 : 0;
    EXPECT_GT(bright, 30);
}
