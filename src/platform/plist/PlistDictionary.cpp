#include "platform/plist/PlistDictionary.h"

#include "platform/plist/PlistValue.h"

#include <cstddef>

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

std::size_t PlistDictionary::size() const
{
    return entries.size();
}

bool PlistDictionary::isEmpty() const
{
    return entries.empty();
}

PlistDictionary::const_iterator PlistDictionary::begin() const
{
    return entries.begin();
}

PlistDictionary::const_iterator PlistDictionary::end() const
{
    return entries.end();
}

void PlistDictionary::insert(const QString& key, PlistValue value)
{
    if (PlistValue* existing = find(key)) {
        *existing = std::move(value);
        return;
    }
    positions.insert(key, entries.size());
    entries.emplace_back(key, std::move(value));
}

bool PlistDictionary::remove(const QString& key)
{
    const auto at = positions.constFind(key);
    if (at == positions.constEnd())
        return false;
    const std::size_t index = at.value();
    positions.erase(at);
    entries.erase(entries.begin() + std::ptrdiff_t(index));
    for (std::size_t i = index; i < entries.size(); ++i)
        positions[entries[i].first] = i;
    return true;
}

bool PlistDictionary::contains(const QString& key) const
{
    return find(key) != nullptr;
}

const PlistValue* PlistDictionary::find(const QString& key) const
{
    const auto at = positions.constFind(key);
    return at == positions.constEnd() ? nullptr : &entries[at.value()].second;
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
