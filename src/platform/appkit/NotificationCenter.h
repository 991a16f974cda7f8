#pragma once

#include <QString>
#include <QVariantMap>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace nupo {

// One posted notification: a name, the object that posted it (may be null) and optional user info.
struct Notification {
    QString name;
    const void* object = nullptr;
    QVariantMap userInfo;
};

// Identifies one registered observer; 0 is never a valid token.
using ObserverToken = std::uint64_t;

// Process-wide notification centre. Posting is synchronous: every matching observer runs on the posting
// thread before postNotificationName returns. Observers match by name (empty = any name) and by object
// (null = any object). Observers can be added and removed from any thread and from inside a handler.
// Once removeObserver returns, the observer is not called again, and a call of it that was under way on
// another thread has finished, so an object may remove its observer in its destructor. (Removed from
// inside its own handler, or from a handler nested in it, removal returns at once.)
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    // Returns 0 (and registers nothing) for an empty handler.
    ObserverToken addObserver(const QString& name, const void* object, Handler handler);
    void removeObserver(ObserverToken token);
    void postNotificationName(const QString& name, const void* object = nullptr,
                              const QVariantMap& userInfo = {});

    // Number of registered observers (for tests and diagnostics).
    std::size_t observerCount() const;

private:
    // Tracks whether an observer is still registered and on which threads it is being called.
    struct Gate {
        std::mutex mutex;
        std::condition_variable callFinished;
        bool alive = true;
        std::vector<std::thread::id> callingThreads;
    };
    struct Entry {
        ObserverToken token;
        QString name;
        const void* object;
        std::shared_ptr<Handler> handler;
        std::shared_ptr<Gate> gate;
    };

    static void call(const Handler& handler, Gate& gate, const Notification& note);

    mutable std::mutex mutex;
    std::vector<Entry> entries;
    ObserverToken nextToken = 1;
};

// Removes its observer when destroyed; the usual way for an object to observe for its lifetime.
class ScopedObserver {
public:
    ScopedObserver() = default;
    ScopedObserver(const QString& name, const void* object, NotificationCenter::Handler handler);
    ~ScopedObserver();
    ScopedObserver(ScopedObserver&& other) noexcept;
    ScopedObserver& operator=(ScopedObserver&& other) noexcept;
    ScopedObserver(const ScopedObserver&) = delete;
    ScopedObserver& operator=(const ScopedObserver&) = delete;

    void reset();
    bool isActive() const { return token != 0; }

private:
    ObserverToken token = 0;
};

}  // namespace nupo
