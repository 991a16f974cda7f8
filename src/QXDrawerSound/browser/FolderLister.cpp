#include "QXDrawerSound/browser/FolderLister.h"

#include "platform/appkit/MainThread.h"

#include <QCoreApplication>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace nupo {

namespace {

struct Queue {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> jobs;  // guarded by mutex
    FolderLister::ListFunction listing;      // guarded by mutex
    bool ending = false;                     // guarded by mutex: the application is going
};

int pendingListings = 0;  // main thread

// The worker is left running as the program ends, so that a hung listing cannot hold up the quit; it
// and its queue are never destroyed. Once the application is going, it hands nothing over: a hand-over is
// posted under the queue's lock, which the application takes as it goes, so that a listing handed over
// before is seen to be, also by ThreadSanitizer, when the application drops it undelivered.
Queue& queue()
{
    static Queue* made = [] {
        auto* q = new Queue;
        qAddPostRoutine([] {
            std::lock_guard lock(queue().mutex);
            queue().ending = true;
        });
        std::thread([q] {
            for (;;) {
                std::function<void()> job;
                {
                    std::unique_lock lock(q->mutex);
                    q->wake.wait(lock, [q] { return !q->jobs.empty(); });
                    job = std::move(q->jobs.front());
                    q->jobs.pop_front();
                }
                job();
            }
        }).detach();
        return q;
    }();
    return *made;
}

}  // namespace

void FolderLister::list(const QString& path, bool withHidden, std::function<void(Listing)> done)
{
    ++pendingListings;
    auto finish = std::make_shared<std::function<void(Listing)>>(std::move(done));
    Queue& q = queue();
    std::lock_guard lock(q.mutex);
    q.jobs.push_back([path, withHidden, finish, &q] {
        ListFunction function;
        {
            std::lock_guard lock(q.mutex);
            function = q.listing;
        }
        auto entries = std::make_shared<Listing>(function ? function(path, withHidden)
                                                          : directoryEntries(path, withHidden));
        std::lock_guard lock(q.mutex);
        if (q.ending)
            return;
        performOnMainThread([entries, finish] {
            --pendingListings;
            if (*finish)
                (*finish)(std::move(*entries));
            *finish = nullptr;  // what it holds goes here, on the main thread
        });
    });
    q.wake.notify_one();
}

int FolderLister::pending()
{
    return pendingListings;
}

void FolderLister::setListFunction(ListFunction function)
{
    Queue& q = queue();
    std::lock_guard lock(q.mutex);
    q.listing = std::move(function);
}

}  // namespace nupo
