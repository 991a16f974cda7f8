// A GL window whose frame never ends (as one stuck in the driver) pauses alone: the program's other
// windows draw on, its menu and patch interface answer, and a termination signal still ends it.
#include <gtest/gtest.h>

#include "core/ui/QXAppController.h"
#include "document/ui/NUPO4DocumentController.h"
#include "interop/OscPatchServer.h"
#include "interop/OscTestClient.h"
#include "interop/ui/QCNUPO4Patches.h"
#include "platform/appkit/TerminationSignals.h"
#include "platform/appkit/ui/Drawer.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ThreadSanitizerBuild.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "support/FrameGate.h"
#include "support/WindowTestSupport.h"
#include "views3d/spectrum/ui/QX3DSpectrumAppController.h"

#include <QApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QTest>

#include <chrono>
#include <csignal>
#include <cstdio>

using namespace nupo;
using namespace nupo::test;

namespace {

const QLatin1String stalledTitle("Wave Surface Window");
const QLatin1String otherTitle("Waterfall Window");
const char* childMode = "NUPO_STALLED_FRAME_CHILD";

ThreadedGLViewHost* shownThreadedHost(QLatin1String title)
{
    const QList<QWidget*> windows = shownWindowsTitled(title);
    if (windows.isEmpty())
        return nullptr;
    for (auto* host : windows[0]->findChildren<ThreadedGLViewHost*>())
        if (host->isVisible())
            return host;
    return nullptr;
}

// Opens the waterfall and wave-surface windows with the demo playing; from its fourth frame on, the
// wave surface's frames never end (the environment's hook, as the program's tests set it).
void openWindowsWithAStuckFrame()
{
    OpenGLViewHost::setPlotDrawing(OpenGLViewHost::Drawing::OnOwnThread);
    qputenv("NUPO_TEST_STALL_WINDOW", "Wave Surface");
    ThreadedGLViewHost::stallFramesFromEnvironment();
    startWithDemo();
    auto& app = QXAppController::sharedQXAppController();
    app.showQX2DSpectrum(nullptr);
    app.showSelectQXnewave(nullptr);
    ASSERT_TRUE(
        processEventsUntil([] { return shownThreadedHost(stalledTitle) && shownThreadedHost(otherTitle); }));
    ASSERT_TRUE(processEventsUntil([] { return shownThreadedHost(stalledTitle)->frameStalled(); }));
}

// In the child: the program with a stuck frame, ending through its own way out on a signal.
TEST(StalledFrame, Child)
{
    if (qgetenv(childMode).isEmpty())
        GTEST_SKIP() << "runs only as the child of the signal case";
    quitOnTerminationSignals([] { NUPO4DocumentController::sharedNUPO4DocumentController().quit(); });
    openWindowsWithAStuckFrame();
    std::printf("stalled\n");
    std::fflush(stdout);
    const int exitCode = QApplication::exec();
    std::printf("left the loop\n");
    GLRenderThread::endAtOnceIfAFrameIsStuck(exitCode);
    std::printf("a frame in flight was not seen\n");
}

}  // namespace

TEST(StalledFrame, TheOtherWindowsTheMenuAndThePatchInterfaceGoOnAndTheWindowShowsItIsPaused)
{
    if (!onScreen())
        GTEST_SKIP() << "no X display: GL views draw no frames";
    openWindowsWithAStuckFrame();
    ThreadedGLViewHost* stalled = shownThreadedHost(stalledTitle);
    ThreadedGLViewHost* other = shownThreadedHost(otherTitle);
    QWidget* stalledWindow = stalled->window();

    // The other GL window draws on.
    const quint64 otherFrames = other->framesFinished();
    EXPECT_TRUE(processEventsUntil([&] { return other->framesFinished() >= otherFrames + 10; }));
    EXPECT_EQ(ThreadedGLViewHost::drawingStateOf(stalledWindow), ThreadedGLViewHost::DrawingState::Stalled);

    // A menu command by its key, over the paused window, opens its window.
    EXPECT_TRUE(shownWindowsTitled(QLatin1String("Bargraph Window")).isEmpty());
    stalledWindow->activateWindow();
    QApplication::setActiveWindow(stalledWindow);
    QTest::keyClick(stalledWindow, Qt::Key_2, Qt::ControlModifier);
    EXPECT_TRUE(
        processEventsUntil([] { return !shownWindowsTitled(QLatin1String("Bargraph Window")).isEmpty(); }));

    // The patch interface answers a read.
    ASSERT_TRUE(QCNUPO4Patches::startPatchInterface(0));
    OscTestClient client;
    const QString address = QStringLiteral("/nupo4/rawdata/ShowWindowRawwave");
    ASSERT_TRUE(client.send(QCNUPO4Patches::sharedPatchServer().port(), encodePatchMessage(address, {})));
    std::optional<QByteArray> answer;
    EXPECT_TRUE(processEventsUntil([&] { return (answer = client.receive()).has_value(); }));
    QCNUPO4Patches::sharedPatchServer().stop();

    // The paused window shows why over its last picture (white letters across its middle), and closes.
    const QImage picture = stalled->grab().toImage();
    int white = 0;
    for (int y = picture.height() / 2 - 8; y < picture.height() / 2 + 8; ++y)
        for (int x = 0; x < picture.width(); ++x)
            white += qGray(picture.pixel(x, y)) > 200;
    EXPECT_GT(white, 20);
    stalledWindow->close();
    EXPECT_TRUE(processEventsUntil([] { return shownWindowsTitled(stalledTitle).isEmpty(); }));
    EXPECT_TRUE(GLRenderThread::anyFrameInFlight());
    // The process goes with the frame still stuck: nothing waits for it on the way out.
    std::fflush(stdout);
}

// Two WaterfallBS windows (whose views draw one at a time): one's frame stalls. The other's frame waits
// for its turn behind it: that window says so over its picture, and its Textures button opens its
// drawer. Once the stalled frame ends, both draw on.
TEST(StalledFrame, AnotherWindowOfTheSameKindSaysWhyItWaitsAndItsControlsWork)
{
    if (!onScreen())
        GTEST_SKIP() << "no X display: GL views draw no frames";
    OpenGLViewHost::setPlotDrawing(OpenGLViewHost::Drawing::OnOwnThread);
    startWithDemo();
    const auto open = [] {
        return dynamic_cast<QX3DSpectrumAppController*>(NibLoader::loadNibNamed(QStringLiteral("QX3DSpectrum")));
    };
    QX3DSpectrumAppController* stuck = open();
    QX3DSpectrumAppController* other = open();
    ASSERT_TRUE(stuck && other);
    const auto hostsOf = [](QX3DSpectrumAppController* c) {
        return c->windowWidget()->findChildren<ThreadedGLViewHost*>();
    };
    ASSERT_TRUE(processEventsUntil([&] {
        for (auto* c : {stuck, other})
            for (ThreadedGLViewHost* host : hostsOf(c))
                if (host->isVisible() && host->framesShown() < 2)
                    return false;
        return true;
    }));
    ThreadedGLViewHost* otherHost = nullptr;
    for (ThreadedGLViewHost* host : hostsOf(other))
        if (host->isVisible())
            otherHost = host;
    ASSERT_NE(otherHost, nullptr);

    // The stuck window's frames are held on a gate from now on.
    static auto* gate = new FrameGate;  // reachable for good: a frame may still pass it as the test ends
    gate->close();
    const QWidget* stuckWindow = stuck->windowWidget();
    ThreadedGLViewHost::setFrameHookForTests([stuckWindow](const ThreadedGLViewHost& host) {
        return host.window() == stuckWindow ? std::function<void()>([] { gate->passThrough(); })
                                            : std::function<void()>();
    });
    GLRenderThread::setStallTime(std::chrono::milliseconds(300));
    ASSERT_TRUE(processEventsUntil([&] { return otherHost->frameWaitsBehindAStall(); }));
    EXPECT_EQ(ThreadedGLViewHost::drawingStateOf(stuckWindow), ThreadedGLViewHost::DrawingState::Stalled);
    EXPECT_EQ(ThreadedGLViewHost::drawingStateOf(other->windowWidget()),
              ThreadedGLViewHost::DrawingState::Drawing);
    const auto whiteInMiddle = [](const QImage& picture) {
        int white = 0;
        for (int y = picture.height() / 2 - 8; y < picture.height() / 2 + 8; ++y)
            for (int x = 0; x < picture.width(); ++x)
                white += qGray(picture.pixel(x, y)) > 200;
        return white;
    };
    EXPECT_TRUE(processEventsUntil([&] { return whiteInMiddle(otherHost->grab().toImage()) > 20; }));

    Drawer* textures = other->drawerController().lowerRightDrawer;
    ASSERT_NE(textures, nullptr);
    ASSERT_EQ(textures->state(), Drawer::State::Closed);
    auto* button = other->windowWidget()->findChild<QPushButton*>(QStringLiteral("toggleLowerRightButton"));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(processEventsUntil([&] { return textures->state() == Drawer::State::Open; }));

    // The stuck frame ends: the other window's frames come again and its message goes.
    ThreadedGLViewHost::setFrameHookForTests({});
    gate->open();
    const quint64 shown = otherHost->framesShown();
    EXPECT_TRUE(processEventsUntil([&] { return otherHost->framesShown() >= shown + 3; }));
    EXPECT_FALSE(otherHost->frameStalled());
    GLRenderThread::setStallTime(std::chrono::seconds(2));
    for (auto* c : {stuck, other})
        WindowHandle(c->windowWidget()).close();
}

TEST(StalledFrame, ATerminationSignalEndsTheProgramWithExitCodeZero)
{
    if (!onScreen())
        GTEST_SKIP() << "no X display: GL views draw no frames";
#if defined(NUPO_THREAD_SANITIZER)
    GTEST_SKIP() << "ThreadSanitizer's runtime stops now and then as QProcess starts a child of a "
                    "many-threaded program";
#endif
    for (const int number : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(number);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(childMode, "1");
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=StalledFrame.Child"});
        QByteArray said;
        ASSERT_TRUE(processEventsUntil([&] {
            said += child.readAllStandardOutput();
            return said.contains("stalled\n") || child.state() == QProcess::NotRunning;
        }));
        ASSERT_TRUE(said.contains("stalled\n")) << said.toStdString();
        ::kill(pid_t(child.processId()), number);
        EXPECT_TRUE(processEventsUntil([&] {
            said += child.readAllStandardOutput();
            return child.state() == QProcess::NotRunning;
        }));
        if (child.state() != QProcess::NotRunning) {
            child.kill();
            child.waitForFinished();
        }
        said += child.readAllStandardOutput();
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0);
        EXPECT_TRUE(said.contains("left the loop")) << said.toStdString();
        EXPECT_FALSE(said.contains("not seen")) << said.toStdString();
    }
}

// Standard output into a pipe is line-buffered: what the program printed is there though it is killed
// (the colour set-up it reports as it starts, a plain printf).
TEST(StalledFrame, WhatTheProgramPrintedSurvivesAKill)
{
#if defined(NUPO_THREAD_SANITIZER)
    GTEST_SKIP() << "ThreadSanitizer's runtime stops now and then as QProcess starts a child of a "
                    "many-threaded program";
#endif
    QProcess program;
    program.start(QStringLiteral(NUPO4_PROGRAM), {QStringLiteral(NUPO_DEMO_RECORDING_PATH)});
    QByteArray said;
    EXPECT_TRUE(processEventsUntil([&] {
        said += program.readAllStandardOutput();
        return said.contains("ColorCH") || program.state() == QProcess::NotRunning;
    }));
    EXPECT_TRUE(said.contains("ColorCH")) << said.toStdString();
    program.kill();
    program.waitForFinished();
}
