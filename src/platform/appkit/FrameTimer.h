#pragma once

#include <QObject>

namespace nupo {

// A repeating 1/30 s timer of a window (its animation, fields and redraw), ticking on a beat shared by
// every window of the program: all started frame timers fire in the same turn of the main thread's event
// loop, one after another in the order they were started, so the thread wakes once a frame for all the
// windows instead of once for each. A timer started between beats fires first at the next beat.
//
// Main thread only.
class FrameTimer : public QObject {
    Q_OBJECT

public:
    // Milliseconds between beats.
    static constexpr int intervalMilliseconds = 1000 / 30;

    explicit FrameTimer(QObject* parent = nullptr);
    ~FrameTimer() override;
    FrameTimer(const FrameTimer&) = delete;
    FrameTimer& operator=(const FrameTimer&) = delete;

    void start();
    void stop();
    bool isActive() const { return active; }

signals:
    void timeout();

private:
    bool active = false;
};

}  // namespace nupo
