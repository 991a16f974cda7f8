#pragma once

#include <QSizeF>

class QObject;
class QWidget;

namespace nupo {

class Drawer;

// The drawers of a window (the waterfall and the 3D windows): one on the left edge, one on the bottom
// edge and two on the right edge, one above the other. Opens, closes and toggles them (an absent drawer
// makes every operation on it do nothing), limits the left drawer's size, keeps the bottom and right
// drawers' offsets in step with the window's size and the two right drawers' depths adding up to 300
// points. The windows differ only in the constants they pass in; each window's drawer controller is this
// class with its own constants.
//
// The bottom and right drawers take their offsets from the window's frame again as they open: the
// window manager may have framed the window (adding its title bar to the frame's height) since the
// last resize.
class WindowDrawers {
public:
    struct Limits {
        QSizeF leftMinimum;
        QSizeF leftMaximum;
        double bottomTrailing;  // the bottom drawer ends this far from the window's left edge
    };
    explicit WindowDrawers(const Limits& limits) : limits_(limits) {}

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

    // Left drawer: content size within the window's limits.
    void setupLeftDrawer();
    // Bottom drawer 100 x 100, fixed; made here unless the nib gave one.
    void setupBottomDrawer();
    // Right drawers 150 x 150, at least 50 x 50, resized through drawerWillResizeContents; made here
    // unless the nib gave them.
    void setupUpperRightDrawer();
    void setupLowerRightDrawer();
    // Lets the right drawers the nib gave resize through drawerWillResizeContents, leaving their other
    // settings as the nib has them.
    void watchRightDrawerResizes();
    // Bottom drawer: leading offset 50, trailing offset = window width - the window's bottom constant.
    void setBottomDrawerOffsets();
    // Right drawers: the upper from 50 below the top to the middle, the lower from the middle to about 50
    // above the bottom.
    void setRightDrawerOffsets();
    void windowDidResize(QObject* window);
    // A right drawer's new depth: rounded up to tens, kept within 50..250; the other right drawer takes
    // the rest of 300.
    QSizeF drawerWillResizeContents(Drawer* drawer, const QSizeF& size);

    // The right drawers' offsets for a window height: the upper from 50 below the top to the middle, the
    // lower from the middle to 50 (and the odd point) above the bottom; they meet on the middle row.
    struct RightOffsets {
        double upperLeading, upperTrailing, lowerLeading, lowerTrailing;
    };
    static RightOffsets rightOffsetsFor(double windowHeight);
    // The bottom drawer's trailing offset for a window width.
    double bottomTrailingOffsetFor(double windowWidth) const { return windowWidth - limits_.bottomTrailing; }
    // A right drawer's depth: up to the next multiple of 10, held to 50..250.
    static double snappedRightWidth(double requested);

    QWidget* myParentWindow = nullptr;
    Drawer* leftDrawer = nullptr;
    Drawer* bottomDrawer = nullptr;
    Drawer* upperRightDrawer = nullptr;
    Drawer* lowerRightDrawer = nullptr;

private:
    void setupRightDrawer(Drawer*& drawer);
    void watchResizes(Drawer* drawer);

    Limits limits_;
};

}  // namespace nupo
