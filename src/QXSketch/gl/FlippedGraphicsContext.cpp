#include "QXSketch/gl/FlippedGraphicsContext.h"

namespace nupo {

void FlippedGraphicsContext::strokeLines(std::span<const Polyline> subpaths)
{
    target_.setLineWidth(lineWidth());
    target_.setStrokeColor(strokeColor());
    target_.beginPath();
    for (const Polyline& line : subpaths) {
        target_.moveToPoint(line.front().x(), height_ - line.front().y());
        for (std::size_t i = 1; i < line.size(); ++i)
            target_.addLineToPoint(line[i].x(), height_ - line[i].y());
    }
    target_.strokePath();
}

void FlippedGraphicsContext::fillRectangle(const QRectF& rect)
{
    target_.setFillColor(fillColor());
    target_.fillRect(QRectF(rect.x(), height_ - rect.bottom(), rect.width(), rect.height()));
}

}  // namespace nupo
