#include "document/sections/DeviceSection.h"

#include "shared/CoreState.h"

#include <cmath>

namespace nupo {

namespace {

const QString configKey = QStringLiteral("DeviceConfig");
constexpr int lastConfig = 3;  // four channels

}  // namespace

std::optional<PlistDictionary> DeviceSection::write()
{
    PlistDictionary section;
    section.insert(configKey, integerValue(DeviceConfig.load(std::memory_order_relaxed)));
    return section;
}

bool DeviceSection::stage(SectionInput& input)
{
    staged.reset();
    const std::optional<double> value = input.number(configKey, -1e9, 1e9);
    if (!value)
        return !input.failed();
    if (*value != std::floor(*value) || *value < 0 || *value > lastConfig) {
        input.fail(
            configKey,
            QStringLiteral("%1 is not a channel configuration (0 to 3: one to four channels)").arg(*value));
        return false;
    }
    staged = int(*value);
    return true;
}

void DeviceSection::apply(const DocumentReadContext&)
{
    if (staged)
        DeviceConfig.store(*staged, std::memory_order_relaxed);
    staged.reset();
}

}  // namespace nupo
