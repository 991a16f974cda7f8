#include "document/DocumentSection.h"

#include <cmath>

namespace nupo {

namespace {

QString typeName(PlistValue::Type type)
{
    switch (type) {
        case PlistValue::Type::String:
            return QStringLiteral("a string");
        case PlistValue::Type::Data:
            return QStringLiteral("data");
        case PlistValue::Type::Array:
            return QStringLiteral("an array");
        case PlistValue::Type::Dictionary:
            return QStringLiteral("a dictionary");
    }
    return {};
}

QString placeOf(const QString& key, int index)
{
    return QStringLiteral("%1[%2]").arg(key).arg(index);
}

}  // namespace

SectionInput::SectionInput(const PlistDictionary& dictionary, QString section)
    : dictionary(dictionary), section(std::move(section))
{
}

void SectionInput::fail(const QString& place, const QString& message)
{
    if (problemText.isEmpty())
        problemText = QStringLiteral("section %1, %2: %3").arg(section, place, message);
}

const PlistValue* SectionInput::find(const QString& key, PlistValue::Type type)
{
    const PlistValue* value = dictionary.find(key);
    if (!value)
        return nullptr;
    if (value->type() != type) {
        fail(key, QStringLiteral("%1 where %2 belongs").arg(typeName(value->type()), typeName(type)));
        return nullptr;
    }
    return value;
}

std::optional<double> SectionInput::parseNumber(const PlistValue& value, double low, double high)
{
    if (!value.isString())
        return std::nullopt;
    bool ok = false;
    const double number = value.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return std::clamp(number, low, high);
}

std::optional<double> SectionInput::number(const QString& key, double low, double high)
{
    const PlistValue* value = find(key, PlistValue::Type::String);
    if (!value)
        return std::nullopt;
    const std::optional<double> number = parseNumber(*value, low, high);
    if (!number)
        fail(key, QStringLiteral("\"%1\" is not a number").arg(value->toString().left(40)));
    return number;
}

std::optional<int> SectionInput::integer(const QString& key, int low, int high)
{
    const std::optional<double> value = number(key, low, high);
    if (!value)
        return std::nullopt;
    return int(std::lround(*value));
}

std::optional<QString> SectionInput::name(const QString& key, int maxLength)
{
    const PlistValue* value = find(key, PlistValue::Type::String);
    if (!value)
        return std::nullopt;
    return value->toString().left(maxLength);
}

std::optional<QByteArray> SectionInput::data(const QString& key, qsizetype maxBytes)
{
    const PlistValue* value = find(key, PlistValue::Type::Data);
    if (!value)
        return std::nullopt;
    QByteArray bytes = value->toData();
    if (bytes.size() > maxBytes) {
        fail(key, QStringLiteral("%1 bytes, more than the %2 it may hold").arg(bytes.size()).arg(maxBytes));
        return std::nullopt;
    }
    return bytes;
}

const PlistValue::Array* SectionInput::boundedArray(const PlistValue& value, const QString& place,
                                                    int maxCount, const char* unit)
{
    if (!value.isArray()) {
        fail(place, QStringLiteral("%1 where an array belongs").arg(typeName(value.type())));
        return nullptr;
    }
    const PlistValue::Array& items = value.toArray();
    if (items.size() > std::size_t(maxCount)) {
        fail(place, QStringLiteral("%1 %2, more than the %3 it may hold")
                        .arg(items.size())
                        .arg(QLatin1String(unit))
                        .arg(maxCount));
        return nullptr;
    }
    return &items;
}

const PlistValue::Array* SectionInput::boundedArray(const QString& key, int maxCount, const char* unit)
{
    const PlistValue* value = find(key, PlistValue::Type::Array);
    return value ? boundedArray(*value, key, maxCount, unit) : nullptr;
}

std::optional<std::vector<double>> SectionInput::numbersOf(const PlistValue& array, const QString& place,
                                                           int maxCount, double low, double high)
{
    const PlistValue::Array* checked = boundedArray(array, place, maxCount, "entries");
    if (!checked)
        return std::nullopt;
    const PlistValue::Array& items = *checked;
    std::vector<double> result;
    result.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::optional<double> number = parseNumber(items[i], low, high);
        if (!number) {
            fail(placeOf(place, int(i)), QStringLiteral("not a number"));
            return std::nullopt;
        }
        result.push_back(*number);
    }
    return result;
}

std::optional<std::vector<double>> SectionInput::numbers(const QString& key, int maxCount, double low,
                                                         double high)
{
    const PlistValue* value = dictionary.find(key);
    if (!value)
        return std::nullopt;
    return numbersOf(*value, key, maxCount, low, high);
}

std::optional<std::vector<const PlistDictionary*>> SectionInput::dictionaries(const QString& key,
                                                                              int maxCount)
{
    const PlistValue::Array* found = boundedArray(key, maxCount, "entries");
    if (!found)
        return std::nullopt;
    const PlistValue::Array& items = *found;
    std::vector<const PlistDictionary*> result;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i].isDictionary()) {
            fail(placeOf(key, int(i)),
                 QStringLiteral("%1 where a dictionary belongs").arg(typeName(items[i].type())));
            return std::nullopt;
        }
        result.push_back(&items[i].toDictionary());
    }
    return result;
}

SectionInput SectionInput::item(const PlistDictionary& dictionary, const QString& key, int index) const
{
    return SectionInput(dictionary, QStringLiteral("%1, %2").arg(section, placeOf(key, index)));
}

void SectionInput::adopt(const SectionInput& inner)
{
    if (problemText.isEmpty())
        problemText = inner.problemText;
}

std::optional<std::vector<QString>> SectionInput::names(const QString& key, int maxCount, int maxLength)
{
    const PlistValue::Array* found = boundedArray(key, maxCount, "entries");
    if (!found)
        return std::nullopt;
    const PlistValue::Array& items = *found;
    std::vector<QString> result;
    result.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i].isString()) {
            fail(placeOf(key, int(i)),
                 QStringLiteral("%1 where a name belongs").arg(typeName(items[i].type())));
            return std::nullopt;
        }
        result.push_back(items[i].toString().left(maxLength));
    }
    return result;
}

std::optional<std::vector<std::vector<double>>> SectionInput::table(const QString& key, int maxRows,
                                                                    int maxColumns, double low, double high)
{
    const PlistValue::Array* found = boundedArray(key, maxRows, "rows");
    if (!found)
        return std::nullopt;
    const PlistValue::Array& rows = *found;
    std::vector<std::vector<double>> result;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::optional<std::vector<double>> row =
            numbersOf(rows[r], placeOf(key, int(r)), maxColumns, low, high);
        if (!row)
            return std::nullopt;
        result.push_back(std::move(*row));
    }
    return result;
}

PlistValue numberValue(double value)
{
    if (std::abs(value) < 1e15 && value == std::trunc(value))
        return QString::number(static_cast<long long>(value));
    return QString::number(value, 'g', 17);
}

PlistValue floatValue(float value)
{
    if (std::abs(value) < 1e7f && value == std::trunc(value))
        return QString::number(static_cast<long long>(value));
    return QString::number(double(value), 'g', 9);
}

PlistValue integerValue(int value)
{
    return QString::number(value);
}

}  // namespace nupo
