// One frame of each plot view at its default size, in every drawing mode, into a QImage through the
// QPainter 2D context (what the windows do 30 times a second) and into a recording context (the cost of
// the drawing logic alone).
//
// The frame benchmarks take a last argument: 0 draws the plain way (every entry its own stroke, the
// background and grid every frame: how the views drew before), 1 the quick way (what reaches each pixel
// column where entries outnumber columns, the background and grid kept as a picture). Both run in one
// go, side by side.
#include <benchmark/benchmark.h>

#include "analysis/QXFFT.h"
#include "platform/quartz/gl/PainterGraphicsContext.h"
#include "platform/quartz/gl/RecordingGraphicsContext.h"
#include "plots/bargraph/gl/BarColourTables.h"
#include "plots/bargraph/gl/QX2DBarGraphView.h"
#include "plots/frame/gl/PlotDrawing.h"
#include "plots/rawwave/gl/QXRawwaveGraphView.h"
#include "plots/rawwave/gl/QXRoundCustomView.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"

#include <QImage>
#include <QPainter>

#include <cmath>

using namespace nupo;

namespace {

// The size of the views in the window nibs.
const QRectF viewRect(0, 0, 720, 330);

void fillTraces()
{
    for (int i = 0; i < 8192; ++i) {
        datarawA[i] = static_cast<int>(60 * std::sin(i * 0.21));
        datarawB[i] = static_cast<int>(40 * std::sin(i * 0.13));
        datarawD[i] = static_cast<int>(30 * std::sin(i * 0.08));
        datarawE[i] = static_cast<int>(20 * std::sin(i * 0.05));
    }
}

// The way a frame argument asks for: the context's drawing, with column merging set to match.
PainterGraphicsContext::Drawing drawingOf(int quick)
{
    plotColumnMerging = quick != 0;
    return quick != 0 ? PainterGraphicsContext::Drawing::Batched : PainterGraphicsContext::Drawing::Direct;
}

void fillSpectra()
{
    for (int b : {0, 1, 3, 4})
        for (int i = 0; i < 8192; ++i)
            QXFFT::sharedQXFFT().putcomplexDoubleToBuffer(b, i, {1.0 + std::sin(i * 0.1 + b), 0.0});
}

void RawwaveFrame(benchmark::State& state)
{
    fftp = static_cast<int>(state.range(1));
    fillTraces();
    QXRawwaveGraphView view(viewRect);
    const std::optional<RGBAColor> cursor = RGBAColor::fromRGBA(1, 0, 0, 1);
    QImage image(viewRect.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    const auto drawing = drawingOf(static_cast<int>(state.range(2)));
    for (auto _ : state) {
        QPainter painter(&image);
        PainterGraphicsContext context(painter, viewRect.height(), drawing);
        view.drawMode(static_cast<int>(state.range(0)), context, viewRect, 0, 0.7f, 1.0f, 30.0f, 40.0f,
                      cursor, 1);
    }
    plotColumnMerging = true;
}
BENCHMARK(RawwaveFrame)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7, 8}, {256, 8192}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The raw-wave window's whole frame at 8192 points with its grid on: the newest windows read from the
// recording, background, grid, the four traces and the cursor lines.
void RawwaveWindowFrame(benchmark::State& state)
{
    fftp = 8192;
    maxploop = 20000;
    RecordingBuffers::sharedRecordingBuffers().allocate();
    for (int c = 1; c <= 4; ++c)
        for (int i = 0; i < 9000; ++i)
            RecordingBuffers::sharedRecordingBuffers().putIntToBuffer(
                c, i, static_cast<int>(60 * std::sin(i * 0.21 / c)));
    ploop = 9000;
    GridColorY[0] = GridColorY[1] = GridColorY[2] = 0.5f;
    GridColorY[3] = 1.0f;
    QXRawwaveGraphView view(viewRect);
    view.setgrid(1);
    view.setgridSlider(20);
    view.setDemoNumber(6);
    QImage image(viewRect.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    const auto drawing = drawingOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QPainter painter(&image);
        PainterGraphicsContext context(painter, viewRect.height(), drawing);
        view.drawRect(context, viewRect);
    }
    plotColumnMerging = true;
}
BENCHMARK(RawwaveWindowFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The background and grid alone (20 lines each way, antialiased), drawn every frame or kept.
void BackgroundAndGrid(benchmark::State& state)
{
    GridColorX[0] = GridColorX[1] = 0.2f;
    GridColorX[2] = 0.6f;
    GridColorX[3] = 1.0f;
    ShowGrid2DBarX = 1;
    fftp = 256;
    QX2DBarGraphView view(viewRect);
    view.setBackgroundColor(RGBAColor::fromRGBA(0.867824, 0.759038, 0.869565, 1));
    view.setDBarW(1.0f);  // no bars
    view.setcursor(0);
    QImage image(viewRect.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    const auto drawing = drawingOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QPainter painter(&image);
        PainterGraphicsContext context(painter, viewRect.height(), drawing);
        view.drawRect(context, viewRect);
    }
    plotColumnMerging = true;
}
BENCHMARK(BackgroundAndGrid)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void RawwaveFrameLogicOnly(benchmark::State& state)
{
    fftp = 256;
    fillTraces();
    QXRawwaveGraphView view(viewRect);
    const std::optional<RGBAColor> cursor = RGBAColor::fromRGBA(1, 0, 0, 1);
    for (auto _ : state) {
        RecordingGraphicsContext context;
        view.drawMode(static_cast<int>(state.range(0)), context, viewRect, 0, 0.7f, 1.0f, 30.0f, 40.0f,
                      cursor, 1);
        benchmark::DoNotOptimize(context.segments().size());
    }
}
BENCHMARK(RawwaveFrameLogicOnly)->DenseRange(0, 8)->Unit(benchmark::kMicrosecond);

void BarGraphFrame(benchmark::State& state)
{
    fftp = static_cast<int>(state.range(1));
    fillSpectra();
    ShowPeakHoldX = 1;
    PeakHoldModeX = 5;
    ShowGrid2DBarX = 1;
    GridColorX[0] = GridColorX[1] = 0.2f;
    GridColorX[2] = 0.6f;
    GridColorX[3] = 1.0f;
    QX2DBarGraphView view(viewRect);
    view.setDemoNumber(static_cast<int>(state.range(0)));
    view.setBackgroundColor(RGBAColor::fromRGBA(0.867824, 0.759038, 0.869565, 1));
    view.setCursorColor(RGBAColor::fromRGBA(0, 0, 1, 1));
    QImage image(viewRect.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    const auto drawing = drawingOf(static_cast<int>(state.range(2)));
    for (auto _ : state) {
        QPainter painter(&image);
        PainterGraphicsContext context(painter, viewRect.height(), drawing);
        view.drawRect(context, viewRect);
    }
    plotColumnMerging = true;
}
BENCHMARK(BarGraphFrame)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {256, 8192}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The bar graph's drawing logic alone at 8192 points: reading the spectra and building the bars.
void BarGraphFrameLogicOnly(benchmark::State& state)
{
    fftp = 8192;
    fillSpectra();
    ShowPeakHoldX = 1;
    PeakHoldModeX = 5;
    QX2DBarGraphView view(viewRect);
    view.setDemoNumber(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        RecordingGraphicsContext context;
        view.drawRect(context, viewRect);
        benchmark::DoNotOptimize(context.segments().size());
    }
}
BENCHMARK(BarGraphFrameLogicOnly)->Arg(0)->Arg(8)->Unit(benchmark::kMillisecond);

void CanvasBrainGraphFrame(benchmark::State& state)
{
    fftp = 256;
    fillSpectra();
    resetBColor2DBar(2);
    QX2DBarGraphView& view = QX2DBarGraphView::sharedQX2DBarGraphView();
    const int source = static_cast<int>(state.range(0));
    QImage image(1000, 560, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        PainterGraphicsContext context(painter, 560);
        view.draw2DBarX(context, QRectF(40, 0, 450, 300), 0, 0.7f, 0.5f, source);
        view.draw2DBarY(context, QRectF(40, 0, 450, 350), 0, 0.7f, 0.5f, source);
        view.draw2DBarZ(context, QRectF(40, 0, 450, 540), 0, 0.7f, 0.5f, source);
    }
}
BENCHMARK(CanvasBrainGraphFrame)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);

void FrontRawwaveFrame(benchmark::State& state)
{
    fftp = 256;
    fillTraces();
    WindowMode = static_cast<int>(state.range(0));
    QXRoundCustomView view;
    const QSizeF size = QXRoundCustomView::sizeForMode(WindowMode, 1920);
    view.setFrameSize(size);
    QImage image(size.toSize(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        PainterGraphicsContext context(painter, size.height());
        view.drawRect(context, view.bounds());
    }
}
BENCHMARK(FrontRawwaveFrame)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
