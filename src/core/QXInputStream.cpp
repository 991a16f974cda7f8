#include "core/QXInputStream.h"

#include "core/Transport.h"
#include "shared/CoreState.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdlib>

namespace nupo {

QXInputStream& QXInputStream::sharedQXInputStream()
{
    static QXInputStream* instance = new QXInputStream;  // lives to process end
    return *instance;
}

long long QXInputStream::replayStepMicroseconds(int sampleSpeed)
{
    return 3960000LL / (sampleSpeed > 0 ? sampleSpeed : 120);
}

void QXInputStream::initializeThred()
{
    std::lock_guard lock(mutex);
    if (replay.joinable())
        return;
    stopping = false;
    replay = std::thread([this] { replayLoop(); });
    // However the process ends, the thread ends before the process-wide state it uses goes away.
    static const bool stopAtExit = [] {
        qAddPostRoutine([] { sharedQXInputStream().stopThreads(); });
        std::atexit([] { sharedQXInputStream().stopThreads(); });
        return true;
    }();
    (void)stopAtExit;
}

void QXInputStream::stopThreads()
{
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    if (replay.joinable() && replay.get_id() != std::this_thread::get_id())
        replay.join();
}

bool QXInputStream::isRunning()
{
    std::lock_guard lock(mutex);
    return replay.joinable() && !stopping;
}

void QXInputStream::replayLoop()
{
    using Clock = std::chrono::steady_clock;
    auto last = Clock::now();
    std::unique_lock lock(mutex);
    while (!stopping) {
        const auto step =
            std::chrono::microseconds(replayStepMicroseconds(SampleSpeed.load(std::memory_order_relaxed)));
        if (wake.wait_for(lock, step, [this] { return stopping; }))
            break;
        const auto now = Clock::now();
        const double seconds = std::chrono::duration<double>(now - last).count();
        last = now;
        lock.unlock();
        Transport::sharedTransport().advanceReplay(seconds);
        lock.lock();
    }
}

}  // namespace nupo
