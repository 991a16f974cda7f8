#include "analysis/SpectrumMath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace nupo {

namespace {

constexpr float displayGains[9] = {10.0f, 5.0f, 3.0f, 2.0f, 1.5f, 1.0f, 0.5f, 0.2f, 0.1f};

// First and last bin of each row of the 512-band layout.
constexpr BinGroup band512[displayRows] = {
    {0, 0},     {1, 1},     {2, 2},     {3, 3},     {4, 4},     {5, 5},     {6, 6},     {7, 7},
    {8, 8},     {9, 9},     {10, 10},   {10, 10},   {11, 11},   {12, 12},   {13, 13},   {14, 14},
    {15, 15},   {16, 16},   {17, 17},   {17, 17},   {18, 18},   {19, 19},   {20, 21},   {22, 23},
    {24, 25},   {26, 27},   {28, 29},   {30, 31},   {32, 32},   {33, 33},   {34, 34},   {35, 36},
    {37, 38},   {39, 40},   {41, 42},   {43, 44},   {45, 46},   {47, 48},   {49, 50},   {51, 51},
    {52, 56},   {57, 62},   {63, 68},   {69, 73},   {74, 79},   {80, 85},   {86, 91},   {92, 97},
    {98, 105},  {106, 106}, {107, 115}, {116, 124}, {125, 133}, {134, 142}, {143, 151}, {152, 161},
    {162, 171}, {172, 181}, {182, 191}, {192, 192}, {193, 207}, {208, 223}, {224, 252}, {253, 255}};

constexpr BandEdges bandEdges[analysisBandCount] = {{0.0, 1.0},   {1.0, 4.0},   {4.0, 8.0},   {8.0, 12.5},
                                                    {12.5, 15.0}, {15.0, 20.5}, {20.5, 28.0}, {45.0, 65.0}};

}  // namespace

float gainIndexToDisplayGain(int index)
{
    return (index >= 0 && index < 9) ? displayGains[index] : 1.0f;
}

double sampleGainForIndex(int index)
{
    return 0.25 * double(gainIndexToDisplayGain(index));
}

int gainIndexOfChannel(int channel)
{
    switch (channel) {
        case 0:
            return setGain1Number.load(std::memory_order_relaxed);
        case 1:
            return setGain2Number.load(std::memory_order_relaxed);
        case 2:
            return setGain3Number.load(std::memory_order_relaxed);
        case 3:
            return setGain4Number.load(std::memory_order_relaxed);
        default:
            return 5;
    }
}

double logPower(double v)
{
    return v > 0.1 ? 10.0 * std::log10(v) + 10.0 : 0.0;
}

bool isMainsBin(int bin, int points, int sampleRate, int mainsHz)
{
    if (points <= 0 || sampleRate <= 0 || mainsHz <= 0)
        return false;
    const double binHz = double(sampleRate) / points;
    return std::abs(bin * binHz - mainsHz) < binHz;
}

namespace {

// Whether any of the eight values from v on lies above `limit`, asked two at a time.
bool anyAbove(const double* v, double limit)
{
    using Pair = double __attribute__((vector_size(16)));
    const Pair l = {limit, limit};
    Pair p[4];
    __builtin_memcpy(p, v, sizeof p);
    const auto above = (p[0] > l) | (p[1] > l) | (p[2] > l) | (p[3] > l);
    return (above[0] | above[1]) != 0;
}

}  // namespace

std::array<SpectrumPeak, 3> findThreePeaks(const double* spectrum, int count)
{
    std::array<SpectrumPeak, 3> peaks{};
    // Only a value above the third peak so far can enter (peaks stay sorted, the third starts at 0). Most
    // bins are not, so the scan asks that of eight bins at once and looks closer only where one is.
    constexpr int step = 8;
    for (int from = 1; from < count; from += step) {
        const double third = peaks[2].value;
        const int to = std::min(from + step, count);
        bool candidate = false;
        if (to - from == step) {
            candidate = anyAbove(spectrum + from, third);
        } else {
            for (int k = from; k < to; ++k)
                candidate |= spectrum[k] > third;
        }
        if (!candidate)
            continue;
        for (int k = from; k < to; ++k) {
            const double v = spectrum[k];
            if (!(v > peaks[2].value))
                continue;
            const bool rises = v > spectrum[k - 1];
            const bool holds = k + 1 >= count || v >= spectrum[k + 1];
            if (!rises || !holds || v <= 0.0)
                continue;
            for (int p = 0; p < 3; ++p) {
                if (v > peaks[std::size_t(p)].value) {
                    for (int q = 2; q > p; --q)
                        peaks[std::size_t(q)] = peaks[std::size_t(q - 1)];
                    peaks[std::size_t(p)] = {float(v), k};
                    break;
                }
            }
        }
    }
    return peaks;
}

BandEdges analysisBandEdges(int band)
{
    return (band >= 0 && band < analysisBandCount) ? bandEdges[band] : BandEdges{0.0, 0.0};
}

BandValue bandValue(const double* spectrum, int count, double binHz, double lowF, double highF)
{
    BandValue result;
    if (binHz <= 0.0 || count <= 0 || !(lowF <= highF))
        return result;
    const int first = std::max(0, int(std::ceil(lowF / binHz - 1e-9)));
    const int last = std::min(count - 1, int(std::floor(highF / binHz + 1e-9)));
    double sum = 0.0;
    for (int k = first; k <= last; ++k) {
        sum += spectrum[k];
        if (result.peakBin < 0 || spectrum[k] > result.peak) {
            result.peak = spectrum[k];
            result.peakBin = k;
        }
    }
    if (last >= first)
        result.power = sum / (last - first + 1);
    return result;
}

double analysisBandPower(const double* spectrum, int count, double binHz, int band)
{
    if (band < 0 || band >= analysisBandCount || binHz <= 0.0)
        return 0.0;
    const BandEdges e = bandEdges[band];
    const auto inBand = [&](int k) {
        const double f = k * binHz;
        return (f > e.low && f <= e.high) || (band == eyeBand && k == 0);
    };
    // The band's bins form one run (the eye band's 0 Hz bin adjoins the rest): find its ends near the
    // edges, then sum it in four interleaved sums, so the adds do not wait on one another.
    int first = std::max(0, int(e.low / binHz) - 1);
    int last = std::min(count - 1, int(e.high / binHz) + 1);
    while (first <= last && !inBand(first))
        ++first;
    while (last >= first && !inBand(last))
        --last;
    if (last < first)
        return 0.0;
    double sums[4] = {0.0, 0.0, 0.0, 0.0};
    int k = first;
    for (; k + 3 <= last; k += 4)
        for (int j = 0; j < 4; ++j)
            sums[j] += spectrum[k + j];
    for (; k <= last; ++k)
        sums[0] += spectrum[k];
    return ((sums[0] + sums[1]) + (sums[2] + sums[3])) / (last - first + 1);
}

double coherencePercent(std::complex<double> sxy, double sxx, double syy, double n, double level)
{
    if (!(n > 0.0) || sxx <= 0.0 || syy <= 0.0)
        return 0.0;
    if (std::sqrt(sxx * syy) / (n * n) <= level)
        return 0.0;
    const double msc = std::norm(sxy) / (sxx * syy);
    return std::min(100.0, 100.0 * msc);
}

BinGroup fft512BandBins(int row)
{
    return band512[std::clamp(row, 0, displayRows - 1)];
}

BinGroup fft512BandBins(int row, int points)
{
    const BinGroup g = fft512BandBins(row);
    if (points == 512)
        return g;
    const int first = int(std::int64_t(g.first) * points / 512);
    const int last = std::max(first, int(std::int64_t(g.last + 1) * points / 512) - 1);
    return {first, last};
}

int covFFT512BandFtoN(double hz)
{
    if (!(hz > 0.0))
        return 0;
    const double clamped = std::min(hz, 60.0);
    const int bin = std::min(255, int(std::lround(clamped * 512.0 / 120.0)));
    int row = 0;
    while (row + 1 < displayRows && band512[row + 1].first <= bin)
        ++row;
    return row;
}

float frequencyAjustForDisplay(float row)
{
    if (fftp.load(std::memory_order_relaxed) == 256 && fftp512Band.load(std::memory_order_relaxed) == 0 &&
        row > 1.0f)
        return row + 1.0f;
    return row;
}

}  // namespace nupo
