#include "platform/quartz/PainterGraphicsContext.h"

#include <QColor>
#include <QPainter>

namespace nupo {

namespace {
QColor toQColor(const RGBAColor& colour)
{
    return QColor::fromRgbF(colour.red, colour.green, colour.blue, colour.alpha);
}
}  // namespace

PainterGraphicsContext::PainterGraphicsContext(QPainter& painter, double height) : painter_(painter)
{
    painter_.save();
    painter_.translate(0.0, height);
    painter_.scale(1.0, -1.0);
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setBrush(Qt::NoBrush);
    pen_.setCapStyle(Qt::FlatCap);
    pen_.setJoinStyle(Qt::MiterJoin);
    updatePen();
}

PainterGraphicsContext::~PainterGraphicsContext()
{
    painter_.restore();
}

void PainterGraphicsContext::updatePen()
{
    const QColor colour = toQColor(strokeColor());
    if (pen_.widthF() != lineWidth() || pen_.color() != colour) {
        pen_.setWidthF(lineWidth());
        pen_.setColor(colour);
        painter_.setPen(pen_);
    }
}

void PainterGraphicsContext::strokeLines(const std::vector<Polyline>& subpaths)
{
    updatePen();
    for (const Polyline& subpath : subpaths) {
        if (subpath.size() == 2)
            painter_.drawLine(subpath[0], subpath[1]);
        else
            painter_.drawPolyline(subpath.data(), static_cast<int>(subpath.size()));
    }
}

void PainterGraphicsContext::fillRectangle(const QRectF& rect)
{
    painter_.fillRect(rect, toQColor(fillColor()));
}

}  // namespace nupo
