#pragma once

#include "platform/appkit/ui/WindowDrawers.h"

namespace nupo {

// The drawers of the 2D spectrum window: a left drawer of 230..300 points, the bottom drawer ending 270
// points from the window's left edge, and the two right drawers. The window's controller binds the nib's
// drawers to it.
class QX2DSpectrumController : public WindowDrawers {
public:
    QX2DSpectrumController() : WindowDrawers({QSizeF(230.0, 230.0), QSizeF(300.0, 300.0), 270.0}) {}

    // The nib gives every drawer: only the left drawer's limits, the right drawers' resizing and the
    // offsets are set here.
    void awakeFromNib()
    {
        setupLeftDrawer();
        watchRightDrawerResizes();
        windowDidResize(myParentWindow);
    }
};

}  // namespace nupo
