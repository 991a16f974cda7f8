#include "midi/ui/MidiPanelControls.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVariant>

#include <cmath>

namespace nupo {

double scaleOf(const QObject* control)
{
    const double scale = control->property("scale").toDouble();
    return scale > 0.0 ? scale : 1.0;
}

void showControlValue(QObject* control, double value)
{
    if (control == nullptr)
        return;
    const QSignalBlocker block(control);
    if (auto* slider = qobject_cast<QAbstractSlider*>(control))
        slider->setValue(int(std::lround(value * scaleOf(control))));
    else if (auto* stepper = qobject_cast<QSpinBox*>(control))
        stepper->setValue(int(value));
    else if (auto* box = qobject_cast<QAbstractButton*>(control))
        box->setChecked(value != 0.0);
    else if (auto* popup = qobject_cast<QComboBox*>(control))
        popup->setCurrentIndex(int(value));
}

}  // namespace nupo
