#pragma once

#include <QString>
#include <QVariantMap>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
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
// (null = any object). Observers can be added and removed from any thread and from inside a handler;
// an observer removed while a post is running is not called after its removal returns, unless that
// removal happens inside its own handler.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    ObserverToken addObserver(const QString& name, const void* object, Handler handler);
    void removeObserver(ObserverToken token);
    void postNotificationName(const QString& name, const void* object = nullptr,
                              const QVariantMap& userInfo = {});

    // Number of registered observers (for tests and diagnostics).
    std::size_t observerCount() const;

private:
    struct Entry {
        ObserverToken token;
        QString name;
        const void* object;
        std::shared_ptr<Handler> handler;
        std::shared_ptr<std::atomic<bool>> alive;
    };

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
