#include "QXDrawerSound/window/QXDrawerController.h"

#include "platform/appkit/ui/WindowHandle.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace nupo {

namespace {

constexpr double edgeInset = 50.0;
constexpr double bottomSpan = 700.0;
constexpr double coupledWidth = 300.0;
constexpr double narrowestRight = 50.0;
constexpr double widestRight = 250.0;
const QSizeF createdRightSize{150.0, 150.0};
const QSizeF bottomSize{100.0, 100.0};
const QSizeF leftMinimum{100.0, 100.0};
const QSizeF leftMaximum{400.0, 400.0};
const QSizeF rightMinimum{50.0, 50.0};

}  // namespace

void QXDrawerController::bind(QWidget* parentWindow, Drawer* leftDrawer, Drawer* bottomDrawer,
                              Drawer* upperRightDrawer, Drawer* lowerRightDrawer)
{
    myParentWindow = parentWindow;
    left = leftDrawer;
    bottom = bottomDrawer;
    upperRight = upperRightDrawer;
    lowerRight = lowerRightDrawer;
    coupleRightDrawers();
}

void QXDrawerController::toggle(Drawer* drawer, Drawer::Edge edge)
{
    if (!drawer)
        return;
    if (drawer->isOpenOrOpening())
        drawer->close();
    else
        drawer->openOnEdge(edge);
}

void QXDrawerController::openLeftDrawer(QObject*)
{
    if (left)
        left->open();
}
void QXDrawerController::closeLeftDrawer(QObject*)
{
    if (left)
        left->close();
}
void QXDrawerController::toggleLeftDrawer(QObject*)
{
    if (left)
        toggle(left, left->preferredEdge());
}
void QXDrawerController::openBottomDrawer(QObject*)
{
    if (bottom)
        bottom->openOnEdge(Drawer::Edge::Bottom);
}
void QXDrawerController::closeBottomDrawer(QObject*)
{
    if (bottom)
        bottom->close();
}
void QXDrawerController::toggleBottomDrawer(QObject*)
{
    toggle(bottom, Drawer::Edge::Bottom);
}
void QXDrawerController::openUpperRightDrawer(QObject*)
{
    if (upperRight)
        upperRight->openOnEdge(Drawer::Edge::Right);
}
void QXDrawerController::closeUpperRightDrawer(QObject*)
{
    if (upperRight)
        upperRight->close();
}
void QXDrawerController::toggleUpperRightDrawer(QObject*)
{
    toggle(upperRight, Drawer::Edge::Right);
}
void QXDrawerController::openLowerRightDrawer(QObject*)
{
    if (lowerRight)
        lowerRight->openOnEdge(Drawer::Edge::Right);
}
void QXDrawerController::closeLowerRightDrawer(QObject*)
{
    if (lowerRight)
        lowerRight->close();
}
void QXDrawerController::toggleLowerRightDrawer(QObject*)
{
    toggle(lowerRight, Drawer::Edge::Right);
}

void QXDrawerController::awakeFromNib()
{
    setupLeftDrawer();
}

void QXDrawerController::windowDidResize(QObject*)
{
    setBottomDrawerOffsets();
    setRightDrawerOffsets();
}

QXDrawerController::RightOffsets QXDrawerController::rightOffsetsFor(double windowHeight)
{
    const double half = std::floor(std::max(0.0, windowHeight * 0.5));
    const double rest = std::floor(std::max(0.0, windowHeight - 2.0 * half));
    return {edgeInset, half, half, rest + edgeInset};
}

double QXDrawerController::bottomTrailingOffsetFor(double windowWidth)
{
    return windowWidth - bottomSpan;
}

double QXDrawerController::snappedRightWidth(double requested)
{
    return std::clamp(std::ceil(requested / 10.0) * 10.0, narrowestRight, widestRight);
}

void QXDrawerController::setBottomDrawerOffsets()
{
    if (!bottom || !myParentWindow)
        return;
    bottom->setLeadingOffset(edgeInset);
    bottom->setTrailingOffset(bottomTrailingOffsetFor(WindowHandle(myParentWindow).frame().width()));
}

void QXDrawerController::setRightDrawerOffsets()
{
    if (!myParentWindow)
        return;
    const RightOffsets offsets = rightOffsetsFor(WindowHandle(myParentWindow).frame().height());
    if (upperRight) {
        upperRight->setLeadingOffset(offsets.upperLeading);
        upperRight->setTrailingOffset(offsets.upperTrailing);
    }
    if (lowerRight) {
        lowerRight->setLeadingOffset(offsets.lowerLeading);
        lowerRight->setTrailingOffset(offsets.lowerTrailing);
    }
}

void QXDrawerController::setupLeftDrawer()
{
    if (!left)
        return;
    left->setMinContentSize(leftMinimum);
    left->setMaxContentSize(leftMaximum);
}

Drawer* QXDrawerController::makeDrawer(Drawer::Edge edge)
{
    auto* drawer = new Drawer(myParentWindow, edge);
    drawer->setContentSize(edge == Drawer::Edge::Bottom ? bottomSize : createdRightSize);
    return drawer;
}

void QXDrawerController::setupBottomDrawer()
{
    bottom = makeDrawer(Drawer::Edge::Bottom);
    bottom->setMinContentSize(bottomSize);
    bottom->setMaxContentSize(bottomSize);
}

void QXDrawerController::setupUpperRightDrawer()
{
    upperRight = makeDrawer(Drawer::Edge::Right);
    upperRight->setMinContentSize(rightMinimum);
    coupleRightDrawers();
}

void QXDrawerController::setupLowerRightDrawer()
{
    lowerRight = makeDrawer(Drawer::Edge::Right);
    lowerRight->setMinContentSize(rightMinimum);
    coupleRightDrawers();
}

void QXDrawerController::coupleRightDrawers()
{
    for (Drawer* drawer : {upperRight.data(), lowerRight.data()}) {
        if (drawer)
            drawer->setWillResizeContents([this](Drawer* resized, const QSizeF& requested) {
                return drawerWillResizeContents(resized, requested);
            });
    }
}

QSizeF QXDrawerController::drawerWillResizeContents(Drawer* drawer, const QSizeF& requested)
{
    const double width = snappedRightWidth(requested.width());
    Drawer* other = drawer == upperRight   ? lowerRight.data()
                    : drawer == lowerRight ? upperRight.data()
                                           : nullptr;
    if (other)
        other->setContentSize(QSizeF(coupledWidth - width, other->contentSize().height()));
    return {width, requested.height()};
}

}  // namespace nupo
