#pragma once

#include "platform/colour/RGBAColor.h"

#include <QString>

class QObject;

namespace nupo {

// Values of controls, read and written the same way whatever the control is, and safe on null (the
// shared controller's outlets are empty: reads give 0 or empty, writes do nothing). Actions use these
// on their sender, so an action works when called from code with nullptr or with a control of
// another kind.
//
// What a value is, by control: a slider's position (a float between its `minValue` and `maxValue`
// properties when it has them, else its integer position); a check box's or button's state (0 or 1);
// a popup's selected index (set out of range: the last item); a radio matrix's selected tag; a spin box's
// value; the number shown in a line edit or label (formatted by its FixedPointFormat when it has one).
class Control {
public:
    static int intValue(const QObject* control);
    static double floatValue(const QObject* control);
    static QString stringValue(const QObject* control);

    // Setting a value from code never sends the control's action.
    static void setIntValue(QObject* control, int value);
    static void setFloatValue(QObject* control, double value);
    static void setStringValue(QObject* control, const QString& value);

    // A slider's float range (minValue .. maxValue, at least 1 wide, on an integer range to match); the
    // value stays where it was, held to the new range. Nothing for other controls.
    static void setFloatRange(QObject* control, double minimum, double maximum);

    // The `tag` property of a control (0 when it has none).
    static int tag(const QObject* control);

    // A check box's state: 1 checked, 0 not.
    static int state(const QObject* control) { return intValue(control) != 0 ? 1 : 0; }
    static void setState(QObject* control, int state);

    // A colour well's colour (opaque black for anything else).
    static RGBAColor color(const QObject* control);
    static void setColor(QObject* control, const RGBAColor& color);

    static void setHidden(QObject* control, bool hidden);
    static void setEnabled(QObject* control, bool enabled);
};

}  // namespace nupo
