#include "analysis/FFTMath.h"
#include "analysis/SpectrumMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

using namespace nupo;

namespace {

// Direct DFT of real samples, bins 0 .. n / 2 - 1.
std::vector<Complex> directDFT(const std::vector<double>& x)
{
    const int n = int(x.size());
    std::vector<Complex> out(std::size_t(n / 2));
    for (int k = 0; k < n / 2; ++k) {
        Complex sum;
        for (int j = 0; j < n; ++j)
            sum += x[std::size_t(j)] * std::polar(1.0, -2.0 * std::numbers::pi * j * k / n);
        out[std::size_t(k)] = sum;
    }
    return out;
}

std::vector<Complex> realSpectrum(const std::vector<double>& x)
{
    const FFTTables& t = fftinit(int(x.size()));
    std::vector<Complex> out(x.size() / 2), work(x.size() / 2);
    realFFT(t, x.data(), out.data(), work.data());
    return out;
}

}  // namespace

TEST(FFTMath, MatchesTheDirectTransformAtEverySize)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> sample(-500.0, 500.0);
    for (int n = 128; n <= 2048; n *= 2) {
        std::vector<double> x(static_cast<std::size_t>(n));
        for (double& v : x)
            v = sample(random);
        const auto fast = realSpectrum(x);
        const auto slow = directDFT(x);
        double worst = 0.0;
        for (std::size_t k = 0; k < fast.size(); ++k)
            worst = std::max(worst, std::abs(fast[k] - slow[k]));
        EXPECT_LT(worst, 1e-7 * n * 500.0) << n << " points";
    }
}

TEST(FFTMath, LargestSizesMatchTheDirectTransformOnSampledBins)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> sample(-500.0, 500.0);
    for (int n : {4096, 8192}) {
        std::vector<double> x(static_cast<std::size_t>(n));
        for (double& v : x)
            v = sample(random);
        const auto fast = realSpectrum(x);
        // Every bin near the ends, the middle (where the untangling pairs meet) and the eighths of the
        // spectrum (where the last pass's butterflies and their mirrors meet), and a spread between.
        std::vector<int> bins;
        for (int k = 0; k < 9; ++k) {
            bins.insert(bins.end(), {k, n / 2 - 1 - k});
            for (int eighth = 1; eighth < 8; ++eighth)
                bins.push_back(eighth * n / 16 - 4 + k);
        }
        for (int k = 1; k < n / 2; k += 97)
            bins.push_back(k);
        double worst = 0.0;
        for (int k : bins) {
            Complex sum;
            for (int j = 0; j < n; ++j)
                sum += x[std::size_t(j)] * std::polar(1.0, -2.0 * std::numbers::pi * double(j) * k / n);
            worst = std::max(worst, std::abs(fast[std::size_t(k)] - sum));
        }
        EXPECT_LT(worst, 1e-7 * n * 500.0) << n << " points";
    }
}

TEST(FFTMath, LargestSizesPutASineOnItsBin)
{
    for (int n : {4096, 8192}) {
        const int bin = n / 8 + 3;
        std::vector<double> x(static_cast<std::size_t>(n));
        for (int j = 0; j < n; ++j)
            x[std::size_t(j)] = 3.0 * std::cos(2.0 * std::numbers::pi * bin * j / n);
        const auto out = realSpectrum(x);
        EXPECT_NEAR(std::abs(out[std::size_t(bin)]), 1.5 * n, 1e-6 * n);
        EXPECT_NEAR(std::abs(out[std::size_t(bin + 1)]), 0.0, 1e-6 * n);
        EXPECT_NEAR(std::abs(out[0]), 0.0, 1e-6 * n);
    }
}

// Buffers at any address give the same bits as cache-line aligned ones, at every size.
TEST(FFTMath, ResultDoesNotDependOnWhereTheBuffersLie)
{
    std::mt19937 random(13);
    std::uniform_real_distribution<double> sample(-2000.0, 2000.0);
    for (int n = 128; n <= 8192; n *= 2) {
        const FFTTables& t = fftinit(n);
        const std::size_t half = std::size_t(n / 2);
        AlignedVector<double> x(std::size_t(n) + 3);
        for (double& v : x)
            v = sample(random);
        AlignedVector<Complex> out(half), work(half);
        realFFT(t, x.data(), out.data(), work.data());
        for (int shift = 1; shift <= 3; ++shift) {
            // Shifted by one, two or three doubles; the complex buffers by half a complex when odd.
            AlignedVector<double> in(x.begin(), x.begin() + n + shift), outRaw(2 * half + 4),
                workRaw(2 * half + 4);
            std::copy(x.begin(), x.begin() + n, in.begin() + shift);
            Complex* o = reinterpret_cast<Complex*>(outRaw.data() + shift);
            Complex* w = reinterpret_cast<Complex*>(workRaw.data() + 4 - shift);
            realFFT(t, in.data() + shift, o, w);
            for (std::size_t k = 0; k < half; ++k) {
                ASSERT_EQ(o[k].real(), out[k].real()) << n << " points, shift " << shift << ", bin " << k;
                ASSERT_EQ(o[k].imag(), out[k].imag()) << n << " points, shift " << shift << ", bin " << k;
            }
        }
    }
}

TEST(FFTMath, SizesAndWindowTables)
{
    EXPECT_TRUE(isFFTSize(128));
    EXPECT_TRUE(isFFTSize(8192));
    EXPECT_FALSE(isFFTSize(100));
    EXPECT_FALSE(isFFTSize(16384));
    EXPECT_EQ(validFFTSize(0), 128);
    EXPECT_EQ(validFFTSize(-5), 128);
    EXPECT_EQ(validFFTSize(700), 512);
    EXPECT_EQ(validFFTSize(800), 1024);
    EXPECT_EQ(validFFTSize(1 << 20), 8192);
    EXPECT_EQ(fftinit(1000).points, 1024);

    const FFTTables& t = fftinit(256);
    EXPECT_EQ(t.window[0], 0);
    EXPECT_EQ(t.window[128], 32768);
    EXPECT_EQ(t.window[64], t.window[192]);
    EXPECT_NEAR(t.windowSum, 128.0, 1e-3);  // a Hann window averages one half
}

TEST(FFTMath, WindowedSineAmplitudeReadsItsAmplitude)
{
    const int n = 512;
    const FFTTables& t = fftinit(n);
    std::vector<double> x(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j)
        x[std::size_t(j)] =
            40.0 * std::sin(2.0 * std::numbers::pi * 20 * j / n) * t.window[std::size_t(j)] / 32768.0;
    const auto out = realSpectrum(x);
    EXPECT_NEAR(binAmplitude(out[20], t.windowSum), 40.0, 0.01);
    EXPECT_NEAR(binAmplitude(out[21], t.windowSum), 20.0, 0.01);  // the Hann main lobe
    EXPECT_NEAR(binAmplitude(out[23], t.windowSum), 0.0, 0.01);
}
