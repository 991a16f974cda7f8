#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>

#include <optional>
#include <vector>

class QPainter;
class QPointF;
class QRectF;

namespace nupo {

// Writes a plot frame's shapes straight into the 32-bit image a painter draws on: the kept background
// copied in, then the strokes a frame draws by the hundred, each in its own colour: thin lines (one pixel
// wide), strokes along an axis and filled rectangles. QPainter sets up its whole pipeline for every such
// stroke; here a stroke costs about what its pixels cost.
//
// The shapes are collected and drawn by `finish`, a band of rows at a time, every shape in its order
// within each band: the rows of a band stay in the processor's cache from the background copy to the
// last stroke, where drawing each shape over the whole image in turn would fetch them again and again.
//
// The pictures match the painter's: a thin line covers, at each step along its longer axis, one pixel's
// length across it, shared between the two pixels it straddles (as the painter's one-pixel lines do); a
// rectangle covers each pixel by the share of its area inside. Colours blend source-over.
//
// Coordinates are the image's device pixels (y down). Everything is clipped to the painter's system clip.
class ImageRasterizer {
public:
    // A rasterizer for the image the painter draws on, when it can stand in for the painter there: a
    // raster painter on an RGB32 or premultiplied ARGB32 image, and a system clip of at most one
    // rectangle, with the painter's state as `follows` asks. None otherwise.
    static std::optional<ImageRasterizer> of(QPainter& painter);

    // True when the painter's present state lets a rasterizer stand in for it: source-over at full
    // opacity, antialiased, no clip of its own, and a device transform of unit scale (any translation,
    // the y axis turned over or not), which then maps drawing coordinates to the image's pixels.
    static bool follows(const QPainter& painter);

    // True when `copyImage` takes this image: opaque 32-bit pixels at a pixel ratio of 1.
    static bool canCopy(const QImage& image);

    // Copies an image (see canCopy) with its top left corner at a device pixel.
    void copyImage(const QImage& image, const QPoint& at);
    // A one-pixel line from a to b, in a premultiplied colour; nothing for a line of no length.
    void drawThinLine(const QPointF& a, const QPointF& b, QRgb colour);
    // The pixels of a rectangle, each by the share of its area inside, in a premultiplied colour.
    void fillRect(const QRectF& rect, QRgb colour);

    // Draws what was collected, band by band, and forgets it. Whoever draws into the image by other
    // means calls this first.
    void finish();

private:
    struct Shape {
        enum class Kind { Copy, Line, Rect } kind;
        QRgb colour;
        double x0, y0, x1, y1;  // line ends, or the rectangle's corners
        int top, bottom;        // the rows the shape may touch
        int image;              // index into images_ for a copy
    };

    ImageRasterizer(QImage& image, const QRect& clip);
    void add(const Shape& shape);
    void copyRows(const Shape& shape);
    void renderThinLine(const Shape& shape);
    void renderRect(const Shape& shape);
    // A colour at a coverage, ready to blend: the premultiplied colour times the coverage, and what is
    // kept of the pixel under it (0..255).
    struct Ink {
        QRgb source;
        unsigned keep;
        bool none;  // no coverage: the pixel stays
    };
    Ink inkOf(QRgb colour, unsigned coverage) const;
    void paint(QRgb& pixel, const Ink& ink) const;
    QRgb* rowAt(int y) const;
    // Blends a colour into pixel (x, y) by coverage 0..255; outside the clip nothing happens.
    void blend(int x, int y, QRgb colour, unsigned coverage);
    void setBand(int top, int bottom);

    uchar* bits_;
    qsizetype bytesPerLine_;
    QRgb alphaBits_;  // set in every pixel written to an image without alpha, which stays opaque
    QRect clip_;
    int clipLeft_, clipTop_, clipRight_, clipBottom_;  // of the band being drawn, inclusive
    std::vector<Shape> shapes_;
    std::vector<QImage> images_;
};

}  // namespace nupo
