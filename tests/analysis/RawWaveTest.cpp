#include "AnalysisTestSignals.h"
#include "analysis/FFTMath.h"
#include "analysis/RawWave.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <gtest/gtest.h>

using namespace nupo;
using nupo::test::writeSignal;

TEST(RawWave, TraceHoldsTheNewestSamplesOldestFirstWithTheChannelGain)
{
    fftp = 128;
    writeSignal(2, 0, 400, [](int i) { return double(i); });
    setGain2Number = 0;  // x 2.5
    datarawB[128] = 77;
    getBRawwave(300);
    EXPECT_EQ(datarawB[0], int(172 * 2.5));
    EXPECT_EQ(datarawB[127], int(299 * 2.5));
    EXPECT_EQ(datarawB[128], 77);                             // beyond the trace: kept
    EXPECT_NEAR(BRawwavePP.load(), 299 * 0.25 / 2.55, 1e-9);  // the smallest starts from 0

    getBRawwave(40);  // near the start the trace begins at sample 0
    EXPECT_EQ(datarawB[0], 0);
    EXPECT_EQ(datarawB[10], 25);

    setGain2Number = 99;  // out of range: 0.25
    getBRawwave(300);
    EXPECT_EQ(datarawB[127], int(299 * 0.25));
}

TEST(RawWave, WindowingNeedsThePortAndDcCutRemovesHalfTheOffset)
{
    fftp = 256;
    writeSignal(1, 0, 256, [](int) { return 400.0; });
    rawwaveWindowing = 1;
    getARawwave(256);
    EXPECT_EQ(datarawA[0], 100);  // port closed: no window
    openPort = 1;
    getARawwave(256);
    EXPECT_EQ(datarawA[0], 0);
    EXPECT_EQ(datarawA[128], 100);
    openPort = 0;
    rawwaveWindowing = 0;

    DCoffsetA = 200.0;  // twice the mean of 100
    DCcutONed = 1;
    getARawwave(256);
    EXPECT_EQ(datarawA[5], 0);
}

TEST(RawWave, AutoGainScalesToFiftyAndLeavesFlatTracesAlone)
{
    fftp = 128;
    autoGainRawData = 1;
    writeSignal(3, 0, 128, [](int) { return 0.0; });
    getDRawwave(128);  // all zero: nothing to divide by
    for (int i = 0; i < 128; ++i)
        ASSERT_EQ(datarawD[i], 0);
    writeSignal(3, 0, 128, [](int i) { return -4.0 * i; });
    getDRawwave(128);  // largest entry 0: kept as it is
    EXPECT_EQ(datarawD[127], -127);

    writeSignal(4, 0, 128, [](int i) { return i % 2 ? 40.0 : -40.0; });
    getERawwave(128);
    EXPECT_EQ(datarawE[1], 50);
    EXPECT_EQ(datarawE[0], -50);
}

TEST(RawWave, LargestTraceFitsItsWindowWithTheEntryAfterIt)
{
    static_assert(rawwaveLength == 8193);
    fftp = 8192;
    writeSignal(1, 0, 8192, [](int) { return 8.0; });
    datarawA[8192] = 5;
    getARawwave(8192);
    EXPECT_EQ(datarawA[8191], 2);
    EXPECT_EQ(datarawA[8192], 5);
    getRawwave(4, 100);  // no such channel: nothing happens
    getRawwave(-1, 100);
}
