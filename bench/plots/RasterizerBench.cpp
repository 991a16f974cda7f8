// The plot frames' thin lines and bars, drawn by the painter one stroke at a time (0) and written
// straight into the image by the rasterizer (1): 512 joined segments of a steep trace, each in its own
// colour (a raw-wave frame of two traces at 256 points with a large signal), and 256 bars.
#include <benchmark/benchmark.h>

#include "platform/quartz/gl/ImageRasterizer.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <vector>

using namespace nupo;

namespace {

const QSize imageSize(760, 370);

std::vector<QLineF> steepTrace()
{
    std::vector<QLineF> lines;
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < 256; ++i) {
            auto at = [&](int k) {
                return QPointF(2 + k * 2.9, 90 + t * 185 + 80 * std::sin(k * 0.9) + 30 * std::sin(k * 0.23));
            };
            lines.emplace_back(at(i), at(i + 1));
        }
    return lines;
}

QRgb colourOf(std::size_t i)
{
    return qRgb(int(i % 256), 80, 255 - int(i % 256));
}

void ThinTrace(benchmark::State& state)
{
    const std::vector<QLineF> lines = steepTrace();
    QImage image(imageSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    const bool direct = state.range(0) != 0;
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        if (direct) {
            std::optional<ImageRasterizer> rasterizer = ImageRasterizer::of(painter);
            for (std::size_t i = 0; i < lines.size(); ++i)
                rasterizer->drawThinLine(lines[i].p1(), lines[i].p2(), colourOf(i));
            rasterizer->finish();
        } else {
            QPen pen;
            pen.setCapStyle(Qt::FlatCap);
            for (std::size_t i = 0; i < lines.size(); ++i) {
                pen.setColor(QColor::fromRgb(colourOf(i)));
                painter.setPen(pen);
                painter.drawLine(lines[i]);
            }
        }
    }
}
BENCHMARK(ThinTrace)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void Bars(benchmark::State& state)
{
    QImage image(imageSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    const bool direct = state.range(0) != 0;
    const double width = 2.8;
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        std::optional<ImageRasterizer> rasterizer = direct ? ImageRasterizer::of(painter) : std::nullopt;
        QPen pen;
        pen.setCapStyle(Qt::FlatCap);
        pen.setWidthF(width);
        for (int i = 0; i < 256; ++i) {
            const double x = 2 + i * 2.9, top = 180 + (i % 2) * 185,
                         height = 20 + 150 * std::abs(std::sin(i * 0.7));
            if (direct) {
                rasterizer->fillRect(QRectF(x - width / 2, top - height, width, height),
                                     colourOf(std::size_t(i)));
            } else {
                pen.setColor(QColor::fromRgb(colourOf(std::size_t(i))));
                painter.setPen(pen);
                painter.drawLine(QLineF(x, top, x, top - height));
            }
        }
        if (rasterizer)
            rasterizer->finish();
    }
}
BENCHMARK(Bars)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
