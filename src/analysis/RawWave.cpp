#include "analysis/RawWave.h"

#include "analysis/FFTMath.h"
#include "analysis/SpectrumMath.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"

#include <algorithm>
#include <vector>

namespace nupo {

namespace {

constexpr double autoGainHeight = 50.0;

struct RawwaveChannel {
    int* window;
    std::atomic<double>* peakToPeak;
    std::atomic<double>* dcOffset;
};

const RawwaveChannel& rawwaveChannel(int channel)
{
    static const RawwaveChannel channels[4] = {{datarawA, &ARawwavePP, &DCoffsetA},
                                               {datarawB, &BRawwavePP, &DCoffsetB},
                                               {datarawD, &DRawwavePP, &DCoffsetD},
                                               {datarawE, &ERawwavePP, &DCoffsetE}};
    return channels[channel];
}

}  // namespace

void getRawwave(int channel, int point)
{
    if (channel < 0 || channel > 3)
        return;
    const RawwaveChannel& c = rawwaveChannel(channel);
    const FFTTables& tables = fftinit(fftp.load(std::memory_order_relaxed));
    const int n = tables.points;
    const int start = std::max(point - n, 0);
    const double gain = sampleGainForIndex(gainIndexOfChannel(channel));
    // Only port 1 exists in this build; it stands for the channel's own port too.
    const bool windowed = rawwaveWindowing.load(std::memory_order_relaxed) != 0 &&
                          openPort.load(std::memory_order_relaxed) != 0;

    thread_local std::vector<int> samples;
    samples.resize(std::size_t(n));
    RecordingBuffers::sharedRecordingBuffers().copyFromBuffer(channel + 1, start, n, samples.data());
    double largest = 0.0, smallest = 0.0;
    for (int i = 0; i < n; ++i) {
        const int sample = samples[std::size_t(i)];
        largest = std::max(largest, sample * 0.25);
        smallest = std::min(smallest, sample * 0.25);
        double v = sample * gain;
        if (windowed)
            v *= tables.window[std::size_t(i)] / 32768.0;
        c.window[i] = int(v);
    }
    c.peakToPeak->store((largest - smallest) / 2.55, std::memory_order_relaxed);

    if (DCcutONed.load(std::memory_order_relaxed) != 0) {
        const int shift = int(c.dcOffset->load(std::memory_order_relaxed) / 2.0);
        for (int i = 0; i < n; ++i)
            c.window[i] -= shift;
    }
    if (autoGainRawData.load(std::memory_order_relaxed) != 0) {
        const int top = *std::max_element(c.window, c.window + n);
        if (top > 0) {  // a flat or all-negative trace keeps its scale
            const double scale = autoGainHeight / top;
            for (int i = 0; i < n; ++i)
                c.window[i] = int(c.window[i] * scale);
        }
    }
}

void getARawwave(int point)
{
    getRawwave(0, point);
}

void getBRawwave(int point)
{
    getRawwave(1, point);
}

void getDRawwave(int point)
{
    getRawwave(2, point);
}

void getERawwave(int point)
{
    getRawwave(3, point);
}

}  // namespace nupo
