#include "platform/plist/PlistDictionary.h"

#include "platform/plist/PlistValue.h"

#include <algorithm>

namespace nupo {

PlistDictionary::PlistDictionary() = default;
PlistDictionary::PlistDictionary(std::initializer_list<Entry> initial)
{
    for (const Entry& entry : initial)
        insert(entry.first, entry.second);
}
PlistDictionary::PlistDictionary(const PlistDictionary&) = default;
PlistDictionary::PlistDictionary(PlistDictionary&&) noexcept = default;
PlistDictionary& PlistDictionary::operator=(const PlistDictionary&) = default;
PlistDictionary& PlistDictionary::operator=(PlistDictionary&&) noexcept = default;
PlistDictionary::~PlistDictionary() = default;

void PlistDictionary::insert(const QString& key, PlistValue value)
{
    if (PlistValue* existing = find(key))
        *existing = std::move(value);
    else
        entries.emplace_back(key, std::move(value));
}

bool PlistDictionary::remove(const QString& key)
{
    auto it = std::find_if(entries.begin(), entries.end(), [&key](const Entry& e) { return e.first == key; });
    if (it == entries.end())
        return false;
    entries.erase(it);
    return true;
}

bool PlistDictionary::contains(const QString& key) const
{
    return find(key) != nullptr;
}

const PlistValue* PlistDictionary::find(const QString& key) const
{
    for (const Entry& entry : entries) {
        if (entry.first == key)
            return &entry.second;
    }
    return nullptr;
}

PlistValue* PlistDictionary::find(const QString& key)
{
    return const_cast<PlistValue*>(std::as_const(*this).find(key));
}

PlistValue PlistDictionary::value(const QString& key) const
{
    const PlistValue* found = find(key);
    return found ? *found : PlistValue();
}

QStringList PlistDictionary::keys() const
{
    QStringList result;
    result.reserve(static_cast<qsizetype>(entries.size()));
    for (const Entry& entry : entries)
        result.append(entry.first);
    return result;
}

bool PlistDictionary::operator==(const PlistDictionary& other) const
{
    return entries == other.entries;
}

}  // namespace nupo
