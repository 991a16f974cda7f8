#pragma once

// The link between a band setup's eight bands and the brain switches of its data source: band n is
// brain-switch window n of the source, drawn as rectangle 9 - n of the front brain-note drawing (band 1
// is rectangle 8, band 8 rectangle 1). Moving a band edge in the brain-switch band source moves the
// window's edge and its rectangle with it.

#include "analysis/BrainSwitch.h"

#include <optional>

namespace nupo {

// Rectangle of the front drawing that stands for band 1..8.
constexpr int bandRectangle(int band)
{
    return 9 - band;
}

// A rectangle move: its number and the window as the brain switches now hold it.
struct BandRectangleMove {
    int rectangle = 0;
    BrainSwitchWindow window;
};

// Writes a band edge (the upper one when `upper`) into window `band` (1..8) of `source` and moves the
// window's rectangle (setBSrectangle). Nothing happens, and the result is empty, for a source outside
// 0..9 or a band outside 1..8.
std::optional<BandRectangleMove> linkBandEdge(int source, int band, bool upper, float hz);

}  // namespace nupo
