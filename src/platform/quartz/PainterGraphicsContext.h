#pragma once

#include "platform/quartz/GraphicsContext.h"

#include <QPen>

class QPainter;

namespace nupo {

// A GraphicsContext that renders with a QPainter (on a widget or a QImage). The painter's y axis is
// turned over a given height so that the caller draws in unflipped coordinates: y = 0 is the bottom edge.
// Lines are antialiased with butt caps and mitred joins; a width of 0 draws the thinnest visible line.
// The painter's state is restored when the context is destroyed.
class PainterGraphicsContext : public GraphicsContext {
public:
    PainterGraphicsContext(QPainter& painter, double height);
    ~PainterGraphicsContext() override;

protected:
    void strokeLines(const std::vector<Polyline>& subpaths) override;
    void fillRectangle(const QRectF& rect) override;

private:
    void updatePen();

    QPainter& painter_;
    QPen pen_;
};

}  // namespace nupo
