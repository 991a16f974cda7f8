#pragma once

// The drawers of the sound-slot and movie windows: one on the left, one at the bottom and two stacked on
// the right. This controller opens, closes and toggles them, keeps the bottom and right ones placed as the
// window is resized, and couples the widths of the two right drawers (they always add up to 300).
// Drawers the window's nib does not provide stay absent; operations on them do nothing.

#include "platform/appkit/ui/Drawer.h"

#include <QPointer>
#include <QSizeF>

class QObject;
class QWidget;

namespace nupo {

class QXDrawerController {
public:
    QXDrawerController() = default;
    virtual ~QXDrawerController() = default;

    // The nib's connections: the parent window and the drawers it has (null where it has none).
    void bind(QWidget* parentWindow, Drawer* left, Drawer* bottom, Drawer* upperRight, Drawer* lowerRight);

    void openLeftDrawer(QObject* sender);
    void closeLeftDrawer(QObject* sender);
    void toggleLeftDrawer(QObject* sender);
    void openBottomDrawer(QObject* sender);
    void closeBottomDrawer(QObject* sender);
    void toggleBottomDrawer(QObject* sender);
    void openUpperRightDrawer(QObject* sender);
    void closeUpperRightDrawer(QObject* sender);
    void toggleUpperRightDrawer(QObject* sender);
    void openLowerRightDrawer(QObject* sender);
    void closeLowerRightDrawer(QObject* sender);
    void toggleLowerRightDrawer(QObject* sender);

    void timerUpdate(QObject*) {}
    void awakeFromNib();
    void windowDidResize(QObject* notification);
    void setBottomDrawerOffsets();
    void setRightDrawerOffsets();
    void setupLeftDrawer();
    void setupBottomDrawer();
    void setupUpperRightDrawer();
    void setupLowerRightDrawer();
    // The size a right drawer takes when asked for `requested`; the other right drawer takes the rest of
    // 300 in width.
    QSizeF drawerWillResizeContents(Drawer* drawer, const QSizeF& requested);

    Drawer* leftDrawer() const { return left; }
    Drawer* bottomDrawer() const { return bottom; }
    Drawer* upperRightDrawer() const { return upperRight; }
    Drawer* lowerRightDrawer() const { return lowerRight; }

    // The offsets for a window height (right drawers) and width (bottom drawer).
    struct RightOffsets {
        double upperLeading, upperTrailing, lowerLeading, lowerTrailing;
    };
    static RightOffsets rightOffsetsFor(double windowHeight);
    static double bottomTrailingOffsetFor(double windowWidth);
    // A right drawer's width: up to the next multiple of 10, held to 50..250.
    static double snappedRightWidth(double requested);

private:
    static void toggle(Drawer* drawer, Drawer::Edge edge);
    Drawer* makeDrawer(Drawer::Edge edge);
    void coupleRightDrawers();

    QPointer<QWidget> myParentWindow;
    QPointer<Drawer> left;
    QPointer<Drawer> bottom;
    QPointer<Drawer> upperRight;
    QPointer<Drawer> lowerRight;
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
