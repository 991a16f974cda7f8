#include "midi/common/MidiMapperWorker.h"

#include "shared/CoreState.h"

#include <future>
#include <utility>
#include <vector>

namespace nupo {

namespace {

thread_local bool isMapperWorker = false;

// The running workers that may rest. A worker leaves before it stops, so the list's lock held over a
// call keeps every worker in it running.
struct RestingWorkers {
    std::mutex mutex;
    std::vector<MidiMapperWorker*> workers;
};

RestingWorkers& restingWorkers()
{
    static RestingWorkers* list = new RestingWorkers;  // lives to process end
    return *list;
}

}  // namespace

MidiMapperWorker::MidiMapperWorker(const QString& name) : thread(name) {}

MidiMapperWorker::~MidiMapperWorker()
{
    stop();
}

void MidiMapperWorker::start(double tickInterval, std::function<void()> tickFn, double displaySeconds,
                             std::function<void()> displayTick, std::function<bool()> idleFn,
                             double restInterval)
{
    {
        std::lock_guard lock(mutex);
        if (thread.isRunning())
            return;
        tick = std::move(tickFn);
        idle = std::move(idleFn);
        tickSeconds = tickInterval;
        restSeconds = restInterval;
        isResting = false;
        thread.start();
        thread.runOnThread([] { isMapperWorker = true; });
        tickTimer = thread.scheduleTimer(tickSeconds, [this] { runTick(); });
        displayTimer = std::make_unique<RunLoopTimer>(displaySeconds, std::move(displayTick));
        if (!idle)
            return;
    }
    // Taken after the worker's own lock is released: the list's lock always comes first.
    std::lock_guard listLock(restingWorkers().mutex);
    restingWorkers().workers.push_back(this);
}

void MidiMapperWorker::runTick()
{
    tick();
    if (idle)
        tickEvery(idle());
}

void MidiMapperWorker::tickEvery(bool resting)
{
    std::lock_guard lock(mutex);
    if (resting == isResting || !tickTimer)
        return;  // already at that interval, or stopping
    isResting = resting;
    // Invalidating the old timer from inside its own tick only stops its further calls.
    tickTimer = thread.scheduleTimer(resting ? restSeconds : tickSeconds, [this] { runTick(); });
}

void MidiMapperWorker::wake()
{
    thread.runOnThread([this] { tickEvery(false); });
}

double MidiMapperWorker::currentInterval()
{
    std::lock_guard lock(mutex);
    if (!tickTimer)
        return 0.0;
    return isResting ? restSeconds : tickSeconds;
}

void MidiMapperWorker::tickNowIfResting()
{
    {
        std::lock_guard lock(mutex);
        if (!isResting || !tickTimer)
            return;
    }
    if (thread.isCurrentThread()) {
        runTick();
        return;
    }
    std::promise<void> ran;
    std::future<void> done = ran.get_future();
    if (thread.runOnThread([this, &ran] {
            runTick();
            ran.set_value();
        }))
        done.wait();
}

void MidiMapperWorker::documentFlagRaised()
{
    std::lock_guard listLock(restingWorkers().mutex);
    for (MidiMapperWorker* worker : restingWorkers().workers)
        worker->tickNowIfResting();
}

void MidiMapperWorker::documentFlagLowered()
{
    std::lock_guard listLock(restingWorkers().mutex);
    for (MidiMapperWorker* worker : restingWorkers().workers)
        worker->wake();
}

void MidiMapperWorker::stop()
{
    {
        std::lock_guard listLock(restingWorkers().mutex);
        std::erase(restingWorkers().workers, this);
    }
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
