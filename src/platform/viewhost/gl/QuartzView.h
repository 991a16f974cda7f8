#pragma once

#include "platform/viewhost/gl/ViewObject.h"

namespace nupo {

class GraphicsContext;

// A view that draws with the 2D drawing context (unflipped coordinates over its bounds).
class QuartzView : public ViewObject {
public:
    using ViewObject::ViewObject;

    // Draws the view; rect is the area to draw, which the host always passes as the whole bounds.
    virtual void drawRect(GraphicsContext& context, const QRectF& rect) = 0;
};

}  // namespace nupo
