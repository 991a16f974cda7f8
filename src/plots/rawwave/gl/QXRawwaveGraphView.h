#pragma once

#include "platform/colour/RGBAColor.h"
#include "plots/frame/gl/FrameRateFilter.h"
#include "plots/frame/gl/PlotGraphView.h"

#include <QRectF>

#include <optional>

namespace nupo {

class GraphicsContext;

// Fifth trace window, drawn by view modes 7 and 8. Nothing fills it, so those bands show a flat line.
inline int datarawF[8192] = {};
// Display factor applied to every raw-wave sample.
inline float rawwaveGain = 2.0f;
// Background colour components of the raw-wave views (red, green, blue, alpha).
inline float clear_rgbaRaw[4] = {0.0f, 0.0f, 0.0f, 0.0f};
// Background components written since the colour was last built (0..3).
inline int WinRawColor = 0;
// View mode and second number waiting for the next redraw of a shown view.
inline int setDemoNumberRawA = 0;
inline int setDemoNumberRawDidChanged = 0;
inline int setDemoNumberRawB = 0;
inline int setDemoNumberRawBDidChanged = 0;
// Smoothed frame rate of the raw-wave view that drew last, written at every redraw (each window shows its
// own view's, PlotGraphView::framesPerSecond).
inline double FPSXXRawwave = 0.0;

// One reading of a raw-wave view's own frame rate at its redraw; returns the smoothed rate.
double displayFPSRawwave(ViewFrameRate& rate);

// Grid of n divisions each way over (x, y, w, h), stroked in GridColorY; nothing when flag <= 0.
void drawRawWaveGrid(GraphicsContext& context, float x, float y, float w, float h, int divisions, int flag);

// The raw-wave view: the newest samples of the four analysis channels as traces coloured along the
// time axis, in nine layouts (view modes 0..8), over a background, an optional grid and optional
// cursor lines. A plain object: the shared instance never appears on screen; window instances are
// hosted by a widget that forwards paint requests to drawRect().
class QXRawwaveGraphView : public PlotGraphView {
public:
    explicit QXRawwaveGraphView(const QRectF& frame = {});

    static QXRawwaveGraphView& sharedQXRawwaveGraphView();

    // Start-up default background (sent once to the shared view).
    void initDisplay();

    void setRawwaveH(float sliderValue);
    void setRawwaveW(float sliderValue);
    void setRawwaveV(float value);
    void setRawwaveF(float value);
    void setgrid(int on);
    void setgridSlider(float divisions);
    void releaseALL();

    // The redraw: applies pending commands, measures the frame rate, refills the trace windows at
    // `ploop` and draws by the view mode.
    void drawRect(GraphicsContext& context, const QRectF& rect) override;

    // The nine layouts; each reads its trace windows and draws into the context.
    using DrawArgs = void(GraphicsContext& context, const QRectF& rect, int lineStyle, float h, float w,
                          float v, float f, const std::optional<RGBAColor>& cursorColour, char cursorOn);
    DrawArgs drawRawwave1LR, drawRawwave2LR, drawRawwave1, drawRawwave2, drawRawwave3, drawRawwave4,
        drawRawwaveALL, drawRawwave5, drawRawwave7;
    // Draws the layout of a view mode 0..8; false (and "Invalid item" logged) for any other mode.
    bool drawMode(int mode, GraphicsContext& context, const QRectF& rect, int lineStyle, float h, float w,
                  float v, float f, const std::optional<RGBAColor>& cursorColour, char cursorOn);

    float rawwaveH() const { return RawwaveH; }
    float rawwaveW() const { return RawwaveW; }
    float rawwaveV() const { return RawwaveV; }
    float rawwaveF() const { return RawwaveF; }
    char gridOn() const { return gridONed; }
    float gridDivisions() const { return gridS; }

private:
    float RawwaveH = 0.7f;
    float RawwaveW = 1.0f;
    float RawwaveV = 0.0f;
    float RawwaveF = 0.0f;
    char gridONed = 1;
    float gridS = 20.0f;
};

}  // namespace nupo
