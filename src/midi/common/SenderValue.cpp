#include "midi/common/SenderValue.h"

#include <QObject>
#include <QVariant>

#include <cmath>

namespace nupo {

namespace {

bool hasProperty(const QObject* object, const char* name)
{
    return object != nullptr && object->property(name).isValid();
}

double numberOf(const QObject* sender)
{
    if (sender == nullptr)
        return 0.0;
    if (hasProperty(sender, "checked") && !hasProperty(sender, "value"))
        return sender->property("checked").toBool() ? 1.0 : 0.0;
    if (hasProperty(sender, "value")) {
        double value = sender->property("value").toDouble();
        const double scale = sender->property("scale").toDouble();
        if (scale > 0.0)
            value /= scale;
        return value;
    }
    if (hasProperty(sender, "text"))
        return sender->property("text").toString().trimmed().toDouble();  // empty or not a number: 0
    if (hasProperty(sender, "currentIndex"))
        return sender->property("currentIndex").toInt();
    return 0.0;
}

}  // namespace

int senderIntValue(const QObject* sender)
{
    const double value = numberOf(sender);
    if (!std::isfinite(value))
        return 0;
    return value >= 2147483647.0 ? 2147483647 : value <= -2147483648.0 ? int(-2147483647 - 1) : int(value);
}

float senderFloatValue(const QObject* sender)
{
    const double value = numberOf(sender);
    return std::isfinite(value) ? float(value) : 0.0f;
}

int senderSelectedIndex(const QObject* sender)
{
    if (hasProperty(sender, "currentIndex"))
        return sender->property("currentIndex").toInt();
    return senderIntValue(sender);
}

QString senderSelectedTitle(const QObject* sender)
{
    if (hasProperty(sender, "currentText"))
        return sender->property("currentText").toString();
    if (hasProperty(sender, "text"))
        return sender->property("text").toString();
    return {};
}

int senderSelectedTag(const QObject* sender)
{
    if (sender == nullptr)
        return 0;
    for (const QObject* child : sender->children()) {
        if (child->property("checked").toBool() && hasProperty(child, "tag"))
            return child->property("tag").toInt();
    }
    if (hasProperty(sender, "tag"))
        return sender->property("tag").toInt();
    return senderIntValue(sender);
}

}  // namespace nupo
