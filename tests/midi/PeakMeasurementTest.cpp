// What the worker tick measures for a setup in each source mode, and how it maps it.
#include "midi/peak/SetMIDI.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <gtest/gtest.h>

#include <cmath>

namespace nupo {
namespace {

SetMIDI& quietMapper()
{
    firstTimeRunMIDIpeak = 0;
    SetMIDI& mapper = SetMIDI::sharedSetMIDI();
    mapper.setSetToDefault_(2);
    setPauseX = 1;  // the brain-switch refresh keeps the records the test writes
    return mapper;
}

void measureWith(int s, int mode, int channel)
{
    ONInputX[s] = 1;
    UsePeakModeX[s] = mode;
    NUPOchannelX[s] = channel;
}

TEST(PeakMeasurementTest, ThreePeakTablesAreDividedByTheGainAndDelogged)
{
    SetMIDI& mapper = quietMapper();
    measureWith(10, 0, 1);
    peakFFTB[0] = 8.0f;  // value of the strongest peak of CH 2
    peakFFTB[1] = 12.5f;
    displayGainX[1] = 2.0f;
    mapper.doMIDI();
    EXPECT_FLOAT_EQ(InputFX[10], 12.5f);
    EXPECT_FLOAT_EQ(InputVX[10], 4.0f);
    EXPECT_FLOAT_EQ(OutputFX[10], 30.0f + 12.5f / 40.0f * 60.0f);
    EXPECT_FLOAT_EQ(OutputVX[10], 4.0f / 20.0f * 127.0f);

    // A gain of 0 or below reads as 1.0 here as in every other reader (a negative one used to flip the sign).
    displayGainX[1] = -2.0f;
    mapper.doMIDI();
    EXPECT_FLOAT_EQ(InputVX[10], 8.0f);
    displayGainX[1] = 2.0f;

    LOGpowerONed = 1;
    mapper.doMIDI();
    EXPECT_NEAR(InputVX[10], std::pow(10.0, 4.0 / 10.0 - 1.0), 1e-5);
    LOGpowerONed = 0;

    // Three peaks: the last one measured stays.
    Play3PeaksX[10] = 1;
    peakFFTB[4] = 6.0f;
    peakFFTB[5] = 33.0f;
    mapper.doMIDI();
    EXPECT_FLOAT_EQ(InputFX[10], 33.0f);
    EXPECT_FLOAT_EQ(InputVX[10], 3.0f);
}

TEST(PeakMeasurementTest, BrainSwitchRecordsFeedModesTwoAndThree)
{
    SetMIDI& mapper = quietMapper();
    measureWith(11, 2, 5);  // coherence CH 3 & CH 4, brain switch 3
    BSchannelX[11] = 3;
    peakSWcoherenceCount[5][3][0].level = 30.0f;
    peakSWcoherenceCount[5][3][0].peakFrequency = 9.0f;
    measureWith(12, 3, 2);  // CH 3, first brain switch
    peakSWfftCount[2][0][0].level = 12.0f;
    peakSWfftCount[2][0][0].peakFrequency = 21.0f;
    mapper.doMIDI();
    EXPECT_FLOAT_EQ(InputVX[11], 30.0f);
    EXPECT_FLOAT_EQ(InputFX[11], 9.0f);
    EXPECT_FLOAT_EQ(OutputVX[11], 127.0f);  // above the V range: the top of the output range
    EXPECT_FLOAT_EQ(InputVX[12], 12.0f);
    EXPECT_FLOAT_EQ(InputFX[12], 21.0f);
}

TEST(PeakMeasurementTest, UnmeasurableSetupsKeepTheirInputs)
{
    SetMIDI& mapper = quietMapper();
    measureWith(13, 1, 4);  // band search on a coherence channel: nothing measured
    InputFX[13] = 7.0f;
    InputVX[13] = 2.0f;
    measureWith(14, 5, 0);  // unknown mode
    InputFX[14] = 3.0f;
    measureWith(15, 2, 1);
    BSchannelX[15] = 40;  // no such brain switch
    InputFX[15] = 6.0f;
    measureWith(16, 0, 12);  // no such data channel
    InputFX[16] = 8.0f;
    mapper.doMIDI();
    EXPECT_FLOAT_EQ(InputFX[13], 7.0f);
    EXPECT_FLOAT_EQ(InputVX[13], 2.0f);
    EXPECT_FLOAT_EQ(OutputFX[13], 30.0f + 7.0f / 40.0f * 60.0f);  // mapped again from the kept input
    EXPECT_FLOAT_EQ(InputFX[14], 3.0f);
    EXPECT_FLOAT_EQ(InputFX[15], 6.0f);
    EXPECT_FLOAT_EQ(InputFX[16], 8.0f);
}

TEST(PeakMeasurementTest, NonNumbersFromTheAnalysisAreNotStored)
{
    SetMIDI& mapper = quietMapper();
    measureWith(17, 0, 0);
    InputFX[17] = 5.0f;
    peakFFTA[1] = NAN;
    peakFFTA[0] = INFINITY;
    mapper.doMIDI();
    EXPECT_FLOAT_EQ(InputFX[17], 5.0f);
    EXPECT_TRUE(std::isfinite(OutputFX[17]));
    EXPECT_TRUE(std::isfinite(OutputVX[17]));
}

}  // namespace
}  // namespace nupo
