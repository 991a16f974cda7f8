#include "platform/appkit/ui/Control.h"

#include "platform/appkit/ui/ColorWell.h"
#include "platform/appkit/ui/ElidedLabel.h"
#include "platform/appkit/ui/FixedPointFormat.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/appkit/ui/RadioMatrix.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace nupo {

namespace {

template <class T>
T* as(const QObject* object)
{
    return qobject_cast<T*>(const_cast<QObject*>(object));
}

// A slider with `minValue` and `maxValue` properties maps its integer range onto that float range.
bool floatRangeOf(const QAbstractSlider* slider, double* low, double* high)
{
    const QVariant minValue = slider->property("minValue");
    const QVariant maxValue = slider->property("maxValue");
    if (!minValue.isValid() || !maxValue.isValid() || slider->maximum() == slider->minimum())
        return false;
    *low = minValue.toDouble();
    *high = maxValue.toDouble();
    return true;
}

double sliderFloatValue(const QAbstractSlider* slider)
{
    double low = 0.0;
    double high = 0.0;
    if (!floatRangeOf(slider, &low, &high))
        return slider->value();
    const double fraction =
        double(slider->value() - slider->minimum()) / double(slider->maximum() - slider->minimum());
    return low + fraction * (high - low);
}

void setSliderFloatValue(QAbstractSlider* slider, double value)
{
    if (!std::isfinite(value))
        return;
    double low = 0.0;
    double high = 0.0;
    double position = value;
    if (floatRangeOf(slider, &low, &high) && high != low)
        position = slider->minimum() + (value - low) / (high - low) * (slider->maximum() - slider->minimum());
    position = std::clamp(position, double(slider->minimum()), double(slider->maximum()));
    slider->setValue(int(std::lround(position)));
}

QString textOf(const QObject* control)
{
    if (const auto* edit = as<QLineEdit>(control))
        return edit->text();
    if (const auto* label = as<QLabel>(control))
        return ElidedLabel::text(label);
    return {};
}

bool setText(QObject* control, const QString& text)
{
    if (auto* edit = as<QLineEdit>(control)) {
        edit->setText(text);
        return true;
    }
    if (auto* label = as<QLabel>(control)) {
        ElidedLabel::setText(label, text);
        return true;
    }
    return false;
}

}  // namespace

double Control::floatValue(const QObject* control)
{
    if (!control)
        return 0.0;
    if (const auto* slider = as<QAbstractSlider>(control))
        return sliderFloatValue(slider);
    if (const auto* spin = as<QDoubleSpinBox>(control))
        return spin->value();
    if (const auto* edit = as<QLineEdit>(control); edit || as<QLabel>(control))
        return QLocale::c().toDouble(textOf(control).trimmed());
    return intValue(control);
}

int Control::intValue(const QObject* control)
{
    if (!control)
        return 0;
    if (const auto* slider = as<QAbstractSlider>(control))
        return qRound(sliderFloatValue(slider));
    if (const auto* spin = as<QSpinBox>(control))
        return spin->value();
    if (const auto* spin = as<QDoubleSpinBox>(control))
        return qRound(spin->value());
    if (const auto* popup = as<QComboBox>(control))
        return popup->currentIndex();
    if (const auto* button = as<QAbstractButton>(control))
        return button->isChecked() ? 1 : 0;
    if (const auto* action = as<QAction>(control))
        return action->isChecked() ? 1 : 0;
    if (as<QLineEdit>(control) || as<QLabel>(control)) {
        const double value = floatValue(control);
        return std::isfinite(value) ? int(std::lround(std::clamp(value, -2147483648.0, 2147483647.0))) : 0;
    }
    if (!RadioMatrix::cells(control).isEmpty())
        return RadioMatrix::selectedTag(control);
    return 0;
}

QString Control::stringValue(const QObject* control)
{
    if (!control)
        return {};
    if (as<QLineEdit>(control) || as<QLabel>(control))
        return textOf(control);
    if (const auto* popup = as<QComboBox>(control))
        return popup->currentText();
    if (as<QAbstractSlider>(control) || as<QDoubleSpinBox>(control))
        return QString::number(floatValue(control));
    return QString::number(intValue(control));
}

void Control::setFloatValue(QObject* control, double value)
{
    if (!control)
        return;
    if (auto* slider = as<QAbstractSlider>(control)) {
        setSliderFloatValue(slider, value);
        return;
    }
    if (auto* spin = as<QDoubleSpinBox>(control)) {
        if (std::isfinite(value))
            spin->setValue(value);
        return;
    }
    if (as<QLineEdit>(control) || as<QLabel>(control)) {
        FixedPointFormat format;
        setText(control,
                FixedPointFormat::formatOf(control, &format) ? format.format(value) : QString::number(value));
        return;
    }
    if (std::isfinite(value))
        setIntValue(control, int(std::lround(std::clamp(value, -2147483648.0, 2147483647.0))));
}

void Control::setIntValue(QObject* control, int value)
{
    if (!control)
        return;
    if (auto* slider = as<QAbstractSlider>(control)) {
        setSliderFloatValue(slider, value);
    } else if (auto* spin = as<QSpinBox>(control)) {
        spin->setValue(value);
    } else if (auto* spin = as<QDoubleSpinBox>(control)) {
        spin->setValue(value);
    } else if (auto* popup = as<QComboBox>(control)) {
        PopUpButton::selectItemAtIndex(popup, value);
    } else if (auto* button = as<QAbstractButton>(control)) {
        button->setChecked(value != 0);
    } else if (auto* action = as<QAction>(control)) {
        action->setChecked(value != 0);
    } else if (as<QLineEdit>(control) || as<QLabel>(control)) {
        FixedPointFormat format;
        setText(control,
                FixedPointFormat::formatOf(control, &format) ? format.format(value) : QString::number(value));
    } else if (!RadioMatrix::cells(control).isEmpty()) {
        RadioMatrix::selectCellWithTag(control, value);
    }
}

void Control::setStringValue(QObject* control, const QString& value)
{
    if (!control || setText(control, value))
        return;
    if (auto* popup = as<QComboBox>(control)) {
        const int index = popup->findText(value);
        if (index >= 0)
            popup->setCurrentIndex(index);
    } else if (auto* button = as<QAbstractButton>(control)) {
        button->setText(value);
    }
}

void Control::setFloatRange(QObject* control, double minimum, double maximum)
{
    auto* slider = as<QAbstractSlider>(control);
    if (!slider)
        return;
    const QSignalBlocker block(slider);
    const double value = floatValue(slider);
    maximum = std::max(minimum + 1.0, maximum);
    slider->setRange(static_cast<int>(minimum),
                     std::max(static_cast<int>(minimum) + 1, static_cast<int>(maximum)));
    slider->setProperty("minValue", minimum);
    slider->setProperty("maxValue", maximum);
    setFloatValue(slider, value);
}

int Control::tag(const QObject* control)
{
    return control ? control->property("tag").toInt() : 0;
}

void Control::setState(QObject* control, int state)
{
    if (auto* button = as<QAbstractButton>(control))
        button->setChecked(state != 0);
    else if (auto* action = as<QAction>(control))
        action->setChecked(state != 0);
}

RGBAColor Control::color(const QObject* control)
{
    if (const auto* well = as<ColorWell>(control))
        return well->color();
    return RGBAColor::fromRGBA(0.0, 0.0, 0.0, 1.0);
}

void Control::setColor(QObject* control, const RGBAColor& color)
{
    if (auto* well = as<ColorWell>(control))
        well->setColor(color);
}

void Control::setHidden(QObject* control, bool hidden)
{
    if (auto* widget = as<QWidget>(control))
        widget->setHidden(hidden);
    else if (auto* action = as<QAction>(control))
        action->setVisible(!hidden);
}

void Control::setEnabled(QObject* control, bool enabled)
{
    if (auto* widget = as<QWidget>(control))
        widget->setEnabled(enabled);
    else if (auto* action = as<QAction>(control))
        action->setEnabled(enabled);
}

}  // namespace nupo
