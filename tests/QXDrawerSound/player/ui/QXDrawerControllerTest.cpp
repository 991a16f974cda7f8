#include "QXDrawerSound/player/ui/QXDrawerController.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QWidget>

namespace nupo {
namespace {

TEST(QXDrawerController, RightDrawerWidthsSnapToTensAndAlwaysAddUpTo300)
{
    QWidget window;
    QXDrawerSoundController drawers;
    drawers.bind(&window, nullptr, nullptr, nullptr, nullptr);
    drawers.setupUpperRightDrawer();
    drawers.setupLowerRightDrawer();
    Drawer* upper = drawers.upperRightDrawer();
    Drawer* lower = drawers.lowerRightDrawer();
    EXPECT_EQ(upper->contentSize(), QSizeF(150, 150));
    EXPECT_EQ(upper->edge(), Drawer::Edge::Right);

    upper->requestContentSize(QSizeF(123, 90));
    EXPECT_EQ(upper->contentSize(), QSizeF(130, 90));
    EXPECT_EQ(lower->contentSize(), QSizeF(170, 150));
    upper->requestContentSize(QSizeF(20, 90));
    EXPECT_EQ(upper->contentSize().width(), 50);
    EXPECT_EQ(lower->contentSize().width(), 250);
    lower->requestContentSize(QSizeF(400, 80));
    EXPECT_EQ(lower->contentSize(), QSizeF(250, 80));
    EXPECT_EQ(upper->contentSize().width(), 50);
}

TEST(QXDrawerController, OffsetsFollowTheWindowFrame)
{
    const auto offsets = QXDrawerController::rightOffsetsFor(601);
    EXPECT_EQ(offsets.upperLeading, 50);
    EXPECT_EQ(offsets.upperTrailing, 300);  // both take the middle row
    EXPECT_EQ(offsets.lowerLeading, 300);
    EXPECT_EQ(offsets.lowerTrailing, 51);
    EXPECT_EQ(QXDrawerController::rightOffsetsFor(600).lowerTrailing, 50);
    EXPECT_EQ(QXDrawerController::bottomTrailingOffsetFor(800), 100);
    EXPECT_EQ(QXDrawerController::bottomTrailingOffsetFor(500), -200);

    QWidget window;
    window.resize(800, 400);
    QXDrawerController drawers;
    drawers.bind(&window, nullptr, nullptr, nullptr, nullptr);
    drawers.setupBottomDrawer();
    drawers.setupUpperRightDrawer();
    drawers.windowDidResize(&window);
    const QRectF frame = WindowHandle(&window).frame();
    EXPECT_EQ(drawers.bottomDrawer()->trailingOffset(), frame.width() - 700);
    EXPECT_EQ(drawers.bottomDrawer()->contentSize(), QSizeF(100, 100));
    EXPECT_EQ(drawers.upperRightDrawer()->trailingOffset(), std::floor(frame.height() / 2));
}

TEST(QXDrawerController, TogglingReversesADrawerOnItsWayAndAbsentDrawersAreIgnored)
{
    QWidget window;
    window.show();
    auto* left = new Drawer(&window, Drawer::Edge::Left);
    left->setContentSize(QSizeF(50, 50));
    QXDrawerController drawers;
    drawers.bind(&window, left, nullptr, nullptr, nullptr);
    drawers.awakeFromNib();
    EXPECT_EQ(left->minContentSize(), QSizeF(100, 100));
    EXPECT_EQ(left->maxContentSize(), QSizeF(400, 400));
    left->requestContentSize(QSizeF(900, 20));
    EXPECT_EQ(left->contentSize(), QSizeF(400, 100));

    drawers.openLeftDrawer(nullptr);
    EXPECT_EQ(left->state(), Drawer::State::Opening);
    drawers.toggleLeftDrawer(nullptr);  // opening: closes
    EXPECT_NE(left->state(), Drawer::State::Opening);
    ASSERT_TRUE(test::processEventsUntil([&] { return left->state() == Drawer::State::Closed; }));
    drawers.openLeftDrawer(nullptr);
    ASSERT_TRUE(test::processEventsUntil([&] { return left->state() == Drawer::State::Open; }));
    drawers.closeLeftDrawer(nullptr);
    EXPECT_EQ(left->state(), Drawer::State::Closing);
    drawers.toggleLeftDrawer(nullptr);  // closing: opens again
    ASSERT_TRUE(test::processEventsUntil([&] { return left->state() == Drawer::State::Open; }));

    drawers.toggleBottomDrawer(nullptr);  // none in this window
    drawers.openUpperRightDrawer(nullptr);
    EXPECT_EQ(drawers.bottomDrawer(), nullptr);
}

}  // namespace
}  // namespace nupo
