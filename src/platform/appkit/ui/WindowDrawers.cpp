#include "platform/appkit/ui/WindowDrawers.h"

#include "platform/appkit/ui/Drawer.h"
#include "platform/appkit/ui/WindowHandle.h"

#include <algorithm>
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

}  // namespace

void WindowDrawers::openLeftDrawer(QObject*)
{
    if (leftDrawer)
        leftDrawer->open();
}

void WindowDrawers::closeLeftDrawer(QObject*)
{
    close(leftDrawer);
}

void WindowDrawers::toggleLeftDrawer(QObject*)
{
    if (leftDrawer)
        leftDrawer->toggle();
}

void WindowDrawers::toggleLeftXDrawer(QObject*)
{
    toggle(leftDrawer, Drawer::Edge::Left);
}

void WindowDrawers::openBottomDrawer(QObject*)
{
    setBottomDrawerOffsets();
    open(bottomDrawer, Drawer::Edge::Bottom);
}

void WindowDrawers::closeBottomDrawer(QObject*)
{
    close(bottomDrawer);
}

void WindowDrawers::toggleBottomDrawer(QObject*)
{
    setBottomDrawerOffsets();
    toggle(bottomDrawer, Drawer::Edge::Bottom);
}

void WindowDrawers::openUpperRightDrawer(QObject*)
{
    setRightDrawerOffsets();
    open(upperRightDrawer, Drawer::Edge::Right);
}

void WindowDrawers::closeUpperRightDrawer(QObject*)
{
    close(upperRightDrawer);
}

void WindowDrawers::toggleUpperRightDrawer(QObject*)
{
    setRightDrawerOffsets();
    toggle(upperRightDrawer, Drawer::Edge::Right);
}

void WindowDrawers::openLowerRightDrawer(QObject*)
{
    setRightDrawerOffsets();
    open(lowerRightDrawer, Drawer::Edge::Right);
}

void WindowDrawers::closeLowerRightDrawer(QObject*)
{
    close(lowerRightDrawer);
}

void WindowDrawers::toggleLowerRightDrawer(QObject*)
{
    setRightDrawerOffsets();
    toggle(lowerRightDrawer, Drawer::Edge::Right);
}

void WindowDrawers::setupLeftDrawer()
{
    if (!leftDrawer)
        return;
    leftDrawer->setMinContentSize(limits_.leftMinimum);
    leftDrawer->setMaxContentSize(limits_.leftMaximum);
}

void WindowDrawers::setupBottomDrawer()
{
    if (!bottomDrawer) {
        if (!myParentWindow)
            return;
        bottomDrawer = new Drawer(myParentWindow, Drawer::Edge::Bottom);
    }
    bottomDrawer->setPreferredEdge(Drawer::Edge::Bottom);
    bottomDrawer->setMinContentSize(QSizeF(100.0, 100.0));
    bottomDrawer->setMaxContentSize(QSizeF(100.0, 100.0));
    bottomDrawer->setContentSize(QSizeF(100.0, 100.0));
}

void WindowDrawers::setupRightDrawer(Drawer*& drawer)
{
    if (!drawer) {
        if (!myParentWindow)
            return;
        drawer = new Drawer(myParentWindow, Drawer::Edge::Right);
        drawer->setContentSize(QSizeF(150.0, 150.0));
    }
    drawer->setPreferredEdge(Drawer::Edge::Right);
    drawer->setMinContentSize(QSizeF(50.0, 50.0));
    watchResizes(drawer);
}

void WindowDrawers::watchResizes(Drawer* drawer)
{
    if (drawer)
        drawer->setWillResizeContents(
            [this](Drawer* d, const QSizeF& size) { return drawerWillResizeContents(d, size); });
}

void WindowDrawers::watchRightDrawerResizes()
{
    watchResizes(upperRightDrawer);
    watchResizes(lowerRightDrawer);
}

void WindowDrawers::setupUpperRightDrawer()
{
    setupRightDrawer(upperRightDrawer);
}

void WindowDrawers::setupLowerRightDrawer()
{
    setupRightDrawer(lowerRightDrawer);
}

void WindowDrawers::setBottomDrawerOffsets()
{
    if (!bottomDrawer || !myParentWindow)
        return;
    bottomDrawer->setLeadingOffset(50.0);
    bottomDrawer->setTrailingOffset(bottomTrailingOffsetFor(WindowHandle(myParentWindow).frame().width()));
}

void WindowDrawers::setRightDrawerOffsets()
{
    if (!myParentWindow)
        return;
    const RightOffsets offsets = rightOffsetsFor(WindowHandle(myParentWindow).frame().height());
    if (upperRightDrawer) {
        upperRightDrawer->setLeadingOffset(offsets.upperLeading);
        upperRightDrawer->setTrailingOffset(offsets.upperTrailing);
    }
    if (lowerRightDrawer) {
        lowerRightDrawer->setLeadingOffset(offsets.lowerLeading);
        lowerRightDrawer->setTrailingOffset(offsets.lowerTrailing);
    }
}

WindowDrawers::RightOffsets WindowDrawers::rightOffsetsFor(double windowHeight)
{
    // Both meet at the middle row; the odd point of an odd height goes to the lower one's trailing offset.
    const double half = std::floor(std::max(0.0, windowHeight / 2.0));
    const double rest = std::floor(std::max(0.0, windowHeight - 2.0 * half));
    return {50.0, half, half, rest + 50.0};
}

double WindowDrawers::snappedRightWidth(double requested)
{
    return std::clamp(std::ceil(requested / 10.0) * 10.0, 50.0, 250.0);
}

void WindowDrawers::windowDidResize(QObject*)
{
    setBottomDrawerOffsets();
    setRightDrawerOffsets();
}

QSizeF WindowDrawers::drawerWillResizeContents(Drawer* drawer, const QSizeF& size)
{
    const double depth = snappedRightWidth(size.width());
    Drawer* other = drawer == upperRightDrawer   ? lowerRightDrawer
                    : drawer == lowerRightDrawer ? upperRightDrawer
                                                 : nullptr;
    if (drawer && other)
        other->setContentSize(QSizeF(300.0 - depth, other->contentSize().height()));
    return QSizeF(depth, size.height());
}

}  // namespace nupo
