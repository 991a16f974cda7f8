#pragma once

#include "platform/colour/RGBAColor.h"
#include "plots/frame/gl/FrameRateFilter.h"
#include "plots/frame/gl/PlotGraphView.h"

#include <QRectF>

#include <optional>

namespace nupo {

class GraphicsContext;

// Gain of every bar; nothing changes it.
inline float barGain = 10.0f;
// Peak-hold state per channel (CH 1..4) and bar, shared by every mode that shows the channel.
inline double peakHold[4][8192] = {};
inline double peakHoldZ[4][8192] = {};  // running sums of the averaging modes
inline int PeakHoldModeZ[4] = {};       // averaging frame counter per channel
// Background colour components of the bar-graph views, and the count of component writes (0..3).
inline float clear_rgba2D[4] = {0.0f, 0.0f, 0.0f, 0.0f};
inline int Win2DColor = 0;
// View mode and second selection waiting for the next redraw.
inline int setDemoNumberBarA = 0;
inline int setDemoNumberBarDidChanged = 0;
inline int setDemoNumberBarB = 0;
inline int setDemoNumberBarBDidChanged = 0;
// First peak of each channel for the window's fields: value over the display gain, and frequency.
inline float peakFFTX[4] = {};
inline float peakFFTY[4] = {};
// Smoothed frame rate of the bar-graph views.
inline double FPSXX = 0.0;
// Line and cursor colour components received from the bar-graph patch; stored only.
inline float redComponentX = 0.7f, greenComponentX = 0.2f, blueComponentX = 0.4f, alphaComponentX = 0.0f;
inline float redComponentCX = 0.0f, greenComponentCX = 0.0f, blueComponentCX = 1.0f, alphaComponentCX = 0.0f;

// Canvas brain-graph histories, [row][bin]: rows 0 and 1 hold the newest value, row r (1..101) the value
// r − 1 frames back. Sources 1..10 in the order CH 1, CH 2, CH 3, CH 4, then the coherences.
constexpr int brainHistoryRows = 102;
constexpr int brainHistoryBins = 4096;
using BrainHistory = double[brainHistoryRows][brainHistoryBins];
inline BrainHistory DataAZ = {}, DataBZ = {}, DataDZ = {}, DataEZ = {}, DataCZ = {}, DataFZ = {}, DataGZ = {},
                    DataHZ = {}, DataIZ = {}, DataJZ = {};

// One reading of a bar-graph view's own frame rate at its redraw; returns the smoothed rate.
double displayFPS(ViewFrameRate& rate);

// Sets the stroke colour: kind 1 entry `index` (clamped to 0..255) of difmatA2DBar, kind 2 PeakHoldColorX,
// kind 3 GridColorX; any other kind leaves it unchanged.
void groen_CtextureN2DBar(int index, int kind, GraphicsContext& context);
// The colour groen_CtextureN2DBar sets: entry `index` of `difmatA2DBar` (kind 1), the peak-hold colour
// (2), the grid colour (3); none for another kind.
std::optional<RGBAColor> barColour(int index, int kind);

// The bar-graph grid in GridColorX; nothing when show <= 0.
void draw2DBarGrid(GraphicsContext& context, const QRectF& rect, int gridSize, int show);

// The spectrum bar-graph view: the magnitude spectra of the four analysis channels as bars with peak
// hold in ten layouts (view modes 0..9), over a background and an optional grid, with a crosshair
// cursor. It also draws the brain graph of the drawing canvas. A plain object: the shared instance
// never appears on screen.
class QX2DBarGraphView : public PlotGraphView {
public:
    explicit QX2DBarGraphView(const QRectF& frame = {});

    static QX2DBarGraphView& sharedQX2DBarGraphView();

    void initDisplay();

    void setDBarH(float sliderValue);
    void setDBarW(float sliderValue);
    void setDBarV(float value);
    void setDBarF(float value);
    void setDemoNumberB(int value) override;

    // Colour components from the bar-graph patch; stored only.
    void redComponentY(float v) { redComponentX = v; }
    void greenComponentY(float v) { greenComponentX = v; }
    void blueComponentY(float v) { blueComponentX = v; }
    void alphaComponentY(float v) { alphaComponentX = v; }
    void redComponentCY(float v) { redComponentCX = v; }
    void greenComponentCY(float v) { greenComponentCX = v; }
    void blueComponentCY(float v) { blueComponentCX = v; }
    void alphaComponentCY(float v) { alphaComponentCX = v; }

    void drawRect(GraphicsContext& context, const QRectF& rect) override;

    // The ten layouts.
    using DrawArgs = void(GraphicsContext& context, const QRectF& rectX, int lineX, float slideHX,
                          float slideWX, float slideVX, float slideFX,
                          const std::optional<RGBAColor>& cursorC, char cursorOn);
    DrawArgs draw2DBar1LR, draw2DBarMirror1LR, draw2DBar2LR, draw2DBarMirror2LR, draw2DBar1, draw2DBar2,
        draw2DBar3, draw2DBar4, draw2DBarALL, draw2DBar3MirrorALL;
    // Draws the layout of a view mode 0..9; false (and "Invalid item" logged) for any other mode.
    bool drawMode(int mode, GraphicsContext& context, const QRectF& rectX, int lineX, float slideHX,
                  float slideWX, float slideVX, float slideFX, const std::optional<RGBAColor>& cursorC,
                  char cursorOn);

    // The canvas brain graph of a source 1..10: frames, bars and history update; the colour key strip;
    // the 32-row history; and one red frame with optional centre lines.
    void draw2DBarX(GraphicsContext& context, const QRectF& rectA, int lineA, float slideA, float slideB,
                    int ch);
    void draw2DBarY(GraphicsContext& context, const QRectF& rectA, int lineA, float slideA, float slideB,
                    int ch);
    void draw2DBarZ(GraphicsContext& context, const QRectF& rectA, int lineA, float slideA, float slideB,
                    int ch);
    void drawRectXY(GraphicsContext& context, const QRectF& rectX, int lineX, int colorX, int swCenterL);

    float dBarH() const { return DBarH; }
    float dBarW() const { return DBarW; }
    float dBarV() const { return DBarV; }
    float dBarF() const { return DBarF; }

private:
    float DBarH = 0.7f;
    float DBarW = 1.0f;
    float DBarV = 0.0f;
    float DBarF = 0.0f;
};

}  // namespace nupo
