#include "plots/settings/DisplaySettings.h"

#include <algorithm>
#include <cmath>

namespace nupo {

DisplaySettingsValues DisplaySettingsValues::current()
{
    DisplaySettingsValues v{nupo::DrawBothside,
                            nupo::Draw2DBothside,
                            nupo::ShowGrid2DBarX,
                            nupo::ShowPeakHoldX,
                            nupo::PeakHoldSizeX,
                            nupo::UsePeakHoldColorX,
                            nupo::ShowText,
                            nupo::ShowPeakLine,
                            nupo::ShowHorizontalLine,
                            nupo::ShowTextBSMix,
                            nupo::AlwaysUpdateBSX,
                            nupo::showQTFront,
                            nupo::setPeakModeX,
                            nupo::setBSPeakModeX,
                            nupo::setPeakWFModeX,
                            nupo::setHorizontalLineModeX,
                            nupo::setFqTextModeX,
                            nupo::setBSFqTextModeX,
                            nupo::setGridSize2DBarNumberX,
                            nupo::GridSize2DBarX,
                            nupo::setPeakHoldSize2DBarX,
                            nupo::PeakHoldSize2DBarX,
                            nupo::setAutoGainRawwaveX,
                            nupo::AutoGainRawwaveX,
                            nupo::setPeakHoldModeX,
                            nupo::PeakHoldModeX,
                            nupo::setPeakSizeX,
                            nupo::setBSPeakSizeX,
                            nupo::setPeakWFSizeX,
                            nupo::setTopMaterialX,
                            nupo::set2DMaterialX,
                            nupo::setMaterialX,
                            nupo::setBSTopMaterialX,
                            nupo::setBSMaterialX,
                            nupo::setPeakWFMaterialX,
                            nupo::setColorGainAnimationX,
                            nupo::setColorOffsetAnimationX,
                            nupo::setColorGainBSMixAnimationX,
                            nupo::setColorOffsetBSMixAnimationX,
                            nupo::ColorGainSliderX,
                            nupo::ColorOffsetSliderX,
                            nupo::ColorGainBSMixSliderX,
                            nupo::ColorOffsetBSMixSliderX,
                            {},
                            {},
                            {}};
    std::copy(std::begin(nupo::GridColorX), std::end(nupo::GridColorX), v.GridColorX);
    std::copy(std::begin(nupo::GridColorY), std::end(nupo::GridColorY), v.GridColorY);
    std::copy(std::begin(nupo::PeakHoldColorX), std::end(nupo::PeakHoldColorX), v.PeakHoldColorX);
    return v;
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
