#include "analysis/QXFFT.h"
#include "core/QXSerialPort.h"
#include "plots/waterfall/QX2DSpectrum.h"
#include "plots/waterfall/WaterfallColumns.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace nupo {
namespace {

QX2DSpectrum& engine()
{
    return QX2DSpectrum::sharedQX2DSpectrum();
}

QXFFT& fft()
{
    return QXFFT::sharedQXFFT();
}

// One analysis tick at `points` points, so the spectra hold points / 2 bins; then bin b of the CH 1..CH 4
// buffers (0, 1, 3, 4) holds value(buffer, b).
void setSpectra(int points, double (*value)(int buffer, int bin))
{
    fftp = points;
    ploop = points + 10;
    fft().timerUpdate();
    for (int buffer : {0, 1, 3, 4})
        for (int bin = 0; bin < points / 2; ++bin)
            fft().putcomplexDoubleToBuffer(buffer, bin, {value(buffer, bin), 0.0});
}

// Identical noisy sines in CH 1 and CH 2 give a coherence of 100 % at every bin with power.
void makeCoherentPair(int points)
{
    SampleSpeed = 120;
    fftp = points;
    QXSerialPort& port = QXSerialPort::sharedQXSerialPort();
    const int total = points + 12 * points / 2;
    unsigned state = 7;
    for (int i = 0; i < total; ++i) {
        state = state * 1103515245u + 12345u;
        const int v =
            int((state >> 16) % 200) - 100 + int(150 * std::sin(2.0 * std::numbers::pi * 15.0 * i / 120.0));
        port.putIntToBuffer(1, i, v);
        port.putIntToBuffer(2, i, v);
    }
    for (int position = points; position < total; position += points / 2) {
        ploop = position;
        fft().timerUpdate();
    }
}

TEST(QX2DSpectrumHistory, LinearRowsShowBinsFromTheStartBinMirroredIntoTheHeights)
{
    setSpectra(256, [](int buffer, int bin) { return buffer * 1000.0 + bin; });
    engine().initPositionZ();
    engine().wavenZ(3, 0, 0, 0);  // A only
    for (int c = 0; c < 64; ++c) {
        EXPECT_EQ(engine().complexDataA3B[0][c], c);
        EXPECT_EQ(engine().positZ[0][63 - c], float(c));
    }
    EXPECT_EQ(engine().positBZ[0][63], 0.0f);  // B was not selected

    // The next row with start bin 10 scrolls the first one down.
    engine().wavenZ(3, 0, 10, 0);
    EXPECT_EQ(engine().positZ[0][63], 10.0f);
    EXPECT_EQ(engine().positZ[0][0], 73.0f);
    EXPECT_EQ(engine().positZ[1][63], 0.0f);
    EXPECT_EQ(engine().positZ[1][0], 63.0f);
    EXPECT_EQ(engine().complexDataA3B[1][5], 5.0);

    // Bins past the spectrum (128 of them here) read 0; a negative start bin reads from bin 0.
    engine().wavenZ(3, 0, 100, 0);
    EXPECT_EQ(engine().complexDataA3B[0][27], 127.0);
    EXPECT_EQ(engine().complexDataA3B[0][28], 0.0);
    engine().wavenZ(3, 0, -5, 0);
    EXPECT_EQ(engine().complexDataA3B[0][0], 0.0);
    EXPECT_EQ(engine().complexDataA3B[0][5], 0.0);
    EXPECT_EQ(engine().complexDataA3B[0][6], 1.0);

    // Selection 2 fills D and E from buffers 3 and 4; other selections nothing.
    engine().wavenZ(2, 0, 0, 0);
    EXPECT_EQ(engine().positDZ[0][63], 3000.0f);
    EXPECT_EQ(engine().positEZ[0][60], 4003.0f);
    engine().wavenZ(13, 0, 0, 0);
    engine().wavenZ(0, 0, 0, 0);
    EXPECT_EQ(engine().positDZ[0][63], 3000.0f);
    EXPECT_EQ(engine().positDZ[1][63], 0.0f);
}

TEST(QX2DSpectrumHistory, SmallerGridChangesOnlyItsColumns)
{
    setSpectra(256, [](int, int bin) { return bin + 1.0; });
    engine().initPositionZ();
    gridZ = 16;
    engine().wavenZ(4, 0, 0, 0);
    for (int c = 0; c < 16; ++c) {
        EXPECT_EQ(engine().complexDataB3B[0][c], c + 1.0);
        EXPECT_EQ(engine().positBZ[0][15 - c], float(c + 1));
    }
    for (int c = 16; c < 64; ++c) {
        EXPECT_EQ(engine().complexDataB3B[0][c], 0.0);
        EXPECT_EQ(engine().positBZ[0][c], 0.0f);
    }
}

TEST(QX2DSpectrumHistory, PeakBlocksScrollWithChannelRows)
{
    engine().initPositionZ();
    setSpectra(256, [](int, int) { return 0.0; });
    PeakfftPower[0][0][0].store({5.0f, 10.0f, 21, 0, 5.0f});
    PeakfftPower[1][0][2].store({3.0f, 8.0f, 17, 0, 3.0f});
    PeakfftPower[1][127][0].store({9.0f, 1.0f, 2, 127, 9.0f});
    engine().wavenZ(1, 0, 0, 0);
    // Row 0 moved to row 1 and was renumbered; the analysis rewrites row 0 later.
    EXPECT_EQ(PeakfftPower[0][1][0].value.load(), 5.0f);
    EXPECT_EQ(PeakfftPower[0][1][0].row.load(), 1);
    EXPECT_EQ(PeakfftPower[0][0][0].value.load(), 5.0f);
    EXPECT_EQ(PeakfftPower[1][1][2].bin.load(), 17);
    EXPECT_EQ(PeakfftPower[1][127][0].value.load(), 0.0f);  // the old row 127 is lost (row 126 was empty)
    for (int r = 0; r < 128; ++r)
        EXPECT_EQ(PeakfftPower[1][r][1].row.load(), r);

    // A coherence selection moves no block.
    engine().wavenZ(7, 0, 0, 0);
    EXPECT_EQ(PeakfftPower[0][2][0].value.load(), 0.0f);

    // Blocks outside 0..7 are left alone.
    engine().movePeakfftPowerFV(8);
    engine().movePeakfftPowerFV(-1);
    EXPECT_EQ(PeakfftPower[0][1][0].value.load(), 5.0f);
}

TEST(QX2DSpectrumHistory, ResetEmptiesEverythingAndRestoresGains)
{
    setSpectra(256, [](int, int bin) { return bin + 2.0; });
    engine().wavenZ(1, 0, 0, 0);
    engine().setupTimeNumberZ(500);
    displayGainX[2] = 0.3f;
    PeakfftPower[3][40][1].value2.store(4.0f);
    const int generation = waterfallHistoryGeneration;
    engine().initPositionZ();
    EXPECT_EQ(waterfallHistoryGeneration, generation + 1);  // the frames restart the peak line's scale
    for (int r = 0; r < 128; ++r)
        for (int c = 0; c < 64; ++c) {
            ASSERT_EQ(engine().positZ[r][c], 0.0f);
            ASSERT_EQ(engine().complexDataB3B[r][c], 0.0);
        }
    EXPECT_EQ(timeRecZ[1], 0);
    EXPECT_EQ(PeakfftPower[3][40][1].value2.load(), 0.0f);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(displayGainX[c].load(), 1.0f);
    // The first row after the reset holds only the new values.
    engine().wavenZ(3, 0, 0, 0);
    EXPECT_EQ(engine().positZ[0][63], 2.0f);
    EXPECT_EQ(engine().positZ[1][63], 0.0f);
}

TEST(QX2DSpectrumColumns, SpectrumTableTakesTheLargestBinOfEachGroup)
{
    // A single peak at bin b: which columns show it.
    const auto columnsShowing = [](int peakBin) {
        double bins[256] = {};
        bins[peakBin] = 9.0;
        std::vector<int> columns;
        for (int c = 0; c < 64; ++c)
            if (spectrumColumnValue(bins, 256, c) == 9.0)
                columns.push_back(c);
        return columns;
    };
    EXPECT_EQ(columnsShowing(54), std::vector<int>{40});
    EXPECT_EQ(columnsShowing(215), std::vector<int>{61});
    EXPECT_EQ(columnsShowing(10), (std::vector<int>{10, 11}));
    EXPECT_EQ(columnsShowing(17), (std::vector<int>{18, 19}));
    EXPECT_EQ(columnsShowing(234), (std::vector<int>{62, 63}));
    EXPECT_TRUE(columnsShowing(253).empty());  // bin 253 belongs to no column
    EXPECT_EQ(columnsShowing(255), std::vector<int>{63});
    // Every bin but 253 is shown somewhere.
    for (int bin = 0; bin < 256; ++bin) {
        if (bin == 253)
            continue;
        EXPECT_FALSE(columnsShowing(bin).empty()) << bin;
    }
    // Bins beyond the spectrum read 0.
    double few[100] = {};
    EXPECT_EQ(spectrumColumnValue(few, 100, 63), 0.0);
}

TEST(QX2DSpectrumColumns, CoherenceTableTakesOneOrTwoBins)
{
    const auto valueWithPeakAt = [](int column, int bin) {
        double percent[256] = {};
        percent[bin] = 100.0;
        return coherenceColumnValue(percent, 256, column);
    };
    EXPECT_EQ(valueWithPeakAt(63, 255), 5.0);
    EXPECT_EQ(valueWithPeakAt(63, 254), 0.0);
    EXPECT_EQ(valueWithPeakAt(40, 52), 5.0);
    EXPECT_EQ(valueWithPeakAt(40, 54), 5.0);
    EXPECT_EQ(valueWithPeakAt(40, 53), 0.0);   // two bins, not the group
    EXPECT_EQ(valueWithPeakAt(47, 90), 5.0);   // second bin below the first
    EXPECT_EQ(valueWithPeakAt(23, 23), 0.0);   // the first bin of a spectrum pair only
    EXPECT_EQ(valueWithPeakAt(70, 255), 5.0);  // beyond 63: bin 255
    EXPECT_EQ(coherenceModeSource(4), 9);      // mode 4 (CH 2 & CH 3) fills J
    EXPECT_EQ(coherenceModeSource(5), 8);      // mode 5 (CH 1 & CH 4) fills I
    EXPECT_EQ(coherenceModeSource(6), -1);
}

TEST(QX2DSpectrumColumns, BandRowsStoreIntoTheBandGridsWithClampedIndices)
{
    setSpectra(512, [](int buffer, int bin) { return buffer == 0 ? (bin == 220 ? 8.0 : 1.0) : 0.0; });
    fftp512Band = 1;
    engine().initPositionZ();
    engine().wavenZ(3, 0, 40, 0);  // the start bin has no effect in this layout
    EXPECT_EQ(complexDataA2B[0][61], 8.0);
    EXPECT_EQ(engine().positZ[0][63 - 61], 8.0f);
    EXPECT_EQ(complexDataA2B[0][0], 1.0);

    engine().putToM512BandComplexDataB(200, 70, 0);
    EXPECT_EQ(complexDataA2B[127][63], 1.0);  // column 63's rule: bins 234, 254, 255
    engine().putToM512BandComplexDataB(-4, 61, 0);
    EXPECT_EQ(complexDataA2B[0][61], 8.0);
    engine().putToM512BandComplexDataB(5, 61, 9);  // no grid for buffer 9
    EXPECT_EQ(engine().complexDataXB(220, 0), 8.0);
    EXPECT_EQ(engine().complexDataXB(220, 9), 0.0);
}

TEST(QX2DSpectrumColumns, CoherenceHeightsAndTheCoherenceHighSwitch)
{
    makeCoherentPair(512);
    // Linear layout: stored already divided, so the switch changes only new rows.
    fftp512Band = 0;
    engine().initPositionZ();
    engine().wavenZ(7, 0, 0, 0);
    EXPECT_NEAR(engine().positCZ[0][63 - 60], 5.0, 1e-6);  // bin 60 of CH 1 & 2: 100 % → 5
    engine().wavenZ(7, 0, 0, 1);
    EXPECT_NEAR(engine().positCZ[0][63 - 60], 10.0, 1e-6);
    EXPECT_NEAR(engine().positCZ[1][63 - 60], 5.0, 1e-6);
    EXPECT_NEAR(engine().complexDataC3B[0][60], 10.0, 1e-6);

    // 512-band layout: stored unscaled; the switch rescales the whole history at the next row.
    fftp512Band = 1;
    engine().initPositionZ();
    const int column = 49;  // coherence column 49 is bin 106
    engine().wavenZ(7, 0, 0, 0);
    engine().wavenZ(7, 0, 0, 0);
    EXPECT_NEAR(engine().positCZ[1][63 - column], 5.0, 1e-6);
    engine().wavenZ(7, 0, 0, 1);
    EXPECT_NEAR(engine().positCZ[0][63 - column], 10.0, 1e-6);
    EXPECT_NEAR(engine().positCZ[2][63 - column], 10.0, 1e-6);
    EXPECT_NEAR(complexDataC2B[2][column], 5.0, 1e-6);

    // The free routine writes the mode's grid; another mode writes nothing.
    putToM512BandCoherenceDataB(300, 80, 49, 0);
    EXPECT_NEAR(complexDataC2B[127][63], 5.0, 1e-6);
    EXPECT_NEAR(CoherenceXB(106, 0), 5.0, 1e-6);
    EXPECT_EQ(CoherenceXB(106, 6), 0.0);
}

TEST(QX2DSpectrumMesh, TimeStampsPushOnePlacePerFrame)
{
    engine().initPositionZ();
    for (long p = 1; p <= 130; ++p)
        engine().setupTimeNumberZ(p * 10);
    EXPECT_EQ(timeRecZ[0], 1300);
    EXPECT_EQ(timeRecZ[1], 1300);
    EXPECT_EQ(timeRecZ[2], 1290);
    EXPECT_EQ(timeRecZ[128], 1300 - 127 * 10);
    EXPECT_EQ(timeRecZ[129], 0);
}

}  // namespace
}  // namespace nupo
