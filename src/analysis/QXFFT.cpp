#include "analysis/QXFFT.h"

#include "analysis/SpectrumMath.h"
#include "platform/appkit/MainThread.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace nupo {

namespace {

constexpr int analysisIntervalMs = 10;
constexpr int maxAveraged = 64;

// Buffer of the transform of CH 1..CH 4 (the stored spectrum's is spectrumBufferOfChannel).
constexpr int transformBuffer[QXFFT::channelCount] = {5, 6, 7, 8};

// Channels of the coherence pairs, in the order of CoherenceM .. CoherenceM6.
constexpr int pairChannels[QXFFT::pairCount][2] = {{0, 1}, {2, 3}, {0, 2}, {1, 3}, {1, 2}, {0, 3}};

std::atomic<double>& dcOffset(int channel)
{
    static std::atomic<double>* const offsets[QXFFT::channelCount] = {&DCoffsetA, &DCoffsetB, &DCoffsetD,
                                                                      &DCoffsetE};
    return *offsets[channel];
}

// x times the conjugate of y, written out (the library product guards against infinities, slowly).
Complex crossProduct(const Complex& x, const Complex& y)
{
    return {x.real() * y.real() + x.imag() * y.imag(), x.imag() * y.real() - x.real() * y.imag()};
}

int currentPoints()
{
    return validFFTSize(fftp.load(std::memory_order_relaxed));
}

}  // namespace

QXFFT& QXFFT::sharedQXFFT()
{
    static QXFFT* instance = new QXFFT;  // lives to process end
    return *instance;
}

QXFFT::QXFFT()
{
    for (auto& b : buffers)
        b.assign(bufferLength, ComplexDouble{});
}

void QXFFT::init()
{
    initbitrevAndFFT();
    performOnMainThread([this] {
        if (timer)
            return;
        timer = new QTimer;  // lives to process end, like the engine
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(analysisIntervalMs);
        QObject::connect(timer, &QTimer::timeout, [this] { timerUpdate(); });
        timer->start();
    });
}

bool QXFFT::isRunning() const
{
    return timer && timer->isActive();
}

void QXFFT::timerUpdate(QObject*)
{
    int sizes[channelCount];
    for (int c = 0; c < channelCount; ++c)
        sizes[c] = computeChannel(c, 1, 1);
    const int position = ploop.load(std::memory_order_relaxed);
    // The four channels and the coherence segment change under one lock, so a reader sees one whole tick.
    std::lock_guard lock(resultsMutex);
    for (int c = 0; c < channelCount; ++c)
        publishLocked(c, sizes[c]);
    takeCoherenceSegmentLocked(currentPoints(), position);
}

double QXFFT::transformChannel(int channel, const FFTTables& tables, TransformScratch& scratch,
                               AlignedVector<Complex>& spectrum)
{
    const int n = tables.points;
    const int half = n / 2;
    scratch.raw.resize(std::size_t(n));
    scratch.samples.resize(std::size_t(n));
    scratch.work.resize(std::size_t(half));
    spectrum.resize(std::size_t(half));

    // The newest n samples up to the position; right after a jump back to the start the points before
    // the first sample read as the first sample, so the spectrum follows the position from its first
    // new sample rather than standing still until a whole window has played.
    const int start = ploop.load(std::memory_order_relaxed) - n;
    const double gain = sampleGainForIndex(gainIndexOfChannel(channel)) / 32768.0;
    // Read in one run of plain loads, then windowed and gained in vector steps.
    RecordingBuffers::sharedRecordingBuffers().copyFromBuffer(channel + 1, start, n, scratch.raw.data());
    windowSamples(tables, scratch.raw.data(), gain, scratch.samples.data());
    realFFT(tables, scratch.samples.data(), spectrum.data(), scratch.work.data());

    const double offset = tables.windowSum > 0.0 ? 2.0 * spectrum[0].real() / tables.windowSum : 0.0;
    const int rate = SampleSpeed.load(std::memory_order_relaxed);
    const int mains = mainsFrequencyX.load(std::memory_order_relaxed);
    spectrum[0] = 0.0;
    if (rate > 0) {
        const int nearest = int(std::lround(double(mains) * n / rate));
        for (int k = std::max(1, nearest - 1); k <= std::min(half - 1, nearest + 1); ++k)
            if (isMainsBin(k, n, rate, mains))
                spectrum[std::size_t(k)] = 0.0;
    }
    return offset;
}

void QXFFT::analyseChannel(int channel, int CO, int BS)
{
    if (channel < 0 || channel >= channelCount)
        return;
    const int n = computeChannel(channel, CO, BS);
    std::lock_guard lock(resultsMutex);
    publishLocked(channel, n);
}

int QXFFT::computeChannel(int channel, int CO, int BS)
{
    ChannelWork& w = work[channel];
    const FFTTables& tables = fftinit(currentPoints());
    const int n = tables.points;
    const int half = n / 2;

    dcOffset(channel).store(transformChannel(channel, tables, scratch, w.spectrum),
                            std::memory_order_relaxed);

    // Amplitude spectrum, exponential mean over `averageFFTX` spectra, then the stored form. Without
    // averaging the mean is the amplitude itself, and without log power the stored form is the mean.
    const int averaged = std::clamp(averageFFTX.load(std::memory_order_relaxed), 1, maxAveraged);
    const bool restart = w.averagedPoints != n || averaged == 1;
    w.amplitude.resize(std::size_t(half));
    w.average.resize(std::size_t(half));
    // The amplitudes are handed over with the results, so a restarting mean takes a copy of its own.
    binAmplitudes(w.spectrum.data(), half, tables.windowSum, w.amplitude.data(),
                  restart ? w.average.data() : nullptr);
    if (restart) {
        w.averagedPoints = n;
    } else {
        for (int k = 0; k < half; ++k)
            w.average[std::size_t(k)] += (w.amplitude[std::size_t(k)] - w.average[std::size_t(k)]) / averaged;
    }
    const bool logged = LOGpowerONed.load(std::memory_order_relaxed) != 0;
    w.storedIsAmplitude = !logged && averaged == 1;
    if (!w.storedIsAmplitude) {
        w.stored.resize(std::size_t(half));
        for (int k = 0; k < half; ++k)
            w.stored[std::size_t(k)] =
                logged ? logPower(w.average[std::size_t(k)]) : w.average[std::size_t(k)];
    }
    const double* stored = w.storedIsAmplitude ? w.amplitude.data() : w.stored.data();

    const int rate = SampleSpeed.load(std::memory_order_relaxed);
    const double binHz = double(rate) / n;
    for (int band = 0; band < analysisBandCount; ++band)
        bandPowerX[channel][band].store(float(analysisBandPower(stored, half, binHz, band)),
                                        std::memory_order_relaxed);

    if (BS != 0) {
        const auto peaks = findThreePeaks(stored, half);
        const bool band512 = fftp512Band.load(std::memory_order_relaxed) != 0;
        std::atomic<float>* table = peakTableOfChannel(channel);
        for (int p = 0; p < 3; ++p) {
            const SpectrumPeak& peak = peaks[std::size_t(p)];
            const float hz = peak.value > 0.0f ? float(binFrequency(peak.bin, n, rate)) : 0.0f;
            table[2 * p].store(peak.value, std::memory_order_relaxed);
            table[2 * p + 1].store(hz, std::memory_order_relaxed);
            const int bin = band512 ? covFFT512BandFtoN(hz) : peak.bin;
            PeakfftPower[channel][0][p].store({peak.value, hz, bin, 0, peak.value});
        }
    }
    keepForCoherence[std::size_t(channel)] = CO != 0;
    return n;
}

void QXFFT::publishLocked(int channel, int n)
{
    ChannelWork& w = work[channel];
    Published& p = published[channel];
    const int half = n / 2;
    if (p.half > half) {
        // The bins above the new half keep what the larger transform stored there.
        std::vector<ComplexDouble>& s = buffers[spectrumBufferOfChannel(channel)];
        std::vector<ComplexDouble>& t = buffers[transformBuffer[channel]];
        const double* x = p.storedIsAmplitude ? p.amplitude.data() : p.stored.data();
        for (int k = half; k < p.half; ++k) {
            s[std::size_t(k)] = {x[k], p.amplitude[std::size_t(k)]};
            t[std::size_t(k)] = {p.transform[std::size_t(k)].real(), p.transform[std::size_t(k)].imag()};
        }
    }
    p.transform.swap(w.spectrum);
    p.amplitude.swap(w.amplitude);
    if (!w.storedIsAmplitude)
        p.stored.swap(w.stored);
    p.storedIsAmplitude = w.storedIsAmplitude;
    p.half = half;
    points = n;
}

void QXFFT::resetCoherence(int n)
{
    const std::size_t half = std::size_t(n / 2);
    coherencePoints = n;
    segmentCount = 0;
    nextSegment = 0;
    for (auto& segment : segments)
        for (auto& channel : segment)
            channel.assign(half, Complex{});
    for (auto& sums : autoSums)
        sums.assign(half, 0.0);
    for (auto& sums : crossSums)
        sums.assign(half, Complex{});
}

// Takes the newest transforms as a coherence segment when the position has moved far enough, and keeps
// the sums over the ring: the new segment is added and the one it replaces subtracted.
void QXFFT::takeCoherenceSegmentLocked(int n, int position)
{
    if (coherencePoints != n)
        resetCoherence(n);
    if (segmentCount > 0 && std::abs(position - lastSegmentPosition) < n / 2)
        return;
    for (int c = 0; c < channelCount; ++c)
        if (!keepForCoherence[std::size_t(c)] || published[c].half != n / 2)
            return;
    lastSegmentPosition = position;

    const int half = n / 2;
    auto& slot = segments[nextSegment];
    const bool replacing = segmentCount == coherenceSegments;
    for (int k = 0; k < half; ++k) {
        for (int c = 0; c < channelCount; ++c) {
            const Complex old = slot[c][std::size_t(k)];
            const Complex now = published[c].transform[std::size_t(k)];
            double& sum = autoSums[c][std::size_t(k)];
            sum += std::norm(now) - (replacing ? std::norm(old) : 0.0);
            if (sum < 0.0)
                sum = 0.0;  // rounding of the running sum
        }
        for (int p = 0; p < pairCount; ++p) {
            const int a = pairChannels[p][0], b = pairChannels[p][1];
            Complex& sum = crossSums[p][std::size_t(k)];
            sum +=
                crossProduct(published[a].transform[std::size_t(k)], published[b].transform[std::size_t(k)]);
            if (replacing)
                sum -= crossProduct(slot[a][std::size_t(k)], slot[b][std::size_t(k)]);
        }
        for (int c = 0; c < channelCount; ++c)
            slot[c][std::size_t(k)] = published[c].transform[std::size_t(k)];
    }
    nextSegment = (nextSegment + 1) % coherenceSegments;
    segmentCount = std::min(segmentCount + 1, coherenceSegments);
}

double QXFFT::coherenceLocked(int pair, double N, int bin) const
{
    if (pair < 0 || pair >= pairCount || segmentCount == 0 || bin < 0 || bin >= coherencePoints / 2)
        return 0.0;
    const double count = segmentCount;
    const int a = pairChannels[pair][0], b = pairChannels[pair][1];
    return coherencePercent(crossSums[pair][std::size_t(bin)] / count, autoSums[a][std::size_t(bin)] / count,
                            autoSums[b][std::size_t(bin)] / count, N,
                            CoherenceLevel.load(std::memory_order_relaxed));
}

double QXFFT::coherence(int pair, double N, long P) const
{
    if (P < 0 || P >= bufferLength)
        return 0.0;
    std::lock_guard lock(resultsMutex);
    return coherenceLocked(pair, N, int(P));
}

int QXFFT::pairOfSource(int source)
{
    static constexpr int pairs[6] = {0, 1, 2, 3, 5, 4};
    return (source >= 4 && source <= 9) ? pairs[source - 4] : -1;
}

int QXFFT::channelOfSpectrumBuffer(int buffer)
{
    for (int c = 0; c < channelCount; ++c)
        if (spectrumBufferOfChannel(c) == buffer)
            return c;
    return -1;
}

int QXFFT::channelOfTransformBuffer(int buffer)
{
    for (int c = 0; c < channelCount; ++c)
        if (transformBuffer[c] == buffer)
            return c;
    return -1;
}

ComplexDouble QXFFT::elementLocked(int buffer, int bin) const
{
    const std::size_t k = std::size_t(bin);
    if (const int c = channelOfSpectrumBuffer(buffer); c >= 0 && bin < published[c].half) {
        const Published& p = published[c];
        return {p.storedIsAmplitude ? p.amplitude[k] : p.stored[k], p.amplitude[k]};
    }
    if (const int c = channelOfTransformBuffer(buffer); c >= 0 && bin < published[c].half)
        return {published[c].transform[k].real(), published[c].transform[k].imag()};
    return buffers[buffer][k];
}

void QXFFT::copyXLocked(int buffer, int count, double* out) const
{
    int k = 0;
    if (const int c = channelOfSpectrumBuffer(buffer); c >= 0) {
        const Published& p = published[c];
        k = std::min(count, p.half);
        const double* x = p.storedIsAmplitude ? p.amplitude.data() : p.stored.data();
        std::copy(x, x + k, out);
    } else if (const int c = channelOfTransformBuffer(buffer); c >= 0) {
        k = std::min(count, published[c].half);
        for (int i = 0; i < k; ++i)
            out[i] = published[c].transform[std::size_t(i)].real();
    }
    for (; k < count; ++k)
        out[k] = buffers[buffer][std::size_t(k)].x;
}

ComplexDouble QXFFT::getcomplexDoubleFromBuffer(int buffer, long samplepoint) const
{
    if (buffer < 0 || buffer >= bufferCount)
        return {};
    const long index = std::clamp(samplepoint, 0L, long(bufferLength - 1));
    std::lock_guard lock(resultsMutex);
    return elementLocked(buffer, int(index));
}

void QXFFT::putcomplexDoubleToBuffer(int buffer, long samplepoint, ComplexDouble InDataX)
{
    if (buffer < 0 || buffer >= bufferCount || samplepoint < 0 || samplepoint >= bufferLength)
        return;
    const std::size_t k = std::size_t(samplepoint);
    std::lock_guard lock(resultsMutex);
    // A bin the tick handed over changes there (until the next tick replaces it).
    if (const int c = channelOfSpectrumBuffer(buffer); c >= 0 && samplepoint < published[c].half) {
        Published& p = published[c];
        if (p.storedIsAmplitude) {
            p.stored.assign(p.amplitude.begin(), p.amplitude.end());
            p.storedIsAmplitude = false;
        }
        p.stored[k] = InDataX.x;
        p.amplitude[k] = InDataX.y;
    } else if (const int c = channelOfTransformBuffer(buffer); c >= 0 && samplepoint < published[c].half) {
        published[c].transform[k] = {InDataX.x, InDataX.y};
    } else {
        buffers[buffer][k] = InDataX;
    }
}

int QXFFT::copySpectrum(int buffer, double* out, int max) const
{
    if (buffer < 0 || buffer >= bufferCount || max <= 0)
        return 0;
    std::lock_guard lock(resultsMutex);
    const int count = std::min(max, points / 2);
    copyXLocked(buffer, count, out);
    return count;
}

void QXFFT::copyChannelSpectra(int count, double* const out[channelCount]) const
{
    count = std::clamp(count, 0, bufferLength);
    std::lock_guard lock(resultsMutex);
    for (int c = 0; c < channelCount; ++c)
        copyXLocked(spectrumBufferOfChannel(c), count, out[c]);
}

int QXFFT::copyCoherence(int pair, double N, double* out, int max) const
{
    if (pair < 0 || pair >= pairCount || max <= 0)
        return 0;
    std::lock_guard lock(resultsMutex);
    const int count = std::min(max, coherencePoints / 2);
    for (int k = 0; k < count; ++k)
        out[k] = coherenceLocked(pair, N, k);
    return count;
}

int QXFFT::analysedPoints() const
{
    std::lock_guard lock(resultsMutex);
    return points;
}

BandSpectrum QXFFT::bandSpectrum(int source) const
{
    if (source < 0 || source > 9)
        return {};
    const int n = currentPoints();
    const int half = n / 2;
    BandSpectrum result;
    result.binHz = double(SampleSpeed.load(std::memory_order_relaxed)) / n;
    result.values.resize(static_cast<std::size_t>(half));

    if (source < channelCount) {
        const FFTTables& tables = fftinit(n);
        TransformScratch own;
        AlignedVector<Complex> spectrum;
        transformChannel(source, tables, own, spectrum);
        binAmplitudes(spectrum.data(), half, tables.windowSum, result.values.data());
        if (LOGpowerONed.load(std::memory_order_relaxed) != 0)
            for (double& a : result.values)
                a = logPower(a);
    } else {
        copyCoherence(pairOfSource(source), double(n), result.values.data(), half);
    }
    return result;
}

BandPeak QXFFT::bandPeakIn(const BandSpectrum& spectrum, float lowF, float highF, int mode)
{
    if (spectrum.values.empty())
        return {};
    const BandValue band =
        bandValue(spectrum.values.data(), int(spectrum.values.size()), spectrum.binHz, lowF, highF);
    BandPeak result;
    result.frequency = band.peakBin >= 0 ? float(band.peakBin * spectrum.binHz) : 0.0f;
    if (mode == 1)
        result.value = float(band.peak);
    else if (mode == 0)
        result.value = float(band.power);
    else
        result.value = lowF;
    return result;
}

BandPeak QXFFT::peakFFTbandQuery(int source, float lowF, float highF, int mode) const
{
    if (source < 0 || source > 9)
        return {};
    return bandPeakIn(bandSpectrum(source), lowF, highF, mode);
}

float QXFFT::peakFFTband(int source, float lowF, float highF, int mode) const
{
    const BandPeak result = peakFFTbandQuery(source, lowF, highF, mode);
    peakFrequencyX.store(result.frequency, std::memory_order_relaxed);
    return result.value;
}

float QXFFT::peakFFTbandF() const
{
    return peakFrequencyX.load(std::memory_order_relaxed);
}

}  // namespace nupo
