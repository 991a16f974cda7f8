#include "platform/gl/OffscreenGLContext.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

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

// Fills the framebuffer with one colour and a square of another at the lower left, reads it back and
// says whether both are where they belong.
bool drawsAndReadsBack(OffscreenGLContext& context, QRgb fill, QRgb square)
{
    if (!context.makeCurrent())
        return false;
    glClearColor(qRed(fill) / 255.0f, qGreen(fill) / 255.0f, qBlue(fill) / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 4, 4);
    glClearColor(qRed(square) / 255.0f, qGreen(square) / 255.0f, qBlue(square) / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    const QImage image = context.readPixels();
    const int bottom = image.height() - 1;
    return image.size() == context.size() && image.pixel(0, bottom) == (square | 0xff000000u) &&
           image.pixel(4, bottom) == (fill | 0xff000000u) && image.pixel(0, 0) == (fill | 0xff000000u);
}

TEST(OffscreenGLContext, ContextsOfTheirOwnDriverInstanceDrawOnThreadsAtOnceAndAreReusedWhenGone)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "a driver instance of its own needs an X display";
    // Threads drawing at once, each in a context on its own instance, twice over: the second round
    // takes the instances the first left behind.
    for (int round = 0; round < 2; ++round) {
        std::atomic<int> good{0};
        std::atomic<int> shared{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&, t] {
                OffscreenGLContext context(QSize(32 + t, 24), OffscreenGLContext::Driver::OwnInstance);
                if (!context.isValid())
                    return;
                shared += context.sharesDriver() ? 1 : 0;
                bool allGood = true;
                for (int frame = 0; frame < 40 && allGood; ++frame)
                    allGood = drawsAndReadsBack(context, qRgb(0, 0, 255), qRgb(t * 60, 255, 0));
                good += allGood ? 1 : 0;
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        EXPECT_EQ(good.load(), 4) << "round " << round;
        EXPECT_EQ(shared.load(), 0) << "round " << round;
    }
}

TEST(OffscreenGLContext, WithoutAnXDisplayAContextOfItsOwnFallsBackToTheSharedOne)
{
    qunsetenv("DISPLAY");
    OffscreenGLContext context(QSize(16, 16), OffscreenGLContext::Driver::OwnInstance);
    ASSERT_TRUE(context.isValid()) << context.errorString().toStdString();
    EXPECT_TRUE(context.sharesDriver());
    EXPECT_TRUE(drawsAndReadsBack(context, qRgb(255, 255, 255), qRgb(255, 0, 0)));
}

TEST(OffscreenGLContext, AResizedFramebufferKeepsTheContextsObjectsAndARefusedSizeKeepsTheOldOne)
{
    OffscreenGLContext context(QSize(8, 8));
    ASSERT_TRUE(context.isValid()) << context.errorString().toStdString();
    // A display list made before the resize still draws after it.
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glClearColor(1, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEndList();

    ASSERT_TRUE(context.resize(QSize(40, 20)));
    EXPECT_EQ(context.size(), QSize(40, 20));
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 40);
    EXPECT_EQ(viewport[3], 20);
    glCallList(list);
    const QImage image = context.readPixels();
    ASSERT_EQ(image.size(), QSize(40, 20));
    EXPECT_EQ(image.pixel(39, 19), qRgb(255, 255, 0));

    EXPECT_FALSE(context.resize(QSize(0, 5)));
    GLint largest = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    EXPECT_FALSE(context.resize(QSize(largest + 1, 4)));
    EXPECT_EQ(context.size(), QSize(40, 20));
    EXPECT_TRUE(drawsAndReadsBack(context, qRgb(0, 0, 0), qRgb(255, 255, 255)));
}

}  // namespace
}  // namespace nupo
