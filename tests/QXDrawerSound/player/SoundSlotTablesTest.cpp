#include "QXDrawerSound/player/QXSoundController.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "shared/AnalysisState.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace nupo {
namespace {

TEST(SoundSlotTables, InitialisingSetsEveryElementOfEverySlotAndEveryPath)
{
    RowsCountA[4] = 9;
    VolumeSlider_valueA[10] = 7.0f;
    SendSoundIstr[127] = "/old/path.wav";
    UseBSSlider_valueA[3] = 5.0f;
    QXSoundController::sharedQXSoundController().initSoundNSStr();
    for (std::size_t k = 0; k < soundSlotArraySize; ++k) {
        EXPECT_EQ(RowsCountA[k], 0);
        EXPECT_EQ(PlaymodeA[k], 1);
        EXPECT_EQ(VolumeSlider_valueA[k], 2.0f);
        EXPECT_EQ(TimeSlider_valueA[k], 2.0f);
        EXPECT_EQ(SpeedSlider_valueA[k], 32.0f);
        EXPECT_EQ(EyedeltaLSlider_valueA[k], 0.0f);
        EXPECT_EQ(ThetaHSlider_valueA[k], 3.0f);
        EXPECT_EQ(BetaHSlider_valueA[k], 7.0f);
    }
    EXPECT_EQ(UseBSSlider_valueA[3], 5.0f);  // not part of the defaults
    for (int slot = 0; slot < soundSlotCount; ++slot) {
        for (const QString& path : *soundPathTable(slot))
            ASSERT_EQ(path, " ");
    }
    EXPECT_EQ(soundPathTable(10), nullptr);

    openSound = 6;
    QXSoundController::sharedQXSoundController().ResetSoundBankIndex();
    EXPECT_EQ(openSound, 0);
}

TEST(SoundSlotTables, BlocksAutoNextAndRandomStayInTheBlockInUse)
{
    SoundBlockX = 2;
    PlaySoundBlockX = 2;
    EXPECT_EQ(soundBlockSize(20), 10);
    EXPECT_EQ(soundBlockFirstRow(20), 10);
    EXPECT_EQ(autoNextRow(10, 20), 11);
    EXPECT_EQ(autoNextRow(19, 20), 10);
    EXPECT_EQ(autoNextRow(3, 20), 4);  // a row of another block simply advances
    std::set<int> rows;
    for (int r = -32767; r <= 32767; r += 7)
        rows.insert(randomRowInBlock(r, 20));
    EXPECT_EQ(*rows.begin(), 10);
    EXPECT_EQ(*rows.rbegin(), 19);
    EXPECT_EQ(rows.size(), 10u);

    // Fewer rows than blocks, or no blocks at all: blocks are empty.
    SoundBlockX = 12;
    EXPECT_EQ(soundBlockSize(5), 0);
    SoundBlockX = 0;
    EXPECT_EQ(soundBlockSize(20), 0);
    EXPECT_EQ(randomRowInBlock(123, 20), 0);
}

TEST(SoundSlotTables, RateAndVolumeFollowTheLevelAsTheSlotsMapThem)
{
    EXPECT_FLOAT_EQ(soundRateFromLevel(32.0f, 32.0f), 0.01f);
    EXPECT_FLOAT_EQ(soundRateFromLevel(64.0f, 32.0f), 1.0f);
    EXPECT_FLOAT_EQ(soundRateFromLevel(16.0f, 32.0f), -0.5f);
    EXPECT_EQ(soundVolumeFromLevel(100.0f, 2.0f), 128);
    EXPECT_EQ(soundVolumeFromLevel(127.9f, 1.0f), 127);
    EXPECT_EQ(soundVolumeFromLevel(-3.5f, 1.0f), -3);

    peakSWfftCount[2][5][0].level = 12.5f;
    peakSWfftCount[2][5][0].peakFrequency = 9.0f;
    peakSWcoherenceCount[7][8][0].level = 3.0f;
    EXPECT_EQ(readBrainSwitch(2, 5).level, 12.5f);
    EXPECT_EQ(readBrainSwitch(2, 5).peakFrequency, 9.0f);
    EXPECT_EQ(readBrainSwitch(7, 8).level, 3.0f);  // sources above 3 read the coherence table
    EXPECT_EQ(readBrainSwitch(10, 0).level, 0.0f);
    EXPECT_EQ(readBrainSwitch(0, 12).level, 0.0f);
}

TEST(SoundSlotTables, NamesTitlesAndPopupItems)
{
    EXPECT_EQ(soundSlotNibName(0), "QXDrawerSound");
    EXPECT_EQ(soundSlotNibName(9), "QXDrawerSoundI");
    EXPECT_EQ(soundSlotClassName(3), "QXSoundControllerC");
    EXPECT_EQ(soundSourceItems(1).at(4), "Coherence");
    EXPECT_EQ(soundSourceItems(1).size(), 6);
    EXPECT_EQ(soundSourceItems(3).size(), 10);
    EXPECT_EQ(soundSourceItems(7).at(9), "CH 2 & CH 3 Coherence");
    EXPECT_EQ(brainSwitchSlotItems().last(), "BS8");

    // Names are cut to what the 256-byte buffer holds, never in the middle of a character.
    setOutCHARs(QString(300, QChar(u'\u00e9')));
    EXPECT_EQ(outCHARsText().size(), 127);
    setOutCHARs("Bank");
    EXPECT_EQ(outCHARsText(), "Bank");
}

TEST(SoundSlotTables, ElevenSingleSoundOpensGoRoundTheTenSlotsAndTheCounterWrapsAfterTheLast)
{
    openSound = 0;
    std::vector<int> chosen;
    std::vector<int> counters;
    for (int open = 0; open < 11; ++open) {
        chosen.push_back(handOverSoundBank({QStringLiteral("/sounds/s%1.wav").arg(open)}));
        counters.push_back(openSound);
    }
    EXPECT_EQ(chosen, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));
    EXPECT_EQ(counters, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1}));
    EXPECT_EQ(openSoundAfter(9), 0);
    EXPECT_EQ(openSoundAfter(3), 4);
}

}  // namespace
}  // namespace nupo
