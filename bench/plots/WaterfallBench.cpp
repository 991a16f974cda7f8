// One frame of the 2D spectrum window's view at its default size in each draw mode, drawn by the engine
// into the offscreen GL context (Mesa's software renderer, as on a machine without a GPU), with a full
// history and the overlays and labels the window starts with (the history rows' key markers, time stamps,
// frequency and power labels); the frame's synchronisation step alone (on the main thread: a history row
// when one is due and the frame's copy); and the history row update alone.
#include <benchmark/benchmark.h>

#include "analysis/QXFFT.h"
#include "core/QXSerialPort.h"
#include "platform/gl/OffscreenGLContext.h"
#include "plots/waterfall/QX2DSpectrum.h"
#include "plots/waterfall/WaterfallState.h"
#include "plots/waterfall/gl/QX2DSpectrumGLView.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "support/TestSupport.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

#include <unistd.h>

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
            PeakfftPower[b][r][0].store({5.0f, 10.0f, 21, r, 5.0f});
}

// The view in a fresh offscreen context, the history filled, selection and draw mode chosen and the
// camera's preset move finished.
struct WaterfallScene {
    OffscreenGLContext context{viewSize};
    QX2DSpectrumGLView view{QRectF(QPointF(0, 0), QSizeF(viewSize))};

    bool start(benchmark::State& state, int selection, int drawMode)
    {
        if (!context.isValid()) {
            state.SkipWithError(context.errorString().toStdString().c_str());
            return false;
        }
        context.makeCurrent();
        setPauseX = 1;            // the grids stay as filled
        resetDisplayModeFlags();  // the overlays and labels of a window as it opens
        frame();                  // one-time set-up
        fillHistory();
        view.setDemoNumber(selection - 1);
        view.setDrawModeX(drawMode);
        for (int f = 0; f < 10; ++f)  // finish the preset move
            frame();
        state.SetLabel(context.renderer().left(24).toStdString());
        return true;
    }
    // One frame as the view's host draws it: the synchronisation step, then the drawing.
    void frame()
    {
        view.synchronizeFrame();
        view.drawRect(view.bounds());
    }
};

// selection: 1 two panels (CH 1 over CH 2, with the peak line), 3 one panel (CH 1), 7 a coherence panel.
void WaterfallFrame(benchmark::State& state)
{
    WaterfallScene scene;
    if (!scene.start(state, static_cast<int>(state.range(1)), static_cast<int>(state.range(0))))
        return;
    for (auto _ : state)
        scene.frame();  // ends with glFinish
}
BENCHMARK(WaterfallFrame)
    ->ArgsProduct({{0, 1, 2, 3}, {1, 3, 7}})
    ->ArgNames({"drawMode", "selection"})
    ->Unit(benchmark::kMillisecond);

// Resident memory over many frames of the two-panel hidden-line view after a warm-up, as in a recording
// that plays: the history's time stamps move on every frame and key markers (letters, digits and blanks)
// pass along the history rows. The growth per 1000 frames should be nothing.
void WaterfallFrameMemory(benchmark::State& state)
{
    WaterfallScene scene;
    if (!scene.start(state, 1, 1))
        return;
    constexpr int markedPoints = 1200;
    for (int k = 0; k < markedPoints; ++k)
        QXSerialPort::sharedQXSerialPort().putIntToBuffer(0, k, k % 53);
    long clock = 0;
    const auto frame = [&] {
        ++clock;
        ploop = 600 + static_cast<int>(clock % 600);
        QX2DSpectrum::sharedQX2DSpectrum().setupTimeNumberZ(clock * 37);
        scene.frame();
    };
    constexpr int framesPerIteration = 500;
    for (int f = 0; f < framesPerIteration; ++f)
        frame();
    const double before = nupo::test::residentMiB() * 1024;
    int frames = 0;
    for (auto _ : state) {
        for (int f = 0; f < framesPerIteration; ++f)
            frame();
        frames += framesPerIteration;
    }
    state.counters["residentKiB"] = nupo::test::residentMiB() * 1024;
    state.counters["growthKiBPer1000Frames"] = (nupo::test::residentMiB() * 1024 - before) * 1000.0 / frames;
}
BENCHMARK(WaterfallFrameMemory)->Iterations(6)->Unit(benchmark::kSecond);

// The synchronisation step of one frame, playing (a history row each frame) and paused (the copy alone).
void WaterfallFrameCopy(benchmark::State& state)
{
    WaterfallScene scene;
    if (!scene.start(state, static_cast<int>(state.range(0)), 3))
        return;
    setPauseX = static_cast<int>(state.range(1));
    setRecX = 0;
    for (auto _ : state)
        scene.view.synchronizeFrame();
    setPauseX = 1;
}
BENCHMARK(WaterfallFrameCopy)
    ->ArgsProduct({{1, 3, 7}, {0, 1}})
    ->ArgNames({"selection", "paused"})
    ->Unit(benchmark::kMicrosecond);

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
