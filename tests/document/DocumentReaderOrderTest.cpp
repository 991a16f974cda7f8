// The readers' calls to the MIDI mappers and the flags they raise, in order.
#include <gtest/gtest.h>

#include "DocumentTestSupport.h"
#include "plots/waterfall/WaterfallState.h"
#include "support/TestSupport.h"

using namespace nupo;

namespace {

QByteArray documentWithMidi(test::CoreDocument& doc)
{
    test::fillRecording(64);
    setBrainpeakMIDIOpend = 1;
    setBrainrhythmMIDIOpend = 1;
    const QByteArray text = doc.document.dataRepresentation();
    setBrainpeakMIDIOpend = 0;
    setBrainrhythmMIDIOpend = 0;
    return text;
}

}  // namespace

TEST(DocumentReader, FirstPeakThenBandSettingsOpenTheMappersInOrderWhileTheOpenFlagIsUp)
{
    test::CoreDocument doc;
    const QByteArray text = documentWithMidi(doc);
    bool startUpRan = false;
    doc.document.runStartUpIfNeeded = [&] {
        doc.calls.note("start-up");
        startUpRan = true;
        return true;
    };
    doc.document.windowSetup = [&] { doc.calls.note("window set-up"); };
    ASSERT_TRUE(doc.document.readFromData(text, "doc"));
    EXPECT_TRUE(startUpRan);
    const QStringList expected = {
        "start-up open=1",
        // Peak section: the settings were not in use.
        "init open=1", "setResetMIDI 1 open=1", "setBrainpeakMIDIOpend 1 open=1",
        "band setGetOutMIDIPort open=1", "setBrainpeakMIDISetName 1 open=1", "initTempo open=1",
        "setProgramChangeToAllSetup open=1", "convertPortNameToInt open=1",
        "setProgramChangeToAllSetup open=1",
        // Band section: the peak settings are open by now, so only the port and the flag.
        "band setGetOutMIDIPort open=1", "setBrainrhythmMIDIOpend 1 open=1",
        "band convertPortNameToInt open=1",
        // The window set-up follows once the flag is down.
        "window set-up open=0"};
    EXPECT_EQ(doc.calls.log, expected);
    EXPECT_EQ(startToOpenData.load(), 0);
}

TEST(DocumentReader, BandSettingsOpenTheBandMapperFullyWhenNeitherMapperWasOpen)
{
    test::CoreDocument doc;
    test::fillRecording(64);
    setBrainrhythmMIDIOpend = 1;
    const QByteArray text = doc.document.dataRepresentation();  // no peak section: not in use
    setBrainrhythmMIDIOpend = 0;
    ASSERT_FALSE(text.contains("BrainPeakMIDI"));
    ASSERT_TRUE(doc.document.readFromData(text, "doc"));
    const QStringList expected = {"band init open=1",
                                  "band setResetMIDI 1 open=1",
                                  "setBrainrhythmMIDIOpend 1 open=1",
                                  "setBrainrhythmMIDISetName 1 open=1",
                                  "band setGetOutMIDIPort open=1",
                                  "setBrainrhythmMIDIOpend 1 open=1",
                                  "band convertPortNameToInt open=1"};
    EXPECT_EQ(doc.calls.log, expected);
}

TEST(DocumentReader, MappersAlreadyInUseOnlyTakeTheSettingsAndBandDefaultsAreNotRead)
{
    test::CoreDocument doc;
    test::fillRecording(64);
    setBrainpeakMIDIOpend = 1;
    setBrainrhythmMIDIOpend = 0;  // the file's band section holds defaults only
    strEX[0] = "from the file";
    const QByteArray text = doc.document.dataRepresentation();
    setBrainrhythmMIDIOpend = 1;
    strEX[0] = "kept";
    ASSERT_TRUE(doc.document.readFromData(text, "doc"));
    EXPECT_EQ(doc.calls.log,
              (QStringList{"initTempo open=1", "setProgramChangeToAllSetup open=1",
                           "convertPortNameToInt open=1", "setProgramChangeToAllSetup open=1"}));
    EXPECT_EQ(strEX[0], "kept");
}

TEST(DocumentReader, LoadedRecordingRestartsTheWaterfallHistoryAndThePreferenceReaderStartsNothing)
{
    test::CoreDocument doc;
    const QByteArray text = documentWithMidi(doc);
    timeRecZ[5] = 1234;
    bool startUpAsked = false;
    doc.document.runStartUpIfNeeded = [&] { return startUpAsked = true; };
    bool windowsOpened = false;
    doc.document.windowSetup = [&] { windowsOpened = true; };
    ASSERT_TRUE(doc.document.readFromData(text, "doc"));
    EXPECT_EQ(timeRecZ[5], 0);  // initPositionZ

    // The preference file: no start-up, no window set-up, no recording.
    const QString path = test::tempFolder() + "/prefs.plist";
    ASSERT_TRUE(doc.document.writeToFile(path, true));
    startUpAsked = windowsOpened = false;
    timeRecZ[5] = 1234;
    doc.calls.log.clear();
    ASSERT_TRUE(doc.document.openDataForAllPreference(path));
    EXPECT_FALSE(startUpAsked);
    EXPECT_FALSE(windowsOpened);
    EXPECT_EQ(timeRecZ[5], 1234);
    EXPECT_TRUE(doc.calls.log.contains("initTempo open=1"));
}

TEST(DocumentWriter, RaisesTheSaveFlagWhileTheSectionsAreWritten)
{
    struct Watch : DocumentSection {
        int seen = -1;
        QString key() const override { return "Watch"; }
        std::optional<PlistDictionary> write() override
        {
            seen = startToSaveData.load();
            return PlistDictionary{};
        }
        bool stage(SectionInput&) override { return true; }
        void apply(const DocumentReadContext&) override {}
    };
    NUPO4DrawDocument document;
    auto watch = std::make_unique<Watch>();
    Watch* w = watch.get();
    document.addSection(std::move(watch));
    document.dataRepresentation();
    EXPECT_EQ(w->seen, 1);
    EXPECT_EQ(startToSaveData.load(), 0);
    document.snapshot({});  // comparing states raises nothing: the mappers keep playing
    EXPECT_EQ(w->seen, 0);
}
