#include "midi/band/BrainSwitchLink.h"

#include "shared/Utilities.h"

namespace nupo {

std::optional<BandRectangleMove> linkBandEdge(int source, int band, bool upper, float hz)
{
    if (!setBrainSwitchEdge(source, band, upper, hz))
        return std::nullopt;
    const BandRectangleMove move{bandRectangle(band), brainSwitchWindow(source, band)};
    setBSrectangle(move.rectangle, move.window.lowValue, move.window.highValue, move.window.lowHz,
                   move.window.highHz);
    return move;
}

}  // namespace nupo
