#include "plots/waterfall/gl/WaterfallFrame.h"

#include "plots/waterfall/gl/WaterfallWindowState.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"

#include <algorithm>
#include <cstring>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

const WaterfallFrame*& drawn()
{
    static const WaterfallFrame* frame = nullptr;  // touched by the frame drawing (see the header)
    return frame;
}

constexpr int channelSources[4] = {0, 1, 3, 4};  // CH 1..CH 4: sources A, B, D, E

}  // namespace

void WaterfallFrame::takeShared(const int (&sourcesShown)[2], const int (&channelsShown)[2])
{
    display = copyDisplaySettings();
    std::memcpy(overlayFlags, displayMode2DX, sizeof overlayFlags);
    sourcePopup = selectXCHNXY;
    columns = gridZ;
    historyGeneration = waterfallHistoryGeneration;

    const QX2DSpectrum& model = QX2DSpectrum::sharedQX2DSpectrum();
    for (int i = 0; i < 2; ++i) {
        const QX2DSpectrum::FloatGrid* grid = model.heightGrid(sourcesShown[i]);
        sources[i] = grid ? sourcesShown[i] : -1;
        if (sources[i] >= 0)
            std::memcpy(heights[i], *grid, sizeof heights[i]);
    }
    band512 = fftp512Band.load(relaxed) != 0;
    for (int c = 0; c < 4; ++c) {
        const int source = channelSources[c];
        const WaterfallDoubleGrid& grid = band512 ? *band512Grids[source] : *model.linearGrid(source);
        std::copy(std::begin(grid[0]), std::end(grid[0]), newestRows[c]);
    }
    std::fill(std::begin(peaksCopied), std::end(peaksCopied), false);
    for (const int channel : channelsShown) {
        if (channel < 0 || channel > 3 || peaksCopied[channel])
            continue;
        peaksCopied[channel] = true;
        for (int r = 0; r < waterfallRows; ++r)
            for (int k = 0; k < 3; ++k)
                peaks[channel][r][k] = PeakfftPower[channel][r][k].load();
    }
    std::copy(std::begin(timeRecZ), std::end(timeRecZ), timeRec);
    position = ploop.load(relaxed);
    RecordingBuffers::sharedRecordingBuffers().copyFromBuffer(0, position - (markerCount - 1), markerCount,
                                                              markers);
}

const QX2DSpectrum::FloatGrid* WaterfallFrame::heightGrid(int n) const
{
    for (int i = 0; i < 2; ++i)
        if (sources[i] >= 0 && sources[i] == n)
            return &heights[i];
    return nullptr;
}

int WaterfallFrame::flag(int record, int k) const
{
    if (record < 0 || record >= waterfallSelections || k < 0 || k >= waterfallFlagCount)
        return 0;
    return overlayFlags[record][k];
}

PeakRecord WaterfallFrame::peak(int channel, int row, int k) const
{
    if (channel < 0 || channel > 3 || !peaksCopied[channel] || row < 0 || row >= waterfallRows || k < 0 ||
        k > 2)
        return {};
    return peaks[channel][row][k];
}

double WaterfallFrame::newestRow(int channel, int column) const
{
    if (channel < 0 || channel > 3 || column < 0 || column >= waterfallColumns)
        return 0.0;
    return newestRows[channel][column];
}

int WaterfallFrame::marker(int back) const
{
    return back >= 0 && back < markerCount ? markers[markerCount - 1 - back] : 49;
}

const WaterfallFrame& drawnWaterfallFrame()
{
    static const WaterfallFrame empty;
    const WaterfallFrame* frame = drawn();
    return frame ? *frame : empty;
}

WaterfallFrameScope::WaterfallFrameScope(const WaterfallFrame& frame) : previous_(drawn())
{
    drawn() = &frame;
}

WaterfallFrameScope::~WaterfallFrameScope()
{
    drawn() = previous_;
}

}  // namespace nupo
