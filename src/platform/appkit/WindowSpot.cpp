#include "platform/appkit/WindowSpot.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace nupo {

namespace {

// What a spot covers, in pixels: of the shown windows' controls, of the shown windows, and of the
// windows kept clear.
struct Cover {
    std::array<qint64, 3> of{};

    qint64 controls() const { return of[0]; }
    qint64 windows() const { return of[1]; }
    qint64 keptClear() const { return of[2]; }
    // Less of the controls first, then less of the windows.
    bool lessThan(const Cover& other) const
    {
        return controls() != other.controls() ? controls() < other.controls() : windows() < other.windows();
    }
    bool nothing() const { return controls() == 0 && windows() == 0; }
};

// The rectangles a spot may cover, by kind (the indices of Cover::of).
using Kinds = std::array<std::vector<QRect>, 3>;

qint64 overlap(int first, int last, int otherFirst, int otherLast)
{
    return std::max(0, std::min(last, otherLast) - std::max(first, otherFirst) + 1);
}

Cover coverOf(const QRect& spot, const Kinds& kinds)
{
    Cover cover;
    for (std::size_t kind = 0; kind < kinds.size(); ++kind)
        for (const QRect& r : kinds[kind])
            cover.of[kind] += overlap(spot.left(), spot.right(), r.left(), r.right()) *
                              overlap(spot.top(), spot.bottom(), r.top(), r.bottom());
    return cover;
}

// Positions along one axis for a window of extent `size` within [low, high]: the area's edges, where
// the window was, and just before and just after each rectangle it might cover.
std::vector<int> positions(int low, int high, int size, int current, const Kinds& kinds, bool horizontal)
{
    std::vector<int> at{low, high + 1 - size, current};
    for (const std::vector<QRect>& rects : kinds) {
        for (const QRect& r : rects) {
            at.push_back((horizontal ? r.left() : r.top()) - size);
            at.push_back((horizontal ? r.right() : r.bottom()) + 1);
        }
    }
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    at.erase(std::remove_if(at.begin(), at.end(), [&](int p) { return p < low || p + size - 1 > high; }),
             at.end());
    return at;
}

// The covers of the spots (x, y, w, h) for every x of `xs` (ascending) along one row. A rectangle's cover
// as the spot slides right is a piecewise linear function of x (rising, level, falling), so the row is
// one sweep over the points where the slopes change rather than a sum over the rectangles at each x.
std::vector<Cover> rowCovers(int y, int w, int h, const std::vector<int>& xs, const Kinds& kinds)
{
    struct Bend {
        int at;
        std::size_t kind;
        qint64 slope;
    };
    std::vector<Bend> bends;
    for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
        for (const QRect& r : kinds[kind]) {
            const qint64 rows = overlap(y, y + h - 1, r.top(), r.bottom());
            if (rows == 0)
                continue;
            const int end = r.right() + 1;
            const int levelFrom = std::min(r.left(), end - w);
            const int levelTo = std::max(r.left(), end - w);
            bends.insert(bends.end(), {{r.left() - w, kind, rows},
                                       {levelFrom, kind, -rows},
                                       {levelTo, kind, -rows},
                                       {end, kind, rows}});
        }
    }
    std::sort(bends.begin(), bends.end(), [](const Bend& a, const Bend& b) { return a.at < b.at; });

    std::vector<Cover> covers;
    covers.reserve(xs.size());
    Cover value;
    std::array<qint64, 3> slope{};
    int at = xs.empty() ? 0 : std::min(xs.front(), bends.empty() ? xs.front() : bends.front().at);
    std::size_t next = 0;
    const auto advanceTo = [&](int x) {
        for (std::size_t kind = 0; kind < slope.size(); ++kind)
            value.of[kind] += slope[kind] * (x - at);
        at = x;
    };
    for (int x : xs) {
        for (; next < bends.size() && bends[next].at <= x; ++next) {
            advanceTo(bends[next].at);
            slope[bends[next].kind] += bends[next].slope;
        }
        advanceTo(x);
        covers.push_back(value);
    }
    return covers;
}

}  // namespace

std::optional<QRect> openingSpot(const QRect& current, const QRect& area,
                                 const QList<ShownWindowFrame>& shown, const QList<QRect>& keptClear)
{
    Kinds kinds;
    for (const ShownWindowFrame& window : shown) {
        kinds[0].insert(kinds[0].end(), window.controls.begin(), window.controls.end());
        kinds[1].push_back(window.frame);
    }
    kinds[2].assign(keptClear.begin(), keptClear.end());
    Cover least = coverOf(current, kinds);
    if (least.nothing() || area.isEmpty())
        return std::nullopt;
    const int w = current.width();
    const int h = current.height();
    const std::vector<int> xs = positions(area.left(), area.right(), w, current.left(), kinds, true);
    const std::vector<int> ys = positions(area.top(), area.bottom(), h, current.top(), kinds, false);

    std::optional<QRect> best;
    for (int y : ys) {
        const std::vector<Cover> row = rowCovers(y, w, h, xs, kinds);
        for (std::size_t i = 0; i < xs.size(); ++i) {
            if (row[i].keptClear() != 0 || !row[i].lessThan(least))
                continue;
            least = row[i];
            best = QRect(xs[i], y, w, h);
            if (least.nothing())
                return best;
        }
    }
    return best;
}

std::optional<QRect> cornerSpot(const QRect& current, const QRect& area, const QList<QRect>& controls,
                                const QList<QRect>& keptClear)
{
    const auto covered = [](const QRect& spot, const QList<QRect>& rects) {
        qint64 pixels = 0;
        for (const QRect& r : rects)
            pixels += overlap(spot.left(), spot.right(), r.left(), r.right()) *
                      overlap(spot.top(), spot.bottom(), r.top(), r.bottom());
        return pixels;
    };
    if (area.contains(current) && covered(current, controls) == 0 && covered(current, keptClear) == 0)
        return current;
    const QSize size = current.size();
    std::vector<QRect> corners{QRect(area.topLeft(), size),
                               QRect(QPoint(area.right() + 1 - size.width(), area.top()), size),
                               QRect(QPoint(area.left(), area.bottom() + 1 - size.height()), size),
                               QRect(area.bottomRight() - QPoint(size.width() - 1, size.height() - 1), size)};
    const auto distance = [&current](const QRect& r) {
        return std::abs(qint64(r.left()) - current.left()) + std::abs(qint64(r.top()) - current.top());
    };
    std::stable_sort(corners.begin(), corners.end(),
                     [&](const QRect& a, const QRect& b) { return distance(a) < distance(b); });
    // Where every corner hides a control (rows of controls across the whole screen), the spots along the
    // screen's left and right edges just below or above a control: the picture's corners.
    std::vector<QRect> alongEdges;
    for (const int x : {area.left(), area.right() + 1 - size.width()}) {
        for (const QRect& control : controls) {
            for (const int y : {control.bottom() + 1, control.top() - size.height()}) {
                const QRect spot(QPoint(x, y), size);
                if (area.contains(spot))
                    alongEdges.push_back(spot);
            }
        }
    }
    std::stable_sort(alongEdges.begin(), alongEdges.end(),
                     [&](const QRect& a, const QRect& b) { return distance(a) < distance(b); });
    corners.insert(corners.end(), alongEdges.begin(), alongEdges.end());
    std::optional<QRect> best;
    qint64 least = 0;
    for (const QRect& corner : corners) {
        if (covered(corner, keptClear) != 0)
            continue;
        const qint64 pixels = covered(corner, controls);
        if (!best || pixels < least) {
            best = corner;
            least = pixels;
        }
        if (pixels == 0)
            break;
    }
    return best;
}

}  // namespace nupo
