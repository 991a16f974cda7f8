#pragma once

#include <QSizeF>

class QObject;
class QWidget;

namespace nupo {

class Drawer;

// The four drawers of the 2D spectrum window: one on the left edge, one on the bottom edge and two on
// the right edge, one above the other. Opens, closes and toggles them, limits the left drawer's size,
// keeps the bottom and right drawers' offsets in step with the window's size and the two right
// drawers' depths adding up to 300 points. The window's controller binds the nib's drawers to it.
class QX2DSpectrumController {
public:
    void openLeftDrawer(QObject* sender);
    void closeLeftDrawer(QObject* sender);
    void toggleLeftDrawer(QObject* sender);
    void toggleLeftXDrawer(QObject* sender);
    void openBottomDrawer(QObject* sender);
    void closeBottomDrawer(QObject* sender);
    void toggleBottomDrawer(QObject* sender);
    void openUpperRightDrawer(QObject* sender);
    void closeUpperRightDrawer(QObject* sender);
    void toggleUpperRightDrawer(QObject* sender);
    void openLowerRightDrawer(QObject* sender);
    void closeLowerRightDrawer(QObject* sender);
    void toggleLowerRightDrawer(QObject* sender);

    // Bottom drawer: leading offset 50, trailing offset = window width − 270.
    void setBottomDrawerOffsets();
    // Right drawers: the upper from 50 below the top to the middle, the lower from the middle to 50 above
    // the bottom.
    void setRightDrawerOffsets();
    void awakeFromNib();
    void windowDidResize(QObject* window);
    // A right drawer's new depth: rounded up to tens, kept within 50..250; the other right drawer takes
    // the rest of 300.
    QSizeF drawerWillResizeContents(Drawer* drawer, const QSizeF& size);

    // Left drawer: content size 230..300 each way.
    void setupLeftDrawer();
    // Drawers made in code (this window takes its drawers from the nib and does not call these).
    void setupBottomDrawer();
    void setupUpperRightDrawer();
    void setupLowerRightDrawer();

    QWidget* myParentWindow = nullptr;
    Drawer* leftDrawer = nullptr;
    Drawer* bottomDrawer = nullptr;
    Drawer* upperRightDrawer = nullptr;
    Drawer* lowerRightDrawer = nullptr;

private:
    void setupRightDrawer(Drawer*& drawer);
};

}  // namespace nupo
