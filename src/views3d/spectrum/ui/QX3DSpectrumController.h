#pragma once

#include "platform/appkit/ui/WindowDrawers.h"

namespace nupo {

// The drawers of the 3D band-spectrum window: a left drawer of 130..300 points, the bottom drawer ending
// 270 points from the window's left edge, and the two right drawers, all four from the nib.
class QX3DSpectrumController : public WindowDrawers {
public:
    QX3DSpectrumController() : WindowDrawers({QSizeF(130.0, 130.0), QSizeF(300.0, 300.0), 270.0}) {}

    // The left drawer's limits; the nib's right drawers share their width.
    void awakeFromNib()
    {
        setupLeftDrawer();
        if (upperRightDrawer)
            setupUpperRightDrawer();
        if (lowerRightDrawer)
            setupLowerRightDrawer();
    }
};

}  // namespace nupo
