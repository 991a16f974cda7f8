#include "platform/appkit/DrawerArrangement.h"

#include <algorithm>
#include <cstdlib>
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

DrawerArrangement arrangeDrawers(const QRect& frame, const QRect& area,
                                 const std::vector<DrawerNeed>& drawers,
                                 const std::vector<QSize>& leastFrames)
{
    std::vector<int> asked;
    for (const DrawerNeed& drawer : drawers)
        asked.push_back(drawer.depth);
    std::vector<Sides> choices = everyChoice(drawers);
    // Where no choice keeps the drawers apart, they go on the sides they prefer, placed as well as may be.
    bool overlapping = false;
    const auto apartAt = [&](const QRect& at, const Sides& sides) {
        return overlapping || apart(at, drawers, sides.edges);
    };
    {
        std::vector<Sides> kept;
        for (const Sides& sides : choices)
            if (apartAt(frame, sides))
                kept.push_back(sides);
        if (kept.empty()) {
            overlapping = true;
            kept.push_back(choices.front());
        }
        choices = std::move(kept);
    }
    if (area.isEmpty() || drawers.empty())
        return {frame, choices.front().edges, asked};

    // The window stays.
    const Sides* best = nullptr;
    for (const Sides& sides : choices) {
        const std::vector<QRect> rects = rectsOf(frame, drawers, sides.edges, asked);
        const bool inArea =
            std::all_of(rects.begin(), rects.end(), [&](const QRect& r) { return area.contains(r); });
        if (inArea && (!best || std::tie(sides.flips, sides.changes) < std::tie(best->flips, best->changes)))
            best = &sides;
    }
    if (best)
        return {frame, best->edges, asked};

    // The window moves.
    std::optional<DrawerArrangement> moved;
    std::tuple<int, int, int> movedCost;
    for (const Sides& sides : choices) {
        const Reach reach = reachOf(sides.edges, asked);
        if (!fits(frame.size(), reach, area))
            continue;
        const QRect to = nearestFrame(frame, frame.size(), reach, area);
        const std::tuple cost{sides.flips, distance(frame, to), sides.changes};
        if (!moved || cost < movedCost) {
            moved = DrawerArrangement{to, sides.edges, asked};
            movedCost = cost;
        }
    }
    if (moved)
        return *moved;

    // The window shrinks, to the first of its least sizes that makes room.
    const auto shrunk = [&](const Reach& reach, const QSize& least) {
        return QSize(
            std::max(least.width(), std::min(frame.width(), area.width() - reach.left - reach.right)),
            std::max(least.height(), std::min(frame.height(), area.height() - reach.bottom)));
    };
    for (const QSize& least : leastFrames) {
        std::optional<DrawerArrangement> smaller;
        std::tuple<int, qint64, int, int> smallerCost;
        for (const Sides& sides : choices) {
            const Reach reach = reachOf(sides.edges, asked);
            const QSize size = shrunk(reach, least);
            if (!fits(size, reach, area))
                continue;
            const QRect to = nearestFrame(frame, size, reach, area);
            if (!apartAt(to, sides))
                continue;
            const std::tuple cost{sides.flips, areaOf(frame.size()) - areaOf(size), distance(frame, to),
                                  sides.changes};
            if (!smaller || cost < smallerCost) {
                smaller = DrawerArrangement{to, sides.edges, asked};
                smallerCost = cost;
            }
        }
        if (smaller)
            return *smaller;
    }

    // The drawers are squeezed: the room beside the window goes to the sides in proportion to their reach.
    std::optional<DrawerArrangement> squeezed;
    std::tuple<qint64, int, int, int> squeezedCost;
    for (const Sides& sides : choices) {
        const Reach reach = reachOf(sides.edges, asked);
        const QSize size = leastFrames.empty() ? frame.size() : shrunk(reach, leastFrames.back());
        const int across = std::max(0, area.width() - size.width());
        const int wanted = reach.left + reach.right;
        const int leftRoom = wanted > across ? int(qint64(across) * reach.left / wanted) : reach.left;
        const int rightRoom = wanted > across ? across - leftRoom : reach.right;
        const int belowRoom = std::max(0, area.height() - size.height());
        std::vector<int> depths;
        qint64 lost = 0;
        for (std::size_t i = 0; i < drawers.size(); ++i) {
            const DrawerEdge edge = sides.edges[i];
            const int room = edge == DrawerEdge::Left    ? leftRoom
                             : edge == DrawerEdge::Right ? rightRoom
                                                         : belowRoom;
            const int depth =
                std::max(std::min(drawers[i].depth, drawers[i].leastDepth), std::min(drawers[i].depth, room));
            lost += drawers[i].depth - depth;
            depths.push_back(depth);
        }
        const QRect to = nearestFrame(frame, size, reachOf(sides.edges, depths), area);
        if (!apartAt(to, sides))
            continue;
        const std::tuple cost{lost, sides.flips, distance(frame, to), sides.changes};
        if (!squeezed || cost < squeezedCost) {
            squeezed = DrawerArrangement{to, sides.edges, depths};
            squeezedCost = cost;
        }
    }
    if (squeezed)
        return *squeezed;
    return {frame, choices.front().edges, asked};
}

}  // namespace nupo
