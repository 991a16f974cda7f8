#include "platform/appkit/WindowSpot.h"

#include <gtest/gtest.h>

namespace nupo {
namespace {

// A shown window whose every part counts as a control.
ShownWindowFrame solid(const QRect& frame)
{
    return {frame, {frame}};
}

// A shown window with a title bar and a row of controls at its top and a panel of them at its bottom;
// between them its plot.
ShownWindowFrame plotWindow(const QRect& frame)
{
    return {frame,
            {QRect(frame.left(), frame.top(), frame.width(), 24),
             QRect(frame.left(), frame.top() + 24, frame.width(), 40),
             QRect(frame.left(), frame.bottom() - 149, frame.width(), 150)}};
}

TEST(WindowSpot, WithNoRoomLeftANewWindowCoversTheLeastOfTheOthers)
{
    const QRect area(0, 0, 1000, 800);
    const QList<QRect> palette{QRect(0, 0, 200, 150)};
    const QList<ShownWindowFrame> shown{solid(QRect(200, 0, 500, 500)), solid(QRect(0, 500, 1000, 300)),
                                        solid(palette.front())};
    // 400 x 400 fits nowhere clear; at the top right it covers the least: 100 x 400 of the first window.
    const QRect nib(250, 50, 400, 400);
    const std::optional<QRect> spot = openingSpot(nib, area, shown, palette);
    ASSERT_TRUE(spot.has_value());
    EXPECT_EQ(*spot, QRect(600, 0, 400, 400));
    EXPECT_TRUE(area.contains(*spot));
    EXPECT_FALSE(spot->intersects(palette.front()));
    // Where it was put covers no window: it stays.
    EXPECT_FALSE(openingSpot(QRect(700, 0, 300, 500), area, shown, palette).has_value());
    // The whole area taken: no spot covers less than where it was put.
    EXPECT_FALSE(openingSpot(area, area, shown, palette).has_value());
}

TEST(WindowSpot, ANewWindowCoversAPlotRatherThanControlsAndNothingWhereThereIsRoom)
{
    const QRect area(0, 0, 1000, 800);
    const QList<QRect> palette{QRect(0, 0, 200, 150)};
    // The screen full: a window beside the palette, and one below it whose controls are all of it.
    const QList<ShownWindowFrame> full{plotWindow(QRect(200, 0, 800, 800)), solid(QRect(0, 150, 200, 650))};
    // Opened over the top controls, it goes to the first spot between them and the bottom panel.
    const std::optional<QRect> onPlot = openingSpot(QRect(250, 10, 300, 200), area, full, palette);
    ASSERT_TRUE(onPlot.has_value());
    EXPECT_EQ(*onPlot, QRect(200, 64, 300, 200));
    // Already on the plot, it stays: covering a plot is as good as it gets on a full screen.
    EXPECT_FALSE(openingSpot(QRect(400, 300, 300, 200), area, full, palette).has_value());

    // With a free column on the right, it covers nothing at all, not even the plot.
    const QList<ShownWindowFrame> room{plotWindow(QRect(200, 0, 600, 800)), solid(QRect(0, 150, 200, 650))};
    EXPECT_EQ(openingSpot(QRect(400, 300, 200, 200), area, room, palette), QRect(800, 0, 200, 200));
    // It never goes under the palette, though only there it would cover no window.
    const std::optional<QRect> small = openingSpot(QRect(250, 10, 150, 100), area, full, palette);
    ASSERT_TRUE(small.has_value());
    EXPECT_EQ(*small, QRect(200, 64, 150, 100));
    // With no spot clear of the palette at all, it stays where it is.
    EXPECT_FALSE(openingSpot(QRect(250, 10, 300, 200), area, full, {area}).has_value());
}

TEST(WindowSpot, APaletteOverAMaximisedWindowStaysOrTakesTheNearestCornerClearOfItsControls)
{
    // A maximised window: its title and menu bars along the top, buttons in the middle of its foot.
    const QRect area(0, 0, 1024, 768);
    const QList<QRect> controls{QRect(0, 0, 1024, 24), QRect(0, 24, 1024, 24), QRect(320, 700, 380, 68)};
    const QList<QRect> controlPanel{QRect(420, 0, 604, 200)};
    // Over the picture, where the user put it, the palette stays.
    const QRect onPicture(300, 300, 307, 158);
    EXPECT_EQ(cornerSpot(onPicture, area, controls, controlPanel), onPicture);
    // Over the menu it takes the nearest corner that hides no control and lies under no window kept
    // clear: not the top left (the menu), nor the top right (the Control Panel), but the bottom left.
    EXPECT_EQ(cornerSpot(QRect(10, 10, 307, 158), area, controls, controlPanel), QRect(0, 610, 307, 158));
    // Near the right edge, the bottom right.
    EXPECT_EQ(cornerSpot(QRect(700, 30, 307, 158), area, controls, {}), QRect(717, 610, 307, 158));
    // Where every corner hides a control (rows across the whole screen), the nearest corner of the
    // picture along the screen's edge: just below the top rows, never the middle of the picture.
    const QList<QRect> rows{QRect(0, 0, 1024, 48), QRect(0, 700, 1024, 68)};
    EXPECT_EQ(cornerSpot(QRect(300, 20, 307, 158), area, rows, controlPanel), QRect(0, 48, 307, 158));
    // Where nothing is clear of the controls, the spot that hides the least of them.
    const QList<QRect> everywhere{QRect(0, 0, 1024, 700)};
    EXPECT_EQ(cornerSpot(QRect(300, 20, 307, 158), area, everywhere, controlPanel), QRect(0, 610, 307, 158));
}

}  // namespace
}  // namespace nupo
