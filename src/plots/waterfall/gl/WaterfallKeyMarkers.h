#pragma once

namespace nupo {

// Key markers: a key pressed in the 2D spectrum window is written into channel 0 of the recording at the
// current position as the key's classic key code plus 1000 × a modifier code (Shift 1, Command 2,
// Control 3, Option 4). An unmarked sample holds 49, the space bar's code.
struct KeyMarkerModifier {
    int code = 0;       // 0, 1000, 2000, 3000 or 4000
    unsigned mask = 0;  // the ModifierFlag bit that chose it, 0 for none
};

// Command, then Control, then Option, each later one replacing the earlier; Shift wins over all.
KeyMarkerModifier keyMarkerModifier(unsigned modifierFlags);
// The marker of a key press.
int keyMarker(unsigned short keyCode, unsigned modifierFlags);

// The character a marker prints as (US layout, with Shift for the 1000 range); any value it does not
// know comes back unchanged, so Command, Control and Option markers and keys without a character are
// returned as they are.
int convertIntToASCII(int marker);

}  // namespace nupo
