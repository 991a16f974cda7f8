// Cost of the plot views' drawing pattern: every segment of a trace stroked as a path of its own, in
// its own colour, antialiased, into an image the size of a plot window.
#include "platform/quartz/gl/PainterGraphicsContext.h"

#include <benchmark/benchmark.h>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace {

void strokeTrace(benchmark::State& state)
{
    const int segments = static_cast<int>(state.range(0));
    QImage image(1000, 400, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        nupo::PainterGraphicsContext context(painter, image.height());
        context.setLineWidth(2.0);
        const double step = 998.0 / segments;
        for (int i = 0; i < segments; ++i) {
            context.beginPath();
            context.moveToPoint(2 + i * step, 200 + 150 * std::sin(i * 0.05));
            context.addLineToPoint(2 + (i + 1) * step, 200 + 150 * std::sin((i + 1) * 0.05));
            context.setRGBStrokeColor(i % 256 / 255.0, 0.5, 1.0 - i % 256 / 255.0, 1.0);
            context.strokePath();
        }
    }
    state.SetItemsProcessed(state.iterations() * segments);
}
BENCHMARK(strokeTrace)->Arg(256)->Arg(8192)->Unit(benchmark::kMillisecond);

}  // namespace
