#pragma once

class QObject;

namespace nupo {

// What the two MIDI panels share in showing a value in a control.

// A control's "scale" property (slider steps per unit), 1 when it has none.
double scaleOf(const QObject* control);

// Shows a value in a slider (scaled), stepper, check box or popup without sending its action.
void showControlValue(QObject* control, double value);

}  // namespace nupo
