// Lines and axis strokes written straight into an image look as the painter draws them: each shape is
// drawn by the painter (antialiased, butt caps) and by the rasterizer on the same ground, and the two
// pictures are compared pixel by pixel.
#include <gtest/gtest.h>

#include "platform/quartz/gl/ImageRasterizer.h"
#include "platform/quartz/gl/PainterGraphicsContext.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

using namespace nupo;

namespace {

const QColor ground(212, 224, 200);

struct Difference {
    int largest = 0;    // the largest difference of a channel
    double mean = 0.0;  // the mean of the channels' differences over the pixels either picture inks
    long inked = 0;     // pixels either picture changed
};

Difference compare(const QImage& a, const QImage& b)
{
    Difference d;
    long total = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (p == ground.rgb() && q == ground.rgb())
                continue;
            ++d.inked;
            for (int shift : {0, 8, 16}) {
                const int diff = std::abs(int((p >> shift) & 0xff) - int((q >> shift) & 0xff));
                d.largest = std::max(d.largest, diff);
                total += diff;
            }
        }
    d.mean = d.inked ? total / (3.0 * d.inked) : 0.0;
    return d;
}

QImage groundImage(QImage::Format format)
{
    QImage image(240, 160, format);
    image.fill(ground);
    return image;
}

// The picture the painter draws: each line with its own pen, antialiased, butt caps.
QImage drawnByPainter(QImage::Format format, const std::vector<QLineF>& lines,
                      const std::vector<QColor>& colours, double width)
{
    QImage image = groundImage(format);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        QPen pen(colours[i], width);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLine(lines[i]);
    }
    return image;
}

QImage drawnDirectly(QImage::Format format, const std::function<void(ImageRasterizer&)>& draw)
{
    QImage image = groundImage(format);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    std::optional<ImageRasterizer> rasterizer = ImageRasterizer::of(painter);
    EXPECT_TRUE(rasterizer.has_value());
    if (rasterizer) {
        draw(*rasterizer);
        rasterizer->finish();
    }
    return image;
}

std::vector<QColor> someColours(std::mt19937& random, std::size_t count, bool seeThrough)
{
    std::uniform_int_distribution<int> channel(0, 255), alpha(seeThrough ? 60 : 255, 255);
    std::vector<QColor> colours;
    for (std::size_t i = 0; i < count; ++i)
        colours.emplace_back(channel(random), channel(random), channel(random), alpha(random));
    return colours;
}

}  // namespace

TEST(ImageRasterizer, ThinLinesLookAsThePainterDrawsThem)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(-10.0, 250.0), y(-10.0, 170.0), step(-40.0, 40.0);
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied})
        for (bool seeThrough : {false, true}) {
            // A trace of joined segments in many directions, some running off the image.
            std::vector<QLineF> lines;
            QPointF at(x(random), y(random));
            for (int i = 0; i < 120; ++i) {
                const QPointF next(std::clamp(at.x() + step(random), -20.0, 260.0),
                                   std::clamp(at.y() + step(random), -20.0, 180.0));
                lines.emplace_back(at, next);
                at = next;
            }
            const std::vector<QColor> colours = someColours(random, lines.size(), seeThrough);
            const QImage painted = drawnByPainter(format, lines, colours, 1.0);
            const QImage direct = drawnDirectly(format, [&](ImageRasterizer& r) {
                for (std::size_t i = 0; i < lines.size(); ++i)
                    r.drawThinLine(lines[i].p1(), lines[i].p2(), qPremultiply(colours[i].rgba()));
            });
            const Difference d = compare(painted, direct);
            SCOPED_TRACE(testing::Message() << "format " << format << " see-through " << seeThrough);
            EXPECT_GT(d.inked, 2000);
            EXPECT_LT(d.mean, 4.0);
            EXPECT_LE(d.largest, 64);
        }
}

TEST(ImageRasterizer, LongShallowLinesKeepEveryPixelAcrossTheImage)
{
    // Long, nearly level and nearly upright lines cross many rows of pixels (and the bands the image is
    // drawn in); none of their pixels may go missing or move.
    std::vector<QLineF> lines;
    for (int i = 0; i < 40; ++i) {
        const double rise = 2.0 + (i % 7) * 1.3;
        lines.emplace_back(3.2, 2.5 + i * 3.9, 236.7, 2.5 + i * 3.9 + rise);
        lines.emplace_back(4.5 + i * 5.7, 1.3, 4.5 + i * 5.7 + rise, 158.4);
    }
    std::mt19937 random(5);
    const std::vector<QColor> colours = someColours(random, lines.size(), false);
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
        const QImage painted = drawnByPainter(format, lines, colours, 1.0);
        const QImage direct = drawnDirectly(format, [&](ImageRasterizer& r) {
            for (std::size_t i = 0; i < lines.size(); ++i)
                r.drawThinLine(lines[i].p1(), lines[i].p2(), qPremultiply(colours[i].rgba()));
        });
        const Difference d = compare(painted, direct);
        SCOPED_TRACE(testing::Message() << "format " << format);
        EXPECT_GT(d.inked, 15000);
        EXPECT_LT(d.mean, 2.0);
        EXPECT_LE(d.largest, 40);
    }
}

TEST(ImageRasterizer, AxisStrokesLookAsThePainterDrawsThem)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> x(-5.0, 245.0), y(-5.0, 165.0);
    for (double width : {1.0, 2.5, 5.6})
        for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
            std::vector<QLineF> lines;
            for (int i = 0; i < 60; ++i) {
                const double at = x(random), from = y(random), to = y(random);
                lines.emplace_back(at, from, at, to);              // a bar
                lines.emplace_back(from, at * 0.6, to, at * 0.6);  // a level line
            }
            const std::vector<QColor> colours = someColours(random, lines.size(), true);
            const QImage painted = drawnByPainter(format, lines, colours, width);
            const QImage direct = drawnDirectly(format, [&](ImageRasterizer& r) {
                for (std::size_t i = 0; i < lines.size(); ++i) {
                    const QLineF& l = lines[i];
                    const double half = width / 2.0;
                    const QRectF box =
                        l.x1() == l.x2()
                            ? QRectF(QPointF(l.x1() - half, l.y1()), QPointF(l.x1() + half, l.y2()))
                            : QRectF(QPointF(l.x1(), l.y1() - half), QPointF(l.x2(), l.y1() + half));
                    r.fillRect(box, qPremultiply(colours[i].rgba()));
                }
            });
            const Difference d = compare(painted, direct);
            SCOPED_TRACE(testing::Message() << "width " << width << " format " << format);
            EXPECT_GT(d.inked, 2000);
            EXPECT_LT(d.mean, 2.0);
            EXPECT_LE(d.largest, 16);
        }
}
