#include "platform/appkit/ui/WindowHandle.h"
#include "support/TestSupport.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace nupo {
namespace {

double screenHeight()
{
    return QGuiApplication::primaryScreen()->geometry().height();
}

TEST(WindowHandleTest, UnflippedFramesMirrorQtRectanglesAboutThePrimaryScreen)
{
    const double h = screenHeight();
    // A window touching the bottom of the screen has y 0 in unflipped coordinates.
    EXPECT_EQ(WindowHandle::fromQt(QRectF(10, h - 100, 200, 100)), QRectF(10, 0, 200, 100));
    EXPECT_EQ(WindowHandle::toQt(QRectF(10, 0, 200, 100)), QRectF(10, h - 100, 200, 100));
    const QRectF r(30, 40, 300, 200);
    EXPECT_EQ(WindowHandle::toQt(WindowHandle::fromQt(r)), r);
}

TEST(WindowHandleTest, FrameAlphaAndLevelApplyToTheWindow)
{
    QWidget window;
    WindowHandle handle(&window);
    handle.makeKeyAndOrderFront();
    EXPECT_TRUE(handle.isVisible());

    const QRectF frame(50, 60, 320, 240);
    handle.setFrame(frame);
    EXPECT_EQ(handle.frame(), frame);
    EXPECT_EQ(window.frameGeometry().top(), int(screenHeight()) - 60 - 240);

    handle.setAlphaValue(0.4);
    EXPECT_NEAR(handle.alphaValue(), 0.4, 0.01);
    handle.setAlphaValue(3.0);
    EXPECT_NEAR(handle.alphaValue(), 1.0, 0.01);

    // The level changes on the window on the display: it is not made anew (shown anew, the window
    // manager would take its inner corner for its frame's and move it by its title bar).
    const QWindow* onDisplay = window.windowHandle();
    handle.setStatusWindowLevel(true);
    EXPECT_TRUE(handle.isAtStatusWindowLevel());
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.windowHandle(), onDisplay);
    EXPECT_TRUE(handle.isVisible());  // changing the level must not hide the window
    EXPECT_EQ(handle.frame(), frame);
    handle.setStatusWindowLevel(false);
    EXPECT_FALSE(handle.isAtStatusWindowLevel());
    EXPECT_TRUE(handle.isVisible());

    handle.close();
    EXPECT_FALSE(handle.isVisible());
}

TEST(WindowHandleTest, SavedFramesGoToTheSettingsUnderTheirName)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, test::tempFolder());
    QWidget window;
    WindowHandle handle(&window);
    handle.setFrame(QRectF(12, 34, 256, 128));
    handle.saveFrameUsingName("RawwaveGraph 0");
    EXPECT_EQ(QSettings().value("WindowFrames/RawwaveGraph 0").toString(), "12 34 256 128");
}

TEST(WindowHandleTest, AHandleWithoutAWindowDoesNothing)
{
    WindowHandle none;
    none.setAlphaValue(0.5);
    none.setStatusWindowLevel(true);
    none.setFrame(QRectF(0, 0, 100, 100));
    none.saveFrameUsingName("nothing");
    none.makeKeyAndOrderFront();
    none.close();
    EXPECT_FALSE(none.isVisible());
    EXPECT_FALSE(none.isAtStatusWindowLevel());
    EXPECT_TRUE(none.frame().isNull());

    // A handle outliving its window turns null instead of dangling.
    auto* window = new QWidget;
    WindowHandle handle(window);
    delete window;
    EXPECT_FALSE(handle);
    handle.close();
}

}  // namespace
}  // namespace nupo
