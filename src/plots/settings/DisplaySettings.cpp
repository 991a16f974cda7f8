#include "plots/settings/DisplaySettings.h"

#include <algorithm>
#include <cmath>

namespace nupo {

DisplaySettingsCopy copyDisplaySettings()
{
    DisplaySettingsCopy c{DrawBothside,
                          Draw2DBothside,
                          ShowGrid2DBarX,
                          ShowPeakHoldX,
                          PeakHoldSizeX,
                          UsePeakHoldColorX,
                          ShowText,
                          ShowPeakLine,
                          ShowHorizontalLine,
                          ShowTextBSMix,
                          AlwaysUpdateBSX,
                          showQTFront,
                          setPeakModeX,
                          setBSPeakModeX,
                          setPeakWFModeX,
                          setHorizontalLineModeX,
                          setFqTextModeX,
                          setBSFqTextModeX,
                          setGridSize2DBarNumberX,
                          GridSize2DBarX,
                          setPeakHoldSize2DBarX,
                          PeakHoldSize2DBarX,
                          setAutoGainRawwaveX,
                          AutoGainRawwaveX,
                          setPeakHoldModeX,
                          PeakHoldModeX,
                          setPeakSizeX,
                          setBSPeakSizeX,
                          setPeakWFSizeX,
                          setTopMaterialX,
                          set2DMaterialX,
                          setMaterialX,
                          setBSTopMaterialX,
                          setBSMaterialX,
                          setPeakWFMaterialX,
                          setColorGainAnimationX,
                          setColorOffsetAnimationX,
                          setColorGainBSMixAnimationX,
                          setColorOffsetBSMixAnimationX,
                          ColorGainSliderX,
                          ColorOffsetSliderX,
                          ColorGainBSMixSliderX,
                          ColorOffsetBSMixSliderX,
                          {},
                          {},
                          {}};
    std::copy(std::begin(GridColorX), std::end(GridColorX), c.GridColorX);
    std::copy(std::begin(GridColorY), std::end(GridColorY), c.GridColorY);
    std::copy(std::begin(PeakHoldColorX), std::end(PeakHoldColorX), c.PeakHoldColorX);
    return c;
}

}  // namespace nupo

namespace nupo::DisplayMaps {

int gridSize(int index)
{
    static constexpr int sizes[] = {20, 10, 5};
    return index >= 0 && index < 3 ? sizes[index] : 2;
}

double peakHoldSize(int index, double current)
{
    static constexpr double sizes[] = {10.0, 8.0, 6.0, 4.0, 2.0, 1.0};
    if (index >= 0 && index < 6)
        return sizes[index];
    return index == 6 ? current : 2.0;
}

int autoGain(int index)
{
    static constexpr int gains[] = {1, 2, 5, 10, 20, 32, 64};
    return index >= 0 && index < 7 ? gains[index] : 0;
}

int peakHoldMode(int index)
{
    static constexpr int modes[] = {0, 1, 2, 5, 10};
    return index >= 0 && index < 5 ? modes[index] : 0;
}

int markSize(int index)
{
    return index >= 0 && index <= 3 ? index : 3;
}

int material(int index)
{
    if (index >= 2 && index <= 12)
        return index;
    if (index == 0 || index == 1 || index == 13)
        return 1;
    return 3;
}

bool isRadioValue(int value)
{
    return value >= 0 && value <= 3;
}

float clampFloat(float value, float low, float high)
{
    if (std::isnan(value) || value < low)
        return low;
    return value > high ? high : value;
}

}  // namespace nupo::DisplayMaps
