#pragma once

#include "platform/quartz/gl/GraphicsContext.h"

namespace nupo {

// Draws into another context with the y axis turned over a given height: what is drawn here at
// (x, y) lands there at (x, height − y). The drawing canvas works in drawing coordinates (origin top
// left, y downward) over the unflipped context its host gives it.
class FlippedGraphicsContext : public GraphicsContext {
public:
    FlippedGraphicsContext(GraphicsContext& target, double height) : target_(target), height_(height) {}

protected:
    void strokeLines(std::span<const Polyline> subpaths) override;
    void fillRectangle(const QRectF& rect) override;

private:
    GraphicsContext& target_;
    double height_;
};

}  // namespace nupo
