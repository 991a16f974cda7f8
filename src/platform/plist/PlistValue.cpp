#include "platform/plist/PlistValue.h"

namespace nupo {

PlistValue PlistValue::fromData(const QByteArray& data)
{
    PlistValue result;
    result.value = data;
    return result;
}

QString PlistValue::toString() const
{
    const QString* string = std::get_if<QString>(&value);
    return string ? *string : QString();
}

QByteArray PlistValue::toData() const
{
    const QByteArray* data = std::get_if<QByteArray>(&value);
    return data ? *data : QByteArray();
}

const PlistValue::Array& PlistValue::toArray() const&
{
    static const Array empty;
    const Array* array = std::get_if<Array>(&value);
    return array ? *array : empty;
}

const PlistDictionary& PlistValue::toDictionary() const&
{
    static const PlistDictionary empty;
    const PlistDictionary* dictionary = std::get_if<PlistDictionary>(&value);
    return dictionary ? *dictionary : empty;
}

}  // namespace nupo
