#pragma once

#include "platform/quartz/gl/GraphicsContext.h"
#include "platform/quartz/gl/ImageRasterizer.h"

#include <QPen>
#include <QTransform>

class QPainter;

namespace nupo {

// A GraphicsContext that renders with a QPainter (on a widget or a QImage). The painter's y axis is
// turned over a given height so that the caller draws in unflipped coordinates: y = 0 is the bottom edge.
// Lines are antialiased with butt caps and mitred joins; a width of 0 draws the thinnest visible line.
// The painter's state is restored when the context is destroyed.
//
// Strokes in a row that share colour and width are handed to the painter in one call (in their order);
// everything pending is drawn when the context is destroyed. Layers are kept as pictures (drawLayer).
// On an image the painter draws straight into (a widget's backing store, a QImage), one-pixel lines and
// strokes along an axis are written into the image directly, with the painter's antialiasing.
// With Drawing::Direct every stroke is drawn on its own at once and layers are drawn every time: the
// plain way, kept to compare pictures with.
class PainterGraphicsContext : public GraphicsContext {
public:
    enum class Drawing { Batched, Direct };

    PainterGraphicsContext(QPainter& painter, double height, Drawing drawing = Drawing::Batched);
    ~PainterGraphicsContext() override;

    // Draws `draw` into the cache's image when the key, the rect or the device's pixel ratio changed,
    // then shows the image.
    void drawLayer(LayerCache& cache, const std::vector<double>& key, const QRectF& rect,
                   const std::function<void(GraphicsContext&)>& draw) override;

    // The pixels whose centres lie in the rect, filled without antialiasing.
    void fillPixelRect(const QRectF& rect) override;

protected:
    void strokeLines(std::span<const Polyline> subpaths) override;
    void fillRectangle(const QRectF& rect) override;

private:
    void flush();
    // Draws the pending lines into the image where the rasterizer can, the rest with the painter, in
    // their order; false (nothing drawn) when the painter's present state rules the rasterizer out.
    bool drawPendingLinesDirectly();
    // True when shapes may go to the rasterizer now.
    bool drawsDirectly() const;
    // Draws what the rasterizer holds; called before anything else is drawn.
    void finishDirect();
    // Gives the painter the pen of the pending strokes.
    void applyPendingPen();
    // Pixel fills draw in device pixels without antialiasing; other drawing goes back to the turned-over
    // antialiased state first.
    void enterPixelMode();
    void leavePixelMode();

    QPainter& painter_;
    QTransform base_;  // the painter's transform when it was given
    double height_;
    Drawing drawing_;
    bool pixelMode_ = false;
    std::optional<ImageRasterizer> rasterizer_;  // set when drawing Batched on a writable image
    QTransform drawingTransform_;                // the painter's transform outside pixel mode
    QPen pen_;
    // Strokes not yet handed to the painter, all in one pen.
    enum class Pending { Nothing, Strokes } pending_ = Pending::Nothing;
    RGBAColor pendingColour_;
    double pendingWidth_ = 1.0;
    std::vector<QLineF> pendingLines_;
    std::vector<Polyline> pendingPolylines_;
};

}  // namespace nupo
