#include "platform/gl/OffscreenGLContext.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace nupo {
namespace {

TEST(OffscreenGLContext, DrawsWithoutADisplayAndReadsBackTopRowFirst)
{
    qunsetenv("DISPLAY");  // the context must not need an X server
    OffscreenGLContext context(QSize(64, 32));
    ASSERT_TRUE(context.isValid()) << context.errorString().toStdString();
    EXPECT_FALSE(context.renderer().isEmpty());

    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // A red block in the lower left corner of the framebuffer (GL's y runs upwards).
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 8, 4);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    const QImage image = context.readPixels();
    ASSERT_EQ(image.size(), QSize(64, 32));
    EXPECT_EQ(image.pixel(0, 31), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(7, 28), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(8, 31), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(0, 27), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 255));
}

TEST(OffscreenGLContext, ContextsKeepTheirOwnFramebuffers)
{
    OffscreenGLContext first(QSize(16, 16));
    OffscreenGLContext second(QSize(8, 8));
    ASSERT_TRUE(first.isValid() && second.isValid());
    ASSERT_TRUE(first.makeCurrent());
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(second.makeCurrent());
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    // Reading makes each context current again with its own framebuffer and viewport.
    EXPECT_EQ(first.readPixels().pixel(15, 15), qRgb(0, 255, 0));
    EXPECT_EQ(second.readPixels().pixel(7, 7), qRgb(255, 255, 255));
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 8);
}

TEST(OffscreenGLContext, EmptySizeIsRefusedWithAReason)
{
    OffscreenGLContext context(QSize(0, 10));
    EXPECT_FALSE(context.isValid());
    EXPECT_FALSE(context.errorString().isEmpty());
    EXPECT_FALSE(context.makeCurrent());
    EXPECT_TRUE(context.readPixels().isNull());
}

}  // namespace
}  // namespace nupo
