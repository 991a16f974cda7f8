#include "shared/BrainBands.h"

namespace nupo {

int brainBandOfFrequency(float hz)
{
    if (!(hz > brainBandEdges[0]) || !(hz < brainBandEdges[brainBandCount]))
        return BandEye;
    int band = 0;
    while (hz >= brainBandEdges[band + 1])
        ++band;
    return band;
}

const char* brainBandName(int band)
{
    static constexpr const char* names[brainBandCount] = {"Eye", "Delta", "Theta", "Alpha",
                                                          "SMR", "BetaM", "Beta",  "Gamma"};
    return band >= 0 && band < brainBandCount ? names[band] : "";
}

}  // namespace nupo
