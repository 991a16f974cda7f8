#pragma once

#include <QRect>
#include <QSize>

#include <vector>

namespace nupo {

// The edge of its window a drawer slides out beside.
enum class DrawerEdge { Left = 0, Bottom = 1, Right = 2 };

// Where a drawer sits beside the window's frame `frame`: on `edge`, `depth` deep (the width of a side
// drawer, the height of a bottom one), along the edge less the leading and trailing offsets (from the top
// for side drawers, from the left for the bottom drawer). A drawer never reaches past its window's edge:
// a negative offset counts as none, and it is at least one point long and deep.
QRect drawerRect(const QRect& frame, DrawerEdge edge, int depth, int leading, int trailing);

// One open drawer of a window, as the arrangement sees it.
struct DrawerNeed {
    DrawerEdge preferred;  // the edge it was asked to open on
    DrawerEdge current;    // the edge it is on now
    int depth;             // the depth it asks for
    int leastDepth;        // the depth it may be squeezed to (its content scrolls then)
    int leading = 0;
    int trailing = 0;
};

// Where a window and its open drawers go: the window's frame, and each drawer's edge and depth.
struct DrawerArrangement {
    QRect frame;
    std::vector<DrawerEdge> edges;
    std::vector<int> depths;
    // Whether the drawers, and the window where it moved, keep clear of the obstacles.
    bool clear = true;
};

// Arranges the open drawers of a window with frame `frame` so that each lies wholly in the screen's
// `area` and clear of the others. Preferred, in turn:
// - the window stays; the fewest side drawers take the opposite side (a window at the screen's edge);
//   among as few, those that are on a side keep it;
// - the window moves, as little as it can, with the fewest drawers off their side;
// - the window shrinks and moves: to no less than the first of `leastFrames` that makes room (the sizes
//   it may take, larger first; none where the window keeps its size);
// - the drawers are squeezed to the room there is (not below their least depth), the window shrunk to
//   the last of `leastFrames` first.
// Side drawers on one side must not share rows; a drawer can only take the other side where it finds
// no drawer in its way. Where no choice of sides keeps them apart (offsets that overlap), the drawers
// go on the sides they prefer.
//
// `obstacles` are frames of windows that float above the others: no drawer may lie on one, and the
// window moves or shrinks onto none it does not already cover. Each step above is tried in the parts of
// the area beside the obstacles too; the first step that keeps clear of them wins. Where none does, the
// arrangement is the one without obstacles, marked not clear.
DrawerArrangement arrangeDrawers(const QRect& frame, const QRect& area,
                                 const std::vector<DrawerNeed>& drawers,
                                 const std::vector<QSize>& leastFrames,
                                 const std::vector<QRect>& obstacles = {});

}  // namespace nupo
