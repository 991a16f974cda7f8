#include "plots/waterfall/ui/QX2DSpectrumController.h"

#include "platform/appkit/ui/Drawer.h"
#include "platform/appkit/ui/WindowHandle.h"

#include <cmath>

namespace nupo {

namespace {

void open(Drawer* drawer, Drawer::Edge edge)
{
    if (drawer)
        drawer->openOnEdge(edge);
}

void close(Drawer* drawer)
{
    if (drawer)
        drawer->close();
}

void toggle(Drawer* drawer, Drawer::Edge edge)
{
    if (!drawer)
        return;
    if (drawer->isOpenOrOpening())
        drawer->close();
    else
        drawer->openOnEdge(edge);
}

double windowHeight(QWidget* window)
{
    return window ? WindowHandle(window).frame().height() : 0.0;
}

}  // namespace

void QX2DSpectrumController::openLeftDrawer(QObject*)
{
    if (leftDrawer)
        leftDrawer->open();
}

void QX2DSpectrumController::closeLeftDrawer(QObject*)
{
    close(leftDrawer);
}

void QX2DSpectrumController::toggleLeftDrawer(QObject*)
{
    if (leftDrawer)
        leftDrawer->toggle();
}

void QX2DSpectrumController::toggleLeftXDrawer(QObject*)
{
    toggle(leftDrawer, Drawer::Edge::Left);
}

void QX2DSpectrumController::openBottomDrawer(QObject*)
{
    open(bottomDrawer, Drawer::Edge::Bottom);
}

void QX2DSpectrumController::closeBottomDrawer(QObject*)
{
    close(bottomDrawer);
}

void QX2DSpectrumController::toggleBottomDrawer(QObject*)
{
    toggle(bottomDrawer, Drawer::Edge::Bottom);
}

void QX2DSpectrumController::openUpperRightDrawer(QObject*)
{
    open(upperRightDrawer, Drawer::Edge::Right);
}

void QX2DSpectrumController::closeUpperRightDrawer(QObject*)
{
    close(upperRightDrawer);
}

void QX2DSpectrumController::toggleUpperRightDrawer(QObject*)
{
    toggle(upperRightDrawer, Drawer::Edge::Right);
}

void QX2DSpectrumController::openLowerRightDrawer(QObject*)
{
    open(lowerRightDrawer, Drawer::Edge::Right);
}

void QX2DSpectrumController::closeLowerRightDrawer(QObject*)
{
    close(lowerRightDrawer);
}

void QX2DSpectrumController::toggleLowerRightDrawer(QObject*)
{
    toggle(lowerRightDrawer, Drawer::Edge::Right);
}

void QX2DSpectrumController::setBottomDrawerOffsets()
{
    if (!bottomDrawer || !myParentWindow)
        return;
    bottomDrawer->setLeadingOffset(50.0);
    bottomDrawer->setTrailingOffset(WindowHandle(myParentWindow).frame().width() - 270.0);
}

void QX2DSpectrumController::setRightDrawerOffsets()
{
    if (!myParentWindow)
        return;
    const double h = windowHeight(myParentWindow);
    const auto half = static_cast<unsigned>(h * 0.5);
    if (upperRightDrawer) {
        upperRightDrawer->setLeadingOffset(50.0);
        upperRightDrawer->setTrailingOffset(half);
    }
    if (lowerRightDrawer) {
        lowerRightDrawer->setLeadingOffset(half);
        lowerRightDrawer->setTrailingOffset(static_cast<unsigned>(h - 2.0 * half) + 50.0);
    }
}

void QX2DSpectrumController::awakeFromNib()
{
    setupLeftDrawer();
    for (Drawer* drawer : {upperRightDrawer, lowerRightDrawer})
        if (drawer)
            drawer->setWillResizeContents(
                [this](Drawer* d, const QSizeF& size) { return drawerWillResizeContents(d, size); });
    windowDidResize(myParentWindow);
}

void QX2DSpectrumController::windowDidResize(QObject*)
{
    setBottomDrawerOffsets();
    setRightDrawerOffsets();
}

QSizeF QX2DSpectrumController::drawerWillResizeContents(Drawer* drawer, const QSizeF& size)
{
    double depth = std::ceil(size.width() / 10.0) * 10.0;
    depth = depth < 50.0 ? 50.0 : (depth > 250.0 ? 250.0 : depth);
    Drawer* other = drawer == upperRightDrawer   ? lowerRightDrawer
                    : drawer == lowerRightDrawer ? upperRightDrawer
                                                 : nullptr;
    if (other)
        other->setContentSize(QSizeF(300.0 - depth, other->contentSize().height()));
    return QSizeF(depth, size.height());
}

void QX2DSpectrumController::setupLeftDrawer()
{
    if (!leftDrawer)
        return;
    leftDrawer->setMinContentSize(QSizeF(230.0, 230.0));
    leftDrawer->setMaxContentSize(QSizeF(300.0, 300.0));
}

void QX2DSpectrumController::setupBottomDrawer()
{
    if (!myParentWindow)
        return;
    bottomDrawer = new Drawer(myParentWindow, Drawer::Edge::Bottom);
    bottomDrawer->setMinContentSize(QSizeF(100.0, 100.0));
    bottomDrawer->setMaxContentSize(QSizeF(100.0, 100.0));
    bottomDrawer->setContentSize(QSizeF(100.0, 100.0));
}

void QX2DSpectrumController::setupRightDrawer(Drawer*& drawer)
{
    if (!myParentWindow)
        return;
    drawer = new Drawer(myParentWindow, Drawer::Edge::Right);
    drawer->setMinContentSize(QSizeF(50.0, 50.0));
    drawer->setContentSize(QSizeF(150.0, 150.0));
    drawer->setWillResizeContents(
        [this](Drawer* d, const QSizeF& size) { return drawerWillResizeContents(d, size); });
}

void QX2DSpectrumController::setupUpperRightDrawer()
{
    setupRightDrawer(upperRightDrawer);
}

void QX2DSpectrumController::setupLowerRightDrawer()
{
    setupRightDrawer(lowerRightDrawer);
}

}  // namespace nupo
