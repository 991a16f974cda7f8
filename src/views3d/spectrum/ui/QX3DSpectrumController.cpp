#include "views3d/spectrum/ui/QX3DSpectrumController.h"

#include "platform/appkit/ui/Drawer.h"
#include "platform/appkit/ui/WindowHandle.h"

#include <algorithm>
#include <cmath>

namespace nupo {

void QX3DSpectrumController::setDrawers(QWidget* window, Drawer* left, Drawer* bottom, Drawer* upperRight,
                                        Drawer* lowerRight)
{
    myParentWindow = window;
    left_ = left;
    bottom_ = bottom;
    upperRight_ = upperRight;
    lowerRight_ = lowerRight;
}

void QX3DSpectrumController::toggle(Drawer* drawer, int edge)
{
    if (!drawer)
        return;
    if (drawer->isOpenOrOpening())
        drawer->close();
    else if (edge < 0)
        drawer->open();
    else
        drawer->openOnEdge(static_cast<Drawer::Edge>(edge));
}

void QX3DSpectrumController::openLeftDrawer(QObject*)
{
    if (left_)
        left_->open();
}
void QX3DSpectrumController::closeLeftDrawer(QObject*)
{
    if (left_)
        left_->close();
}
void QX3DSpectrumController::toggleLeftDrawer(QObject*)
{
    toggle(left_, -1);
}
void QX3DSpectrumController::toggleLeftXDrawer(QObject*)
{
    toggle(left_, static_cast<int>(Drawer::Edge::Left));
}
void QX3DSpectrumController::openBottomDrawer(QObject*)
{
    if (bottom_)
        bottom_->openOnEdge(Drawer::Edge::Bottom);
}
void QX3DSpectrumController::closeBottomDrawer(QObject*)
{
    if (bottom_)
        bottom_->close();
}
void QX3DSpectrumController::toggleBottomDrawer(QObject*)
{
    toggle(bottom_, static_cast<int>(Drawer::Edge::Bottom));
}
void QX3DSpectrumController::openUpperRightDrawer(QObject*)
{
    if (upperRight_)
        upperRight_->openOnEdge(Drawer::Edge::Right);
}
void QX3DSpectrumController::closeUpperRightDrawer(QObject*)
{
    if (upperRight_)
        upperRight_->close();
}
void QX3DSpectrumController::toggleUpperRightDrawer(QObject*)
{
    toggle(upperRight_, static_cast<int>(Drawer::Edge::Right));
}
void QX3DSpectrumController::openLowerRightDrawer(QObject*)
{
    if (lowerRight_)
        lowerRight_->openOnEdge(Drawer::Edge::Right);
}
void QX3DSpectrumController::closeLowerRightDrawer(QObject*)
{
    if (lowerRight_)
        lowerRight_->close();
}
void QX3DSpectrumController::toggleLowerRightDrawer(QObject*)
{
    toggle(lowerRight_, static_cast<int>(Drawer::Edge::Right));
}

void QX3DSpectrumController::setupLeftDrawer()
{
    if (!left_)
        return;
    left_->setMinContentSize(layout_.leftMinimum);
    left_->setMaxContentSize(layout_.leftMaximum);
}

void QX3DSpectrumController::setupBottomDrawer()
{
    if (!myParentWindow)
        return;
    if (!bottom_)
        bottom_ = new Drawer(myParentWindow, Drawer::Edge::Bottom);
    bottom_->setContentSize(QSizeF(100.0, 100.0));
    bottom_->setPreferredEdge(Drawer::Edge::Bottom);
    bottom_->setParentWindow(myParentWindow);
    bottom_->setMinContentSize(QSizeF(100.0, 100.0));
    bottom_->setMaxContentSize(QSizeF(100.0, 100.0));
}

void QX3DSpectrumController::watchRightDrawer(Drawer* drawer)
{
    drawer->setWillResizeContents([this](Drawer* resizing, const QSizeF& requested) {
        return drawerWillResizeContents(resizing, requested);
    });
}

void QX3DSpectrumController::setupUpperRightDrawer()
{
    if (!myParentWindow)
        return;
    if (!upperRight_)
        upperRight_ = new Drawer(myParentWindow, Drawer::Edge::Right);
    upperRight_->setContentSize(QSizeF(150.0, 150.0));
    upperRight_->setPreferredEdge(Drawer::Edge::Right);
    upperRight_->setParentWindow(myParentWindow);
    upperRight_->setMinContentSize(QSizeF(50.0, 50.0));
    watchRightDrawer(upperRight_);
}

void QX3DSpectrumController::setupLowerRightDrawer()
{
    if (!myParentWindow)
        return;
    if (!lowerRight_)
        lowerRight_ = new Drawer(myParentWindow, Drawer::Edge::Right);
    lowerRight_->setContentSize(QSizeF(150.0, 150.0));
    lowerRight_->setPreferredEdge(Drawer::Edge::Right);
    lowerRight_->setParentWindow(myParentWindow);
    lowerRight_->setMinContentSize(QSizeF(50.0, 50.0));
    watchRightDrawer(lowerRight_);
}

void QX3DSpectrumController::setBottomDrawerOffsets()
{
    if (!bottom_ || !myParentWindow)
        return;
    bottom_->setLeadingOffset(50.0);
    bottom_->setTrailingOffset(WindowHandle(myParentWindow).frame().width() - layout_.bottomTrailingReserve);
}

QX3DSpectrumController::RightOffsets QX3DSpectrumController::rightDrawerOffsets(double h)
{
    const auto half = static_cast<unsigned>(h / 2.0);
    return RightOffsets{half, half, static_cast<unsigned>(h - 2.0 * half) + 50u};
}

void QX3DSpectrumController::setRightDrawerOffsets()
{
    if (!myParentWindow)
        return;
    const RightOffsets offsets = rightDrawerOffsets(WindowHandle(myParentWindow).frame().height());
    if (upperRight_) {
        upperRight_->setLeadingOffset(50.0);
        upperRight_->setTrailingOffset(offsets.upperTrailing);
    }
    if (lowerRight_) {
        lowerRight_->setLeadingOffset(offsets.lowerLeading);
        lowerRight_->setTrailingOffset(offsets.lowerTrailing);
    }
}

void QX3DSpectrumController::awakeFromNib()
{
    setupLeftDrawer();
    // The right drawers of the nib share their width as the drawers this controller makes do.
    for (Drawer* right : {upperRight_, lowerRight_})
        if (right)
            watchRightDrawer(right);
}

void QX3DSpectrumController::windowDidResize(QObject*)
{
    setBottomDrawerOffsets();
    setRightDrawerOffsets();
}

double QX3DSpectrumController::rightDrawerWidth(double requested)
{
    return std::clamp(std::ceil(requested / 10.0) * 10.0, 50.0, 250.0);
}

QSizeF QX3DSpectrumController::drawerWillResizeContents(Drawer* drawer, const QSizeF& requested)
{
    const double w = rightDrawerWidth(requested.width());
    Drawer* other = drawer == upperRight_ ? lowerRight_ : (drawer == lowerRight_ ? upperRight_ : nullptr);
    if (drawer && other)
        other->setContentSize(QSizeF(300.0 - w, other->contentSize().height()));
    return QSizeF(w, requested.height());
}

}  // namespace nupo
