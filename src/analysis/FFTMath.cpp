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
        for (int j = 0; j < h; ++j) {
            t.twiddleRe.push_back(std::cos(std::numbers::pi * j / h));
            t.twiddleIm.push_back(-std::sin(std::numbers::pi * j / h));
        }

    for (int k = 0; k < half; ++k) {
        t.splitRe.push_back(std::cos(2.0 * std::numbers::pi * k / points));
        t.splitIm.push_back(-std::sin(2.0 * std::numbers::pi * k / points));
    }

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

// The hot loops are compiled twice, for AVX2 with FMA and for the baseline, and the machine picks one
// when the program loads (not in sanitizer builds: the loader runs the chooser before the sanitizer's
// runtime is up).
#if defined(__x86_64__) && !defined(NUPO_SANITIZED)
#define NUPO_FFT_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define NUPO_FFT_CLONES
#endif

// Two stages (spans h and 2h) on one group of four quarter-blocks of h points each.
__attribute__((always_inline)) inline void radix4Block(
    double* __restrict r0, double* __restrict i0, double* __restrict r1, double* __restrict i1,
    double* __restrict r2, double* __restrict i2, double* __restrict r3, double* __restrict i3, int h,
    const double* __restrict w1r, const double* __restrict w1i, const double* __restrict w2r,
    const double* __restrict w2i)
{
    for (int j = 0; j < h; ++j) {
        const double wr = w1r[j], wi = w1i[j];
        const double vr = w2r[j], vi = w2i[j];
        // span h: (x0, x1) and (x2, x3) with w
        const double t1r = wr * r1[j] - wi * i1[j], t1i = wr * i1[j] + wi * r1[j];
        const double t3r = wr * r3[j] - wi * i3[j], t3i = wr * i3[j] + wi * r3[j];
        const double y0r = r0[j] + t1r, y0i = i0[j] + t1i;
        const double y1r = r0[j] - t1r, y1i = i0[j] - t1i;
        const double y2r = r2[j] + t3r, y2i = i2[j] + t3i;
        const double y3r = r2[j] - t3r, y3i = i2[j] - t3i;
        // span 2h: (y0, y2) with v, (y1, y3) with -i v
        const double u2r = vr * y2r - vi * y2i, u2i = vr * y2i + vi * y2r;
        const double u3r = vr * y3i + vi * y3r, u3i = vi * y3i - vr * y3r;
        r0[j] = y0r + u2r;
        i0[j] = y0i + u2i;
        r2[j] = y0r - u2r;
        i2[j] = y0i - u2i;
        r1[j] = y1r + u3r;
        i1[j] = y1i + u3i;
        r3[j] = y1r - u3r;
        i3[j] = y1i - u3i;
    }
}

// Takes the n / 2 complex points z[k] = in[2k] + i in[2k + 1] in bit-reversed order and runs the first two
// stages (spans 1 and 2, no multiplications) on the way, writing re and im in order.
NUPO_FFT_CLONES
void gatherFirstStages(const double* __restrict in, const int* __restrict rev, int n, double* __restrict re,
                       double* __restrict im)
{
    for (int s = 0; s < n; s += 4) {
        const double* a = in + 2 * rev[s];
        const double* b = in + 2 * rev[s + 1];
        const double* c = in + 2 * rev[s + 2];
        const double* d = in + 2 * rev[s + 3];
        const double r0 = a[0] + b[0], i0 = a[1] + b[1];
        const double r1 = a[0] - b[0], i1 = a[1] - b[1];
        const double r2 = c[0] + d[0], i2 = c[1] + d[1];
        const double r3 = c[0] - d[0], i3 = c[1] - d[1];
        re[s] = r0 + r2;
        im[s] = i0 + i2;
        re[s + 2] = r0 - r2;
        im[s + 2] = i0 - i2;
        re[s + 1] = r1 + i3;  // r3 times -i
        im[s + 1] = i1 - r3;
        re[s + 3] = r1 - i3;
        im[s + 3] = i1 + r3;
    }
}

// The stages of span 4 and up of an in-place complex FFT of `n` points (real parts in re, imaginary
// parts in im), after gatherFirstStages. The split layout lets the compiler run each loop over several
// points at once.
NUPO_FFT_CLONES
void butterflies(double* __restrict re, double* __restrict im, int n, const double* __restrict twRe,
                 const double* __restrict twIm)
{
    // Then two stages per pass (spans h and 2h), the last one alone when their number is odd.
    int h = 4;
    for (; 4 * h <= n; h *= 4) {
        const double* w1r = twRe + h - 1;  // span h
        const double* w1i = twIm + h - 1;
        const double* w2r = twRe + 2 * h - 1;  // span 2h
        const double* w2i = twIm + 2 * h - 1;
        for (int s = 0; s < n; s += 4 * h)
            radix4Block(re + s, im + s, re + s + h, im + s + h, re + s + 2 * h, im + s + 2 * h,
                        re + s + 3 * h, im + s + 3 * h, h, w1r, w1i, w2r, w2i);
    }
    if (h < n) {  // one stage left, of span h = n / 2
        const double* wr = twRe + h - 1;
        const double* wi = twIm + h - 1;
        for (int j = 0; j < h; ++j) {
            const double tr = wr[j] * re[h + j] - wi[j] * im[h + j];
            const double ti = wr[j] * im[h + j] + wi[j] * re[h + j];
            re[h + j] = re[j] - tr;
            im[h + j] = im[j] - ti;
            re[j] += tr;
            im[j] += ti;
        }
    }
}

// Untangles the spectra of the even and the odd samples into the spectrum of the real input.
NUPO_FFT_CLONES
void untangle(const double* __restrict re, const double* __restrict im, int half,
              const double* __restrict wRe, const double* __restrict wIm, double* __restrict out)
{
    out[0] = re[0] + im[0];
    out[1] = 0.0;
    for (int k = 1; k < half; ++k) {
        const int m = half - k;
        const double br = re[m], bi = -im[m];  // conj(Z[n/2 - k])
        const double er = 0.5 * (re[k] + br), ei = 0.5 * (im[k] + bi);
        const double dr = 0.5 * (im[k] - bi), di = -0.5 * (re[k] - br);  // (Z - conj) / 2i
        out[2 * k] = er + wRe[k] * dr - wIm[k] * di;
        out[2 * k + 1] = ei + wRe[k] * di + wIm[k] * dr;
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
    double* re = reinterpret_cast<double*>(work);
    double* im = re + half;
    gatherFirstStages(in, rev, half, re, im);
    butterflies(re, im, half, tables.twiddleRe.data(), tables.twiddleIm.data());
    untangle(re, im, half, tables.splitRe.data(), tables.splitIm.data(), reinterpret_cast<double*>(out));
}

}  // namespace nupo
