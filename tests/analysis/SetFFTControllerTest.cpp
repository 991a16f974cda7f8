#include "analysis/QX3DSpectrum.h"
#include "analysis/SetFFTController.h"
#include "shared/AnalysisState.h"

#include <gtest/gtest.h>

using namespace nupo;

namespace {

SetFFTController& controller()
{
    return SetFFTController::sharedSetFFTController();
}

}  // namespace

TEST(SetFFTController, PointIndexSelectsTheSizeAndClearsThe3DHistory)
{
    int changes = 0;
    QObject::connect(&controller(), &SetFFTController::settingsChanged, [&] { ++changes; });
    PeakfftPowerFV[1][5][2].store({4.0f, 8.0f, 3, 5, 4.0f});
    peakSWfftCount[2][1][0].store({3.0f, 9.0f, 18, 19, 1.0f});
    timeRec[4] = 1234;
    displayGainX[2] = 5.0f;

    controller().setFFTpoint(6);
    EXPECT_EQ(fftp.load(), 8192);
    EXPECT_EQ(SetFFTController::fftPointIndex(), 6);
    EXPECT_EQ(PeakfftPowerFV[1][5][2].load().value, 0.0f);
    EXPECT_EQ(peakSWfftCount[2][1][0].load().level, 0.0f);
    EXPECT_EQ(timeRec[4].load(), 0);
    EXPECT_EQ(displayGainX[2].load(), 1.0f);
    EXPECT_EQ(changes, 1);

    timeRec[4] = 99;
    controller().setFFTpoint(7);  // no such size: kept, but the history is cleared again
    EXPECT_EQ(fftp.load(), 8192);
    EXPECT_EQ(timeRec[4].load(), 0);
    controller().setFFTpoint(-1);
    EXPECT_EQ(fftp.load(), 8192);
    controller().setFFTpoint(0);
    EXPECT_EQ(fftp.load(), 128);
}

TEST(SetFFTController, WindowSetupRepairsTheSizeAndSetsTheDisplayGains)
{
    fftp = 1000;
    setGain1Number = 0;
    setGain2Number = 8;
    setGain3Number = 77;
    controller().setWindowSetup(nullptr);
    EXPECT_EQ(fftp.load(), 1024);
    EXPECT_FLOAT_EQ(displayGainX[0].load(), 10.0f);
    EXPECT_FLOAT_EQ(displayGainX[1].load(), 0.1f);
    EXPECT_FLOAT_EQ(displayGainX[2].load(), 1.0f);
    EXPECT_EQ(setGain3Number.load(), 5);  // an index out of range stands for gain 1
    EXPECT_EQ(SetFFTController::gainNumber(2), 5);

    controller().setGainNumber(3, 3);
    EXPECT_FLOAT_EQ(displayGainX[3].load(), 2.0f);
    controller().setGainNumber(4, 0);  // no such channel
    controller().setGainNumber(-1, 0);
    EXPECT_FLOAT_EQ(displayGainX[3].load(), 2.0f);
}

TEST(SetFFTController, LogPowerAveragingAndMains)
{
    controller().setLOGpowerON(5);
    EXPECT_EQ(LOGpowerONed.load(), 1);
    controller().setLOGpowerON(0);
    EXPECT_EQ(LOGpowerONed.load(), 0);

    controller().setAveragingIndex(3);
    EXPECT_EQ(averageFFTX.load(), 8);
    EXPECT_EQ(SetFFTController::averagingIndex(), 3);
    controller().setAveragingIndex(12);
    EXPECT_EQ(averageFFTX.load(), 1);

    EXPECT_EQ(mainsFrequencyX.load(), 60);
    controller().setMainsFrequency(50);
    EXPECT_EQ(mainsFrequencyX.load(), 50);
    controller().setMainsFrequency(55);
    EXPECT_EQ(mainsFrequencyX.load(), 50);
}
