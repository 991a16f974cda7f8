#include "platform/quartz/gl/PainterGraphicsContext.h"

#include "platform/quartz/gl/LayerCache.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

namespace nupo {
namespace {

// Rows of the image (top row 0) in which some pixel differs from white.
std::vector<int> inkedRows(const QImage& image)
{
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                rows.push_back(y);
                break;
            }
        }
    }
    return rows;
}

// The largest difference of a colour channel between two pictures of one size.
int largestDifference(const QImage& a, const QImage& b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (int shift : {0, 8, 16})
                largest = std::max(largest, std::abs(int((a.pixel(x, y) >> shift) & 0xff) -
                                                     int((b.pixel(x, y) >> shift) & 0xff)));
    return largest;
}

QImage whiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

TEST(PainterGraphicsContext, OriginIsTheLowerLeftCorner)
{
    QImage image = whiteImage(40, 30);
    {
        QPainter painter(&image);
        PainterGraphicsContext context(painter, image.height());
        context.setLineWidth(1.0);
        context.setRGBStrokeColor(0, 0, 1, 1);
        context.beginPath();
        context.moveToPoint(2, 1.5);
        context.addLineToPoint(38, 1.5);
        context.strokePath();
        // A filled square in the upper right corner (y from 25 to 30).
        context.setRGBFillColor(1, 0, 0, 1);
        context.fillRect(QRectF(30, 25, 10, 5));
    }
    EXPECT_EQ(image.pixel(20, 28), qRgb(0, 0, 255));  // the line, one row above the bottom row
    EXPECT_EQ(image.pixel(35, 2), qRgb(255, 0, 0));   // the square, at the top
    EXPECT_EQ(image.pixel(35, 6), qRgb(255, 255, 255));
    const std::vector<int> rows = inkedRows(image);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back(), 28);
    EXPECT_EQ(rows.front(), 0);
}

TEST(PainterGraphicsContext, SegmentsTakeTheirOwnColoursAndWidths)
{
    QImage image = whiteImage(60, 20);
    {
        QPainter painter(&image);
        PainterGraphicsContext context(painter, image.height());
        const double colours[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        for (int i = 0; i < 3; ++i) {
            context.setLineWidth(i + 1);
            context.beginPath();
            context.moveToPoint(5.5 + 20 * i, 0);
            context.addLineToPoint(5.5 + 20 * i, 20);
            // Components above 1 are clamped, not wrapped.
            context.setRGBStrokeColor(colours[i][0] * 3, colours[i][1] * 3, colours[i][2] * 3, 1);
            context.strokePath();
        }
    }
    EXPECT_EQ(image.pixel(5, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(25, 10), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(45, 10), qRgb(0, 0, 255));
    // The width-3 line covers pixels 44 to 46; the width-1 line covers pixel 5 alone.
    EXPECT_EQ(image.pixel(44, 10), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(6, 10), qRgb(255, 255, 255));
}

TEST(PainterGraphicsContext, RestoresThePainterItWasGiven)
{
    QImage image = whiteImage(10, 10);
    QPainter painter(&image);
    const QTransform before = painter.transform();
    {
        PainterGraphicsContext context(painter, 10);
        context.setRGBFillColor(0, 0, 0, 1);
        context.fillRect(QRectF(0, 0, 10, 1));
    }
    EXPECT_EQ(painter.transform(), before);
    painter.end();
    EXPECT_EQ(image.pixel(5, 9), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(5, 0), qRgb(255, 255, 255));
}

// A kept layer looks as if drawn directly, on its first frame and on later ones from the cache: an
// opaque one is kept without alpha (and copied), a see-through one keeps its alpha and is blended over
// what lies under it.
TEST(PainterGraphicsContext, KeptLayersLookLikeDirectDrawing)
{
    const auto drawLayerContent = [](bool opaque) {
        return [opaque](GraphicsContext& layer) {
            if (opaque) {
                layer.setRGBFillColor(0.9, 0.8, 0.7, 1);
                layer.fillRect(QRectF(0, 0, 40, 30));
            }
            layer.setRGBFillColor(0, 0.5, 0, 0.5);
            layer.fillRect(QRectF(5.5, 4.25, 20, 10));
            layer.setLineWidth(1.0);
            layer.setRGBStrokeColor(0, 0, 1, 1);
            layer.beginPath();
            layer.moveToPoint(3, 2.5);
            layer.addLineToPoint(37, 27);
            layer.strokePath();
        };
    };
    const auto frame = [](PainterGraphicsContext::Drawing drawing, LayerCache& cache, bool opaque,
                          const std::function<void(GraphicsContext&)>& content) {
        QImage image = whiteImage(40, 30);
        {
            QPainter painter(&image);
            PainterGraphicsContext context(painter, image.height(), drawing);
            context.setRGBFillColor(1, 0, 0, 1);  // what a see-through layer shows through
            context.fillRect(QRectF(0, 0, 20, 30));
            context.drawLayer(cache, {opaque ? 1.0 : 0.0}, QRectF(0, 0, 40, 30), content);
        }
        return image;
    };
    for (bool opaque : {true, false}) {
        LayerCache direct, kept;
        const QImage expected =
            frame(PainterGraphicsContext::Drawing::Direct, direct, opaque, drawLayerContent(opaque));
        EXPECT_TRUE(direct.image.isNull());
        // Batched, the layer's own strokes may be written straight into it: antialiased edges may differ.
        const QImage first =
            frame(PainterGraphicsContext::Drawing::Batched, kept, opaque, drawLayerContent(opaque));
        EXPECT_LE(largestDifference(first, expected), 40) << (opaque ? "opaque" : "see-through");
        EXPECT_EQ(kept.image.hasAlphaChannel(), !opaque);
        // From the cache: the drawing function is not called again.
        bool drawnAgain = false;
        EXPECT_EQ(frame(PainterGraphicsContext::Drawing::Batched, kept, opaque,
                        [&](GraphicsContext&) { drawnAgain = true; }),
                  first);
        EXPECT_FALSE(drawnAgain);
    }
}

}  // namespace
}  // namespace nupo
