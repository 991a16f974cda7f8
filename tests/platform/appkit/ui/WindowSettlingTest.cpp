// A window manager's answers that reach a settled window late, played on an X display without one.
#include "platform/appkit/ui/WindowPlacement.h"
#include "support/EventCounter.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define NUPO_TEST_HAVE_XCB 1
#endif

namespace nupo {
namespace {

#ifdef NUPO_TEST_HAVE_XCB
// Puts the window's client area there on the display behind Qt's back, as a window manager does.
void configureOnTheDisplay(QWidget* window, const QRect& area)
{
    xcb_connection_t* connection =
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const uint32_t values[] = {uint32_t(area.x()), uint32_t(area.y()), uint32_t(area.width()),
                               uint32_t(area.height())};
    xcb_configure_window(
        connection, xcb_window_t(window->winId()),
        XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
        values);
    xcb_flush(connection);
}
#endif

TEST(WindowSettling, AWindowManagersLateAnswerToAnOldRequestIsUndone)
{
#ifdef NUPO_TEST_HAVE_XCB
    if (QGuiApplication::platformName() != QLatin1String("xcb") || WindowPlacement::windowManagerRuns())
        GTEST_SKIP() << "plays the window manager's part on an X display without one";
    WindowPlacement::watchTopLevelWindows();
    const QRect area = WindowPlacement::availableArea(nullptr);
    QWidget window;
    window.setWindowTitle("answered late");
    window.setGeometry(area.left() + 40, area.top() + 300, 300, 200);
    window.show();
    ASSERT_TRUE(test::processEventsUntil([&] { return window.windowHandle()->isExposed(); }));
    // As a window manager under load leaves it: settled at a size it was asked for before (`settled`),
    // while its last request (`grown`) is still to be answered, and with late answers to come to older
    // ones (the size it was mapped at, a spot a title bar lower).
    const QRect settled = window.geometry();
    const QRect grown(settled.topLeft(), settled.size() + QSize(60, 40));
    const QRect mapped(settled.topLeft(), QSize(320, 230));
    const QRect titleBarLower = grown.translated(0, 4);
    window.setProperty("nupoHeldWhileSettling", QVariantList{mapped, titleBarLower, settled, grown});
    window.setProperty("nupoAskedArea", grown);
    window.setProperty("nupoSettledAt", QDateTime::currentMSecsSinceEpoch());
    const EventCounter moves(window, QEvent::Move);
    const EventCounter resizes(window, QEvent::Resize);
    const auto answer = [&](const QRect& where) {
        const int before = moves.count + resizes.count;
        configureOnTheDisplay(&window, where);
        return test::processEventsUntil([&] { return moves.count + resizes.count > before; });
    };
    // The answer to the last request is taken; late answers to older ones are undone.
    ASSERT_TRUE(answer(grown));
    EXPECT_EQ(window.geometry(), grown);
    for (const QRect& old : {mapped, titleBarLower, settled}) {
        ASSERT_TRUE(answer(old));
        EXPECT_EQ(window.geometry(), grown);
    }
    // A move to a spot the window never held (the user's) stays, and late answers bring it back there.
    const QRect moved = grown.translated(60, -40);
    ASSERT_TRUE(answer(moved));
    EXPECT_EQ(window.geometry(), moved);
    ASSERT_TRUE(answer(mapped));
    EXPECT_EQ(window.geometry(), moved);
#else
    GTEST_SKIP() << "needs an X display";
#endif
}

}  // namespace
}  // namespace nupo
