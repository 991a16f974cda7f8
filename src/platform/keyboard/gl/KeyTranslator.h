#pragma once

#include "platform/keyboard/gl/KeyEvent.h"

#include <Qt>

#include <optional>

class QKeyEvent;

namespace nupo {

// Translates Qt key events into classic key codes and modifier flags. Modifiers follow Qt's own mapping
// on the classic platform: Command is the Ctrl key, Control the Meta (Super) key, Option the Alt key.
// Keys are recognised by the key they produce on a US layout; keypad keys by Qt's keypad flag.
class KeyTranslator {
public:
    static std::optional<unsigned short> virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);
    static unsigned modifierFlags(Qt::KeyboardModifiers modifiers);
    // True for keys that only change modifiers (Shift, Ctrl, Alt, Meta, Caps Lock): they produce no
    // key-down or key-up of their own in the views.
    static bool isModifierKey(int qtKey);
    // The view's key event for a Qt key event; none for unknown keys.
    static std::optional<KeyEvent> translate(const QKeyEvent& event);
};

}  // namespace nupo
