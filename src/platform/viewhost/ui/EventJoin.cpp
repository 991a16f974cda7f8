#include "platform/viewhost/ui/EventJoin.h"

#include "platform/appkit/MainThread.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"

#include <QApplication>
#include <QPointer>
#include <QScopedValueRollback>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

namespace nupo {

namespace {

// The top-level widget an event's receiver belongs to: a widget's window, or the widget of a window.
QWidget* windowOf(QObject* receiver)
{
    if (receiver->isWidgetType())
        return static_cast<QWidget*>(receiver)->window();
    if (receiver->isWindowType()) {
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget* window : windows)
            if (window->windowHandle() == receiver)
                return window;
    }
    return nullptr;
}

// Input that can wait for a window's frame. Shortcut overrides are asked and answered at once (refused,
// the shortcut goes on: Quit and the window keys work over any window).
bool isHoldable(const QEvent* event, QEvent::Type type)
{
    return event->isInputEvent() && type != QEvent::ShortcutOverride;
}

struct HeldEvent {
    QPointer<QObject> receiver;
    QPointer<QWidget> window;
    std::unique_ptr<QEvent> event;
};

class Join : public QObject {
public:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (held_.empty() && !GLRenderThread::anyFrameInFlight())
            return false;
        const QEvent::Type type = handedOverEventType(event);  // some are posted by other threads
        switch (type) {
            case QEvent::Paint:
            case QEvent::UpdateRequest:
            case QEvent::UpdateLater:
            case QEvent::Expose:
            case QEvent::LayoutRequest:  // widgets' layouts; a view hears of its size through Resize
            case QEvent::ChildAdded:     // Qt's own bookkeeping of children (style animations come and go)
            case QEvent::ChildPolished:
            case QEvent::ChildRemoved:
                return false;
            case QEvent::Timer:
                if (isIndependentOfDrawing(receiver))
                    return false;
                break;
            default:
                if (type == GLRenderThread::frameReadyEvent())
                    return false;
                break;
        }
        QWidget* window = windowOf(receiver);
        if (window && window == deliveringFor_)
            return false;
        const bool holdable = window && isHoldable(event, type);
        if (holdable) {
            if (ThreadedGLViewHost::drawingStateOf(window) == ThreadedGLViewHost::DrawingState::Stalled)
                return true;  // the window is paused
            if (isHeldFor(window))
                return hold(receiver, window, event);  // after what came before it
        }
        if (GLRenderThread::waitForAll())
            return false;
        if (holdable &&
            ThreadedGLViewHost::drawingStateOf(window) == ThreadedGLViewHost::DrawingState::Drawing)
            return hold(receiver, window, event);
        return false;
    }

    void deliver()
    {
        if (delivering_)
            return;  // a handler of a delivered event runs an event loop of its own: the first call goes on
        const QScopedValueRollback<bool> whileDelivering(delivering_, true);
        // What was held for a window comes in order; a window still drawing keeps the rest of its input.
        std::vector<const QWidget*> stillDrawing;
        for (std::size_t i = 0; i < held_.size();) {
            HeldEvent& held = held_[i];
            const QWidget* window = held.window;
            const bool gone = !held.receiver || !window;
            const auto state =
                gone ? ThreadedGLViewHost::DrawingState::Idle : ThreadedGLViewHost::drawingStateOf(window);
            if (!gone &&
                (state == ThreadedGLViewHost::DrawingState::Drawing ||
                 std::find(stillDrawing.begin(), stillDrawing.end(), window) != stillDrawing.end())) {
                stillDrawing.push_back(window);
                ++i;
                continue;
            }
            HeldEvent taken = std::move(held);
            held_.erase(held_.begin() + std::ptrdiff_t(i));
            // A paused window's input is dropped.
            if (!gone && state == ThreadedGLViewHost::DrawingState::Idle) {
                // Passes the filter, with what Qt sends on from it to the widgets of that window.
                const QScopedValueRollback<const QWidget*> whileSending(deliveringFor_, window);
                QCoreApplication::sendEvent(taken.receiver, taken.event.get());
            }
        }
    }

    int heldCount() const { return int(held_.size()); }

private:
    bool isHeldFor(const QWidget* window) const
    {
        return std::any_of(held_.begin(), held_.end(),
                           [window](const HeldEvent& held) { return held.window == window; });
    }
    bool hold(QObject* receiver, QWidget* window, QEvent* event)
    {
        held_.push_back(HeldEvent{receiver, window, std::unique_ptr<QEvent>(event->clone())});
        return true;
    }

    std::deque<HeldEvent> held_;  // in the order they came
    bool delivering_ = false;
    const QWidget* deliveringFor_ = nullptr;  // the window whose held input is being delivered
};

Join* theJoin = nullptr;  // lives to process end once made

}  // namespace

void EventJoin::setOn(bool on)
{
    if (!QCoreApplication::instance())
        return;
    if (!theJoin)
        theJoin = new Join;
    QCoreApplication::instance()->removeEventFilter(theJoin);
    if (on)
        QCoreApplication::instance()->installEventFilter(theJoin);
    else
        theJoin->deliver();
    // Timers marked independent of drawing wait through this where they touch what the views draw from.
    setDrawingWait(on ? std::function<bool()>(&GLRenderThread::waitForAll) : std::function<bool()>());
}

void EventJoin::deliverHeldInput()
{
    if (theJoin)
        theJoin->deliver();
}

int EventJoin::heldCount()
{
    return theJoin ? theJoin->heldCount() : 0;
}

}  // namespace nupo
