#include "AnalysisTestSignals.h"
#include "analysis/FFTMath.h"
#include "analysis/QXFFT.h"
#include "analysis/SpectrumMath.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <vector>

#include <random>

using namespace nupo;
using nupo::test::sine;
using nupo::test::writeSignal;

namespace {

QXFFT& engine()
{
    return QXFFT::sharedQXFFT();
}

double storedAt(int buffer, int bin)
{
    return engine().getcomplexDoubleFromBuffer(buffer, bin).x;
}

}  // namespace

TEST(QXFFT, SinePeakLiesWithinOneBinAtEverySize)
{
    SampleSpeed = 120;
    for (double hz : {7.3, 10.0, 22.6}) {
        for (int n = 128; n <= 8192; n *= 2) {
            fftp = n;
            ploop = n + 50;
            writeSignal(1, 0, n + 50, sine(hz, 200.0, 120));
            engine().timerUpdate();
            const double binHz = 120.0 / n;
            EXPECT_NEAR(peakFFTA[1].load(), hz, binHz) << n << " points, " << hz << " Hz";
            EXPECT_NEAR(peakFFTA[0].load(), 50.0, 0.25 * 50.0) << "amplitude at " << n;  // 200 counts x 0.25
            EXPECT_EQ(PeakfftPower[0][0][0].bin, int(std::lround(peakFFTA[1].load() / binHz)));
        }
    }
}

TEST(QXFFT, DcAndMainsBinsAreZero)
{
    SampleSpeed = 240;
    mainsFrequencyX = 60;
    fftp = 256;  // 0.9375 Hz bins: 60 Hz is bin 64
    ploop = 256;
    writeSignal(2, 0, 256,
                [](int i) { return 300.0 + 80.0 * std::sin(2.0 * std::numbers::pi * 60.0 * i / 240.0); });
    engine().timerUpdate();
    EXPECT_EQ(storedAt(1, 0), 0.0);
    EXPECT_EQ(storedAt(1, 64), 0.0);
    EXPECT_GT(storedAt(1, 63), 1.0);  // the window's leakage next to the mains bin stays
    EXPECT_GT(storedAt(1, 1), 1.0);   // and next to DC
    EXPECT_NEAR(DCoffsetB.load(), 2.0 * 300.0 * 0.25, 1.0);  // twice the gained mean

    mainsFrequencyX = 50;  // 53.33 bins: 53 is the nearest
    engine().timerUpdate();
    EXPECT_EQ(storedAt(1, 53), 0.0);
    EXPECT_GT(storedAt(1, 64), 1.0);
}

TEST(QXFFT, CoherenceOfIdenticalChannelsAndOfIndependentNoise)
{
    SampleSpeed = 120;
    fftp = 256;
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0.0, 60.0);
    const int total = 256 + 12 * 128;
    for (int i = 0; i < total; ++i) {
        const int shared = int(noise(random) + 150.0 * std::sin(2.0 * std::numbers::pi * 15.0 * i / 120.0));
        QXSerialPort::sharedQXSerialPort().putIntToBuffer(1, i, shared);
        QXSerialPort::sharedQXSerialPort().putIntToBuffer(2, i, shared);
        QXSerialPort::sharedQXSerialPort().putIntToBuffer(3, i, int(noise(random)));
        QXSerialPort::sharedQXSerialPort().putIntToBuffer(4, i, int(noise(random)));
    }
    // One segment per half window: twelve ticks fill the eight-segment average.
    for (int position = 256; position < total; position += 128) {
        ploop = position;
        engine().timerUpdate();
        engine().timerUpdate();  // a second tick at the same position adds no segment
    }
    const int signalBin = 32;  // 15 Hz at 120 / 256 Hz per bin
    EXPECT_NEAR(engine().CoherenceM(256.0, signalBin), 100.0, 1e-6);
    EXPECT_NEAR(engine().CoherenceM(256.0, 80), 100.0, 1e-6);  // identical noise is coherent too
    EXPECT_EQ(engine().CoherenceM(256.0, 0), 0.0);             // DC bin: nothing to compare

    double sum = 0.0;
    for (int k = 1; k < 128; ++k) {
        const double c = engine().CoherenceM2(256.0, k);
        EXPECT_GE(c, 0.0);
        EXPECT_LE(c, 100.0);
        sum += c;
    }
    EXPECT_LT(sum / 127.0, 25.0);  // independent noise: about 1 / 8 from eight segments

    // Out of range bins and divisors give 0; an enormous level silences everything.
    EXPECT_EQ(engine().CoherenceM(256.0, -1), 0.0);
    EXPECT_EQ(engine().CoherenceM(256.0, 128), 0.0);
    EXPECT_EQ(engine().CoherenceM(0.0, signalBin), 0.0);
    CoherenceLevel = 1e12;
    EXPECT_EQ(engine().CoherenceM(256.0, signalBin), 0.0);
}

TEST(QXFFT, BandPowersOfATenHertzSineFallInAlpha)
{
    SampleSpeed = 120;
    fftp = 512;
    ploop = 600;
    writeSignal(1, 0, 600, sine(10.0, 200.0, 120));
    engine().timerUpdate();
    const float alpha = bandPowerX[0][alphaBand].load();
    EXPECT_GT(alpha, 1.0f);
    for (int band = 0; band < analysisBandCount; ++band) {
        if (band != alphaBand) {
            EXPECT_LT(bandPowerX[0][band].load(), alpha / 10.0f) << "band " << band;
        }
    }
}

TEST(QXFFT, AveragingLogPowerAndGains)
{
    SampleSpeed = 128;
    fftp = 256;  // 0.5 Hz bins: 16 Hz is bin 32
    ploop = 256;
    writeSignal(1, 0, 256, sine(16.0, 100.0, 128));
    engine().timerUpdate();
    EXPECT_NEAR(storedAt(0, 32), 25.0, 0.2);  // 100 counts x 0.25

    averageFFTX = 2;  // the stored spectrum moves halfway towards each new one
    writeSignal(1, 0, 256, sine(16.0, 300.0, 128));
    engine().timerUpdate();
    EXPECT_NEAR(storedAt(0, 32), 50.0, 0.5);
    EXPECT_NEAR(engine().getcomplexDoubleFromBuffer(0, 32).y, 75.0, 0.5);  // y: the newest alone

    averageFFTX = 1;
    LOGpowerONed = 1;
    engine().timerUpdate();
    EXPECT_NEAR(storedAt(0, 32), logPower(75.0), 0.05);
    EXPECT_NEAR(peakFFTA[0].load(), logPower(75.0), 0.05);
    LOGpowerONed = 0;

    setGain1Number = 0;  // gain 10
    engine().timerUpdate();
    EXPECT_NEAR(storedAt(0, 32), 750.0, 5.0);
    setGain1Number = 42;  // out of range: gain 1
    engine().timerUpdate();
    EXPECT_NEAR(storedAt(0, 32), 75.0, 0.5);
}

TEST(QXFFT, BufferAccessIsClamped)
{
    engine().putcomplexDoubleToBuffer(9, 0, {1.0, 2.0});
    engine().putcomplexDoubleToBuffer(9, 8191, {3.0, 4.0});
    engine().putcomplexDoubleToBuffer(9, 8192, {5.0, 6.0});  // outside: stores nothing
    engine().putcomplexDoubleToBuffer(14, 0, {7.0, 8.0});
    EXPECT_EQ(engine().getcomplexDoubleFromBuffer(9, -20).y, 2.0);
    EXPECT_EQ(engine().getcomplexDoubleFromBuffer(9, 1 << 20).x, 3.0);
    EXPECT_EQ(engine().getcomplexDoubleFromBuffer(14, 0).x, 0.0);
    EXPECT_EQ(engine().getcomplexDoubleFromBuffer(-1, 0).x, 0.0);
}

TEST(QXFFT, ChannelSpectraCopyTakesTheFourStoredSpectraAtOnce)
{
    for (int buffer = 0; buffer < 5; ++buffer)
        for (int k : {0, 1, 8190, 8191})
            engine().putcomplexDoubleToBuffer(buffer, k, {100.0 * buffer + k, -1.0});
    std::vector<double> copies[4];
    double* out[4];
    for (int c = 0; c < 4; ++c) {
        copies[c].assign(8192, -7.0);
        out[c] = copies[c].data();
    }
    engine().copyChannelSpectra(2, out);
    const double base[4] = {0.0, 100.0, 300.0, 400.0};  // buffers 0, 1, 3, 4; 2 is the coherence's
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(copies[c][0], base[c]);
        EXPECT_EQ(copies[c][1], base[c] + 1);
        EXPECT_EQ(copies[c][2], -7.0);  // only the bins asked for
    }
    engine().copyChannelSpectra(1 << 20, out);  // clamped to the buffer length
    EXPECT_EQ(copies[3][8191], 400.0 + 8191);
}

TEST(QXFFT, BandQueryComputesInItsOwnScratch)
{
    SampleSpeed = 120;
    fftp = 1024;
    ploop = 1024;
    writeSignal(3, 0, 1024, sine(10.0, 400.0, 120));
    engine().timerUpdate();
    const double tickValue = storedAt(3, 85);  // 10 Hz at 120 / 1024 Hz per bin

    writeSignal(3, 0, 1024, sine(171 * 120.0 / 1024, 400.0, 120));  // new samples on bin 171, no tick
    const BandPeak peak = engine().peakFFTbandQuery(2, 15.0f, 25.0f, 1);
    EXPECT_NEAR(peak.frequency, 20.0, 120.0 / 1024);
    EXPECT_NEAR(peak.value, 100.0, 1.0);
    EXPECT_EQ(storedAt(3, 85), tickValue);  // the tick's spectrum is untouched

    const float power = engine().peakFFTband(2, 15.0f, 25.0f, 0);
    EXPECT_GT(power, 0.0f);
    EXPECT_LT(power, peak.value);
    EXPECT_NEAR(engine().peakFFTbandF(), 20.0, 120.0 / 1024);
    EXPECT_FLOAT_EQ(engine().peakFFTband(2, 15.0f, 25.0f, 7), 15.0f);
    EXPECT_FLOAT_EQ(engine().peakFFTband(12, 15.0f, 25.0f, 1), 0.0f);
    EXPECT_FLOAT_EQ(engine().peakFFTband(-1, 15.0f, 25.0f, 7), 0.0f);
    EXPECT_FLOAT_EQ(engine().peakFFTband(2, 25.0f, 15.0f, 1), 0.0f);  // an empty band
}

TEST(QXFFT, InitStartsTheTenMillisecondTimer)
{
    SampleSpeed = 120;
    fftp = 256;
    ploop = 256;
    writeSignal(1, 0, 256, sine(12.0, 200.0, 120));
    engine().init();
    engine().init();  // a second start changes nothing
    QElapsedTimer clock;
    clock.start();
    while (peakFFTA[0].load() == 0.0f && clock.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(engine().isRunning());
    EXPECT_NEAR(peakFFTA[1].load(), 12.0, 120.0 / 256);
}
