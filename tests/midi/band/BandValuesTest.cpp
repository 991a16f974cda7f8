// Band values into notes, measured band values by band source, and the brain-switch link.
#include "midi/band/BandMeasurement.h"
#include "midi/band/BandValues.h"
#include "midi/band/BrainSwitchLink.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <gtest/gtest.h>

#include <vector>

namespace nupo {
namespace {

TEST(BandValuesTest, NotesAndVelocitiesInSinglePrecision)
{
    struct Case {
        float value, gain;
        int note, velocity;
    };
    const Case cases[] = {
        {62.75f, 1.0f, 62, 75}, {0.5f, 1.0f, 0, 50},    {6.25f, 10.0f, 62, 50}, {62.57f, 1.0f, 62, 56},
        {200.0f, 1.0f, 200, 0}, {-2.5f, 1.0f, -2, -50}, {70.0f, 1.0f, 70, 0},   {2.5f, 0.0f, 0, 0},
    };
    for (const Case& c : cases) {
        const BandNote got = bandNote(c.value, c.gain);
        EXPECT_EQ(got.note, c.note) << c.value << " x " << c.gain;
        EXPECT_EQ(got.velocity, c.velocity) << c.value << " x " << c.gain;
    }
}

class BandMeasurementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeBandSetupDefaults();
        setPauseX = 1;  // the brain-switch refresh keeps the records the test writes
    }
    std::vector<std::tuple<int, float, float, int>> queries;
    BandValuesOf8 values{};
    bool measure(int s)
    {
        return measureBandValues(s, values, [this](int source, float lo, float hi, int mode) {
            queries.emplace_back(source, lo, hi, mode);
            return lo + hi;
        });
    }
};

TEST_F(BandMeasurementTest, FftBandSourceAsksEachBandBetweenItsEdges)
{
    NUPOchannelEX[3] = 7;
    PeakPowerEX[3] = 0;
    HighF5X[3] = 16.0f;
    ASSERT_TRUE(measure(3));
    ASSERT_EQ(queries.size(), 8u);
    EXPECT_EQ(queries[0], std::make_tuple(7, 0.0f, 1.5f, 0));
    EXPECT_EQ(queries[4], std::make_tuple(7, 13.0f, 16.0f, 0));
    EXPECT_EQ(queries[7], std::make_tuple(7, 28.0f, 30.0f, 0));
    EXPECT_FLOAT_EQ(values[4], 29.0f);
}

TEST_F(BandMeasurementTest, BrainSwitchSourceDoublesTheStrongestLevels)
{
    UsePeakModeEX[1] = 1;
    NUPOchannelEX[1] = 2;
    for (int w = 0; w < brainSwitchWindowCount; ++w) {
        peakSWfftCount[2][w][0].level = 0.25f * float(w);
        peakSWfftCount[2][w][1].level = 50.0f;
    }
    ASSERT_TRUE(measure(1));
    for (std::size_t n = 0; n < bandCount; ++n)
        EXPECT_FLOAT_EQ(values[n], 0.5f * float(n + 1)) << "band " << n + 1;

    UsePeakModeEX[1] = 1;
    NUPOchannelEX[1] = 8;
    peakSWcoherenceCount[8][3][0].level = 4.0f;
    ASSERT_TRUE(measure(1));
    EXPECT_FLOAT_EQ(values[2], 8.0f);
    EXPECT_TRUE(queries.empty());
}

TEST_F(BandMeasurementTest, SourcesOutsideTheTenMeasureNothing)
{
    values.fill(-1.0f);
    for (int mode : {0, 1}) {
        for (int source : {-1, 10, 12}) {
            UsePeakModeEX[2] = mode;
            NUPOchannelEX[2] = source;
            EXPECT_FALSE(measure(2)) << "mode " << mode << " source " << source;
        }
    }
    UsePeakModeEX[2] = 2;
    NUPOchannelEX[2] = 0;
    EXPECT_FALSE(measure(2));
    EXPECT_FALSE(measure(128));
    EXPECT_TRUE(queries.empty());
    EXPECT_FLOAT_EQ(values[0], -1.0f);
}

TEST(BrainSwitchLinkTest, BandEdgeMovesWindowAndRectangleNineMinusN)
{
    brainSWX[3][18] = 0.7f;   // window 1: lower value
    brainSWX[3][26] = 10.0f;  // upper value
    brainSWX[3][42] = 2.0f;   // upper Hz
    const auto move = linkBandEdge(3, 1, false, 8.0f);
    ASSERT_TRUE(move.has_value());
    EXPECT_FLOAT_EQ(brainSWX[3][34], 8.0f);
    EXPECT_EQ(move->rectangle, 8);
    EXPECT_FLOAT_EQ(move->window.lowValue, 0.7f);
    EXPECT_FLOAT_EQ(move->window.highValue, 10.0f);
    EXPECT_FLOAT_EQ(move->window.lowHz, 8.0f);
    EXPECT_FLOAT_EQ(move->window.highHz, 2.0f);

    const auto upper = linkBandEdge(9, 8, true, 33.5f);
    ASSERT_TRUE(upper.has_value());
    EXPECT_EQ(upper->rectangle, 1);
    EXPECT_FLOAT_EQ(brainSWX[9][49], 33.5f);
    EXPECT_FLOAT_EQ(brainSWX[9][41], 0.0f);
    EXPECT_EQ(bandRectangle(4), 5);
}

TEST(BrainSwitchLinkTest, OutOfRangeSourceOrBandTouchesNothing)
{
    EXPECT_FALSE(linkBandEdge(10, 1, false, 5.0f).has_value());
    EXPECT_FALSE(linkBandEdge(-1, 1, true, 5.0f).has_value());
    EXPECT_FALSE(linkBandEdge(0, 0, false, 5.0f).has_value());
    EXPECT_FALSE(linkBandEdge(0, 9, true, 5.0f).has_value());
    for (const auto& record : brainSWX)
        for (const auto& v : record)
            EXPECT_EQ(v.load(), 0.0f);
}

}  // namespace
}  // namespace nupo
