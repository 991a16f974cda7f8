#pragma once

#include "platform/appkit/WorkerThread.h"

#include <chrono>
#include <memory>
#include <mutex>

namespace nupo {

// The acquisition threads. The replay thread advances the play position through the transport at the
// recording's rate times the replay speed, one step every 3,960,000 / `SampleSpeed` microseconds (about
// four samples a step).
class QXInputStream {
public:
    static QXInputStream& sharedQXInputStream();

    // Starts the threads; later calls do nothing while they run.
    void initializeThred();
    // Stops and joins the threads (at shutdown, before the process-wide state goes away).
    void stopThreads();
    bool isRunning();

    // Real time between two replay steps at a sampling rate, in microseconds.
    static long long replayStepMicroseconds(int sampleSpeed);

private:
    QXInputStream() = default;
    // On the replay thread: a timer at the current step length, and one step of it.
    void scheduleReplay();
    void replayStep();

    std::mutex mutex;  // guards running and the start and stop of the worker
    bool running = false;
    WorkerThread replay{QStringLiteral("QXInputStream replay")};
    // The replay thread's own: its timer, the step length it was made for, and the time of the last step.
    std::unique_ptr<RunLoopTimer> replayTimer;
    long long replayTimerStep = 0;
    std::chrono::steady_clock::time_point lastStep;
};

}  // namespace nupo
