#include "platform/gl/Glut.h"
#include "platform/keyboard/gl/VirtualKeyCodes.h"
#include "platform/viewhost/gl/OpenGLView.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QOpenGLContext>
#include <QTest>

namespace nupo {
namespace {

// Draws in legacy immediate mode: a red quad over the lower left quarter and an "H" in white bitmap
// text in the upper right quarter, over a dark blue clear colour set once in prepareOpenGL.
class QuadView : public OpenGLView {
public:
    void prepareOpenGL() override
    {
        calls.push_back("prepare");
        const QOpenGLContext* context = QOpenGLContext::currentContext();
        compatibility = context && context->format().profile() != QSurfaceFormat::CoreProfile;
        glGetIntegerv(GL_DEPTH_BITS, &depthBits);
        glClearColor(0, 0, 0.5f, 1);
    }
    void reshape() override
    {
        calls.push_back("reshape");
        reshapedTo = bounds();
    }
    void drawRect(const QRectF& rect) override
    {
        calls.push_back("draw");
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, rect.width(), 0, rect.height(), -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glColor3f(1, 0, 0);
        glBegin(GL_QUADS);
        glVertex2d(0, 0);
        glVertex2d(rect.width() / 2, 0);
        glVertex2d(rect.width() / 2, rect.height() / 2);
        glVertex2d(0, rect.height() / 2);
        glEnd();
        glColor3f(1, 1, 1);
        glRasterPos2d(rect.width() * 0.75, rect.height() * 0.75);
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, 'H');
        glutSwapBuffers();
    }
    void keyDown(const KeyEvent& event) override { keys.push_back(event.keyCode); }

    std::vector<std::string> calls;
    bool compatibility = false;
    GLint depthBits = 0;
    QRectF reshapedTo;
    std::vector<unsigned short> keys;
};

class OpenGLViewHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!OpenGLViewHost::isSupported())
            GTEST_SKIP() << "no OpenGL on the '" << QApplication::platformName().toStdString()
                         << "' platform; scripts/test.sh runs this test under Xvfb";
    }
};

TEST_F(OpenGLViewHostTest, DrawsLegacyGLIntoTheWindow)
{
    QuadView view;
    OpenGLViewHost host(&view);
    host.resize(160, 120);
    host.show();
    QApplication::processEvents();
    const QImage image = host.grabFramebuffer();
    ASSERT_EQ(image.size(), QSize(160, 120));

    EXPECT_TRUE(view.compatibility);
    EXPECT_GE(view.depthBits, 16);
    EXPECT_EQ(view.reshapedTo, QRectF(0, 0, 160, 120));
    ASSERT_GE(view.calls.size(), 3u);
    EXPECT_EQ(view.calls[0], "prepare");
    EXPECT_EQ(view.calls[1], "reshape");
    EXPECT_EQ(view.calls.back(), "draw");

    // GL's origin is the lower left: the quad fills the bottom left quarter of the grabbed image.
    EXPECT_EQ(image.pixel(10, 110), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(70, 65), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(90, 110), qRgb(0, 0, 128));
    EXPECT_EQ(image.pixel(10, 50), qRgb(0, 0, 128));
    // The bitmap "H" stands on the baseline at y = 90, x from 120: white ink just above it.
    int ink = 0;
    for (int y = 15; y < 30; ++y) {
        for (int x = 120; x < 135; ++x)
            ink += image.pixel(x, y) == qRgb(255, 255, 255);
    }
    EXPECT_GT(ink, 15);

    // Later frames draw again without preparing again.
    view.setNeedsDisplay(true);
    host.grabFramebuffer();
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "prepare"), 1);
    EXPECT_GE(std::count(view.calls.begin(), view.calls.end(), "draw"), 2);
}

TEST_F(OpenGLViewHostTest, ForwardsKeysFollowsResizesAndLendsItsContext)
{
    QuadView view;
    OpenGLViewHost host(&view);
    host.resize(100, 80);
    host.show();
    QApplication::processEvents();
    host.resize(140, 90);
    host.grabFramebuffer();
    EXPECT_EQ(view.reshapedTo, QRectF(0, 0, 140, 90));

    // GL work outside the drawing calls happens in the host's context.
    ASSERT_TRUE(view.makeCurrentContext());
    EXPECT_EQ(QOpenGLContext::currentContext(), host.context());
    QuadView unshown;
    EXPECT_FALSE(unshown.makeCurrentContext());

    QTest::keyClick(&host, Qt::Key_Escape);
    QTest::keyClick(&host, Qt::Key_Up);
    EXPECT_EQ(view.keys, (std::vector<unsigned short>{VirtualKey::Escape, VirtualKey::UpArrow}));
}

}  // namespace
}  // namespace nupo
