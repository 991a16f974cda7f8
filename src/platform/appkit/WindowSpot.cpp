#include "platform/appkit/WindowSpot.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace nupo {

namespace {

qint64 areaOf(const QRect& r)
{
    return r.isEmpty() ? 0 : qint64(r.width()) * r.height();
}

// What a spot covers: of the shown windows' controls first, then of the shown windows.
struct Cover {
    qint64 controls = 0;
    qint64 windows = 0;

    bool operator<(const Cover& other) const
    {
        return controls != other.controls ? controls < other.controls : windows < other.windows;
    }
};

// The cover of `spot`; stops counting (and reports more than `limit`) as soon as it exceeds `limit`.
Cover coverOf(const QRect& spot, const QList<ShownWindowFrame>& shown, const Cover& limit)
{
    Cover cover;
    for (const ShownWindowFrame& window : shown) {
        if (!window.frame.intersects(spot))
            continue;
        cover.windows += areaOf(window.frame.intersected(spot));
        for (const QRect& control : window.controls)
            cover.controls += areaOf(control.intersected(spot));
        if (limit < cover)
            break;
    }
    return cover;
}

// Positions along one axis for a window of extent `size` within [low, high]: the area's edges, where
// the window was, and just before and just after each edge of what it might cover.
std::vector<int> positions(int low, int high, int size, int current,
                           const std::vector<std::pair<int, int>>& spans)
{
    std::vector<int> at{low, high + 1 - size, current};
    for (const auto& [first, last] : spans) {
        at.push_back(first - size);
        at.push_back(last + 1);
    }
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    at.erase(std::remove_if(at.begin(), at.end(), [&](int p) { return p < low || p + size - 1 > high; }),
             at.end());
    return at;
}

}  // namespace

std::optional<QRect> openingSpot(const QRect& current, const QRect& area,
                                 const QList<ShownWindowFrame>& shown, const QList<QRect>& keptClear)
{
    const Cover none;
    Cover least = coverOf(current, shown, Cover{std::numeric_limits<qint64>::max(), 0});
    if (!(none < least) || area.isEmpty())
        return std::nullopt;
    const int w = current.width();
    const int h = current.height();
    std::vector<std::pair<int, int>> columns;
    std::vector<std::pair<int, int>> rows;
    for (const ShownWindowFrame& window : shown) {
        columns.emplace_back(window.frame.left(), window.frame.right());
        rows.emplace_back(window.frame.top(), window.frame.bottom());
        for (const QRect& control : window.controls) {
            columns.emplace_back(control.left(), control.right());
            rows.emplace_back(control.top(), control.bottom());
        }
    }
    const std::vector<int> xs = positions(area.left(), area.right(), w, current.left(), columns);
    const std::vector<int> ys = positions(area.top(), area.bottom(), h, current.top(), rows);

    std::optional<QRect> best;
    for (int y : ys) {
        for (int x : xs) {
            const QRect spot(x, y, w, h);
            if (std::any_of(keptClear.begin(), keptClear.end(),
                            [&spot](const QRect& f) { return f.intersects(spot); }))
                continue;
            const Cover cover = coverOf(spot, shown, least);
            if (cover < least) {
                least = cover;
                best = spot;
                if (!(none < least))
                    return best;
            }
        }
    }
    return best;
}

}  // namespace nupo
