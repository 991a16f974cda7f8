// The analysis state's one place for each mapping: peak tables, spectrum buffers, the display-gain guard,
// and the field-by-field copies of the shared records.
#include "shared/AnalysisState.h"

#include <gtest/gtest.h>

#include <limits>

namespace nupo {
namespace {

TEST(AnalysisStateTest, ChannelsMapToTheirPeakTablesAndSpectrumBuffers)
{
    EXPECT_EQ(peakTableOfChannel(0), peakFFTA);
    EXPECT_EQ(peakTableOfChannel(1), peakFFTB);
    EXPECT_EQ(peakTableOfChannel(2), peakFFTD);
    EXPECT_EQ(peakTableOfChannel(3), peakFFTE);
    EXPECT_EQ(peakTableOfChannel(-1), nullptr);
    EXPECT_EQ(peakTableOfChannel(4), nullptr);

    static_assert(spectrumBufferOfChannel(0) == 0 && spectrumBufferOfChannel(1) == 1 &&
                  spectrumBufferOfChannel(2) == 3 && spectrumBufferOfChannel(3) == 4);
    EXPECT_EQ(spectrumBufferOfChannel(4), -1);
    EXPECT_EQ(spectrumBufferOfChannel(-1), -1);
}

TEST(AnalysisStateTest, DisplayGainOfZeroOrBelowOrNotFiniteReadsAsOne)
{
    displayGainX[0] = 2.5f;
    displayGainX[1] = 0.0f;
    displayGainX[2] = -3.0f;
    displayGainX[3] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FLOAT_EQ(displayGainOfChannel(0), 2.5f);
    EXPECT_FLOAT_EQ(displayGainOfChannel(1), 1.0f);
    EXPECT_FLOAT_EQ(displayGainOfChannel(2), 1.0f);
    EXPECT_FLOAT_EQ(displayGainOfChannel(3), 1.0f);
    displayGainX[3] = std::numeric_limits<float>::infinity();
    EXPECT_FLOAT_EQ(displayGainOfChannel(3), 1.0f);
    EXPECT_FLOAT_EQ(displayGainOfChannel(4), 1.0f);
    EXPECT_FLOAT_EQ(displayGainOfChannel(-1), 1.0f);
}

TEST(AnalysisStateTest, SharedRecordsStoreAndLoadEveryField)
{
    SharedPeakRecord peak;
    peak.store({1.5f, 10.25f, 7, 3, -2.0f});
    const PeakRecord p = peak.load();
    EXPECT_FLOAT_EQ(p.value, 1.5f);
    EXPECT_FLOAT_EQ(p.frequency, 10.25f);
    EXPECT_EQ(p.bin, 7);
    EXPECT_EQ(p.row, 3);
    EXPECT_FLOAT_EQ(p.value2, -2.0f);
    EXPECT_EQ(peak.bin.load(), 7);

    SharedBrainSwitchRecord hit;
    hit.store({6.0f, 12.0f, 24, 19, 2.0f});
    const BrainSwitchRecord h = hit.load();
    EXPECT_FLOAT_EQ(h.level, 6.0f);
    EXPECT_FLOAT_EQ(h.peakFrequency, 12.0f);
    EXPECT_EQ(h.row, 24);
    EXPECT_EQ(h.column, 19);
    EXPECT_FLOAT_EQ(h.count, 2.0f);
    EXPECT_FLOAT_EQ(hit.peakFrequency.load(), 12.0f);
}

}  // namespace
}  // namespace nupo
