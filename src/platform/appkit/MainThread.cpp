#include "platform/appkit/MainThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include <mutex>
#include <utility>

namespace nupo {

namespace {

// One queued function. It is handed over under its own mutex rather than through Qt's event queue
// alone, whose locks thread checkers cannot see: what the posting thread wrote before the post is then
// seen, by them as by the hardware, to happen before the function runs. Qt deletes the event unrun
// when the application goes first.
class CallEvent : public QEvent {
public:
    explicit CallEvent(std::function<void()> fn) : QEvent(type())
    {
        std::lock_guard lock(mutex);
        function = std::move(fn);
    }
    ~CallEvent() override
    {
        std::lock_guard lock(mutex);
        function = nullptr;
    }

    std::function<void()> take()
    {
        std::lock_guard lock(mutex);
        return std::exchange(function, nullptr);
    }

    static Type type()
    {
        static const auto registered = static_cast<Type>(QEvent::registerEventType());
        return registered;
    }

private:
    std::mutex mutex;
    std::function<void()> function;  // guarded by mutex
};

// Runs the calls posted to it, on the main thread; it holds no state.
class MainThreadReceiver : public QObject {
protected:
    bool event(QEvent* event) override
    {
        if (event->type() != CallEvent::type())
            return QObject::event(event);
        if (std::function<void()> fn = static_cast<CallEvent*>(event)->take())
            fn();
        return true;
    }
};

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
    // Qt guards its event queues with locks thread checkers cannot see; posts from several threads
    // into the main thread's queue are made one at a time under this one.
    static std::mutex postMutex;
    std::lock_guard lock(postMutex);
    QCoreApplication::postEvent(receiver, event);
}

bool isMainThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

}  // namespace nupo
