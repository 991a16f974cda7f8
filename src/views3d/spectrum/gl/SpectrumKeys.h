#pragma once

// The keys of the 3D band-spectrum view, by classic key code.

#include "views3d/spectrum/SpectrumCamera.h"

namespace nupo {

// Key codes of the classic layout: Shift with the down and up arrows changes the distance; without
// Shift, period and comma change the distance, K and J set the turn axis (rotateX 1 or 0), the arrows
// pan. rotateX is left alone by every other key.
void applyKey(SceneCamera& camera, int& rotateX, unsigned short keyCode, bool shift);

// The modifier that decides a key: the last of Command, Control, Option, Shift held (so Shift wins);
// 0 when none is held. Flags are ModifierFlag bits.
unsigned decisiveModifier(unsigned modifierFlags);

}  // namespace nupo
