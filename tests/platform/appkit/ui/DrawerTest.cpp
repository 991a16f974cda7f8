#include "platform/appkit/ui/Drawer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

namespace nupo {
namespace {

class DrawerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.setGeometry(200, 100, 400, 300);
        window.show();
        frame = window.frameGeometry();
    }

    static void finishTransitions() { QCoreApplication::processEvents(); }

    QWidget window;
    QRect frame;
};

TEST_F(DrawerTest, DrawersSitBesideTheirEdgeWithinTheOffsets)
{
    Drawer left(&window, Drawer::Edge::Left);
    left.setContentSize(QSizeF(120, 80));
    left.setLeadingOffset(50);
    left.setTrailingOffset(30);
    left.open();
    EXPECT_EQ(left.geometry(), QRect(frame.left() - 120, frame.top() + 50, 120, frame.height() - 80));

    Drawer right(&window, Drawer::Edge::Right);
    right.setContentSize(QSizeF(150, 150));
    right.open();
    EXPECT_EQ(right.geometry(), QRect(frame.right() + 1, frame.top(), 150, frame.height()));

    Drawer bottom(&window, Drawer::Edge::Bottom);
    bottom.setContentSize(QSizeF(100, 100));
    bottom.setLeadingOffset(50);
    bottom.setTrailingOffset(frame.width() - 270);
    bottom.open();
    EXPECT_EQ(bottom.geometry(), QRect(frame.left() + 50, frame.bottom() + 1, 220, 100));

    // Opening on another edge than the preferred one, above the left drawer.
    Drawer moved(&window, Drawer::Edge::Right);
    moved.setContentSize(QSizeF(60, 60));
    moved.setTrailingOffset(frame.height() - 40);
    moved.openOnEdge(Drawer::Edge::Left);
    EXPECT_EQ(moved.edge(), Drawer::Edge::Left);
    EXPECT_EQ(moved.geometry(), QRect(frame.left() - 60, frame.top(), 60, 40));
}

TEST_F(DrawerTest, ASideDrawerWithoutRoomOnTheScreenOpensOnTheOtherSideOrMovesTheWindow)
{
    const QRect area = window.screen()->availableGeometry();
    window.setGeometry(area.left() + 10, area.top() + 100, 400, 300);
    frame = window.frameGeometry();
    Drawer left(&window, Drawer::Edge::Left);
    left.setContentSize(QSizeF(200, 100));
    left.open();
    EXPECT_EQ(left.edge(), Drawer::Edge::Right);
    EXPECT_EQ(left.geometry().left(), frame.right() + 1);
    EXPECT_TRUE(area.contains(left.geometry()));
    left.close();
    finishTransitions();

    // Moved to the right edge, the same drawer opens on its preferred side again.
    window.move(area.right() - frame.width() - 5, area.top() + 100);
    frame = window.frameGeometry();
    left.open();
    EXPECT_EQ(left.edge(), Drawer::Edge::Left);
    EXPECT_EQ(left.geometry().right(), frame.left() - 1);

    // The left side is taken: a right drawer without room on its side moves the window instead.
    Drawer right(&window, Drawer::Edge::Right);
    right.setContentSize(QSizeF(200, 100));
    right.open();
    EXPECT_EQ(right.edge(), Drawer::Edge::Right);
    EXPECT_EQ(left.edge(), Drawer::Edge::Left);
    EXPECT_EQ(window.frameGeometry().right(), area.right() - 200);
    EXPECT_TRUE(area.contains(right.geometry()));
    EXPECT_TRUE(area.contains(left.geometry()));
    left.close();
    right.close();
    finishTransitions();

    // An edge asked for by name too.
    window.move(area.right() - frame.width() - 5, area.top() + 100);
    Drawer named(&window, Drawer::Edge::Left);
    named.setContentSize(QSizeF(200, 100));
    named.openOnEdge(Drawer::Edge::Right);
    EXPECT_EQ(named.edge(), Drawer::Edge::Left);
    EXPECT_TRUE(area.contains(named.geometry()));
    named.close();
    finishTransitions();

    // No room on either side: the window gives up width as the drawer opens, which stays on its side.
    window.setGeometry(area.left() + 10, area.top() + 100, area.width() - 20, 300);
    Drawer wide(&window, Drawer::Edge::Right);
    wide.setContentSize(QSizeF(200, 100));
    wide.open();
    EXPECT_EQ(wide.edge(), Drawer::Edge::Right);
    EXPECT_EQ(window.frameGeometry().width(), area.width() - 200);
    EXPECT_TRUE(area.contains(wide.geometry()));
    EXPECT_FALSE(wide.isSqueezed());

    // Made wide again by its user, the window keeps its width: the drawer lies over the window, whole,
    // rather than being squeezed.
    window.setGeometry(area.left(), area.top() + 100, area.width() - 100, 300);
    EXPECT_EQ(window.width(), area.width() - 100);
    EXPECT_FALSE(wide.isSqueezed());
    EXPECT_EQ(wide.width(), 200);
    EXPECT_TRUE(window.frameGeometry().contains(wide.geometry()));
}

TEST_F(DrawerTest, OpeningAndClosingPassThroughTheirStatesAndToggleReversesThem)
{
    Drawer drawer(&window, Drawer::Edge::Left);
    EXPECT_EQ(drawer.state(), Drawer::State::Closed);
    EXPECT_FALSE(drawer.isVisible());

    drawer.open();
    EXPECT_EQ(drawer.state(), Drawer::State::Opening);
    EXPECT_TRUE(drawer.isVisible());
    finishTransitions();
    EXPECT_EQ(drawer.state(), Drawer::State::Open);

    drawer.toggle();
    EXPECT_EQ(drawer.state(), Drawer::State::Closing);
    drawer.toggle();  // a closing drawer opens again
    EXPECT_EQ(drawer.state(), Drawer::State::Opening);
    drawer.toggle();  // an opening drawer closes
    EXPECT_EQ(drawer.state(), Drawer::State::Closing);
    finishTransitions();
    EXPECT_EQ(drawer.state(), Drawer::State::Closed);
    EXPECT_FALSE(drawer.isVisible());

    drawer.close();  // closing a closed drawer changes nothing
    EXPECT_EQ(drawer.state(), Drawer::State::Closed);
    drawer.toggle();
    finishTransitions();
    drawer.open();  // opening an open drawer changes nothing
    EXPECT_EQ(drawer.state(), Drawer::State::Open);
}

TEST_F(DrawerTest, ContentSizesStayWithinTheLimitsAndResizesPassTheCallback)
{
    Drawer upper(&window, Drawer::Edge::Right);
    Drawer lower(&window, Drawer::Edge::Right);
    for (Drawer* d : {&upper, &lower}) {
        d->setContentSize(QSizeF(150, 150));
        d->setMinContentSize(QSizeF(50, 50));
    }
    // Snap the depth to tens within 50..250 and give the other drawer the rest of 300.
    auto snap = [&](Drawer* drawer, const QSizeF& requested) {
        const double depth = std::clamp(std::ceil(requested.width() / 10.0) * 10.0, 50.0, 250.0);
        Drawer* other = drawer == &upper ? &lower : &upper;
        other->setContentSize(QSizeF(300.0 - depth, other->contentSize().height()));
        return QSizeF(depth, requested.height());
    };
    upper.setWillResizeContents(snap);
    lower.setWillResizeContents(snap);

    upper.requestContentSize(QSizeF(123, 150));
    EXPECT_EQ(upper.contentSize(), QSizeF(130, 150));
    EXPECT_EQ(lower.contentSize(), QSizeF(170, 150));
    lower.requestContentSize(QSizeF(400, 150));
    EXPECT_EQ(lower.contentSize(), QSizeF(250, 150));
    EXPECT_EQ(upper.contentSize(), QSizeF(50, 150));

    Drawer limited(&window);
    limited.setMinContentSize(QSizeF(230, 230));
    limited.setMaxContentSize(QSizeF(300, 300));
    EXPECT_EQ(limited.contentSize(), QSizeF(230, 230));
    limited.setContentSize(QSizeF(500, 260));
    EXPECT_EQ(limited.contentSize(), QSizeF(300, 260));
}

TEST_F(DrawerTest, DraggingTheOuterEdgeResizesTheDrawer)
{
    Drawer drawer(&window, Drawer::Edge::Right);
    drawer.setContentSize(QSizeF(150, 150));
    drawer.setMaxContentSize(QSizeF(200, 200));
    drawer.open();
    finishTransitions();

    const QPointF grip(drawer.width() - 2, 10);
    const QPointF global = drawer.mapToGlobal(grip);
    QMouseEvent press(QEvent::MouseButtonPress, grip, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&drawer, &press);
    QMouseEvent move(QEvent::MouseMove, grip + QPointF(30, 0), global + QPointF(30, 0), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&drawer, &move);
    EXPECT_EQ(drawer.contentSize().width(), 180);
    QMouseEvent further(QEvent::MouseMove, grip + QPointF(90, 0), global + QPointF(90, 0), Qt::NoButton,
                        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&drawer, &further);
    EXPECT_EQ(drawer.contentSize().width(), 200);  // the maximum holds
    QMouseEvent release(QEvent::MouseButtonRelease, grip, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&drawer, &release);
    EXPECT_EQ(drawer.geometry().width(), 200);
}

TEST_F(DrawerTest, DrawersFollowTheirWindow)
{
    Drawer drawer(&window, Drawer::Edge::Left);
    drawer.setContentSize(QSizeF(100, 100));
    drawer.open();
    finishTransitions();

    window.move(window.pos() + QPoint(40, 25));
    window.resize(500, 350);
    const QRect moved = window.frameGeometry();
    EXPECT_EQ(drawer.geometry(), QRect(moved.left() - 100, moved.top(), 100, moved.height()));

    window.hide();
    EXPECT_FALSE(drawer.isVisible());
    window.show();
    EXPECT_TRUE(drawer.isVisible());
    EXPECT_EQ(drawer.state(), Drawer::State::Open);
}

}  // namespace
}  // namespace nupo
