#pragma once

// The peak-to-MIDI mapper's timing table and tempo (its linear maps are in LinearMap.h).

#include "midi/common/LinearMap.h"

namespace nupo {

// Seconds between two sends for timing index 0..13; index 13 is one beat of `tempo` (beats per
// minute, taken as at least 1); any other index gives 0 (every tick).
double timingInterval(int index, float tempo);

// The tempo a user can set: 1..240 beats per minute.
float clampTempo(float tempo);

}  // namespace nupo
