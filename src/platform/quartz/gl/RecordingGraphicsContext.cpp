#include "platform/quartz/gl/RecordingGraphicsContext.h"

#include <algorithm>

namespace nupo {

void RecordingGraphicsContext::record(Call call, double a, double b, double c, double d)
{
    calls_.push_back({call, {a, b, c, d}});
}

void RecordingGraphicsContext::setLineWidth(double width)
{
    record(Call::SetLineWidth, width);
    GraphicsContext::setLineWidth(width);
}

void RecordingGraphicsContext::setRGBStrokeColor(double red, double green, double blue, double alpha)
{
    record(Call::SetStrokeColor, red, green, blue, alpha);
    GraphicsContext::setRGBStrokeColor(red, green, blue, alpha);
}

void RecordingGraphicsContext::setRGBFillColor(double red, double green, double blue, double alpha)
{
    record(Call::SetFillColor, red, green, blue, alpha);
    GraphicsContext::setRGBFillColor(red, green, blue, alpha);
}

void RecordingGraphicsContext::beginPath()
{
    record(Call::BeginPath);
    GraphicsContext::beginPath();
}

void RecordingGraphicsContext::moveToPoint(double x, double y)
{
    record(Call::MoveToPoint, x, y);
    GraphicsContext::moveToPoint(x, y);
}

void RecordingGraphicsContext::addLineToPoint(double x, double y)
{
    record(Call::AddLineToPoint, x, y);
    GraphicsContext::addLineToPoint(x, y);
}

void RecordingGraphicsContext::strokePath()
{
    record(Call::StrokePath);
    GraphicsContext::strokePath();
}

void RecordingGraphicsContext::fillRect(const QRectF& rect)
{
    record(Call::FillRect, rect.x(), rect.y(), rect.width(), rect.height());
    GraphicsContext::fillRect(rect);
}

void RecordingGraphicsContext::strokeLines(std::span<const Polyline> subpaths)
{
    for (const Polyline& subpath : subpaths) {
        for (size_t i = 1; i < subpath.size(); ++i)
            segments_.push_back({subpath[i - 1], subpath[i], strokeColor(), lineWidth(), strokes_});
    }
    ++strokes_;
}

void RecordingGraphicsContext::fillRectangle(const QRectF& rect)
{
    fills_.push_back({rect, fillColor()});
}

int RecordingGraphicsContext::countOf(Call call) const
{
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(),
                                          [call](const RecordedCall& c) { return c.call == call; }));
}

void RecordingGraphicsContext::clear()
{
    calls_.clear();
    segments_.clear();
    fills_.clear();
    strokes_ = 0;
}

}  // namespace nupo
