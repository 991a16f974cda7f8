#include "AnalysisTestSignals.h"
#include "analysis/BrainSwitch.h"
#include "analysis/QX3DSpectrum.h"
#include "analysis/QXFFT.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <gtest/gtest.h>

using namespace nupo;

namespace {

QX3DSpectrum& mapper()
{
    return QX3DSpectrum::sharedQX3DSpectrum();
}

// 128 points at 128 Hz (1 Hz per bin, 64 bins) and a spectrum of CH 1 put straight into its buffer.
void useSpectrum(int buffer, const std::vector<std::pair<int, double>>& bins)
{
    SampleSpeed = 128;
    fftp = 128;
    QXFFT::sharedQXFFT().timerUpdate();  // silence: fixes the size of the stored spectra
    for (int k = 0; k < 64; ++k)
        QXFFT::sharedQXFFT().putcomplexDoubleToBuffer(buffer, k, {0.0, 0.0});
    for (const auto& [bin, value] : bins)
        QXFFT::sharedQXFFT().putcomplexDoubleToBuffer(buffer, bin, {value, 0.0});
}

void setWindow(int source, int k, float lowValue, float highValue, float lowHz, float highHz)
{
    brainSWX[source][17 + k] = lowValue;
    brainSWX[source][25 + k] = highValue;
    brainSWX[source][33 + k] = lowHz;
    brainSWX[source][41 + k] = highHz;
}

void expectRecord(const SharedBrainSwitchRecord& r, float level, float hz, int row)
{
    const BrainSwitchRecord v = r.load();
    EXPECT_FLOAT_EQ(v.level, level);
    EXPECT_FLOAT_EQ(v.peakFrequency, hz);
    EXPECT_EQ(v.row, row);
    EXPECT_EQ(v.column, level > 0.0f ? 19 : 0);
    EXPECT_FLOAT_EQ(v.count, level / 3.0f);
}

}  // namespace

TEST(QX3DSpectrum, HitRecordsMatchAHandComputation)
{
    initbrainSWX();
    useSpectrum(0, {{5, 4.0}, {6, 6.0}, {10, 12.0}, {20, 3.0}, {30, 8.0}, {45, 2.0}});
    displayGainX[0] = 2.0f;  // levels: 2, 3, 6, 1.5, 4, 1 at 5, 6, 10, 20, 30, 45 Hz
    setWindow(0, 1, 1.0f, 5.0f, 4.0f, 25.0f);
    mapper().waven(0, 0, 2, 0, QX3DSpectrum::Target::RecordsOnly);

    // Window 0: levels 0.7..10 over 0..60 Hz, the three strongest.
    expectRecord(peakSWfftCount[0][0][0], 6.0f, 10.0f, 10);
    expectRecord(peakSWfftCount[0][0][1], 4.0f, 30.0f, 30);
    expectRecord(peakSWfftCount[0][0][2], 3.0f, 6.0f, 6);
    // Window 1: 1..5 over 4..25 Hz: 6 Hz (3), 5 Hz (2), 20 Hz (1.5); 10 Hz is too strong.
    expectRecord(peakSWfftCount[0][1][0], 3.0f, 6.0f, 6);
    expectRecord(peakSWfftCount[0][1][1], 2.0f, 5.0f, 5);
    expectRecord(peakSWfftCount[0][1][2], 1.5f, 20.0f, 20);
    // Window 2 (2..4 Hz by default) holds nothing: its records are empty.
    expectRecord(peakSWfftCount[0][2][0], 0.0f, 0.0f, 0);
    // Windows 9..11 are never filled, nor the other table.
    expectRecord(peakSWfftCount[0][9][0], 0.0f, 0.0f, 0);
    expectRecord(peakSWcoherenceCount[0][0][0], 0.0f, 0.0f, 0);

    // With a start frequency the 64 display rows begin higher: row r shows bin r + 5.
    mapper().waven(0, 0, 2, 5, QX3DSpectrum::Target::RecordsOnly);
    expectRecord(peakSWfftCount[0][0][0], 6.0f, 10.0f, 5);
}

TEST(QX3DSpectrum, GridsPutTheNewestRowFirstAndZeroHertzAtTheHighEdge)
{
    useSpectrum(1, {{0, 7.0}, {10, 12.0}, {63, 2.0}});
    mapper().waven(0, 0, 3, 0);  // CH 2 alone: grid 1
    const auto g = mapper().heightGrid(1);
    EXPECT_FLOAT_EQ(g[0][63], 7.0f);
    EXPECT_FLOAT_EQ(g[0][53], 12.0f);
    EXPECT_FLOAT_EQ(g[0][0], 2.0f);
    EXPECT_FLOAT_EQ(g[1][53], 0.0f);  // no older row yet
    const auto base = mapper().heightGrid(QX3DSpectrum::baseGrid);
    EXPECT_FLOAT_EQ(base[17][42], 0.1f);
    EXPECT_FLOAT_EQ(mapper().heightGrid(99)[0][0], 0.0f);

    mapper().waven(0, 0, 3, 4);  // start frequency 4: column 63 shows bin 4
    EXPECT_FLOAT_EQ(mapper().heightGrid(1)[0][63 - 6], 12.0f);

    grid = 32;  // a smaller grid keeps 0 Hz at its own high edge
    mapper().waven(0, 0, 3, 0);
    EXPECT_FLOAT_EQ(mapper().heightGrid(1)[0][31], 7.0f);
    EXPECT_FLOAT_EQ(mapper().heightGrid(1)[0][21], 12.0f);
}

TEST(QX3DSpectrum, HistoryAdvancesWithThePositionNotWithTheCallers)
{
    useSpectrum(0, {{8, 5.0}});
    peakFFTA[0] = 5.0f;
    peakFFTA[1] = 8.0f;
    ploop = 100;
    for (int i = 0; i < 5; ++i)
        mapper().waven(0, 0, 2, 0);
    EXPECT_FLOAT_EQ(mapper().heightGrid(0)[1][55], 0.0f);
    EXPECT_EQ(PeakfftPowerFV[0][1][0].load().value, 0.0f);

    QXFFT::sharedQXFFT().putcomplexDoubleToBuffer(0, 8, {9.0, 0.0});
    ploop = 104;
    mapper().waven(0, 0, 2, 0);
    const auto g = mapper().heightGrid(0);
    EXPECT_FLOAT_EQ(g[0][55], 9.0f);
    EXPECT_FLOAT_EQ(g[1][55], 5.0f);
    EXPECT_FLOAT_EQ(g[2][55], 0.0f);
    const PeakRecord older = PeakfftPowerFV[0][1][0].load();
    EXPECT_FLOAT_EQ(older.value, 5.0f);
    EXPECT_FLOAT_EQ(older.frequency, 8.0f);
    EXPECT_EQ(older.bin, 8);
    EXPECT_EQ(older.row, 1);

    // Refreshes at a new position advance the history too, but leave the grids to the next display step.
    ploop = 108;
    mapper().waven(0, 0, 2, 0, QX3DSpectrum::Target::RecordsOnly);
    EXPECT_FLOAT_EQ(mapper().heightGrid(0)[1][55], 5.0f);
    mapper().waven(0, 0, 2, 0);
    EXPECT_FLOAT_EQ(mapper().heightGrid(0)[2][55], 5.0f);

    mapper().initPosition();
    EXPECT_FLOAT_EQ(mapper().heightGrid(0)[0][55], 0.0f);
    EXPECT_FLOAT_EQ(PeakfftPowerFV[0][2][0].load().value, 0.0f);
    EXPECT_FLOAT_EQ(displayGainX[3].load(), 1.0f);
}

TEST(QX3DSpectrum, ARefreshOfAnotherSourceLeavesTheShownLayout)
{
    useSpectrum(3, {{12, 6.0}});                                       // CH 3
    QXFFT::sharedQXFFT().putcomplexDoubleToBuffer(0, 12, {1.0, 0.0});  // CH 1
    mapper().waven(1, 0, 1, 0);  // the CH 3 and CH 4 set: CH 3 in grid 0
    EXPECT_FLOAT_EQ(mapper().heightGrid(0)[0][51], 6.0f);
    ploop = ploop + 10;
    mapper().waven(0, 0, 2, 0, QX3DSpectrum::Target::RecordsOnly);  // CH 1 for a MIDI mapper
    EXPECT_FLOAT_EQ(mapper().heightGrid(0)[0][51], 6.0f);
    EXPECT_FLOAT_EQ(peakSWfftCount[0][0][0].load().level, 1.0f);

    EXPECT_TRUE(QX3DSpectrum::layoutSources(0, 0, 12).empty());
    EXPECT_TRUE(QX3DSpectrum::layoutSources(0, 0, -1).empty());
    EXPECT_EQ(QX3DSpectrum::layoutSources(0, 1, 0).size(), 10u);
    EXPECT_EQ(QX3DSpectrum::layoutSources(0, 0, 0)[5].source, 2);  // tile 5 of two sets: CH 3
    EXPECT_EQ(QX3DSpectrum::layoutSources(0, 0, 6)[0].grid, 2);    // CH 1 & CH 2 alone: grid 2
}

TEST(QX3DSpectrum, Band512RowsShowTheLargestValueOfTheirGroup)
{
    std::vector<float> bins(256, 0.0f);
    bins[53] = 3.0f;
    bins[55] = 4.0f;  // row 40: bins 52..56
    bins[253] = 9.0f;
    const auto rows = QX3DSpectrum::displayRowsOf(bins.data(), 256, 30, true);
    EXPECT_FLOAT_EQ(rows[40].value, 4.0f);
    EXPECT_EQ(rows[40].bin, 55);
    EXPECT_FLOAT_EQ(rows[63].value, 9.0f);
    EXPECT_EQ(rows[0].bin, 0);  // the start frequency does not apply
    const auto linear = QX3DSpectrum::displayRowsOf(bins.data(), 256, 200, false);
    EXPECT_EQ(linear[53].bin, 253);
    EXPECT_EQ(linear[60].bin, -1);  // past the spectrum
}

TEST(QX3DSpectrum, CoherenceSourcesUsePercentOverTwentyAndTenthsForLevels)
{
    SampleSpeed = 128;
    fftp = 128;
    nupo::test::writeSignal(1, 0, 1000, nupo::test::sine(20.0, 300.0, 128));
    nupo::test::writeSignal(2, 0, 1000, nupo::test::sine(20.0, 300.0, 128));
    for (int position = 128; position < 1000; position += 64) {
        ploop = position;
        QXFFT::sharedQXFFT().timerUpdate();
    }
    mapper().waven(0, 0, 6, 0);  // CH 1 & CH 2 alone: grid 2
    EXPECT_NEAR(mapper().heightGrid(2)[0][63 - 20], 5.0f, 1e-4);
    const BrainSwitchRecord top = peakSWcoherenceCount[4][0][0].load();  // window 0: 95..100 %
    EXPECT_NEAR(top.level, 10.0f, 1e-4);
    EXPECT_EQ(top.column, 19);
}
