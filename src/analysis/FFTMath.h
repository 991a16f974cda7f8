#pragma once

// The real FFT of the analysis and its tables. Tables are built once per size (powers of two 128..8192)
// and never change afterwards, so any thread may transform at any time.

#include <cmath>
#include <complex>
#include <cstddef>
#include <new>
#include <vector>

namespace nupo {

// Allocates on cache-line boundaries: the transform's speed otherwise varies with where the allocator
// happens to place its buffers (a pass whose rows straddle cache lines runs up to a quarter slower).
template <class T>
struct CacheLineAllocator {
    using value_type = T;
    static constexpr std::align_val_t alignment{64};
    CacheLineAllocator() = default;
    template <class U>
    CacheLineAllocator(const CacheLineAllocator<U>&) noexcept
    {
    }
    T* allocate(std::size_t n) { return static_cast<T*>(::operator new(n * sizeof(T), alignment)); }
    void deallocate(T* p, std::size_t) noexcept { ::operator delete(p, alignment); }
    template <class U>
    bool operator==(const CacheLineAllocator<U>&) const noexcept
    {
        return true;
    }
};

// A vector whose data starts on a cache line: the transform's tables and work buffers.
template <class T>
using AlignedVector = std::vector<T, CacheLineAllocator<T>>;

inline constexpr int minFFTPoints = 128;
inline constexpr int maxFFTPoints = 8192;

using Complex = std::complex<double>;

// Tables of one transform size n: a complex FFT of m = n / 2 points followed by the split into the
// spectrum of n real samples, and the Hann window. The complex FFT takes its input in bit-reversed order
// with the first two or three stages done on the way in, then combines four blocks at a time; its last
// pass writes the split spectrum directly.
struct FFTTables {
    int points = 0;                  // n
    int firstStages = 2;             // 2 or 3, so that the stages left pair up
    AlignedVector<int> blockStart;   // where each first-stage block of 2^firstStages points starts reading
    AlignedVector<double> twiddles;  // per pass of span h = 2^firstStages, 4x that, ...: for q = 1, 2, 3 the
                                     //   real then imaginary parts of e^(-2 pi i q j / 4h), j < h
    AlignedVector<double> splitRe;   // e^(-2 pi i k / n), k = 0 .. n / 2 - 1
    AlignedVector<double> splitIm;
    AlignedVector<int> window;  // Hann window, full scale 32768
    double windowSum = 0.0;     // sum of window / 32768
};

// True for the sizes the analysis offers.
bool isFFTSize(int points);
// The size itself when it is one of them, else the nearest one (128 below, 8192 above).
int validFFTSize(int points);

// The tables of a size (built on first use, thread-safe).
const FFTTables& fftinit(int points);
// Builds the tables of every size at once (start-up).
void initbitrevAndFFT();

// Spectrum of n real samples: out[k] = sum x[j] e^(-2 pi i j k / n) for k = 0 .. n / 2 - 1.
// `work` is caller scratch of at least n / 2 entries; out must hold n / 2 entries.
void realFFT(const FFTTables& tables, const double* in, Complex* out, Complex* work);

// The transform's input from n samples: out[i] = samples[i] * gain * window[i] (window in 1/32768 units,
// so gain carries the 1/32768).
void windowSamples(const FFTTables& tables, const int* samples, double gain, double* out);

// The amplitudes of `count` bins (binAmplitude of each) at once; also into `copy` when it is given.
void binAmplitudes(const Complex* x, int count, double windowSum, double* out, double* copy = nullptr);

// Amplitude of bin k of a windowed transform, so that a sine of amplitude A on a bin reads A.
inline double binAmplitude(const Complex& x, double windowSum)
{
    return windowSum > 0.0 ? 2.0 * std::sqrt(x.real() * x.real() + x.imag() * x.imag()) / windowSum : 0.0;
}

}  // namespace nupo
