#include "platform/appkit/ui/NibControllerRegistry.h"

#include <QHash>

#include <mutex>

namespace nupo {

namespace {

struct Registry {
    std::mutex mutex;
    QHash<QString, NibControllerRegistry::Factory> factories;
};

// Built on first use, so a registration may come before anything else exists.
Registry& registry()
{
    static Registry* instance = new Registry;  // lives to process end
    return *instance;
}

}  // namespace

void NibControllerRegistry::add(const QString& className, Factory factory)
{
    std::lock_guard lock(registry().mutex);
    registry().factories.insert(className, std::move(factory));
}

bool NibControllerRegistry::contains(const QString& className)
{
    std::lock_guard lock(registry().mutex);
    return registry().factories.contains(className);
}

NibController* NibControllerRegistry::create(const QString& className)
{
    Factory factory;
    {
        std::lock_guard lock(registry().mutex);
        factory = registry().factories.value(className);
    }
    return factory ? factory() : nullptr;
}

QStringList NibControllerRegistry::classNames()
{
    std::lock_guard lock(registry().mutex);
    return registry().factories.keys();
}

}  // namespace nupo
