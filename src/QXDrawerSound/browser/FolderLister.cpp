#include "QXDrawerSound/browser/FolderLister.h"

#include "platform/appkit/MainThread.h"

#include <QCoreApplication>
#include <QtGlobal>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace nupo {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int maxListingsAtOnce = FolderLister::maxListingsAtOnce;
constexpr int maxWorkers = FolderLister::maxWorkers;
constexpr int maxIdleWorkers = 2;  // kept for the next listings

struct Job {
    QString path;
    bool withHidden = false;
    std::shared_ptr<FolderLister::Done> done;  // called, then emptied, on the main thread only
};

struct Running {
    Job job;
    Clock::time_point started;
    bool givenUp = false;  // its folder was named as not answering; what the listing brings is dropped
};

// Everything below is guarded by mutex.
struct Pool {
    std::mutex mutex;
    std::condition_variable work;   // idle workers wait for a job
    std::condition_variable watch;  // the watch waits for the next deadline
    std::deque<Job> jobs;
    std::list<Running> running;
    FolderLister::ListFunction listing;
    std::chrono::milliseconds bound = FolderLister::defaultAnswerBound;
    int workers = 0;
    int idle = 0;
    int stuck = 0;        // workers whose listing was given up
    bool ending = false;  // the application is going: nothing is handed over
};

int pendingListings = 0;  // main thread

Pool& pool();

// Hands the listing or the failure over to the main thread; called under the pool's lock, which the
// application takes as it goes, so that a hand-over posted before is seen to be, also by ThreadSanitizer,
// when the application drops it undelivered.
void handOver(Pool& p, const Job& job, FolderLister::Listing listing, QString failure)
{
    if (p.ending)
        return;
    auto entries = std::make_shared<FolderLister::Listing>(std::move(listing));
    performOnMainThread([entries, done = job.done, failure] {
        --pendingListings;
        if (*done)
            (*done)(std::move(*entries), failure);
        *done = nullptr;  // what it holds goes here, on the main thread
    });
}

void runWorker(Pool& p)
{
    std::unique_lock lock(p.mutex);
    for (;;) {
        ++p.idle;
        p.work.wait(lock, [&p] { return !p.jobs.empty(); });
        --p.idle;
        Job job = std::move(p.jobs.front());
        p.jobs.pop_front();
        const auto mine = p.running.insert(p.running.end(), Running{job, Clock::now()});
        p.watch.notify_one();
        const FolderLister::ListFunction function = p.listing;
        lock.unlock();
        FolderLister::Listing entries =
            function ? function(job.path, job.withHidden) : directoryEntries(job.path, job.withHidden);
        lock.lock();
        if (mine->givenUp) {
            --p.stuck;
            qInfo("%s answered after it was given up", qUtf8Printable(job.path));
        } else {
            handOver(p, job, std::move(entries), QString());
        }
        p.running.erase(mine);
        if (p.jobs.empty() && p.idle >= maxIdleWorkers) {
            --p.workers;
            return;
        }
    }
}

// Starts a worker for a waiting job where none is idle and fewer than the most run listings; when every
// worker is stuck in a folder that does not answer and no more can be started, the waiting listings are
// refused with the reason.
void startWorkers(Pool& p)
{
    const int waiting = int(p.jobs.size()) - p.idle;
    for (int n = 0; n < waiting; ++n) {
        if (p.workers - p.stuck >= maxListingsAtOnce || p.workers >= maxWorkers)
            break;
        ++p.workers;
        std::thread([&p] { runWorker(p); }).detach();
    }
    if (p.workers == p.stuck && p.workers >= maxWorkers && !p.jobs.empty()) {
        qWarning("%d folders do not answer: no more folders are listed until one does", p.stuck);
        for (Job& job : p.jobs)
            handOver(
                p, job, {},
                QStringLiteral("%1 is not listed while %2 folders do not answer").arg(job.path).arg(p.stuck));
        p.jobs.clear();
    }
}

// Gives up each listing past its deadline: its folder is named, its worker counts as stuck, and another
// worker takes the listings waiting.
void runWatch(Pool& p)
{
    std::unique_lock lock(p.mutex);
    for (;;) {
        Clock::time_point next = Clock::time_point::max();
        for (const Running& r : p.running)
            if (!r.givenUp)
                next = std::min(next, r.started + p.bound);
        if (next == Clock::time_point::max())
            p.watch.wait(lock);
        else
            p.watch.wait_until(lock, next);
        const Clock::time_point now = Clock::now();
        for (Running& r : p.running) {
            if (r.givenUp || r.started + p.bound > now)
                continue;
            r.givenUp = true;
            ++p.stuck;
            qWarning("%s does not answer", qUtf8Printable(r.job.path));
            handOver(p, r.job, {}, QStringLiteral("%1 does not answer").arg(r.job.path));
        }
        startWorkers(p);
    }
}

// The pool, its workers and its watch are left running as the program ends, so that a hung listing
// cannot hold up the quit; they are never destroyed. Once the application is going, nothing is handed over.
Pool& pool()
{
    static Pool* made = [] {
        auto* p = new Pool;
        qAddPostRoutine([] {
            std::lock_guard lock(pool().mutex);
            pool().ending = true;
        });
        std::thread([p] { runWatch(*p); }).detach();
        return p;
    }();
    return *made;
}

}  // namespace

void FolderLister::list(const QString& path, bool withHidden, Done done)
{
    ++pendingListings;
    Job job{path, withHidden, std::make_shared<Done>(std::move(done))};
    Pool& p = pool();
    std::lock_guard lock(p.mutex);
    // A folder whose listing is still stuck would only hold another worker.
    const bool hung = std::any_of(p.running.begin(), p.running.end(),
                                  [&](const Running& r) { return r.givenUp && r.job.path == path; });
    if (hung) {
        handOver(p, job, {}, QStringLiteral("%1 does not answer").arg(path));
        return;
    }
    p.jobs.push_back(std::move(job));
    startWorkers(p);
    p.work.notify_one();
}

int FolderLister::pending()
{
    return pendingListings;
}

int FolderLister::stuckWorkers()
{
    Pool& p = pool();
    std::lock_guard lock(p.mutex);
    return p.stuck;
}

void FolderLister::setListFunction(ListFunction function)
{
    Pool& p = pool();
    std::lock_guard lock(p.mutex);
    p.listing = std::move(function);
}

void FolderLister::setAnswerBound(std::chrono::milliseconds bound)
{
    Pool& p = pool();
    std::lock_guard lock(p.mutex);
    p.bound = bound;
    p.watch.notify_one();
}

}  // namespace nupo
