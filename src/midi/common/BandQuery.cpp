#include "midi/common/BandQuery.h"

#include "analysis/QXFFT.h"
#include "shared/AnalysisState.h"

#include <cmath>

namespace nupo {

float bandGain(int channel)
{
    if (channel < 0 || channel > 3)
        return 1.0f;
    const float gain = displayGainX[channel];
    return gain != 0.0f && std::isfinite(gain) ? gain : 1.0f;
}

float gainedBandValue(int channel, float value)
{
    return channel >= 0 && channel <= 3 ? value / bandGain(channel) : value;
}

float bandPeakValue(int channel, float lowF, float highF, int mode)
{
    return gainedBandValue(channel, QXFFT::sharedQXFFT().peakFFTband(channel, lowF, highF, mode));
}

float bandPeakFrequency()
{
    return QXFFT::sharedQXFFT().peakFFTbandF();
}

}  // namespace nupo
