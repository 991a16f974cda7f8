#pragma once

// Process-wide state of the brain-note drawing editor and the brain-switch mixer, and the names of the
// notifications they post.

#include "views3d/spectrum/SpectrumViewSettings.h"

#include <QString>

#include <array>
#include <atomic>

namespace nupo {

// 1 until the first drawing window controller of a run has started (it then clears it).
inline std::atomic<int> firstTimeRunAplication{1};

// The frame of the drawing window (x, y, width, height in unflipped screen coordinates), kept as it moves
// and saved with the document; a width of 0: none known. A document read that holds one raises the flag,
// and the drawing window its window set-up opens takes the frame (the flag is lowered after the set-up).
inline float DrawingWindowFrameR[4] = {};
inline bool drawingFrameFromDocument = false;

// Whether the brain-switch mixer window is open (main thread): documents keep it.
inline bool mixerWindowOpen = false;

// The drawing tools of the tool palette.
enum class DrawingTool { Select, Rectangle, RawwaveView, BarGraphView, WaterfallView, SpectrumView3D };
// The tool the canvases draw with (main thread).
inline DrawingTool currentDrawingTool = DrawingTool::Select;

// Posts the notification of source 0..9 on the calling (main) thread; false, logged once, for another.
bool postSourceSelection(int source);

// Names of the sources 0..9 as menus show them.
QString sourceName(int source);

// The brain-switch level of window 1..8 of source 0..9 as the mixer shows it: the strongest hit record's
// count of that window (0 out of range).
float brainSwitchLevel(int source, int window);

}  // namespace nupo
