#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

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
    void replayLoop();

    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    std::thread replay;
};

}  // namespace nupo
