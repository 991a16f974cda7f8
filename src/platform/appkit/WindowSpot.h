#pragma once

#include <QList>
#include <QRect>

#include <optional>

namespace nupo {

// A window on the screen as one opening beside it sees it: its frame and the places of its controls
// (title bar, menu bar, buttons, fields, sliders), all in screen coordinates. What is not a control
// (a plot, a picture) may be covered by a window opening over it; the controls should stay in reach.
struct ShownWindowFrame {
    QRect frame;
    QList<QRect> controls;
};

// Where a window opening with frame `current` goes, at its size, within `area` and clear of the frames
// in `keptClear`: the spot that covers the least of the shown windows' controls and, among spots that
// cover as little of them, the least of the shown windows. The first such spot (rows first, from the
// top left) is taken where it is better than `current`; nothing when `current` is as good as any
// (it covers nothing), or when no spot of the area holds the window clear of `keptClear`.
std::optional<QRect> openingSpot(const QRect& current, const QRect& area,
                                 const QList<ShownWindowFrame>& shown, const QList<QRect>& keptClear);

// Where a window that gives way (a palette) goes while the window it lies on is maximised: where it is,
// when it covers none of `controls` (the maximised window's menu, buttons and drawers' controls) nor of
// `keptClear`; else the nearest corner of `area` that covers neither; else (rows of controls across the
// screen) the nearest spot along the screen's left or right edge, just below or above a control, that
// covers neither; else, of those clear of `keptClear`, the one covering the least of the controls. Never
// the middle of the picture. Nothing where no spot is clear of `keptClear`.
std::optional<QRect> cornerSpot(const QRect& current, const QRect& area, const QList<QRect>& controls,
                                const QList<QRect>& keptClear);

}  // namespace nupo
