#include "QXDrawerSound/player/ui/PropertyPanel.h"

#include "platform/appkit/WindowSpot.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace nupo {

namespace {

// Room between the window and its panel.
constexpr int gap = 8;

// Moves a panel along with its window.
class PanelFollower : public QObject {
public:
    static constexpr const char* name = "nupoPanelFollower";

    PanelFollower(QWidget* panel, QWidget* owner) : QObject(panel), panel_(panel), owner_(owner)
    {
        setObjectName(QLatin1String(name));
        owner->installEventFilter(this);
        ownerAt_ = owner->pos();
    }

    bool follows(const QWidget* owner) const { return owner_ == owner; }
    void restart() { ownerAt_ = owner_ ? owner_->pos() : QPoint(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == owner_ && event->type() == QEvent::Move) {
            const QPoint moved = owner_->pos() - ownerAt_;
            ownerAt_ = owner_->pos();
            if (panel_ && panel_->isVisible() && !moved.isNull()) {
                panel_->move(panel_->pos() + moved);
                WindowPlacement::keepOnScreen(panel_);
            }
        }
        return false;
    }

private:
    QPointer<QWidget> panel_;
    QPointer<QWidget> owner_;
    QPoint ownerAt_;
};

// Where the panel (a frame of size `size`) opens beside the owner and what belongs to it (its drawers):
// to their right, else to their left, below or above, its top or left level with the owner's; else the
// nearest spot of the screen that holds it whole clear of them. Where the windows kept clear leave no such
// spot, one that only a window giving way (the palette) lies on, which then moves aside (`makeRoom`); where
// none, where it covers the least of their controls.
QPoint spotBeside(const QWidget* panel, const QWidget* owner, const QSize& size, bool& makeRoom)
{
    makeRoom = false;
    const QRect area = WindowPlacement::availableArea(owner);
    const QRect window = WindowPlacement::frameOf(owner);
    QList<QRect> avoid{window};
    QRect extent = window;
    for (const QWidget* own : WindowPlacement::ownWindowsOf(owner)) {
        if (own == panel)
            continue;
        avoid.append(own->frameGeometry());
        extent = extent.united(own->frameGeometry());
    }
    const QRect tries[] = {QRect(QPoint(extent.right() + 1 + gap, window.top()), size),
                           QRect(QPoint(extent.left() - gap - size.width(), window.top()), size),
                           QRect(QPoint(window.left(), extent.bottom() + 1 + gap), size),
                           QRect(QPoint(window.left(), extent.top() - gap - size.height()), size)};
    QRect first = tries[0];
    first.moveLeft(
        std::clamp(first.left(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
    first.moveTop(
        std::clamp(first.top(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
    const QList<QRect> keptClear = WindowPlacement::keptClearFrames(panel);
    const QList<QRect> fixed = WindowPlacement::fixedFrames(panel);
    for (const QList<QRect>* clearOf : {&keptClear, &fixed}) {
        const QList<QRect> taken = avoid + *clearOf;
        const auto clear = [&taken](const QRect& r) {
            return std::none_of(taken.begin(), taken.end(), [&r](const QRect& f) { return f.intersects(r); });
        };
        for (const QRect& spot : tries)
            if (area.contains(spot) && clear(spot)) {
                makeRoom = clearOf == &fixed;
                return spot.topLeft();
            }
        // Elsewhere on the screen, as near the owner's side as there is room for the whole panel.
        if (const auto spot = WindowPlacement::clearSpot(first, size, area, taken, WindowPlacement::Prefer::Nearest);
            spot && spot->size() == size && area.contains(*spot) && clear(*spot)) {
            makeRoom = clearOf == &fixed;
            return spot->topLeft();
        }
    }
    // No room beside them: the spot that covers the least of their controls.
    QList<ShownWindowFrame> shown{{window, WindowPlacement::controlsOf(owner)}};
    for (const QWidget* own : WindowPlacement::ownWindowsOf(owner))
        if (own != panel)
            shown.append({own->frameGeometry(), WindowPlacement::controlsOf(own)});
    if (const auto spot = openingSpot(first, area, shown, keptClear))
        return spot->topLeft();
    return first.topLeft();
}

}  // namespace

void showPropertyPanel(QWidget* panel, QWidget* owner)
{
    if (!panel)
        return;
    bool makeRoom = false;
    if (!panel->isVisible() && owner) {
        // At the size its controls need, where it goes beside the slot (not moved by the placement of
        // new windows, which would put it elsewhere or shrink it).
        panel->resize(panel->size().expandedTo(panel->minimumSizeHint()));
        WindowPlacement::keepOwnSize(panel);
        WindowPlacement::keepChosenFrame(panel);
        const QSize frame = panel->size().grownBy(WindowPlacement::decorationOf(panel));
        panel->move(spotBeside(panel, owner, frame, makeRoom));  // the frame's top-left corner
        auto* follower = dynamic_cast<PanelFollower*>(
            panel->findChild<QObject*>(PanelFollower::name, Qt::FindDirectChildrenOnly));
        if (follower && !follower->follows(owner)) {
            delete follower;
            follower = nullptr;
        }
        if (!follower)
            follower = new PanelFollower(panel, owner);
        follower->restart();
    }
    panel->show();
    WindowPlacement::keepOnScreen(panel);
    // A palette on the panel's spot moves aside for the owner and what belongs to it, the panel with them.
    if (makeRoom && owner)
        WindowPlacement::giveWayTo(owner);
    WindowHandle(panel).makeKeyAndOrderFront();
}

}  // namespace nupo
