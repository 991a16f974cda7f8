#include "platform/appkit/FrameTimer.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <memory>
#include <string>
#include <vector>

namespace nupo {
namespace {

// Runs the event loop until `done` holds (or a generous time has passed, so a fault fails instead of
// hanging).
template <class Done>
void processEventsUntil(Done done)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(FrameTimer, TimersStartedApartTickTogetherInTheOrderTheyStarted)
{
    std::vector<std::string> ticks;
    FrameTimer first, second;
    QObject::connect(&first, &FrameTimer::timeout, [&] { ticks.push_back("first"); });
    QObject::connect(&second, &FrameTimer::timeout, [&] { ticks.push_back("second"); });
    first.start();
    processEventsUntil([&] { return ticks.size() >= 2; });
    ASSERT_EQ(ticks, (std::vector<std::string>{"first", "first"}));

    // Started between beats, the second joins the first's beat: from then on every beat ticks both.
    second.start();
    ticks.clear();
    processEventsUntil([&] { return ticks.size() >= 6; });
    ASSERT_GE(ticks.size(), 6u);
    for (std::size_t i = 0; i + 1 < ticks.size(); i += 2) {
        EXPECT_EQ(ticks[i], "first") << i;
        EXPECT_EQ(ticks[i + 1], "second") << i;
    }
    EXPECT_TRUE(first.isActive());
    first.stop();
    second.stop();
    EXPECT_FALSE(first.isActive());
}

TEST(FrameTimer, StoppedOrDeletedTimersMissTheirTurn)
{
    int stoppedTicks = 0, deletedTicks = 0, keptTicks = 0;
    FrameTimer stopper, stopped, kept;
    auto deleted = std::make_unique<FrameTimer>();
    // The first timer's tick stops the second and deletes the third before their turn in the same beat.
    bool acted = false;
    QObject::connect(&stopper, &FrameTimer::timeout, [&] {
        if (acted)
            return;
        acted = true;
        stopped.stop();
        deleted.reset();
    });
    QObject::connect(&stopped, &FrameTimer::timeout, [&] { ++stoppedTicks; });
    QObject::connect(deleted.get(), &FrameTimer::timeout, [&] { ++deletedTicks; });
    QObject::connect(&kept, &FrameTimer::timeout, [&] { ++keptTicks; });
    stopper.start();
    stopped.start();
    deleted->start();
    kept.start();
    processEventsUntil([&] { return keptTicks >= 3; });
    EXPECT_GE(keptTicks, 3);
    EXPECT_EQ(stoppedTicks, 0);
    EXPECT_EQ(deletedTicks, 0);

    // Started again, a timer ticks again; a second start changes nothing.
    stopped.start();
    stopped.start();
    const int before = keptTicks;
    processEventsUntil([&] { return keptTicks >= before + 2; });
    stopper.stop();
    EXPECT_GE(stoppedTicks, 1);
    EXPECT_LE(stoppedTicks, keptTicks - before + 1);
}

}  // namespace
}  // namespace nupo
