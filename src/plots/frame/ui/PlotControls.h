#pragma once

#include "platform/colour/RGBAColor.h"

#include <QString>
#include <QStringList>

class QObject;
class QWidget;

namespace nupo::PlotControls {

// The reads and writes of controls that the plot windows use, on the platform's null-safe control
// operations, so that a controller without a window (the shared instance) runs the same code.

int selectedIndex(QObject* popup);  // -1 for none
void selectItem(QObject* popup, int index);
void setItems(QObject* popup, const QStringList& titles);
int itemCount(QObject* popup);

// A slider's value in its own units (its `minValue`..`maxValue` range); text fields give their number.
float floatValue(QObject* control);
void setFloatValue(QObject* control, float value);

// Check boxes: 1 when checked. Other controls: their integer value.
int intValue(QObject* control);
void setIntValue(QObject* control, int value);

// The `tag` of the checked button of a radio matrix (or the sender's own tag); 0 when none.
int selectedTag(QObject* matrix);
void selectTag(QObject* matrix, int tag);

// Colour wells.
RGBAColor wellColour(QObject* well);
void setWellColour(QObject* well, const RGBAColor& colour);
// Gives every colour well below root the colour its nib names in the text property `colour`
// ("red green blue alpha").
void takeNibColours(QObject* root);

void setHidden(QObject* widget, bool hidden);
bool isHidden(QObject* widget);

// Text and value fields.
void setText(QObject* field, const QString& text);
QString text(QObject* field);
// A number with `right` digits after the point.
QString fixedPoint(double value, int right);

}  // namespace nupo::PlotControls
