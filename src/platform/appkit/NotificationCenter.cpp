#include "platform/appkit/NotificationCenter.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace nupo {

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter* center = new NotificationCenter;  // lives to process end
    return *center;
}

ObserverToken NotificationCenter::addObserver(const QString& name, const void* object, Handler handler)
{
    std::lock_guard lock(mutex);
    const ObserverToken token = nextToken++;
    entries.push_back({token, name, object, std::make_shared<Handler>(std::move(handler)),
                       std::make_shared<std::atomic<bool>>(true)});
    return token;
}

void NotificationCenter::removeObserver(ObserverToken token)
{
    std::lock_guard lock(mutex);
    auto it = std::find_if(entries.begin(), entries.end(), [token](const Entry& e) { return e.token == token; });
    if (it == entries.end())
        return;
    it->alive->store(false);
    entries.erase(it);
}

void NotificationCenter::postNotificationName(const QString& name, const void* object, const QVariantMap& userInfo)
{
    // Handlers run outside the lock on a snapshot, so a handler may add or remove observers (or post).
    std::vector<std::pair<std::shared_ptr<Handler>, std::shared_ptr<std::atomic<bool>>>> matching;
    {
        std::lock_guard lock(mutex);
        for (const Entry& e : entries) {
            if ((e.name.isEmpty() || e.name == name) && (e.object == nullptr || e.object == object))
                matching.emplace_back(e.handler, e.alive);
        }
    }
    const Notification note{name, object, userInfo};
    for (auto& [handler, alive] : matching) {
        if (alive->load())
            (*handler)(note);
    }
}

std::size_t NotificationCenter::observerCount() const
{
    std::lock_guard lock(mutex);
    return entries.size();
}

ScopedObserver::ScopedObserver(const QString& name, const void* object, NotificationCenter::Handler handler)
    : token(NotificationCenter::defaultCenter().addObserver(name, object, std::move(handler)))
{
}

ScopedObserver::~ScopedObserver()
{
    reset();
}

ScopedObserver::ScopedObserver(ScopedObserver&& other) noexcept : token(std::exchange(other.token, 0)) {}

ScopedObserver& ScopedObserver::operator=(ScopedObserver&& other) noexcept
{
    if (this != &other) {
        reset();
        token = std::exchange(other.token, 0);
    }
    return *this;
}

void ScopedObserver::reset()
{
    if (token != 0)
        NotificationCenter::defaultCenter().removeObserver(std::exchange(token, 0));
}

}  // namespace nupo
