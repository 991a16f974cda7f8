#pragma once

#include "platform/colour/RGBAColor.h"

#include <QPointF>
#include <QRectF>

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

namespace nupo {

struct LayerCache;

// The 2D drawing context the plot views draw into. Coordinates are unflipped: the origin is the lower
// left corner and y grows upwards. A path is built with beginPath / moveToPoint / addLineToPoint and
// consumed by strokePath, which draws it in the stroke colour and line width in force at that moment.
// Colour components are clamped to 0..1 (NaN becomes 0) when they are set.
//
// The public calls keep the path and the graphics state; implementations only render (strokeLines,
// fillRectangle). Subclasses that watch the calls themselves override the virtual setters and call the
// base version.
class GraphicsContext {
public:
    GraphicsContext() = default;
    virtual ~GraphicsContext() = default;
    GraphicsContext(const GraphicsContext&) = delete;
    GraphicsContext& operator=(const GraphicsContext&) = delete;

    virtual void setLineWidth(double width);
    virtual void setRGBStrokeColor(double red, double green, double blue, double alpha);
    virtual void setRGBFillColor(double red, double green, double blue, double alpha);
    void setGrayFillColor(double gray, double alpha);
    void setStrokeColor(const RGBAColor& colour);
    void setFillColor(const RGBAColor& colour);

    virtual void beginPath();
    virtual void moveToPoint(double x, double y);
    virtual void addLineToPoint(double x, double y);
    virtual void strokePath();
    virtual void fillRect(const QRectF& rect);
    // Fills the device pixels whose centres lie in the rect, in the fill colour: where a view draws what
    // reaches each pixel column instead of every entry. A context that does not render pixels fills the
    // rect itself (this one).
    virtual void fillPixelRect(const QRectF& rect);

    // Draws what `draw` draws. A context that renders may keep the result in `cache` and, while `key`
    // (everything the drawing depends on besides the rect) and the rect stay the same, show the kept
    // picture instead of drawing again. This one draws every time.
    virtual void drawLayer(LayerCache& cache, const std::vector<double>& key, const QRectF& rect,
                           const std::function<void(GraphicsContext&)>& draw);

    double lineWidth() const { return lineWidth_; }
    RGBAColor strokeColor() const { return strokeColor_; }
    RGBAColor fillColor() const { return fillColor_; }
    // True while the path holds at least one line that strokePath would draw.
    bool hasPathLines() const;

protected:
    // A connected run of points (one subpath): lines join each point to the next.
    using Polyline = std::vector<QPointF>;

    // Draws the given subpaths (each with at least two points) with the current stroke state.
    virtual void strokeLines(std::span<const Polyline> subpaths) = 0;
    // Fills a rectangle (normalised, unflipped coordinates) with the current fill colour.
    virtual void fillRectangle(const QRectF& rect) = 0;

private:
    // A fresh subpath at the end of the path; subpaths are reused from path to path, so that a frame of
    // many short strokes allocates nothing once it has run.
    Polyline& newSubpath();

    std::vector<Polyline> path_;  // the first pathSize_ are the current path's subpaths
    std::size_t pathSize_ = 0;
    double lineWidth_ = 1.0;
    RGBAColor strokeColor_ = RGBAColor::fromRGBA(0, 0, 0, 1);
    RGBAColor fillColor_ = RGBAColor::fromRGBA(0, 0, 0, 1);
};

}  // namespace nupo
