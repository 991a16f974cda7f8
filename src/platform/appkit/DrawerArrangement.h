#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

#include <optional>
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
    int length = 0;     // the length its content needs along the edge (a side drawer's height)
    int scrollBar = 0;  // the width a side drawer grows by where its content scrolls along its length
    bool over = false;  // it lies over the window's picture now
};

// Where a window and its open drawers go: the window's frame, and each drawer's edge, depth and place.
struct DrawerArrangement {
    QRect frame;
    std::vector<DrawerEdge> edges;
    std::vector<int> depths;
    // Whether the drawers, and the window where it moved, keep clear of the obstacles.
    bool clear = true;
    // Whether each drawer lies over the window's picture (inside its frame) rather than beside it.
    std::vector<bool> over;
    // Where each drawer lies (screen coordinates).
    std::vector<QRect> rects;
};

// Where the drawers lie for a window of frame `frame`, each on its edge and at its depth, beside the
// window or (marked in `over`) over it, inside its frame less `inset` (the rows of controls along its top
// and bottom, which no drawer covers; a side drawer's offsets there shrink with the room inside it).
// A side drawer whose content needs more length than its offsets leave grows down: beside the window past
// its bottom into the free screen below, pushing a drawer under it on its side further down; over the
// window no further than the room inside it. With `floor` (the screen's last row) given, a side drawer
// beside the window grows no further than that row or the next drawer's top. A side drawer whose content
// then scrolls grows by its scroll bar's width (outwards beside the window, inwards over it) so that its
// content keeps its width.
std::vector<QRect> drawerRects(const QRect& frame, const std::vector<DrawerNeed>& drawers,
                               const std::vector<DrawerEdge>& edges, const std::vector<int>& depths,
                               const std::vector<bool>& over, const QMargins& inset,
                               const int* floor = nullptr);

// The drawers of a maximised window: each over the window on the side asked for, clear of its rows of
// controls (`inset`), no deeper than three quarters of what the window leaves it.
DrawerArrangement arrangeOverWindow(const QRect& frame, const std::vector<DrawerNeed>& drawers,
                                    const QMargins& inset);

// The drawers beside a window that keeps its frame `frame`: each at the depth it asks for, wholly in
// the area and on none of the obstacles; a drawer stays on the side it is on where it fits there, else
// takes the other side, the fewest drawers changing side. A side drawer longer than the window grows down
// past it, scrolling along its length where the area ends. Nothing where no choice of sides fits so.
std::optional<DrawerArrangement> arrangeInPlace(const QRect& frame, const QRect& area,
                                                const std::vector<DrawerNeed>& drawers,
                                                const std::vector<QRect>& obstacles, const QMargins& inset);

// Arranges the open drawers of a window with frame `frame` so that each lies wholly in the screen's
// `area` and clear of the others. Preferred, in turn:
// - the window stays; the fewest side drawers take the opposite side (a window at the screen's edge);
//   among as few, those that are on a side keep it;
// - the window moves, its drawers keeping the sides they are on, as little as it can;
// - the window shrinks and moves: to no less than the first of `leastFrames` that makes room (the sizes
//   it may take, larger first; none where the window keeps its size; the caller keeps the picture at
//   least half its area);
// - each of these again with the side drawers that need more length than the screen holds below them
//   scrolling along their length;
// - the fewest drawers lie over the window's picture (clear of its rows of controls, `inset`), the others
//   beside it;
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
//
// With `windowPut` (the user moved or resized the window), the window keeps its frame where its drawers
// find room on the screen there, beside it or over its picture where they lie over it already: clear of
// the obstacles where they can, else (marked not clear) on them. Only where they find none, the window
// moves as far as its drawers need to stay on the screen (the steps above without obstacles, marked not
// clear); the obstacles never move it.
DrawerArrangement arrangeDrawers(const QRect& frame, const QRect& area,
                                 const std::vector<DrawerNeed>& drawers,
                                 const std::vector<QSize>& leastFrames,
                                 const std::vector<QRect>& obstacles = {}, const QMargins& inset = {},
                                 bool windowPut = false);

}  // namespace nupo
