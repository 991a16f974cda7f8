#include "analysis/SpectrumMath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

using namespace nupo;

TEST(SpectrumMath, GainTablesFallBackToUnityOutsideTheirRange)
{
    EXPECT_FLOAT_EQ(gainIndexToDisplayGain(0), 10.0f);
    EXPECT_FLOAT_EQ(gainIndexToDisplayGain(4), 1.5f);
    EXPECT_FLOAT_EQ(gainIndexToDisplayGain(8), 0.1f);
    EXPECT_FLOAT_EQ(gainIndexToDisplayGain(9), 1.0f);
    EXPECT_FLOAT_EQ(gainIndexToDisplayGain(-1), 1.0f);
    EXPECT_DOUBLE_EQ(sampleGainForIndex(0), 2.5);
    EXPECT_DOUBLE_EQ(sampleGainForIndex(42), 0.25);

    setGain3Number = 1;
    EXPECT_EQ(gainIndexOfChannel(2), 1);
    EXPECT_EQ(gainIndexOfChannel(7), 5);
    displayGainX[1] = 0.0f;
    EXPECT_FLOAT_EQ(displayGainOfChannel(1), 1.0f);
    displayGainX[2] = 3.0f;
    EXPECT_FLOAT_EQ(displayGainOfChannel(2), 3.0f);
    EXPECT_FLOAT_EQ(displayGainOfChannel(4), 1.0f);
    EXPECT_FLOAT_EQ(displayGainOfChannel(-1), 1.0f);
}

TEST(SpectrumMath, LogPowerInvertsAsTheMappersExpect)
{
    EXPECT_DOUBLE_EQ(logPower(1.0), 10.0);
    EXPECT_DOUBLE_EQ(logPower(100.0), 30.0);
    EXPECT_DOUBLE_EQ(logPower(0.0), 0.0);
    EXPECT_DOUBLE_EQ(logPower(-3.0), 0.0);
    const double x = logPower(42.0);
    EXPECT_NEAR(std::pow(10.0, x / 10.0 - 1.0), 42.0, 1e-9);
}

TEST(SpectrumMath, MainsBinsAreTheOnesWithinABin)
{
    // 256 points at 256 Hz: 1 Hz bins, 60 Hz exactly on bin 60.
    EXPECT_TRUE(isMainsBin(60, 256, 256, 60));
    EXPECT_FALSE(isMainsBin(59, 256, 256, 60));
    EXPECT_FALSE(isMainsBin(61, 256, 256, 60));
    // 256 points at 120 Hz: 50 Hz lies between bins 106 and 107.
    EXPECT_TRUE(isMainsBin(106, 256, 120, 50));
    EXPECT_TRUE(isMainsBin(107, 256, 120, 50));
    EXPECT_FALSE(isMainsBin(105, 256, 120, 50));
    EXPECT_FALSE(isMainsBin(10, 0, 120, 50));
}

TEST(SpectrumMath, PeakSearchFindsLocalMaximaStrongestFirst)
{
    std::vector<double> s(64, 0.0);
    s[10] = 5.0;
    s[11] = 4.0;  // shoulder of the peak at 10: not a peak
    s[20] = 9.0;
    s[30] = 2.0;
    s[40] = 7.0;
    s[63] = 3.0;  // a rising last bin counts
    const auto peaks = findThreePeaks(s.data(), 64);
    EXPECT_EQ(peaks[0].bin, 20);
    EXPECT_EQ(peaks[1].bin, 40);
    EXPECT_EQ(peaks[2].bin, 10);
    EXPECT_FLOAT_EQ(peaks[2].value, 5.0f);

    std::vector<double> flat(64, 0.0);
    flat[5] = 1.0;
    const auto one = findThreePeaks(flat.data(), 64);
    EXPECT_EQ(one[0].bin, 5);
    EXPECT_EQ(one[1].bin, 0);
    EXPECT_FLOAT_EQ(one[2].value, 0.0f);
}

TEST(SpectrumMath, BandValuesAveragePeakAndIgnoreEmptyBands)
{
    std::vector<double> s(128, 1.0);
    s[20] = 9.0;
    const double binHz = 0.5;
    const BandValue v = bandValue(s.data(), 128, binHz, 8.0, 12.0);  // bins 16..24
    EXPECT_EQ(v.peakBin, 20);
    EXPECT_DOUBLE_EQ(v.peak, 9.0);
    EXPECT_DOUBLE_EQ(v.power, (8.0 + 9.0) / 9.0);
    EXPECT_EQ(bandValue(s.data(), 128, binHz, 12.0, 8.0).peakBin, -1);
    EXPECT_EQ(bandValue(s.data(), 128, binHz, 100.0, 200.0).peakBin, -1);

    // Band edges: a band holds its high edge, not its low edge.
    std::vector<double> b(128, 0.0);
    b[16] = 8.0;  // 8 Hz: theta's high edge
    EXPECT_GT(analysisBandPower(b.data(), 128, binHz, thetaBand), 0.0);
    EXPECT_DOUBLE_EQ(analysisBandPower(b.data(), 128, binHz, alphaBand), 0.0);
    b[0] = 4.0;
    EXPECT_DOUBLE_EQ(analysisBandPower(b.data(), 128, binHz, eyeBand), 4.0 / 3.0);  // bins 0, 1, 2
    EXPECT_DOUBLE_EQ(analysisBandPower(b.data(), 128, binHz, 8), 0.0);
}

namespace {

// The three highest local maxima by one plain pass over every bin.
std::array<SpectrumPeak, 3> plainThreePeaks(const std::vector<double>& s)
{
    std::array<SpectrumPeak, 3> peaks{};
    const int count = int(s.size());
    for (int k = 1; k < count; ++k) {
        const double v = s[std::size_t(k)];
        if (!(v > s[std::size_t(k - 1)]) || (k + 1 < count && !(v >= s[std::size_t(k + 1)])) || !(v > 0.0))
            continue;
        for (int p = 0; p < 3; ++p)
            if (v > peaks[std::size_t(p)].value) {
                for (int q = 2; q > p; --q)
                    peaks[std::size_t(q)] = peaks[std::size_t(q - 1)];
                peaks[std::size_t(p)] = {float(v), k};
                break;
            }
    }
    return peaks;
}

}  // namespace

// Spectra of every length near the block size, with plateaus, ties, zeros and rising ends: the peak
// search and the band powers give what one plain pass over every bin gives.
TEST(SpectrumMath, PeaksAndBandPowersMatchAPlainScan)
{
    std::mt19937 random(17);
    std::uniform_real_distribution<double> value(0.0, 100.0);
    std::uniform_int_distribution<int> level(0, 6);
    for (int count = 1; count < 70; ++count) {
        for (int trial = 0; trial < 20; ++trial) {
            std::vector<double> s(static_cast<std::size_t>(count));
            for (double& v : s)
                v = trial % 2 ? value(random) : double(level(random));  // odd trials: ties and plateaus
            if (trial == 4)
                std::sort(s.begin(), s.end());  // rising to the last bin
            const auto fast = findThreePeaks(s.data(), count);
            const auto plain = plainThreePeaks(s);
            for (int p = 0; p < 3; ++p) {
                ASSERT_EQ(fast[std::size_t(p)].bin, plain[std::size_t(p)].bin) << count << "/" << trial;
                ASSERT_EQ(fast[std::size_t(p)].value, plain[std::size_t(p)].value) << count << "/" << trial;
            }
        }
    }
    std::vector<double> s(4096);
    for (double& v : s)
        v = value(random);
    for (const double binHz : {120.0 / 8192, 120.0 / 256, 0.5, 1.0, 3.0, 128.0 / 512}) {
        for (int band = -1; band <= analysisBandCount; ++band) {
            const BandEdges e = analysisBandEdges(band);
            double sum = 0.0;
            int n = 0;
            for (int k = 0; k < 4096; ++k) {
                const double f = k * binHz;
                if (band >= 0 && band < analysisBandCount &&
                    ((f > e.low && f <= e.high) || (band == eyeBand && k == 0))) {
                    sum += s[std::size_t(k)];
                    ++n;
                }
            }
            const double plain = n > 0 ? sum / n : 0.0;
            EXPECT_NEAR(analysisBandPower(s.data(), 4096, binHz, band), plain, 1e-12 * plain)
                << binHz << " Hz bins, band " << band;
        }
    }
}

TEST(SpectrumMath, CoherenceIsBoundedAndGatedByLevel)
{
    EXPECT_DOUBLE_EQ(coherencePercent({4.0, 0.0}, 4.0, 4.0, 1.0, 1e-6), 100.0);
    EXPECT_DOUBLE_EQ(coherencePercent({1.0, 1.0}, 4.0, 4.0, 1.0, 1e-6), 12.5);
    EXPECT_DOUBLE_EQ(coherencePercent({5.0, 0.0}, 4.0, 4.0, 1.0, 1e-6), 100.0);  // capped
    EXPECT_DOUBLE_EQ(coherencePercent({4.0, 0.0}, 4.0, 4.0, 1.0, 4.0), 0.0);     // at the level
    EXPECT_DOUBLE_EQ(coherencePercent({4.0, 0.0}, 4.0, 4.0, 0.0, 1e-6), 0.0);
    EXPECT_DOUBLE_EQ(coherencePercent({0.0, 0.0}, 0.0, 4.0, 1.0, 1e-6), 0.0);
}

TEST(SpectrumMath, Band512RowsAreMonotonicOverSixtyHertz)
{
    EXPECT_EQ(covFFT512BandFtoN(0.0), 0);
    EXPECT_EQ(covFFT512BandFtoN(-4.0), 0);
    EXPECT_EQ(covFFT512BandFtoN(60.0), 63);
    EXPECT_EQ(covFFT512BandFtoN(500.0), 63);
    EXPECT_EQ(covFFT512BandFtoN(2.0), 9);    // bin 8.5 of 512 at 120 Hz
    EXPECT_EQ(covFFT512BandFtoN(12.0), 39);  // bin 51.2, alone in row 39
    int previous = 0;
    for (double hz = 0.0; hz <= 60.0; hz += 0.05) {
        const int row = covFFT512BandFtoN(hz);
        EXPECT_GE(row, previous) << hz;
        previous = row;
    }
    // Every bin of a 512-point spectrum below 256 belongs to a row, and rows do not go backwards.
    int last = -1;
    for (int r = 0; r < displayRows; ++r) {
        const BinGroup g = fft512BandBins(r);
        EXPECT_LE(g.first, g.last);
        EXPECT_GE(g.first, last);
        EXPECT_LE(g.first, last + 1);
        last = g.last;
    }
    EXPECT_EQ(last, 255);
    // Scaled to 2048 points, the groups cover four times the bins.
    EXPECT_EQ(fft512BandBins(63, 2048).first, 1012);
    EXPECT_EQ(fft512BandBins(63, 2048).last, 1023);
    EXPECT_EQ(fft512BandBins(0, 128).last, 0);
}

TEST(SpectrumMath, DisplayAdjustmentOnlyAtTwoHundredFiftySixLinear)
{
    fftp = 256;
    fftp512Band = 0;
    EXPECT_FLOAT_EQ(frequencyAjustForDisplay(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(frequencyAjustForDisplay(1.0f), 1.0f);
    EXPECT_FLOAT_EQ(frequencyAjustForDisplay(5.0f), 6.0f);
    fftp512Band = 1;
    EXPECT_FLOAT_EQ(frequencyAjustForDisplay(5.0f), 5.0f);
    fftp512Band = 0;
    fftp = 512;
    EXPECT_FLOAT_EQ(frequencyAjustForDisplay(5.0f), 5.0f);
}
