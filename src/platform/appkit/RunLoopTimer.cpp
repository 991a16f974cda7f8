#include "platform/appkit/RunLoopTimer.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <climits>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace nupo {

struct RunLoopTimer::State {
    std::function<void()> callback;
    std::mutex mutex;
    std::condition_variable callFinished;
    bool valid = true;              // guarded by mutex
    int callsInProgress = 0;        // guarded by mutex
    std::thread::id callingThread;  // guarded by mutex; the timer's thread while a call runs
    QTimer* timer = nullptr;        // guarded by mutex; owned by the timer's thread
};

namespace {

int toMilliseconds(double seconds)
{
    if (std::isnan(seconds) || seconds < 0.001)
        return 1;  // a zero or negative interval would spin the event loop
    if (seconds >= INT_MAX / 1000.0)
        return INT_MAX;
    return static_cast<int>(std::lround(seconds * 1000.0));
}

}  // namespace

RunLoopTimer::RunLoopTimer(double intervalSeconds, std::function<void()> callback)
    : RunLoopTimer(intervalSeconds, std::move(callback), Deferred{})
{
    startOnCurrentThread(state, intervalSeconds);
}

RunLoopTimer::RunLoopTimer(double intervalSeconds, std::function<void()> callback, Deferred)
    : intervalSeconds(intervalSeconds), state(std::make_shared<State>())
{
    state->callback = std::move(callback);
    if (!state->callback || QCoreApplication::instance() == nullptr)
        state->valid = false;
}

RunLoopTimer::~RunLoopTimer()
{
    invalidate();
}

void RunLoopTimer::startOnCurrentThread(const std::shared_ptr<State>& state, double intervalSeconds)
{
    {
        std::lock_guard lock(state->mutex);
        if (!state->valid)
            return;  // no callback, or invalidated before it could start
    }
    auto* timer = new QTimer;
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(toMilliseconds(intervalSeconds));
    QObject::connect(timer, &QTimer::timeout, [state] { fire(*state); });
    QObject::connect(timer, &QObject::destroyed, [weak = std::weak_ptr<State>(state)] {
        if (std::shared_ptr<State> s = weak.lock()) {
            std::lock_guard lock(s->mutex);
            s->timer = nullptr;
            s->valid = false;
        }
    });
    // A worker thread that ends takes its timers with it.
    QThread* thread = QThread::currentThread();
    if (thread != QCoreApplication::instance()->thread())
        QObject::connect(thread, &QThread::finished, timer, &QObject::deleteLater);

    bool keep = false;
    {
        std::lock_guard lock(state->mutex);
        keep = state->valid;
        if (keep)
            state->timer = timer;
    }
    if (!keep) {
        delete timer;  // invalidated meanwhile
        return;
    }
    timer->start();
}

void RunLoopTimer::fire(State& state)
{
    {
        std::lock_guard lock(state.mutex);
        if (!state.valid)
            return;
        ++state.callsInProgress;
        state.callingThread = std::this_thread::get_id();
    }
    state.callback();
    {
        std::lock_guard lock(state.mutex);
        --state.callsInProgress;
    }
    state.callFinished.notify_all();
}

void RunLoopTimer::invalidate()
{
    std::unique_lock lock(state->mutex);
    state->valid = false;
    if (state->timer != nullptr) {
        if (state->timer->thread() == QThread::currentThread())
            state->timer->stop();
        state->timer->deleteLater();
        state->timer = nullptr;
    }
    // Wait for a call running on the timer's thread, unless that is this thread (invalidated from inside).
    if (state->callingThread != std::this_thread::get_id())
        state->callFinished.wait(lock, [this] { return state->callsInProgress == 0; });
}

bool RunLoopTimer::isValid() const
{
    std::lock_guard lock(state->mutex);
    return state->valid;
}

}  // namespace nupo
