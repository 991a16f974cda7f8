#include "document/ui/Spectrum3DSection.h"

#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "views3d/QX3DSpectrumGLView.h"
#include "views3d/SpectrumViewState.h"
#include "views3d/spectrum/ui/Spectrum3DWindowState.h"

#include <cmath>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

template <class Row>
PlistValue tableValue(const Row* rows, int count, int length)
{
    PlistValue::Array table;
    for (int r = 0; r < count; ++r) {
        PlistValue::Array row;
        for (int k = 0; k < length; ++k) {
            if constexpr (std::is_same_v<std::remove_cv_t<std::remove_reference_t<decltype(rows[r][k])>>,
                                         std::atomic<float>>)
                row.push_back(floatValue(rows[r][k].load(relaxed)));
            else
                row.push_back(integerValue(rows[r][k]));
        }
        table.push_back(std::move(row));
    }
    return table;
}

}  // namespace

Spectrum3DSection::Spectrum3DSection()
    : scalars({{QStringLiteral("selectXCHNX"), &selectXCHNX, 0, 11},
               {QStringLiteral("selectBXCHNX"), &selectBXCHNX, 0, 99},
               {QStringLiteral("viewA3DXX"), &viewA3DXX, 0, 1},
               {QStringLiteral("W3DAlphaValue"), &W3DAlphaValue, 0, 1},
               {QStringLiteral("showFFTPanelFront"), &showFFTPanelFront, 0, 1}})
{
}

std::optional<PlistDictionary> Spectrum3DSection::write()
{
    PlistDictionary section;
    section.insert(QStringLiteral("Open3DWaterFallBS"), integerValue(Open3DWaterFallBS));
    writeStoredFrame(section, QStringLiteral("boundsWaterFallBS"), spectrum3DWindowState);
    writeStoredScreen(section);
    scalars.write(section);
    section.insert(QStringLiteral("displayModeX"),
                   tableValue(displayModeX, displayElementRows, displayElements));
    section.insert(QStringLiteral("brainSWX"),
                   tableValue(brainSWX, brainSourceCount, brainSwitchRecordLength));
    QX3DSpectrumGLView& view = QX3DSpectrumGLView::sharedQX3DSpectrumGLView();
    PlistValue::Array colour;
    for (int c = 0; c < 4; ++c)
        colour.push_back(floatValue(view.getBackgroundColor(c)));
    section.insert(QStringLiteral("BackgroundColor"), std::move(colour));
    return section;
}

bool Spectrum3DSection::stage(SectionInput& input)
{
    noWindow = false;
    open = input.integer(QStringLiteral("Open3DWaterFallBS"), 0, 11);
    frame = stageStoredFrame(input, QStringLiteral("boundsWaterFallBS"));
    screen = stageStoredScreen(input);
    if (input.failed() || !scalars.stage(input))
        return false;
    elements = input.table(QStringLiteral("displayModeX"), displayElementRows, displayElements, 0, 1);
    brainSwitches =
        input.table(QStringLiteral("brainSWX"), brainSourceCount, brainSwitchRecordLength, -1e6, 1e6);
    background = input.numbers(QStringLiteral("BackgroundColor"), 4, 0, 1);
    if (background && background->size() != 4)
        input.fail(QStringLiteral("BackgroundColor"),
                   QStringLiteral("a colour is four components: red, green, blue and alpha"));
    return !input.failed();
}

bool Spectrum3DSection::stageDefaults()
{
    const PlistDictionary none;
    SectionInput input(none, key());
    stage(input);
    open = 0;
    noWindow = true;
    return true;
}

void Spectrum3DSection::apply(const DocumentReadContext& context)
{
    applyStoredFrame(frame, screen, spectrum3DWindowState);
    if (noWindow) {
        dropStoredFrame(spectrum3DWindowState);
        showFFTPanelFront.store(0, relaxed);
        noWindow = false;
    }
    scalars.apply();
    if (elements)
        for (std::size_t r = 0; r < elements->size(); ++r)
            for (std::size_t k = 0; k < (*elements)[r].size(); ++k)
                displayModeX[r][k] = int(std::lround((*elements)[r][k]));
    if (brainSwitches)
        for (std::size_t s = 0; s < brainSwitches->size(); ++s)
            for (std::size_t k = 0; k < (*brainSwitches)[s].size(); ++k)
                brainSWX[s][k].store(float((*brainSwitches)[s][k]), relaxed);
    if (background) {
        QX3DSpectrumGLView& view = QX3DSpectrumGLView::sharedQX3DSpectrumGLView();
        for (int c = 0; c < 4; ++c)
            view.setBackgroundColorA(c, float((*background)[std::size_t(c)]));
    }
    toOpen = context.isPreferenceFile ? 0 : open.value_or(0);
    elements.reset();
    brainSwitches.reset();
    background.reset();
    windowColor3DNOX = 1;
}

}  // namespace nupo
