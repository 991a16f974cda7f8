#pragma once

// What the band worker measures for a setup: the eight band values of its data source, either as the
// FFT band power or peak between each band's edges or as twice the levels of brain-switch windows 1..8.

#include "midi/band/BandSetupTable.h"

#include <array>

namespace nupo {

using BandValuesOf8 = std::array<float, bandCount>;

// The band values of setup s by its band source (`UsePeakModeEX`): false, with `values` untouched, when
// nothing is measured (another band source, a data source outside 0..9, a setup outside 0..127).
// `bandQuery` answers one band of the FFT band source (source, lower Hz, upper Hz, mode).
template <class BandQuery>
bool measureBandValues(int s, BandValuesOf8& values, BandQuery&& bandQuery);

// The brain-switch band source: twice the level of the strongest record of windows 1..8 of a source
// 0..9, refreshed first. False, with `values` untouched, for another source.
bool brainSwitchBandValues(int source, BandValuesOf8& values);

inline bool validBandSource(int source)
{
    return source >= 0 && source <= 9;
}

template <class BandQuery>
bool measureBandValues(int s, BandValuesOf8& values, BandQuery&& bandQuery)
{
    if (s < 0 || s >= maxSetupNumber)
        return false;
    const int source = NUPOchannelEX[s];
    switch (UsePeakModeEX[s]) {
        case 0: {
            if (!validBandSource(source))
                return false;
            const int mode = PeakPowerEX[s];
            for (std::size_t n = 0; n < bandCount; ++n)
                values[n] = bandQuery(source, LowFbandX[n][s].load(), HighFbandX[n][s].load(), mode);
            return true;
        }
        case 1:
            return brainSwitchBandValues(source, values);
        default:
            return false;
    }
}

}  // namespace nupo
