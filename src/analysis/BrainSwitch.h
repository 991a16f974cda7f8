#pragma once

// The brain-switch windows of `brainSWX`: defaults and access by window number.

namespace nupo {

// Defaults of every source's eight windows: window k spans the k-th brain band (Eye .. Gamma, the edges
// of brainBandEdges), levels 0.7..10 for a channel and 5..10 (50..100 %) for a pair, all shown.
void initbrainSWX();

// Display state (0 off, 1 shown, 2 highlighted) of window 1..8 of a source 0..9; 0 out of range.
int brainSwitchState(int source, int window);
void setBrainSwitchState(int source, int window, int state);

// The value range and the Hz edges of window 1..8 of a source 0..9.
struct BrainSwitchWindow {
    float lowValue = 0.0f;
    float highValue = 0.0f;
    float lowHz = 0.0f;
    float highHz = 0.0f;
};
// The window as the record holds it; all 0 for a source or window out of range.
BrainSwitchWindow brainSwitchWindow(int source, int window);
// Stores one Hz edge of window 1..8 of a source 0..9 (the upper one when `upper`); returns false and
// stores nothing out of range.
bool setBrainSwitchEdge(int source, int window, bool upper, float hz);

}  // namespace nupo
