#include "platform/appkit/MainThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include <atomic>
#include <mutex>
#include <utility>

namespace nupo {

namespace {

// Qt's event queue hands an event over under locks that thread checkers cannot see. Every event is
// therefore posted under this mutex, and the main thread's receiver of calls takes it before it reads
// the event: what the posting thread wrote before the post (the event itself included) is then seen, by
// them as by the hardware, to happen before the function runs.
std::mutex& handOffMutex()
{
    static std::mutex mutex;
    return mutex;
}

// One queued function. Qt deletes the event unrun when the application goes first: at its exit, under
// Qt's own locks only, which thread checkers cannot see, so the event says itself that it was made whole.
class CallEvent : public QEvent {
public:
    explicit CallEvent(std::function<void()> fn) : QEvent(type()), function(std::move(fn))
    {
        made.store(true, std::memory_order_release);
    }
    ~CallEvent() override { (void)made.load(std::memory_order_acquire); }

    std::function<void()> take() { return std::exchange(function, nullptr); }

    static Type type()
    {
        static const auto registered = static_cast<Type>(QEvent::registerEventType());
        return registered;
    }

private:
    std::function<void()> function;  // taken under handOffMutex()
    std::atomic<bool> made{false};
};

// Runs the calls posted to it, on the main thread; it holds no state.
class MainThreadReceiver : public QObject {
protected:
    bool event(QEvent* event) override
    {
        std::unique_lock lock(handOffMutex());
        if (event->type() != CallEvent::type()) {
            lock.unlock();
            return QObject::event(event);
        }
        std::function<void()> fn = static_cast<CallEvent*>(event)->take();
        lock.unlock();
        if (fn)
            fn();
        return true;
    }
};

// Posts through a call of its own: ThreadSanitizer names the function that calls into a library only
// through such a call, so that its reports of Qt's posting name postToMainThread
// (tests/sanitizers/tsan.supp).
__attribute__((noinline)) void post(QObject* receiver, QEvent* event)
{
    QCoreApplication::postEvent(receiver, event);
}

}  // namespace

void performOnMainThread(std::function<void()> fn)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || !fn)
        return;
    static MainThreadReceiver* const receiver = [app] {
        auto* made = new MainThreadReceiver;
        made->moveToThread(app->thread());
        return made;
    }();
    postToMainThread(receiver, new CallEvent(std::move(fn)));
}

void postToMainThread(QObject* receiver, QEvent* event)
{
    // Posted under the hand-off mutex (see handOffMutex), so posts from several threads into the main
    // thread's queue are also made one at a time. ThreadSanitizer's reports of Qt's posting name this
    // function (tests/sanitizers/tsan.supp).
    std::lock_guard lock(handOffMutex());
    post(receiver, event);
}

QEvent::Type handedOverEventType(const QEvent* event)
{
    std::lock_guard lock(handOffMutex());
    return event->type();
}

bool handedOverToWidget(const QObject* receiver, bool windowsToo)
{
    std::lock_guard lock(handOffMutex());
    return receiver->isWidgetType() || (windowsToo && receiver->isWindowType());
}

bool isMainThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

}  // namespace nupo
