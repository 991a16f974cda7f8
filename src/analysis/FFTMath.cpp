#include "analysis/FFTMath.h"

#include <array>
#include <cmath>
#include <numbers>

namespace nupo {

namespace {

constexpr int sizeCount = 7;  // 128 .. 8192

int sizeIndex(int points)
{
    int index = 0;
    for (int n = minFFTPoints; n < points && index < sizeCount - 1; n *= 2)
        ++index;
    return index;
}

FFTTables buildTables(int points)
{
    FFTTables t;
    t.points = points;
    const int half = points / 2;

    int bits = 0;
    while ((1 << bits) < half)
        ++bits;
    t.bitReverse.resize(std::size_t(half));
    for (int i = 0; i < half; ++i) {
        int r = 0;
        for (int b = 0; b < bits; ++b)
            r |= ((i >> b) & 1) << (bits - 1 - b);
        t.bitReverse[std::size_t(i)] = r;
    }

    // Stage with butterflies of span h uses e^(-2 pi i j / 2h), j < h; stages are stored one after another.
    for (int h = 1; h < half; h *= 2)
        for (int j = 0; j < h; ++j)
            t.twiddles.push_back(std::polar(1.0, -std::numbers::pi * j / h));

    t.split.resize(std::size_t(half));
    for (int k = 0; k < half; ++k)
        t.split[std::size_t(k)] = std::polar(1.0, -2.0 * std::numbers::pi * k / points);

    // Periodic Hann window in 1/32768 units.
    t.window.resize(std::size_t(points));
    for (int i = 0; i < points; ++i) {
        const double w = 0.5 * (1.0 - std::cos(2.0 * std::numbers::pi * i / points));
        t.window[std::size_t(i)] = int(std::lround(w * 32768.0));
        t.windowSum += t.window[std::size_t(i)] / 32768.0;
    }
    return t;
}

const std::array<FFTTables, sizeCount>& allTables()
{
    static const std::array<FFTTables, sizeCount> tables = [] {
        std::array<FFTTables, sizeCount> built;
        for (int i = 0; i < sizeCount; ++i)
            built[std::size_t(i)] = buildTables(minFFTPoints << i);
        return built;
    }();
    return tables;
}

// In-place complex FFT of `n` points already in bit-reversed order. Products are written out so the
// compiler does not route them through the slow library multiply of std::complex.
void butterflies(double* a, int n, const Complex* twiddles)
{
    // Span 1 and span 2 need no multiplications.
    for (int s = 0; s < n; s += 4) {
        double* p = a + 2 * s;
        const double r0 = p[0] + p[2], i0 = p[1] + p[3];
        const double r1 = p[0] - p[2], i1 = p[1] - p[3];
        const double r2 = p[4] + p[6], i2 = p[5] + p[7];
        const double r3 = p[4] - p[6], i3 = p[5] - p[7];
        p[0] = r0 + r2;
        p[1] = i0 + i2;
        p[4] = r0 - r2;
        p[5] = i0 - i2;
        // times -i
        p[2] = r1 + i3;
        p[3] = i1 - r3;
        p[6] = r1 - i3;
        p[7] = i1 + r3;
    }
    const Complex* w = twiddles + 3;  // skip the tables of spans 1 and 2
    for (int h = 4; h < n; h *= 2) {
        const double* wd = reinterpret_cast<const double*>(w);
        for (int s = 0; s < n; s += 2 * h) {
            double* lo = a + 2 * s;
            double* hi = lo + 2 * h;
            for (int j = 0; j < h; ++j) {
                const double wr = wd[2 * j], wi = wd[2 * j + 1];
                const double xr = hi[2 * j], xi = hi[2 * j + 1];
                const double tr = wr * xr - wi * xi;
                const double ti = wr * xi + wi * xr;
                hi[2 * j] = lo[2 * j] - tr;
                hi[2 * j + 1] = lo[2 * j + 1] - ti;
                lo[2 * j] += tr;
                lo[2 * j + 1] += ti;
            }
        }
        w += h;
    }
}

}  // namespace

bool isFFTSize(int points)
{
    for (int n = minFFTPoints; n <= maxFFTPoints; n *= 2)
        if (n == points)
            return true;
    return false;
}

int validFFTSize(int points)
{
    if (points <= minFFTPoints)
        return minFFTPoints;
    if (points >= maxFFTPoints)
        return maxFFTPoints;
    int n = minFFTPoints;
    while (n * 2 <= points)
        n *= 2;
    return (points - n < 2 * n - points) ? n : 2 * n;
}

const FFTTables& fftinit(int points)
{
    return allTables()[std::size_t(sizeIndex(validFFTSize(points)))];
}

void initbitrevAndFFT()
{
    allTables();
}

void realFFT(const FFTTables& tables, const double* in, Complex* out, Complex* work)
{
    const int half = tables.points / 2;
    const int* rev = tables.bitReverse.data();
    double* z = reinterpret_cast<double*>(work);
    for (int k = 0; k < half; ++k) {
        const int r = rev[k];
        z[2 * r] = in[2 * k];
        z[2 * r + 1] = in[2 * k + 1];
    }
    butterflies(z, half, tables.twiddles.data());

    // Untangle the spectra of the even and the odd samples.
    const double* w = reinterpret_cast<const double*>(tables.split.data());
    double* o = reinterpret_cast<double*>(out);
    o[0] = z[0] + z[1];
    o[1] = 0.0;
    for (int k = 1; k < half; ++k) {
        const int m = half - k;
        const double ar = z[2 * k], ai = z[2 * k + 1];
        const double br = z[2 * m], bi = -z[2 * m + 1];  // conj(Z[n/2 - k])
        const double er = 0.5 * (ar + br), ei = 0.5 * (ai + bi);
        // (Z - conj) / 2i
        const double dr = 0.5 * (ai - bi), di = -0.5 * (ar - br);
        const double wr = w[2 * k], wi = w[2 * k + 1];
        o[2 * k] = er + wr * dr - wi * di;
        o[2 * k + 1] = ei + wr * di + wi * dr;
    }
}

}  // namespace nupo
