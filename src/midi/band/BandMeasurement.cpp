#include "midi/band/BandMeasurement.h"

#include "shared/AnalysisState.h"
#include "views3d/QX3DSpectrumGLView.h"

namespace nupo {

bool brainSwitchBandValues(int source, BandValuesOf8& values)
{
    if (!validBandSource(source))
        return false;
    QX3DSpectrumGLView::sharedQX3DSpectrumGLView().waven3DBSQC(source);
    const auto& hits = source <= 3 ? peakSWfftCount[source] : peakSWcoherenceCount[source];
    for (std::size_t n = 0; n < bandCount; ++n)
        values[n] = 2.0f * hits[n + 1][0].level.load(std::memory_order_relaxed);
    return true;
}

}  // namespace nupo
