#pragma once

// Reading a control that sent an action, through Qt's properties only (the mapper is not a widget
// class): check boxes and buttons ("checked"), steppers and sliders ("value", divided by a "scale"
// property where a slider carries fractional values), popups ("currentIndex", "currentText"), number
// fields ("text") and radio matrices (the "tag" of the checked button inside). A null sender or a
// control of another kind reads as 0 or empty.

#include <QString>

class QObject;

namespace nupo {

int senderIntValue(const QObject* sender);
float senderFloatValue(const QObject* sender);
int senderSelectedIndex(const QObject* sender);
QString senderSelectedTitle(const QObject* sender);
int senderSelectedTag(const QObject* sender);

}  // namespace nupo
