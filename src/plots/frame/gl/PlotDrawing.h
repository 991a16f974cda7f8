#pragma once

#include "platform/colour/RGBAColor.h"

#include <atomic>
#include <cmath>
#include <limits>

namespace nupo {

class GraphicsContext;

// Where a view has more entries than pixel columns (trace segments, spectrum bars), it draws what
// reaches each column: one shape per column and colour instead of one stroke per entry, which looks the
// same but for antialiasing. Off, every entry is drawn on its own (kept to compare the two).
inline std::atomic<bool> plotColumnMerging{true};

// True when entries `step` pixels apart are to be drawn a column at a time.
inline bool mergesColumns(double step)
{
    return plotColumnMerging.load(std::memory_order_relaxed) && step < 1.0;
}

// The bounding box of the entries of one pixel column drawn in one colour, grown entry by entry.
struct ColumnBox {
    int column = std::numeric_limits<int>::min();
    int colour = -1;
    double left = 0.0, right = 0.0, bottom = 0.0, top = 0.0;

    bool holds(double x, int entryColour) const
    {
        return colour == entryColour && column == static_cast<int>(std::floor(x));
    }
    bool empty() const { return colour < 0; }
    // Starts the box afresh for an entry at x.
    void start(double x, int entryColour)
    {
        column = static_cast<int>(std::floor(x));
        colour = entryColour;
        left = right = x;
        bottom = std::numeric_limits<double>::infinity();
        top = -std::numeric_limits<double>::infinity();
    }
    void add(double x0, double x1, double y0, double y1)
    {
        left = std::min(left, std::min(x0, x1));
        right = std::max(right, std::max(x0, x1));
        bottom = std::min(bottom, std::min(y0, y1));
        top = std::max(top, std::max(y0, y1));
    }
};

// Fills the pixels of a box (what a vertical stroke of its width with butt caps covers) in a colour;
// nothing for an empty one.
void fillBox(GraphicsContext& context, double left, double right, double bottom, double top,
             const RGBAColor& colour);

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

// Entry `index` (clamped to 0..255) of `difmatA`.
RGBAColor traceColour(int index);
// Sets the context's stroke colour to entry `index` (clamped to 0..255) of `difmatA`.
void groen_CtextureN(int index, int unused, GraphicsContext& context);

// Writes "Invalid item" to standard output (an unknown view mode or popup entry).
void logInvalidItem();

}  // namespace nupo
