// One frame of the 3D band-spectrum scene at 640 x 480, as the view draws it: data step, every tile of the
// layout with its brain-switch surface, the default display elements, smooth shaded.
#include <benchmark/benchmark.h>

#include "analysis/QX3DSpectrum.h"
#include "analysis/QXFFT.h"
#include "platform/gl/OffscreenGLContext.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "views3d/scene/gl/MeshControl.h"
#include "views3d/scene/gl/QX3DSpectrumMesh.h"
#include "views3d/scene/gl/QX3DSpectrumScene.h"

#include <GL/gl.h>

#include <cmath>

using namespace nupo;

namespace {

// A spectrum with a few peaks in each channel, so the surfaces have relief and the marks have hits.
void feedSpectra()
{
    SampleSpeed = 128;
    fftp = 256;
    QXFFT& fft = QXFFT::sharedQXFFT();
    fft.timerUpdate();
    static constexpr int buffers[4] = {0, 1, 3, 4};
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < 128; ++k)
            fft.putcomplexDoubleToBuffer(
                buffers[c], k, {2.0 + 6.0 * std::exp(-0.05 * (k - 10 - 5 * c) * (k - 10 - 5 * c)), 0.0});
}

void SceneFrame_(benchmark::State& state)
{
    OffscreenGLContext context(QSize(640, 480));
    if (!context.isValid()) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    QX3DSpectrumMesh::sharedQX3DSpectrumMesh().mainNewave();
    setDisplayn(3);
    myReshapeXn(640, 480);
    glViewport(0, 0, 640, 480);
    feedSpectra();
    setRecX = 0;
    setPauseX = 0;

    const bool threeSets = state.range(0) != 0;
    SceneFrame f;
    f.drawS = 1;
    f.displayUnnMode = 3;
    f.sph = 90.0f;
    if (threeSets) {
        f.towBrain = 1;
        f.shapeC = 0;
        f.sthet = 45.25f;
        f.Yposi = -40.0f;
        f.sdept = 232.1f;
        f.Viwe_Mode = 16.0f;
    } else {
        f.shapeC = 2;
        f.sthet = 56.0f;
        f.Xposi = 1.0f;
        f.Yposi = -4.0f;
        f.sdept = 80.0f;
    }
    QX3DSpectrumScene& scene = QX3DSpectrumScene::sharedQX3DSpectrumScene();
    for (int k = 0; k < 64; ++k) {  // a full history
        ploop = ploop + 1;
        scene.displayUnn(f);
    }
    for (auto _ : state) {
        ploop = ploop + 1;
        f.ImageNX = scene.displayUnn(f);
        glFinish();
    }
}
// 0: one source, 1: three sets.
BENCHMARK(SceneFrame_)->Name("SceneFrame")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
