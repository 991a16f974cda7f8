// One frame of the 2D spectrum window's view at its default size in each draw mode, drawn by the engine
// into the offscreen GL context (Mesa's software renderer, as on a machine without a GPU), with a full
// history; and the history row update alone.
#include <benchmark/benchmark.h>

#include "analysis/QXFFT.h"
#include "platform/gl/OffscreenGLContext.h"
#include "plots/waterfall/engine/QX2DSpectrumGLView.h"
#include "plots/waterfall/model/QX2DSpectrum.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <GL/gl.h>

#include <cmath>

using namespace nupo;

namespace {

// The size of the view in the window's nib.
const QSize viewSize(680, 420);

void fillHistory()
{
    QX2DSpectrum& engine = QX2DSpectrum::sharedQX2DSpectrum();
    for (int n = 0; n < 10; ++n) {
        QX2DSpectrum::FloatGrid& grid = *engine.heightGrid(n);
        for (int r = 0; r < 128; ++r)
            for (int c = 0; c < 64; ++c)
                grid[r][c] = 4.0f + 3.0f * std::sin(r * 0.2f + c * 0.3f + n);
    }
    for (int b = 0; b < 4; ++b)
        for (int r = 0; r < 128; ++r)
            PeakfftPower[b][r][0] = {5.0f, 10.0f, 21, r, 5.0f};
}

// selection: 1 two panels (CH 1 over CH 2, with the peak line), 3 one panel (CH 1), 7 a coherence panel.
void WaterfallFrame(benchmark::State& state)
{
    OffscreenGLContext context(viewSize);
    if (!context.isValid()) {
        state.SkipWithError(context.errorString().toStdString().c_str());
        return;
    }
    context.makeCurrent();
    setPauseX = 1;  // the grids stay as filled
    QX2DSpectrumGLView view(QRectF(QPointF(0, 0), QSizeF(viewSize)));
    view.drawRect(view.bounds());  // one-time set-up
    fillHistory();
    view.setDemoNumber(static_cast<int>(state.range(1)) - 1);
    view.setDrawModeX(static_cast<int>(state.range(0)));
    for (int f = 0; f < 10; ++f)  // finish the preset move
        view.drawRect(view.bounds());
    for (auto _ : state)
        view.drawRect(view.bounds());  // ends with glFinish
    state.SetLabel(context.renderer().left(24).toStdString());
}
BENCHMARK(WaterfallFrame)
    ->ArgsProduct({{0, 1, 2, 3}, {1, 3, 7}})
    ->ArgNames({"drawMode", "selection"})
    ->Unit(benchmark::kMillisecond);

// One history row for CH 1 and CH 2 (linear and 512-band layout) and for a coherence source.
void WaterfallRowUpdate(benchmark::State& state)
{
    fftp = 512;
    ploop = 600;
    QXFFT::sharedQXFFT().timerUpdate();
    for (int b : {0, 1, 3, 4})
        for (int i = 0; i < 256; ++i)
            QXFFT::sharedQXFFT().putcomplexDoubleToBuffer(b, i, {1.0 + std::sin(i * 0.1 + b), 0.0});
    fftp512Band = static_cast<int>(state.range(1));
    QX2DSpectrum& engine = QX2DSpectrum::sharedQX2DSpectrum();
    for (auto _ : state)
        engine.wavenZ(static_cast<int>(state.range(0)), 0, 0, 0);
}
BENCHMARK(WaterfallRowUpdate)->ArgsProduct({{1, 7}, {0, 1}})->ArgNames({"selection", "band512"});

}  // namespace
