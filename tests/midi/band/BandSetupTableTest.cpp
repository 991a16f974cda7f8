// The band setup table's record, its defaults, the columns Set and Cancel copy, and setup names.
#include "midi/band/BandSetupTable.h"

#include <gtest/gtest.h>

namespace nupo {
namespace {

void expectDefaults(int s)
{
    EXPECT_EQ(NUPOchannelEX[s], 0);
    EXPECT_EQ(PeakPowerEX[s], 1);
    EXPECT_EQ(AveragePowerEX[s], 0);
    EXPECT_FLOAT_EQ(gainNoteX[s], 1.0f);
    EXPECT_EQ(ONInputEX[s], 0);
    EXPECT_EQ(MIDIoutONEX[s], 0);
    EXPECT_EQ(NoteOnOffEX[s], 1);
    EXPECT_EQ(NoteOffOnEX[s], 0);
    EXPECT_EQ(MIDIportEX[s], 0);
    EXPECT_EQ(MIDIportEXstr[s], QStringLiteral("NUPO"));
    EXPECT_EQ(SendMIDItimingEX[s], 0);
    const float lows[] = {0, 2, 4, 8, 13, 16, 21, 28};
    const float highs[] = {1.5f, 3.5f, 7.5f, 12.5f, 15.5f, 20.5f, 28, 30};
    for (std::size_t n = 0; n < bandCount; ++n) {
        EXPECT_EQ(MIDIchannelBandX[n][s], int(n));
        EXPECT_FLOAT_EQ(LowFbandX[n][s], lows[n]);
        EXPECT_FLOAT_EQ(HighFbandX[n][s], highs[n]);
        EXPECT_FLOAT_EQ(bandOutX[n][s], 10.0f * float(n));
        EXPECT_EQ(LowFbandXZ[n][s].load(), LowFbandX[n][s].load());
        EXPECT_EQ(bandOutXZ[n][s].load(), bandOutX[n][s].load());
    }
}

TEST(BandSetupTableTest, DefaultsFillEverySetupInBothCopies)
{
    SetupBandNX = 5;
    setSoloBandX = 1;
    strEX[3] = QStringLiteral("kept");
    tsaveEX[9] = 12.0;
    writeBandSetupDefaults();
    expectDefaults(0);
    expectDefaults(127);
    EXPECT_FLOAT_EQ(gainNoteXZ[127], 1.0f);
    EXPECT_EQ(MIDIportEXstrZ[127], QStringLiteral("NUPO"));
    EXPECT_DOUBLE_EQ(tsaveEX[9], 0.0);
    // The shown setup, solo and names are not the defaults' business.
    EXPECT_EQ(SetupBandNX, 5);
    EXPECT_EQ(setSoloBandX, 1);
    EXPECT_EQ(strEX[3], QStringLiteral("kept"));
    // The per-band names are the families' arrays.
    EXPECT_EQ(&LowF3X, &LowFbandX[2]);
    EXPECT_EQ(&MIDIchannel8XZ, &MIDIchannelBandXZ[7]);
    EXPECT_EQ(&bandOut1X, &bandOutX[0]);
}

TEST(BandSetupTableTest, SetAndCancelCopyTheirOwnColumns)
{
    writeBandSetupDefaults();
    const int s = 7;
    gainNoteX[s] = 3.0f;
    SendMIDItimingEX[s] = 4;
    ONInputEX[s] = 1;
    MIDIportEXstr[s] = QStringLiteral("synth");
    MIDIoutONEX[s] = 1;
    LowF3X[s] = 5.5f;
    MIDIchannel2X[s] = 9;
    NUPOchannelEX[s] = 6;
    PeakPowerEX[s] = 0;
    commitBandSetup(s, 2);
    EXPECT_EQ(MIDIportEXZ[s], 2);
    EXPECT_EQ(MIDIoutONEXZ[s], 1);
    EXPECT_FLOAT_EQ(LowF3XZ[s], 5.5f);
    EXPECT_EQ(MIDIchannel2XZ[s], 9);
    // Not committed: gain, timing, input, port name, source, peak/average.
    EXPECT_FLOAT_EQ(gainNoteXZ[s], 1.0f);
    EXPECT_EQ(SendMIDItimingEXZ[s], 0);
    EXPECT_EQ(ONInputEXZ[s], 0);
    EXPECT_EQ(MIDIportEXstrZ[s], QStringLiteral("NUPO"));
    EXPECT_EQ(NUPOchannelEXZ[s], 0);

    LowF3X[s] = 6.0f;
    MIDIoutONEX[s] = 0;
    revertBandSetup(s);
    EXPECT_FLOAT_EQ(LowF3X[s], 5.5f);
    EXPECT_EQ(MIDIoutONEX[s], 1);
    EXPECT_EQ(MIDIportEX[s], 2);
    // Cancel brings the four uncommitted ones back to their defaults ...
    EXPECT_FLOAT_EQ(gainNoteX[s], 1.0f);
    EXPECT_EQ(SendMIDItimingEX[s], 0);
    EXPECT_EQ(ONInputEX[s], 0);
    EXPECT_EQ(MIDIportEXstr[s], QStringLiteral("NUPO"));
    // ... and leaves source and peak/average alone.
    EXPECT_EQ(NUPOchannelEX[s], 6);
    EXPECT_EQ(PeakPowerEX[s], 0);
    // Other setups are untouched; a setup out of range changes nothing.
    EXPECT_FLOAT_EQ(LowF3XZ[s + 1], 4.0f);
    commitBandSetup(128, 3);
    revertBandSetup(-1);
    commitBandEdges(200);
}

TEST(BandSetupTableTest, EdgesCommitAloneForTheBrainSwitchSource)
{
    writeBandSetupDefaults();
    LowF1X[4] = 0.5f;
    HighF8X[4] = 33.0f;
    bandOut1X[4] = 99.0f;
    commitBandEdges(4);
    EXPECT_FLOAT_EQ(LowF1XZ[4], 0.5f);
    EXPECT_FLOAT_EQ(HighF8XZ[4], 33.0f);
    EXPECT_FLOAT_EQ(bandOut1XZ[4], 0.0f);
}

TEST(BandSetupTableTest, SendIntervalsAreSinglePrecisionWidened)
{
    EXPECT_EQ(bandSendInterval(0), 0.0);
    EXPECT_EQ(bandSendInterval(1), 0.10000000149011612);
    EXPECT_EQ(bandSendInterval(2), 0.20000000298023224);
    EXPECT_EQ(bandSendInterval(3), 0.5);
    EXPECT_EQ(bandSendInterval(4), 1.0);
    EXPECT_LT(bandSendInterval(5), 0.0);
    EXPECT_LT(bandSendInterval(-1), 0.0);
}

TEST(BandSetupTableTest, NamesAreAsciiAndAtMost511Bytes)
{
    EXPECT_EQ(storedBandSetupName(QStringLiteral("Alpha 1")), QStringLiteral("Alpha 1"));
    EXPECT_EQ(storedBandSetupName(QStringLiteral("Äpfel")), QStringLiteral("?pfel"));
    const QString longName(2000, QLatin1Char('x'));
    const QString stored = storedBandSetupName(longName);
    EXPECT_EQ(stored.size(), 511);
    EXPECT_EQ(stored.toLatin1().size(), 511);
    EXPECT_EQ(storedBandSetupName(QString(511, QLatin1Char('y'))).size(), 511);
}

TEST(BandSetupTableTest, ShownSetupIsAlwaysAnIndex)
{
    SetupBandNX = 300;
    EXPECT_EQ(shownBandSetup(), 127);
    SetupBandNX = -4;
    EXPECT_EQ(shownBandSetup(), 0);
    SetupBandNX = 17;
    EXPECT_EQ(shownBandSetup(), 17);
}

}  // namespace
}  // namespace nupo
