#pragma once

#include <QString>

namespace nupo {

// Display options of every graph window. The drawing code reads them on its next frame; the display
// settings panel (`SetDisplay`) writes them through its setters and the brain-note document saves and
// restores them. All are touched on the main thread only.

// Check boxes (0 off, 1 on). The raw-wave switches `rawwaveWindowing` and `autoGainRawData`, which
// the raw-wave fetch reads, are in shared/AnalysisState.h.
inline int DrawBothside = 1;        // 3D spectrum surface lit on both sides
inline int Draw2DBothside = 1;      // smooth-shaded waterfall lit on both sides
inline int ShowGrid2DBarX = 1;      // bar-graph grid drawn (above 0)
inline int ShowPeakHoldX = 0;       // bar-graph peak-hold marks drawn and updated
inline int PeakHoldSizeX = 0;       // 0: marks 2.0 units long; other: PeakHoldSize2DBarX units
inline int UsePeakHoldColorX = 0;   // peak-hold marks in PeakHoldColorX
inline int ShowText = 1;            // mark shape and captions of the waterfall
inline int ShowPeakLine = 0;        // peak line of the waterfall panels
inline int ShowHorizontalLine = 1;  // horizontal peak line of the two-panel waterfall
inline int ShowTextBSMix = 1;       // labels of the 3D spectrum
inline int AlwaysUpdateBSX = 0;     // brain-switch rectangles kept updated
inline int showQTFront = 0;         // movie window kept in front

// Modes (0..3).
inline int setPeakModeX = 0;
inline int setBSPeakModeX = 1;
inline int setPeakWFModeX = 0;
inline int setHorizontalLineModeX =
    1;  // 0 real time, 1 relative, 2 running average, 3 running average relative
inline int setFqTextModeX = 0;
inline int setBSFqTextModeX = 0;

// Menus: an index variable holds the selected item, a value variable what it maps to.
inline int setGridSize2DBarNumberX = 0;
inline int GridSize2DBarX = 20;  // bar-graph grid lines in each direction
inline int setPeakHoldSize2DBarX = 0;
inline double PeakHoldSize2DBarX = 10.0;  // peak-hold mark length in bar units
inline int setAutoGainRawwaveX = 0;
inline int AutoGainRawwaveX = 0;
inline int setPeakHoldModeX = 0;
inline int PeakHoldModeX = 1;  // 0: mark at the current value; m >= 1: mean of m frames
inline int setPeakSizeX = 0;
inline int setBSPeakSizeX = 0;
inline int setPeakWFSizeX = 2;
inline int setTopMaterialX = 2;
inline int set2DMaterialX = 3;
inline int setMaterialX = 3;
inline int setBSTopMaterialX = 2;
inline int setBSMaterialX = 3;
inline int setPeakWFMaterialX = 2;

// Colour maps of the 2D waterfall and the 3D spectrum, with their animations: 0 still at the default level
// ("default"), 1..4 running, 5 still at a level set by hand ("Other").
inline constexpr float defaultColourGain = 1.88f;
inline constexpr float defaultColourOffset = 35.0f;
inline constexpr int colourLevelSetByHand = 5;
inline int setColorGainAnimationX = 0;
inline int setColorOffsetAnimationX = 0;
inline int setColorGainBSMixAnimationX = 0;
inline int setColorOffsetBSMixAnimationX = 0;
inline float ColorGainSliderX = defaultColourGain;
inline float ColorOffsetSliderX = defaultColourOffset;
inline float ColorGainBSMixSliderX = defaultColourGain;
inline float ColorOffsetBSMixSliderX = defaultColourOffset;

// Whether a colour animation moves its level (1..4); otherwise the level stands still.
inline bool colourAnimationRuns(int animation)
{
    return animation >= 1 && animation <= 4;
}

// Colours, RGBA.
inline float GridColorX[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // bar-graph grid
inline float GridColorY[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // raw-wave grid
// Whether each grid has its colour: from the first load of its window, which makes it opaque white, or
// from a document, a preference file or the display panel, which that first load then keeps. Until then
// documents record the opaque white the grid will be drawn with, so that a document saved before the
// window opens keeps a visible grid and opening the window is no change.
inline int gridColorXGiven = 0;  // bar-graph grid
inline int gridColorYGiven = 0;  // raw-wave grid
// Whether the bar-graph grid switch has its value: the first bar-graph view made switches the grid on,
// unless a document or preference file read before gave the switch; later views keep what it is.
inline int showGrid2DBarGiven = 0;
// Bar-graph peak-hold marks in their own colour: opaque black until one is picked, so that ticking
// "Own mark colour" never makes the marks vanish.
inline float PeakHoldColorX[4] = {0.0f, 0.0f, 0.0f, 1.0f};

// The display settings at one moment, taken in one call. A frame's synchronisation step takes one on the
// main thread, so that the frame draws from values that nothing writes while it draws.
struct DisplaySettingsCopy {
    int DrawBothside, Draw2DBothside, ShowGrid2DBarX, ShowPeakHoldX, PeakHoldSizeX, UsePeakHoldColorX,
        ShowText, ShowPeakLine, ShowHorizontalLine, ShowTextBSMix, AlwaysUpdateBSX, showQTFront;
    int setPeakModeX, setBSPeakModeX, setPeakWFModeX, setHorizontalLineModeX, setFqTextModeX,
        setBSFqTextModeX;
    int setGridSize2DBarNumberX, GridSize2DBarX, setPeakHoldSize2DBarX;
    double PeakHoldSize2DBarX;
    int setAutoGainRawwaveX, AutoGainRawwaveX, setPeakHoldModeX, PeakHoldModeX, setPeakSizeX, setBSPeakSizeX,
        setPeakWFSizeX, setTopMaterialX, set2DMaterialX, setMaterialX, setBSTopMaterialX, setBSMaterialX,
        setPeakWFMaterialX;
    int setColorGainAnimationX, setColorOffsetAnimationX, setColorGainBSMixAnimationX,
        setColorOffsetBSMixAnimationX;
    float ColorGainSliderX, ColorOffsetSliderX, ColorGainBSMixSliderX, ColorOffsetBSMixSliderX;
    float GridColorX[4], GridColorY[4], PeakHoldColorX[4];
};
// The values the variables above hold now. Main thread.
DisplaySettingsCopy copyDisplaySettings();

// Posted by the display settings panel when a colour level changes.
inline const QString WaterfallupdateNotification = QStringLiteral("Waterfallupdate");
inline const QString WaterfallBSupdateNotification = QStringLiteral("WaterfallBSupdate");

// Index-to-value maps of the panel's menus.
namespace DisplayMaps {
int gridSize(int index);                               // 20, 10, 5, else 2
double peakHoldSize(int index, double current);        // 10, 8, 6, 4, 2, 1; 6 keeps current; above 6: 2
int autoGain(int index);                               // 1, 2, 5, 10, 20, 32, 64; else 0
int peakHoldMode(int index);                           // 0, 1, 2, 5, 10; else 0
int markSize(int index);                               // 0..3 kept, else 3
int material(int index);                               // 0, 1, 13 -> 1; 2..12 kept; above 13 -> 3
bool isRadioValue(int value);                          // 0..3
float clampFloat(float value, float low, float high);  // NaN gives low
}  // namespace DisplayMaps

}  // namespace nupo
