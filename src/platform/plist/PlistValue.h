#pragma once

#include "platform/plist/PlistDictionary.h"

#include <QByteArray>
#include <QString>

#include <variant>
#include <vector>

namespace nupo {

// One value of an old-style property list: a string, a block of data, an array of values or a dictionary
// of values in key order. Numbers and booleans are strings in this format; their readers convert them.
class PlistValue {
public:
    enum class Type { String, Data, Array, Dictionary };
    using Array = std::vector<PlistValue>;

    PlistValue() = default;  // the empty string
    PlistValue(const QString& string) : value(string) {}
    PlistValue(const char* string) : value(QString::fromUtf8(string)) {}
    PlistValue(Array array) : value(std::move(array)) {}
    PlistValue(PlistDictionary dictionary) : value(std::move(dictionary)) {}
    static PlistValue fromData(const QByteArray& data);

    Type type() const { return static_cast<Type>(value.index()); }
    bool isString() const { return type() == Type::String; }
    bool isData() const { return type() == Type::Data; }
    bool isArray() const { return type() == Type::Array; }
    bool isDictionary() const { return type() == Type::Dictionary; }

    // Each accessor returns an empty value when this value is of another type.
    QString toString() const;
    QByteArray toData() const;
    // On a temporary these return copies, so that `dict.value(key).toArray()` never dangles.
    const Array& toArray() const&;
    const PlistDictionary& toDictionary() const&;
    Array toArray() && { return toArray(); }
    PlistDictionary toDictionary() && { return toDictionary(); }
    Array* asArray() { return std::get_if<Array>(&value); }
    PlistDictionary* asDictionary() { return std::get_if<PlistDictionary>(&value); }

    bool operator==(const PlistValue& other) const { return value == other.value; }

private:
    std::variant<QString, QByteArray, Array, PlistDictionary> value;
};

}  // namespace nupo
