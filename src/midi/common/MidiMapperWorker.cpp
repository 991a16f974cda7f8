#include "midi/common/MidiMapperWorker.h"

#include "shared/CoreState.h"

#include <utility>

namespace nupo {

namespace {
thread_local bool isMapperWorker = false;
}

MidiMapperWorker::MidiMapperWorker(const QString& name) : thread(name) {}

MidiMapperWorker::~MidiMapperWorker()
{
    stop();
}

void MidiMapperWorker::start(double tickSeconds, std::function<void()> tick, double displaySeconds,
                             std::function<void()> displayTick)
{
    std::lock_guard lock(mutex);
    if (thread.isRunning())
        return;
    thread.start();
    thread.runOnThread([] { isMapperWorker = true; });
    tickTimer = thread.scheduleTimer(tickSeconds, std::move(tick));
    displayTimer = std::make_unique<RunLoopTimer>(displaySeconds, std::move(displayTick));
}

void MidiMapperWorker::stop()
{
    std::unique_ptr<RunLoopTimer> tickEnded;
    std::unique_ptr<RunLoopTimer> displayEnded;
    {
        std::lock_guard lock(mutex);
        tickEnded = std::move(tickTimer);
        displayEnded = std::move(displayTimer);
    }
    // Invalidating waits for a tick under way, so nothing runs after this.
    if (tickEnded)
        tickEnded->invalidate();
    if (displayEnded)
        displayEnded->invalidate();
    thread.stop();
}

bool MidiMapperWorker::runOnThread(std::function<void()> fn)
{
    return thread.runOnThread(std::move(fn));
}

bool MidiMapperWorker::onWorkerThread()
{
    return isMapperWorker;
}

void runMapperTick(std::atomic<int>& needOff, const std::function<void()>& pass,
                   const std::function<void()>& shutdown)
{
    if (startToSaveData == 0 && startToOpenData == 0) {
        pass();
        needOff = 1;
    } else if (needOff != 0) {
        shutdown();
        needOff = 0;
    }
}

bool mapperDisplayDue(int settingsOpened)
{
    return settingsOpened != 0 && setPauseX == 0 && startToSaveData == 0 && startToOpenData == 0;
}

}  // namespace nupo
