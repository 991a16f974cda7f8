// The analysis tick against its steps written out one at a time, plainly: every value the tick stores
// must be exactly what the plain steps give, at every size and setting, wherever the window lies.

#include "analysis/FFTMath.h"
#include "analysis/QXFFT.h"
#include "analysis/SpectrumMath.h"
#include "core/QXSerialPort.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace nupo;

namespace {

constexpr int channels = QXFFT::channelCount;
constexpr int transformBuffers[channels] = {5, 6, 7, 8};

QXFFT& engine()
{
    return QXFFT::sharedQXFFT();
}

// What one channel's tick stores.
struct ChannelResult {
    std::vector<Complex> transform;
    std::vector<double> amplitude;
    std::vector<double> mean;
    std::vector<double> stored;
    double offset = 0.0;
};

// The tick's steps for one channel, given the running mean before it (empty when the mean restarts).
ChannelResult plainTick(int channel, int n, const std::vector<double>& previousMean)
{
    const FFTTables& tables = fftinit(n);
    const int half = n / 2;
    const double gain = sampleGainForIndex(gainIndexOfChannel(channel)) / 32768.0;
    const int start = ploop.load() - n;  // points before the first sample read as the first sample
    AlignedVector<double> samples(std::size_t(n), 0.0);
    for (int i = 0; i < n; ++i) {
        const int sample =
            RecordingBuffers::sharedRecordingBuffers().getIntFromBuffer(channel + 1, start + i);
        samples[std::size_t(i)] = sample * gain * tables.window[std::size_t(i)];
    }
    ChannelResult r;
    AlignedVector<Complex> spectrum(static_cast<std::size_t>(half)), work(static_cast<std::size_t>(half));
    realFFT(tables, samples.data(), spectrum.data(), work.data());
    r.offset = 2.0 * spectrum[0].real() / tables.windowSum;
    spectrum[0] = 0.0;
    for (int k = 1; k < half; ++k)
        if (isMainsBin(k, n, SampleSpeed.load(), mainsFrequencyX.load()))
            spectrum[std::size_t(k)] = 0.0;
    r.transform.assign(spectrum.begin(), spectrum.end());

    r.amplitude.resize(std::size_t(half));
    binAmplitudes(spectrum.data(), half, tables.windowSum, r.amplitude.data());
    r.mean = r.amplitude;
    const int averaged = std::clamp(averageFFTX.load(), 1, 64);
    if (!previousMean.empty() && averaged > 1)
        for (std::size_t k = 0; k < r.mean.size(); ++k)
            r.mean[k] = previousMean[k] + (r.amplitude[k] - previousMean[k]) / averaged;
    r.stored = r.mean;
    if (LOGpowerONed.load() != 0)
        for (double& v : r.stored)
            v = logPower(v);
    return r;
}

// Mean of the stored values whose frequency lies in the band, summed bin by bin.
float plainBandPower(const std::vector<double>& stored, double binHz, int band)
{
    const BandEdges e = analysisBandEdges(band);
    double sum = 0.0;
    int count = 0;
    for (std::size_t k = 0; k < stored.size(); ++k) {
        const double f = double(k) * binHz;
        if ((f > e.low && f <= e.high) || (band == eyeBand && k == 0)) {
            sum += stored[k];
            ++count;
        }
    }
    return count > 0 ? float(sum / count) : 0.0f;
}

void writeNoise(int samples, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 80.0);
    for (int c = 1; c <= channels; ++c)
        for (int i = 0; i < samples; ++i)
            QXSerialPort::sharedQXSerialPort().putIntToBuffer(
                c, i, int(noise(random) + 120.0 * c * std::sin(0.05 * c * i)));
}

// Runs a tick and checks everything it stores against the plain steps; `means` carries the running
// means from tick to tick.
void tickAndCompare(int n, std::vector<double> (&means)[channels], const std::string& where)
{
    ChannelResult expected[channels];
    for (int c = 0; c < channels; ++c)
        expected[c] = plainTick(c, n, means[c]);
    engine().timerUpdate();

    const int half = n / 2;
    const double binHz = double(SampleSpeed.load()) / n;
    std::vector<double> copied(static_cast<std::size_t>(half));
    for (int c = 0; c < channels; ++c) {
        const ChannelResult& r = expected[c];
        means[c] = r.mean;
        const int buffer = spectrumBufferOfChannel(c);
        SCOPED_TRACE(where + ", channel " + std::to_string(c));
        for (int k = 0; k < half; ++k) {
            const ComplexDouble s = engine().getcomplexDoubleFromBuffer(buffer, k);
            const ComplexDouble t = engine().getcomplexDoubleFromBuffer(transformBuffers[c], k);
            ASSERT_EQ(s.x, r.stored[std::size_t(k)]) << "bin " << k;
            ASSERT_EQ(s.y, r.amplitude[std::size_t(k)]) << "bin " << k;
            ASSERT_EQ(t.x, r.transform[std::size_t(k)].real()) << "bin " << k;
            ASSERT_EQ(t.y, r.transform[std::size_t(k)].imag()) << "bin " << k;
        }
        ASSERT_EQ(engine().copySpectrum(buffer, copied.data(), half), half);
        ASSERT_EQ(copied, r.stored);
        ASSERT_EQ(engine().copySpectrum(transformBuffers[c], copied.data(), half), half);
        for (int k = 0; k < half; ++k)
            ASSERT_EQ(copied[std::size_t(k)], r.transform[std::size_t(k)].real());
        EXPECT_EQ((c == 0   ? DCoffsetA
                   : c == 1 ? DCoffsetB
                   : c == 2 ? DCoffsetD
                            : DCoffsetE)
                      .load(),
                  r.offset);

        const auto peaks = findThreePeaks(r.stored.data(), half);
        for (int p = 0; p < 3; ++p) {
            EXPECT_EQ(peakTableOfChannel(c)[2 * p].load(), peaks[std::size_t(p)].value);
            EXPECT_EQ(PeakfftPower[c][0][p].bin.load(), peaks[std::size_t(p)].bin);
        }
        for (int band = 0; band < analysisBandCount; ++band)
            EXPECT_FLOAT_EQ(bandPowerX[c][band].load(), plainBandPower(r.stored, binHz, band))
                << "band " << band;
    }
    std::vector<double> all[channels];
    double* out[channels];
    for (int c = 0; c < channels; ++c) {
        all[c].assign(std::size_t(half), -1.0);
        out[c] = all[c].data();
    }
    engine().copyChannelSpectra(half, out);
    for (int c = 0; c < channels; ++c)
        ASSERT_EQ(all[c], expected[c].stored) << where << ", channel " << c;
}

struct Settings {
    int averaged;
    int logged;
    int gain;
};

}  // namespace

TEST(QXFFTTick, StoresExactlyWhatThePlainStepsGive)
{
    SampleSpeed = 120;
    mainsFrequencyX = 50;
    const int recordingEnd = maxploop.load();
    maxploop = 20000;
    writeNoise(20001, 21);
    const Settings settings[] = {{1, 0, 5}, {3, 0, 2}, {3, 1, 0}, {1, 1, 7}};
    for (int n = 128; n <= 8192; n *= 2) {
        fftp = n;
        std::vector<double> means[channels];
        for (const Settings& s : settings) {
            averageFFTX = s.averaged;
            LOGpowerONed = s.logged;
            setGain1Number = s.gain;
            setGain3Number = 8 - s.gain;
            // Window before a whole one has played (points before 0 read as the first sample), inside,
            // and reaching past the end of the recording.
            for (const int position : {n / 3, n + 17, 20000 + n / 2}) {
                ploop = position;
                tickAndCompare(n, means,
                               std::to_string(n) + " points, average " + std::to_string(s.averaged) +
                                   (s.logged ? " log" : "") + ", at " + std::to_string(position));
                if (HasFatalFailure())
                    return;
            }
        }
    }
    averageFFTX = 1;
    LOGpowerONed = 0;
    setGain1Number = 5;
    setGain3Number = 5;
    maxploop = recordingEnd;
}

// A smaller transform leaves the bins above its half as the last larger one stored them; values stored
// into the tick's buffers read back until the next tick replaces them.
TEST(QXFFTTick, SmallerSizesKeepTheBinsAboveAndStoredValuesLastOneTick)
{
    SampleSpeed = 120;
    writeNoise(2 * 1024, 4);
    fftp = 1024;
    ploop = 1024;
    engine().timerUpdate();
    const ComplexDouble high = engine().getcomplexDoubleFromBuffer(3, 300);
    const ComplexDouble transform = engine().getcomplexDoubleFromBuffer(7, 300);
    EXPECT_NE(high.x, 0.0);

    fftp = 256;
    engine().timerUpdate();
    EXPECT_EQ(engine().getcomplexDoubleFromBuffer(3, 300).x, high.x);
    EXPECT_EQ(engine().getcomplexDoubleFromBuffer(3, 300).y, high.y);
    EXPECT_EQ(engine().getcomplexDoubleFromBuffer(7, 300).y, transform.y);
    EXPECT_EQ(engine().analysedPoints(), 256);

    engine().putcomplexDoubleToBuffer(3, 10, {-5.0, -6.0});
    engine().putcomplexDoubleToBuffer(7, 20, {-7.0, -8.0});
    engine().putcomplexDoubleToBuffer(3, 400, {-9.0, -10.0});
    EXPECT_EQ(engine().getcomplexDoubleFromBuffer(3, 10).y, -6.0);
    EXPECT_EQ(engine().getcomplexDoubleFromBuffer(7, 20).x, -7.0);
    double x[128];
    ASSERT_EQ(engine().copySpectrum(3, x, 128), 128);
    EXPECT_EQ(x[10], -5.0);

    engine().timerUpdate();
    EXPECT_NE(engine().getcomplexDoubleFromBuffer(3, 10).y, -6.0);
    EXPECT_NE(engine().getcomplexDoubleFromBuffer(7, 20).x, -7.0);
    EXPECT_EQ(engine().getcomplexDoubleFromBuffer(3, 400).x, -9.0);  // above the half: kept

    // A value stored into the bins a later, larger transform covers is replaced by it.
    fftp = 1024;
    engine().timerUpdate();
    EXPECT_NE(engine().getcomplexDoubleFromBuffer(3, 400).x, -9.0);
}

// After the position jumps back to the start (a loop's wrap, Beginning), every tick's spectrum follows
// the position from its first new sample on; none stands still until a whole window has played.
TEST(QXFFTTick, AfterAJumpBackTheSpectrumFollowsThePositionFromTheFirstNewSample)
{
    SampleSpeed = 120;
    fftp = 256;
    averageFFTX = 1;
    const int recordingEnd = maxploop.load();
    maxploop = 4096;
    writeNoise(4097, 9);
    ploop = 3000;
    engine().timerUpdate();

    std::vector<double> previous(128), spectrum(128);
    // At positions 0 and 1 the window holds the first sample alone; from there on each sample counts.
    for (const int position : {1, 2, 3, 4, 100, 254, 255, 256, 257}) {
        ploop = position;
        engine().timerUpdate();
        ASSERT_EQ(engine().copySpectrum(0, spectrum.data(), 128), 128);
        if (position > 1) {
            EXPECT_NE(spectrum, previous) << "the spectrum stood still at sample " << position;
        }
        previous = spectrum;
    }
    maxploop = recordingEnd;
}
