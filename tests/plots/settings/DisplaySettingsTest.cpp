#include <gtest/gtest.h>

#include "plots/settings/DisplaySettings.h"

#include <cmath>

using namespace nupo;

TEST(DisplaySettings, MenuMapsFollowTheirItems)
{
    EXPECT_EQ(DisplayMaps::gridSize(0), 20);
    EXPECT_EQ(DisplayMaps::gridSize(2), 5);
    EXPECT_EQ(DisplayMaps::gridSize(3), 2);
    EXPECT_EQ(DisplayMaps::gridSize(-4), 2);

    EXPECT_DOUBLE_EQ(DisplayMaps::peakHoldSize(1, 3.0), 8.0);
    EXPECT_DOUBLE_EQ(DisplayMaps::peakHoldSize(5, 3.0), 1.0);
    EXPECT_DOUBLE_EQ(DisplayMaps::peakHoldSize(6, 3.0), 3.0);  // "Other" keeps the size
    EXPECT_DOUBLE_EQ(DisplayMaps::peakHoldSize(7, 3.0), 2.0);

    EXPECT_EQ(DisplayMaps::autoGain(6), 64);
    EXPECT_EQ(DisplayMaps::autoGain(7), 0);
    EXPECT_EQ(DisplayMaps::peakHoldMode(3), 5);
    EXPECT_EQ(DisplayMaps::peakHoldMode(4), 10);
    EXPECT_EQ(DisplayMaps::peakHoldMode(5), 0);
    EXPECT_EQ(DisplayMaps::markSize(2), 2);
    EXPECT_EQ(DisplayMaps::markSize(9), 3);

    EXPECT_EQ(DisplayMaps::material(0), 1);
    EXPECT_EQ(DisplayMaps::material(12), 12);
    EXPECT_EQ(DisplayMaps::material(13), 1);
    EXPECT_EQ(DisplayMaps::material(14), 3);

    EXPECT_FLOAT_EQ(DisplayMaps::clampFloat(7.0f, 0.0f, 5.0f), 5.0f);
    EXPECT_FLOAT_EQ(DisplayMaps::clampFloat(-3.0f, 0.0f, 1.0f), 0.0f);
    EXPECT_FLOAT_EQ(DisplayMaps::clampFloat(std::nanf(""), 0.0f, 1.0f), 0.0f);
}

TEST(DisplaySettings, StartValues)
{
    EXPECT_EQ(ShowGrid2DBarX, 1);
    EXPECT_EQ(GridSize2DBarX, 20);
    EXPECT_DOUBLE_EQ(PeakHoldSize2DBarX, 10.0);
    EXPECT_EQ(PeakHoldModeX, 1);
    EXPECT_EQ(setPeakWFSizeX, 2);
    EXPECT_EQ(setMaterialX, 3);
    EXPECT_FLOAT_EQ(ColorGainSliderX, 1.88f);
    EXPECT_FLOAT_EQ(ColorOffsetBSMixSliderX, 35.0f);
    EXPECT_EQ(WaterfallupdateNotification, "Waterfallupdate");
    EXPECT_EQ(WaterfallBSupdateNotification, "WaterfallBSupdate");
}

TEST(DisplaySettings, ACopyKeepsTheValuesOfItsMoment)
{
    const int bothSides = Draw2DBothside;
    const float gain = ColorGainSliderX;
    const float grid = GridColorY[2];
    Draw2DBothside = 0;
    setHorizontalLineModeX = 3;
    setBSPeakSizeX = 2;
    ColorGainSliderX = 4.5f;
    GridColorY[2] = 0.25f;
    const DisplaySettingsCopy copy = copyDisplaySettings();
    Draw2DBothside = 1;
    ColorGainSliderX = 0.5f;
    GridColorY[2] = 0.75f;
    EXPECT_EQ(copy.Draw2DBothside, 0);
    EXPECT_EQ(copy.setHorizontalLineModeX, 3);
    EXPECT_EQ(copy.setBSPeakSizeX, 2);
    EXPECT_FLOAT_EQ(copy.ColorGainSliderX, 4.5f);
    EXPECT_FLOAT_EQ(copy.GridColorY[2], 0.25f);
    EXPECT_EQ(copyDisplaySettings().Draw2DBothside, 1);
    Draw2DBothside = bothSides;
    ColorGainSliderX = gain;
    GridColorY[2] = grid;
}
