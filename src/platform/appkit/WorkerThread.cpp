#include "platform/appkit/WorkerThread.h"

#include "platform/appkit/MainThread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>

#include <condition_variable>
#include <deque>
#include <utility>

namespace nupo {

// Lives on the worker and runs the functions queued for it, in order. The queue is guarded by a plain
// mutex (not only by Qt's event queue), so that thread checkers see every hand-over.
class WorkerMailbox : public QObject {
public:
    void post(std::function<void()> fn)
    {
        // Posted under the lock: the worker takes the function only after the wake-up is fully sent, so
        // it cannot end and close its event queue while this thread still writes to it.
        auto* wake = new QEvent(wakeType());
        std::lock_guard lock(mutex);
        queue.push_back(std::move(fn));
        QCoreApplication::postEvent(this, wake);
    }

protected:
    bool event(QEvent* event) override
    {
        std::unique_lock lock(mutex);
        if (event->type() != wakeType()) {
            lock.unlock();
            return QObject::event(event);
        }
        std::deque<std::function<void()>> batch;
        batch.swap(queue);
        lock.unlock();
        for (std::function<void()>& fn : batch)
            fn();
        return true;
    }

private:
    static QEvent::Type wakeType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    std::mutex mutex;
    std::deque<std::function<void()>> queue;
};

WorkerThread::WorkerThread(const QString& name)
{
    if (!name.isEmpty())
        thread.setObjectName(name);
    QObject::connect(&thread, &QThread::started, [this] {  // runs on the worker
        std::lock_guard lock(startedMutex);
        started = true;
        startedSignal.notify_all();
    });
}

WorkerThread::~WorkerThread()
{
    stop();
}

void WorkerThread::start()
{
    if (isCurrentThread())
        return;
    std::lock_guard stopLock(stopMutex);
    std::lock_guard lock(mutex);
    if (mailbox != nullptr)
        return;
    thread.wait();  // a worker that stopped itself may still be ending
    mailbox = new WorkerMailbox;
    mailbox->moveToThread(&thread);
    QObject::connect(&thread, &QThread::finished, mailbox, &QObject::deleteLater);

    // Wait until the worker has its event dispatcher (it emits started after making it), so that every
    // later post finds it in place.
    std::unique_lock startedLock(startedMutex);
    started = false;
    thread.start();
    startedSignal.wait(startedLock, [this] { return started; });
}

void WorkerThread::stop()
{
    stop(std::chrono::milliseconds::max());
}

bool WorkerThread::stop(std::chrono::milliseconds longest)
{
    // On the worker itself (which cannot join itself) this only ends the loop, without waiting for a
    // stop() under way on another thread, which is waiting for this thread to end.
    const bool onWorker = isCurrentThread();
    std::unique_lock stopLock(stopMutex, std::defer_lock);
    if (!onWorker)
        stopLock.lock();
    WorkerMailbox* current = nullptr;
    {
        std::lock_guard lock(mutex);
        current = std::exchange(mailbox, nullptr);
    }
    // Queued behind the work already posted, so that work still runs.
    if (current != nullptr)
        current->post([] { QThread::currentThread()->quit(); });
    // Also joins a worker that stopped itself earlier.
    if (onWorker)
        return false;
    if (longest == std::chrono::milliseconds::max())
        return thread.wait();
    return thread.wait(QDeadlineTimer(longest.count()));
}

bool WorkerThread::isRunning() const
{
    std::lock_guard lock(mutex);
    return mailbox != nullptr;
}

bool WorkerThread::runOnThread(std::function<void()> fn)
{
    std::lock_guard lock(mutex);
    if (mailbox == nullptr || !fn)
        return false;
    mailbox->post(std::move(fn));
    return true;
}

std::unique_ptr<RunLoopTimer> WorkerThread::scheduleTimer(double intervalSeconds, std::function<void()> fn)
{
    std::unique_ptr<RunLoopTimer> timer(
        new RunLoopTimer(intervalSeconds, std::move(fn), RunLoopTimer::Deferred{}));
    std::lock_guard lock(mutex);
    if (mailbox == nullptr) {
        timer->invalidate();
        return timer;
    }
    // The QTimer is made on the worker, so that it is started, stopped and deleted only there.
    mailbox->post([state = timer->state, intervalSeconds] {
        RunLoopTimer::startOnCurrentThread(state, intervalSeconds);
    });
    return timer;
}

void runOnThreadOfItsOwn(const QString& name, std::function<void()> fn)
{
    auto* worker = new WorkerThread(name);  // deleted on the main thread once fn has returned
    worker->start();
    worker->runOnThread([worker, fn = std::move(fn)]() mutable {
        // What fn holds goes here too, before the main thread is asked to end the worker.
        std::exchange(fn, nullptr)();
        performOnMainThread([worker] { delete worker; });
    });
}

}  // namespace nupo
