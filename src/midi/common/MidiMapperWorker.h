#pragma once

#include "platform/appkit/RunLoopTimer.h"
#include "platform/appkit/WorkerThread.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace nupo {

// The two clocks of a MIDI mapper: a worker thread whose repeating timer runs the mapper's pass, and
// a main-thread timer that refreshes its panels. Both mappers run this way.
//
// A mapper may rest while it has nothing to do: after a tick that finds `idle` true the worker ticks
// only every `restSeconds`, and goes back to its tick interval at the first tick that finds work (a
// setup written from anywhere is seen within restSeconds) or at once when wake() is called (the
// mapper's own setup switches call it).
//
// A document being saved or opened pauses every mapper (runMapperTick). A resting worker might not tick
// while the flag is up, so the code that raises the flag tells the resting workers: each runs one tick at
// once, and wakes when the flag is down again (the document may have switched setups on).
class MidiMapperWorker {
public:
    explicit MidiMapperWorker(const QString& name);
    ~MidiMapperWorker();
    MidiMapperWorker(const MidiMapperWorker&) = delete;
    MidiMapperWorker& operator=(const MidiMapperWorker&) = delete;

    // Starts the worker with its tick and, on the calling thread (the main thread), the display tick.
    // Does nothing while running.
    void start(double tickSeconds, std::function<void()> tick, double displaySeconds,
               std::function<void()> displayTick, std::function<bool()> idle = {}, double restSeconds = 0.1);
    // Ends both timers and joins the worker (tests and shutdown). Call from the main thread.
    void stop();
    // Queues fn on the worker; false when it is not running.
    bool runOnThread(std::function<void()> fn);
    // Back to the tick interval if resting. Any thread.
    void wake();
    // The interval the worker ticks at now (0 when not running).
    double currentInterval();

    // True when called on the thread of any mapper's worker.
    static bool onWorkerThread();

    // After raising startToSaveData or startToOpenData: every resting worker runs one tick now, and this
    // returns when they have (so they see the flag up). Main thread.
    static void documentFlagRaised();
    // After lowering the flag: every resting worker wakes. Any thread.
    static void documentFlagLowered();

private:
    // On the worker: one tick, then the interval its outcome asks for.
    void runTick();
    // Replaces the tick timer by one of the tick or the rest interval, unless it runs at that already.
    void tickEvery(bool resting);
    // Runs one tick at once when resting, and waits for it.
    void tickNowIfResting();

    std::mutex mutex;
    WorkerThread thread;
    std::function<void()> tick;
    std::function<bool()> idle;
    double tickSeconds = 0.0;
    double restSeconds = 0.0;
    bool isResting = false;                      // guarded by mutex
    std::unique_ptr<RunLoopTimer> tickTimer;     // guarded by mutex
    std::unique_ptr<RunLoopTimer> displayTimer;  // guarded by mutex; fires on the main thread
};

// One worker tick of a mapper: the pass while no document is being saved or opened; when one is, one
// shutdown of the mapper's notes (after a pass had run), then rest.
void runMapperTick(std::atomic<int>& needOff, const std::function<void()>& pass,
                   const std::function<void()>& shutdown);

// Whether a mapper's display tick should refresh its panels: the settings were opened, the transport
// runs and no document is being saved or opened.
bool mapperDisplayDue(int settingsOpened);

}  // namespace nupo
