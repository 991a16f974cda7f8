// The overlay texts: hit counts, window bounds, peak lines, labels and the camera text.
#include "shared/AnalysisState.h"
#include "views3d/spectrum/SpectrumOverlayTexts.h"

#include <gtest/gtest.h>

using namespace nupo;

TEST(SpectrumOverlayTexts, HitCountsTruncateLevelsAndShowFrequencies)
{
    peakSWfftCount[1][4][0].store(BrainSwitchRecord{2.9f, 10.5f, 21, 19, 1.0f});
    peakSWfftCount[1][4][1].store(BrainSwitchRecord{-0.5f, 3.25f, 7, 19, 0.0f});
    peakSWcoherenceCount[6][0][2].store(BrainSwitchRecord{97.0f, 12.0f, 25, 19, 0.0f});
    const auto lines = brainSwitchCountLines(1, false);
    EXPECT_EQ(lines[4].toStdString(), "BS4 1:(2, 10.500), 2:(0, 3.250), 3:(0, 0.000)");
    EXPECT_EQ(lines[0].toStdString(), "BS0 1:(0, 0.000), 2:(0, 0.000), 3:(0, 0.000)");
    EXPECT_EQ(lines[9].toStdString(), "peak1:(count,Hz), peak2:(count,Hz), peak3:(count,Hz)");
    EXPECT_EQ(brainSwitchCountLines(6, true)[0].toStdString(),
              "BS0 1:(0, 0.000), 2:(0, 0.000), 3:(97, 12.000)");
    EXPECT_TRUE(brainSwitchCountLines(10, false)[0].isEmpty());
}

TEST(SpectrumOverlayTexts, WindowBoundsScaleByTheSelectionNotTheArgument)
{
    auto set = [](int source, int k, float lo, float hi, float fLo, float fHi) {
        brainSWX[source][17 + k] = lo;
        brainSWX[source][25 + k] = hi;
        brainSWX[source][33 + k] = fLo;
        brainSWX[source][41 + k] = fHi;
    };
    set(4, 3, 0.5f, 0.9f, 8.0f, 12.0f);
    set(0, 3, 2.0f, 9.5f, 8.0f, 12.0f);
    const auto pair = brainSwitchBoundsLines(4, 6);
    EXPECT_EQ(pair[3].toStdString(), "BS3 :(5.0, 9.0, 8.0, 12.0)");
    EXPECT_EQ(pair[0].toStdString(), "BS0  :(95.0, 100.0, 0.0, 60.0)");
    EXPECT_EQ(pair[9].toStdString(), "BS   :( L/H coherence,  L/H Hz)");
    const auto channel = brainSwitchBoundsLines(0, 2);
    EXPECT_EQ(channel[3].toStdString(), "BS3 :(2.0, 9.5, 8.0, 12.0)");
    EXPECT_EQ(channel[0].toStdString(), "BS0  :(0.7, 10.0, 0.0, 60.0)");
    EXPECT_EQ(channel[9], QString::fromUtf8("BS   :( L/H \u00b5V,      L/H Hz)"));
    // A channel's windows shown while a pair is selected take the pair's scale.
    EXPECT_EQ(brainSwitchBoundsLines(0, 9)[3].toStdString(), "BS3 :(20.0, 95.0, 8.0, 12.0)");
}

TEST(SpectrumOverlayTexts, PeakLinesDivideByTheDisplayGain)
{
    PeakfftPowerFV[2][0][0].store(PeakRecord{30.0f, 10.5f, 0, 0, 0.0f});
    PeakfftPowerFV[2][0][1].store(PeakRecord{12.0f, 4.0f, 0, 0, 0.0f});
    PeakfftPowerFV[2][0][2].store(PeakRecord{5.0f, 22.0f, 0, 0, 0.0f});
    displayGainX[2] = 2.0f;
    EXPECT_EQ(peakLine(2),
              QString::fromUtf8("CH 3 peak power (\u00b5V,Hz) 1:(15.0, 10.5), 2:(6.0, 4.0), 3:(2.5, 22.0)"));
    displayGainX[2] = 0.0f;  // no division by zero
    EXPECT_TRUE(peakLine(2).contains(QStringLiteral("1:(30.0, 10.5)")));
    EXPECT_TRUE(peakLine(4).isEmpty());
}

TEST(SpectrumOverlayTexts, LabelsInfoAndCamera)
{
    EXPECT_EQ(labelText(LabelSlot::Coherence23).toStdString(), "Coherence CH 2 & CH 3");
    EXPECT_EQ(labelText(LabelSlot::SMR).toStdString(), "L: BetaLow/SMR:13..15Hz");
    EXPECT_TRUE(labelText(LabelSlot::AllBand).startsWith(QStringLiteral("E:Eye(0..1), D:Delta(2..4)")));
    EXPECT_EQ(infoText(859, 594, QStringLiteral("llvmpipe"), QStringLiteral("4.5")).toStdString(),
              "(859 x 594) \nllvmpipe \n4.5");
    CameraRecord camera;
    resetCamera(camera);
    EXPECT_EQ(cameraText(camera).toStdString(),
              "Camera at (0.0, 0.0, -10.0) looking at (0.0, 0.0, 10.0) with 40.0 aperture");
}
