// The drawers of the 3D windows: the right drawers share 300 points, the offsets follow the window.
#include "platform/appkit/ui/Drawer.h"
#include "views3d/wave/ui/QXnewaveController.h"

#include <gtest/gtest.h>
#include <QWidget>

using namespace nupo;

TEST(WindowDrawers, RightDrawersShareTheirWidthAndOffsetsFollowTheWindow)
{
    QWidget window;
    window.resize(700, 501);
    QXnewaveController drawers;
    drawers.myParentWindow = &window;
    drawers.awakeFromNib();  // makes the bottom and right drawers the nib did not give
    ASSERT_NE(drawers.bottomDrawer, nullptr);
    ASSERT_NE(drawers.upperRightDrawer, nullptr);
    ASSERT_NE(drawers.lowerRightDrawer, nullptr);
    EXPECT_EQ(drawers.leftDrawer, nullptr);
    EXPECT_EQ(drawers.upperRightDrawer->contentSize(), QSizeF(150, 150));

    const struct {
        double requested, width, other;
    } cases[] = {{123, 130, 170}, {20, 50, 250}, {400, 250, 50}};
    for (const auto& c : cases) {
        drawers.upperRightDrawer->requestContentSize(QSizeF(c.requested, 150));
        EXPECT_EQ(drawers.upperRightDrawer->contentSize().width(), c.width) << c.requested;
        EXPECT_EQ(drawers.lowerRightDrawer->contentSize().width(), c.other) << c.requested;
    }
    drawers.lowerRightDrawer->requestContentSize(QSizeF(61, 150));
    EXPECT_EQ(drawers.lowerRightDrawer->contentSize().width(), 70);
    EXPECT_EQ(drawers.upperRightDrawer->contentSize().width(), 230);

    // 501 points high: the upper drawer ends at 250, the lower starts there (both take the middle row)
    // and ends 51 above the bottom.
    EXPECT_EQ(drawers.upperRightDrawer->leadingOffset(), 50);
    EXPECT_EQ(drawers.upperRightDrawer->trailingOffset(), 250);
    EXPECT_EQ(drawers.lowerRightDrawer->leadingOffset(), 250);
    EXPECT_EQ(drawers.lowerRightDrawer->trailingOffset(), 51);
    EXPECT_EQ(drawers.bottomDrawer->leadingOffset(), 50);
    EXPECT_EQ(drawers.bottomDrawer->trailingOffset(), 700 - 670);
    EXPECT_EQ(drawers.bottomDrawer->contentSize(), QSizeF(100, 100));

    // Toggling: a closed drawer opens on its edge, an opening one closes; a missing drawer is ignored.
    drawers.toggleBottomDrawer(nullptr);
    EXPECT_EQ(drawers.bottomDrawer->state(), Drawer::State::Opening);
    EXPECT_EQ(drawers.bottomDrawer->edge(), Drawer::Edge::Bottom);
    drawers.toggleBottomDrawer(nullptr);
    EXPECT_TRUE(drawers.bottomDrawer->state() == Drawer::State::Closing ||
                drawers.bottomDrawer->state() == Drawer::State::Closed);
    drawers.toggleLeftDrawer(nullptr);
    drawers.openLeftDrawer(nullptr);
}
