#include "analysis/FFTMath.h"

#include <algorithm>
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

int log2Of(int points)
{
    int bits = 0;
    while ((1 << bits) < points)
        ++bits;
    return bits;
}

FFTTables buildTables(int points)
{
    FFTTables t;
    t.points = points;
    const int half = points / 2;
    const int bits = log2Of(half);
    t.firstStages = (bits - 2) % 2 == 0 ? 2 : 3;

    // Block b of the first stages reads the points whose index is the bit reversal of b * 2^firstStages,
    // and the ones half / 2^firstStages apart from it.
    const int block = 1 << t.firstStages;
    for (int s = 0; s < half; s += block) {
        int r = 0;
        for (int b = 0; b < bits; ++b)
            r |= ((s >> b) & 1) << (bits - 1 - b);
        t.blockStart.push_back(r);
    }

    for (int h = block; h < half; h *= 4)
        for (int c = 0; c < h; c += 4)
            for (int q = 1; q <= 3; ++q) {
                for (int j = c; j < c + 4; ++j)
                    t.twiddles.push_back(std::cos(2.0 * std::numbers::pi * q * j / (4 * h)));
                for (int j = c; j < c + 4; ++j)
                    t.twiddles.push_back(-std::sin(2.0 * std::numbers::pi * q * j / (4 * h)));
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
#define NUPO_FFT_CLONES __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#else
#define NUPO_FFT_CLONES
#endif

// Four doubles, loaded and stored at any address; the AVX2 clone keeps one in a register. The helpers
// that take or return one are always inlined, so no call passes one (hence no ABI note).
#pragma GCC diagnostic ignored "-Wpsabi"
using Quad = double __attribute__((vector_size(32), aligned(8), may_alias));

__attribute__((always_inline)) inline Quad load(const double* p)
{
    Quad v;
    __builtin_memcpy(&v, p, sizeof v);  // an unaligned load (clang keeps a vector's alignment at 32)
    return v;
}

__attribute__((always_inline)) inline void store(double* p, Quad v)
{
    __builtin_memcpy(p, &v, sizeof v);
}

// Four-point DFT of (re[0..3], im[0..3]) in place, four transforms at once (one per lane).
__attribute__((always_inline)) inline void dft4(Quad* re, Quad* im)
{
    const Quad s0r = re[0] + re[2], s0i = im[0] + im[2];
    const Quad d0r = re[0] - re[2], d0i = im[0] - im[2];
    const Quad s1r = re[1] + re[3], s1i = im[1] + im[3];
    const Quad d1r = re[1] - re[3], d1i = im[1] - im[3];
    re[0] = s0r + s1r;
    im[0] = s0i + s1i;
    re[2] = s0r - s1r;
    im[2] = s0i - s1i;
    re[1] = d0r + d1i;  // d0 - i d1
    im[1] = d0i - d1r;
    re[3] = d0r - d1i;  // d0 + i d1
    im[3] = d0i + d1r;
}

// Eight-point DFT in place: the DFTs of the even and of the odd points, joined with e^(-2 pi i k / 8).
__attribute__((always_inline)) inline void dft8(Quad* re, Quad* im)
{
    Quad er[4] = {re[0], re[2], re[4], re[6]}, ei[4] = {im[0], im[2], im[4], im[6]};
    Quad orr[4] = {re[1], re[3], re[5], re[7]}, oi[4] = {im[1], im[3], im[5], im[7]};
    dft4(er, ei);
    dft4(orr, oi);
    constexpr double c = std::numbers::sqrt2 / 2.0;
    const Quad tr[4] = {orr[0], c * (orr[1] + oi[1]), oi[2], c * (oi[3] - orr[3])};
    const Quad ti[4] = {oi[0], c * (oi[1] - orr[1]), -orr[2], -c * (orr[3] + oi[3])};
    for (int k = 0; k < 4; ++k) {
        re[k] = er[k] + tr[k];
        im[k] = ei[k] + ti[k];
        re[k + 4] = er[k] - tr[k];
        im[k + 4] = ei[k] - ti[k];
    }
}

// Writes lane l of v[0..3] to out[l] .. out[l] + 3.
__attribute__((always_inline)) inline void storeTransposed(const Quad* v, double* const* out)
{
    const Quad t0 = __builtin_shufflevector(v[0], v[1], 0, 4, 2, 6);
    const Quad t1 = __builtin_shufflevector(v[0], v[1], 1, 5, 3, 7);
    const Quad t2 = __builtin_shufflevector(v[2], v[3], 0, 4, 2, 6);
    const Quad t3 = __builtin_shufflevector(v[2], v[3], 1, 5, 3, 7);
    store(out[0], __builtin_shufflevector(t0, t2, 0, 1, 4, 5));
    store(out[1], __builtin_shufflevector(t1, t3, 0, 1, 4, 5));
    store(out[2], __builtin_shufflevector(t0, t2, 2, 3, 6, 7));
    store(out[3], __builtin_shufflevector(t1, t3, 2, 3, 6, 7));
}

// Takes the complex points z[k] = in[2k] + i in[2k + 1] in bit-reversed order and runs the first two or
// three stages on the way (a DFT of 4 or 8 points per block), writing re and im in order. Block b reads
// the points from starts[b] on, half / 2^stages apart. The blocks b, b + q, b + 2q and b + 3q (a quarter
// q of the blocks apart) start at four neighbouring points, so they are read together and transformed
// one per lane.
template <int Stages>
__attribute__((always_inline)) inline void gatherBlocks(const double* __restrict in,
                                                        const int* __restrict starts, int half,
                                                        double* __restrict re, double* __restrict im)
{
    constexpr int block = 1 << Stages;
    const int quarter = half / block / 4;
    const int stride = 2 * (half >> Stages);  // between the points of a block, in doubles
    for (int b = 0; b < quarter; ++b) {
        const double* z = in + 2 * starts[b];
        Quad xr[block], xi[block];
        for (int t = 0; t < block; ++t) {
            // Lanes hold the points starts[b] + 0, 2, 1, 3: the blocks b, b + q, b + 2q, b + 3q.
            const Quad lo = load(z + t * stride), hi = load(z + t * stride + 4);
            xr[t] = __builtin_shufflevector(lo, hi, 0, 4, 2, 6);
            xi[t] = __builtin_shufflevector(lo, hi, 1, 5, 3, 7);
        }
        if constexpr (Stages == 2)
            dft4(xr, xi);
        else
            dft8(xr, xi);
        for (int k = 0; k < block; k += 4) {
            double* outRe[4];
            double* outIm[4];
            for (int l = 0; l < 4; ++l) {
                outRe[l] = re + block * (b + l * quarter) + k;
                outIm[l] = im + block * (b + l * quarter) + k;
            }
            storeTransposed(xr + k, outRe);
            storeTransposed(xi + k, outIm);
        }
    }
}

__attribute__((always_inline)) inline void gatherFirstStages(const double* __restrict in,
                                                             const int* __restrict starts, int half,
                                                             int stages, double* __restrict re,
                                                             double* __restrict im)
{
    if (stages == 2)
        gatherBlocks<2>(in, starts, half, re, im);
    else
        gatherBlocks<3>(in, starts, half, re, im);
}

// Complex products w x of four lanes.
__attribute__((always_inline)) inline void multiply(Quad wr, Quad wi, Quad xr, Quad xi, Quad& outRe,
                                                    Quad& outIm)
{
    outRe = wr * xr - wi * xi;
    outIm = wr * xi + wi * xr;
}

// The radix-4 butterflies of four neighbouring j (one per lane): x[q] are the points j + q h of a group,
// the inputs 4i, 4i + 2, 4i + 1 and 4i + 3 as the bit-reversed order leaves them, and w[q - 1] the
// twiddle w^q. The outputs y[q] go to j + q h.
struct Butterfly {
    Quad xr[4], xi[4];
    Quad wr[3], wi[3];
    Quad yr[4], yi[4];

    __attribute__((always_inline)) inline void run()
    {
        Quad a1r, a1i, a2r, a2i, a3r, a3i;
        multiply(wr[0], wi[0], xr[2], xi[2], a1r, a1i);
        multiply(wr[1], wi[1], xr[1], xi[1], a2r, a2i);
        multiply(wr[2], wi[2], xr[3], xi[3], a3r, a3i);
        const Quad s02r = xr[0] + a2r, s02i = xi[0] + a2i;
        const Quad d02r = xr[0] - a2r, d02i = xi[0] - a2i;
        const Quad s13r = a1r + a3r, s13i = a1i + a3i;
        const Quad d13r = a1r - a3r, d13i = a1i - a3i;
        yr[0] = s02r + s13r;
        yi[0] = s02i + s13i;
        yr[2] = s02r - s13r;
        yi[2] = s02i - s13i;
        yr[1] = d02r + d13i;  // d02 - i d13
        yi[1] = d02i - d13r;
        yr[3] = d02r - d13i;  // d02 + i d13
        yi[3] = d02i + d13r;
    }
};

// One radix-4 pass of span h (a multiple of 4): for every group of 4h points, joins four DFTs of h points
// into one of 4h points. The twiddles come four j at a time: w, w^2 and w^3, real then imaginary parts.
template <int FixedH>
__attribute__((always_inline)) inline void radix4Pass(double* __restrict re, double* __restrict im, int n,
                                                      int runtimeH, const double* __restrict tw)
{
    const int h = FixedH > 0 ? FixedH : runtimeH;
    for (int s = 0; s < n; s += 4 * h) {
        double* r = re + s;
        double* i = im + s;
        const double* w = tw;
        for (int j = 0; j < h; j += 4, w += 24) {
            Butterfly b;
            for (int q = 0; q < 4; ++q) {
                b.xr[q] = load(r + q * h + j);
                b.xi[q] = load(i + q * h + j);
            }
            for (int q = 0; q < 3; ++q) {
                b.wr[q] = load(w + 8 * q);
                b.wi[q] = load(w + 8 * q + 4);
            }
            b.run();
            for (int q = 0; q < 4; ++q) {
                store(r + q * h + j, b.yr[q]);
                store(i + q * h + j, b.yi[q]);
            }
        }
    }
}

// A pass of span h; the smallest spans with their loops laid out in full (their twiddles stay in
// registers across the groups).
__attribute__((always_inline)) inline void radix4Pass(double* __restrict re, double* __restrict im, int n,
                                                      int h, const double* __restrict tw)
{
    if (h == 4)
        radix4Pass<4>(re, im, n, h, tw);
    else if (h == 8)
        radix4Pass<8>(re, im, n, h, tw);
    else
        radix4Pass<0>(re, im, n, h, tw);
}

// Untangles the spectra of the even and the odd samples into the spectrum of the real input. Bins k and
// half - k come from the same two points: with E and D the even and odd parts and T = e^(-2 pi i k / n) D,
// bin k is E + T and bin half - k is conj(E - T). T is the same expression for one pair or four (lanes).
template <typename T>
__attribute__((always_inline)) inline void untanglePair(T kr, T ki, T mr, T mi, T wr, T wi, T& ar, T& ai,
                                                        T& br, T& bi)
{
    const T er = 0.5 * (kr + mr), ei = 0.5 * (ki - mi);
    const T dr = 0.5 * (ki + mi), di = 0.5 * (mr - kr);
    const T tr = wr * dr - wi * di, ti = wr * di + wi * dr;
    ar = er + tr;
    ai = ei + ti;
    br = er - tr;
    bi = ti - ei;
}

// Bins k .. k + 3 from K (lanes in order) and bins half - k .. half - k - 3 from M (lane l holds bin
// half - k - l), with the twiddles of k .. k + 3; both results go to out as complex pairs.
__attribute__((always_inline)) inline void untangleLanes(Quad kr, Quad ki, Quad mr, Quad mi,
                                                         const double* wRe, const double* wIm, int k,
                                                         int half, double* out)
{
    Quad ar, ai, br, bi;
    untanglePair(kr, ki, mr, mi, load(wRe + k), load(wIm + k), ar, ai, br, bi);
    const int m = half - k - 3;
    store(out + 2 * k, __builtin_shufflevector(ar, ai, 0, 4, 1, 5));
    store(out + 2 * k + 4, __builtin_shufflevector(ar, ai, 2, 6, 3, 7));
    store(out + 2 * m, __builtin_shufflevector(br, bi, 3, 7, 2, 6));
    store(out + 2 * m + 4, __builtin_shufflevector(br, bi, 1, 5, 0, 4));
}

__attribute__((always_inline)) inline Quad reversed(Quad v)
{
    return __builtin_shufflevector(v, v, 3, 2, 1, 0);
}

// The last radix-4 pass (span h = half / 4) joined with the untangling, so that the pass's results go
// straight into the spectrum. Butterfly j gives the points j + q h, butterfly h - j the points
// (q + 1) h - j, and the untangling pairs bin k with bin half - k: so butterflies j and h - j together
// complete four pairs. The loop takes j = h / 2 .. h - 1 four at a time, each with h - j read in
// reversed lanes (so j = h / 2 is done twice, alike); butterfly 0 pairs with itself. The twiddles of
// h - j follow from those of j: w^q(h - j) = (-i)^q conj(w^q(j)).
__attribute__((always_inline)) inline void lastPassAndUntangle(
    const double* __restrict re, const double* __restrict im, int half, const double* __restrict tw,
    const double* __restrict wRe, const double* __restrict wIm, double* __restrict out)
{
    const int h = half / 4;  // a multiple of 16
    // Butterfly 0 has no twiddles; bins 0 and half / 2 stand alone, h and 3h pair.
    const double s02r = re[0] + re[h], s02i = im[0] + im[h], d02r = re[0] - re[h], d02i = im[0] - im[h];
    const double s13r = re[2 * h] + re[3 * h], s13i = im[2 * h] + im[3 * h];
    const double d13r = re[2 * h] - re[3 * h], d13i = im[2 * h] - im[3 * h];
    out[0] = s02r + s13r + s02i + s13i;
    out[1] = 0.0;
    out[4 * h] = s02r - s13r;  // bin 2h = half / 2
    out[4 * h + 1] = s13i - s02i;
    untanglePair(d02r + d13i, d02i - d13r, d02r - d13i, d02i + d13r, wRe[h], wIm[h], out[2 * h],
                 out[2 * h + 1], out[6 * h], out[6 * h + 1]);

    for (int j = h / 2; j < h; j += 4) {
        const double* w = tw + (j / 4) * 24;
        Butterfly y, z;
        const int mirror = h - j - 3;  // z lane l holds h - j - l
        for (int q = 0; q < 4; ++q) {
            y.xr[q] = load(re + q * h + j);
            y.xi[q] = load(im + q * h + j);
            z.xr[q] = reversed(load(re + q * h + mirror));
            z.xi[q] = reversed(load(im + q * h + mirror));
        }
        for (int q = 0; q < 3; ++q) {
            y.wr[q] = load(w + 8 * q);
            y.wi[q] = load(w + 8 * q + 4);
        }
        z.wr[0] = -y.wi[0];
        z.wi[0] = -y.wr[0];
        z.wr[1] = -y.wr[1];
        z.wi[1] = y.wi[1];
        z.wr[2] = y.wi[2];
        z.wi[2] = y.wr[2];
        y.run();
        z.run();
        // y[q] holds bins j + q h, z[3 - q] bins half - (j + q h).
        for (int q = 0; q < 4; ++q)
            untangleLanes(y.yr[q], y.yi[q], z.yr[3 - q], z.yi[3 - q], wRe, wIm, j + q * h, half, out);
    }
}

// The whole transform in one function, so that the machine's variant is chosen once per transform
// rather than once per pass (which costs a tenth of a small transform).
NUPO_FFT_CLONES
void transform(const FFTTables& tables, const double* in, double* out, double* work)
{
    const int half = tables.points / 2;
    double* re = work;
    double* im = re + half;
    gatherFirstStages(in, tables.blockStart.data(), half, tables.firstStages, re, im);
    // The last pass (span half / 4) runs together with the untangling. Of the others, the passes that
    // stay within chunks of up to chunkLimit points run chunk by chunk, so that a chunk stays in the
    // first-level cache through them; the rest run over the whole.
    constexpr int chunkLimit = 1024;
    const int last = half / 4;
    const int first = 1 << tables.firstStages;
    int chunk = first;
    while (4 * chunk <= std::min(last, chunkLimit))
        chunk *= 4;
    for (int base = 0; base < half; base += chunk) {
        const double* tw = tables.twiddles.data();
        for (int h = first; 4 * h <= chunk; tw += 6 * h, h *= 4)
            radix4Pass(re + base, im + base, chunk, h, tw);
    }
    const double* tw = tables.twiddles.data();
    for (int h = first; h < last; tw += 6 * h, h *= 4)
        if (4 * h > chunk)
            radix4Pass(re, im, half, h, tw);
    lastPassAndUntangle(re, im, half, tw, tables.splitRe.data(), tables.splitIm.data(), out);
}

// The square roots vectorise because this file is built without errno for math functions.
NUPO_FFT_CLONES
void amplitudeLoop(const double* __restrict x, int count, double scale, double* __restrict out)
{
    for (int k = 0; k < count; ++k)
        out[k] = scale * std::sqrt(x[2 * k] * x[2 * k] + x[2 * k + 1] * x[2 * k + 1]);
}

// The same, written twice: the square roots set the pace, so the second store costs next to nothing.
NUPO_FFT_CLONES
void amplitudeLoop2(const double* __restrict x, int count, double scale, double* __restrict out,
                    double* __restrict copy)
{
    for (int k = 0; k < count; ++k) {
        const double a = scale * std::sqrt(x[2 * k] * x[2 * k] + x[2 * k + 1] * x[2 * k + 1]);
        out[k] = a;
        copy[k] = a;
    }
}

NUPO_FFT_CLONES
void windowLoop(const int* __restrict samples, const int* __restrict window, int count, double gain,
                double* __restrict out)
{
    for (int i = 0; i < count; ++i)
        out[i] = samples[i] * gain * window[i];
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

void binAmplitudes(const Complex* x, int count, double windowSum, double* out, double* copy)
{
    if (windowSum > 0.0 && copy)
        amplitudeLoop2(reinterpret_cast<const double*>(x), count, 2.0 / windowSum, out, copy);
    else if (windowSum > 0.0)
        amplitudeLoop(reinterpret_cast<const double*>(x), count, 2.0 / windowSum, out);
    else {
        std::fill(out, out + count, 0.0);
        if (copy)
            std::fill(copy, copy + count, 0.0);
    }
}

void windowSamples(const FFTTables& tables, const int* samples, double gain, double* out)
{
    windowLoop(samples, tables.window.data(), tables.points, gain, out);
}

void realFFT(const FFTTables& tables, const double* in, Complex* out, Complex* work)
{
    transform(tables, in, reinterpret_cast<double*>(out), reinterpret_cast<double*>(work));
}

}  // namespace nupo
