#include <gtest/gtest.h>

#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"

#include <vector>

using namespace nupo;

namespace {

struct Applied {
    std::vector<int> modes, entries;
    int colours = 0;
};

Applied runTicks(PlotWindowState& state, int ticks)
{
    Applied applied;
    for (int t = 0; t < ticks; ++t)
        state.runQueuedCommands([&](int v) { applied.modes.push_back(v); },
                                [&](int v) { applied.entries.push_back(v); }, [&] { ++applied.colours; });
    return applied;
}

}  // namespace

TEST(PlotWindowState, StartOfRunAppliesDefaultsOnThreeTicksAndNamesAlias)
{
    Applied a = runTicks(rawwaveWindowState, 6);
    EXPECT_EQ(a.modes, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(a.entries, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(a.colours, 3);
    EXPECT_EQ(setDemoNumberRawACount, 0);
    EXPECT_EQ(setDemoNumberRawCCount, 0);
    // The named variables are the state itself.
    WRawAlphaValue = 0.5f;
    EXPECT_FLOAT_EQ(rawwaveWindowState.alphaValue, 0.5f);
    windowColorBarOX = 1;
    EXPECT_EQ(barGraphWindowState.suppressQueued, 1);
}

TEST(PlotWindowState, SuppressFlagDropsWhatWasQueuedBeforeOnce)
{
    windowColorRawNOX = 1;
    Applied a = runTicks(rawwaveWindowState, 1);
    EXPECT_TRUE(a.modes.empty());
    EXPECT_TRUE(a.entries.empty());
    EXPECT_EQ(a.colours, 0);
    EXPECT_EQ(windowColorRawNOX, 0);
    // Commands queued after the suppressed tick run as usual.
    rawwaveWindowState.queueViewMode(4);
    a = runTicks(rawwaveWindowState, 7);
    EXPECT_EQ(a.modes, (std::vector<int>{4, 4, 4, 4, 4}));
    EXPECT_EQ(setDemoNumberRawACount, 0);
}

TEST(PlotWindowState, RepeatCountsDifferPerWindowAndDirectRequestsApplyOnceMore)
{
    runTicks(barGraphWindowState, 3);
    barGraphWindowState.queueViewMode(9);
    EXPECT_EQ(runTicks(barGraphWindowState, 5).modes.size(), 3u);

    // An apply that sets the flag (as the controller's direct request does) is not re-applied forever.
    runTicks(rawwaveWindowState, 3);
    setDemoNumberRawCA = 2;
    setDemoNumberRawADidChanged = 1;
    int calls = 0;
    for (int t = 0; t < 4; ++t)
        rawwaveWindowState.runQueuedCommands(
            [&](int) {
                ++calls;
                setDemoNumberRawADidChanged = 1;
            },
            [](int) {}, [] {});
    EXPECT_EQ(calls, 1);

    // A colour command repeats three times.
    rawwaveWindowState.setWindowColorValue();
    EXPECT_EQ(runTicks(rawwaveWindowState, 5).colours, 3);
}

TEST(PlotWindowState, AlphaAnimationsTurnAtTheirLimits)
{
    PlotWindowState s;
    EXPECT_FALSE(s.stepAlphaAnimation(PlotWindowState::AlphaOff));
    EXPECT_FALSE(s.stepAlphaAnimation(PlotWindowState::AlphaStopped));
    EXPECT_FLOAT_EQ(s.alphaValue, 1.0f);

    // Mode 3 from 1.0: the first tick shows 1.0 and turns the step at 1.01.
    auto shown = s.stepAlphaAnimation(PlotWindowState::AlphaMiddle);
    ASSERT_TRUE(shown);
    EXPECT_FLOAT_EQ(*shown, 1.0f);
    EXPECT_FLOAT_EQ(s.alphaDelta, -0.01f);
    float lowest = 1.0f, highestAfterLow = 0.0f;
    bool turnedUp = false;
    for (int t = 0; t < 200; ++t) {
        const float a = *s.stepAlphaAnimation(PlotWindowState::AlphaMiddle);
        if (!turnedUp) {
            lowest = std::min(lowest, a);
            turnedUp = s.alphaDelta > 0;
        } else if (t < 150) {
            highestAfterLow = std::max(highestAfterLow, a);
        }
    }
    EXPECT_NEAR(lowest, 0.4f, 0.011f);
    EXPECT_NEAR(highestAfterLow, 0.8f, 0.011f);

    PlotWindowState full;
    full.alphaValue = 0.005f;
    full.alphaDelta = -0.01f;
    full.stepAlphaAnimation(PlotWindowState::AlphaFull);
    EXPECT_FLOAT_EQ(full.alphaDelta, 0.01f);
}

TEST(PlotWindowState, TimeStampsAndClosing)
{
    EXPECT_EQ(timeStampText(432000, 120), "01:00:00.000");
    EXPECT_EQ(timeStampText(119, 120), "00:00:00.991");
    EXPECT_EQ(timeStampText(100, 0), "00:01:40.000");  // no division by zero
    // Digit by digit where it fits, formatted as before where it does not.
    EXPECT_EQ(timeStampText(2253456, 120), "05:12:58.800");
    EXPECT_EQ(timeStampText(43199999, 120), "99:59:59.991");
    EXPECT_EQ(timeStampText(43200000, 120), "100:00:00.000");
    EXPECT_EQ(timeStampText(-60, 120), QString::asprintf("%02d:%02d:%02d.%03d", 0, 0, 0, -500));

    OpenRawwave = 0;
    rawwaveWindowState.windowClosed(true);
    EXPECT_EQ(OpenRawwave, 0);
    Open2DBarGraph = 0;
    barGraphWindowState.windowClosed(false);
    EXPECT_EQ(Open2DBarGraph, -1);
}

#include "plots/frame/gl/FrameRateFilter.h"

TEST(FrameRateFilter, SettlesOnTheTickRateAndTakesTinyIntervalsAsTheRate)
{
    FrameRateFilter filter;
    double t = 1000.0, rate = 0.0;
    for (int i = 0; i < 200; ++i)
        rate = filter.update(t += 1.0 / 30.0);
    EXPECT_NEAR(rate, 30.0, 1e-6);

    // y = 0.9 y' + 0.05 (x + x'): an interval of 0.0001 s or less is taken as x itself.
    FrameRateFilter fresh;
    EXPECT_NEAR(fresh.update(0.5), 0.05 * 2.0, 1e-12);  // first reading: dt 0.5 from 0
    EXPECT_NEAR(fresh.update(0.50005), 0.9 * 0.1 + 0.05 * (0.00005 + 2.0), 1e-9);
}
