#pragma once

#include "plots/frame/gl/PlotColourTables.h"

namespace nupo {

// The bar-graph view's pair of colour tables; bars take their colours from `difmatA2DBar`.
inline ColourTable difambA2DBar = {};
inline ColourTable difmatA2DBar = {};

// Rebuilds the bar tables by the same rule as `resetColor` (styles 1 to 5).
void resetColor2DBar(int style);
// The style (1..5) the bar tables were last built with; main thread.
inline int difmatA2DBarStyle = 1;

// Colours of the canvas brain graph: [position along the frequency axis 0..255][level 0..100][RGBA].
inline float difmatFA2DBar[256][101][4] = {};

// Fills `difmatFA2DBar`: cyan fading to dark with red at the top end, brighter with the level (levels
// above 50 give components above 1.0, which drawing clamps). The argument is not used.
void resetBColor2DBar(int style);

}  // namespace nupo
