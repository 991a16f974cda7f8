#pragma once

#include <condition_variable>
#include <mutex>

namespace nupo::test {

// A gate a drawing thread can be held at: frames that pass it while it is closed wait there until it
// opens, and the test learns that they arrived. Waits on it never process events, so a held frame is
// never waited for through the event loop.
class FrameGate {
public:
    explicit FrameGate(bool open = true) : open_(open) {}

    void close()
    {
        std::lock_guard lock(mutex_);
        open_ = false;
        arrivals_ = 0;
    }
    void open()
    {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void passThrough()  // on a drawing thread
    {
        std::unique_lock lock(mutex_);
        ++arrivals_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
    }
    void waitForArrival()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return arrivals_ > 0; });
    }
    int arrivals()
    {
        std::lock_guard lock(mutex_);
        return arrivals_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_;
    int arrivals_ = 0;
};

}  // namespace nupo::test
