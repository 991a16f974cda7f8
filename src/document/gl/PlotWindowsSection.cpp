#include "document/gl/PlotWindowsSection.h"

#include "document/gl/StoredWindowFrame.h"
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/frame/gl/PlotWindowState.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/waterfall/gl/WaterfallWindowState.h"
#include "shared/CoreState.h"

#include <cmath>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;
constexpr int maxOpenWindows = 11;

// The keys of each family: open count, frame, view mode, view/transparency entry, full view, height
// gain, transparency and front flag.
struct FamilyKeys {
    const char *open, *bounds, *viewMode, *viewEntry, *fullView, *gain, *alpha, *front;
};
constexpr FamilyKeys familyKeys[PlotWindowsSection::familyCount] = {
    {"OpenRawwave", "boundsRawwave", "selectCHXX", "selectBCHXX", "viewAX", "setWRawGain", "WRawAlphaValue",
     "showQXRawwaveGraphFront"},
    {"Open2DBarGraph", "boundsBargraph", "selectCHX", "selectBCHX", "viewABarX", "setWBarGain",
     "WBarAlphaValue", "showQX2DBarGarphFront"},
    {"Open3DWaterFall", "boundsWaterFall", "selectXCHNXY", "selectBXCHNXY", "viewA2DX", "setW2DGain",
     "W2DAlphaValue", "showQX2DSpectrumFront"},
};

}  // namespace

PlotWindowsSection::PlotWindowsSection()
{
    PlotWindowState* states[familyCount] = {&rawwaveWindowState, &barGraphWindowState, &waterfallWindowState};
    std::atomic<int>* fronts[familyCount] = {&showQXRawwaveGraphFront, &showQX2DBarGarphFront,
                                             &showQX2DSpectrumFront};
    for (int i = 0; i < familyCount; ++i) {
        const FamilyKeys& k = familyKeys[i];
        families[std::size_t(i)] = {states[i],   fronts[i],  k.open, k.bounds, k.viewMode,
                                    k.viewEntry, k.fullView, k.gain, k.alpha,  k.front};
    }
}

QStringList PlotWindowsSection::placementKeys()
{
    QStringList keys;
    for (const FamilyKeys& k : familyKeys) {
        for (const char* key : {k.open, k.alpha, k.front})
            keys << QString::fromLatin1(key);
        keys << storedFrameKeys(QString::fromLatin1(k.bounds));
    }
    keys << storedScreenKey;
    return keys;
}

std::optional<PlistDictionary> PlotWindowsSection::write()
{
    PlistDictionary section;
    for (const Names& f : families) {
        const PlotWindowState& s = *f.state;
        section.insert(f.open, integerValue(s.openCount));
        writeStoredFrame(section, f.bounds, s);
        section.insert(f.viewMode, integerValue(s.lastViewMode));
        section.insert(f.viewEntry, integerValue(s.lastViewEntry));
        section.insert(f.fullView, integerValue(s.fullView));
        section.insert(f.gain, floatValue(s.heightGain));
        section.insert(f.alpha, floatValue(s.alphaValue));
        section.insert(f.front_, integerValue(f.front->load(relaxed)));
    }
    writeStoredScreen(section);
    return section;
}

bool PlotWindowsSection::stage(SectionInput& input)
{
    screen = stageStoredScreen(input);
    for (int i = 0; i < familyCount; ++i) {
        const Names& f = families[std::size_t(i)];
        Staged& s = staged[std::size_t(i)];
        s = Staged{};
        s.open = input.integer(f.open, 0, maxOpenWindows);
        s.viewMode = input.integer(f.viewMode, 0, 99);
        s.viewEntry = input.integer(f.viewEntry, 0, 99);
        s.fullView = input.integer(f.fullView, 0, 1);
        s.front = input.integer(f.front_, 0, 1);
        s.gain = input.number(f.gain, 0, 1000);
        s.alpha = input.number(f.alpha, 0, 1);
        s.frame = stageStoredFrame(input, f.bounds);
        if (input.failed())
            return false;
    }
    return true;
}

bool PlotWindowsSection::stageDefaults()
{
    screen.reset();
    const PlotWindowState fresh;
    for (Staged& s : staged) {
        s = Staged{};
        s.open = 0;
        s.viewMode = fresh.lastViewMode;
        s.viewEntry = fresh.lastViewEntry;
        s.fullView = fresh.fullView;
        s.front = 0;
        s.gain = fresh.heightGain;
        s.alpha = fresh.alphaValue;
        s.noFrame = true;
    }
    return true;
}

void PlotWindowsSection::apply(const DocumentReadContext& context)
{
    // The first tick of each window drops the queued view and colour commands (those of the start-up
    // among them, pending until a window of the kind first opens), which would otherwise replace the
    // view modes and backgrounds just read.
    windowColorRawNOX = 1;
    windowColorBarOX = 1;
    windowColor2DNOX = 1;
    for (int i = 0; i < familyCount; ++i) {
        PlotWindowState& state = *families[std::size_t(i)].state;
        const Staged& s = staged[std::size_t(i)];
        applyStoredFrame(s.frame, screen, state);
        if (s.noFrame)
            dropStoredFrame(state);
        if (s.fullView)
            state.fullView = *s.fullView;  // setViewMode:
        if (s.viewMode)
            state.lastViewMode = *s.viewMode;
        if (s.viewEntry)
            state.lastViewEntry = *s.viewEntry;
        if (s.gain)
            state.heightGain = float(*s.gain);
        if (s.alpha)
            state.alphaValue = float(*s.alpha);
        if (s.front)
            families[std::size_t(i)].front->store(*s.front, relaxed);
        toOpen[std::size_t(i)] = context.isPreferenceFile ? 0 : s.open.value_or(0);
    }
}

}  // namespace nupo
