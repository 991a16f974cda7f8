#include "platform/appkit/ui/Drawer.h"

#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"

#include <QEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace nupo {

namespace {

// Width of the strip along the outer edge that the user drags to resize the drawer.
constexpr int handleWidth = 6;

// On a window with open drawers: its frame as last arranged while not maximised, and whether it is to
// take that frame back (it was maximised since).
const char* normalFrameProperty = "nupoDrawersNormalFrame";
const char* restoreProperty = "nupoDrawersRestore";
// The same window's client area then: restored by it, the window takes back its size whatever decoration
// the window manager gives it at that moment (a maximised window's may lack the borders).
const char* normalClientProperty = "nupoDrawersNormalClient";
// On a window just restored: how many more times a frame the window manager tells that is not the one
// restored (a place it told before it took the restore) is answered by the restored frame again.
const char* restoringProperty = "nupoDrawersRestoring";
constexpr int restoreRetries = 3;
// On a window with open drawers: the size of its picture before the first of them opened.
const char* pictureClosedProperty = "nupoPictureWithDrawersClosed";
// On a window with open drawers: its frame as they were last arranged, and whether the user (or the
// window manager) moved or resized it since a drawer last opened. A frame the user chose is kept.
const char* arrangedFrameProperty = "nupoDrawersArrangedFrame";
const char* putByUserProperty = "nupoDrawersPutByUser";
// The same of the frame the window is restored to.
const char* normalPutByUserProperty = "nupoDrawersNormalPutByUser";
// On a window with open drawers: its frame before the first of them opened, or as the user last put it
// since; it takes that frame back as the last of them closes.
const char* closedFrameProperty = "nupoFrameWithDrawersClosed";

// The windows whose drawers are being arranged: the window's move or resize that an arrangement makes
// comes back to it as an event.
std::vector<const QWidget*>& windowsBeingArranged()
{
    static std::vector<const QWidget*> windows;
    return windows;
}

int rounded(double value)
{
    return int(std::lround(value));
}

// The frame a window may shrink to, as a drawer opens, before the controls of its scrolled panels
// scroll: it gives up the room of its plot first.
QSize frameKeepingControlsWhole(const QWidget* window)
{
    QSize least = WindowPlacement::leastFrameSize(window);
    const QSize frame = WindowPlacement::frameOf(window).size();
    for (const QScrollArea* panel : window->findChildren<QScrollArea*>()) {
        if (panel->window() != window || !panel->widgetResizable() || !panel->widget() ||
            !panel->isVisibleTo(window))
            continue;
        const QWidget* controls = panel->widget();
        const QSize needed = controls->minimumSizeHint().expandedTo(controls->minimumSize());
        const QSize spare = (panel->viewport()->size() - needed).expandedTo(QSize(0, 0));
        least = least.expandedTo(frame - spare);
    }
    return least.boundedTo(frame);
}

// Whether a drawer of the window is open or opening.
bool anyOpen(const QWidget* window)
{
    const auto drawers = window->findChildren<Drawer*>(Qt::FindDirectChildrenOnly);
    return std::any_of(drawers.begin(), drawers.end(), [](const Drawer* d) { return d->isOpenOrOpening(); });
}

// The rows of controls along the window's top and bottom (in its top and bottom quarters), as margins
// of its frame: drawers lying over the window keep clear of them.
QMargins controlRowsOf(const QWidget* window)
{
    const QRect frame = WindowPlacement::frameOf(window);
    QMargins rows;
    for (const QRect& control : WindowPlacement::controlsOf(window)) {
        if (control.bottom() < frame.top() + frame.height() / 4)
            rows.setTop(std::max(rows.top(), control.bottom() + 1 - frame.top()));
        else if (control.top() > frame.bottom() - frame.height() / 4)
            rows.setBottom(std::max(rows.bottom(), frame.bottom() + 1 - control.top()));
    }
    return rows;
}

// The frame a window may shrink to, as a drawer opens, keeping its picture at least half the area it had
// with its drawers closed: each side of the picture keeps 1/sqrt(2) of its length.
QSize frameKeepingHalfThePicture(const QWidget* window)
{
    const QSize frame = WindowPlacement::frameOf(window).size();
    const QWidget* picture = WindowPlacement::pictureOf(window);
    const QSize closed = window->property(pictureClosedProperty).toSize();
    if (!picture || closed.isEmpty())
        return QSize(0, 0);
    const QSize kept(int(std::ceil(closed.width() * M_SQRT1_2)), int(std::ceil(closed.height() * M_SQRT1_2)));
    return (frame - (picture->size() - kept).expandedTo(QSize(0, 0))).expandedTo(QSize(0, 0));
}

// Controls that have no use for more height (no panel or space among them grows) keep their natural
// spacing at the top of a drawer (or of a scrolling panel) longer than they need, the rest left empty.
void packAtTop(QWidget* controls)
{
    const QLayout* layout = controls->layout();
    if (!layout || (layout->expandingDirections() & Qt::Vertical))
        return;
    QSizePolicy policy = controls->sizePolicy();
    policy.setVerticalPolicy(QSizePolicy::Maximum);
    controls->setSizePolicy(policy);
}

}  // namespace

Drawer::Drawer(QWidget* parentWindow, Edge preferredEdge)
    : QWidget(parentWindow, Qt::Tool | Qt::FramelessWindowHint),
      preferredEdge_(preferredEdge),
      edge_(preferredEdge),
      askedEdge_(preferredEdge)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The content scrolls only while the drawer is squeezed below the size it needs.
    scroller_ = new QScrollArea(this);
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setWidgetResizable(true);
    scroller_->viewport()->setAutoFillBackground(false);
    scroller_->setMinimumSize(1, 1);  // the drawer's depth is its own, not the scroll bars'
    layout->addWidget(scroller_);
    setMouseTracking(true);
    setParentWindow(parentWindow);
}

void Drawer::setParentWindow(QWidget* window)
{
    if (parentWindow_)
        parentWindow_->removeEventFilter(this);
    parentWindow_ = window;
    if (parentWidget() != window)
        setParent(window, windowFlags());
    if (window)
        window->installEventFilter(this);
    place();
}

void Drawer::setContentView(QWidget* content)
{
    if (content_ == content)
        return;
    delete content_.data();
    content_ = content;
    if (content) {
        // The drawer holds the content's least and largest sizes (minContentSize, maxContentSize); the
        // content keeps what its own layout needs, and scrolls where the drawer is squeezed below that.
        content->setMinimumSize(0, 0);
        content->setMaximumHeight(QWIDGETSIZE_MAX);
        packAtTop(content);
        for (QScrollArea* panel : content->findChildren<QScrollArea*>())
            if (panel->widgetResizable() && panel->widget())
                packAtTop(panel->widget());
        scroller_->setWidget(content);
        content->show();
    }
    rearrange(false);
}

void Drawer::setContentSize(const QSizeF& size)
{
    contentSize_ = limited(size);
    rearrange(false);
}

void Drawer::setMinContentSize(const QSizeF& size)
{
    minContentSize_ = size;
    contentSize_ = limited(contentSize_);
    rearrange(false);
}

void Drawer::setMaxContentSize(const QSizeF& size)
{
    maxContentSize_ = size;
    contentSize_ = limited(contentSize_);
    rearrange(false);
}

void Drawer::setLeadingOffset(double offset)
{
    leadingOffset_ = offset;
    rearrange(false);
}

void Drawer::setTrailingOffset(double offset)
{
    trailingOffset_ = offset;
    rearrange(false);
}

QSizeF Drawer::limited(const QSizeF& size) const
{
    // A maximum below the minimum gives way to the minimum.
    const double width = std::max(minContentSize_.width(), std::min(size.width(), maxContentSize_.width()));
    const double height =
        std::max(minContentSize_.height(), std::min(size.height(), maxContentSize_.height()));
    return QSizeF(width, height);
}

void Drawer::open()
{
    openOnEdge(preferredEdge_);
}

void Drawer::openOnEdge(Edge edge)
{
    if (isOpenOrOpening())
        return;
    edge_ = askedEdge_ = edge;
    arranged_ = QRect();
    if (parentWindow_ && !anyOpen(parentWindow_)) {
        const QWidget* picture = WindowPlacement::pictureOf(parentWindow_);
        parentWindow_->setProperty(pictureClosedProperty, picture ? picture->size() : QSize());
        const bool framed = parentWindow_->isVisible() && !WindowPlacement::standsMaximised(parentWindow_) &&
                            !WindowPlacement::isSettling(parentWindow_);
        parentWindow_->setProperty(closedFrameProperty,
                                   framed ? QVariant(WindowPlacement::frameOf(parentWindow_)) : QVariant());
    }
    setState(State::Opening);
    if (parentWindow_)
        parentWindow_->setProperty(putByUserProperty, false);
    rearrange(true);
    if (parentWindow_ && parentWindow_->isVisible()) {
        show();
        raise();
    }
    const int generation = ++generation_;
    QTimer::singleShot(0, this, [this, generation] { finishTransition(generation); });
}

void Drawer::close()
{
    if (!isOpenOrOpening())
        return;
    setState(State::Closing);
    const int generation = ++generation_;
    QTimer::singleShot(0, this, [this, generation] { finishTransition(generation); });
}

void Drawer::toggle()
{
    if (isOpenOrOpening())
        close();
    else
        open();
}

void Drawer::finishTransition(int generation)
{
    // A later open or close supersedes this one.
    if (generation != generation_)
        return;
    if (state_ == State::Opening) {
        setState(State::Open);
    } else if (state_ == State::Closing) {
        hide();
        squeezedDepth_ = 0;
        hasNormal_ = false;
        setState(State::Closed);
        if (parentWindow_ && !anyOpen(parentWindow_)) {
            takeClosedFrameBack(parentWindow_);
            // With no drawer open, the window manager alone restores the window.
            parentWindow_->setProperty(normalFrameProperty, QVariant());
            parentWindow_->setProperty(normalClientProperty, QVariant());
            parentWindow_->setProperty(restoreProperty, false);
            parentWindow_->setProperty(restoringProperty, 0);
            parentWindow_->setProperty(pictureClosedProperty, QVariant());
            parentWindow_->setProperty(arrangedFrameProperty, QVariant());
            parentWindow_->setProperty(putByUserProperty, QVariant());
            parentWindow_->setProperty(normalPutByUserProperty, QVariant());
            parentWindow_->setProperty(closedFrameProperty, QVariant());
        }
        // A palette that moved aside for the window's drawers comes back once they are all closed.
        WindowPlacement::comeBack(parentWindow_);
    }
}

void Drawer::takeClosedFrameBack(QWidget* window)
{
    // Moved or resized only to make room for its drawers, the window goes back to the frame it had
    // before they opened; one the user moved since, or maximised, stays as it is.
    const QVariant closed = window->property(closedFrameProperty);
    const QVariant arranged = window->property(arrangedFrameProperty);
    const QRect frame = WindowPlacement::frameOf(window);
    if (!closed.isValid() || !arranged.isValid() || arranged.toRect() != frame || closed.toRect() == frame ||
        WindowPlacement::standsMaximised(window) || !window->isVisible())
        return;
    const QRect to = closed.toRect();
    if (to.size() != frame.size())
        window->resize(to.size().shrunkBy(WindowPlacement::decorationOf(window)));
    if (to.topLeft() != frame.topLeft())
        WindowPlacement::moveFrame(window, to.topLeft());
    WindowPlacement::noteSpot(window, to.topLeft(),
                              to.size().shrunkBy(WindowPlacement::decorationOf(window)));
}

void Drawer::setState(State state)
{
    if (state_ == state)
        return;
    state_ = state;
    emit stateChanged(state);
}

void Drawer::requestContentSize(const QSizeF& size)
{
    const QSizeF wanted = willResize_ ? willResize_(this, size) : size;
    setContentSize(wanted);
}

QRect Drawer::placement() const
{
    if (!parentWindow_)
        return geometry();
    const QRect frame = WindowPlacement::frameOf(parentWindow_);
    if (isOpenOrOpening() && !arranged_.isNull())
        return arranged_.translated(frame.topLeft());
    return drawerRect(frame, edge_, shownDepth(), rounded(leadingOffset_), rounded(trailingOffset_));
}

int Drawer::neededLength() const
{
    if (!content_ || !isSideEdge())
        return 0;
    // A panel of the content that scrolls on its own asks for a few rows only: it needs the length of its
    // controls (the drawer grows before that panel scrolls).
    int length = content_->minimumSizeHint().height();
    for (const QScrollArea* panel : content_->findChildren<QScrollArea*>()) {
        if (!panel->widgetResizable() || !panel->widget() || !panel->isVisibleTo(content_))
            continue;
        bool inner = false;  // inside another such panel, which counts it already
        for (const QWidget* up = panel->parentWidget(); up && up != content_; up = up->parentWidget())
            inner = inner || qobject_cast<const QScrollArea*>(up);
        if (inner)
            continue;
        const int asked =
            panel->minimumHeight() > 0 ? panel->minimumHeight() : panel->minimumSizeHint().height();
        const int needed = panel->widget()->minimumSizeHint().height() + 2 * panel->frameWidth();
        length += std::max(0, needed - asked);
    }
    return length;
}

int Drawer::naturalDepth() const
{
    const bool side = isSideEdge();
    int depth = rounded(side ? contentSize_.width() : contentSize_.height());
    if (content_) {
        const QSize needed = content_->minimumSizeHint();
        depth = std::max(depth, (side ? needed.width() : needed.height()) + handleWidth);
    }
    return std::max(1, depth);
}

int Drawer::scrollBarExtent() const
{
    return scroller_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroller_);
}

int Drawer::leastDepth() const
{
    return std::min(naturalDepth(), handleWidth + 3 * scrollBarExtent());
}

void Drawer::rearrange(bool opening)
{
    if (isOpenOrOpening() && parentWindow_)
        arrangeDrawersOf(parentWindow_, opening);
    else
        place();
}

void Drawer::arrangeDrawersOf(QWidget* window, bool opening)
{
    auto& busy = windowsBeingArranged();
    if (!window || std::find(busy.begin(), busy.end(), window) != busy.end())
        return;
    QList<Drawer*> drawers;
    for (Drawer* drawer : window->findChildren<Drawer*>(Qt::FindDirectChildrenOnly))
        if (drawer->isOpenOrOpening() && drawer->parentWindow_ == window)
            drawers.append(drawer);
    if (drawers.isEmpty())
        return;
    if (WindowPlacement::standsMaximised(window)) {
        arrangeOverMaximised(window, drawers);
        return;
    }
    if (restoreNormal(window, drawers))
        return;
    if (settleRestore(window, drawers))
        return;
    busy.push_back(window);
    bool makeRoom = false;
    // Moved or resized since its drawers were last arranged, the window stands where the user put it until
    // a drawer opens or it shows again (maximised and restored, it stands where it stood).
    const QVariant arrangedFrame = window->property(arrangedFrameProperty);
    if (!opening && arrangedFrame.isValid() && arrangedFrame.toRect() != WindowPlacement::frameOf(window)) {
        window->setProperty(putByUserProperty, true);
        // Where the user put it, the window stays as its drawers close.
        if (window->property(closedFrameProperty).isValid())
            window->setProperty(closedFrameProperty, WindowPlacement::frameOf(window));
    }
    const bool windowPut = window->property(putByUserProperty).toBool();
    // A second round settles what the window's move or resize changed (the offsets follow its size).
    for (int round = 0; round < 2; ++round) {
        const std::vector<DrawerNeed> needs = needsOf(drawers);
        const QRect frame = WindowPlacement::frameOf(window);
        // The window gives up the room of its plot, keeping its controls whole and its picture at least
        // half of its area with the drawers closed.
        std::vector<QSize> leastFrames;
        if (opening)
            leastFrames = {frameKeepingControlsWhole(window).expandedTo(frameKeepingHalfThePicture(window))};
        // The drawers keep clear of the windows that float above the others; where they cannot, the
        // windows that may give way (a palette) move aside, never the others (the Control Panel). A window
        // the user moved or resized stays where the user put it while its drawers find room on the screen
        // there: they keep clear where they can at that frame, and may lie under the Control Panel.
        const QRect area = WindowPlacement::availableArea(window);
        const auto framesOf = [](const QList<QRect>& frames) {
            return std::vector<QRect>(frames.begin(), frames.end());
        };
        const QMargins rows = controlRowsOf(window);
        const std::vector<QRect> keptClear = framesOf(WindowPlacement::keptClearFrames(window));
        const std::vector<QRect> fixed = framesOf(WindowPlacement::fixedFrames(window));
        // The window keeps its frame wherever its drawers find room beside it, each keeping its side
        // where it fits there (a palette in their way moves aside rather than a drawer changing sides).
        std::optional<DrawerArrangement> inPlace = arrangeInPlace(frame, area, needs, keptClear, rows);
        const auto keepsSides = [&needs](const std::optional<DrawerArrangement>& a) {
            for (std::size_t i = 0; a && i < needs.size(); ++i)
                if (a->edges[i] != needs[i].current)
                    return false;
            return a.has_value();
        };
        if (!keepsSides(inPlace) && fixed.size() != keptClear.size()) {
            std::optional<DrawerArrangement> pushing = arrangeInPlace(frame, area, needs, fixed, rows);
            if (pushing && (keepsSides(pushing) || !inPlace)) {
                inPlace = std::move(pushing);
                makeRoom = true;
            }
        }
        DrawerArrangement arranged;
        if (inPlace) {
            arranged = std::move(*inPlace);
        } else {
            arranged = arrangeDrawers(frame, area, needs, leastFrames, keptClear, rows, windowPut);
            if (!arranged.clear) {
                arranged = arrangeDrawers(frame, area, needs, leastFrames, fixed, rows, windowPut);
                makeRoom = true;
            }
        }
        if (arranged.frame.size() != frame.size())
            window->resize(arranged.frame.size().shrunkBy(WindowPlacement::decorationOf(window)));
        if (arranged.frame.topLeft() != frame.topLeft()) {
            WindowPlacement::moveFrame(window, arranged.frame.topLeft());
            WindowPlacement::noteSpot(window, arranged.frame.topLeft());
        }
        placeAsArranged(drawers, arranged);
        if (arranged.frame == frame)
            break;
    }
    busy.erase(std::find(busy.begin(), busy.end(), window));
    window->setProperty(arrangedFrameProperty, WindowPlacement::frameOf(window));
    // Remembered for the window's restore, should it be maximised. A frame that fills the screen is not
    // (while another is known): a window manager maximising a window may tell its new size before its
    // new state, and the window is to come back to the frame it had before.
    const bool whole =
        std::all_of(drawers.begin(), drawers.end(), [](const Drawer* d) { return d->hasNormal_; });
    if (!WindowPlacement::fillsArea(window) || !window->property(normalFrameProperty).isValid() || !whole) {
        window->setProperty(normalFrameProperty, WindowPlacement::frameOf(window));
        window->setProperty(normalClientProperty, window->geometry());
        window->setProperty(normalPutByUserProperty, windowPut);
        for (Drawer* drawer : drawers) {
            drawer->hasNormal_ = true;
            drawer->normalEdge_ = drawer->edge_;
            drawer->normalSqueezed_ = drawer->squeezedDepth_;
            drawer->normalArranged_ = drawer->arranged_;
        }
    }
    if (makeRoom) {
        WindowPlacement::giveWayTo(window);
        // Once the drawer opening now is shown too (it shows after it is arranged).
        const QPointer<QWidget> owner(window);
        QTimer::singleShot(0, window, [owner] {
            if (owner)
                WindowPlacement::giveWayTo(owner);
        });
    }
}

std::vector<DrawerNeed> Drawer::needsOf(const QList<Drawer*>& drawers)
{
    std::vector<DrawerNeed> needs;
    for (const Drawer* drawer : drawers) {
        const QRect inside = drawer->parentWindow_
                                 ? QRect(QPoint(0, 0), WindowPlacement::frameOf(drawer->parentWindow_).size())
                                 : QRect();
        const bool over = !drawer->arranged_.isNull() && inside.contains(drawer->arranged_);
        needs.push_back({drawer->askedEdge_, drawer->edge_, drawer->naturalDepth(), drawer->leastDepth(),
                         rounded(drawer->leadingOffset_), rounded(drawer->trailingOffset_),
                         drawer->neededLength(), drawer->scrollBarExtent(), over});
    }
    return needs;
}

void Drawer::placeAsArranged(const QList<Drawer*>& drawers, const DrawerArrangement& arranged)
{
    for (int i = 0; i < drawers.size(); ++i) {
        Drawer* drawer = drawers[i];
        const auto at = std::size_t(i);
        drawer->edge_ = arranged.edges[at];
        const int depth = arranged.depths[at];
        drawer->squeezedDepth_ = depth < drawer->naturalDepth() ? depth : 0;
        // Kept relative to the window's frame, so that the drawer follows the window as it moves.
        drawer->arranged_ =
            at < arranged.rects.size() ? arranged.rects[at].translated(-arranged.frame.topLeft()) : QRect();
        drawer->place();
    }
}

void Drawer::arrangeOverMaximised(QWidget* window, const QList<Drawer*>& drawers)
{
    // A maximised window keeps its frame: its drawers lie over its plot, inside its edges and clear of
    // the rows of controls along its top and bottom, each on the side asked for and no deeper than a
    // third of the window; a palette gives way to the window and its drawers. Restored, the window
    // takes back the frame it had.
    window->setProperty(restoreProperty, window->property(normalFrameProperty).isValid());
    window->setProperty(arrangedFrameProperty, WindowPlacement::frameOf(window));
    placeAsArranged(drawers, arrangeOverWindow(WindowPlacement::frameOf(window), needsOf(drawers),
                                               controlRowsOf(window)));
    for (Drawer* drawer : drawers)
        drawer->raise();
    // Once the drawer opening now is shown too.
    QTimer::singleShot(0, window, [window] { WindowPlacement::giveWayTo(window); });
}

bool Drawer::settleRestore(QWidget* window, const QList<Drawer*>& drawers)
{
    const int retries = window->property(restoringProperty).toInt();
    if (retries <= 0)
        return false;
    const QRect normal = window->property(normalFrameProperty).toRect();
    const QRect client = window->property(normalClientProperty).toRect();
    const bool whole =
        std::all_of(drawers.begin(), drawers.end(), [](const Drawer* d) { return d->hasNormal_; });
    if (!normal.isEmpty() && !client.isEmpty() && window->geometry() == client &&
        WindowPlacement::frameOf(window) != normal && whole) {
        // Restored, but its decoration told as the maximised window's still: the drawers stay where they
        // stood, not laid out for a frame the window does not have.
        for (Drawer* drawer : drawers)
            drawer->setGeometry(drawer->normalArranged_.translated(normal.topLeft()));
        window->setProperty(restoringProperty, retries - 1);
        // A palette waiting for them to stand clear of its place again goes back there now.
        WindowPlacement::comeBack(window);
        return true;
    }
    if (normal.isEmpty() ||
        (client.isEmpty() ? WindowPlacement::frameOf(window) == normal : window->geometry() == client)) {
        window->setProperty(restoringProperty, 0);
        return false;
    }
    // A place the window manager told before it took the restore: the restored frame again.
    window->setProperty(restoreProperty, true);
    const bool restored = restoreNormal(window, drawers);
    window->setProperty(restoringProperty, retries - 1);
    return restored;
}

bool Drawer::restoreNormal(QWidget* window, const QList<Drawer*>& drawers)
{
    if (!window->property(restoreProperty).toBool())
        return false;
    window->setProperty(restoreProperty, false);
    const QRect normal = window->property(normalFrameProperty).toRect();
    if (normal.isEmpty())
        return false;
    window->setProperty(restoringProperty, restoreRetries);
    auto& busy = windowsBeingArranged();
    busy.push_back(window);
    const QRect frame = WindowPlacement::frameOf(window);
    const QRect client = window->property(normalClientProperty).toRect();
    if (!client.isEmpty()) {
        if (window->geometry() != client)
            window->setGeometry(client);
        WindowPlacement::noteSpot(window, normal.topLeft());
    } else {
        if (frame.size() != normal.size())
            window->resize(normal.size().shrunkBy(WindowPlacement::decorationOf(window)));
        if (frame.topLeft() != normal.topLeft()) {
            WindowPlacement::moveFrame(window, normal.topLeft());
            WindowPlacement::noteSpot(window, normal.topLeft());
        }
    }
    busy.erase(std::find(busy.begin(), busy.end(), window));
    window->setProperty(arrangedFrameProperty, normal);
    window->setProperty(putByUserProperty, window->property(normalPutByUserProperty).toBool());
    const bool whole =
        std::all_of(drawers.begin(), drawers.end(), [](const Drawer* d) { return d->hasNormal_; });
    if (!whole)
        return false;  // arranged anew around the restored frame
    for (Drawer* drawer : drawers) {
        drawer->edge_ = drawer->normalEdge_;
        drawer->squeezedDepth_ = drawer->normalSqueezed_;
        drawer->arranged_ = drawer->normalArranged_;
        drawer->place();
    }
    // The palette that gave way to the maximised window comes back now that the drawers stand again.
    WindowPlacement::comeBack(window);
    return true;
}

void Drawer::place()
{
    // The outer edge keeps a strip free for the resize drag.
    if (layout()) {
        switch (edge_) {
            case Edge::Left:
                layout()->setContentsMargins(handleWidth, 0, 0, 0);
                break;
            case Edge::Right:
                layout()->setContentsMargins(0, 0, handleWidth, 0);
                break;
            case Edge::Bottom:
                layout()->setContentsMargins(0, 0, 0, handleWidth);
                break;
        }
    }
    setGeometry(placement());
}

bool Drawer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWindow_) {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
                rearrange(false);
                break;
            case QEvent::Show:
                if (isOpenOrOpening()) {
                    parentWindow_->setProperty(putByUserProperty, false);
                    rearrange(true);
                    show();
                }
                break;
            case QEvent::WindowStateChange:
                // Maximised or restored: the drawers are arranged for the new frame once it is known (the
                // restored window may give up size for them again).
                if (isOpenOrOpening())
                    QTimer::singleShot(0, this, [this] { rearrange(true); });
                break;
            case QEvent::WindowActivate:
                // An open drawer comes to the front with its window (another window may have covered it).
                if (isOpenOrOpening())
                    raise();
                break;
            case QEvent::Hide:
                hide();
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Drawer::changeEvent(QEvent* event)
{
    // Clicked, a drawer comes above a window that floats over the others (a palette) where it lies under
    // one, and goes back to its window's level when the user turns elsewhere.
    if (event->type() == QEvent::ActivationChange) {
        const QRect placed = frameGeometry();
        const QList<QRect> floating = WindowPlacement::keptClearFrames(this);
        const bool under = std::any_of(floating.begin(), floating.end(),
                                       [&placed](const QRect& f) { return f.intersects(placed); });
        WindowHandle handle(this);
        if (isActiveWindow() && under) {
            handle.setStatusWindowLevel(true);
            raise();
        } else if (!isActiveWindow()) {
            handle.setStatusWindowLevel(false);
        }
    }
    QWidget::changeEvent(event);
}

bool Drawer::onOuterEdge(const QPoint& position) const
{
    switch (edge_) {
        case Edge::Left:
            return position.x() < handleWidth;
        case Edge::Right:
            return position.x() >= width() - handleWidth;
        case Edge::Bottom:
            return position.y() >= height() - handleWidth;
    }
    return false;
}

void Drawer::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && onOuterEdge(event->position().toPoint())) {
        dragging_ = true;
        dragStart_ = event->globalPosition().toPoint();
        sizeAtDragStart_ = contentSize_;
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void Drawer::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_) {
        const bool edgeHover = onOuterEdge(event->position().toPoint());
        setCursor(edgeHover ? (isSideEdge() ? Qt::SizeHorCursor : Qt::SizeVerCursor) : Qt::ArrowCursor);
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint moved = event->globalPosition().toPoint() - dragStart_;
    QSizeF size = sizeAtDragStart_;
    switch (edge_) {
        case Edge::Left:
            size.setWidth(size.width() - moved.x());
            break;
        case Edge::Right:
            size.setWidth(size.width() + moved.x());
            break;
        case Edge::Bottom:
            size.setHeight(size.height() + moved.y());
            break;
    }
    requestContentSize(size);
    event->accept();
}

void Drawer::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragging_ && event->button() == Qt::LeftButton) {
        dragging_ = false;
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

}  // namespace nupo
