#pragma once

#include <QSizeF>

class QObject;
class QWidget;

namespace nupo {

class Drawer;

// The drawers of a 3D window: a left drawer, a bottom drawer and two right drawers one above the other.
// Opens, closes and toggles them, sets their sizes and offsets, and keeps the two right drawers at 300
// points of width together. A missing drawer makes every operation on it do nothing. The window
// families differ only in their constants (`Layout`); the 3D band-spectrum window's are the defaults.
class QX3DSpectrumController {
public:
    struct Layout {
        QSizeF leftMinimum{130.0, 130.0};
        QSizeF leftMaximum{300.0, 300.0};
        double bottomTrailingReserve = 270.0;  // bottom trailing offset = window width - this
    };

    QX3DSpectrumController() = default;
    explicit QX3DSpectrumController(const Layout& layout) : layout_(layout) {}

    // The window and the drawers the nib has (any may be null).
    void setDrawers(QWidget* window, Drawer* left, Drawer* bottom, Drawer* upperRight, Drawer* lowerRight);

    void openLeftDrawer(QObject* sender = nullptr);
    void closeLeftDrawer(QObject* sender = nullptr);
    void toggleLeftDrawer(QObject* sender = nullptr);
    void toggleLeftXDrawer(QObject* sender = nullptr);
    void openBottomDrawer(QObject* sender = nullptr);
    void closeBottomDrawer(QObject* sender = nullptr);
    void toggleBottomDrawer(QObject* sender = nullptr);
    void openUpperRightDrawer(QObject* sender = nullptr);
    void closeUpperRightDrawer(QObject* sender = nullptr);
    void toggleUpperRightDrawer(QObject* sender = nullptr);
    void openLowerRightDrawer(QObject* sender = nullptr);
    void closeLowerRightDrawer(QObject* sender = nullptr);
    void toggleLowerRightDrawer(QObject* sender = nullptr);

    void setupLeftDrawer();
    void setupBottomDrawer();
    void setupUpperRightDrawer();
    void setupLowerRightDrawer();
    void setBottomDrawerOffsets();
    void setRightDrawerOffsets();
    // The 3D band-spectrum window's set-up: the left drawer's limits, and the right drawers' resize rule
    // for those the nib provides.
    void awakeFromNib();
    void windowDidResize(QObject* window = nullptr);
    // The size a right drawer may take for a requested size; resizes the other right drawer to match.
    QSizeF drawerWillResizeContents(Drawer* drawer, const QSizeF& requested);

    // Width the resizing right drawer takes: the request raised to a multiple of 10, kept in 50..250.
    static double rightDrawerWidth(double requested);
    // Upper trailing, lower leading and lower trailing offsets for a window h points high.
    struct RightOffsets {
        unsigned upperTrailing, lowerLeading, lowerTrailing;
    };
    static RightOffsets rightDrawerOffsets(double windowHeight);

    Drawer* leftDrawer() const { return left_; }
    Drawer* bottomDrawer() const { return bottom_; }
    Drawer* upperRightDrawer() const { return upperRight_; }
    Drawer* lowerRightDrawer() const { return lowerRight_; }

private:
    void toggle(Drawer* drawer, int edge);
    void watchRightDrawer(Drawer* drawer);

    Layout layout_;
    QWidget* myParentWindow = nullptr;
    Drawer* left_ = nullptr;
    Drawer* bottom_ = nullptr;
    Drawer* upperRight_ = nullptr;
    Drawer* lowerRight_ = nullptr;
};

}  // namespace nupo
