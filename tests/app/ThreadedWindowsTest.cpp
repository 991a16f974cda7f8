// The plot windows with their GL views drawn on threads of their own, as the program runs them: all five
// open while the demo recording plays, each GL view drawing frames of its own, then closed.
#include <gtest/gtest.h>

#include "core/ui/QXAppController.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "support/WindowTestSupport.h"

#include <QApplication>
#include <QPointer>

using namespace nupo;
using namespace nupo::test;

namespace {

// Pixels that differ from the top left one: a picture drawn, not a cleared frame.
int inkedPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            count += image.pixel(x, y) != image.pixel(0, 0);
    return count;
}

ThreadedGLViewHost* shownThreadedHost(QWidget* window)
{
    for (auto* host : window->findChildren<ThreadedGLViewHost*>())
        if (host->isVisible())
            return host;
    return nullptr;
}

}  // namespace

TEST(ThreadedWindows, TheFiveWindowsDrawWhileTheDemoPlaysAndClose)
{
    if (!onScreen())
        GTEST_SKIP() << "no X display: GL views draw no frames";
    OpenGLViewHost::setPlotDrawing(OpenGLViewHost::Drawing::OnOwnThread);
    startWithDemo();
    auto& app = QXAppController::sharedQXAppController();
    app.showQX2DBarGarph(nullptr);
    app.showQX2DSpectrum(nullptr);
    app.showFFTPanel(nullptr);
    app.showSelectQXnewave(nullptr);

    const QLatin1String glTitles[] = {QLatin1String("Waterfall Window"), QLatin1String("WaterfallBS Window"),
                                      QLatin1String("Wave Surface Window")};
    ASSERT_TRUE(processEventsUntil([] {
        return !shownWindowsTitled(QLatin1String("Rawwave Window")).isEmpty() &&
               !shownWindowsTitled(QLatin1String("Bargraph Window")).isEmpty();
    }));
    QList<QPointer<ThreadedGLViewHost>> hosts;
    for (QLatin1String title : glTitles) {
        ASSERT_TRUE(processEventsUntil([&] {
            const QList<QWidget*> windows = shownWindowsTitled(title);
            return !windows.isEmpty() && shownThreadedHost(windows[0]);
        })) << title.data();
        // No GL widget in the window: it is composed without GL.
        EXPECT_EQ(shownWindowsTitled(title)[0]->findChild<OpenGLViewHost*>(), nullptr) << title.data();
        hosts << shownThreadedHost(shownWindowsTitled(title)[0]);
    }

    // Every GL view keeps drawing frames of its own while the others draw.
    constexpr quint64 frames = 20;
    ASSERT_TRUE(processEventsUntil([&] {
        for (const auto& host : hosts)
            if (!host || host->framesFinished() < frames)
                return false;
        return true;
    }));
    for (int i = 0; i < hosts.size(); ++i) {
        const QImage image = hosts[i]->grabFramebuffer();
        EXPECT_EQ(image.size(), hosts[i]->size() * hosts[i]->devicePixelRatio()) << glTitles[i].data();
        EXPECT_GT(inkedPixels(image), image.width() * image.height() / 400) << glTitles[i].data();
    }

    // Closed mid-frame or not, each window goes without waiting for the others.
    for (QLatin1String title : glTitles)
        for (QWidget* window : shownWindowsTitled(title))
            WindowHandle(window).close();
    ASSERT_TRUE(processEventsUntil([&] {
        for (QLatin1String title : glTitles)
            if (!shownWindowsTitled(title).isEmpty())
                return false;
        return true;
    }));
    // The main thread's windows keep on; reopened, a GL window draws again.
    app.showQX2DSpectrum(nullptr);
    ASSERT_TRUE(processEventsUntil([] {
        const QList<QWidget*> windows = shownWindowsTitled(QLatin1String("Waterfall Window"));
        ThreadedGLViewHost* host = windows.isEmpty() ? nullptr : shownThreadedHost(windows[0]);
        return host && host->framesFinished() >= 3;
    }));
    for (QWidget* window : shownWindowsTitled(QLatin1String("Waterfall Window")))
        WindowHandle(window).close();
    EXPECT_TRUE(processEventsUntil([] {
        return shownWindowsTitled(QLatin1String("Waterfall Window")).isEmpty() &&
               GLRenderThread::threadsLeftToEnd() == 0;
    }));
}
