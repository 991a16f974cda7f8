#include "platform/appkit/ui/WindowPlacement.h"

#include "platform/appkit/MainThread.h"
#include "platform/appkit/WindowSpot.h"
#include "platform/appkit/ui/WindowAnswers.h"
#include "platform/appkit/ui/WindowDecoration.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTabBar>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

namespace nupo {

namespace {

const char* placedProperty = "nupoPlacedOnScreen";
const char* awaitingFrameProperty = "nupoAwaitingFrame";
// Set from a window's first show until it settles (see WindowPlacement::isSettling).
const char* settlingProperty = "nupoSettling";
const char* keptClearProperty = "nupoKeptClear";
const char* chosenFrameProperty = "nupoChosenFrame";
const char* givesWayProperty = "nupoGivesWay";
const char* ownSizeProperty = "nupoOwnSize";
const char* pictureProperty = "nupoPicture";
// A place a window opens clear of, besides the windows kept clear.
const char* openClearOfProperty = "nupoOpenClearOf";
// A window that gave way: for which window (its address), from where and to where it moved.
const char* gaveWayForProperty = "nupoGaveWayFor";
const char* gaveWayFromProperty = "nupoGaveWayFrom";
const char* gaveWayToProperty = "nupoGaveWayTo";
// On a window hidden while a maximised window left it no spot clear of its controls: for which window.
const char* hiddenForProperty = "nupoHiddenFor";
// On a window that others gave way to: they go back when it is destroyed.
const char* returnsOnDestroyProperty = "nupoReturnsOnDestroy";
// On a window while others that gave way to it have not gone back.
const char* othersGaveWayProperty = "nupoOthersGaveWay";
// On a window that gave way to a maximised one (or to a dialog or panel standing at its own size): where
// it stood before, which it goes back to as the window is restored or leaves that spot (also where it had
// given way to the window's drawers before).
const char* beforeMaximisedProperty = "nupoBeforeMaximised";
// Where a window was put at its first show (the corner of its frame as asked of the window manager),
// which its frame geometry need not show yet while the window manager is still framing it.
const char* spotProperty = "nupoPlacedAt";
// The client size the window was last given with its spot, if any.
const char* askedSizeProperty = "nupoAskedSize";
// Set while a window, shown but not framed yet, stands by its client area (see the end of eventFilter).
const char* clientPlacedProperty = "nupoClientPlaced";
// Set while a window is put back on its spot once framed: the moves doing it come back to the filter as
// events, and answering them would move the window between its spot and a place clear of the others
// without end.
const char* replacingProperty = "nupoReplacing";

using windowDecoration::isFrameless;
using windowDecoration::knownDecoration;

std::vector<WindowPlacement::FirstShowHook>& firstShowHooks()
{
    static auto* hooks = new std::vector<WindowPlacement::FirstShowHook>;  // lives to process end
    return *hooks;
}

// Ordinary windows and dialogs are placed; popups, tool tips and tool windows place themselves.
bool isPlacedWindowType(Qt::WindowType type)
{
    return type == Qt::Window || type == Qt::Dialog;
}

// Widgets a user reads or works: what a window opening over another should leave uncovered.
bool isControl(const QWidget* widget)
{
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QAbstractSlider*>(widget) ||
           qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QLabel*>(widget) ||
           qobject_cast<const QMenuBar*>(widget) || qobject_cast<const QTabBar*>(widget) ||
           qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget);
}

// Whether the widget is part of a window's picture (a note shown in place of a view): not a control.
bool inPicture(const QWidget* widget)
{
    for (const QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget())
        if (w->property(pictureProperty).toBool())
            return true;
    return false;
}

}  // namespace

void WindowPlacement::watchTopLevelWindows()
{
    static WindowPlacement* watcher = nullptr;
    if (watcher || !qApp)
        return;
    watcher = new WindowPlacement;  // lives to process end
    qApp->installEventFilter(watcher);
}

void WindowPlacement::addFirstShowHook(FirstShowHook hook)
{
    if (hook)
        firstShowHooks().push_back(std::move(hook));
}

QRect WindowPlacement::availableArea(const QWidget* window)
{
    const QScreen* screen = nullptr;
    if (window)
        screen = QGuiApplication::screenAt(window->frameGeometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void WindowPlacement::keepOnScreen(QWidget* window)
{
    if (!window || !window->isWindow())
        return;
    const QRect area = availableArea(window);
    if (area.isEmpty())
        return;
    const QMargins decoration = decorationOf(window);
    const int extraWidth = decoration.left() + decoration.right();
    const int extraHeight = decoration.top() + decoration.bottom();

    const QSize client = window->size();
    const QSize fitted(
        std::min(client.width(), std::max(area.width() - extraWidth, window->minimumWidth())),
        std::min(client.height(), std::max(area.height() - extraHeight, window->minimumHeight())));
    if (fitted != client)
        window->resize(fitted);

    const QPoint at = frameOf(window).topLeft();
    const int right = area.left() + area.width() - (fitted.width() + extraWidth);
    const int bottom = area.top() + area.height() - (fitted.height() + extraHeight);
    const QPoint inside(std::clamp(at.x(), area.left(), std::max(area.left(), right)),
                        std::clamp(at.y(), area.top(), std::max(area.top(), bottom)));
    if (inside != at)
        moveFrame(window, inside);
}

QRect WindowPlacement::frameOf(const QWidget* window)
{
    if (!window)
        return {};
    if (isFrameless(window) || !knownDecoration(window).isNull())
        return window->frameGeometry();
    const QMargins decoration = decorationOf(window);
    // Put by its client area while the window manager frames it, the frame is that area and the
    // decoration; else pos() is where the frame's corner goes once the window manager frames the window.
    if (window->property(clientPlacedProperty).toBool())
        return window->geometry().marginsAdded(decoration);
    return QRect(window->pos(), window->size().grownBy(decoration));
}

void WindowPlacement::markPicture(QWidget* widget)
{
    if (widget)
        widget->setProperty(pictureProperty, true);
}

const QWidget* WindowPlacement::pictureOf(const QWidget* window)
{
    const QWidget* largest = nullptr;
    if (!window)
        return largest;
    for (const QWidget* child : window->findChildren<QWidget*>()) {
        if (child->window() != window || !child->property(pictureProperty).toBool() ||
            !child->isVisibleTo(window))
            continue;
        if (!largest ||
            qint64(child->width()) * child->height() > qint64(largest->width()) * largest->height())
            largest = child;
    }
    return largest;
}

void WindowPlacement::keepClear(QWidget* window)
{
    if (window)
        window->setProperty(keptClearProperty, true);
}

void WindowPlacement::letGiveWay(QWidget* window)
{
    if (window)
        window->setProperty(givesWayProperty, true);
}

namespace {
bool isMaximised(const QWidget* window);
bool fillsArea(const QWidget* window);
}  // namespace

QList<QRect> WindowPlacement::keptClearFrames(const QWidget* except)
{
    QList<QRect> frames;
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != except && other->isVisible() && other->property(keptClearProperty).toBool())
            frames.append(frameOf(other));
    return frames;
}

QList<QRect> WindowPlacement::fixedFrames(const QWidget* except)
{
    QList<QRect> frames;
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != except && other->isVisible() && other->property(keptClearProperty).toBool() &&
            !other->property(givesWayProperty).toBool())
            frames.append(frameOf(other));
    return frames;
}

bool WindowPlacement::standsMaximised(const QWidget* window)
{
    return window && isMaximised(window);
}

bool WindowPlacement::fillsArea(const QWidget* window)
{
    return window && nupo::fillsArea(window);
}

QList<QWidget*> WindowPlacement::ownWindowsOf(const QWidget* window)
{
    QList<QWidget*> own;
    if (!window)
        return own;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isWindow() && child->isVisible())
            own.append(child);
    return own;
}

namespace {

bool isMaximised(const QWidget* window)
{
    return window->isMaximized() || window->isFullScreen();
}

// Whether the window's frame takes (nearly) the whole available area, as a maximised one does: the
// window manager may tell the new size before the new state.
bool fillsArea(const QWidget* window)
{
    const QRect frame = WindowPlacement::frameOf(window);
    const QRect area = WindowPlacement::availableArea(window);
    return frame.width() >= area.width() - WindowPlacement::cascadeStep &&
           frame.height() >= area.height() - WindowPlacement::cascadeStep;
}

quintptr idOf(const QWidget* window)
{
    return quintptr(window);
}

// The windows that gave way to the owner (known by its address: it may be gone) go back where they
// were, unless the owner (still there) or a window of its own would lie under them. Whether one stayed.
bool returnWindowsThatGaveWay(quintptr owner, const QWidget* shownOwner)
{
    QList<QRect> room;
    if (shownOwner) {
        room.append(WindowPlacement::frameOf(shownOwner));
        for (const QWidget* own : WindowPlacement::ownWindowsOf(shownOwner))
            room.append(own->frameGeometry());
    }
    bool stayed = false;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->property(gaveWayForProperty).value<quintptr>() != owner)
            continue;
        if (window->property(hiddenForProperty).value<quintptr>() == owner) {
            // Hidden for a dialog or panel that still lies on the spot it stood on: it shows again, near
            // that spot, where the screen has room for it clear of the dialog; else it stays hidden.
            const QVariant before = window->property(beforeMaximisedProperty);
            if (shownOwner && WindowPlacement::keepsOwnSize(shownOwner) && !isMaximised(shownOwner) &&
                before.isValid()) {
                const QRect back(before.toPoint(), WindowPlacement::frameOf(window).size());
                if (std::any_of(room.begin(), room.end(),
                                [&back](const QRect& r) { return r.intersects(back); })) {
                    stayed = true;
                    const std::optional<QRect> spot = WindowPlacement::clearSpot(
                        back, back.size(), WindowPlacement::availableArea(window),
                        room + WindowPlacement::fixedFrames(window), WindowPlacement::Prefer::Nearest);
                    if (spot && spot->size() == back.size()) {
                        window->setProperty(hiddenForProperty, QVariant());
                        window->setProperty(gaveWayToProperty, spot->topLeft());
                        window->move(spot->topLeft());
                        window->show();
                    }
                    continue;
                }
            }
            // Hidden for the maximised owner: shown again where it stood (the owner restored or gone).
            window->setProperty(hiddenForProperty, QVariant());
            if (!window->isVisible())
                window->show();
        }
        const QPoint to = window->property(gaveWayToProperty).toPoint();
        const QRect frame = WindowPlacement::frameOf(window);
        const QVariant beforeMaximised = window->property(beforeMaximisedProperty);
        if (shownOwner && beforeMaximised.isValid()) {
            // The owner restored: back where it stood as the owner was maximised, which may still be beside
            // the owner's drawers (it then still counts as having given way).
            // Until the owner and its drawers stand clear of it again, it waits.
            const QRect back(beforeMaximised.toPoint(), frame.size());
            stayed = true;
            if (std::any_of(room.begin(), room.end(), [&back](const QRect& r) { return r.intersects(back); }))
                continue;
            window->setProperty(beforeMaximisedProperty, QVariant());
            if (window->isVisible() && frame.topLeft() == to) {
                window->setProperty(gaveWayToProperty, back.topLeft());
                window->move(back.topLeft());
            }
            continue;
        }
        const QPoint from = window->property(gaveWayFromProperty).toPoint();
        const QRect back(from, frame.size());
        if (std::any_of(room.begin(), room.end(), [&back](const QRect& r) { return r.intersects(back); })) {
            stayed = true;
            continue;
        }
        window->setProperty(gaveWayForProperty, QVariant());
        // One the user moved since stays where the user put it.
        if (window->isVisible() && frame.topLeft() == to)
            window->move(from);
    }
    return stayed;
}

// Notes that the window gives way to the owner (from where it stands now, unless it gave way to it
// already), so that it comes back once the owner is restored, hidden or gone.
void noteGivenWay(QWidget* window, QWidget* owner)
{
    if (window->property(gaveWayForProperty).value<quintptr>() != idOf(owner)) {
        if (!window->property(gaveWayForProperty).isValid())
            window->setProperty(gaveWayFromProperty, WindowPlacement::frameOf(window).topLeft());
        window->setProperty(gaveWayForProperty, QVariant::fromValue(idOf(owner)));
        if (!owner->property(returnsOnDestroyProperty).toBool()) {
            owner->setProperty(returnsOnDestroyProperty, true);
            const quintptr id = idOf(owner);
            QObject::connect(owner, &QObject::destroyed, qApp,
                             [id] { returnWindowsThatGaveWay(id, nullptr); });
        }
    }
    owner->setProperty(othersGaveWayProperty, true);
}

// Hides the window while the maximised owner (or a dialog or panel) leaves it no spot clear of its and its
// drawers' controls; it shows again, where it stood, as the owner is restored (or leaves that spot).
void hideForOwner(QWidget* window, QWidget* owner)
{
    noteGivenWay(window, owner);
    if (!window->property(beforeMaximisedProperty).isValid())
        window->setProperty(beforeMaximisedProperty, WindowPlacement::frameOf(window).topLeft());
    window->setProperty(gaveWayToProperty, WindowPlacement::frameOf(window).topLeft());
    window->setProperty(hiddenForProperty, QVariant::fromValue(idOf(owner)));
    window->hide();
}

}  // namespace

void WindowPlacement::giveWayTo(QWidget* owner)
{
    if (!owner || !owner->isVisible())
        return;
    const bool maximised = standsMaximised(owner);
    // A dialog or panel stands whole at its own size, over what it must: it leaves the windows that give
    // way no more room than a maximised window does, and they keep off its controls the same way.
    const bool keepOffControls = maximised || keepsOwnSize(owner);
    QList<QRect> room{frameOf(owner)};
    QList<ShownWindowFrame> shown{{frameOf(owner), controlsOf(owner)}};
    for (const QWidget* own : ownWindowsOf(owner)) {
        room.append(own->frameGeometry());
        shown.append({own->frameGeometry(), controlsOf(own)});
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == owner || !window->isVisible() || !window->property(givesWayProperty).toBool())
            continue;
        const QRect frame = frameOf(window);
        if (std::none_of(room.begin(), room.end(), [&frame](const QRect& r) { return r.intersects(frame); }))
            continue;
        const QRect area = availableArea(window);
        const QList<QRect> fixed = fixedFrames(window);
        std::optional<QRect> spot;
        if (!maximised) {
            spot = clearSpot(frame, frame.size(), area, room + fixed);
            if (spot && spot->size() != frame.size())
                spot.reset();
        }
        if (!spot && keepOffControls) {
            // It stays where the user had it unless it hides the window's menu, buttons or drawers'
            // controls; then it takes the nearest corner of the screen that hides none.
            // Where every such spot hides a control of a drawer, the window's own menu and buttons at least
            // stay uncovered.
            QList<QRect> controls;
            for (const ShownWindowFrame& own : shown)
                controls += own.controls;
            const auto hides = [](const QRect& at, const QList<QRect>& rects) {
                return std::any_of(rects.begin(), rects.end(),
                                   [&at](const QRect& r) { return r.intersects(at); });
            };
            spot = cornerSpot(frame, area, controls, fixed);
            if (!spot || hides(*spot, controls)) {
                // No spot clear of them all: it hides until the window is restored (or leaves it room),
                // covering none.
                hideForOwner(window, owner);
                continue;
            }
        }
        if (!spot)
            spot = openingSpot(frame, area, shown, fixed);
        if (!spot || spot->topLeft() == frame.topLeft())
            continue;
        // Where it stood as the window was maximised (or the dialog opened): it goes back there as the window
        // is restored (or leaves that spot).
        noteGivenWay(window, owner);
        if (keepOffControls && !window->property(beforeMaximisedProperty).isValid())
            window->setProperty(beforeMaximisedProperty, frame.topLeft());
        window->setProperty(gaveWayToProperty, spot->topLeft());
        window->move(spot->topLeft());
    }
}

void WindowPlacement::comeBack(QWidget* owner)
{
    if (!owner)
        return;
    if (owner->isVisible() && (isMaximised(owner) || fillsArea(owner)))
        return;
    // One that cannot go back yet keeps off the owner as it now stands (restored, its drawers closing).
    const bool stayed = returnWindowsThatGaveWay(idOf(owner), owner->isVisible() ? owner : nullptr);
    owner->setProperty(othersGaveWayProperty, stayed);
    if (stayed && owner->isVisible())
        giveWayTo(owner);
}

std::optional<QRect> WindowPlacement::clearSpot(const QRect& current, const QSize& least, const QRect& area,
                                                const QList<QRect>& frames, Prefer prefer)
{
    // A window kept smaller than its layout would like (a nib's size) may keep that size.
    const QSize floor = least.boundedTo(current.size());
    const auto overlaps = [&frames](const QRect& frame) {
        return std::any_of(frames.begin(), frames.end(),
                           [&frame](const QRect& f) { return f.intersects(frame); });
    };
    if (!overlaps(current))
        return current;
    if (area.isEmpty())
        return std::nullopt;

    // Spots to try: the area's left and top edges, the right and bottom edges of the frames to avoid, and
    // where the window is (so that it may move along one axis only).
    std::vector<int> xs{area.left()};
    std::vector<int> ys{area.top()};
    if (current.left() > area.left() && current.left() <= area.right())
        xs.push_back(current.left());
    if (current.top() > area.top() && current.top() <= area.bottom())
        ys.push_back(current.top());
    for (const QRect& f : frames) {
        if (f.right() + 1 <= area.right())
            xs.push_back(f.right() + 1);
        if (f.bottom() + 1 <= area.bottom())
            ys.push_back(f.bottom() + 1);
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    // The frame at a spot: the window's size cut back to the area and to the first frame in its way.
    const auto fittedAt = [&](int x, int y) -> std::optional<QRect> {
        QRect r(QPoint(x, y), current.size());
        r = r.intersected(area);
        for (const QRect& f : frames) {
            if (!f.intersects(r))
                continue;
            const bool cutRight = f.left() > r.left();
            const bool cutBottom = f.top() > r.top();
            if (cutRight && cutBottom) {
                if ((f.left() - r.left()) * r.height() >= r.width() * (f.top() - r.top()))
                    r.setRight(f.left() - 1);
                else
                    r.setBottom(f.top() - 1);
            } else if (cutRight) {
                r.setRight(f.left() - 1);
            } else if (cutBottom) {
                r.setBottom(f.top() - 1);
            } else {
                return std::nullopt;  // the spot lies under the frame
            }
        }
        if (overlaps(r) || r.width() < floor.width() || r.height() < floor.height())
            return std::nullopt;
        return r;
    };
    // Without room for the whole window, the spot that holds the most of it, and of those the nearest.
    const auto distance = [&current](const QRect& r) {
        return std::abs(r.left() - current.left()) + std::abs(r.top() - current.top());
    };
    std::optional<QRect> best;
    std::optional<QRect> nearestWhole;
    for (int y : ys) {
        for (int x : xs) {
            const std::optional<QRect> spot = fittedAt(x, y);
            if (!spot)
                continue;
            if (spot->size() == current.size()) {
                if (prefer == Prefer::FirstSpot)
                    return spot;
                if (!nearestWhole || distance(*spot) < distance(*nearestWhole))
                    nearestWhole = spot;
                continue;
            }
            const qint64 held = qint64(spot->width()) * spot->height();
            const qint64 bestHeld = best ? qint64(best->width()) * best->height() : -1;
            if (held > bestHeld || (held == bestHeld && distance(*spot) < distance(*best)))
                best = spot;
        }
    }
    return nearestWhole ? nearestWhole : best;
}

QSize WindowPlacement::leastFrameSize(const QWidget* window)
{
    return window->minimumSize()
        .expandedTo(window->minimumSizeHint())
        .expandedTo(QSize(1, 1))
        .grownBy(decorationOf(window));
}

bool WindowPlacement::moveClearOf(QWidget* window, const QList<QRect>& frames, Prefer prefer)
{
    if (!window || !window->isWindow())
        return false;
    const QRect current = frameOf(window);
    // A dialog or panel moves at its size, or not at all.
    const QSize least = keepsOwnSize(window) ? current.size() : leastFrameSize(window);
    const std::optional<QRect> best = clearSpot(current, least, availableArea(window), frames, prefer);
    if (!best)
        return false;
    if (*best == current)
        return true;
    const QSize client = best->size().shrunkBy(decorationOf(window));
    if (client != window->size())
        window->resize(client);
    moveFrame(window, best->topLeft());
    return true;
}

void WindowPlacement::limitToArea(QWidget* window)
{
    if (!window || !window->isWindow())
        return;
    const QRect area = availableArea(window);
    if (area.isEmpty())
        return;
    const QSize room = area.size().shrunkBy(decorationOf(window)).expandedTo(window->minimumSize());
    window->setMaximumSize(window->maximumSize().boundedTo(room));
}

bool WindowPlacement::isSettling(const QWidget* window)
{
    return window && window->property(settlingProperty).toBool() && windowManagerRuns();
}

namespace {

// Ends a window's settling: those who keep its frame took none meanwhile, and take it now, also where
// nothing moves any more.
void endSettling(QWidget* window)
{
    if (!window || !window->property(settlingProperty).toBool())
        return;
    window->setProperty(settlingProperty, false);
    windowAnswers::noteSettled(window, [](QWidget* settled) {
        QMoveEvent moved(settled->pos(), settled->pos());
        QCoreApplication::sendEvent(settled, &moved);
    });
}

// A window manager that frames slowly, or one whose frames never tell their decoration, leaves a
// window settling no longer than this: its frame is kept as it stands then. A second is checked for a
// frame told, up to five of them (a loaded machine's window manager may take that long).
constexpr int settlingCheckMs = 1000;
constexpr int settlingChecks = windowAnswers::longestSettlingMs / settlingCheckMs;

// Placed before the window manager framed it, the window goes back to its spot (as a frame corner now
// that its decoration is known), with the size asked for, on the screen and clear of the windows kept
// clear. A window that settles with it stands where it will be seen: from then on its moves are its own.
void placeAgainWhereFramed(QWidget* window, bool settles)
{
    window->setProperty(replacingProperty, true);
    window->setProperty(clientPlacedProperty, false);
    if (settles)
        window->setProperty(awaitingFrameProperty, false);
    const QVariant spot = window->property(spotProperty);
    const QVariant asked = window->property(askedSizeProperty);
    const QPoint corner = spot.isValid() ? spot.toPoint() : window->pos();
    // The size last asked for: the window manager may have told an older one since (the size the window
    // was mapped at).
    const QSize size = windowAnswers::askedSize(window, asked.isValid() ? asked.toSize() : window->size());
    if (window->pos() != corner || window->size() != size) {
        // One request, by the client area inside the decoration now known: a move followed by a resize
        // could have the resize, sent from the client's old place, land after the move and undo it.
        const QMargins decoration = knownDecoration(window);
        window->setGeometry(QRect(corner + QPoint(decoration.left(), decoration.top()), size));
    }
    WindowPlacement::placeOnScreenClear(window);
    window->setProperty(spotProperty, window->pos());
    window->setProperty(replacingProperty, false);
    if (settles)
        endSettling(window);
}

void endSettlingOnceFramed(QWidget* window, int checksLeft)
{
    QTimer::singleShot(settlingCheckMs, window, [window, checksLeft] {
        if (!window->property(settlingProperty).toBool())
            return;
        const bool framed = !knownDecoration(window).isNull();
        if (!framed && checksLeft > 1) {
            endSettlingOnceFramed(window, checksLeft - 1);
        } else if (framed && window->property(awaitingFrameProperty).toBool() &&
                   !window->property(replacingProperty).toBool()) {
            // Framed, yet neither painted nor activated since (a loaded machine, a covered window): it is
            // placed again where it was to stand, and settles there. Left waiting for its frame, a move
            // the user made next would put it back.
            placeAgainWhereFramed(window, true);
        } else {
            // Never framed so far: it stays where it is, and moves no more on its own.
            window->setProperty(awaitingFrameProperty, false);
            endSettling(window);
        }
    });
}

}  // namespace

void WindowPlacement::noteSpot(QWidget* window, const QPoint& frameCorner, const QSize& clientSize)
{
    if (window && window->property(placedProperty).toBool()) {
        window->setProperty(spotProperty, frameCorner);
        window->setProperty(askedSizeProperty, clientSize.isValid() ? QVariant(clientSize) : QVariant());
    }
}

void WindowPlacement::keepChosenFrame(QWidget* window)
{
    if (window && !window->property(placedProperty).toBool())
        window->setProperty(chosenFrameProperty, true);
}

bool WindowPlacement::keepsChosenFrame(const QWidget* window)
{
    return window && window->property(chosenFrameProperty).toBool();
}

void WindowPlacement::keepOwnSize(QWidget* window)
{
    if (window)
        window->setProperty(ownSizeProperty, true);
}

bool WindowPlacement::keepsOwnSize(const QWidget* window)
{
    return window && (window->property(ownSizeProperty).toBool() || qobject_cast<const QDialog*>(window));
}

bool WindowPlacement::placeWhole(QWidget* window)
{
    if (!window || !window->isWindow())
        return false;
    const QRect area = availableArea(window);
    const QRect current = frameOf(window);
    if (area.isEmpty() || current.width() > area.width() || current.height() > area.height())
        return false;
    keepOnScreen(window);
    const QRect onScreen = frameOf(window);
    const auto wholeSpot = [&](const QList<QRect>& frames) -> std::optional<QRect> {
        const std::optional<QRect> spot = clearSpot(onScreen, onScreen.size(), area, frames, Prefer::Nearest);
        return spot && spot->size() == onScreen.size() ? spot : std::nullopt;
    };
    bool makeRoom = false;
    std::optional<QRect> spot = wholeSpot(keptClearFrames(window));
    if (!spot) {
        spot = wholeSpot(fixedFrames(window));
        makeRoom = true;
    }
    if (!spot) {
        // No room beside those that never give way: over them, where it hides the least of their controls,
        // then of them (the others move aside).
        QList<ShownWindowFrame> under;
        for (const QWidget* other : QApplication::topLevelWidgets())
            if (other != window && other->isVisible() && other->property(keptClearProperty).toBool() &&
                !other->property(givesWayProperty).toBool())
                under.append({frameOf(other), controlsOf(other)});
        spot = openingSpot(onScreen, area, under, {}).value_or(onScreen);
    }
    if (spot->topLeft() != onScreen.topLeft())
        moveFrame(window, spot->topLeft());
    if (makeRoom) {
        // The windows that give way move off it once it is shown (it may be about to be).
        const QPointer<QWidget> placed(window);
        QTimer::singleShot(0, window, [placed] { giveWayTo(placed); });
    }
    return true;
}

void WindowPlacement::placeOnScreenClear(QWidget* window)
{
    // A frame the user chose (stored in a document) that lies on the screen stays as it was, also over
    // the Control Panel or the palette; only one the screen no longer holds is placed anew.
    const bool chosenOnScreen = keepsChosenFrame(window) && availableArea(window).contains(frameOf(window));
    keepOnScreen(window);
    if (!chosenOnScreen)
        moveClearOf(window, keptClearFrames(window));
}

void WindowPlacement::openClearOfShownWindows(QWidget* window)
{
    if (!window || !window->isWindow())
        return;
    QList<ShownWindowFrame> shown;
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = other->windowType();
        if (other != window && other->isVisible() && !other->isMinimized() &&
            (isPlacedWindowType(type) || type == Qt::Tool))
            shown.append({frameOf(other), controlsOf(other)});
    }
    QList<QRect> clearOf = keptClearFrames(window);
    if (const QRect place = window->property(openClearOfProperty).toRect(); !place.isEmpty())
        clearOf.append(place);
    const QRect current = frameOf(window);
    const QRect area = availableArea(window);
    const std::optional<QRect> spot = openingSpot(current, area, shown, clearOf);
    QList<QRect> taken = clearOf;
    for (const ShownWindowFrame& other : shown)
        taken.append(other.frame);
    const QRect at = spot.value_or(current);
    if (std::any_of(taken.begin(), taken.end(), [&at](const QRect& r) { return r.intersects(at); })) {
        // No free spot holds the whole window: it takes the largest free area of the screen, given that
        // holds at least half of it, before it covers another window.
        const std::optional<QRect> free = clearSpot(current, leastFrameSize(window), area, taken);
        if (free && keepsOwnSize(window)) {
            // A dialog or panel keeps the size its panel needs: the largest free area picks where it
            // goes, as long as it lies there on the screen clear of the windows kept clear.
            QRect there(free->topLeft(), current.size());
            there.moveLeft(std::clamp(there.left(), area.left(),
                                      std::max(area.left(), area.right() + 1 - there.width())));
            there.moveTop(std::clamp(there.top(), area.top(),
                                     std::max(area.top(), area.bottom() + 1 - there.height())));
            if (std::none_of(clearOf.begin(), clearOf.end(),
                             [&there](const QRect& r) { return r.intersects(there); })) {
                moveFrame(window, there.topLeft());
                return;
            }
        } else if (free &&
                   2 * qint64(free->width()) * free->height() >= qint64(current.width()) * current.height()) {
            window->resize(free->size().shrunkBy(decorationOf(window)));
            moveFrame(window, free->topLeft());
            return;
        }
    }
    if (spot)
        moveFrame(window, spot->topLeft());
}

void WindowPlacement::openClearOf(QWidget* window, const QRect& place)
{
    if (window)
        window->setProperty(openClearOfProperty, place);
}

QList<QRect> WindowPlacement::controlsOf(const QWidget* window)
{
    QList<QRect> controls;
    if (!window)
        return controls;
    const QRect frame = frameOf(window);
    const QMargins decoration = decorationOf(window);
    if (decoration.top() > 0)
        controls.append(QRect(frame.left(), frame.top(), frame.width(), decoration.top()));
    // The client area's corner on the screen, as frameOf() has it (also before the window is framed).
    const QPoint client = frame.topLeft() + QPoint(decoration.left(), decoration.top());
    for (const QWidget* child : window->findChildren<QWidget*>()) {
        // Not those of its own windows (drawers, panels): they are windows of their own.
        if (child->window() != window || !child->isVisibleTo(window) || !isControl(child) || inPicture(child))
            continue;
        // What of it shows: its parents and siblings may cut it (a scrolled panel).
        const QRect seen = child->visibleRegion().boundingRect();
        if (!seen.isEmpty())
            controls.append(seen.translated(child->mapTo(window, QPoint(0, 0)) + client));
    }
    return controls;
}

void WindowPlacement::cascade(QWidget* window)
{
    if (!window)
        return;
    const auto others = QApplication::topLevelWidgets();
    for (int tries = 0; tries < 32; ++tries) {
        const bool covered = std::any_of(others.begin(), others.end(), [window](const QWidget* other) {
            if (other == window || !other->isVisible() || other->windowTitle() != window->windowTitle())
                return false;
            const QVariant spot = other->property(spotProperty);
            return (spot.isValid() ? spot.toPoint() : other->pos()) == window->pos();
        });
        if (!covered)
            return;
        window->move(window->pos() + QPoint(cascadeStep, cascadeStep));
        // Where the step would take the window past the screen's edge, the window gives up that much
        // of its size (keepOnScreen would otherwise move it back).
        const QRect area = availableArea(window);
        const QMargins decoration = decorationOf(window);
        const QPoint at = window->pos();
        const int roomWidth = area.left() + area.width() - at.x() - decoration.left() - decoration.right();
        const int roomHeight = area.top() + area.height() - at.y() - decoration.top() - decoration.bottom();
        window->resize(std::max(std::min(window->width(), roomWidth), window->minimumSizeHint().width()),
                       std::max(std::min(window->height(), roomHeight), window->minimumSizeHint().height()));
    }
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event)
{
    // Every event of the application passes here, those other threads post among them. Only widgets'
    // events are read: Qt's own threads (its file dialogs' folder reader among them) post theirs to other
    // objects, with no hand-over a thread checker sees, and what they wrote is theirs until delivered.
    if (!handedOverToWidget(watched))
        return false;
    const QEvent::Type type = handedOverEventType(event);
    if (type != QEvent::Show && type != QEvent::Move && type != QEvent::Resize &&
        type != QEvent::WindowActivate && type != QEvent::Paint && type != QEvent::WindowStateChange &&
        type != QEvent::Hide)
        return false;
    auto* window = static_cast<QWidget*>(watched);
    if (window->isWindow() && window->property(placedProperty).toBool() &&
        (type == QEvent::WindowStateChange || type == QEvent::Hide ||
         (type == QEvent::Resize &&
          (isMaximised(window) || window->property(othersGaveWayProperty).toBool())))) {
        // A maximised window has the windows that may give way move off its controls; they come back as it
        // is restored or hidden. Its new frame and layout are known once the event is handled.
        const QPointer<QWidget> changed(window);
        QTimer::singleShot(0, qApp, [changed] {
            if (!changed)
                return;
            if (changed->isVisible() && isMaximised(changed))
                giveWayTo(changed);
            else if (!changed->isVisible() || !fillsArea(changed))  // not still being maximised
                comeBack(changed);
        });
    }
    if ((type == QEvent::Move || type == QEvent::Resize) && window->isWindow() &&
        window->property(placedProperty).toBool())
        windowAnswers::noteArea(window, window->property(settlingProperty).toBool(), event->spontaneous());
    if (type != QEvent::Show) {
        if (window->isWindow() &&
            (type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowStateChange))
            windowAnswers::answerRestored(window);
        // Placed before the window manager framed it, the window is placed again once its frame is
        // known (a first window has no other to take the frame's size from, and a window manager may
        // put a window being mapped elsewhere than it was moved to): on the screen, and clear of the
        // windows kept clear. A window opened maximised stays as the window manager maximised it.
        if (window->isWindow() && window->property(awaitingFrameProperty).toBool() && isMaximised(window)) {
            // Maximised by the window manager, it stands where it is seen: placed again as it is restored,
            // its maximised size would go to the spot it opened at instead of the frame it restores to.
            window->setProperty(awaitingFrameProperty, false);
            window->setProperty(clientPlacedProperty, false);
            windowAnswers::noteMaximisedUnframed(window, window->property(spotProperty).toPoint());
            endSettling(window);
        } else if (window->isWindow() && window->property(awaitingFrameProperty).toBool() &&
                   !window->property(replacingProperty).toBool() && !knownDecoration(window).isNull()) {
            // A window manager that places windows itself may not have taken the spot asked for, and may
            // still tell a stale place after it framed the window: until the window is first painted or
            // activated (it stands where it will be seen), it goes back to its spot.
            placeAgainWhereFramed(window, type == QEvent::Paint || type == QEvent::WindowActivate);
        } else if (window->isWindow() && (type == QEvent::Move || type == QEvent::Resize) &&
                   event->spontaneous() && !window->property(settlingProperty).toBool() &&
                   !window->property(replacingProperty).toBool() && !isMaximised(window)) {
            windowAnswers::answerTold(window);
        }
        return false;
    }
    if (event->spontaneous())
        return false;
    if (!window->isWindow() || !isPlacedWindowType(window->windowType()) ||
        window->property(placedProperty).toBool())
        return false;
    window->setProperty(placedProperty, true);
    window->setProperty(awaitingFrameProperty, knownDecoration(window).isNull() && !isFrameless(window));
    if (window->property(awaitingFrameProperty).toBool() && windowManagerRuns()) {
        window->setProperty(settlingProperty, true);
        windowAnswers::noteArea(window, true, true);
        endSettlingOnceFramed(window, settlingChecks);
    }
    const bool ordinary = window->windowType() == Qt::Window && !qobject_cast<QDialog*>(window);
    if (ordinary) {
        for (const FirstShowHook& hook : firstShowHooks())
            hook(window);
    }
    placeOnScreenClear(window);
    if (ordinary && !window->property(chosenFrameProperty).toBool())
        openClearOfShownWindows(window);
    if (ordinary) {
        // Cascading moves down and to the right, away from a palette the window was moved clear of.
        cascade(window);
        keepOnScreen(window);
    }
    limitToArea(window);
    window->setProperty(spotProperty, window->pos());
    // Made on the display but not framed yet, the window goes where its client area is asked to go, and
    // the window manager frames it around that: asked for the frame's corner, the title bar would land
    // above it, over the window that the frame was to keep clear of. So the client area is put the
    // decoration (as far as known from the windows framed already) inside the spot.
    if (window->property(awaitingFrameProperty).toBool() && windowManagerRuns()) {
        const QMargins decoration = decorationOf(window);
        window->move(window->pos() + QPoint(decoration.left(), decoration.top()));
        window->setProperty(clientPlacedProperty, true);
        windowAnswers::noteClientPlaced(window, QPoint(decoration.left(), decoration.top()));
    }
    return false;
}

void WindowPlacement::moveFrame(QWidget* window, const QPoint& corner)
{
    if (!window)
        return;
    if (window->property(clientPlacedProperty).toBool() && knownDecoration(window).isNull()) {
        const QMargins decoration = decorationOf(window);
        window->move(corner + QPoint(decoration.left(), decoration.top()));
    } else {
        window->move(corner);
    }
}

}  // namespace nupo
