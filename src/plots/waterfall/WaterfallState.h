#pragma once

// Process-wide state of the 2D spectrum window's engine: the overlay-flag table, the history grids of
// the 512-band layout, the grid size, the time stamps of the history rows and the view size. Main
// thread only (frames draw from copies), except where an atomic or a comment says otherwise.

#include <atomic>

namespace nupo {

inline constexpr int waterfallRows = 128;    // history rows, row 0 the newest
inline constexpr int waterfallColumns = 64;  // display columns at most
inline constexpr int waterfallSources = 10;  // A..J
inline constexpr int waterfallSelections = 12;
inline constexpr int waterfallFlagCount = 12;

// Overlay flags of the 2D window, one row per display selection 1..12 (row r for selection r + 1), one
// column per flag (see WaterfallFlag). Touch it only through the guarded accessors below: the indices
// come from remote commands and documents.
inline int displayMode2DX[waterfallSelections][waterfallFlagCount] = {};

enum WaterfallFlag {
    FlagFrequencyLine = 0,
    FlagFrequencyLevel = 1,
    FlagTimeLine = 2,
    FlagTransparentTimeLine = 3,
    FlagTimeLevel = 4,
    FlagTimeSphere = 5,
    FlagPowerFlatMark5 = 6,
    FlagPowerFlatMark10 = 7,
    FlagPowerPeakFlat = 8,
    FlagPowerLabel = 9,
    FlagCoherenceHigh = 11
};

// displayMode2DX[row][column] for row and column in 0..11; 0 for any other index.
int displayModeFlag(int row, int column);
// Stores the flag when row and column are in 0..11; returns whether it stored.
bool setDisplayModeFlag(int row, int column, int value);
// The start values of initDisplay: flags 0, 1, 4, 5 and 9 on in every row, the others off.
void resetDisplayModeFlags();

// Display columns in use: 16, 32, 42 or 64.
inline int gridZ = 64;
// Sample positions of the history rows: entry k (1..128) is `ploop` as it was k frames ago.
inline int timeRecZ[130] = {};
// Size of the 2D view in pixels, stored by each frame for its text (frames only).
inline int xsizeZ = 0;
inline int ysizeZ = 0;
// Counts the times the history was emptied (initPositionZ): a frame that sees it change starts its peak
// line's scale afresh.
inline int waterfallHistoryGeneration = 0;

// History values of sources A..J in the 512-band layout, [row][display column].
using WaterfallDoubleGrid = double[waterfallRows][waterfallColumns];
inline WaterfallDoubleGrid complexDataA2B = {}, complexDataB2B = {}, complexDataC2B = {}, complexDataD2B = {},
                           complexDataE2B = {}, complexDataF2B = {}, complexDataG2B = {}, complexDataH2B = {},
                           complexDataI2B = {}, complexDataJ2B = {};
// The same grids by source index 0..9 (A..J).
inline WaterfallDoubleGrid* const band512Grids[waterfallSources] = {
    &complexDataA2B, &complexDataB2B, &complexDataC2B, &complexDataD2B, &complexDataE2B,
    &complexDataF2B, &complexDataG2B, &complexDataH2B, &complexDataI2B, &complexDataJ2B};

// Smoothed frame rate of the 2D view, shown by its window.
inline std::atomic<double> FPSXXnewwaveZ{0.0};

inline int displayModeFlag(int row, int column)
{
    if (row < 0 || row >= waterfallSelections || column < 0 || column >= waterfallFlagCount)
        return 0;
    return displayMode2DX[row][column];
}

inline bool setDisplayModeFlag(int row, int column, int value)
{
    if (row < 0 || row >= waterfallSelections || column < 0 || column >= waterfallFlagCount)
        return false;
    displayMode2DX[row][column] = value;
    return true;
}

inline void resetDisplayModeFlags()
{
    for (auto& row : displayMode2DX)
        for (int k = 0; k < waterfallFlagCount; ++k)
            row[k] = (k == FlagFrequencyLine || k == FlagFrequencyLevel || k == FlagTimeLevel ||
                      k == FlagTimeSphere || k == FlagPowerLabel)
                         ? 1
                         : 0;
}

}  // namespace nupo
