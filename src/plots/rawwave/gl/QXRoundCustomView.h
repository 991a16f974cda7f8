#pragma once

#include "platform/colour/RGBAColor.h"
#include "platform/viewhost/gl/QuartzView.h"

#include <QRectF>

namespace nupo {

class GraphicsContext;

// Layout of the transparent front raw-wave window, read when its view is loaded: 0 small round,
// 1 large round, 2 wide band, 3 screen-wide band.
inline int WindowMode = 0;

// The view of the transparent front raw-wave window: the two traces of CH 1 and CH 2 drawn through the
// shared raw-wave view, with no background, so that only the traces show.
class QXRoundCustomView : public QuartzView {
public:
    QXRoundCustomView();

    // Refetches the four raw-wave display windows at `ploop` and draws the left/right traces.
    void drawRect(GraphicsContext& context, const QRectF& rect) override;

    void setCursorColor(const RGBAColor& colour) { cursorColor = colour; }
    int layout() const { return windowMode; }

    // The window size of a layout (a screen-wide band takes the given screen width).
    static QSizeF sizeForMode(int mode, double screenWidth);
    static bool isRound(int mode) { return mode == 0 || mode == 1; }

private:
    int windowMode = 0;
    RGBAColor cursorColor = RGBAColor::fromRGBA(1.0, 1.0, 1.0, 0.6);
};

}  // namespace nupo
