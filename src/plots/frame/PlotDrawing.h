#pragma once

#include "platform/colour/RGBAColor.h"

namespace nupo {

class GraphicsContext;

// Drawing steps shared by the plot views.

// Begins a path, strokes one line from (x0, y0) to (x1, y1) in the current colour and width.
void strokeLine(GraphicsContext& context, double x0, double y0, double x1, double y1);

// A float turned into a count 0..maximum, clamped in floating point first (NaN gives 0).
int clampedCount(double value, int maximum);

// The plot grid: the rectangle's values truncated to whole numbers; for i = 0 .. divisions − 1 a
// vertical line at x + i (w − x) / divisions from the top edge h down to 0 and a horizontal line at
// y + i (h − y) / divisions from w to 0, each stroked on its own in `colour`. No line lies on the right
// or top edge. Nothing is drawn for divisions <= 0.
void drawPlotGrid(GraphicsContext& context, float x, float y, float w, float h, int divisions,
                  const RGBAColor& colour);

// Sets the context's stroke colour to entry `index` (clamped to 0..255) of `difmatA`.
void groen_CtextureN(int index, int unused, GraphicsContext& context);

// Writes "Invalid item" to standard output (an unknown view mode or popup entry).
void logInvalidItem();

}  // namespace nupo
