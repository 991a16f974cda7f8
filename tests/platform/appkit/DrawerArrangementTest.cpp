#include "platform/appkit/DrawerArrangement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace nupo {
namespace {

using Edge = DrawerEdge;

const QRect screen(0, 0, 1024, 768);

// A window's drawers like those of the waterfall: one on the left the whole height, one at the bottom, and
// two on the right, one above the other (of a window 400 high, or as high as given).
DrawerNeed left(int depth = 230)
{
    return {Edge::Left, Edge::Left, depth, 20, 0, 0};
}
DrawerNeed bottom(int depth = 100)
{
    return {Edge::Bottom, Edge::Bottom, depth, 20, 50, 100};
}
DrawerNeed upperRight(int height = 400)
{
    return {Edge::Right, Edge::Right, 150, 20, 50, height - height / 2};
}
DrawerNeed lowerRight(int height = 400)
{
    return {Edge::Right, Edge::Right, 150, 20, height / 2, 50};
}

bool isOver(const DrawerArrangement& arranged, std::size_t i)
{
    return i < arranged.over.size() && arranged.over[i];
}

// Every drawer in the area, beside the window (or, marked so, inside it), and no two drawers of the
// window sharing a point; the places are those drawerRects gives.
void expectOnScreenAndApart(const DrawerArrangement& arranged, const std::vector<DrawerNeed>& drawers,
                            const QRect& area = screen)
{
    ASSERT_EQ(arranged.edges.size(), drawers.size());
    const std::vector<QRect>& rects = arranged.rects;
    ASSERT_EQ(rects.size(), drawers.size());
    EXPECT_EQ(rects, drawerRects(arranged.frame, drawers, arranged.edges, arranged.depths, arranged.over, {}))
        << "placed as drawerRects places them";
    EXPECT_TRUE(area.contains(arranged.frame));
    for (std::size_t i = 0; i < rects.size(); ++i) {
        EXPECT_TRUE(area.contains(rects[i])) << "drawer " << i;
        if (isOver(arranged, i))
            EXPECT_TRUE(arranged.frame.contains(rects[i])) << "drawer " << i << " over its window";
        else
            EXPECT_FALSE(rects[i].intersects(arranged.frame)) << "drawer " << i << " covers its window";
        for (std::size_t j = i + 1; j < rects.size(); ++j)
            EXPECT_FALSE(rects[i].intersects(rects[j])) << "drawers " << i << " and " << j;
    }
}

TEST(DrawerArrangement, DrawersKeepTheirSidesWhereThereIsRoomAndTakeTheOtherOnlyWhereItIsFree)
{
    // In the middle of the screen: every drawer on its own side, the window where it is.
    const std::vector<DrawerNeed> all{left(), bottom(), upperRight(), lowerRight()};
    const QRect middle(250, 100, 500, 400);
    DrawerArrangement arranged = arrangeDrawers(middle, screen, all, {});
    EXPECT_EQ(arranged.frame, middle);
    EXPECT_EQ(arranged.edges, (std::vector{Edge::Left, Edge::Bottom, Edge::Right, Edge::Right}));
    EXPECT_EQ(arranged.depths, (std::vector{230, 100, 150, 150}));
    expectOnScreenAndApart(arranged, all);

    // At the screen's left edge, a lone left drawer takes the right side.
    const QRect atLeft(0, 100, 500, 400);
    arranged = arrangeDrawers(atLeft, screen, {left()}, {});
    EXPECT_EQ(arranged.frame, atLeft);
    EXPECT_EQ(arranged.edges, std::vector{Edge::Right});
    // With the right drawers open it would land on them: the window moves right instead, as little as it
    // can, and every drawer keeps its side.
    arranged = arrangeDrawers(atLeft, screen, all, {});
    EXPECT_EQ(arranged.frame, QRect(230, 100, 500, 400));
    EXPECT_EQ(arranged.edges, (std::vector{Edge::Left, Edge::Bottom, Edge::Right, Edge::Right}));
    expectOnScreenAndApart(arranged, all);

    // At the right edge the right drawers take the left side together when no left drawer is open, and
    // go back to their side once it has room again.
    std::vector<DrawerNeed> rightOnly{upperRight(), lowerRight()};
    const QRect atRight(524, 100, 500, 400);
    arranged = arrangeDrawers(atRight, screen, rightOnly, {});
    EXPECT_EQ(arranged.frame, atRight);
    EXPECT_EQ(arranged.edges, (std::vector{Edge::Left, Edge::Left}));
    expectOnScreenAndApart(arranged, rightOnly);
    for (DrawerNeed& drawer : rightOnly)
        drawer.current = Edge::Left;
    arranged = arrangeDrawers(middle, screen, rightOnly, {});
    EXPECT_EQ(arranged.edges, (std::vector{Edge::Right, Edge::Right}));

    // A drawer asked onto the other side stays there.
    const DrawerNeed askedLeft{Edge::Left, Edge::Right, 150, 20, 0, 0};
    arranged = arrangeDrawers(middle, screen, {askedLeft}, {});
    EXPECT_EQ(arranged.edges, std::vector{Edge::Left});
}

TEST(DrawerArrangement, AWindowMovesSoThatItsBottomDrawerIsOnScreen)
{
    // The 3D window at the foot of a large screen: its 270 high bottom drawer goes below the screen.
    const QRect large(0, 0, 1920, 1200);
    const std::vector<DrawerNeed> drawers{bottom(270), left(260)};
    const QRect low(900, 675, 602, 545);
    const DrawerArrangement arranged = arrangeDrawers(low, large, drawers, {QSize(300, 300)});
    EXPECT_EQ(arranged.frame, QRect(900, 1200 - 270 - 545, 602, 545)) << "straight up, as little as it can";
    expectOnScreenAndApart(arranged, drawers, large);
}

TEST(DrawerArrangement, WithoutRoomTheWindowShrinksThenTheDrawersLieOverIt)
{
    // The waterfall's window nearly as wide as the small screen, every drawer open.
    const std::vector<DrawerNeed> all{left(), bottom(), upperRight(745), lowerRight(745)};
    const QRect wide(30, 0, 962, 745);
    // A lone left drawer: the window gives up no more than the room the drawer needs, keeping to the
    // first of its least sizes.
    DrawerArrangement arranged = arrangeDrawers(wide, screen, {left()}, {QSize(790, 700), QSize(400, 300)});
    EXPECT_EQ(arranged.frame, QRect(230, 0, 1024 - 230, 745));
    // Every drawer: past the first least size to the second.
    arranged = arrangeDrawers(wide, screen, all, {QSize(790, 700), QSize(400, 300)});
    EXPECT_EQ(arranged.frame, QRect(230, 0, 1024 - 230 - 150, 768 - 100));
    EXPECT_EQ(arranged.depths, (std::vector{230, 100, 150, 150})) << "nothing squeezed";
    expectOnScreenAndApart(arranged, all);

    // The window may not give up size (it is being moved, not opened): the drawers without room beside
    // it lie over it, at their depths, rather than being squeezed; the fewest do.
    arranged = arrangeDrawers(wide, screen, all, {});
    EXPECT_EQ(arranged.frame.size(), wide.size());
    EXPECT_EQ(arranged.depths, (std::vector{230, 100, 150, 150})) << "nothing squeezed";
    EXPECT_EQ(arranged.over, (std::vector{true, true, true, true})) << "no room beside it at all";
    expectOnScreenAndApart(arranged, all);
    const QRect narrower(30, 0, 800, 745);
    arranged = arrangeDrawers(narrower, screen, all, {});
    EXPECT_EQ(arranged.over, (std::vector{true, true, false, false})) << "the right drawers have room";
    expectOnScreenAndApart(arranged, all);

    // Shrinking stops at the window's least size; the drawers without room then lie over it, the window
    // giving up only the room of those beside it.
    arranged = arrangeDrawers(wide, screen, all, {QSize(800, 745)});
    EXPECT_EQ(arranged.frame.size(), QSize(1024 - 150, 745));
    EXPECT_EQ(arranged.depths, (std::vector{230, 100, 150, 150})) << "nothing squeezed";
    EXPECT_EQ(arranged.over, (std::vector{true, true, false, false}));
    expectOnScreenAndApart(arranged, all);

    // A window as wide as the screen: its left drawer over it, whole.
    arranged = arrangeDrawers(QRect(0, 0, 1024, 745), screen, {left()}, {});
    EXPECT_EQ(arranged.depths, std::vector{230});
    EXPECT_EQ(arranged.over, std::vector{true});
    expectOnScreenAndApart(arranged, {left()});
}

TEST(DrawerArrangement, ASideDrawerGrowsDownIntoTheFreeScreenBeforeItScrolls)
{
    // The 3D window's right drawers on the small screen: each needs 300 rows, its offsets give it 150.
    const QRect window(300, 100, 400, 400);
    DrawerNeed upper = upperRight();
    DrawerNeed lower = lowerRight();
    upper.length = lower.length = 300;
    upper.scrollBar = lower.scrollBar = 15;
    std::vector<DrawerNeed> right{upper, lower};
    DrawerArrangement arranged = arrangeDrawers(window, screen, right, {});
    EXPECT_EQ(arranged.frame, window) << "the window stays";
    // The upper one grows to the length it needs and the lower one follows it down, past the window.
    EXPECT_EQ(arranged.rects[0], QRect(700, 150, 150, 300));
    EXPECT_EQ(arranged.rects[1], QRect(700, 450, 150, 300));
    expectOnScreenAndApart(arranged, right);

    // Lower on the screen the window moves up as little as lets them grow; it never moves for a drawer
    // that fits where it is.
    const QRect low(300, 360, 400, 400);
    arranged = arrangeDrawers(low, screen, right, {});
    EXPECT_EQ(arranged.frame, QRect(300, 768 - 50 - 600, 400, 400));
    expectOnScreenAndApart(arranged, right);

    // Where moving is ruled out (a floating window above), the drawers take the rows down to the screen's
    // end and scroll, a scroll bar wider.
    arranged = arrangeDrawers(low, screen, right, {}, {QRect(0, 0, 1024, 360)});
    EXPECT_EQ(arranged.frame, low);
    EXPECT_EQ(arranged.rects[0], QRect(700, 410, 150 + 15, 150));
    EXPECT_EQ(arranged.rects[1], QRect(700, 560, 150 + 15, 768 - 560));
}

TEST(DrawerArrangement, DrawersThatShareRowsOfAnEdgeAreNeverPutTogether)
{
    // Offsets that make the right drawers share rows: no choice of sides keeps them apart but one on
    // each side, which the left drawer rules out; they stay on the sides they prefer.
    const DrawerNeed upper{Edge::Right, Edge::Right, 150, 20, 50, 100};
    const DrawerNeed lower{Edge::Right, Edge::Right, 150, 20, 100, 50};
    const QRect middle(250, 100, 500, 400);
    DrawerArrangement arranged = arrangeDrawers(middle, screen, {left(), upper, lower}, {});
    EXPECT_EQ(arranged.edges, (std::vector{Edge::Left, Edge::Right, Edge::Right}));
    // Alone, one of them takes the left side.
    arranged = arrangeDrawers(middle, screen, {upper, lower}, {});
    EXPECT_NE(arranged.edges[0], arranged.edges[1]);
    expectOnScreenAndApart(arranged, {upper, lower});

    // A drawer never reaches past its window's edge, whatever its offsets.
    EXPECT_EQ(drawerRect(middle, Edge::Bottom, 100, 50, -200), QRect(300, 500, 450, 100));
    EXPECT_EQ(drawerRect(middle, Edge::Right, 0, 0, 500), QRect(750, 100, 1, 1));
}

// The floating windows of the small screen: the Tools palette at the top left, the Control Panel at the
// top right.
const QRect palette(0, 0, 305, 179);
const QRect controlPanel(422, 0, 602, 221);

// No drawer on an obstacle; the window on none it did not cover before.
void expectClearOf(const DrawerArrangement& arranged, const QRect& from,
                   const std::vector<DrawerNeed>& drawers, const std::vector<QRect>& obstacles)
{
    EXPECT_TRUE(arranged.clear);
    for (const QRect& o : obstacles) {
        EXPECT_FALSE(arranged.frame.intersects(o) && !from.intersects(o))
            << "the window moves onto an obstacle";
        for (std::size_t i = 0; i < drawers.size(); ++i)
            EXPECT_FALSE(arranged.rects[i].intersects(o)) << "drawer " << i << " lies on an obstacle";
    }
}

TEST(DrawerArrangement, DrawersAndTheWindowsMovesKeepClearOfTheFloatingWindows)
{
    // On the large screen, beside the palette, a left drawer would lie under it: it takes the right side.
    const QRect large(0, 0, 1920, 1200);
    const std::vector<QRect> largeFloating{palette, QRect(1318, 0, 602, 221)};
    const QRect besidePalette(305, 0, 722, 585);
    DrawerArrangement arranged = arrangeDrawers(besidePalette, large, {left(210)}, {}, largeFloating);
    EXPECT_EQ(arranged.frame, besidePalette);
    EXPECT_EQ(arranged.edges, std::vector{Edge::Right});
    expectClearOf(arranged, besidePalette, {left(210)}, largeFloating);
    // With a drawer on the right already, the window moves (down, clear of the palette) instead.
    const std::vector<DrawerNeed> leftAndRight{left(210), upperRight(585)};
    arranged = arrangeDrawers(besidePalette, large, leftAndRight, {}, largeFloating);
    EXPECT_EQ(arranged.frame, QRect(305, 179, 722, 585));
    expectClearOf(arranged, besidePalette, leftAndRight, largeFloating);

    const std::vector<QRect> floating{palette, controlPanel};

    // The waterfall below the Control Panel, as tall as the room there: its bottom drawer does not lift it
    // over the Control Panel; it gives up height instead.
    const QRect belowPanel(0, 221, 962, 547);
    const std::vector<DrawerNeed> all{left(), bottom(), upperRight(547), lowerRight(547)};
    arranged = arrangeDrawers(belowPanel, screen, {bottom()}, {QSize(400, 300)}, floating);
    EXPECT_EQ(arranged.frame, QRect(0, 221, 962, 547 - 100));
    expectClearOf(arranged, belowPanel, {bottom()}, floating);
    // Every drawer: the window narrows between the side drawers, all of it below the Control Panel.
    arranged = arrangeDrawers(belowPanel, screen, all, {QSize(400, 300)}, floating);
    expectOnScreenAndApart(arranged, all);
    expectClearOf(arranged, belowPanel, all, floating);
    EXPECT_GE(arranged.frame.top(), 221);
    EXPECT_EQ(arranged.depths, (std::vector{230, 100, 150, 150})) << "nothing squeezed";

    // Without the obstacles the same window may move up.
    arranged = arrangeDrawers(belowPanel, screen, {bottom()}, {QSize(400, 300)});
    EXPECT_EQ(arranged.frame, QRect(0, 121, 962, 547));
}

TEST(DrawerArrangement, WhereNoArrangementKeepsClearItIsTheOneWithoutObstaclesMarkedNotClear)
{
    // An obstacle over the whole screen but the window: the drawer lies over the window, clear of it.
    const QRect window(200, 200, 400, 300);
    const std::vector<QRect> everywhere{QRect(0, 0, 1024, 200), QRect(0, 500, 1024, 268),
                                        QRect(0, 0, 200, 768), QRect(600, 0, 424, 768)};
    DrawerArrangement arranged = arrangeDrawers(window, screen, {left()}, {}, everywhere);
    EXPECT_TRUE(arranged.clear);
    EXPECT_EQ(arranged.over, std::vector{true});
    // An obstacle over the window too: nothing keeps clear of it.
    arranged = arrangeDrawers(window, screen, {left()}, {}, {screen});
    EXPECT_FALSE(arranged.clear);
    const DrawerArrangement without = arrangeDrawers(window, screen, {left()}, {});
    EXPECT_EQ(arranged.frame, without.frame);
    EXPECT_EQ(arranged.edges, without.edges);
    EXPECT_EQ(arranged.depths, without.depths);
}

TEST(DrawerArrangement, AWindowMovesOnlyAsFarAsANewDrawerNeedsItsDrawersKeepingTheirSides)
{
    // The waterfall at the left edge of the large screen: its left drawer opened on the right side. The
    // bottom drawer, opening next, lifts the window straight up; it does not move right to put the left
    // drawer back on its side.
    const QRect large(0, 0, 1920, 1200);
    const QRect atLeft(0, 455, 849, 724);
    DrawerNeed leftOnRight = left();
    leftOnRight.current = Edge::Right;
    DrawerNeed opening = bottom(145);
    const std::vector<DrawerNeed> drawers{leftOnRight, opening};
    const DrawerArrangement arranged = arrangeDrawers(atLeft, large, drawers, {});
    EXPECT_EQ(arranged.frame, QRect(0, 1200 - 145 - 724, 849, 724));
    EXPECT_EQ(arranged.edges, (std::vector{Edge::Right, Edge::Bottom}));
    expectOnScreenAndApart(arranged, drawers, large);
}

TEST(DrawerArrangement, AWindowTheUserPutStaysWhereItsDrawersFindRoomThere)
{
    // The waterfall put at the top of the screen beside the Control Panel, its right drawers reaching
    // under it: moved as a drawer opens, the window would go down clear of it; put there by the user, it
    // stays, its drawers under the Control Panel (marked not clear).
    const std::vector<QRect> floating{controlPanel};
    const QRect atTop(0, 0, 600, 400);
    const std::vector<DrawerNeed> right{upperRight(), lowerRight()};
    DrawerArrangement arranged = arrangeDrawers(atTop, screen, right, {}, floating);
    EXPECT_GT(arranged.frame.top(), 0);
    arranged = arrangeDrawers(atTop, screen, right, {}, floating, {}, true);
    EXPECT_EQ(arranged.frame, atTop);
    EXPECT_FALSE(arranged.clear);
    expectOnScreenAndApart(arranged, right);
    // Where the other side is free, a drawer takes it rather than lie under the Control Panel.
    const QRect middle(200, 0, 400, 400);
    arranged = arrangeDrawers(middle, screen, {upperRight()}, {}, floating, {}, true);
    EXPECT_EQ(arranged.frame, middle);
    EXPECT_EQ(arranged.edges, std::vector{Edge::Left});
    EXPECT_TRUE(arranged.clear);
    // A drawer lying over the picture stays over it as the window is put where it has no room beside it;
    // one beside it is not put over it: the window moves only as far as that drawer needs.
    DrawerNeed over = bottom();
    over.over = true;
    const QRect low(200, 400, 600, 368);
    arranged = arrangeDrawers(low, screen, {over}, {}, floating, {}, true);
    EXPECT_EQ(arranged.frame, low);
    EXPECT_EQ(arranged.over, std::vector{true});
    arranged = arrangeDrawers(low, screen, {bottom()}, {}, floating, {}, true);
    EXPECT_EQ(arranged.frame, QRect(200, 300, 600, 368));
}

TEST(DrawerArrangement, InPlaceTheWindowStaysAndEachDrawerKeepsItsSideWhereItFits)
{
    // A window of odd height: the right drawers meet on its middle row.
    const QRect frame(300, 20, 600, 545);
    std::vector<DrawerNeed> drawers{left(260), upperRight(545), lowerRight(545)};
    std::optional<DrawerArrangement> arranged =
        arrangeInPlace(frame, screen.adjusted(0, 0, 900, 400), drawers, {}, {});
    ASSERT_TRUE(arranged);
    EXPECT_EQ(arranged->frame, frame);
    EXPECT_EQ(arranged->edges, (std::vector<Edge>{Edge::Left, Edge::Right, Edge::Right}));
    EXPECT_FALSE(arranged->rects[1].intersects(arranged->rects[2]));
    EXPECT_EQ(arranged->rects[1].right(), arranged->rects[2].right());

    // No room on the left: the left drawer takes the right only where the right drawers leave it room.
    const QRect atTheEdge(100, 20, 500, 400);
    drawers = {left(230)};
    arranged = arrangeInPlace(atTheEdge, screen, drawers, {}, {});
    ASSERT_TRUE(arranged);
    EXPECT_EQ(arranged->edges, std::vector<Edge>{Edge::Right});
    drawers = {left(230), upperRight(), lowerRight()};
    EXPECT_FALSE(arrangeInPlace(atTheEdge, screen, drawers, {}, {}));

    // Once on the other side, a drawer stays there while it fits, though its own side has room again.
    drawers = {{Edge::Left, Edge::Right, 230, 20, 0, 0}};
    arranged = arrangeInPlace(QRect(300, 20, 400, 400), screen, drawers, {}, {});
    ASSERT_TRUE(arranged);
    EXPECT_EQ(arranged->edges, std::vector<Edge>{Edge::Right});

    // A floating window in the way counts as no room.
    const std::vector<QRect> palette{QRect(0, 0, 260, 200)};
    drawers = {left(230)};
    arranged = arrangeInPlace(QRect(300, 20, 400, 400), screen, drawers, palette, {});
    ASSERT_TRUE(arranged);
    EXPECT_EQ(arranged->edges, std::vector<Edge>{Edge::Right});
}

}  // namespace
}  // namespace nupo
