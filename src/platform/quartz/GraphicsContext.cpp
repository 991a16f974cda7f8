#include "platform/quartz/GraphicsContext.h"

#include <cmath>

namespace nupo {

namespace {
bool isFinitePoint(double x, double y)
{
    return std::isfinite(x) && std::isfinite(y);
}
}  // namespace

void GraphicsContext::setLineWidth(double width)
{
    // A negative or non-finite width would make the renderer misbehave; such a call keeps the old width.
    if (std::isfinite(width) && width >= 0.0)
        lineWidth_ = width;
}

void GraphicsContext::setRGBStrokeColor(double red, double green, double blue, double alpha)
{
    strokeColor_ = RGBAColor::fromRGBA(red, green, blue, alpha).clamped();
}

void GraphicsContext::setRGBFillColor(double red, double green, double blue, double alpha)
{
    fillColor_ = RGBAColor::fromRGBA(red, green, blue, alpha).clamped();
}

void GraphicsContext::setGrayFillColor(double gray, double alpha)
{
    setRGBFillColor(gray, gray, gray, alpha);
}

void GraphicsContext::setStrokeColor(const RGBAColor& colour)
{
    setRGBStrokeColor(colour.red, colour.green, colour.blue, colour.alpha);
}

void GraphicsContext::setFillColor(const RGBAColor& colour)
{
    setRGBFillColor(colour.red, colour.green, colour.blue, colour.alpha);
}

void GraphicsContext::beginPath()
{
    path_.clear();
}

void GraphicsContext::moveToPoint(double x, double y)
{
    if (!isFinitePoint(x, y)) {
        // A point that cannot be drawn ends the current subpath; the next line has no start.
        path_.emplace_back();
        return;
    }
    if (!path_.empty() && path_.back().size() == 1)
        path_.back().front() = QPointF(x, y);
    else
        path_.push_back({QPointF(x, y)});
}

void GraphicsContext::addLineToPoint(double x, double y)
{
    // A line needs a current point; without one (or with an undrawable end) the call is dropped.
    if (path_.empty() || path_.back().empty())
        return;
    if (!isFinitePoint(x, y)) {
        path_.emplace_back();
        return;
    }
    path_.back().emplace_back(x, y);
}

bool GraphicsContext::hasPathLines() const
{
    for (const Polyline& subpath : path_) {
        if (subpath.size() >= 2)
            return true;
    }
    return false;
}

void GraphicsContext::strokePath()
{
    std::vector<Polyline> lines;
    for (Polyline& subpath : path_) {
        if (subpath.size() >= 2)
            lines.push_back(std::move(subpath));
    }
    path_.clear();
    if (!lines.empty())
        strokeLines(lines);
}

void GraphicsContext::drawLayer(LayerCache&, const std::vector<double>&, const QRectF&,
                                const std::function<void(GraphicsContext&)>& draw)
{
    draw(*this);
}

void GraphicsContext::fillPixelRect(const QRectF& rect)
{
    fillRect(rect);
}

void GraphicsContext::fillRect(const QRectF& rect)
{
    const QRectF normalised = rect.normalized();
    if (!std::isfinite(normalised.x()) || !std::isfinite(normalised.y()) ||
        !std::isfinite(normalised.width()) || !std::isfinite(normalised.height()) || normalised.isEmpty())
        return;
    fillRectangle(normalised);
}

}  // namespace nupo
