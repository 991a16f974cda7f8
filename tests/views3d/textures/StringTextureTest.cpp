#include "platform/gl/OffscreenGLContext.h"
#include "views3d/textures/gl/StringTexture.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace nupo;

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 80;

const RGBAColor white = RGBAColor::fromRGBA(1, 1, 1, 1);
const RGBAColor blue = RGBAColor::fromRGBA(0, 0, 1, 1);
const RGBAColor red = RGBAColor::fromRGBA(1, 0, 0, 1);
const RGBAColor none = RGBAColor::fromRGBA(0, 0, 0, 0);

TextAttributes sans(int pixels)
{
    return TextAttributes::withFont(QStringLiteral("Helvetica"), pixels, true);
}

class StringTextures : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(context_.isValid()) << context_.errorString().toStdString(); }

    // Draws the texture at (x, y) in window pixels, y down, as an overlay pass does.
    QImage draw(StringTexture& texture, double x, double y)
    {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWidth, kHeight, 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_TEXTURE_RECTANGLE_ARB);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(1, 1, 1, 1);
        texture.drawAtPoint(QPointF(x, y));
        glDisable(GL_TEXTURE_RECTANGLE_ARB);
        return context_.readPixels();
    }

    // The texture's texels, row 0 first, as R, G, B, A.
    static std::vector<unsigned char> texels(const StringTexture& texture)
    {
        std::vector<unsigned char> bytes(
            static_cast<std::size_t>(texture.texSize().width() * texture.texSize().height() * 4));
        glBindTexture(GL_TEXTURE_RECTANGLE_ARB, texture.texName());
        glGetTexImage(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
        return bytes;
    }

    OffscreenGLContext context_{QSize(kWidth, kHeight)};
};

}  // namespace

TEST_F(StringTextures, TextBoxAndBorderShowOnScreen)
{
    StringTexture texture(QStringLiteral("HELLO"), sans(24), white, blue, red);
    const QImage frame = draw(texture, 10, 10);
    ASSERT_NE(texture.texName(), 0u);
    const int w = static_cast<int>(texture.texSize().width());
    const int h = static_cast<int>(texture.texSize().height());
    EXPECT_GT(w, 40);
    EXPECT_GT(h, 20);
    // Border on the frame's edge, box inside, background outside.
    EXPECT_EQ(frame.pixel(10, 10 + h / 2), qRgb(255, 0, 0));
    EXPECT_EQ(frame.pixel(10 + w - 1, 10 + h / 2), qRgb(255, 0, 0));
    EXPECT_EQ(frame.pixel(12, 11), qRgb(0, 0, 255));
    EXPECT_EQ(frame.pixel(9, 10 + h / 2), qRgb(0, 0, 0));
    EXPECT_EQ(frame.pixel(10 + w, 10 + h / 2), qRgb(0, 0, 0));
    // White text strokes inside the margins.
    int whitePixels = 0;
    for (int y = 10 + 2; y < 10 + h - 2; ++y)
        for (int x = 10 + 4; x < 10 + w - 4; ++x)
            whitePixels += frame.pixel(x, y) == qRgb(255, 255, 255) ? 1 : 0;
    EXPECT_GT(whitePixels, 60);

    // Drawn again without a change: the same texture.
    const unsigned int name = texture.texName();
    draw(texture, 10, 10);
    EXPECT_EQ(texture.texName(), name);
}

TEST_F(StringTextures, ATextureOfAnotherContextIsMadeAgainWhereTheTextIsDrawn)
{
    StringTexture texture(QStringLiteral("HELLO"), sans(24), white, blue, red);
    {
        OffscreenGLContext other(QSize(kWidth, kHeight));
        ASSERT_TRUE(other.isValid());
        texture.drawAtPoint(QPointF(10, 10));
        ASSERT_NE(texture.texName(), 0u);
    }
    ASSERT_TRUE(context_.makeCurrent());
    const QImage frame = draw(texture, 10, 10);
    EXPECT_EQ(frame.pixel(12, 11), qRgb(0, 0, 255));
}

TEST_F(StringTextures, NoBoxNoBorderLeavesTheFrameTransparent)
{
    StringTexture texture(QStringLiteral("Iy"), sans(20));
    EXPECT_EQ(texture.marginSize(), QSizeF(4, 2));
    draw(texture, 0, 0);
    const std::vector<unsigned char> bytes = texels(texture);
    const int w = static_cast<int>(texture.texSize().width());
    const int h = static_cast<int>(texture.texSize().height());
    // Corners transparent, some texels of the text opaque white (premultiplied).
    for (int corner : {0, w - 1, (h - 1) * w, h * w - 1})
        EXPECT_EQ(bytes[corner * 4 + 3], 0) << corner;
    int opaque = 0;
    for (int i = 0; i < w * h; ++i)
        opaque += bytes[i * 4 + 3] == 255 && bytes[i * 4] == 255 ? 1 : 0;
    EXPECT_GT(opaque, 10);
}

TEST_F(StringTextures, FramesFollowTheTextUnlessStatic)
{
    StringTexture texture(QStringLiteral("short"), sans(16));
    const QSizeF text = AttributedString(QStringLiteral("short"), sans(16)).size();
    EXPECT_EQ(texture.frameSize(), QSizeF(text.width() + 8, text.height() + 4));
    texture.setString(QStringLiteral("a much longer line"), sans(16));
    EXPECT_GT(texture.frameSize().width(), text.width() + 8);
    texture.setMargins(QSizeF(10, 10));
    EXPECT_EQ(texture.frameSize().height(), text.height() + 20);

    texture.useStaticFrame(QSizeF(100, 30));
    texture.setString(QStringLiteral("x"), sans(16));
    EXPECT_EQ(texture.frameSize(), QSizeF(100, 30));
    draw(texture, 0, 0);
    EXPECT_EQ(texture.texSize(), QSizeF(100, 30));

    // Back to a dynamic frame: the texture goes and the frame follows the text again.
    texture.useDynamicFrame();
    EXPECT_EQ(texture.texName(), 0u);
    EXPECT_LT(texture.frameSize().width(), 100);

    // On a frame that is already dynamic, useDynamicFrame keeps the texture.
    draw(texture, 0, 0);
    const unsigned int name = texture.texName();
    ASSERT_NE(name, 0u);
    texture.useDynamicFrame();
    EXPECT_EQ(texture.texName(), name);
    // The same text again keeps it; other text, another font or a colour change throws it away.
    texture.setString(QStringLiteral("x"), sans(16));
    EXPECT_EQ(texture.texName(), name);
    texture.setString(QStringLiteral("x"), sans(17));
    EXPECT_EQ(texture.texName(), 0u);
    draw(texture, 0, 0);
    texture.setString(QStringLiteral("y"), sans(17));
    EXPECT_EQ(texture.texName(), 0u);
    draw(texture, 0, 0);
    texture.setBoxColor(blue);
    EXPECT_EQ(texture.texName(), 0u);
}

TEST_F(StringTextures, TextSitsAtTheLowerLeftOfAStaticFrame)
{
    StringTexture texture(QStringLiteral("W"), sans(16), white, none, none);
    texture.useStaticFrame(QSizeF(60, 60));
    draw(texture, 0, 0);
    const std::vector<unsigned char> bytes = texels(texture);
    int lowest = -1;
    int highest = 60;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            if (bytes[(y * 60 + x) * 4 + 3] > 128) {
                lowest = std::max(lowest, y);
                highest = std::min(highest, y);
            }
    EXPECT_GT(highest, 30);  // the text is in the bottom half (row 0 is the top)
    EXPECT_GE(lowest, 50);
}

TEST_F(StringTextures, WithoutAContextNothingIsMade)
{
    StringTexture texture(QStringLiteral("late"), sans(16));
    context_.doneCurrent();
    testing::internal::CaptureStderr();
    texture.drawAtPoint(QPointF(0, 0));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Failure to get current OpenGL context"),
              std::string::npos);
    EXPECT_EQ(texture.texName(), 0u);
    ASSERT_TRUE(context_.makeCurrent());
    draw(texture, 0, 0);  // the next draw tries again
    EXPECT_NE(texture.texName(), 0u);
}

TEST_F(StringTextures, ImagesUploadAsRectangleTextures)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    image.setPixel(2, 1, qRgb(250, 5, 6));
    StringTexture texture(QStringLiteral("x"), sans(10));
    unsigned int name = 0;
    texture.textureFromImage(image, &name);
    ASSERT_NE(name, 0u);
    unsigned char bytes[3 * 2 * 3];
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGB, GL_UNSIGNED_BYTE, bytes);
    EXPECT_EQ(bytes[0], 10);
    EXPECT_EQ(bytes[1], 200);
    EXPECT_EQ(bytes[15], 250);
    EXPECT_EQ(bytes[17], 6);
    const unsigned int kept = name;
    texture.textureFromImage(image, &name);  // an existing name is reused
    EXPECT_EQ(name, kept);
    glDeleteTextures(1, &name);
}
