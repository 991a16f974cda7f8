#pragma once

#include <QObject>

#include <functional>

namespace nupo {

// A repeating 1/30 s timer of a window (its animation, fields and redraw), ticking on a beat shared by
// every window of the program: all started frame timers fire in the same turn of the main thread's event
// loop, one after another in the order they were started, so the thread wakes once a frame for all the
// windows instead of once for each. A timer started between beats fires first at the next beat. After the
// timers of a beat have fired, the beat's hook (if one is set) runs once in the same turn.
//
// The beat does not wait for frames drawn on other threads. A tick may name when it must not run
// (skipWhile): at a beat where that holds it is skipped, so that its window drops that beat alone while
// the others keep theirs.
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
    // The condition under which a beat skips this timer's tick; an empty function never skips.
    void skipWhile(std::function<bool()> busy) { skipCondition = std::move(busy); }
    bool skipsNow() const { return skipCondition && skipCondition(); }

    // The function run after each beat's timers (for work that follows the windows' ticks, such as
    // starting frames drawn on other threads); an empty function removes it.
    static void setBeatHook(std::function<void()> hook);
    // Whether the beat is running (some frame timer is started).
    static bool beatIsActive();

signals:
    void timeout();

private:
    bool active = false;
    std::function<bool()> skipCondition;
};

}  // namespace nupo
