#pragma once

#include "platform/colour/RGBAColor.h"
#include "platform/quartz/gl/LayerCache.h"
#include "platform/viewhost/gl/QuartzView.h"
#include "plots/frame/gl/FrameRateFilter.h"
#include "plots/frame/gl/PlotColourTables.h"

#include <QRectF>

#include <functional>
#include <optional>
#include <vector>

namespace nupo {

class GraphicsContext;
struct PlotWindowState;

// The process-wide data a family of plot views keeps its colours and pending commands in.
struct PlotViewStore {
    float (&backgroundComponents)[4];  // red, green, blue, alpha of the background
    int& componentWrites;              // background components written since the colour was last built
    ColourTable& ambient;              // entry 0 takes the line colour
    void (*resetTables)(int style);    // rebuilds the family's colour tables
    const int& tableStyle;             // the style they were last built with (1..5)
    PlotWindowState& windowState;      // gets the background colour and the commands for the window
    int& pendingMode;                  // view mode waiting for the next redraw, and whether one waits
    int& pendingModeSet;
    int& pendingNumber;  // second number waiting for the next redraw, and whether one waits
    int& pendingNumberSet;
};

// What the raw-wave and bar-graph views share: view mode and second number, the line, background,
// cursor and grid colours, the line and colour styles, and the cursor switch.
class PlotGraphView : public QuartzView {
public:
    // Background colour by components, as documents send them: the fourth write (after three counted
    // ones) builds the colour and hands it to the window state. Components outside 0..3 are ignored.
    void setBackgroundColorA(int component, float value);
    float getBackgroundColor(int component) const;

    void setBackgroundColor(const RGBAColor& colour);
    // Writes the view's background into the family's stored colour (which documents save).
    void storeBackgroundColor();
    void setLineColor(const RGBAColor& colour);
    void setCursorColor(const RGBAColor& colour) { cursorColor = colour; }
    void setgridColor(const RGBAColor& colour) { gridColor = colour; }
    void setColorStyleType(int type);
    void setLineStyleType(int type);
    void setcursor(int on);
    void setDemoNumber(int mode) { num = mode; }
    void setDemoNumber2(int value) { num2 = value; }
    // Commands for the next redraw: a view mode, and a second number; numbers from 10 on also queue
    // view/transparency entry number - 10 for the window controller.
    void setDemoNumberA(int mode);
    virtual void setDemoNumberB(int value);

    int viewMode() const { return num; }
    int secondNumber() const { return num2; }
    int lineStyle() const { return lineStyleType; }
    int colorStyle() const { return colorStyleType; }
    // The colour style (0..4) of the family's tables as they now are: another part of the program (the
    // drawing canvas, a line colour) may have rebuilt them since setColorStyleType.
    int colorStyleInUse() const { return store.tableStyle - 1; }
    char cursorOn() const { return cursorONedX; }
    const std::optional<RGBAColor>& background() const { return backgroundColor; }
    const std::optional<RGBAColor>& cursor() const { return cursorColor; }
    const std::optional<RGBAColor>& line() const { return lineColor; }
    // This view's own frames per second, as its last redraw measured them.
    double framesPerSecond() const { return frameRate.framesPerSecond(); }

protected:
    PlotGraphView(const QRectF& frame, const PlotViewStore& store, int lineStyle);

    // At a redraw: applies the waiting view mode (and queues it for the window controller) and the
    // waiting second number.
    void applyPendingCommands();

    // White over the rect, then the background colour (when set) over the whole view.
    void fillBackground(GraphicsContext& context, const QRectF& rect);
    // The background and the grid: drawn by `grid` after fillBackground, kept as a picture and drawn
    // again only when the size, the background or what gridKey lists (the grid's switch, spacing and
    // colour) changes.
    void drawBackgroundAndGrid(GraphicsContext& context, const QRectF& rect, std::vector<double> gridKey,
                               const std::function<void(GraphicsContext&)>& grid);

    int num = 0;
    int num2 = 0;
    std::optional<RGBAColor> lineColor;
    std::optional<RGBAColor> backgroundColor;
    std::optional<RGBAColor> cursorColor;
    std::optional<RGBAColor> gridColor;
    int lineStyleType;
    int colorStyleType = 0;
    char cursorONedX = 1;
    ViewFrameRate frameRate;  // measured by the view's redraws

private:
    PlotViewStore store;
    LayerCache backgroundLayer;
};

}  // namespace nupo
