// Termination signals end the program through its own way out. Each case runs this test program again
// as a child that waits in its event loop, and signals it from here.
#include "platform/appkit/TerminationSignals.h"
#include "platform/appkit/ThreadSanitizerBuild.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace nupo {
namespace {

const char* childMode = "NUPO_TERMINATION_CHILD";

// ThreadSanitizer's runtime stops now and then on an internal check as QProcess starts a child of this
// many-threaded program, so the cases that start one are skipped under it.
#if defined(NUPO_THREAD_SANITIZER)
constexpr bool underThreadSanitizer = true;
#else
constexpr bool underThreadSanitizer = false;
#endif

// In the child: says it is ready, waits in the event loop for the quit that a signal asks for, and says
// what happened. With "stall", the quit action does nothing, as a program stuck on its way out.
TEST(TerminationSignals, Child)
{
    const QByteArray mode = qgetenv(childMode);
    if (mode.isEmpty())
        GTEST_SKIP() << "runs only as the child of the other cases";
    if (mode == "display") {
        // As Qt's X11 platform does when its connection breaks, after another warning; an exit handler
        // that says whether it ran.
        endAtOnceWhenTheDisplayIsLost();
        std::atexit([] { std::printf("exit handlers ran\n"); });
        qWarning("A warning of another kind");
        std::printf("still here\n");
        std::fflush(stdout);
        qWarning("The X11 connection broke (error 1). Did the X11 server die?");
        std::exit(1);
    }
    quitOnTerminationSignals([mode] {
        std::printf("quit asked\n");
        std::fflush(stdout);
        if (mode != "stall")
            QCoreApplication::quit();
    });
    std::printf("ready\n");
    std::fflush(stdout);
    QCoreApplication::exec();
    std::printf("left the loop\n");
    std::fflush(stdout);
}

class Child {
public:
    explicit Child(const char* mode, bool interruptIgnored = false)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(childMode, mode);
        process.setProcessEnvironment(environment);
        // The child starts with the interrupt ignored, as a shell's background job does, or with its
        // default action whatever this process has.
        process.setChildProcessModifier(
            [interruptIgnored] { std::signal(SIGINT, interruptIgnored ? SIG_IGN : SIG_DFL); });
        process.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=TerminationSignals.Child"});
        if (std::string_view(mode) != "display")
            waitToSay("ready");
    }
    ~Child()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }

    bool waitToSay(const char* line)
    {
        return test::processEventsUntil([&] {
                   said += process.readAllStandardOutput();
                   return said.contains(line) || process.state() == QProcess::NotRunning;
               }) &&
               said.contains(line);
    }
    bool waitToEnd()
    {
        return test::processEventsUntil([&] {
            said += process.readAllStandardOutput();
            return process.state() == QProcess::NotRunning;
        });
    }
    void send(int number) { ::kill(pid_t(process.processId()), number); }

    QProcess process;
    QByteArray said;
};

TEST(TerminationSignals, TermInterruptAndHangUpQuitThroughTheEventLoop)
{
    if (underThreadSanitizer)
        GTEST_SKIP() << "ThreadSanitizer cannot follow the child process";
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(number);
        Child child("quit");
        ASSERT_TRUE(child.said.contains("ready")) << child.said.toStdString();
        child.send(number);
        ASSERT_TRUE(child.waitToEnd());
        EXPECT_EQ(child.process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.process.exitCode(), 0);
        EXPECT_TRUE(child.said.contains("quit asked"));
        EXPECT_TRUE(child.said.contains("left the loop")) << child.said.toStdString();
    }
}

TEST(TerminationSignals, InterruptIgnoredAtStartStaysIgnoredAndASecondSignalEndsAStuckProgram)
{
    if (underThreadSanitizer)
        GTEST_SKIP() << "ThreadSanitizer cannot follow the child process";
    Child background("stall", true);
    ASSERT_TRUE(background.said.contains("ready")) << background.said.toStdString();
    background.send(SIGINT);
    background.send(SIGTERM);
    ASSERT_TRUE(background.waitToSay("quit asked"));
    EXPECT_EQ(background.said.count("quit asked"), 1);  // the interrupt was not taken
    EXPECT_EQ(background.process.state(), QProcess::Running);
    // Stuck on the way out: the next signal ends it at once.
    background.send(SIGTERM);
    ASSERT_TRUE(background.waitToEnd());
    EXPECT_EQ(background.process.exitStatus(), QProcess::CrashExit);
    EXPECT_FALSE(background.said.contains("left the loop"));
}

TEST(TerminationSignals, TheDisplayLostEndsTheProgramAtOnceWithoutItsExitHandlers)
{
    if (underThreadSanitizer)
        GTEST_SKIP() << "ThreadSanitizer cannot follow the child process";
    Child child("display");
    ASSERT_TRUE(child.waitToEnd());
    const QByteArray errors = child.process.readAllStandardError();
    EXPECT_EQ(child.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.process.exitCode(), 1);
    EXPECT_TRUE(child.said.contains("still here")) << child.said.toStdString();
    EXPECT_FALSE(child.said.contains("exit handlers ran"));
    EXPECT_TRUE(errors.contains("A warning of another kind")) << errors.toStdString();
    EXPECT_TRUE(errors.contains("The X11 connection broke")) << errors.toStdString();
}

}  // namespace
}  // namespace nupo
