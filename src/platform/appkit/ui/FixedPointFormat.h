#pragma once

#include <QString>

class QObject;

namespace nupo {

// A fixed-point number format for text fields: `left` digits before the point and `right` after,
// optionally for positive numbers only. Given to a field, it formats the numbers that
// Control::setFloatValue shows there and limits what the user may type into a line edit.
struct FixedPointFormat {
    int left = 3;
    int right = 3;
    bool positiveOnly = false;

    // The value with exactly `right` digits after the point. A value whose whole part needs more than
    // `left` digits is shown whole rather than cut, so no shown number is ever wrong.
    QString format(double value) const;
    // Whether text is an acceptable entry (possibly still incomplete while typing).
    bool accepts(const QString& text) const;

    // Gives a field this format (stored on the field; a line edit also gets a validator).
    static void apply(QObject* field, const FixedPointFormat& format);
    // The format a field was given, if any.
    static bool formatOf(const QObject* field, FixedPointFormat* format);

    friend bool operator==(const FixedPointFormat&, const FixedPointFormat&) = default;
};

}  // namespace nupo
