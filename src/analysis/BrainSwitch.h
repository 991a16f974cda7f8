#pragma once

// The brain-switch windows of `brainSWX`: defaults and access by window number.

namespace nupo {

// Defaults of every source's eight windows: window k spans the k-th band of 0, 2, 4, 8, 12, 15, 20, 30
// and 40 Hz (Eye .. Gamma), levels 0.7..10 for a channel and 5..10 (50..100 %) for a pair, all shown.
void initbrainSWX();

// Display state (0 off, 1 shown, 2 highlighted) of window 1..8 of a source 0..9; 0 out of range.
int brainSwitchState(int source, int window);
void setBrainSwitchState(int source, int window, int state);

}  // namespace nupo
