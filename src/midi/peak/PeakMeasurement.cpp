#include "midi/peak/PeakMeasurement.h"

#include "analysis/QXFFT.h"
#include "midi/peak/PeakSetupTable.h"
#include "shared/AnalysisState.h"
#include "views3d/QX3DSpectrumGLView.h"

#include <cmath>

namespace nupo {

namespace {

PeakInput fromThreePeakTable(int channel, int p)
{
    const std::atomic<float>* table = peakTableOfChannel(channel);
    if (table == nullptr)
        return {};
    float v = table[2 * p] / displayGainOfChannel(channel);
    if (LOGpowerONed != 0)
        v = std::pow(10.0f, v / 10.0f - 1.0f);
    return {true, table[2 * p + 1], v};
}

PeakInput fromBrainSwitch(int channel, int window, int p, bool refresh)
{
    if (channel < 0 || channel >= brainSourceCount || window < 0 || window >= brainSwitchWindowCount)
        return {};
    if (refresh)
        QX3DSpectrumGLView::sharedQX3DSpectrumGLView().waven3DBSQC(channel);
    const SharedBrainSwitchRecord& record =
        channel <= 3 ? peakSWfftCount[channel][window][p] : peakSWcoherenceCount[channel][window][p];
    return {true, record.peakFrequency.load(std::memory_order_relaxed),
            record.level.load(std::memory_order_relaxed)};
}

}  // namespace

PeakInput measurePeakInput(int s, int p)
{
    if (s < 0 || s >= maxSetupNumber || p < 0 || p > 2)
        return {};
    const int channel = NUPOchannelX[s];
    switch (UsePeakModeX[s]) {
        case 0:
            return fromThreePeakTable(channel, p);
        case 1: {
            if (channel < 0 || channel > 3 || p != 0)
                return {};
            // One search gives both, so another thread's search cannot come between value and frequency.
            const BandPeak peak =
                QXFFT::sharedQXFFT().peakFFTbandQuery(channel, LowFX[s], HighFX[s], PeakPowerX[s]);
            peakFrequencyX = peak.frequency;
            return {true, peak.frequency, peak.value / displayGainOfChannel(channel)};
        }
        case 2:
            return fromBrainSwitch(channel, BSchannelX[s], p, channel >= 0 && channel <= 3);
        case 3:
            return fromBrainSwitch(channel, 0, p, true);
        default:
            return {};
    }
}

}  // namespace nupo
