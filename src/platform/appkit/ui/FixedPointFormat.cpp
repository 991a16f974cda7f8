#include "platform/appkit/ui/FixedPointFormat.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVariant>

#include <cmath>

namespace nupo {

namespace {

const char* const formatProperty = "fixedPointFormat";

QRegularExpression patternFor(const FixedPointFormat& format)
{
    const QString sign = format.positiveOnly ? QString() : QStringLiteral("-?");
    const QString whole = QStringLiteral("\\d{0,%1}").arg(qMax(0, format.left));
    const QString fraction =
        format.right > 0 ? QStringLiteral("(\\.\\d{0,%1})?").arg(format.right) : QString();
    return QRegularExpression(QStringLiteral("^%1%2%3$").arg(sign, whole, fraction));
}

}  // namespace

QString FixedPointFormat::format(double value) const
{
    if (!std::isfinite(value))
        return QString::number(value);
    return QString::number(value, 'f', qBound(0, right, 15));
}

bool FixedPointFormat::accepts(const QString& text) const
{
    return patternFor(*this).match(text).hasMatch();
}

void FixedPointFormat::apply(QObject* field, const FixedPointFormat& format)
{
    if (!field)
        return;
    field->setProperty(formatProperty, QVariantList{format.left, format.right, format.positiveOnly});
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        auto* validator = edit->findChild<QRegularExpressionValidator*>(QStringLiteral("fixedPointValidator"),
                                                                        Qt::FindDirectChildrenOnly);
        if (!validator) {
            validator = new QRegularExpressionValidator(edit);
            validator->setObjectName(QStringLiteral("fixedPointValidator"));
        }
        validator->setRegularExpression(patternFor(format));
        edit->setValidator(validator);
    }
}

bool FixedPointFormat::formatOf(const QObject* field, FixedPointFormat* format)
{
    if (!field)
        return false;
    const QVariantList stored = field->property(formatProperty).toList();
    if (stored.size() != 3)
        return false;
    if (format)
        *format = FixedPointFormat{stored[0].toInt(), stored[1].toInt(), stored[2].toBool()};
    return true;
}

}  // namespace nupo
