#pragma once

#include <QThread>

#include <functional>

namespace nupo {

// A thread of its own with a run loop and one repeating timer that calls `tick` on that thread. The
// MIDI mappers run their per-setup work this way. It runs until the object is destroyed.
class MidiWorkerThread : public QThread {
    Q_OBJECT
public:
    MidiWorkerThread(int intervalMs, std::function<void()> tick);
    ~MidiWorkerThread() override;

    // True when called from this worker's thread.
    static bool onWorkerThread();

protected:
    void run() override;

private:
    int intervalMs;
    std::function<void()> tick;
};

}  // namespace nupo
