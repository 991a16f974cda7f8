#pragma once

#include <functional>
#include <memory>

namespace nupo {

// A repeating timer on a thread's event loop. It fires every interval seconds until invalidated or
// destroyed, also while a menu, slider or modal panel is being tracked (those run nested event loops,
// which deliver timers as well). The callback runs on the constructing thread, which must run a Qt event
// loop (the main thread or a WorkerThread; WorkerThread::scheduleTimer makes one for a worker from any
// thread). The timer object itself may be invalidated or destroyed on any thread. Once invalidate()
// returns, the callback does not run again, and a call in progress on another thread has finished;
// inside its own callback, invalidate() just stops further calls.
class RunLoopTimer {
public:
    RunLoopTimer(double intervalSeconds, std::function<void()> callback);
    ~RunLoopTimer();
    RunLoopTimer(const RunLoopTimer&) = delete;
    RunLoopTimer& operator=(const RunLoopTimer&) = delete;

    void invalidate();
    // False once invalidated, or when the timer's thread has ended.
    bool isValid() const;
    double interval() const { return intervalSeconds; }

private:
    friend class WorkerThread;
    struct State;
    struct Deferred {};
    // Made but not started; startOnCurrentThread() starts it on the thread that calls it.
    RunLoopTimer(double intervalSeconds, std::function<void()> callback, Deferred);
    static void startOnCurrentThread(const std::shared_ptr<State>& state, double intervalSeconds);
    static void fire(State& state);

    double intervalSeconds;
    std::shared_ptr<State> state;
};

}  // namespace nupo
