#pragma once

#include <QRect>
#include <QRgb>

#include <optional>

class QImage;
class QPainter;
class QPointF;
class QRectF;
class QTransform;

namespace nupo {

// Writes antialiased lines straight into the 32-bit image a painter draws on, for the strokes a plot
// frame draws by the hundred, each in its own colour: thin lines (one pixel wide) and strokes along an
// axis (rectangles). QPainter sets up its whole pipeline for every such stroke; here a stroke costs about
// what its pixels cost.
//
// The pictures match the painter's: a thin line covers, at each step along its longer axis, one pixel's
// length across it, shared between the two pixels it straddles (as the painter's one-pixel lines do); a
// rectangle covers each pixel by the share of its area inside. Colours blend source-over.
//
// Coordinates are the image's device pixels (y down). Everything is clipped to the painter's system clip.
class ImageRasterizer {
public:
    // A rasterizer for the image the painter draws on, when it can stand in for the painter there: a
    // raster painter on an RGB32 or premultiplied ARGB32 image, drawing source-over at full opacity and
    // without a clip of its own, antialiased, and a system clip of at most one rectangle. None otherwise.
    static std::optional<ImageRasterizer> of(QPainter& painter);

    // True when the painter's present state lets this rasterizer stand in for it: source-over at full
    // opacity, antialiased, no clip of its own, and a device transform of unit scale (any translation,
    // the y axis turned over or not), which then maps drawing coordinates to the image's pixels.
    static bool follows(const QPainter& painter);

    // A one-pixel line from a to b, in a premultiplied colour; nothing for a line of no length.
    void drawThinLine(const QPointF& a, const QPointF& b, QRgb colour);
    // The pixels of a rectangle, each by the share of its area inside, in a premultiplied colour.
    void fillRect(const QRectF& rect, QRgb colour);

private:
    ImageRasterizer(QImage& image, const QRect& clip);
    // Blends a colour into pixel (x, y) by coverage 0..255; outside the clip nothing happens.
    void blend(int x, int y, QRgb colour, unsigned coverage);
    void fillSpan(int x0, int x1, int y, QRgb colour, unsigned coverage);

    uchar* bits_;
    qsizetype bytesPerLine_;
    bool opaque_;  // the image has no alpha channel: every pixel stays opaque
    QRect clip_;
    int clipLeft_, clipTop_, clipRight_, clipBottom_;  // the clip's pixels, inclusive
};

}  // namespace nupo
