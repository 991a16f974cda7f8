#pragma once

class QObject;
class QString;

namespace nupo {

// What the two MIDI panels share in showing a value in a control.

// A control's "scale" property (slider steps per unit), 1 when it has none.
double scaleOf(const QObject* control);

// Shows a value in a slider (scaled), stepper, check box or popup without sending its action.
void showControlValue(QObject* control, double value);

// Shows a text in a label or a text field. A display label ("displayHere<X>") also puts it in the entry
// field beside it ("<X>Field", or "<X>Field<n>" for a display "displayHere<X><n>" of band n), so that the
// field holds the value it would change rather than standing empty; a field being typed into is left as
// it is.
void showControlText(QObject* control, const QString& text);

}  // namespace nupo
