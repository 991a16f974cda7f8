#pragma once

#include "platform/appkit/RunLoopTimer.h"

#include <QString>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace nupo {

class WorkerMailbox;

// A thread with its own event loop, on which functions can be queued and timers scheduled from any thread.
// stop() lets everything queued before it run, ends the loop and joins the thread; the worker's timers end
// with it. The object must not be destroyed on its own thread.
class WorkerThread {
public:
    explicit WorkerThread(const QString& name = QString());
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    void start();
    // Called on the worker itself it only asks the loop to end (a thread cannot join itself).
    void stop();
    // As stop, but waits at most that long for the thread to end: false when it is still running (a job
    // that does not return, e.g. a read from a hung drive), which is then left to end on its own.
    bool stop(std::chrono::milliseconds longest);
    bool isRunning() const;
    bool isCurrentThread() const { return QThread::currentThread() == &thread; }

    // Queues fn on the worker, after what is already queued. False (and fn dropped) when not running.
    bool runOnThread(std::function<void()> fn);
    // A repeating timer whose callback runs on the worker; an invalid timer when the worker is not running.
    [[nodiscard]] std::unique_ptr<RunLoopTimer> scheduleTimer(double intervalSeconds,
                                                              std::function<void()> fn);

    QThread* qThread() { return &thread; }

private:
    mutable std::mutex mutex;
    std::mutex stopMutex;  // one stop at a time, so every caller of stop() returns after the join
    QThread thread;
    std::mutex startedMutex;
    std::condition_variable startedSignal;
    bool started = false;              // guarded by startedMutex
    WorkerMailbox* mailbox = nullptr;  // guarded by mutex; lives on the worker while it runs
};

// Runs fn on a worker made for it alone, which the main thread stops once fn has returned: work that may
// never return (a read from a hung drive) holds up only its own thread. Call on the main thread.
void runOnThreadOfItsOwn(const QString& name, std::function<void()> fn);

}  // namespace nupo
