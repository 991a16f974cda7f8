#include "plots/rawwave/PlotControls.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVariant>

#include <cmath>

namespace nupo::PlotControls {

namespace {

double scaleOf(QObject* control)
{
    const QVariant scale = control->property("scale");
    const double value = scale.isValid() ? scale.toDouble() : 1.0;
    return value > 0.0 ? value : 1.0;
}

QString colourStyleSheet(const RGBAColor& c)
{
    const RGBAColor k = c.clamped();
    return QStringLiteral("background-color: rgba(%1, %2, %3, %4);")
        .arg(qRound(k.red * 255))
        .arg(qRound(k.green * 255))
        .arg(qRound(k.blue * 255))
        .arg(qRound(k.alpha * 255));
}

}  // namespace

int selectedIndex(QObject* popup)
{
    if (auto* combo = qobject_cast<QComboBox*>(popup))
        return combo->currentIndex();
    return -1;
}

void selectItem(QObject* popup, int index)
{
    auto* combo = qobject_cast<QComboBox*>(popup);
    if (!combo)
        return;
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

void setItems(QObject* popup, const QStringList& titles)
{
    auto* combo = qobject_cast<QComboBox*>(popup);
    if (!combo)
        return;
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItems(titles);
}

int itemCount(QObject* popup)
{
    auto* combo = qobject_cast<QComboBox*>(popup);
    return combo ? combo->count() : 0;
}

float floatValue(QObject* control)
{
    if (auto* slider = qobject_cast<QAbstractSlider*>(control))
        return static_cast<float>(slider->value() / scaleOf(control));
    if (auto* spin = qobject_cast<QDoubleSpinBox*>(control))
        return static_cast<float>(spin->value());
    if (auto* spin = qobject_cast<QSpinBox*>(control))
        return static_cast<float>(spin->value());
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text().trimmed().toFloat();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text().trimmed().toFloat();
    return 0.0f;
}

void setFloatValue(QObject* control, float value)
{
    if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
        const double position = value * scaleOf(control);
        const QSignalBlocker blocker(slider);
        if (std::isfinite(position))
            slider->setValue(static_cast<int>(std::lround(
                std::clamp(position, double(slider->minimum()), double(slider->maximum())))));
        return;
    }
    if (auto* spin = qobject_cast<QDoubleSpinBox*>(control)) {
        const QSignalBlocker blocker(spin);
        spin->setValue(value);
        return;
    }
    setText(control, QString::number(value));
}

int intValue(QObject* control)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->isCheckable() ? (button->isChecked() ? 1 : 0) : button->property("tag").toInt();
    if (auto* slider = qobject_cast<QAbstractSlider*>(control))
        return slider->value();
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentIndex();
    return static_cast<int>(floatValue(control));
}

void setIntValue(QObject* control, int value)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        const QSignalBlocker blocker(button);
        button->setChecked(value != 0);
        return;
    }
    setFloatValue(control, static_cast<float>(value));
}

int selectedTag(QObject* matrix)
{
    if (!matrix)
        return 0;
    if (auto* button = qobject_cast<QAbstractButton*>(matrix))
        return button->property("tag").toInt();
    for (QAbstractButton* button : matrix->findChildren<QAbstractButton*>()) {
        if (button->isChecked())
            return button->property("tag").toInt();
    }
    return 0;
}

void selectTag(QObject* matrix, int tag)
{
    if (!matrix)
        return;
    for (QAbstractButton* button : matrix->findChildren<QAbstractButton*>()) {
        if (button->property("tag").toInt() == tag) {
            const QSignalBlocker blocker(button);
            button->setChecked(true);
        }
    }
}

RGBAColor wellColour(QObject* well)
{
    if (!well)
        return RGBAColor::fromRGBA(0, 0, 0, 1);
    const QVariant value = well->property("colour");
    if (!value.isValid())
        return RGBAColor::fromRGBA(0, 0, 0, 1);
    // A nib gives the colour as the text "red green blue alpha".
    const QVariantList parts = value.typeId() == QMetaType::QString
                                   ? [&] {
                                         QVariantList list;
                                         for (const QString& part : value.toString().split(' ', Qt::SkipEmptyParts))
                                             list.append(part.toDouble());
                                         return list;
                                     }()
                                   : value.toList();
    if (parts.size() != 4)
        return RGBAColor::fromRGBA(0, 0, 0, 1);
    return RGBAColor::fromRGBA(parts[0].toDouble(), parts[1].toDouble(), parts[2].toDouble(), parts[3].toDouble());
}

void setWellColour(QObject* well, const RGBAColor& colour)
{
    if (!well)
        return;
    well->setProperty("colour", QVariantList{colour.red, colour.green, colour.blue, colour.alpha});
    if (auto* widget = qobject_cast<QWidget*>(well))
        widget->setStyleSheet(colourStyleSheet(colour));
}

void setHidden(QObject* widget, bool hidden)
{
    if (auto* w = qobject_cast<QWidget*>(widget))
        w->setHidden(hidden);
}

bool isHidden(QObject* widget)
{
    auto* w = qobject_cast<QWidget*>(widget);
    return w ? w->isHidden() : true;
}

void setText(QObject* field, const QString& value)
{
    if (auto* label = qobject_cast<QLabel*>(field))
        label->setText(value);
    else if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->setText(value);
}

QString text(QObject* field)
{
    if (auto* label = qobject_cast<QLabel*>(field))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        return edit->text();
    return {};
}

QString fixedPoint(double value, int right)
{
    return QString::number(value, 'f', right);
}

}  // namespace nupo::PlotControls
