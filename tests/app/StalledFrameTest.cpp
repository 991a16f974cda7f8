// A GL window whose frame never ends (as one stuck in the driver) pauses alone: the program's other
// windows draw on, its menu and patch interface answer, and a termination signal still ends it.
#include <gtest/gtest.h>

#include "core/ui/QXAppController.h"
#include "document/ui/NUPO4DocumentController.h"
#include "interop/OscPatchServer.h"
#include "interop/OscTestClient.h"
#include "interop/ui/QCNUPO4Patches.h"
#include "platform/appkit/TerminationSignals.h"
#include "platform/appkit/ThreadSanitizerBuild.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "support/WindowTestSupport.h"

#include <QApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

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
