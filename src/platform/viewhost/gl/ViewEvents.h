#pragma once

#include "platform/keyboard/gl/KeyEvent.h"

#include <QPointF>

namespace nupo {

// A mouse press, drag or release as the views receive it.
struct MouseEvent {
    QPointF location;            // in the view, unflipped: origin at the lower left, y up
    int clickCount = 1;          // 2 for the press of a double click
    unsigned modifierFlags = 0;  // ModifierFlag bits
};

// A scroll-wheel turn: one notch of a wheel is 1.0; positive y scrolls up (away from the user).
struct ScrollEvent {
    double deltaX = 0.0;
    double deltaY = 0.0;
    double deltaZ = 0.0;
    unsigned modifierFlags = 0;
};

}  // namespace nupo
