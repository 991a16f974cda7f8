// One step of the wave surface and one tunnel frame at the largest sheet (63 vertices a side), in the
// window's default textured mode and in the smooth-shaded palette mode; 640 x 480 offscreen.
#include <benchmark/benchmark.h>

#include "platform/gl/OffscreenGLContext.h"
#include "views3d/wave/gl/QXnewave.h"

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

}  // namespace

BENCHMARK(WaveStep)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(WaveStepAndTunnelFrame, textured, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WaveStepAndTunnelFrame, smoothPalette, 3)->Unit(benchmark::kMillisecond);
