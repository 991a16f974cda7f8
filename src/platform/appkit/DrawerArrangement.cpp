#include "platform/appkit/DrawerArrangement.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <limits>
#include <optional>
#include <tuple>

namespace nupo {

namespace {

bool isSide(DrawerEdge edge)
{
    return edge != DrawerEdge::Bottom;
}

DrawerEdge opposite(DrawerEdge edge)
{
    return edge == DrawerEdge::Left ? DrawerEdge::Right : edge == DrawerEdge::Right ? DrawerEdge::Left : edge;
}

// One choice of edges for the drawers.
struct Sides {
    std::vector<DrawerEdge> edges;
    int flips = 0;    // drawers off the edge they prefer
    int changes = 0;  // drawers off the edge they are on
};

// Every choice of edges: the bottom drawer stays at the bottom, each side drawer takes either side.
std::vector<Sides> everyChoice(const std::vector<DrawerNeed>& drawers)
{
    std::vector<std::size_t> sideDrawers;
    for (std::size_t i = 0; i < drawers.size(); ++i)
        if (isSide(drawers[i].preferred))
            sideDrawers.push_back(i);
    std::vector<Sides> choices;
    for (unsigned mask = 0; mask < (1u << sideDrawers.size()); ++mask) {
        Sides sides;
        for (const DrawerNeed& drawer : drawers)
            sides.edges.push_back(drawer.preferred);
        for (std::size_t bit = 0; bit < sideDrawers.size(); ++bit)
            if (mask & (1u << bit)) {
                DrawerEdge& edge = sides.edges[sideDrawers[bit]];
                edge = opposite(edge);
                ++sides.flips;
            }
        for (std::size_t i = 0; i < drawers.size(); ++i)
            if (sides.edges[i] != drawers[i].current)
                ++sides.changes;
        choices.push_back(std::move(sides));
    }
    return choices;
}

std::vector<QRect> rectsOf(const QRect& frame, const std::vector<DrawerNeed>& drawers,
                           const std::vector<DrawerEdge>& edges, const std::vector<int>& depths)
{
    std::vector<QRect> rects;
    for (std::size_t i = 0; i < drawers.size(); ++i)
        rects.push_back(drawerRect(frame, edges[i], depths[i], drawers[i].leading, drawers[i].trailing));
    return rects;
}

// Whether no two drawers on one edge share a point (drawers on different edges never do).
bool apart(const QRect& frame, const std::vector<DrawerNeed>& drawers, const std::vector<DrawerEdge>& edges)
{
    std::vector<int> depths;
    for (const DrawerNeed& drawer : drawers)
        depths.push_back(drawer.depth);
    const std::vector<QRect> rects = rectsOf(frame, drawers, edges, depths);
    for (std::size_t i = 0; i < rects.size(); ++i)
        for (std::size_t j = i + 1; j < rects.size(); ++j)
            if (edges[i] == edges[j] && rects[i].intersects(rects[j]))
                return false;
    return true;
}

// Whether no two drawers on one edge share more than a row: the two right drawers of a window of odd
// height meet on its middle row, which the lower one leaves to the upper as it is laid out.
bool apartButTheMiddleRow(const QRect& frame, const std::vector<DrawerNeed>& drawers,
                          const std::vector<DrawerEdge>& edges)
{
    for (std::size_t i = 0; i < drawers.size(); ++i)
        for (std::size_t j = i + 1; j < drawers.size(); ++j) {
            if (edges[i] != edges[j])
                continue;
            const QRect a =
                drawerRect(frame, edges[i], drawers[i].depth, drawers[i].leading, drawers[i].trailing);
            const QRect b =
                drawerRect(frame, edges[j], drawers[j].depth, drawers[j].leading, drawers[j].trailing);
            const QRect both = a.intersected(b);
            if (!both.isEmpty() && (!isSide(edges[i]) || both.height() > 1))
                return false;
        }
    return true;
}

// How far the drawers reach out of the frame on each side.
struct Reach {
    int left = 0;
    int right = 0;
    int bottom = 0;
};

Reach reachOf(const std::vector<DrawerEdge>& edges, const std::vector<int>& depths)
{
    Reach reach;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        int& side = edges[i] == DrawerEdge::Left    ? reach.left
                    : edges[i] == DrawerEdge::Right ? reach.right
                                                    : reach.bottom;
        side = std::max(side, std::max(1, depths[i]));
    }
    return reach;
}

int clampedTo(int value, int low, int high)
{
    return high < low ? low : std::clamp(value, low, high);
}

// The frame of size `size` nearest to `frame` that keeps it and the drawers' reach within the area.
QRect nearestFrame(const QRect& frame, const QSize& size, const Reach& reach, const QRect& area)
{
    const int x = clampedTo(frame.left(), area.left() + reach.left,
                            area.left() + area.width() - reach.right - size.width());
    const int y =
        clampedTo(frame.top(), area.top(), area.top() + area.height() - reach.bottom - size.height());
    return {QPoint(x, y), size};
}

bool fits(const QSize& size, const Reach& reach, const QRect& area)
{
    return size.width() + reach.left + reach.right <= area.width() &&
           size.height() + reach.bottom <= area.height();
}

int distance(const QRect& from, const QRect& to)
{
    return std::abs(to.left() - from.left()) + std::abs(to.top() - from.top());
}

qint64 areaOf(const QSize& size)
{
    return qint64(size.width()) * size.height();
}

}  // namespace

QRect drawerRect(const QRect& frame, DrawerEdge edge, int depth, int leading, int trailing)
{
    depth = std::max(1, depth);
    leading = std::max(0, leading);
    trailing = std::max(0, trailing);
    switch (edge) {
        case DrawerEdge::Left:
            return {frame.left() - depth, frame.top() + leading, depth,
                    std::max(1, frame.height() - leading - trailing)};
        case DrawerEdge::Right:
            return {frame.right() + 1, frame.top() + leading, depth,
                    std::max(1, frame.height() - leading - trailing)};
        case DrawerEdge::Bottom:
            break;
    }
    return {frame.left() + leading, frame.bottom() + 1, std::max(1, frame.width() - leading - trailing),
            depth};
}

std::vector<QRect> drawerRects(const QRect& frame, const std::vector<DrawerNeed>& drawers,
                               const std::vector<DrawerEdge>& edges, const std::vector<int>& depths,
                               const std::vector<bool>& over, const QMargins& inset, const int* floor)
{
    const auto isOver = [&over](std::size_t i) { return i < over.size() && over[i]; };
    // How deep the drawers over the window reach in from each edge.
    QMargins overReach;
    for (std::size_t i = 0; i < drawers.size(); ++i) {
        if (!isOver(i))
            continue;
        const int depth = std::max(1, depths[i]);
        if (edges[i] == DrawerEdge::Left)
            overReach.setLeft(std::max(overReach.left(), depth));
        else if (edges[i] == DrawerEdge::Right)
            overReach.setRight(std::max(overReach.right(), depth));
        else
            overReach.setBottom(std::max(overReach.bottom(), depth));
    }
    // The bottom drawers over the window first: a side drawer over the window ends above one only where
    // they share columns.
    std::vector<QRect> rects(drawers.size());
    std::vector<QRect> overBottom;
    for (std::size_t i = 0; i < drawers.size(); ++i) {
        if (isOver(i) && !isSide(edges[i])) {
            rects[i] = drawerRect(frame.marginsRemoved(inset + QMargins(0, 0, 0, overReach.bottom())),
                                  edges[i], depths[i], drawers[i].leading, drawers[i].trailing);
            overBottom.push_back(rects[i]);
        }
    }
    // Each side drawer over the window: the room inside the window on its side, from its scaled leading
    // offset down (its offsets are given for the window's height).
    std::vector<int> overFloor(drawers.size());
    for (std::size_t i = 0; i < drawers.size(); ++i) {
        if (!isSide(edges[i])) {
            continue;
        }
        if (!isOver(i)) {
            rects[i] = drawerRect(frame, edges[i], depths[i], drawers[i].leading, drawers[i].trailing);
            continue;
        }
        QMargins in = inset + QMargins(overReach.left(), 0, overReach.right(), 0);
        const auto placed = [&] {
            const QRect inner = frame.marginsRemoved(in);
            const double scale =
                frame.height() > 0 ? std::clamp(double(inner.height()) / frame.height(), 0.0, 1.0) : 1.0;
            return drawerRect(inner, edges[i], depths[i], int(drawers[i].leading * scale),
                              int(drawers[i].trailing * scale));
        };
        rects[i] = placed();
        if (std::any_of(overBottom.begin(), overBottom.end(), [&](const QRect& b) {
                return b.left() <= rects[i].right() && rects[i].left() <= b.right();
            })) {
            in.setBottom(in.bottom() + overReach.bottom());
            rects[i] = placed();
        }
        overFloor[i] = frame.marginsRemoved(in).bottom();
    }
    for (std::size_t i = 0; i < drawers.size(); ++i)
        if (!isOver(i) && !isSide(edges[i]))
            rects[i] = drawerRect(frame, edges[i], depths[i], drawers[i].leading, drawers[i].trailing);
    // Side drawers grow to the length their content needs, top to bottom on each side: beside the window
    // down into the screen below it; over the window within the room inside it, which they share in
    // proportion to their needs where it is too short.
    for (const DrawerEdge side : {DrawerEdge::Left, DrawerEdge::Right}) {
        std::vector<std::size_t> onSide;
        for (std::size_t i = 0; i < drawers.size(); ++i)
            if (edges[i] == side && !isOver(i))
                onSide.push_back(i);
        std::vector<std::size_t> overOnSide;
        for (std::size_t i = 0; i < drawers.size(); ++i)
            if (edges[i] == side && isOver(i))
                overOnSide.push_back(i);
        std::stable_sort(overOnSide.begin(), overOnSide.end(),
                         [&rects](std::size_t a, std::size_t b) { return rects[a].top() < rects[b].top(); });
        if (!overOnSide.empty()) {
            int floorRow = std::numeric_limits<int>::max();
            qint64 needed = 0;
            for (std::size_t k : overOnSide) {
                floorRow = std::min(floorRow, overFloor[k]);
                needed += std::max(rects[k].height(), drawers[k].length);
            }
            const int top = rects[overOnSide.front()].top();
            const qint64 room = std::max(qint64(overOnSide.size()), qint64(floorRow) - top + 1);
            int at = top;
            for (std::size_t k : overOnSide) {
                const qint64 wanted = std::max(rects[k].height(), drawers[k].length);
                const int length = int(needed <= room ? wanted : std::max<qint64>(1, room * wanted / needed));
                rects[k].moveTop(at);
                rects[k].setHeight(length);
                at += length;
            }
        }
        std::stable_sort(onSide.begin(), onSide.end(),
                         [&rects](std::size_t a, std::size_t b) { return rects[a].top() < rects[b].top(); });
        const std::vector<QRect> given = rects;
        int below = std::numeric_limits<int>::min();  // the last row taken on this side
        for (std::size_t k = 0; k < onSide.size(); ++k) {
            QRect& r = rects[onSide[k]];
            const int wanted = std::max(r.height(), drawers[onSide[k]].length);
            if (!floor) {
                r.moveTop(std::max(r.top(), below + 1));
                r.setHeight(wanted);
            } else {
                // Up to the next drawer's place or the screen's last row; no less than its offsets give,
                // but for a row the drawer above takes.
                if (r.top() <= below)
                    r.setTop(std::min(below + 1, r.bottom()));
                const int end = k + 1 < onSide.size() ? given[onSide[k + 1]].top() - 1 : *floor;
                r.setHeight(std::max(r.height(), std::min(wanted, end - r.top() + 1)));
            }
            below = r.bottom();
        }
    }
    // A side drawer whose content scrolls along its length takes its scroll bar besides its depth.
    for (std::size_t i = 0; i < drawers.size(); ++i) {
        QRect& r = rects[i];
        if (!isSide(edges[i]) || r.height() >= drawers[i].length)
            continue;
        const bool outward = (edges[i] == DrawerEdge::Left) != isOver(i);
        if (outward)
            r.setLeft(r.left() - drawers[i].scrollBar);
        else
            r.setRight(r.right() + drawers[i].scrollBar);
    }
    return rects;
}

namespace {

// How deep a drawer over the window may be: no more than three quarters of what the window leaves it.
int overDepth(const DrawerNeed& drawer, DrawerEdge edge, const QRect& frame, const QMargins& inset)
{
    const QRect inner = frame.marginsRemoved(inset);
    const int room = (isSide(edge) ? inner.width() : inner.height()) * 3 / 4;
    return std::max(std::min(drawer.depth, drawer.leastDepth), std::min(drawer.depth, room));
}

}  // namespace

DrawerArrangement arrangeOverWindow(const QRect& frame, const std::vector<DrawerNeed>& drawers,
                                    const QMargins& inset)
{
    DrawerArrangement arranged{frame, {}, {}, true, std::vector<bool>(drawers.size(), true), {}};
    for (const DrawerNeed& drawer : drawers) {
        arranged.edges.push_back(drawer.preferred);
        arranged.depths.push_back(overDepth(drawer, drawer.preferred, frame, inset));
    }
    arranged.rects = drawerRects(frame, drawers, arranged.edges, arranged.depths, arranged.over, inset);
    return arranged;
}

namespace {

// What one arrangement costs; the least wins. Each step has its own order of concerns.
using Cost = std::array<qint64, 5>;

struct Found {
    DrawerArrangement arrangement;
    Cost cost;
};

// What every step of arrangeDrawers works from.
struct Setting {
    const QRect& frame;
    const std::vector<DrawerNeed>& drawers;
    const std::vector<QSize>& leastFrames;
    std::vector<Sides> choices;
    std::vector<int> asked;
    bool overlapping = false;  // no choice of sides keeps the drawers apart
    QMargins inset;            // the window's rows of controls, which drawers over it keep clear of
    // Whether side drawers scroll along their length rather than grow past the screen's last row.
    bool capped = false;
    // Whether only the drawers lying over the window now may lie over it.
    bool keepOver = false;
    // Whether an arrangement is allowed (keeps clear of the obstacles).
    std::function<bool(const DrawerArrangement&)> accept;

    bool apartAt(const QRect& at, const Sides& sides) const
    {
        return overlapping || apart(at, drawers, sides.edges);
    }
    std::vector<QRect> rectsAt(const QRect& at, const std::vector<DrawerEdge>& edges,
                               const std::vector<int>& depths, const std::vector<bool>& over,
                               const QRect& area) const
    {
        const int floor = area.bottom();
        return drawerRects(at, drawers, edges, depths, over, inset, capped ? &floor : nullptr);
    }
    // How far the side drawers beside a window of frame `at` reach below it.
    int overhang(const QRect& at, const std::vector<DrawerEdge>& edges, const std::vector<int>& depths,
                 const QRect& area) const
    {
        int lowest = at.bottom();
        const std::vector<QRect> rects = rectsAt(at, edges, depths, {}, area);
        for (std::size_t i = 0; i < rects.size(); ++i)
            if (isSide(edges[i]))
                lowest = std::max(lowest, rects[i].bottom());
        return lowest - at.bottom();
    }
    // Offers the arrangement where all its drawers lie in the area.
    void offer(std::optional<Found>& best, DrawerArrangement arrangement, const Cost& cost,
               const QRect& area) const
    {
        if (best && !(cost < best->cost))
            return;
        arrangement.rects =
            rectsAt(arrangement.frame, arrangement.edges, arrangement.depths, arrangement.over, area);
        if (!area.contains(arrangement.frame) ||
            !std::all_of(arrangement.rects.begin(), arrangement.rects.end(),
                         [&area](const QRect& r) { return area.contains(r); }))
            return;
        if (accept(arrangement))
            best = Found{std::move(arrangement), cost};
    }
};

Reach reachAt(const Setting& s, const QRect& at, const std::vector<DrawerEdge>& edges,
              const std::vector<int>& depths, const QRect& area)
{
    Reach reach = reachOf(edges, depths);
    reach.bottom = std::max(reach.bottom, s.overhang(at, edges, depths, area));
    return reach;
}

// The window stays; the fewest side drawers take the other side.
std::optional<Found> windowStays(const Setting& s, const QRect& area)
{
    std::optional<Found> best;
    for (const Sides& sides : s.choices)
        s.offer(best, {s.frame, sides.edges, s.asked, true, {}, {}}, {sides.flips, sides.changes, 0, 0, 0},
                area);
    return best;
}

// The window moves as little as it can, its drawers keeping the sides they are on (a drawer does not
// jump across the window as another opens); of moves as short, the fewest drawers off their side.
std::optional<Found> windowMoves(const Setting& s, const QRect& area)
{
    std::optional<Found> best;
    for (const Sides& sides : s.choices) {
        const Reach reach = reachAt(s, s.frame, sides.edges, s.asked, area);
        if (!fits(s.frame.size(), reach, area))
            continue;
        const QRect to = nearestFrame(s.frame, s.frame.size(), reach, area);
        s.offer(best, {to, sides.edges, s.asked, true, {}, {}},
                {sides.changes, distance(s.frame, to), sides.flips, 0, 0}, area);
    }
    return best;
}

// The size the window shrinks to for the drawers' reach, no less than `least`.
QSize shrunk(const QRect& frame, const QRect& area, const Reach& reach, const QSize& least)
{
    return {std::max(least.width(), std::min(frame.width(), area.width() - reach.left - reach.right)),
            std::max(least.height(), std::min(frame.height(), area.height() - reach.bottom))};
}

// The window shrinks (to no less than `least`) and moves.
std::optional<Found> windowShrinks(const Setting& s, const QRect& area, const QSize& least)
{
    std::optional<Found> best;
    for (const Sides& sides : s.choices) {
        const QSize size = shrunk(s.frame, area, reachAt(s, s.frame, sides.edges, s.asked, area), least);
        const Reach reach = reachAt(s, QRect(s.frame.topLeft(), size), sides.edges, s.asked, area);
        if (!fits(size, reach, area))
            continue;
        const QRect to = nearestFrame(s.frame, size, reach, area);
        if (!s.apartAt(to, sides))
            continue;
        s.offer(best, {to, sides.edges, s.asked, true, {}, {}},
                {sides.flips, areaOf(s.frame.size()) - areaOf(size), distance(s.frame, to), sides.changes, 0},
                area);
    }
    return best;
}

// The fewest drawers lie over the window, the others beside it; the window shrinks no further than the
// last of the least frames.
std::optional<Found> drawersOver(const Setting& s, const QRect& area)
{
    std::optional<Found> best;
    const QSize least = s.leastFrames.empty() ? s.frame.size() : s.leastFrames.back();
    const std::size_t n = s.drawers.size();
    for (const Sides& sides : s.choices) {
        for (unsigned mask = 1; mask < (1u << n); ++mask) {
            std::vector<bool> over(n);
            int count = 0;
            bool moved = false;  // a drawer beside the window now lies over it
            for (std::size_t i = 0; i < n; ++i) {
                over[i] = (mask >> i) & 1u;
                count += over[i];
                moved = moved || (over[i] && !s.drawers[i].over);
            }
            if (s.keepOver && moved)
                continue;
            // The drawers over the window reach nothing outside it.
            Reach reach;
            for (std::size_t i = 0; i < n; ++i) {
                if (over[i])
                    continue;
                int& side = sides.edges[i] == DrawerEdge::Left    ? reach.left
                            : sides.edges[i] == DrawerEdge::Right ? reach.right
                                                                  : reach.bottom;
                side = std::max(side, std::max(1, s.asked[i]));
            }
            std::vector<DrawerEdge> edges = sides.edges;
            for (std::size_t i = 0; i < n; ++i)
                if (over[i])
                    edges[i] = s.drawers[i].preferred;
            const QSize size = shrunk(s.frame, area, reach, least);
            const QRect at(s.frame.topLeft(), size);
            std::vector<int> depths = s.asked;
            qint64 lost = 0;
            for (std::size_t i = 0; i < n; ++i)
                if (over[i]) {
                    depths[i] = overDepth(s.drawers[i], edges[i], at, s.inset);
                    lost += s.asked[i] - depths[i];
                }
            Reach withHang = reach;
            int lowest = at.bottom();
            const std::vector<QRect> rects = s.rectsAt(at, edges, depths, over, area);
            for (std::size_t i = 0; i < n; ++i)
                if (isSide(edges[i]) && !over[i])
                    lowest = std::max(lowest, rects[i].bottom());
            withHang.bottom = std::max(withHang.bottom, lowest - at.bottom());
            if (!fits(size, withHang, area))
                continue;
            const QRect to = nearestFrame(s.frame, size, withHang, area);
            DrawerArrangement arrangement{to, edges, depths, true, over, {}};
            s.offer(best, std::move(arrangement),
                    {count, lost, sides.flips, areaOf(s.frame.size()) - areaOf(size), distance(s.frame, to)},
                    area);
        }
    }
    return best;
}

// The drawers are squeezed: the room beside the window goes to the sides in proportion to their reach.
std::optional<Found> drawersSqueezed(const Setting& s, const QRect& area)
{
    std::optional<Found> best;
    for (const Sides& sides : s.choices) {
        const Reach reach = reachOf(sides.edges, s.asked);
        const QSize size =
            s.leastFrames.empty() ? s.frame.size() : shrunk(s.frame, area, reach, s.leastFrames.back());
        const int across = std::max(0, area.width() - size.width());
        const int wanted = reach.left + reach.right;
        const int leftRoom = wanted > across ? int(qint64(across) * reach.left / wanted) : reach.left;
        const int rightRoom = wanted > across ? across - leftRoom : reach.right;
        const int belowRoom = std::max(0, area.height() - size.height());
        std::vector<int> depths;
        qint64 lost = 0;
        for (std::size_t i = 0; i < s.drawers.size(); ++i) {
            const DrawerEdge edge = sides.edges[i];
            const int room = edge == DrawerEdge::Left    ? leftRoom
                             : edge == DrawerEdge::Right ? rightRoom
                                                         : belowRoom;
            const DrawerNeed& drawer = s.drawers[i];
            const int depth =
                std::max(std::min(drawer.depth, drawer.leastDepth), std::min(drawer.depth, room));
            lost += drawer.depth - depth;
            depths.push_back(depth);
        }
        const QRect to = nearestFrame(s.frame, size, reachOf(sides.edges, depths), area);
        if (!s.apartAt(to, sides))
            continue;
        DrawerArrangement arrangement{to, sides.edges, depths, true, {}, {}};
        arrangement.rects = s.rectsAt(to, sides.edges, depths, {}, area);
        if ((!best || Cost{lost, sides.flips, distance(s.frame, to), sides.changes, 0} < best->cost) &&
            s.accept(arrangement))
            best =
                Found{std::move(arrangement), {lost, sides.flips, distance(s.frame, to), sides.changes, 0}};
    }
    return best;
}

// The parts of the area to try the steps in: the whole area, and beside each obstacle (above, below,
// left, right of it), alone and together with the parts beside another.
std::vector<QRect> partsBeside(const QRect& area, const std::vector<QRect>& obstacles)
{
    std::vector<QRect> parts{area};
    std::vector<std::vector<QRect>> halves;
    for (const QRect& o : obstacles) {
        if (!o.intersects(area))
            continue;
        std::vector<QRect> beside{
            QRect(QPoint(area.left(), area.top()), QPoint(area.right(), o.top() - 1)),
            QRect(QPoint(area.left(), o.bottom() + 1), QPoint(area.right(), area.bottom())),
            QRect(QPoint(area.left(), area.top()), QPoint(o.left() - 1, area.bottom())),
            QRect(QPoint(o.right() + 1, area.top()), QPoint(area.right(), area.bottom()))};
        beside.erase(std::remove_if(beside.begin(), beside.end(), [](const QRect& r) { return r.isEmpty(); }),
                     beside.end());
        for (const std::vector<QRect>& earlier : halves)
            for (const QRect& a : earlier)
                for (const QRect& b : beside)
                    if (const QRect both = a.intersected(b); !both.isEmpty())
                        parts.push_back(both);
        parts.insert(parts.end(), beside.begin(), beside.end());
        halves.push_back(std::move(beside));
    }
    std::sort(parts.begin(), parts.end(), [](const QRect& a, const QRect& b) {
        return std::tuple(a.top(), a.left(), a.bottom(), a.right()) <
               std::tuple(b.top(), b.left(), b.bottom(), b.right());
    });
    parts.erase(std::unique(parts.begin(), parts.end()), parts.end());
    return parts;
}

// The steps in turn, each in every part of the area; the first that finds an arrangement wins.
std::optional<DrawerArrangement> firstStep(const Setting& s, const std::vector<QRect>& parts)
{
    Setting full = s;
    full.capped = false;
    Setting capped = s;
    capped.capped = true;
    using Step = std::function<std::optional<Found>(const QRect&)>;
    std::vector<Step> steps;
    // First with the side drawers at the length they need, then scrolling along it where the screen ends.
    for (const Setting* at : {&full, &capped}) {
        steps.push_back([at](const QRect& a) { return windowStays(*at, a); });
        steps.push_back([at](const QRect& a) { return windowMoves(*at, a); });
        for (const QSize& least : s.leastFrames)
            steps.push_back([at, least](const QRect& a) { return windowShrinks(*at, a, least); });
    }
    steps.push_back([&capped](const QRect& a) { return drawersOver(capped, a); });
    steps.push_back([&capped](const QRect& a) { return drawersSqueezed(capped, a); });
    for (const Step& step : steps) {
        std::optional<Found> best;
        for (const QRect& part : parts)
            if (std::optional<Found> found = step(part); found && (!best || found->cost < best->cost))
                best = std::move(found);
        if (best)
            return best->arrangement;
    }
    return std::nullopt;
}

}  // namespace

std::optional<DrawerArrangement> arrangeInPlace(const QRect& frame, const QRect& area,
                                                const std::vector<DrawerNeed>& drawers,
                                                const std::vector<QRect>& obstacles, const QMargins& inset)
{
    if (area.isEmpty() || drawers.empty())
        return std::nullopt;
    std::vector<int> asked;
    for (const DrawerNeed& drawer : drawers)
        asked.push_back(drawer.depth);
    std::optional<Found> best;
    // First with the side drawers at the length they need, then scrolling along it where the screen ends.
    for (const bool capped : {false, true}) {
        const int floor = area.bottom();
        for (const Sides& sides : everyChoice(drawers)) {
            const Cost cost{sides.changes, sides.flips, 0, 0, 0};
            if ((best && !(cost < best->cost)) || !apartButTheMiddleRow(frame, drawers, sides.edges))
                continue;
            DrawerArrangement arranged{frame, sides.edges, asked, true, {}, {}};
            arranged.rects =
                drawerRects(frame, drawers, sides.edges, asked, {}, inset, capped ? &floor : nullptr);
            const bool fits = std::all_of(arranged.rects.begin(), arranged.rects.end(), [&](const QRect& r) {
                return area.contains(r) && std::none_of(obstacles.begin(), obstacles.end(),
                                                        [&r](const QRect& o) { return o.intersects(r); });
            });
            if (fits)
                best = Found{std::move(arranged), cost};
        }
        if (best)
            return best->arrangement;
    }
    return std::nullopt;
}

DrawerArrangement arrangeDrawers(const QRect& frame, const QRect& area,
                                 const std::vector<DrawerNeed>& drawers,
                                 const std::vector<QSize>& leastFrames, const std::vector<QRect>& obstacles,
                                 const QMargins& inset, bool windowPut)
{
    Setting s{frame, drawers, leastFrames, everyChoice(drawers), {}, false, inset, false, false, {}};
    for (const DrawerNeed& drawer : drawers)
        s.asked.push_back(drawer.depth);
    // Where no choice keeps the drawers apart, they go on the sides they prefer, placed as well as may be.
    {
        std::vector<Sides> kept;
        for (const Sides& sides : s.choices)
            if (s.apartAt(frame, sides))
                kept.push_back(sides);
        if (kept.empty()) {
            s.overlapping = true;
            kept.push_back(s.choices.front());
        }
        s.choices = std::move(kept);
    }
    // An arrangement found by no step: the drawers on their sides where the window stands.
    const auto asItStands = [&](bool clear) {
        DrawerArrangement arranged{frame, s.choices.front().edges, s.asked, clear, {}, {}};
        const int floor = area.bottom();
        arranged.rects = drawerRects(frame, drawers, arranged.edges, arranged.depths, {}, inset,
                                     area.isEmpty() ? nullptr : &floor);
        return arranged;
    };
    if (area.isEmpty() || drawers.empty())
        return asItStands(true);

    // The window moves onto no obstacle it does not cover already; no drawer lies on one.
    const auto clearOfObstacles = [&](const DrawerArrangement& a) {
        return std::none_of(obstacles.begin(), obstacles.end(), [&](const QRect& o) {
            return (o.intersects(a.frame) && !o.intersects(frame)) ||
                   std::any_of(a.rects.begin(), a.rects.end(),
                               [&o](const QRect& r) { return r.intersects(o); });
        });
    };
    const auto marked = [&obstacles](DrawerArrangement arranged, bool clear) {
        arranged.clear = clear || obstacles.empty();
        return arranged;
    };
    if (windowPut) {
        // Where the user put it, the window stays as long as its drawers find room on the screen there.
        Setting put = s;
        put.keepOver = true;
        const auto staysOnScreen = [&](const DrawerArrangement& a) {
            return a.frame == frame && std::all_of(a.rects.begin(), a.rects.end(),
                                                   [&area](const QRect& r) { return area.contains(r); });
        };
        put.accept = [&](const DrawerArrangement& a) { return staysOnScreen(a) && clearOfObstacles(a); };
        if (std::optional<DrawerArrangement> clear = firstStep(put, partsBeside(area, obstacles)))
            return marked(*clear, true);
        put.accept = staysOnScreen;
        if (std::optional<DrawerArrangement> stays = firstStep(put, {area}))
            return marked(*stays, false);
    } else if (!obstacles.empty()) {
        s.accept = clearOfObstacles;
        if (std::optional<DrawerArrangement> clear = firstStep(s, partsBeside(area, obstacles)))
            return *clear;
    }
    s.accept = [](const DrawerArrangement&) { return true; };
    if (std::optional<DrawerArrangement> arranged = firstStep(s, {area}))
        return marked(*arranged, false);
    return asItStands(obstacles.empty());
}

}  // namespace nupo
