#pragma once

// The arithmetic the MIDI mappers share: linear maps from a measured input into a setup's output range
// and back, and the conversion of a mapped value to a MIDI number.

namespace nupo {

// Maps x from the input range [inLow, inHigh] linearly onto [outLow, outHigh] (either direction) and
// clamps the result into the output range. An empty input range gives outLow; the result is never NaN.
float mapIntoOutputRange(float x, float inLow, float inHigh, float outLow, float outHigh);

// Works the map backwards without clamping: the input that gives `output`. An empty output range
// leaves `currentInput` unchanged; the result is never NaN.
float mapBackToInput(float output, float inLow, float inHigh, float outLow, float outHigh,
                     float currentInput);

// Truncates towards zero like a C conversion, but gives 0 for NaN and saturates at the int range.
int truncatedValue(float value);

}  // namespace nupo
