#include <gtest/gtest.h>

#include "midi/common/MidiMapperWorker.h"
#include "midi/peak/PeakMidiWorker.h"
#include "midi/peak/PeakSetupTable.h"
#include "shared/CoreState.h"

#include <QCoreApplication>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace nupo {
namespace {

// Waits (without a deadline of its own measure: 30 s only so that a fault ends the test) until done().
bool eventually(const std::function<bool()>& done)
{
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

TEST(MidiMapperWorker, RestsWhileIdleAndComesBackForWork)
{
    std::atomic<int> ticks{0};
    std::atomic<bool> idle{true};
    MidiMapperWorker worker(QStringLiteral("resting worker"));
    worker.start(
        0.01, [&] { ++ticks; }, 1.0, [] {}, [&] { return idle.load(); }, 0.05);

    // After a tick that finds nothing to do the worker ticks at the rest interval, and keeps ticking.
    ASSERT_TRUE(eventually([&] { return worker.currentInterval() == 0.05; }));
    const int restingTicks = ticks;
    ASSERT_TRUE(eventually([&] { return ticks >= restingTicks + 2; }));
    EXPECT_EQ(worker.currentInterval(), 0.05);

    // Work written from anywhere is seen by a resting tick: back to the tick interval.
    idle = false;
    ASSERT_TRUE(eventually([&] { return worker.currentInterval() == 0.01; }));

    // wake() brings it back at once, without waiting for a resting tick.
    idle = true;
    ASSERT_TRUE(eventually([&] { return worker.currentInterval() == 0.05; }));
    idle = false;
    worker.wake();
    std::atomic<bool> behindWake{false};
    worker.runOnThread([&] { behindWake = true; });
    ASSERT_TRUE(eventually([&] { return behindWake.load(); }));
    EXPECT_EQ(worker.currentInterval(), 0.01);

    worker.stop();
    EXPECT_EQ(worker.currentInterval(), 0.0);
    const int stopped = ticks;
    worker.wake();  // nothing runs after stop
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(ticks, stopped);
}

TEST(MidiMapperWorker, WithoutIdleTestItNeverRests)
{
    std::atomic<int> ticks{0};
    MidiMapperWorker worker(QStringLiteral("busy worker"));
    worker.start(
        0.01, [&] { ++ticks; }, 1.0, [] {});
    ASSERT_TRUE(eventually([&] { return ticks >= 3; }));
    EXPECT_EQ(worker.currentInterval(), 0.01);
}

TEST(MidiMapperWorker, DocumentFlagTicksARestingWorkerAtOnceAndWakesItAfter)
{
    std::atomic<int> ticks{0};
    std::atomic<int> ticksWithFlagUp{0};
    std::atomic<bool> idle{true};
    MidiMapperWorker worker(QStringLiteral("document-paused worker"));
    // A rest so long that no resting tick comes by itself during the test.
    worker.start(
        0.01,
        [&] {
            ++ticks;
            if (startToSaveData != 0)
                ++ticksWithFlagUp;
        },
        1.0, [] {}, [&] { return idle.load(); }, 1000.0);
    ASSERT_TRUE(eventually([&] { return worker.currentInterval() == 1000.0; }));
    const int resting = ticks;

    // Raised: the resting worker has ticked, seeing the flag up, by the time the call returns.
    startToSaveData = 1;
    MidiMapperWorker::documentFlagRaised();
    EXPECT_EQ(ticks, resting + 1);
    EXPECT_EQ(ticksWithFlagUp, 1);
    EXPECT_EQ(worker.currentInterval(), 1000.0);  // still nothing to do

    // Lowered: back to the tick interval at once, then rest again after a tick that finds nothing.
    startToSaveData = 0;
    idle = false;
    MidiMapperWorker::documentFlagLowered();
    ASSERT_TRUE(eventually([&] { return worker.currentInterval() == 0.01; }));
    idle = true;
    ASSERT_TRUE(eventually([&] { return worker.currentInterval() == 1000.0; }));

    // A stopped worker is no longer told.
    worker.stop();
    const int stopped = ticks;
    startToOpenData = 1;
    MidiMapperWorker::documentFlagRaised();
    startToOpenData = 0;
    MidiMapperWorker::documentFlagLowered();
    EXPECT_EQ(ticks, stopped);
}

TEST(PeakMidiWorker, IdleOnlyWhileNoSetupMeasuresOrSends)
{
    for (int s = 0; s < maxSetupNumber; ++s) {
        ONInputX[s] = 0;
        MIDIoutONX[s] = 0;
    }
    EXPECT_TRUE(peakSetupsIdle());
    for (int s : {0, 77, maxSetupNumber - 1}) {
        ONInputX[s] = 1;
        EXPECT_FALSE(peakSetupsIdle()) << s;
        ONInputX[s] = 0;
        MIDIoutONX[s] = 2;  // any value but 0: a pass may act on it
        EXPECT_FALSE(peakSetupsIdle()) << s;
        MIDIoutONX[s] = 0;
    }
    EXPECT_TRUE(peakSetupsIdle());
}

}  // namespace
}  // namespace nupo
