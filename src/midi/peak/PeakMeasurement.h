#pragma once

// What the peak-to-MIDI worker measures for a setup: the frequency F and value V of a peak of the
// setup's data channel, by its source mode (three-peak tables, band search, brain switches).

#include "midi/common/BandQuery.h"

namespace nupo {

struct PeakInput {
    bool measured = false;  // false: nothing measured in this mode/channel; keep the stored inputs
    float f = 0.0f;
    float v = 0.0f;
};

// Measures peak p (0..2) for setup s from its `UsePeakModeX`, `NUPOchannelX` and band.
PeakInput measurePeakInput(int s, int p);

}  // namespace nupo
