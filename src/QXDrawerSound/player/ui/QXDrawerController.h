#pragma once

// The drawers of the sound-slot and movie windows: one on the left, one at the bottom and two stacked on
// the right. This controller opens, closes and toggles them, keeps the bottom and right ones placed as the
// window is resized, and couples the widths of the two right drawers (they always add up to 300).
// Drawers the window's nib does not provide stay absent; operations on them do nothing.

#include "platform/appkit/ui/Drawer.h"
#include "platform/appkit/ui/WindowDrawers.h"

class QObject;
class QWidget;

namespace nupo {

// The shared drawer logic with this window's constants: a left drawer of 100..400 points and the bottom
// drawer ending 700 points from the window's left edge.
class QXDrawerController {
public:
    static constexpr WindowDrawers::Limits limits{QSizeF(100.0, 100.0), QSizeF(400.0, 400.0), 700.0};

    QXDrawerController() = default;
    virtual ~QXDrawerController() = default;

    // The nib's connections: the parent window and the drawers it has (null where it has none).
    void bind(QWidget* parentWindow, Drawer* left, Drawer* bottom, Drawer* upperRight, Drawer* lowerRight);

    void openLeftDrawer(QObject* sender) { drawers.openLeftDrawer(sender); }
    void closeLeftDrawer(QObject* sender) { drawers.closeLeftDrawer(sender); }
    void toggleLeftDrawer(QObject* sender) { drawers.toggleLeftDrawer(sender); }
    void openBottomDrawer(QObject* sender) { drawers.openBottomDrawer(sender); }
    void closeBottomDrawer(QObject* sender) { drawers.closeBottomDrawer(sender); }
    void toggleBottomDrawer(QObject* sender) { drawers.toggleBottomDrawer(sender); }
    void openUpperRightDrawer(QObject* sender) { drawers.openUpperRightDrawer(sender); }
    void closeUpperRightDrawer(QObject* sender) { drawers.closeUpperRightDrawer(sender); }
    void toggleUpperRightDrawer(QObject* sender) { drawers.toggleUpperRightDrawer(sender); }
    void openLowerRightDrawer(QObject* sender) { drawers.openLowerRightDrawer(sender); }
    void closeLowerRightDrawer(QObject* sender) { drawers.closeLowerRightDrawer(sender); }
    void toggleLowerRightDrawer(QObject* sender) { drawers.toggleLowerRightDrawer(sender); }

    void timerUpdate(QObject*) {}
    void awakeFromNib() { drawers.setupLeftDrawer(); }
    void windowDidResize(QObject* notification) { drawers.windowDidResize(notification); }
    void setBottomDrawerOffsets() { drawers.setBottomDrawerOffsets(); }
    void setRightDrawerOffsets() { drawers.setRightDrawerOffsets(); }
    void setupLeftDrawer() { drawers.setupLeftDrawer(); }
    void setupBottomDrawer() { drawers.setupBottomDrawer(); }
    void setupUpperRightDrawer() { drawers.setupUpperRightDrawer(); }
    void setupLowerRightDrawer() { drawers.setupLowerRightDrawer(); }
    // The size a right drawer takes when asked for `requested`; the other right drawer takes the rest of
    // 300 in width.
    QSizeF drawerWillResizeContents(Drawer* drawer, const QSizeF& requested)
    {
        return drawers.drawerWillResizeContents(drawer, requested);
    }

    Drawer* leftDrawer() const { return drawers.leftDrawer; }
    Drawer* bottomDrawer() const { return drawers.bottomDrawer; }
    Drawer* upperRightDrawer() const { return drawers.upperRightDrawer; }
    Drawer* lowerRightDrawer() const { return drawers.lowerRightDrawer; }

    // The offsets for a window height (right drawers) and width (bottom drawer).
    using RightOffsets = WindowDrawers::RightOffsets;
    static RightOffsets rightOffsetsFor(double windowHeight)
    {
        return WindowDrawers::rightOffsetsFor(windowHeight);
    }
    static double bottomTrailingOffsetFor(double windowWidth)
    {
        return WindowDrawers(limits).bottomTrailingOffsetFor(windowWidth);
    }
    // A right drawer's width: up to the next multiple of 10, held to 50..250.
    static double snappedRightWidth(double requested) { return WindowDrawers::snappedRightWidth(requested); }

private:
    WindowDrawers drawers{limits};
};

// The sound-slot windows' drawer controller; the slot copies A to I are the same class.
class QXDrawerSoundController : public QXDrawerController {};
using QXDrawerSoundControllerA = QXDrawerSoundController;
using QXDrawerSoundControllerB = QXDrawerSoundController;
using QXDrawerSoundControllerC = QXDrawerSoundController;
using QXDrawerSoundControllerD = QXDrawerSoundController;
using QXDrawerSoundControllerE = QXDrawerSoundController;
using QXDrawerSoundControllerF = QXDrawerSoundController;
using QXDrawerSoundControllerG = QXDrawerSoundController;
using QXDrawerSoundControllerH = QXDrawerSoundController;
using QXDrawerSoundControllerI = QXDrawerSoundController;

}  // namespace nupo
