#pragma once

// The arithmetic of the peak-to-MIDI mapper: the linear maps from a measured input into a setup's
// output range and back, and the timing table.

namespace nupo {

// Maps x from the input range [inLow, inHigh] linearly onto [outLow, outHigh] (either direction) and
// clamps the result into the output range. An empty input range gives outLow; the result is never NaN.
float mapIntoOutputRange(float x, float inLow, float inHigh, float outLow, float outHigh);

// Works the map backwards without clamping: the input that gives `output`. An empty output range
// leaves `currentInput` unchanged; the result is never NaN.
float mapBackToInput(float output, float inLow, float inHigh, float outLow, float outHigh,
                     float currentInput);

// Seconds between two sends for timing index 0..13; index 13 is one beat of `tempo` (beats per
// minute, taken as at least 1); any other index gives 0 (every tick).
double timingInterval(int index, float tempo);

// The tempo a user can set: 1..240 beats per minute.
float clampTempo(float tempo);

// Truncates towards zero like a C conversion, but gives 0 for NaN and saturates at the int range.
int truncatedValue(float value);

}  // namespace nupo
