#include "plots/bargraph/gl/QX2DBarGraphView.h"

#include "analysis/QXFFT.h"
#include "platform/quartz/gl/GraphicsContext.h"
#include "plots/bargraph/gl/BarColourTables.h"
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/frame/gl/PlotDrawing.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <cmath>
#include <vector>

namespace nupo {

namespace {

constexpr int spectrumBins = 8192;

// The usable bins of the current spectra.
int usableBins()
{
    const int half = fftp / 2;
    return half < 0 ? 0 : (half > spectrumBins ? spectrumBins : half);
}

// The stored spectra of CH 1..CH 4 that one frame draws, over its first `bins` bins: copied once per
// frame under the analysis lock, then drawn from.
struct FrameSpectra {
    int bins = 0;
    std::vector<double> channel[4];

    // The copy of the calling thread, refilled.
    static const FrameSpectra& take(int bins)
    {
        thread_local FrameSpectra frame;
        frame.bins = bins < 0 ? 0 : bins;
        double* out[4];
        for (int c = 0; c < 4; ++c) {
            frame.channel[c].resize(std::size_t(frame.bins));
            out[c] = frame.channel[c].data();
        }
        QXFFT::sharedQXFFT().copyChannelSpectra(frame.bins, out);
        return frame;
    }
};

// One band of a layout: its channel (0..3), its base line as numerator / denominator of the height plus
// an offset, whether it hangs downwards, and the base of its value cursor.
struct Band {
    int channel;
    int numerator, denominator, offset;
    bool down;
    int cursorOffset;  // the cursor base is the bar base plus this
};

struct BarLayout {
    int bands;  // 1, 2 or 4: the scale divides the height by 100, 400 or 800
    int channels;
    Band band[4];
};

const BarLayout& barLayoutOf(int mode)
{
    static const BarLayout layouts[10] = {
        {2, 2, {{0, 1, 2, 0, false, 0}, {1, 0, 1, 2, false, 0}}},
        {2, 2, {{0, 1, 2, 0, false, 0}, {1, 1, 2, -2, true, 0}}},
        {2, 2, {{2, 1, 2, 0, false, 0}, {3, 0, 1, 2, false, 0}}},
        {2, 2, {{2, 1, 2, 0, false, 0}, {3, 1, 2, -2, true, 0}}},
        {1, 1, {{0, 0, 1, 2, false, 0}}},
        {1, 1, {{1, 0, 1, 2, false, 0}}},
        {1, 1, {{2, 0, 1, 2, false, 0}}},
        {1, 1, {{3, 0, 1, 2, false, 0}}},
        {4,
         4,
         {{0, 3, 4, 0, false, 1}, {1, 1, 2, 0, false, 1}, {2, 1, 4, 0, false, 1}, {3, 0, 1, 2, false, -1}}},
        {4,
         4,
         {{0, 3, 4, 0, false, 0}, {1, 3, 4, -2, true, 0}, {2, 1, 4, 0, false, 0}, {3, 1, 4, -2, true, 0}}},
    };
    return layouts[mode];
}

// The colour of a peak-hold mark over a bar of colour index `colour`.
RGBAColor markColour(int colour)
{
    return *(UsePeakHoldColorX != 0 ? barColour(0, 2)
                                    : barColour(colour + 56 > 255 ? colour - 200 : colour + 56, 1));
}

// Bars of more bins than pixel columns, drawn a column at a time. Per run of bars in one colour: per
// column, the box its bars reach; then the parts of each peak-hold mark that no later bar of its column
// covers (those a bar drawn after it would have painted over).
void drawBarColumns(GraphicsContext& context, int count, double nf, int width, double base, double scale,
                    double lineWidth, const double* values, const double* marks, double markSize)
{
    const double step = (width - 2) / nf, half = lineWidth / 2.0;
    auto x = [&](int i) { return 2 + i * step; };
    auto colourOf = [&](int i) { return clampColourIndex(i * 256.0 / nf); };
    struct MarkPart {
        double x, from, to;
    };
    thread_local std::vector<MarkPart> markParts;
    int i = 0;
    while (i < count) {
        const int colour = colourOf(i);
        const RGBAColor barInk = *barColour(colour, 1);
        int end = i;
        while (end < count && colourOf(end) == colour)
            ++end;
        // The run i .. end - 1: a box per column, then the visible mark parts.
        markParts.clear();
        for (int first = i; first < end;) {
            const int column = static_cast<int>(std::floor(x(first)));
            int last = first;
            while (last + 1 < end && static_cast<int>(std::floor(x(last + 1))) == column)
                ++last;
            double low = base, high = base;
            for (int k = first; k <= last; ++k) {
                low = std::min(low, base + scale * values[k]);
                high = std::max(high, base + scale * values[k]);
            }
            fillBox(context, x(first) - half, x(last) + half, low, high, barInk);
            if (marks != nullptr) {
                // Later bars of the column cover coveredLow .. coveredHigh (each reaches from the base).
                double coveredLow = base, coveredHigh = base;
                bool covered = false;
                for (int k = last; k >= first; --k) {
                    const double a = base + scale * (marks[k] - markSize), b = base + scale * marks[k];
                    const double markLow = std::min(a, b), markHigh = std::max(a, b);
                    auto keep = [&](double from, double to) {
                        if (to > from)
                            markParts.push_back({x(k), from, to});
                    };
                    if (!covered) {
                        keep(markLow, markHigh);
                    } else {
                        keep(markLow, std::min(markHigh, coveredLow));
                        keep(std::max(markLow, coveredHigh), markHigh);
                    }
                    const double top = base + scale * values[k];
                    coveredLow = std::min(coveredLow, std::min(base, top));
                    coveredHigh = std::max(coveredHigh, std::max(base, top));
                    covered = true;
                }
            }
            first = last + 1;
        }
        const RGBAColor markInk = markColour(colour);
        for (const MarkPart& part : markParts)
            fillBox(context, part.x - half, part.x + half, part.from, part.to, markInk);
        i = end;
    }
}

// Bars of at most one bin per pixel column: each bar a stroke of its own, followed by its peak-hold mark.
void drawEveryBar(GraphicsContext& context, int count, double nf, int width, double base, double scale,
                  const double* values, const double* marks, double markSize)
{
    for (int i = 0; i < count; ++i) {
        const double x = 2 + i * (width - 2) / nf;
        const int colour = clampColourIndex(i * 256.0 / nf);
        context.beginPath();
        context.moveToPoint(x, base);
        context.addLineToPoint(x, base + scale * values[i]);
        groen_CtextureN2DBar(colour, 1, context);
        context.strokePath();
        if (marks == nullptr)
            continue;
        context.beginPath();
        context.moveToPoint(x, base + scale * (marks[i] - markSize));
        context.addLineToPoint(x, base + scale * marks[i]);
        context.setStrokeColor(markColour(colour));
        context.strokePath();
    }
}

// Draws one channel's bars, each followed by its peak-hold mark, and moves the peak hold on.
void drawChannelBars(GraphicsContext& context, const FrameSpectra& spectra, const BarLayout& layout,
                     const Band& band, int width, int height, int lineX, float slideHX, float slideWX)
{
    const double nf = static_cast<double>(spectra.bins) * slideWX;
    const int count = clampedCount(nf, spectra.bins);
    if (count == 0)
        return;
    const double base = band.numerator * height / band.denominator + band.offset;
    const double g = layout.bands == 1 ? 0.5 : 1.0;
    double scale = height / (layout.bands == 1 ? 100.0 : (layout.bands == 2 ? 400.0 : 800.0));
    if (band.down)
        scale = -scale;
    double lineWidth = 1.0;
    if (lineX != 0)
        lineWidth = (width - 2) / nf + (layout.bands == 2 ? 0.0 : 1.0);
    context.setLineWidth(lineWidth);

    const int ch = band.channel;
    const double* magnitude = spectra.channel[ch].data();
    const int m = PeakHoldModeX;
    const bool marks = ShowPeakHoldX != 0;
    const double markSize = PeakHoldSizeX != 0 ? PeakHoldSize2DBarX : 2.0;
    // The bar values; in real-time mode the marks show them.
    thread_local std::vector<double> values;
    values.resize(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        values[std::size_t(i)] = barGain * g * magnitude[i] / (slideHX + 0.3);
        if (marks && m == 0)
            peakHold[ch][i] = values[std::size_t(i)];
    }
    const double* shownMarks = marks ? peakHold[ch] : nullptr;
    if (mergesColumns((width - 2) / nf))
        drawBarColumns(context, count, nf, width, base, scale, lineWidth, values.data(), shownMarks,
                       markSize);
    else
        drawEveryBar(context, count, nf, width, base, scale, values.data(), shownMarks, markSize);

    if (!marks || m < 1)
        return;
    for (int i = 0; i < count; ++i)
        peakHoldZ[ch][i] += values[std::size_t(i)];
    if (++PeakHoldModeZ[ch] >= m) {
        for (int i = 0; i < count; ++i) {
            peakHold[ch][i] = peakHoldZ[ch][i] / m;
            peakHoldZ[ch][i] = 0.0;
        }
        PeakHoldModeZ[ch] = 0;
    }
}

void drawBarLayout(const BarLayout& layout, GraphicsContext& context, const QRectF& rect, int lineX,
                   float slideHX, float slideWX, float slideVX, float slideFX,
                   const std::optional<RGBAColor>& cursorC, char cursorOn)
{
    const int width = static_cast<int>(rect.width());
    const int height = static_cast<int>(rect.height());
    const FrameSpectra& spectra = FrameSpectra::take(usableBins());
    for (int b = 0; b < layout.channels; ++b)
        drawChannelBars(context, spectra, layout, layout.band[b], width, height, lineX, slideHX, slideWX);
    if (cursorOn == 0)
        return;
    context.setLineWidth(1.0);
    context.setStrokeColor(cursorC.value_or(RGBAColor::fromRGBA(0, 0, 0, 0)));
    const double xF = 2 + (width - 2) * slideFX / 100.0;
    strokeLine(context, xF, 2, xF, height - 2);
    const double offset = (height - 2) / static_cast<double>(layout.bands) * slideVX / 100.0;
    for (int b = 0; b < layout.channels; ++b) {
        const Band& band = layout.band[b];
        const double base = band.numerator * height / band.denominator + band.offset + band.cursorOffset;
        const double y = band.down ? base - offset : base + offset;
        strokeLine(context, 2, y, width - 2, y);
    }
}

// The canvas brain graph's sources 1..10 and their histories.
BrainHistory* historyOf(int ch)
{
    static BrainHistory* const histories[10] = {&DataAZ, &DataBZ, &DataDZ, &DataEZ, &DataCZ,
                                                &DataFZ, &DataGZ, &DataHZ, &DataIZ, &DataJZ};
    return ch >= 1 && ch <= 10 ? histories[ch - 1] : nullptr;
}

// Geometry of the canvas brain graph: bars over 0 .. 60 × slideB Hz hanging from the top line.
struct BrainGeometry {
    int x0, width, height;
    double nf;
    int count;

    BrainGeometry(const QRectF& rect, float slideB)
        : x0(static_cast<int>(rect.x())),
          width(static_cast<int>(rect.width())),
          height(static_cast<int>(rect.height()))
    {
        const int rate = SampleSpeed < 1 ? 1 : static_cast<int>(SampleSpeed);
        nf = static_cast<float>(fftp / 2) * (120.0f / static_cast<float>(rate)) * slideB;
        const int limit = usableBins() < brainHistoryBins ? usableBins() : brainHistoryBins;
        count = clampedCount(nf, limit);
    }
    double x(int i) const { return x0 + i * (width - x0) / nf; }
    int colour(int i) const { return clampColourIndex(i * 256.0 / nf); }
    double lineWidth(int lineA) const { return lineA == 0 ? 4.0 : (width - x0) / nf; }
    // Opens the path at the bottom left with the bar width of line style lineA.
    void startPath(GraphicsContext& context, int lineA) const
    {
        context.beginPath();
        context.moveToPoint(x0, height);
        context.setLineWidth(lineWidth(lineA));
    }
};

void strokeBrainBar(GraphicsContext& context, double x, double y0, double y1, int colour, int level)
{
    const float* rgba = difmatFA2DBar[colour][level];
    context.beginPath();
    context.moveToPoint(x, y0);
    context.addLineToPoint(x, y1);
    context.setRGBStrokeColor(rgba[0], rgba[1], rgba[2], rgba[3]);
    context.strokePath();
}

// The values of a canvas source 1..10 at bins 0 .. count - 1, copied once for the frame: ten times a
// channel's stored spectrum (1..4) or a coherence pair's percent (5..10).
const std::vector<double>& sourceValues(int ch, int count)
{
    thread_local std::vector<double> values;
    values.assign(std::size_t(count < 0 ? 0 : count), 0.0);
    if (ch >= 1 && ch <= 4) {
        const FrameSpectra& spectra = FrameSpectra::take(count);
        for (int i = 0; i < count; ++i)
            values[std::size_t(i)] = spectra.channel[ch - 1][std::size_t(i)] * 10.0;
    } else if (ch >= 5 && ch <= 10) {
        const int copied = QXFFT::sharedQXFFT().copyCoherence(
            QXFFT::pairOfSource(ch - 1), static_cast<double>(fftp), values.data(), count);
        for (int i = 0; i < copied; ++i)
            values[std::size_t(i)] *= 10.0;
    }
    return values;
}

}  // namespace

double displayFPS(ViewFrameRate& rate)
{
    return rate.measure();
}

std::optional<RGBAColor> barColour(int index, int kind)
{
    const int i = index < 0 ? 0 : (index > 255 ? 255 : index);
    switch (kind) {
        case 1:
            return RGBAColor::fromRGBA(difmatA2DBar[i][0], difmatA2DBar[i][1], difmatA2DBar[i][2],
                                       difmatA2DBar[i][3]);
        case 2:
            return RGBAColor::fromRGBA(PeakHoldColorX[0], PeakHoldColorX[1], PeakHoldColorX[2],
                                       PeakHoldColorX[3]);
        case 3:
            return RGBAColor::fromRGBA(GridColorX[0], GridColorX[1], GridColorX[2], GridColorX[3]);
        default:
            return std::nullopt;
    }
}

void groen_CtextureN2DBar(int index, int kind, GraphicsContext& context)
{
    if (const std::optional<RGBAColor> colour = barColour(index, kind))
        context.setRGBStrokeColor(colour->red, colour->green, colour->blue, colour->alpha);
}

void draw2DBarGrid(GraphicsContext& context, const QRectF& rect, int gridSize, int show)
{
    if (show <= 0)
        return;
    drawPlotGrid(context, rect.x(), rect.y(), rect.width(), rect.height(), gridSize,
                 RGBAColor::fromRGBA(GridColorX[0], GridColorX[1], GridColorX[2], GridColorX[3]));
}

QX2DBarGraphView::QX2DBarGraphView(const QRectF& frame)
    : PlotGraphView(
          frame,
          {clear_rgba2D, Win2DColor, difambA2DBar, resetColor2DBar, difmatA2DBarStyle, barGraphWindowState,
           setDemoNumberBarA, setDemoNumberBarDidChanged, setDemoNumberBarB, setDemoNumberBarBDidChanged},
          1)
{
    resetColor2DBar(1);
    setcursor(1);
    // The shared display settings object holds no peak-hold colour (PeakHoldColorX stays as it is);
    // the grid is switched on, unless a document or preference file read before said otherwise.
    if (showGrid2DBarGiven == 0) {
        ShowGrid2DBarX = 1;
        showGrid2DBarGiven = 1;
    }
}

QX2DBarGraphView& QX2DBarGraphView::sharedQX2DBarGraphView()
{
    static QX2DBarGraphView* instance = new QX2DBarGraphView;  // lives to process end
    return *instance;
}

void QX2DBarGraphView::initDisplay()
{
    setBackgroundColorA(3, 1.0f);
    setBackgroundColorA(2, 0.869565f);
    setBackgroundColorA(1, 0.759038f);
    setBackgroundColorA(0, 0.867824f);
}

void QX2DBarGraphView::setDBarH(float sliderValue)
{
    DBarH = 10.0f - sliderValue;
    setNeedsDisplay(true);
}

void QX2DBarGraphView::setDBarW(float sliderValue)
{
    // The shown fraction stays within 0..1 so that the bars never pass the usable spectrum.
    DBarW = DisplayMaps::clampFloat(1.0f - sliderValue, 0.0f, 1.0f);
    setNeedsDisplay(true);
}

void QX2DBarGraphView::setDBarV(float value)
{
    DBarV = value;
    setNeedsDisplay(true);
}

void QX2DBarGraphView::setDBarF(float value)
{
    DBarF = value;
    setNeedsDisplay(true);
}

void QX2DBarGraphView::setDemoNumberB(int value)
{
    // An entry number also shows on this view at once.
    if (value > 9) {
        setDemoNumber2(value);
        setNeedsDisplay(true);
    }
    PlotGraphView::setDemoNumberB(value);
}

void QX2DBarGraphView::drawRect(GraphicsContext& context, const QRectF& rect)
{
    FPSXX = displayFPS(frameRate);
    applyPendingCommands();
    for (int c = 0; c < 4; ++c) {
        const std::atomic<float>* record = peakTableOfChannel(c);
        peakFFTX[c] = record[0] / displayGainOfChannel(c);
        peakFFTY[c] = record[1];
    }
    drawBackgroundAndGrid(
        context, rect,
        {double(ShowGrid2DBarX), double(GridSize2DBarX), GridColorX[0], GridColorX[1], GridColorX[2],
         GridColorX[3]},
        [&](GraphicsContext& layer) { draw2DBarGrid(layer, rect, GridSize2DBarX, ShowGrid2DBarX); });
    drawMode(num, context, rect, lineStyleType, DBarH, DBarW, DBarV, DBarF, cursorColor, cursorONedX);
}

bool QX2DBarGraphView::drawMode(int mode, GraphicsContext& context, const QRectF& rectX, int lineX,
                                float slideHX, float slideWX, float slideVX, float slideFX,
                                const std::optional<RGBAColor>& cursorC, char cursorOn)
{
    if (mode < 0 || mode > 9) {
        logInvalidItem();
        return false;
    }
    drawBarLayout(barLayoutOf(mode), context, rectX, lineX, slideHX, slideWX, slideVX, slideFX, cursorC,
                  cursorOn);
    return true;
}

#define NUPO_BAR_LAYOUT(name, mode)                                                                          \
    void QX2DBarGraphView::name(GraphicsContext& context, const QRectF& rectX, int lineX, float slideHX,     \
                                float slideWX, float slideVX, float slideFX,                                 \
                                const std::optional<RGBAColor>& cursorC, char cursorOn)                      \
    {                                                                                                        \
        drawBarLayout(barLayoutOf(mode), context, rectX, lineX, slideHX, slideWX, slideVX, slideFX, cursorC, \
                      cursorOn);                                                                             \
    }

NUPO_BAR_LAYOUT(draw2DBar1LR, 0)
NUPO_BAR_LAYOUT(draw2DBarMirror1LR, 1)
NUPO_BAR_LAYOUT(draw2DBar2LR, 2)
NUPO_BAR_LAYOUT(draw2DBarMirror2LR, 3)
NUPO_BAR_LAYOUT(draw2DBar1, 4)
NUPO_BAR_LAYOUT(draw2DBar2, 5)
NUPO_BAR_LAYOUT(draw2DBar3, 6)
NUPO_BAR_LAYOUT(draw2DBar4, 7)
NUPO_BAR_LAYOUT(draw2DBarALL, 8)
NUPO_BAR_LAYOUT(draw2DBar3MirrorALL, 9)

#undef NUPO_BAR_LAYOUT

void QX2DBarGraphView::draw2DBarX(GraphicsContext& context, const QRectF& rectA, int lineA, float slideA,
                                  float slideB, int ch)
{
    if (ch <= 0)
        return;
    static const QRectF channelFrames[4] = {
        {37, 75, 410, 226}, {6, 72, 442, 308}, {447, 75, 1000, 226}, {447, 72, 1000, 308}};
    static const QRectF coherenceFrames[4] = {
        {37, 188, 410, 113}, {6, 185, 442, 188}, {447, 188, 1000, 113}, {447, 185, 1000, 188}};
    const QRectF* frames = ch <= 4 ? channelFrames : coherenceFrames;
    for (int k = 0; k < 4; ++k)
        drawRectXY(context, frames[k], 3, k % 2 == 0 ? 30 : 100, k % 2 == 0 ? 1 : 0);

    const BrainGeometry geometry(rectA, slideB);
    BrainHistory* history = historyOf(ch);
    geometry.startPath(context, lineA);
    const std::vector<double>& values = sourceValues(ch, geometry.count);
    for (int i = 0; i < geometry.count; ++i) {
        double length = 0.0;
        if (history) {
            const double v = values[std::size_t(i)];
            (*history)[0][i] = v;
            for (int r = brainHistoryRows - 2; r >= 0; --r)
                (*history)[r + 1][i] = (*history)[r][i];
            length = ch <= 4 ? v * 1.4 / displayGainOfChannel(ch - 1) : v * 1.48 / 10.0;
        }
        const double top = geometry.height;
        strokeBrainBar(context, geometry.x(i), top, top - length / (slideA + 0.3) * top / 400.0,
                       geometry.colour(i), 100);
    }
}

void QX2DBarGraphView::draw2DBarY(GraphicsContext& context, const QRectF& rectA, int lineA, float slideA,
                                  float slideB, int ch)
{
    if (ch <= 0)
        return;
    const BrainGeometry geometry(rectA, slideB);
    geometry.startPath(context, lineA);
    const double top = geometry.height;
    for (int i = 0; i < geometry.count; ++i)
        strokeBrainBar(context, geometry.x(i), top, top - 20.0 / (slideA + 0.3) * top / 400.0,
                       geometry.colour(i), 100);
}

void QX2DBarGraphView::draw2DBarZ(GraphicsContext& context, const QRectF& rectA, int lineA, float slideA,
                                  float slideB, int ch)
{
    if (ch <= 0)
        return;
    const BrainGeometry geometry(rectA, slideB);
    // The history view shows the channel spectra; coherence sources paint every cell at level 0.
    BrainHistory* history = ch <= 4 ? historyOf(ch) : nullptr;
    geometry.startPath(context, lineA);
    const double top = geometry.height;
    const double rowHeight = 5.0 / (slideA + 0.3);
    for (int r = 0; r < 32; ++r) {
        for (int i = 0; i < geometry.count; ++i) {
            const double v = history ? (*history)[r][i] : 0.0;
            const int level = clampedCount(v * 10.0, 100);
            strokeBrainBar(context, geometry.x(i), top - r * rowHeight, top - (r + 1) * rowHeight,
                           geometry.colour(i), level);
        }
    }
}

void QX2DBarGraphView::drawRectXY(GraphicsContext& context, const QRectF& rectX, int lineX, int colorX,
                                  int swCenterL)
{
    const double x = rectX.x(), y = rectX.y(), w = rectX.width(), h = rectX.height();
    context.setLineWidth(lineX);
    context.setRGBStrokeColor(1, 0, 0, 1);
    strokeLine(context, x, y, x + w, y);
    strokeLine(context, x, y + h, x + w, y + h);
    strokeLine(context, x, y, x, y + h);
    strokeLine(context, x + w, y, x + w, y + h);
    if (swCenterL == 0)
        return;
    context.setLineWidth(1.0);
    const struct {
        double y;
        int entry;
    } rows[3] = {{y + h / 4, colorX + 50}, {y + h / 2, colorX + 150}, {y + 3 * h / 4, colorX + 200}};
    for (const auto& row : rows) {
        groen_CtextureN(row.entry, 0, context);
        strokeLine(context, x, row.y, x + w, row.y);
    }
    groen_CtextureN(colorX + 50, 0, context);
    strokeLine(context, x + w / 3, y, x + w / 3, y + h);
    groen_CtextureN(colorX + 50, 0, context);
    strokeLine(context, x + 2 * w / 3, y, x + 2 * w / 3, y + h);
}

}  // namespace nupo
