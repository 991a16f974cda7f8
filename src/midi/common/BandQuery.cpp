#include "midi/common/BandQuery.h"

#include "analysis/QXFFT.h"
#include "shared/AnalysisState.h"

namespace nupo {

float bandGain(int channel)
{
    return displayGainOfChannel(channel);
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
