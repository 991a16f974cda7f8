#include "platform/appkit/RunLoopTimer.h"
#include "platform/appkit/WorkerThread.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <atomic>

namespace nupo {
namespace {

void processEventsFor(int milliseconds)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(RunLoopTimer, FiresRepeatedlyOnTheCreatingThreadUntilInvalidated)
{
    int calls = 0;
    bool onMainThread = true;
    RunLoopTimer timer(0.005, [&] {
        ++calls;
        onMainThread = onMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    });
    EXPECT_TRUE(timer.isValid());
    EXPECT_DOUBLE_EQ(timer.interval(), 0.005);
    ASSERT_TRUE(test::processEventsUntil([&] { return calls >= 5; }));
    EXPECT_TRUE(onMainThread);

    timer.invalidate();
    EXPECT_FALSE(timer.isValid());
    const int atInvalidate = calls;
    processEventsFor(50);
    EXPECT_EQ(calls, atInvalidate);
}

TEST(RunLoopTimer, KeepsFiringWhileANestedLoopTracksAMenuOrSlider)
{
    int calls = 0;
    RunLoopTimer timer(0.005, [&] { ++calls; });
    // A modal menu or slider drag runs its own event loop until the mouse is released.
    QEventLoop tracking;
    QTimer::singleShot(0, [&] {
        const int before = calls;
        test::processEventsUntil([&] { return calls >= before + 3; });
        tracking.quit();
    });
    tracking.exec();
    EXPECT_GE(calls, 3);
}

TEST(RunLoopTimer, StopsWhenDestroyedOrInvalidatedFromItsOwnCallback)
{
    int selfStopping = 0;
    std::unique_ptr<RunLoopTimer> timer;
    timer = std::make_unique<RunLoopTimer>(0.001, [&] {
        if (++selfStopping == 3)
            timer->invalidate();
    });
    int destroyedCalls = 0;
    auto destroyed = std::make_unique<RunLoopTimer>(0.001, [&] { ++destroyedCalls; });
    destroyed.reset();

    ASSERT_TRUE(test::processEventsUntil([&] { return !timer->isValid(); }));
    processEventsFor(30);
    EXPECT_EQ(selfStopping, 3);
    EXPECT_EQ(destroyedCalls, 0);

    // A timer without a callback is never valid.
    EXPECT_FALSE(RunLoopTimer(0.01, nullptr).isValid());
}

TEST(RunLoopTimer, ATimerMadeOnAWorkerFiresThereAndCanBeEndedFromTheMainThread)
{
    WorkerThread worker;
    worker.start();
    std::atomic<int> calls{0};
    std::atomic<bool> onWorker{true};
    std::unique_ptr<RunLoopTimer> timer;
    std::atomic<bool> made{false};
    worker.runOnThread([&] {
        timer = std::make_unique<RunLoopTimer>(0.002, [&] {
            ++calls;
            if (!worker.isCurrentThread())
                onWorker = false;
        });
        made = true;
    });
    ASSERT_TRUE(test::processEventsUntil([&] { return made && calls >= 3; }));
    EXPECT_TRUE(onWorker);
    timer.reset();
    const int atReset = calls;
    worker.runOnThread([] {});
    worker.stop();
    EXPECT_EQ(calls, atReset);
}

}  // namespace
}  // namespace nupo
