#pragma once

// Spectrum arithmetic of the analysis: gains, log power, peak search, band powers, coherence, and the
// 64-row display layouts. Pure functions of their arguments.

#include "shared/AnalysisState.h"

#include <array>
#include <complex>

namespace nupo {

// Display gain G of a gain index 0..8 (10, 5, 3, 2, 1.5, 1, 0.5, 0.2, 0.1); any other index gives 1.0.
float gainIndexToDisplayGain(int index);
// Factor applied to the samples of a channel: G / 4, the scale of the raw-wave traces (0.25 per count).
double sampleGainForIndex(int index);
// Gain index of CH 1..CH 4 (channel 0..3); 5 (G = 1) for any other channel.
int gainIndexOfChannel(int channel);

// Log power form of a value: 10 * log10(v) + 10, and 0 for values at or below 1e-1 (so never negative).
double logPower(double v);

// Frequency in Hz of a bin.
inline double binFrequency(int bin, int points, int sampleRate)
{
    return points > 0 ? double(bin) * sampleRate / points : 0.0;
}

// Bins of the mains frequency: those whose centre lies less than one bin from it.
bool isMainsBin(int bin, int points, int sampleRate, int mainsHz);

struct SpectrumPeak {
    float value = 0.0f;
    int bin = 0;
};

// The three highest local maxima (value above the left neighbour, not below the right one) among bins
// 1 .. count - 1, strongest first; missing peaks are {0, 0}.
std::array<SpectrumPeak, 3> findThreePeaks(const double* spectrum, int count);

// Frequency edges of the analysis bands (eye, delta, theta, alpha, low beta, mid beta, high beta, AC): a
// band holds f when low < f <= high; the eye band also holds 0 Hz.
struct BandEdges {
    double low;
    double high;
};
BandEdges analysisBandEdges(int band);

// Mean spectrum value over the bins whose frequency lies in [lowF, highF] (0 when no bin does), and the
// bin of the highest value among them (-1 when none).
struct BandValue {
    double power = 0.0;
    double peak = 0.0;
    int peakBin = -1;
};
BandValue bandValue(const double* spectrum, int count, double binHz, double lowF, double highF);
// The same with the band convention of analysisBandEdges (low edge excluded except at 0 Hz).
double analysisBandPower(const double* spectrum, int count, double binHz, int band);

// Magnitude-squared coherence in percent from averaged cross- and auto-spectra (sums over the same
// segments); 0 when sqrt(sxx * syy) / n^2 is at or below `level`, at most 100.
double coherencePercent(std::complex<double> sxy, double sxx, double syy, double n, double level);

// --- Display rows -------------------------------------------------------------------------------------

inline constexpr int displayRows = 64;

// The 512-band layout: each of the 64 rows covers a fixed group of bins of a 512-point spectrum (one bin
// at low frequencies, growing groups higher up), so 64 rows cover 0..60 Hz at 120 samples per second.
// A row shows the largest value of its group. The last row takes bins 253..255, the ones above row 62.
struct BinGroup {
    int first;
    int last;
};
BinGroup fft512BandBins(int row);
// The same group in a spectrum of `points` points (the bins scaled by points / 512; at least one bin).
BinGroup fft512BandBins(int row, int points);

// Row 0..63 of a frequency in the 512-band layout; the frequency is clamped to 0..60 Hz first. Row 0 is
// 0 Hz, rows grow with the frequency, 60 Hz is row 63.
int covFFT512BandFtoN(double hz);

// Display position of a row: with 256 points and linear rows every row above 1 sits one place higher;
// otherwise the row itself.
float frequencyAjustForDisplay(float row);

}  // namespace nupo
