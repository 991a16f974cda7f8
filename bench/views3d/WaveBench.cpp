// One step of the wave surface and one tunnel frame at the largest sheet (63 vertices a side), in the
// window's default textured mode and in the smooth-shaded palette mode; 640 x 480 offscreen. And the
// view's synchronisation step, which the main thread runs as each frame starts.
#include <benchmark/benchmark.h>

#include "platform/gl/OffscreenGLContext.h"
#include "views3d/wave/gl/QXnewave.h"
#include "views3d/wave/gl/QXnewaveGLView.h"

#include <GL/gl.h>

using namespace nupo;

namespace {

void WaveStepAndTunnelFrame(benchmark::State& state, int drawMode)
{
    OffscreenGLContext context(QSize(640, 480));
    if (!context.isValid()) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    QXnewave& wave = QXnewave::sharedQXnewave();
    wave.mainNewaved();
    wave.myReshapeXdn(640, 480);
    wave.setdSized(3);
    wave.resetdn(9);
    wave.godn();
    wave.setDisplayd(drawMode);
    QXnewaveFrame frame;
    frame.displayUndn = 90.0f;
    frame.sthet = 45.0f;
    frame.sdept = 80.0f;
    frame.displayUnn = drawMode;
    frame.texture = drawMode == 3 ? 0 : 2;
    frame.PColor = 1.0f;
    for (auto _ : state) {
        wave.wavedn();
        frame.ImageNX = wave.displayUndn(frame);
        glFinish();
    }
}

void WaveStep(benchmark::State& state)
{
    QXnewave& wave = QXnewave::sharedQXnewave();
    wave.setdSized(3);
    wave.resetdn(9);
    wave.godn();
    for (auto _ : state) {
        wave.wavedn();
        benchmark::DoNotOptimize(wave.positd[31][31]);
    }
}

// The copy a frame takes of the window's settings and pointer state, with a setting and the pointer
// changed between frames as a drag does.
void WaveViewSynchronizeFrame(benchmark::State& state)
{
    QXnewaveGLView view(QRectF(0, 0, 640, 480));
    MouseEvent drag;
    float value = 0.0f;
    for (auto _ : state) {
        value += 1.0f;
        view.setPColor_value(value);
        drag.location = QPointF(value, 10.0);
        view.mouseDragged(drag);
        view.synchronizeFrame();
        benchmark::DoNotOptimize(view.shown().sdepth);
    }
}

}  // namespace

BENCHMARK(WaveViewSynchronizeFrame)->Unit(benchmark::kNanosecond);
BENCHMARK(WaveStep)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(WaveStepAndTunnelFrame, textured, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WaveStepAndTunnelFrame, smoothPalette, 3)->Unit(benchmark::kMillisecond);
