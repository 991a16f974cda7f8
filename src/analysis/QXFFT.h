#pragma once

#include "analysis/FFTMath.h"

#include <array>
#include <memory>
#include <mutex>
#include <vector>

class QObject;
class QTimer;

namespace nupo {

// One element of a spectrum buffer.
struct ComplexDouble {
    double x = 0.0;
    double y = 0.0;
};

// Value and frequency of a band query.
struct BandPeak {
    float value = 0.0f;
    float frequency = 0.0f;
};

// The spectrum a band query of one source searches: bins 0 .. fftp / 2 - 1, binHz apart.
struct BandSpectrum {
    std::vector<double> values;
    double binHz = 0.0;
};

// The analysis engine. Every 10 ms (a timer on the main thread, started by init()) it takes the newest
// `fftp` samples of CH 1..CH 4 (recording channels 1..4), windows and gains them, transforms them, zeroes
// the DC and mains bins, averages, stores the spectra, peaks and band powers, and feeds the coherence of
// the six channel pairs.
//
// Spectrum buffers (14 of 8192 elements): 0, 1, 3, 4 hold CH 1..CH 4 with x the stored spectrum (power
// or log power, averaged, as the settings say) and y the amplitude of the newest transform; 5..8 hold
// the complex transforms of CH 1..CH 4; 2 and 9..13 belong to whoever writes them.
//
// The tick owns the spectra; other threads read them through the accessors, which lock, so a reader
// always sees one whole tick's values.
class QXFFT {
public:
    static constexpr int bufferCount = 14;
    static constexpr int bufferLength = 8192;
    static constexpr int channelCount = 4;
    static constexpr int pairCount = 6;
    // Coherence averages the cross- and auto-spectra over this many segments; a new segment is taken
    // when the position has moved by half the FFT size since the last one, so the segments overlap by
    // at most one half and the average measures something even though the tick runs every 10 ms.
    static constexpr int coherenceSegments = 8;

    static QXFFT& sharedQXFFT();

    // Starts the 10 ms analysis timer on the main thread (once; later calls do nothing).
    void init();
    bool isRunning() const;

    // One analysis tick: the four channels and the coherence segment.
    void timerUpdate(QObject* sender = nullptr);

    // Analysis of one channel. CO non-zero keeps its transform for the coherence, BS non-zero writes its
    // peaks (`peakFFTA`.., row 0 of `PeakfftPower`).
    void getAndfftA(int CO, int BS) { analyseChannel(0, CO, BS); }
    void getAndfftB(int CO, int BS) { analyseChannel(1, CO, BS); }
    void getAndfftD(int CO, int BS) { analyseChannel(2, CO, BS); }
    void getAndfftE(int CO, int BS) { analyseChannel(3, CO, BS); }

    // Element of a buffer 0..13; the index is clamped to 0..8191. Another buffer reads {0, 0}.
    ComplexDouble getcomplexDoubleFromBuffer(int buffer, long samplepoint) const;
    // Stores an element; an index outside 0..8191 or another buffer stores nothing.
    void putcomplexDoubleToBuffer(int buffer, long samplepoint, ComplexDouble InDataX);

    // Coherence 0..100 at bin P of CH 1 & CH 2, CH 3 & CH 4, CH 1 & CH 3, CH 2 & CH 4, CH 2 & CH 3 and
    // CH 1 & CH 4, from the spectra divided by N.
    double CoherenceM(double N, long P) const { return coherence(0, N, P); }
    double CoherenceM2(double N, long P) const { return coherence(1, N, P); }
    double CoherenceM3(double N, long P) const { return coherence(2, N, P); }
    double CoherenceM4(double N, long P) const { return coherence(3, N, P); }
    double CoherenceM5(double N, long P) const { return coherence(4, N, P); }
    double CoherenceM6(double N, long P) const { return coherence(5, N, P); }
    // Pair 0..5 in the order above; 0 for another pair or a bin outside the spectrum.
    double coherence(int pair, double N, long P) const;
    // Pair of a coherence source 4..9 (CH 1 & CH 2, CH 3 & CH 4, CH 1 & CH 3, CH 2 & CH 4, CH 1 & CH 4,
    // CH 2 & CH 3), or -1.
    static int pairOfSource(int source);

    // Band query of a source 0..9 between two frequencies: mode 1 the highest value, mode 0 the band
    // power (mean value), any other mode the low frequency. Channels 0..3 are transformed afresh from the
    // newest samples at `ploop`, in scratch of the calling thread; sources 4..9 read the coherence. The
    // frequency is that of the highest value. Runs on any thread and writes nothing the tick owns.
    BandPeak peakFFTbandQuery(int source, float lowF, float highF, int mode) const;
    // The two halves of that query, for callers that ask many bands of one source at one position:
    // the source's spectrum (empty for a source outside 0..9), and the query of a band in it.
    BandSpectrum bandSpectrum(int source) const;
    static BandPeak bandPeakIn(const BandSpectrum& spectrum, float lowF, float highF, int mode);
    // The same value; also leaves the frequency in `peakFrequencyX` for peakFFTbandF.
    float peakFFTband(int source, float lowF, float highF, int mode) const;
    float peakFFTbandF() const;

    // Copies x of bins 0 .. count - 1 of a buffer (count = `fftp` / 2 of the last tick, at most `max`);
    // returns the count, 0 for another buffer.
    int copySpectrum(int buffer, double* out, int max) const;
    // Copies x of bins 0 .. count - 1 (count clamped to 0..8192) of the stored spectra of CH 1..CH 4 into
    // out[0..3], under one lock: what a view draws in one frame.
    void copyChannelSpectra(int count, double* const out[channelCount]) const;
    // Coherence of a pair (percent) at bins 0 .. count - 1, divided by N; returns the count.
    int copyCoherence(int pair, double N, double* out, int max) const;
    // Points of the last tick's transform.
    int analysedPoints() const;

private:
    QXFFT();

    // Buffers a transform needs only while it runs: one set serves the four channels in turn.
    struct TransformScratch {
        AlignedVector<int> raw;
        AlignedVector<double> samples;
        AlignedVector<Complex> work;
    };
    // What the tick computes for one channel; touched by the tick alone.
    struct ChannelWork {
        AlignedVector<Complex> spectrum;
        AlignedVector<double> amplitude;
        AlignedVector<double> average;  // the running mean, kept while averaging
        AlignedVector<double> stored;   // the stored form when it is not the amplitude itself
        bool storedIsAmplitude = true;
        int averagedPoints = 0;
    };
    // What the last tick handed over for one channel: the bins below `half` of its spectrum buffer
    // (x stored, y amplitude) and of its transform buffer. The arrays change hands with the work's
    // rather than being copied; the bins from `half` on stay in `buffers`.
    struct Published {
        AlignedVector<Complex> transform;
        AlignedVector<double> amplitude;
        AlignedVector<double> stored;  // unused while storedIsAmplitude
        bool storedIsAmplitude = true;
        int half = 0;
    };

    void analyseChannel(int channel, int CO, int BS);
    // The channel's analysis up to what it stores; returns the transform size.
    int computeChannel(int channel, int CO, int BS);
    // Windowed, gained transform of a channel's newest samples into `spectrum`; DC and mains bins zero.
    // Returns the DC offset (twice the weighted mean). Touches only the given scratch and spectrum.
    static double transformChannel(int channel, const FFTTables& tables, TransformScratch& scratch,
                                   AlignedVector<Complex>& spectrum);
    void publishLocked(int channel, int n);
    void takeCoherenceSegmentLocked(int points, int position);
    void resetCoherence(int points);
    double coherenceLocked(int pair, double N, int bin) const;
    // Channel and kind of a buffer the tick writes (-1 for the others).
    static int channelOfSpectrumBuffer(int buffer);
    static int channelOfTransformBuffer(int buffer);
    ComplexDouble elementLocked(int buffer, int bin) const;
    // x of bins 0 .. count - 1 of a buffer.
    void copyXLocked(int buffer, int count, double* out) const;

    TransformScratch scratch;
    ChannelWork work[channelCount];
    std::array<bool, channelCount> keepForCoherence{};

    mutable std::mutex resultsMutex;  // guards everything below
    std::vector<ComplexDouble> buffers[bufferCount];
    Published published[channelCount];
    int points = 0;
    // Coherence: a ring of segments (the transforms of the four channels) and the sums over it.
    int coherencePoints = 0;
    int segmentCount = 0;
    int nextSegment = 0;
    int lastSegmentPosition = 0;
    std::vector<Complex> segments[coherenceSegments][channelCount];
    std::vector<double> autoSums[channelCount];
    std::vector<Complex> crossSums[pairCount];

    QTimer* timer = nullptr;  // main thread
};

}  // namespace nupo
