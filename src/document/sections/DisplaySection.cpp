#include "document/sections/DisplaySection.h"

#include "plots/settings/DisplaySettings.h"
#include "plots/waterfall/WaterfallState.h"
#include "shared/AnalysisState.h"

#include <cmath>

namespace nupo {

namespace {

const QString overlayKey = QStringLiteral("displayMode2DX");

// A colour animation and the level it moves. Files hold 0..4: a level set by hand (the menu's "Other",
// 5), which stands still, is written as 0, and read back as "Other" when its level is not the default.
struct ColourAnimation {
    const char* key;
    int* animation;
    const float* level;
    float defaultLevel;
};

const ColourAnimation colourAnimations[] = {
    {"setColorGainAnimationX", &setColorGainAnimationX, &ColorGainSliderX, defaultColourGain},
    {"setColorOffsetAnimationX", &setColorOffsetAnimationX, &ColorOffsetSliderX, defaultColourOffset},
    {"setColorGainBSMixAnimationX", &setColorGainBSMixAnimationX, &ColorGainBSMixSliderX, defaultColourGain},
    {"setColorOffsetBSMixAnimationX", &setColorOffsetBSMixAnimationX, &ColorOffsetBSMixSliderX,
     defaultColourOffset},
};

const char* const gridKeys[2] = {"GridColorX", "GridColorY"};
int* const gridGiven[2] = {&gridColorXGiven, &gridColorYGiven};

std::vector<ScalarField> displayFields()
{
    std::vector<ScalarField> fields;
    const auto flag = [&fields](const char* key, auto* v) {
        fields.push_back({QString::fromLatin1(key), v, 0, 1});
    };
    const auto range = [&fields](const char* key, auto* v, double low, double high) {
        fields.push_back({QString::fromLatin1(key), v, low, high});
    };
    flag("DrawBothside", &DrawBothside);
    flag("Draw2DBothside", &Draw2DBothside);
    flag("ShowGrid2DBarX", &ShowGrid2DBarX);
    flag("ShowPeakHoldX", &ShowPeakHoldX);
    flag("PeakHoldSizeX", &PeakHoldSizeX);
    flag("UsePeakHoldColorX", &UsePeakHoldColorX);
    flag("ShowText", &ShowText);
    flag("ShowPeakLine", &ShowPeakLine);
    flag("ShowHorizontalLine", &ShowHorizontalLine);
    flag("ShowTextBSMix", &ShowTextBSMix);
    flag("AlwaysUpdateBSX", &AlwaysUpdateBSX);
    flag("showQTFront", &showQTFront);
    flag("rawwaveWindowing", &rawwaveWindowing);
    flag("autoGainRawData", &autoGainRawData);
    for (auto [key, v] : {std::pair{"setPeakModeX", &setPeakModeX},
                          {"setBSPeakModeX", &setBSPeakModeX},
                          {"setPeakWFModeX", &setPeakWFModeX},
                          {"setHorizontalLineModeX", &setHorizontalLineModeX},
                          {"setFqTextModeX", &setFqTextModeX},
                          {"setBSFqTextModeX", &setBSFqTextModeX}})
        range(key, v, 0, 3);
    range("setGridSize2DBarNumberX", &setGridSize2DBarNumberX, 0, 3);
    range("GridSize2DBarX", &GridSize2DBarX, 1, 100);
    range("setPeakHoldSize2DBarX", &setPeakHoldSize2DBarX, 0, 7);
    range("PeakHoldSize2DBarX", &PeakHoldSize2DBarX, 0, 100);
    range("setAutoGainRawwaveX", &setAutoGainRawwaveX, 0, 7);
    range("AutoGainRawwaveX", &AutoGainRawwaveX, 0, 64);
    range("setPeakHoldModeX", &setPeakHoldModeX, 0, 4);
    range("PeakHoldModeX", &PeakHoldModeX, 0, 10);
    for (auto [key, v] : {std::pair{"setPeakSizeX", &setPeakSizeX},
                          {"setBSPeakSizeX", &setBSPeakSizeX},
                          {"setPeakWFSizeX", &setPeakWFSizeX}})
        range(key, v, 0, 3);
    for (auto [key, v] : {std::pair{"setTopMaterialX", &setTopMaterialX},
                          {"set2DMaterialX", &set2DMaterialX},
                          {"setMaterialX", &setMaterialX},
                          {"setBSTopMaterialX", &setBSTopMaterialX},
                          {"setBSMaterialX", &setBSMaterialX},
                          {"setPeakWFMaterialX", &setPeakWFMaterialX}})
        range(key, v, 0, 13);
    range("ColorGainSliderX", &ColorGainSliderX, 0, 5);
    range("ColorOffsetSliderX", &ColorOffsetSliderX, 0, 100);
    range("ColorGainBSMixSliderX", &ColorGainBSMixSliderX, 0, 5);
    range("ColorOffsetBSMixSliderX", &ColorOffsetBSMixSliderX, 0, 100);
    for (int k = 0; k < 4; ++k) {
        fields.push_back({QStringLiteral("GridColorX%1").arg(k), &GridColorX[k], 0, 1});
        fields.push_back({QStringLiteral("GridColorY%1").arg(k), &GridColorY[k], 0, 1});
        fields.push_back({QStringLiteral("PeakHoldColorX%1").arg(k), &PeakHoldColorX[k], 0, 1});
    }
    return fields;
}

}  // namespace

DisplaySection::DisplaySection() : scalars(displayFields()) {}

std::optional<PlistDictionary> DisplaySection::write()
{
    PlistDictionary section;
    scalars.write(section);
    for (const ColourAnimation& a : colourAnimations)
        section.insert(QString::fromLatin1(a.key),
                       integerValue(colourAnimationRuns(*a.animation) ? *a.animation : 0));
    // A grid whose window has not given it its colour yet is drawn opaque white once that window opens.
    for (int g = 0; g < 2; ++g)
        if (*gridGiven[g] == 0)
            for (int k = 0; k < 4; ++k)
                section.insert(QStringLiteral("%1%2").arg(QLatin1String(gridKeys[g])).arg(k),
                               floatValue(1.0f));
    PlistValue::Array rows;
    for (int r = 0; r < waterfallSelections; ++r) {
        PlistValue::Array row;
        for (int k = 0; k < waterfallFlagCount; ++k)
            row.push_back(integerValue(displayModeFlag(r, k)));
        rows.push_back(std::move(row));
    }
    section.insert(overlayKey, std::move(rows));
    return section;
}

bool DisplaySection::stage(SectionInput& input)
{
    if (!scalars.stage(input))
        return false;
    // 5, which earlier versions wrote for a level set by hand, still reads as one.
    for (std::size_t i = 0; i < std::size(colourAnimations); ++i)
        animations[i] = input.integer(QString::fromLatin1(colourAnimations[i].key), 0, colourLevelSetByHand);
    gridSwitchGiven = input.has(QStringLiteral("ShowGrid2DBarX"));
    for (int g = 0; g < 2; ++g) {
        gridsGiven[std::size_t(g)] = false;
        for (int k = 0; k < 4; ++k)
            if (input.has(QStringLiteral("%1%2").arg(QLatin1String(gridKeys[g])).arg(k)))
                gridsGiven[std::size_t(g)] = true;
    }
    overlayFlags = input.table(overlayKey, waterfallSelections, waterfallFlagCount, 0, 1);
    return !input.failed();
}

void DisplaySection::apply(const DocumentReadContext&)
{
    scalars.apply();
    for (std::size_t i = 0; i < std::size(colourAnimations); ++i) {
        const ColourAnimation& a = colourAnimations[i];
        if (!animations[i])
            continue;
        *a.animation = *animations[i];
        if (*a.animation == 0 && *a.level != a.defaultLevel)
            *a.animation = colourLevelSetByHand;
        animations[i].reset();
    }
    for (int g = 0; g < 2; ++g)
        if (gridsGiven[std::size_t(g)])
            *gridGiven[g] = 1;
    if (gridSwitchGiven)
        showGrid2DBarGiven = 1;
    if (overlayFlags) {
        for (std::size_t r = 0; r < overlayFlags->size(); ++r)
            for (std::size_t k = 0; k < (*overlayFlags)[r].size(); ++k)
                setDisplayModeFlag(int(r), int(k), int(std::lround((*overlayFlags)[r][k])));
    }
    overlayFlags.reset();
}

}  // namespace nupo
