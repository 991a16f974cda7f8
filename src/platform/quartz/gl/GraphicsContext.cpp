#include "platform/quartz/gl/GraphicsContext.h"

#include <cmath>
#include <utility>

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

GraphicsContext::Polyline& GraphicsContext::newSubpath()
{
    if (pathSize_ < path_.size())
        path_[pathSize_].clear();
    else
        path_.emplace_back();
    return path_[pathSize_++];
}

void GraphicsContext::beginPath()
{
    pathSize_ = 0;
}

void GraphicsContext::moveToPoint(double x, double y)
{
    if (!isFinitePoint(x, y)) {
        // A point that cannot be drawn ends the current subpath; the next line has no start.
        newSubpath();
        return;
    }
    if (pathSize_ > 0 && path_[pathSize_ - 1].size() == 1)
        path_[pathSize_ - 1].front() = QPointF(x, y);
    else
        newSubpath().emplace_back(x, y);
}

void GraphicsContext::addLineToPoint(double x, double y)
{
    // A line needs a current point; without one (or with an undrawable end) the call is dropped.
    if (pathSize_ == 0 || path_[pathSize_ - 1].empty())
        return;
    if (!isFinitePoint(x, y)) {
        newSubpath();
        return;
    }
    path_[pathSize_ - 1].emplace_back(x, y);
}

bool GraphicsContext::hasPathLines() const
{
    for (std::size_t i = 0; i < pathSize_; ++i) {
        if (path_[i].size() >= 2)
            return true;
    }
    return false;
}

void GraphicsContext::strokePath()
{
    // The subpaths that draw something move to the front, in their order.
    std::size_t lines = 0;
    for (std::size_t i = 0; i < pathSize_; ++i) {
        if (path_[i].size() >= 2)
            std::swap(path_[lines++], path_[i]);
    }
    pathSize_ = 0;
    if (lines > 0)
        strokeLines(std::span<const Polyline>(path_.data(), lines));
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
