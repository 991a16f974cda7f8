#pragma once

#include "plots/settings/DisplaySettings.h"
#include "plots/waterfall/QX2DSpectrum.h"
#include "plots/waterfall/WaterfallState.h"
#include "shared/AnalysisState.h"

namespace nupo {

// What one frame of the waterfall draws from: taken on the main thread in the view's synchronisation
// step, while no frame of the view is in flight. The frame reads only this copy and what frames keep for
// themselves (normals, label spacing, the peak line's running values, the colour tables), so that events
// may change the settings, the overlay flags and the history while it draws.
struct WaterfallFrame {
    static constexpr int markerCount = 513;  // key markers of ploop - 512 .. ploop

    // --- The view's state, as the display entry takes it ------------------------------------------
    bool setUp = false;    // the view's one-time GL set-up is due
    bool shading = false;  // smooth lit shading to be set again (texture mode changed)
    float clearColour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float panelAngle = 0.0f, panelOffset = 0.0f;
    int oneBrain = 0;  // display selection 1..12
    float sph = 0.0f, sthet = 0.0f, Xposi = 0.0f, Yposi = 0.0f, sdept = 0.0f;
    int drawS = 0, displayUnn = 0, texture = 0;
    int PColor = 0, FColor = 0;  // the colour schemes of this frame
    int startFrequency = 0, Coherencehigh = 0;

    // --- Settings --------------------------------------------------------------------------------------
    DisplaySettingsCopy display{};
    int overlayFlags[waterfallSelections][waterfallFlagCount] = {};
    int sourcePopup = 0;             // the window's source popup (selectXCHNXY): the label spacing follows it
    int columns = waterfallColumns;  // gridZ
    int historyGeneration = 0;       // waterfallHistoryGeneration

    // --- History ---------------------------------------------------------------------------------------
    int sources[2] = {-1, -1};  // the height grids copied (0..19, as heightGrid numbers them), -1 for none
    QX2DSpectrum::FloatGrid heights[2] = {};
    bool band512 = false;                         // the layout of newestRows
    double newestRows[4][waterfallColumns] = {};  // row 0 of CH 1..CH 4 (sources A, B, D, E)
    bool peaksCopied[4] = {};                     // which channels' peak tables were copied
    PeakRecord peaks[4][waterfallRows][3] = {};
    int timeRec[130] = {};  // timeRecZ
    int position = 0;       // ploop
    int markers[markerCount] = {};

    // Copies everything above but the view's state from the live state: the height grids given (the
    // sources shown; -1 for none), the peak tables of the channels 0..3 given (-1 for none). Main thread.
    void takeShared(const int (&sourcesShown)[2], const int (&channelsShown)[2]);

    // Height grid n as heightGrid of the model numbers it, when it was copied; null otherwise.
    const QX2DSpectrum::FloatGrid* heightGrid(int n) const;
    // displayModeFlag of the copy (0 outside the table).
    int flag(int record, int k) const;
    // PeakfftPower[channel][row][k] of the copy; an empty record where it was not copied.
    PeakRecord peak(int channel, int row, int k) const;
    // Row 0 of channel 0..3 at a display column; 0 outside.
    double newestRow(int channel, int column) const;
    // The key marker of sample position - back (0..512); 49, an unmarked sample, outside.
    int marker(int back) const;
};

// The copy the waterfall frame being drawn reads: set by WaterfallFrameScope for the frame's length (a
// frame holds its class's drawing lock, so one is drawn at a time). Outside a scope an empty frame.
const WaterfallFrame& drawnWaterfallFrame();

class WaterfallFrameScope {
public:
    explicit WaterfallFrameScope(const WaterfallFrame& frame);
    ~WaterfallFrameScope();
    WaterfallFrameScope(const WaterfallFrameScope&) = delete;
    WaterfallFrameScope& operator=(const WaterfallFrameScope&) = delete;

private:
    const WaterfallFrame* previous_;
};

}  // namespace nupo
