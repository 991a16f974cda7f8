#include "core/QXInputStream.h"

#include "core/Transport.h"
#include "shared/CoreState.h"

#include <QCoreApplication>

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
    if (running)
        return;
    running = true;
    replay.start();
    replay.runOnThread([this] {
        lastStep = std::chrono::steady_clock::now();
        scheduleReplay();
    });
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
    std::lock_guard lock(mutex);
    running = false;
    replay.stop();
    // Called on the replay thread itself, stop() only ends its loop; the timer then dies with the thread.
    if (!replay.isCurrentThread())
        replayTimer.reset();
}

bool QXInputStream::isRunning()
{
    std::lock_guard lock(mutex);
    return running && replay.isRunning();
}

void QXInputStream::scheduleReplay()
{
    replayTimerStep = replayStepMicroseconds(SampleSpeed.load(std::memory_order_relaxed));
    replayTimer = replay.scheduleTimer(double(replayTimerStep) / 1e6, [this] { replayStep(); });
}

void QXInputStream::replayStep()
{
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - lastStep).count();
    lastStep = now;
    Transport::sharedTransport().advanceReplay(seconds);
    // A new sampling rate gives a new step length; the timer is replaced outside its own callback.
    if (replayStepMicroseconds(SampleSpeed.load(std::memory_order_relaxed)) != replayTimerStep)
        replay.runOnThread([this] { scheduleReplay(); });
}

}  // namespace nupo
