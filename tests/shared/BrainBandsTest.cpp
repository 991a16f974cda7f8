#include "shared/BrainBands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace nupo {
namespace {

TEST(BrainBands, EachLowerEdgeBelongsToItsBandAndEverythingOutsideIsEye)
{
    const float lowerEdges[] = {2.0f, 4.0f, 8.0f, 12.0f, 15.0f, 20.0f, 30.0f};
    for (int band = BandDelta; band <= BandGamma; ++band) {
        const float edge = lowerEdges[band - 1];
        EXPECT_EQ(brainBandOfFrequency(edge), band) << edge;
        EXPECT_EQ(brainBandOfFrequency(std::nextafter(edge, 0.0f)), band - 1) << edge;
    }
    EXPECT_EQ(brainBandOfFrequency(1.0f), BandEye);
    EXPECT_EQ(brainBandOfFrequency(39.9f), BandGamma);
    EXPECT_EQ(brainBandOfFrequency(40.0f), BandEye);
    EXPECT_EQ(brainBandOfFrequency(0.0f), BandEye);
    EXPECT_EQ(brainBandOfFrequency(-3.0f), BandEye);
    EXPECT_EQ(brainBandOfFrequency(1000.0f), BandEye);
    EXPECT_EQ(brainBandOfFrequency(std::numeric_limits<float>::quiet_NaN()), BandEye);
    EXPECT_EQ(brainBandOfFrequency(std::numeric_limits<float>::infinity()), BandEye);

    EXPECT_STREQ(brainBandName(BandAlpha), "Alpha");
    EXPECT_STREQ(brainBandName(BandBetaM), "BetaM");
    EXPECT_STREQ(brainBandName(8), "");
}

}  // namespace
}  // namespace nupo
