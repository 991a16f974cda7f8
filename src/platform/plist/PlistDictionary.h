#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace nupo {

class PlistValue;

// A property-list dictionary that keeps its keys in insertion order, so that a file read and written back
// keeps its layout. A hash from key to position makes lookups and inserts constant time, so reading a
// dictionary takes time linear in its size, however many keys a file from elsewhere holds.
class PlistDictionary {
public:
    using Entry = std::pair<QString, PlistValue>;
    using const_iterator = std::vector<Entry>::const_iterator;

    PlistDictionary();
    PlistDictionary(std::initializer_list<Entry> entries);
    PlistDictionary(const PlistDictionary&);
    PlistDictionary(PlistDictionary&&) noexcept;
    PlistDictionary& operator=(const PlistDictionary&);
    PlistDictionary& operator=(PlistDictionary&&) noexcept;
    ~PlistDictionary();

    // Sets key to value: an existing key keeps its place, a new key goes to the end.
    void insert(const QString& key, PlistValue value);
    // Removes key; the keys after it move up one place (linear in the size).
    bool remove(const QString& key);
    bool contains(const QString& key) const;
    // The value of key, or null when absent.
    const PlistValue* find(const QString& key) const;
    PlistValue* find(const QString& key);
    // The value of key, or an empty string value when absent.
    PlistValue value(const QString& key) const;

    QStringList keys() const;
    // Out of line: PlistValue is incomplete here.
    std::size_t size() const;
    bool isEmpty() const;
    const_iterator begin() const;
    const_iterator end() const;

    bool operator==(const PlistDictionary& other) const;

private:
    std::vector<Entry> entries;
    QHash<QString, std::size_t> positions;  // key -> index in entries
};

}  // namespace nupo
