// Documents and preference files written and read back: every setting and every sample come back, a
// failed save leaves the old file whole, and the preference file lives where the desktop expects it.
#include <gtest/gtest.h>

#include "DocumentTestSupport.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "analysis/SetFFTController.h"
#include "document/sections/SoundSection.h"
#include "plots/settings/DisplaySettings.h"
#include "plots/waterfall/WaterfallState.h"
#include "shared/AnalysisState.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/resource.h>
#include <csignal>

using namespace nupo;

namespace {

// Every setting of the core sections set to a value that is not its default.
void changeEverySetting(int seed)
{
    DrawBothside = seed % 2;
    ShowPeakHoldX = 1 - seed % 2;
    setHorizontalLineModeX = 2 + seed % 2;
    GridSize2DBarX = 5 + seed;
    PeakHoldSize2DBarX = 4.25 + seed;
    ColorGainSliderX = 1.2345678f + float(seed);
    ColorOffsetBSMixSliderX = 12.5f + float(seed);
    PeakHoldColorX[2] = 0.3333333f;
    GridColorY[1] = 0.1f * float(seed % 5);
    gridColorYGiven = 1;  // as the Display tab gives it
    DeviceConfig = (seed + 2) % 4;
    for (int r = 0; r < waterfallSelections; ++r)
        for (int k = 0; k < waterfallFlagCount; ++k)
            setDisplayModeFlag(r, k, (r + k + seed) % 2);
    setBrainpeakMIDIOpend = 1;
    setBrainrhythmMIDIOpend = 1;
    for (int s = 0; s < maxSetupNumber; ++s) {
        LowFX[s] = 0.5f * float(s + seed) + 0.1f;
        TempoX[s] = 60.0f + float(s) / 7.0f;
        MIDIchannelX[s] = (s + seed) % 16;
        ProgramChangeXXX[s] = (s * 3 + seed) % 128;
        MIDIportXstr[s] = QStringLiteral("port %1 \"quoted\"").arg(s + seed);
        strX[s] = QStringLiteral("Setup %1; {braces} (parens)").arg(s * seed);
        gainNoteX[s] = 1.0f / float(s + 3);
        LowF5X[s] = 13.0f + float(seed) / 3.0f;
        MIDIchannel8X[s] = (s + 7 + seed) % 16;
        strEX[s] = QStringLiteral("Band setup %1").arg(s + seed);
    }
    SetupPopupX = 17 + seed;
    InstrumentNumber = 42 + seed;
    SetupPopupEX = 99 - seed;
    for (int k = 0; k < soundSlotCount; ++k) {
        RowsCountA[k] = (k + seed) % 5;
        VolumeSlider_valueA[k] = 2.0f + float(k) / 3.0f + float(seed);
        BetaHSlider_valueA[k] = float((k * seed) % 100);
        PlaymodeA[k] = (k + seed) % 4;
        (*soundPathTable(k))[std::size_t(seed)] =
            QStringLiteral("/sounds/slot %1/sound %2.wav").arg(k).arg(seed);
    }
    SoundBlockX = 1 + seed;
    firsttimeQXSoundController = 1;
    SetFFTController& analysis = SetFFTController::sharedSetFFTController();
    analysis.setFFTpoint(2 + seed);
    for (int c = 0; c < 4; ++c)
        analysis.setGainNumber(c, (c + seed) % 9);
    analysis.setLOGpowerON(seed % 2);
    analysis.setAveragingIndex(seed % 5);
    analysis.setMainsFrequency(seed % 2 == 1 ? 50 : 60);
    SampleSpeed = 256;
    tlongE = 2 + seed;
    tploop = 1;
    ploopStart = 10 + seed;
    ploop = 1000 + seed;
}

}  // namespace

TEST(DocumentRoundTrip, EverySettingAndFiveFullChannelsComeBackEqual)
{
    test::CoreDocument doc;
    const int length = MAXbuffer.load();  // five channels at the longest recording the buffers hold
    test::fillRecording(length);
    changeEverySetting(1);
    const QString path = test::tempFolder() + "/full.nupo4";
    QString error;
    ASSERT_TRUE(doc.document.writeToFile(path, false, &error)) << error.toStdString();
    const QByteArray saved = doc.document.snapshot({});

    // Everything changes, then the file brings it back.
    changeEverySetting(2);
    test::fillRecording(500);
    ASSERT_NE(doc.document.snapshot({}), saved);
    ASSERT_TRUE(doc.document.readFromFile(path, &error)) << error.toStdString();
    EXPECT_EQ(doc.document.snapshot({}), saved);
    EXPECT_EQ(maxploop.load(), length);
    EXPECT_EQ(SampleSpeed.load(), 256);
    // The replay speed comes back with the row spacing it gives at the recording's rate.
    EXPECT_EQ(tlongE.load(), 3);
    EXPECT_EQ(tploop.load(), 256 / 120 * 16);
    EXPECT_EQ(ploop.load(), 1001);
    EXPECT_EQ(ploopStart.load(), 11);
    const RecordingBuffers& buffers = RecordingBuffers::sharedRecordingBuffers();
    for (int c = 0; c < 5; ++c)
        for (int i : {0, 1, 4095, length / 2, length - 1})
            EXPECT_EQ(buffers.getIntFromBuffer(c, i), (i * (c + 3)) % 2049 - 1024 + c * 100000)
                << c << " " << i;
    EXPECT_EQ(strX[5], "Setup 5; {braces} (parens)");
    EXPECT_EQ(MIDIportXstr[3], "port 4 \"quoted\"");
    EXPECT_EQ(TempoX[100].load(), 60.0f + 100.0f / 7.0f);
    EXPECT_EQ(ColorGainSliderX, 1.2345678f + 1.0f);
    EXPECT_EQ(InstrumentNumber.load(), 43);
    EXPECT_EQ(displayModeFlag(3, 5), 1);
    EXPECT_EQ(displayModeFlag(3, 4), 0);
    EXPECT_EQ(RowsCountA[7], 3);
    EXPECT_EQ(VolumeSlider_valueA[4], 2.0f + 4.0f / 3.0f + 1.0f);
    EXPECT_EQ(SendSoundIstr[1], "/sounds/slot 9/sound 1.wav");
    EXPECT_EQ(SoundBlockX.load(), 2);
    EXPECT_EQ(fftp.load(), 1024);
    EXPECT_EQ(setGain3Number.load(), 3);
    EXPECT_EQ(averageFFTX.load(), 2);
    EXPECT_EQ(mainsFrequencyX.load(), 50);
    EXPECT_EQ(startToOpenData.load(), 0);
    EXPECT_EQ(startToSaveData.load(), 0);
}

TEST(DocumentRoundTrip, ReadingLeavesTheCommittedMidiCopiesAlone)
{
    test::CoreDocument doc;
    test::fillRecording(100);
    changeEverySetting(1);
    const QByteArray text = doc.document.dataRepresentation();
    LowFXZ[7] = 77.0f;
    strX[7] = "edited";
    ASSERT_TRUE(doc.document.readFromData(text, "doc"));
    EXPECT_EQ(LowFXZ[7].load(), 77.0f);
    EXPECT_EQ(strX[7], "Setup 7; {braces} (parens)");
}

TEST(DocumentRoundTrip, TheMidiSetupsAreSavedAsTheUsersOnlyOnceInUseAndChangedOrRead)
{
    test::CoreDocument doc;
    test::fillRecording(10);
    setBrainpeakMIDIOpend = 0;
    setBrainrhythmMIDIOpend = 0;
    const QByteArray untouched = doc.document.dataRepresentation();
    EXPECT_FALSE(untouched.contains("BrainPeakMIDI"));
    EXPECT_TRUE(untouched.contains("setBrainrhythmMIDIOpend: = 0"));
    // In use (the panels opened) but unchanged, values the mappers measure aside: the same file.
    setBrainpeakMIDIOpend = 1;
    setBrainrhythmMIDIOpend = 1;
    InputFX[3] = InputFX[3] + 5.0f;
    const float measured = bandOutX[0][2];
    bandOutX[0][2] = measured + 3.0f;
    EXPECT_FALSE(doc.document.dataRepresentation().contains("BrainPeakMIDI"));
    EXPECT_TRUE(doc.document.dataRepresentation().contains("setBrainrhythmMIDIOpend: = 0"));
    bandOutX[0][2] = measured;
    EXPECT_EQ(doc.document.dataRepresentation(), untouched);
    // A setup changed: its section is the user's.
    const float low = LowFX[5];
    LowFX[5] = low + 1.0f;
    EXPECT_TRUE(doc.document.dataRepresentation().contains("BrainPeakMIDI"));
    LowFX[5] = low;
    EXPECT_FALSE(doc.document.dataRepresentation().contains("BrainPeakMIDI"));
    const float gain = gainNoteX[7];
    gainNoteX[7] = gain + 1.0f;
    EXPECT_TRUE(doc.document.dataRepresentation().contains("setBrainrhythmMIDIOpend: = 1"));
    gainNoteX[7] = gain;

    // Setups read from a file are the user's, unchanged or not.
    const QString path = test::tempFolder() + "/midi-in-use.nupo4";
    LowFX[5] = low + 2.0f;
    gainNoteX[7] = gain + 2.0f;
    ASSERT_TRUE(doc.document.writeToFile(path));
    LowFX[5] = low;
    gainNoteX[7] = gain;
    ASSERT_TRUE(doc.document.readFromFile(path));
    EXPECT_EQ(LowFX[5], low + 2.0f);
    EXPECT_EQ(gainNoteX[7], gain + 2.0f);
    LowFX[5] = low;
    gainNoteX[7] = gain;
    const QByteArray read = doc.document.dataRepresentation();
    EXPECT_TRUE(read.contains("BrainPeakMIDI"));
    EXPECT_TRUE(read.contains("setBrainrhythmMIDIOpend: = 1"));
}

TEST(PreferenceFile, LivesInTheXdgConfigFolderAndCarriesTheSettingsWithoutTheRecording)
{
    qputenv("XDG_CONFIG_HOME", "/some/config");
    EXPECT_EQ(defaultPreferenceFilePath(), "/some/config/NUPO4/com.quellbarok.NUPO4.prefs.plist");
    qputenv("XDG_CONFIG_HOME", "relative/is/ignored");
    qputenv("HOME", "/home/someone");
    EXPECT_EQ(defaultPreferenceFilePath(), "/home/someone/.config/NUPO4/com.quellbarok.NUPO4.prefs.plist");
    qputenv("XDG_CONFIG_HOME", test::tempFolder().toLocal8Bit());
    const QString path = defaultPreferenceFilePath();

    test::CoreDocument doc;
    test::fillRecording(300);
    changeEverySetting(3);
    ASSERT_TRUE(doc.document.writeToFile(path, true));  // creates the NUPO4 folder
    const QByteArray saved = doc.document.snapshot({"Recording"});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("NUPO4 preferences"));
    EXPECT_FALSE(text.contains("Recording"));

    changeEverySetting(4);
    test::fillRecording(200);
    ASSERT_TRUE(doc.document.openDataForAllPreference(path));
    EXPECT_EQ(doc.document.snapshot({"Recording"}), saved);
    EXPECT_EQ(maxploop.load(), 200);  // the recording is not the preference file's
    // A preference file is not a document, and the other way round.
    QString error;
    EXPECT_FALSE(doc.document.readFromFile(path, &error));
    EXPECT_TRUE(error.contains(path) && error.contains("not a NUPO4 brain-note document"))
        << error.toStdString();
}

TEST(DocumentRoundTrip, AnalysisSettingsThatNoPanelOffersAreRefusedWithTheirPlace)
{
    test::CoreDocument doc;
    test::fillRecording(100);
    changeEverySetting(1);
    const QByteArray valid = doc.document.dataRepresentation();
    const QByteArray before = doc.document.snapshot({});
    const std::pair<const char*, const char*> cases[] = {
        {"fftp = 1024;", "fftp: 300 is not an FFT size (128, 256, 512, 1024, 2048, 4096 or 8192 points)"},
        {"averageFFTX = 2;", "averageFFTX: 3 is not a number of spectra averaged (1, 2, 4, 8 or 16)"},
        {"mainsFrequencyX = 50;", "mainsFrequencyX: the mains frequency is 50 or 60 Hz, not 55"},
    };
    const char* replacements[] = {"fftp = 300;", "averageFFTX = 3;", "mainsFrequencyX = 55;"};
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        QByteArray text = valid;
        ASSERT_TRUE(text.contains(cases[k].first)) << cases[k].first;
        text.replace(cases[k].first, replacements[k]);
        QString error;
        EXPECT_FALSE(doc.document.readFromData(text, "bad.nupo4", &error));
        EXPECT_EQ(error, QStringLiteral("Cannot open bad.nupo4: section Analysis, ") + cases[k].second);
        EXPECT_EQ(doc.document.snapshot({}), before);
    }
}

// A colour level set by hand stands still and comes back so, though files hold the animations as 0..4; the
// Device tab's channel count comes back, and a count that is none is refused.
TEST(DocumentRoundTrip, AStillColourLevelAndTheChannelCountComeBack)
{
    test::CoreDocument doc;
    test::fillRecording(100);
    changeEverySetting(1);
    setColorOffsetAnimationX = colourLevelSetByHand;  // an offset typed in the Display tab
    ColorOffsetSliderX = 70.0f;
    setColorGainAnimationX = 3;                            // running
    setColorOffsetBSMixAnimationX = colourLevelSetByHand;  // set by hand to the default level
    ColorOffsetBSMixSliderX = defaultColourOffset;
    DeviceConfig = 3;  // four channels
    const QByteArray text = doc.document.dataRepresentation();
    const QByteArray settings = doc.document.snapshot({"Recording"});
    EXPECT_TRUE(text.contains("setColorOffsetAnimationX = 0;"));
    EXPECT_TRUE(text.contains("setColorGainAnimationX = 3;"));
    EXPECT_TRUE(text.contains("DeviceConfig = 3;"));

    setColorOffsetAnimationX = 4;
    ColorOffsetSliderX = 12.0f;
    setColorGainAnimationX = 0;
    DeviceConfig = 1;
    QString error;
    ASSERT_TRUE(doc.document.readFromData(text, "still.nupo4", &error)) << error.toStdString();
    EXPECT_EQ(setColorOffsetAnimationX, colourLevelSetByHand);
    EXPECT_EQ(ColorOffsetSliderX, 70.0f);
    EXPECT_EQ(setColorGainAnimationX, 3);
    EXPECT_EQ(setColorOffsetBSMixAnimationX, 0);  // still at the default level: "default"
    EXPECT_EQ(DeviceConfig.load(), 3);
    EXPECT_TRUE(doc.document.snapshot({"Recording"}) == settings);

    // What earlier versions wrote for a level set by hand reads as one, never as a running animation.
    QByteArray earlier = text;
    earlier.replace("setColorOffsetAnimationX = 0;", "setColorOffsetAnimationX = 5;");
    setColorOffsetAnimationX = 4;
    ASSERT_TRUE(doc.document.readFromData(earlier, "earlier.nupo4", &error)) << error.toStdString();
    EXPECT_EQ(setColorOffsetAnimationX, colourLevelSetByHand);

    const QByteArray before = doc.document.snapshot({});
    const std::pair<const char*, const char*> refused[] = {
        {"DeviceConfig = 4;", "4 is not a channel configuration (0 to 3: one to four channels)"},
        {"DeviceConfig = -1;", "-1 is not a channel configuration (0 to 3: one to four channels)"},
        {"DeviceConfig = 1.5;", "1.5 is not a channel configuration (0 to 3: one to four channels)"},
        {"DeviceConfig = four;", "\"four\" is not a number"},
        {"DeviceConfig = (3);", "an array where a string belongs"},
    };
    for (const auto& [replacement, message] : refused) {
        QByteArray bad = text;
        bad.replace("DeviceConfig = 3;", replacement);
        EXPECT_FALSE(doc.document.readFromData(bad, "bad.nupo4", &error)) << replacement;
        EXPECT_EQ(error, QStringLiteral("Cannot open bad.nupo4: section Device, DeviceConfig: ") + message);
        EXPECT_EQ(doc.document.snapshot({}), before);
    }
}

TEST(DocumentSave, AFailedSaveLeavesTheOldFileWholeAndSaysWhy)
{
    test::CoreDocument doc;
    test::fillRecording(20000);
    const QString path = test::tempFolder() + "/kept.nupo4";
    ASSERT_TRUE(doc.document.writeToFile(path));
    QFile before(path);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray old = before.readAll();
    before.close();

    // The disk fills up half-way through the new file.
    test::fillRecording(40000);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit saved = limit;
    limit.rlim_cur = rlim_t(old.size() / 2);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    QString error;
    const bool written = doc.document.writeToFile(path, false, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(written);
    EXPECT_TRUE(error.startsWith("Cannot save " + path)) << error.toStdString();
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), old);
    // No temporary file is left beside it.
    EXPECT_EQ(QFileInfo(path).dir().entryList(QDir::Files | QDir::Hidden), QStringList{"kept.nupo4"});
}

TEST(DocumentRoundTrip, SoundPathsAreBoundedAndReadingMarksTheSlotTablesValid)
{
    test::CoreDocument doc;
    test::fillRecording(10);
    firsttimeQXSoundController = 1;
    SendSoundCstr[5] = QString(5000, 'p');
    const QByteArray text = doc.document.dataRepresentation();
    firsttimeQXSoundController = 0;
    SendSoundCstr[5].clear();
    ASSERT_TRUE(doc.document.readFromData(text, "doc"));
    EXPECT_EQ(firsttimeQXSoundController, 1);
    EXPECT_EQ(SendSoundCstr[5].size(), SoundSection::maxPathLength);
}
