#include "plots/rawwave/gl/QXRawwaveGraphView.h"

#include "analysis/RawWave.h"
#include "platform/quartz/gl/GraphicsContext.h"
#include "plots/frame/gl/PlotColourTables.h"
#include "plots/frame/gl/PlotDrawing.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <cmath>

namespace nupo {

namespace {

constexpr int traceWindowSize = 8192;

// One layout of the nine: its trace windows from the top band down, each band's centre row as a
// fraction of the height (numerator / denominator, integer division), the scale divisor K and the
// level-line factor f.
struct Layout {
    int traces;
    const int* windows[5];
    int numerators[5];
    int denominator;
    float k;
    float f;
};

const Layout& layoutOf(int mode)
{
    static const Layout layouts[9] = {
        {2, {datarawA, datarawB}, {3, 1}, 4, 400.0f, 0.25f},
        {2, {datarawD, datarawE}, {3, 1}, 4, 400.0f, 0.25f},
        {1, {datarawA}, {1}, 2, 200.0f, 0.5f},
        {1, {datarawB}, {1}, 2, 200.0f, 0.5f},
        {1, {datarawD}, {1}, 2, 200.0f, 0.5f},
        {1, {datarawE}, {1}, 2, 200.0f, 0.5f},
        {4, {datarawA, datarawB, datarawD, datarawE}, {7, 5, 3, 1}, 8, 800.0f, 0.25f},
        {1, {datarawF}, {1}, 2, 200.0f, 0.5f},
        {5, {datarawF, datarawA, datarawB, datarawD, datarawE}, {9, 7, 5, 3, 1}, 10, 1000.0f, 0.25f},
    };
    return layouts[mode];
}

// Draws a trace of more segments than pixel columns: per column and colour, the box its segments' strokes
// (of the given width, with butt caps) reach, in the segments' colour.
void drawTraceColumns(GraphicsContext& context, const int* window, int segments, double span, double xStep,
                      double centre, double scale, double width)
{
    const double half = width / 2.0;
    ColumnBox box;
    auto finishBox = [&] {
        if (!box.empty())
            fillBox(context, box.left, box.right, box.bottom, box.top, traceColour(box.colour));
    };
    for (int i = 0; i < segments; ++i) {
        const int next = i + 1 < traceWindowSize ? i + 1 : traceWindowSize - 1;
        const double x0 = 2 + i * xStep, x1 = 2 + (i + 1) * xStep;
        const double y0 = centre + window[i] * scale, y1 = centre + window[next] * scale;
        const int colour = clampColourIndex(i * 256.0 / span);
        if (!box.holds(x0, colour)) {
            finishBox();
            box.start(x0, colour);
        }
        // The stroke's corners lie half the width from the ends, across the segment.
        const double length = std::hypot(x1 - x0, y1 - y0);
        if (length == 0.0)
            continue;
        const double across = half * std::abs(y1 - y0) / length, up = half * std::abs(x1 - x0) / length;
        box.add(std::min(x0, x1) - across, std::max(x0, x1) + across, std::min(y0, y1) - up,
                std::max(y0, y1) + up);
    }
    finishBox();
}

// Draws one layout: every trace segment as a path of its own coloured from `difmatA`, then the cursor
// lines. The last segment of a full window ends on the window's last entry instead of reading past it.
void drawLayout(const Layout& layout, GraphicsContext& context, const QRectF& rect, int lineStyle, float h,
                float w, float v, float f, const std::optional<RGBAColor>& cursorColour, char cursorOn)
{
    const int width = static_cast<int>(rect.width());
    const int height = static_cast<int>(rect.height());
    const float span = static_cast<float>(fftp) * w;
    const int segments = clampedCount(span, traceWindowSize);
    const double xStep = (width - 2) / static_cast<double>(span);
    const double scale = rawwaveGain / (h + 0.3f) * height / layout.k;

    int centres[5];
    for (int t = 0; t < layout.traces; ++t)
        centres[t] = layout.numerators[t] * height / layout.denominator;

    for (int t = 0; t < layout.traces; ++t) {
        const int* window = layout.windows[t];
        const double c = centres[t];
        if (mergesColumns(xStep)) {
            drawTraceColumns(context, window, segments, span, xStep, c, scale, lineStyle + 1);
            continue;
        }
        context.setLineWidth(lineStyle + 1);
        for (int i = 0; i < segments; ++i) {
            const int next = i + 1 < traceWindowSize ? i + 1 : traceWindowSize - 1;
            context.beginPath();
            context.moveToPoint(2 + i * xStep, c + window[i] * scale);
            context.addLineToPoint(2 + (i + 1) * xStep, c + window[next] * scale);
            groen_CtextureN(clampColourIndex(i * 256.0 / span), 0, context);
            context.strokePath();
        }
    }

    if (cursorOn == 0)
        return;
    const RGBAColor cursor = cursorColour.value_or(RGBAColor::fromRGBA(0, 0, 0, 0));
    context.setLineWidth(1.0);
    context.setStrokeColor(cursor);
    const double xF = 2 + f * (width - 2) / 100.0;
    strokeLine(context, xF, 2, xF, height - 2);
    const double d = v * (height - 2) * layout.f / 100.0;
    for (int t = 0; t < layout.traces; ++t) {
        strokeLine(context, 2, centres[t] + d, width - 2, centres[t] + d);
        strokeLine(context, 2, centres[t] - 2 - d, width - 2, centres[t] - 2 - d);
    }
    context.setRGBStrokeColor(0, 0, 0, 1);
    for (int t = 0; t < layout.traces; ++t)
        strokeLine(context, 2, centres[t] - 1, width - 2, centres[t] - 1);
}

}  // namespace

double displayFPSRawwave(ViewFrameRate& rate)
{
    return rate.measure();
}

void drawRawWaveGrid(GraphicsContext& context, float x, float y, float w, float h, int divisions, int flag)
{
    if (flag <= 0)
        return;
    drawPlotGrid(context, x, y, w, h, divisions,
                 RGBAColor::fromRGBA(GridColorY[0], GridColorY[1], GridColorY[2], GridColorY[3]));
}

QXRawwaveGraphView::QXRawwaveGraphView(const QRectF& frame)
    : PlotGraphView(
          frame,
          {clear_rgbaRaw, WinRawColor, difambA, resetColor, difmatAStyle, rawwaveWindowState,
           setDemoNumberRawA, setDemoNumberRawDidChanged, setDemoNumberRawB, setDemoNumberRawBDidChanged},
          0)
{
    resetColor(1);
    // The shared display settings object holds no peak-hold colour, so asking it to publish one leaves
    // PeakHoldColorX as it is.
    setgridColor(RGBAColor::fromWhite(2.0 / 3.0));
}

QXRawwaveGraphView& QXRawwaveGraphView::sharedQXRawwaveGraphView()
{
    static QXRawwaveGraphView* instance = new QXRawwaveGraphView;  // lives to process end
    return *instance;
}

void QXRawwaveGraphView::initDisplay()
{
    setBackgroundColorA(3, 1.0f);
    setBackgroundColorA(2, 0.787908f);
    setBackgroundColorA(1, 0.875f);
    setBackgroundColorA(0, 0.821112f);
}

void QXRawwaveGraphView::setRawwaveH(float sliderValue)
{
    RawwaveH = 10.0f - sliderValue;
}

void QXRawwaveGraphView::setRawwaveW(float sliderValue)
{
    RawwaveW = 1.0f - sliderValue;
}

void QXRawwaveGraphView::setRawwaveV(float value)
{
    RawwaveV = value;
    setNeedsDisplay(true);
}

void QXRawwaveGraphView::setRawwaveF(float value)
{
    RawwaveF = value;
    setNeedsDisplay(true);
}

void QXRawwaveGraphView::setgrid(int on)
{
    gridONed = static_cast<char>(on);
    setNeedsDisplay(true);
}

void QXRawwaveGraphView::setgridSlider(float divisions)
{
    gridS = divisions;
    setNeedsDisplay(true);
}

void QXRawwaveGraphView::releaseALL()
{
    lineColor.reset();
    backgroundColor.reset();
    cursorColor.reset();
    gridColor.reset();
}

void QXRawwaveGraphView::drawRect(GraphicsContext& context, const QRectF& rect)
{
    applyPendingCommands();
    FPSXXRawwave = displayFPSRawwave(frameRate);
    const int point = ploop;
    getARawwave(point);
    getBRawwave(point);
    getDRawwave(point);
    getERawwave(point);

    const int divisions = clampedCount(gridS, 4096);
    drawBackgroundAndGrid(
        context, rect,
        {double(gridONed), double(divisions), GridColorY[0], GridColorY[1], GridColorY[2], GridColorY[3]},
        [&](GraphicsContext& layer) {
            if (gridONed != 0)
                drawRawWaveGrid(layer, rect.x(), rect.y(), rect.width(), rect.height(), divisions, 1);
        });
    drawMode(num, context, rect, lineStyleType, RawwaveH, RawwaveW, RawwaveV, RawwaveF, cursorColor,
             cursorONedX);
}

bool QXRawwaveGraphView::drawMode(int mode, GraphicsContext& context, const QRectF& rect, int lineStyle,
                                  float h, float w, float v, float f,
                                  const std::optional<RGBAColor>& cursorColour, char cursorOn)
{
    if (mode < 0 || mode > 8) {
        logInvalidItem();
        return false;
    }
    drawLayout(layoutOf(mode), context, rect, lineStyle, h, w, v, f, cursorColour, cursorOn);
    return true;
}

#define NUPO_RAWWAVE_LAYOUT(name, mode)                                                                    \
    void QXRawwaveGraphView::name(GraphicsContext& context, const QRectF& rect, int lineStyle, float h,    \
                                  float w, float v, float f, const std::optional<RGBAColor>& cursorColour, \
                                  char cursorOn)                                                           \
    {                                                                                                      \
        drawLayout(layoutOf(mode), context, rect, lineStyle, h, w, v, f, cursorColour, cursorOn);          \
    }

NUPO_RAWWAVE_LAYOUT(drawRawwave1LR, 0)
NUPO_RAWWAVE_LAYOUT(drawRawwave2LR, 1)
NUPO_RAWWAVE_LAYOUT(drawRawwave1, 2)
NUPO_RAWWAVE_LAYOUT(drawRawwave2, 3)
NUPO_RAWWAVE_LAYOUT(drawRawwave3, 4)
NUPO_RAWWAVE_LAYOUT(drawRawwave4, 5)
NUPO_RAWWAVE_LAYOUT(drawRawwaveALL, 6)
NUPO_RAWWAVE_LAYOUT(drawRawwave5, 7)
NUPO_RAWWAVE_LAYOUT(drawRawwave7, 8)

#undef NUPO_RAWWAVE_LAYOUT

}  // namespace nupo
