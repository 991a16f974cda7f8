#include "midi/ui/MidiPanelControls.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVariant>
#include <QWidget>

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

namespace {

// The entry field a display label stands beside, found by name in the label's own panel: the nearest
// enclosing widget that holds a field of that name (the peak and band panels share the Preferences window
// and name some fields alike).
QLineEdit* entryFieldOf(const QLabel* display)
{
    static const QString prefix = QStringLiteral("displayHere");
    const QString name = display->objectName();
    if (!name.startsWith(prefix) || name.size() == prefix.size())
        return nullptr;
    QString stem = name.mid(prefix.size());
    QString band;
    while (!stem.isEmpty() && stem.back().isDigit()) {
        band.prepend(stem.back());
        stem.chop(1);
    }
    const QString fieldName = stem + QStringLiteral("Field") + band;
    for (const QWidget* around = display->parentWidget(); around != nullptr;
         around = around->parentWidget()) {
        if (auto* field = around->findChild<QLineEdit*>(fieldName))
            return field;
        if (around->isWindow())
            break;
    }
    return nullptr;
}

}  // namespace

void showControlText(QObject* control, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
        if (QLineEdit* field = entryFieldOf(label); field && !field->hasFocus())
            field->setText(text);
    } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
        field->setText(text);
    }
}

}  // namespace nupo
