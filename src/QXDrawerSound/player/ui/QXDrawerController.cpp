#include "QXDrawerSound/player/ui/QXDrawerController.h"

namespace nupo {

void QXDrawerController::bind(QWidget* parentWindow, Drawer* left, Drawer* bottom, Drawer* upperRight,
                              Drawer* lowerRight)
{
    drawers.myParentWindow = parentWindow;
    drawers.leftDrawer = left;
    drawers.bottomDrawer = bottom;
    drawers.upperRightDrawer = upperRight;
    drawers.lowerRightDrawer = lowerRight;
    drawers.watchRightDrawerResizes();
}

}  // namespace nupo
