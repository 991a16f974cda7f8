#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace nupo {

class PlistValue;

// A property-list dictionary that keeps its keys in insertion order, so that a file read and written back
// keeps its layout. Lookups are linear: the dictionaries of documents and preference files are small.
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
    bool remove(const QString& key);
    bool contains(const QString& key) const;
    // The value of key, or null when absent.
    const PlistValue* find(const QString& key) const;
    PlistValue* find(const QString& key);
    // The value of key, or an empty string value when absent.
    PlistValue value(const QString& key) const;

    QStringList keys() const;
    std::size_t size() const { return entries.size(); }
    bool isEmpty() const { return entries.empty(); }
    const_iterator begin() const { return entries.begin(); }
    const_iterator end() const { return entries.end(); }

    bool operator==(const PlistDictionary& other) const;

private:
    std::vector<Entry> entries;
};

}  // namespace nupo
