// One whole frame of the 3D band-spectrum window's view: pending commands, clear, the scene call and the
// text overlays, at the view's size in the window as the nib opens it.
#include <benchmark/benchmark.h>

#include "platform/gl/OffscreenGLContext.h"
#include "views3d/QX3DSpectrumGLView.h"
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
    drawing.drawRect(drawing.bounds());  // the one-time set-up and the first textures
    for (auto _ : state) {
        drawing.drawRect(drawing.bounds());
        glFinish();
    }
}
// Display modes: 0 CH 1, CH 2 and coherence; 2 CH 1 alone; 13 all ten sources.
BENCHMARK(SpectrumViewFrame)->Arg(0)->Arg(2)->Arg(13)->Unit(benchmark::kMillisecond);

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
