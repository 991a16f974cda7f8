// The analysis tick over four channels, our real FFT against FFTW, and the spectrum data mapper.

#include "analysis/FFTMath.h"
#include "analysis/QX3DSpectrum.h"
#include "analysis/QXFFT.h"
#include "core/QXSerialPort.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

using namespace nupo;

namespace {

void fillRecording(int samples)
{
    std::mt19937 random(1);
    std::normal_distribution<double> noise(0.0, 40.0);
    QXSerialPort& port = QXSerialPort::sharedQXSerialPort();
    for (int c = 1; c <= 4; ++c)
        for (int i = 0; i < samples; ++i)
            port.putIntToBuffer(
                c, i, int(noise(random) + 100.0 * std::sin(2.0 * std::numbers::pi * 10.0 * i / 120.0)));
}

std::vector<double> randomSamples(int n)
{
    std::mt19937 random(2);
    std::uniform_real_distribution<double> sample(-1.0, 1.0);
    std::vector<double> x(static_cast<std::size_t>(n));
    for (double& v : x)
        v = sample(random);
    return x;
}

void BM_AnalysisTick(benchmark::State& state)
{
    const int n = int(state.range(0));
    fftp = n;
    SampleSpeed = 120;
    fillRecording(2 * n);
    ploop = n;
    QXFFT& engine = QXFFT::sharedQXFFT();
    for (auto _ : state) {
        // One new sample per tick, as a live recording at 120 Hz gives: a coherence segment is taken
        // every n / 2 ticks.
        ploop = n + (ploop.load() + 1 - n) % n;
        engine.timerUpdate();
    }
}
BENCHMARK(BM_AnalysisTick)->Arg(256)->Arg(1024)->Arg(8192)->Unit(benchmark::kMicrosecond);

void BM_OurRealFFT(benchmark::State& state)
{
    const int n = int(state.range(0));
    const FFTTables& tables = fftinit(n);
    const std::vector<double> samples = randomSamples(n);
    // Cache-line aligned, as the analysis keeps its buffers.
    const AlignedVector<double> x(samples.begin(), samples.end());
    AlignedVector<Complex> out(static_cast<std::size_t>(n / 2)), work(static_cast<std::size_t>(n / 2));
    for (auto _ : state) {
        realFFT(tables, x.data(), out.data(), work.data());
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_OurRealFFT)->Arg(256)->Arg(1024)->Arg(8192)->Unit(benchmark::kMicrosecond);

void BM_FFTWRealFFT(benchmark::State& state)
{
    const int n = int(state.range(0));
    std::vector<double> x = randomSamples(n);
    fftw_complex* out = fftw_alloc_complex(std::size_t(n / 2 + 1));
    double* in = fftw_alloc_real(std::size_t(n));
    const fftw_plan plan = fftw_plan_dft_r2c_1d(n, in, out, FFTW_MEASURE);
    std::copy(x.begin(), x.end(), in);
    for (auto _ : state) {
        fftw_execute(plan);
        benchmark::DoNotOptimize(out);
    }
    fftw_destroy_plan(plan);
    fftw_free(in);
    fftw_free(out);
}
BENCHMARK(BM_FFTWRealFFT)->Arg(256)->Arg(1024)->Arg(8192)->Unit(benchmark::kMicrosecond);

// The 3D view's data step for all ten sources, and one brain-switch refresh.
void BM_MapperDataStep(benchmark::State& state)
{
    fftp = int(state.range(0));
    fillRecording(2 * fftp.load());
    ploop = fftp.load();
    QXFFT::sharedQXFFT().timerUpdate();
    QX3DSpectrum& mapper = QX3DSpectrum::sharedQX3DSpectrum();
    for (auto _ : state) {
        ploop.fetch_add(1);
        mapper.waven(0, 1, 0, 0);
    }
}
BENCHMARK(BM_MapperDataStep)->Arg(256)->Arg(8192)->Unit(benchmark::kMicrosecond);

void BM_BrainSwitchRefresh(benchmark::State& state)
{
    fftp = 256;
    fillRecording(512);
    ploop = 256;
    QXFFT::sharedQXFFT().timerUpdate();
    QX3DSpectrum& mapper = QX3DSpectrum::sharedQX3DSpectrum();
    for (auto _ : state) {
        ploop.fetch_add(1);
        mapper.waven(0, 0, 6, 0, QX3DSpectrum::Target::RecordsOnly);
    }
}
BENCHMARK(BM_BrainSwitchRefresh)->Unit(benchmark::kMicrosecond);

}  // namespace
