#include "platform/appkit/NotificationCenter.h"

#include <algorithm>
#include <utility>

namespace nupo {

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter* center = new NotificationCenter;  // lives to process end
    return *center;
}

ObserverToken NotificationCenter::addObserver(const QString& name, const void* object, Handler handler)
{
    if (!handler)
        return 0;
    std::lock_guard lock(mutex);
    const ObserverToken token = nextToken++;
    entries.push_back(
        {token, name, object, std::make_shared<Handler>(std::move(handler)), std::make_shared<Gate>()});
    return token;
}

void NotificationCenter::removeObserver(ObserverToken token)
{
    std::shared_ptr<Gate> gate;
    {
        std::lock_guard lock(mutex);
        auto it = std::find_if(entries.begin(), entries.end(),
                               [token](const Entry& e) { return e.token == token; });
        if (it == entries.end())
            return;
        gate = it->gate;
        entries.erase(it);
    }
    // Outside the centre's lock: other posts go on while this waits for calls on other threads to end.
    std::unique_lock lock(gate->mutex);
    gate->alive = false;
    const std::thread::id self = std::this_thread::get_id();
    gate->callFinished.wait(lock, [&gate, self] {
        return std::all_of(gate->callingThreads.begin(), gate->callingThreads.end(),
                           [self](std::thread::id id) { return id == self; });
    });
}

void NotificationCenter::call(const Handler& handler, Gate& gate, const Notification& note)
{
    const std::thread::id self = std::this_thread::get_id();
    {
        std::lock_guard lock(gate.mutex);
        if (!gate.alive)
            return;
        gate.callingThreads.push_back(self);
    }
    struct CallEnd {
        Gate& gate;
        std::thread::id self;
        ~CallEnd()
        {
            {
                std::lock_guard lock(gate.mutex);
                gate.callingThreads.erase(
                    std::find(gate.callingThreads.begin(), gate.callingThreads.end(), self));
            }
            gate.callFinished.notify_all();
        }
    } callEnd{gate, self};
    handler(note);
}

void NotificationCenter::postNotificationName(const QString& name, const void* object,
                                              const QVariantMap& userInfo)
{
    // Handlers run outside the lock on a snapshot, so a handler may add or remove observers (or post).
    std::vector<std::pair<std::shared_ptr<Handler>, std::shared_ptr<Gate>>> matching;
    {
        std::lock_guard lock(mutex);
        for (const Entry& e : entries) {
            if ((e.name.isEmpty() || e.name == name) && (e.object == nullptr || e.object == object))
                matching.emplace_back(e.handler, e.gate);
        }
    }
    const Notification note{name, object, userInfo};
    for (auto& [handler, gate] : matching)
        call(*handler, *gate, note);
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
