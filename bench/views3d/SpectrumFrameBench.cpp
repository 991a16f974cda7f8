// One whole frame of the 3D band-spectrum window's view: the synchronisation step (pending commands, the
// camera's step and the frame's copy), then the frame: clear, the scene call and the text overlays, at the
// view's size in the window as the nib opens it; and the synchronisation step alone, which the main thread
// runs before every frame.
#include <benchmark/benchmark.h>

#include "platform/gl/OffscreenGLContext.h"
#include "views3d/QX3DSpectrumGLView.h"
#include "views3d/scene/gl/SceneState.h"
#include "views3d/spectrum/gl/QX3DSpectrumGLDrawing.h"

#include <QGuiApplication>

#include <GL/gl.h>

using namespace nupo;

namespace {

// The view's size in the window's default frame.
constexpr int viewWidth = 642;
constexpr int viewHeight = 400;

void SpectrumViewFrame(benchmark::State& state)
{
    OffscreenGLContext context(QSize(viewWidth, viewHeight));
    if (!context.isValid()) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    QX3DSpectrumGLView view;
    view.num = static_cast<int>(state.range(0));
    QX3DSpectrumGLDrawing drawing(view);
    drawing.setFrameSize(QSizeF(viewWidth, viewHeight));
    drawing.prepareOpenGL();
    drawing.synchronizeFrame();
    drawing.drawRect(drawing.bounds());  // the one-time set-up and the first textures
    for (auto _ : state) {
        drawing.synchronizeFrame();
        drawing.drawRect(drawing.bounds());
        glFinish();
    }
}
// Display modes: 0 CH 1, CH 2 and coherence; 2 CH 1 alone; 13 all ten sources.
BENCHMARK(SpectrumViewFrame)->Arg(0)->Arg(2)->Arg(13)->Unit(benchmark::kMillisecond);

// The synchronisation step of a view showing all ten sources, with a flash request to apply.
void SpectrumViewSynchronisation(benchmark::State& state)
{
    QX3DSpectrumGLView view;
    view.setDemoNumber(13);
    QX3DSpectrumGLDrawing drawing(view);
    drawing.synchronizeFrame();  // the one-time view set-up
    for (auto _ : state) {
        BrainCHXX = 2;
        drawing.synchronizeFrame();
        benchmark::DoNotOptimize(drawing.frameCopy().inputs.brainSWX[2][10]);
    }
}
BENCHMARK(SpectrumViewSynchronisation)->Unit(benchmark::kMicrosecond);

}  // namespace

// The overlays' text needs the fonts of a GUI application; no window is opened.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
