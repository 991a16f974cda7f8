#include "platform/appkit/WorkerThread.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace nupo {
namespace {

TEST(WorkerThread, RunsQueuedWorkInOrderOnItsOwnThreadAndFinishesItBeforeStopping)
{
    WorkerThread worker("test worker");
    EXPECT_FALSE(worker.runOnThread([] {}));  // not started yet
    worker.start();
    EXPECT_TRUE(worker.isRunning());

    std::vector<int> order;
    std::atomic<bool> allOnWorker{true};
    for (int i = 0; i < 200; ++i) {
        worker.runOnThread([&, i] {
            order.push_back(i);
            if (!worker.isCurrentThread() || QThread::currentThread()->objectName() != "test worker")
                allOnWorker = false;
        });
    }
    worker.stop();
    EXPECT_FALSE(worker.isRunning());
    EXPECT_TRUE(worker.qThread()->isFinished());
    ASSERT_EQ(order.size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_TRUE(allOnWorker);

    bool ranAfterStop = false;
    EXPECT_FALSE(worker.runOnThread([&] { ranAfterStop = true; }));
    worker.stop();  // a second stop is harmless
    EXPECT_FALSE(ranAfterStop);

    // It can be started again.
    worker.start();
    std::atomic<bool> ranAgain{false};
    worker.runOnThread([&] { ranAgain = true; });
    worker.stop();
    EXPECT_TRUE(ranAgain);
}

TEST(WorkerThread, TimersFireOnTheWorkerAndEndWithIt)
{
    WorkerThread worker;
    worker.start();
    std::atomic<int> calls{0};
    std::atomic<bool> onWorker{true};
    std::unique_ptr<RunLoopTimer> timer = worker.scheduleTimer(0.002, [&] {
        ++calls;
        if (!worker.isCurrentThread())
            onWorker = false;
    });
    ASSERT_TRUE(test::processEventsUntil([&] { return calls >= 5; }));
    EXPECT_TRUE(onWorker);
    EXPECT_TRUE(timer->isValid());

    worker.stop();
    EXPECT_FALSE(timer->isValid());  // its thread has ended
    const int atStop = calls;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(calls, atStop);
    timer.reset();  // destroying it after the thread ended is safe

    EXPECT_FALSE(worker.scheduleTimer(0.01, [] {})->isValid());
}

TEST(WorkerThread, InvalidateFromAnotherThreadWaitsForARunningCallback)
{
    WorkerThread worker;
    worker.start();
    std::atomic<int> started{0};
    std::atomic<int> finished{0};
    std::unique_ptr<RunLoopTimer> timer = worker.scheduleTimer(0.001, [&] {
        ++started;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ++finished;
    });
    ASSERT_TRUE(test::processEventsUntil([&] { return started > finished; }));  // a call is under way
    timer->invalidate();
    EXPECT_EQ(started.load(), finished.load());
    const int atInvalidate = started;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(started.load(), atInvalidate);
    worker.stop();
}

TEST(WorkerThread, AWorkerMayStopItselfAndIsJoinedLater)
{
    auto worker = std::make_unique<WorkerThread>();
    worker->start();
    std::atomic<bool> stopped{false};
    worker->runOnThread([&] {
        worker->stop();  // cannot join itself: only ends the loop
        stopped = true;
    });
    ASSERT_TRUE(test::processEventsUntil([&] { return stopped.load(); }));
    EXPECT_FALSE(worker->isRunning());
    worker->start();  // joins the ending thread first, then runs again
    std::atomic<bool> ranAgain{false};
    worker->runOnThread([&] { ranAgain = true; });
    worker->stop();
    EXPECT_TRUE(ranAgain);

    // Destroyed while its last job stops it: both stops end without waiting for each other.
    worker->start();
    worker->runOnThread([raw = worker.get()] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        raw->stop();
    });
    worker.reset();
}

TEST(WorkerThread, DestroyingItJoinsTheThread)
{
    std::atomic<bool> done{false};
    {
        WorkerThread worker;
        worker.start();
        worker.runOnThread([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            done = true;
        });
    }
    EXPECT_TRUE(done);
}

}  // namespace
}  // namespace nupo
