#pragma once

#include "platform/appkit/ui/WindowDrawers.h"

namespace nupo {

// The drawers of the wave-surface window: a left drawer of 100..400 points, the bottom drawer ending 670
// points from the window's left edge, and the two right drawers.
class QXnewaveController : public WindowDrawers {
public:
    QXnewaveController() : WindowDrawers({QSizeF(100.0, 100.0), QSizeF(400.0, 400.0), 670.0}) {}

    void awakeFromNib()
    {
        setupLeftDrawer();
        setupBottomDrawer();
        setupUpperRightDrawer();
        setupLowerRightDrawer();
        setBottomDrawerOffsets();
        setRightDrawerOffsets();
    }
};

}  // namespace nupo
