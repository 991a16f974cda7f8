// The windows whose GL views draw on threads of their own (waterfall, WaterfallBS, wave surface), closed
// while their frames are in flight, with every frame slowed past the main thread's bound: by the close box,
// by Window ▸ Close All Plot Windows and by the window's own close, 50 times each, while the demo plays.
// Nothing crashes or touches a view that is gone (the sanitizer builds run these too), and every drawing
// thread ends on its own after its frame.
#include <gtest/gtest.h>

#include "core/ui/QXAppController.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "plots/frame/ui/PlotWindowController.h"
#include "support/WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <chrono>

using namespace nupo;
using namespace nupo::test;

namespace {

constexpr int cycles = 50;

// The nibs of the windows drawn on threads of their own.
const char* const threadedNibs[] = {"QX2DSpectrum", "QX3DSpectrum", "QXnewave"};

enum class Close { ByCloseBox, ByCloseAllPlotWindows, ByOwnClose };

QAction* closeAllPlotWindowsItem()
{
    QMainWindow* panel = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().mainWindow();
    for (QAction* top : panel->menuBar()->actions())
        if (top->menu())
            for (QAction* item : top->menu()->actions())
                if (item->objectName() == QLatin1String("closeAllWindow"))
                    return item;
    return nullptr;
}

ThreadedGLViewHost* shownThreadedHost(QWidget* window)
{
    if (!window)
        return nullptr;
    for (auto* host : window->findChildren<ThreadedGLViewHost*>())
        if (host->isVisible())
            return host;
    return nullptr;
}

class ClosingMidFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!onScreen())
            GTEST_SKIP() << "no X display: GL views draw no frames";
        OpenGLViewHost::setPlotDrawing(OpenGLViewHost::Drawing::OnOwnThread);
        // Frames outlast the main thread's bound many times over; a frame stalls only after 2 s.
        ThreadedGLViewHost::setSlowFramesForTests(std::chrono::milliseconds(200));
        startWithDemo();
    }
    void TearDown() override { ThreadedGLViewHost::setSlowFramesForTests(std::chrono::milliseconds(0)); }

    // Opens the three windows, waits until each has a frame in flight, and closes them that way at once.
    static void openAndCloseMidFrame(Close way)
    {
        QPointer<NibController> controllers[std::size(threadedNibs)];
        for (std::size_t i = 0; i < std::size(threadedNibs); ++i) {
            controllers[i] = NibLoader::loadNibNamed(QLatin1String(threadedNibs[i]),
                                                     &QXAppController::sharedQXAppController());
            ASSERT_TRUE(controllers[i]) << threadedNibs[i];
        }
        ASSERT_TRUE(processEventsUntil([&] {
            for (const auto& controller : controllers) {
                ThreadedGLViewHost* host = controller ? shownThreadedHost(controller->nibWindow()) : nullptr;
                if (!host || !host->frameInFlight())
                    return false;
            }
            return true;
        }));
        switch (way) {
            case Close::ByCloseBox:
                for (const auto& controller : controllers)
                    controller->nibWindow()->close();
                break;
            case Close::ByCloseAllPlotWindows:
                closeAllPlotWindowsItem()->trigger();
                break;
            case Close::ByOwnClose:
                for (const auto& controller : controllers) {
                    if (auto* plot = dynamic_cast<PlotWindowController*>(controller.data()))
                        plot->closeXWindow();
                    else
                        WindowHandle(controller->nibWindow()).close();
                }
                break;
        }
        // The controllers go on the next turn of the event loop, their views once their frames end.
        ASSERT_TRUE(processEventsUntil([&] {
            for (const auto& controller : controllers)
                if (controller)
                    return false;
            return true;
        }));
    }

    static void closeMidFrameRepeatedly(Close way)
    {
        ASSERT_NE(closeAllPlotWindowsItem(), nullptr);
        for (int cycle = 0; cycle < cycles; ++cycle) {
            SCOPED_TRACE(cycle);
            openAndCloseMidFrame(way);
            if (HasFatalFailure())
                return;
        }
        // Every drawing thread finished its frame, freed its context and ended.
        EXPECT_TRUE(processEventsUntil([] { return GLRenderThread::threadsLeftToEnd() == 0; }));
        EXPECT_FALSE(GLRenderThread::anyFrameInFlight());
        // The program draws on: a window opened again shows frames.
        QXAppController::sharedQXAppController().showQX2DSpectrum(nullptr);
        EXPECT_TRUE(processEventsUntil([] {
            const QList<QWidget*> windows = shownWindowsTitled(QLatin1String("Waterfall Window"));
            ThreadedGLViewHost* host = windows.isEmpty() ? nullptr : shownThreadedHost(windows[0]);
            return host && host->framesShown() >= 2;
        }));
        closeAllPlotWindowsItem()->trigger();
        EXPECT_TRUE(processEventsUntil([] {
            return shownWindowsTitled(QLatin1String("Waterfall Window")).isEmpty() &&
                   GLRenderThread::threadsLeftToEnd() == 0;
        }));
    }
};

}  // namespace

TEST_F(ClosingMidFrame, ByTheCloseBox)
{
    closeMidFrameRepeatedly(Close::ByCloseBox);
}

TEST_F(ClosingMidFrame, ByCloseAllPlotWindows)
{
    closeMidFrameRepeatedly(Close::ByCloseAllPlotWindows);
}

TEST_F(ClosingMidFrame, ByTheWindowsOwnClose)
{
    closeMidFrameRepeatedly(Close::ByOwnClose);
}
