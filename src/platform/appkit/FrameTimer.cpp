#include "platform/appkit/FrameTimer.h"

#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <vector>

namespace nupo {

namespace {

// The beat: one precise timer, running while any frame timer is started.
struct Beat {
    QTimer timer;
    std::vector<FrameTimer*> started;
    std::function<void()> hook;

    Beat()
    {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(FrameTimer::intervalMilliseconds);
        QObject::connect(&timer, &QTimer::timeout, [this] { fire(); });
    }

    void fire()
    {
        // A tick may stop, start or delete frame timers; each one started now gets this beat once,
        // unless it stops before its turn or skips it.
        std::vector<QPointer<FrameTimer>> due(started.begin(), started.end());
        for (const QPointer<FrameTimer>& frameTimer : due)
            if (frameTimer && frameTimer->isActive() && !frameTimer->skipsNow())
                emit frameTimer->timeout();
        if (hook)
            hook();
    }

    void add(FrameTimer* frameTimer)
    {
        started.push_back(frameTimer);
        if (!timer.isActive())
            timer.start();
    }

    void remove(FrameTimer* frameTimer)
    {
        started.erase(std::remove(started.begin(), started.end(), frameTimer), started.end());
        if (started.empty())
            timer.stop();
    }
};

Beat& beat()
{
    static Beat* instance = new Beat;  // lives to process end: frame timers may outlive static destruction
    return *instance;
}

}  // namespace

void FrameTimer::setBeatHook(std::function<void()> hook)
{
    beat().hook = std::move(hook);
}

bool FrameTimer::beatIsActive()
{
    return beat().timer.isActive();
}

FrameTimer::FrameTimer(QObject* parent) : QObject(parent) {}

FrameTimer::~FrameTimer()
{
    stop();
}

void FrameTimer::start()
{
    if (active)
        return;
    active = true;
    beat().add(this);
}

void FrameTimer::stop()
{
    if (!active)
        return;
    active = false;
    beat().remove(this);
}

}  // namespace nupo
