// The peak mapper's messages through real ports: a test program's destination on the JACK server
// receives what the mapper sends for given values, ranges, routings and setups.
#include "MidiTestClient.h"

#include "midi/common/MidiMapperWorker.h"
#include "midi/output/MidiOutput.h"
#include "midi/output/MidiSynth.h"
#include "midi/output/QXMidiPort.h"
#include "midi/peak/SetMIDI.h"
#include "platform/synth/InstrumentPicker.h"
#include "platform/synth/SynthGraph.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <atomic>
#include <thread>

namespace nupo {
namespace {

using test::MidiBytes;
using test::MidiTestClient;

const MidiBytes marker = {0xB0, 119, 77};

class PeakMidiSendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        NUPO_REQUIRE_JACK_OR_SKIP();
        SynthGraph::setAudioOutputEnabled(false);
        sink = MidiTestClient::destination(QStringLiteral("peak sink"));
        firstTimeRunMIDIpeak = 0;
        mapper = &SetMIDI::sharedSetMIDI();
        mapper->setSetToDefault_(2);
        mapper->initPortStr();
        mapper->setResetMIDI_(1);  // starts MIDI and lists the destinations
        for (int i = 0; i < findPortCountE; ++i)
            if (strMIDIport[i].endsWith(QStringLiteral(":peak sink")))
                sinkPort = i;
        ASSERT_GE(sinkPort, 0);
        ASSERT_TRUE(sink->primeThroughPort(sinkPort)) << "nothing sent to the sink arrives";
        sinkName = strMIDIport[sinkPort];
    }
    void TearDown() override { disposeMidi(); }

    // A setup that sends to the sink on a channel, with the start-up routing (F note, V velocity).
    void enable(int s, int channel)
    {
        MIDIoutONX[s] = 1;
        MIDIportX[s] = sinkPort;
        MIDIchannelX[s] = channel;
    }

    std::vector<MidiBytes> sentBy(const std::function<void()>& send)
    {
        sink->clear();
        send();
        MidiControlChange(marker[1], marker[2], 0, 0, sinkPort, 0);
        return sink->messagesBefore(marker);
    }

    SetMIDI* mapper = nullptr;
    std::unique_ptr<MidiTestClient> sink;
    int sinkPort = -1;
    QString sinkName;
};

TEST_F(PeakMidiSendTest, OneSetupSendsItsRoutingInOrder)
{
    enable(20, 2);
    OutputFX[20] = 64.7f;
    OutputVX[20] = 100.2f;
    MIDIcontrolchangeNFX[20] = 1;  // controller number F, value V
    MIDIprogramchangeVX[20] = 1;
    MIDIpitchbendVX[20] = 1;
    const auto got = sentBy([&] { mapper->sendMIDIData(20, 10); });
    const std::vector<MidiBytes> expected = {
        {0x82, 0, 0},    {0x92, 64, 100},  // F note after the remembered note 0
        {0xB2, 64, 100},                   // F control change
        {0x82, 64, 0},   {0x92, 64, 100},  // V as velocity: the same note again (always mode)
        {0xC2, 100},     {0xE2, 0, 100}};
    EXPECT_EQ(got, expected);

    MIDIoutONX[20] = 2;  // only exactly 1 sends
    EXPECT_TRUE(sentBy([&] { mapper->sendMIDIData(20, 10); }).empty());
}

TEST_F(PeakMidiSendTest, OutOfRangeValuesAreClampedNotDropped)
{
    enable(21, 0);
    OutputFX[21] = 300.0f;
    OutputVX[21] = -20.0f;
    MIDIvelocityVX[21] = 0;
    MIDIchannelX[21] = 40;
    MIDIpitchbendFX[21] = 1;
    const auto got = sentBy([&] { mapper->sendMIDIData(21, 10); });
    const std::vector<MidiBytes> expected = {{0x8F, 0, 0}, {0x9F, 127, 0}, {0xEF, 0, 127}};
    EXPECT_EQ(got, expected);
}

TEST_F(PeakMidiSendTest, ChannelRoutedOnTheWorkerSendsTheProgramOnTheNewChannel)
{
    enable(22, 0);
    MIDInoteFX[22] = 0;
    MIDIvelocityVX[22] = 0;
    MIDIchannelFX[22] = 1;
    ProgramChangeXXX[22] = 33;
    OutputFX[22] = 5.9f;
    SetupNX = 3;
    MIDIoutONX[3] = 1;
    MIDIoutTempOX = 77;
    const auto got = sentBy([&] {
        std::atomic<bool> done{false};
        MidiMapperWorker worker(QStringLiteral("test worker"));
        worker.start(
            0.001, [] {}, 1.0, [] {});
        worker.runOnThread([&] {
            mapper->sendMIDIData(22, 0);
            done = true;
        });
        while (!done)
            std::this_thread::yield();
    });
    EXPECT_EQ(got, (std::vector<MidiBytes>{{0xC5, 33}}));
    EXPECT_EQ(MIDIchannelX[22], 5);
    EXPECT_EQ(MIDIoutTempOX, 77);  // the shown setup's switch is not touched from the worker
    EXPECT_EQ(MIDIoutONX[3], 1);
}

TEST_F(PeakMidiSendTest, TickSendsDueSetupsInTheirBandAndEndsNotesOutside)
{
    enable(30, 0);
    enable(31, 1);
    MIDIvelocityVX[30] = 0;
    InputFX[30] = 10.0f;
    OutputFX[30] = 45.0f;
    OutputVX[30] = 90.0f;
    InputFX[31] = 50.0f;  // outside its band 0..40
    OutputFX[31] = 90.0f;
    PlayNote = 0;
    auto got = sentBy([&] { mapper->doMIDI(); });
    std::vector<MidiBytes> expected = {{0x80, 0, 0}, {0x90, 45, 90}, {0x81, 90, 0}};
    EXPECT_EQ(got, expected);
    EXPECT_EQ(PlayNote, 0);

    tlongX[30] = 1000.0;  // not due again for a long while
    tlongX[31] = 1000.0;
    got = sentBy([&] { mapper->doMIDI(); });
    EXPECT_TRUE(got.empty());

    PlayNote = 1;
    tlongX[30] = 0.0;
    got = sentBy([&] {
        setSoloX = 1;  // solo: only the shown setup, which is off
        mapper->doMIDI();
        setSoloX = 0;
    });
    EXPECT_TRUE(got.empty());
}

TEST_F(PeakMidiSendTest, AllNotesOffAtQuitAndPause)
{
    enable(40, 0);
    enable(41, 3);
    auto got = sentBy([&] { mapper->sendMidiShutDownALL(); });
    ASSERT_EQ(got.size(), 256u);
    for (int n = 0; n < 128; ++n) {
        EXPECT_EQ(got[n], (MidiBytes{0x80, static_cast<unsigned char>(n), 0}));
        EXPECT_EQ(got[128 + n], (MidiBytes{0x83, static_cast<unsigned char>(n), 0}));
    }
    SetupNX = 42;
    MIDIportX[42] = sinkPort;
    MIDIchannelX[42] = 7;
    got = sentBy([&] { mapper->sendMidiShutDown(); });
    ASSERT_EQ(got.size(), 384u);
    EXPECT_EQ(got.back(), (MidiBytes{0x87, 127, 0}));
    MIDIportX[42] = maxMidiDestinations - 1 + 5;  // not a listed destination: no extra pass
    got = sentBy([&] { mapper->sendMidiShutDown(); });
    EXPECT_EQ(got.size(), 256u);
}

TEST_F(PeakMidiSendTest, FileLoadSilencesOnceThenSuspends)
{
    enable(50, 9);
    MIDIvelocityVX[50] = 0;
    InputFX[50] = 99.0f;  // outside the band: a normal tick sends nothing for it
    PlayNote = 0;
    auto got = sentBy([&] {
        mapper->timerUpdate();
        startToOpenData = 1;
        mapper->timerUpdate();
        mapper->timerUpdate();
    });
    ASSERT_EQ(got.size(), 128u);
    EXPECT_EQ(got.front(), (MidiBytes{0x89, 0, 0}));
    InputFX[50] = 10.0f;  // now in band, but the load is still going on
    got = sentBy([&] { mapper->timerUpdate(); });
    EXPECT_TRUE(got.empty());
    startToOpenData = 0;
    got = sentBy([&] { mapper->timerUpdate(); });
    EXPECT_FALSE(got.empty());
}

TEST_F(PeakMidiSendTest, StoredPortNamesFindTheirDestinationAgain)
{
    MIDIportXstr[60] = sinkName;
    MIDIportXstr[61] = QStringLiteral("a destination that is gone");
    MIDIportXstr[62] = QStringLiteral("NUPO");
    mapper->convertPortNameToInt();
    EXPECT_EQ(MIDIportX[60], sinkPort);
    EXPECT_EQ(MIDIportX[61], findPortCountE - 1);
    EXPECT_EQ(strMIDIport[MIDIportX[62]], QStringLiteral("NUPO"));
    MIDIportX[63] = 15;  // past the listed destinations: the first one
    EXPECT_EQ(mapper->midiPortReturn(63), findPortCountE > 15 ? 15 : 0);
}

TEST_F(PeakMidiSendTest, InstrumentPickerSetsTheChannelsProgram)
{
    int asked = 0;
    int startedOn = 0;
    QString prompt;
    setInstrumentPicker([&](const QString& text, int current, InstrumentChoice& choice) {
        ++asked;
        prompt = text;
        startedOn = current;
        choice = {41, QStringLiteral("Viola")};
        return true;
    });
    SetupNX = 0;
    enable(0, 2);
    ProgramChangeXXX[0] = 0;  // the panel shows program 0, Acoustic Grand Piano: the picker's number 1
    mProgram[2] = 1;
    const auto got = sentBy([&] { mapper->setInstrument_(1); });
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(startedOn, 1);
    EXPECT_EQ(prompt, QStringLiteral("Pick An Instrument:"));
    EXPECT_EQ(mProgram[2], 40);
    EXPECT_EQ(InstrumentNumber, 40);
    EXPECT_EQ(ProgramChangeXXX[0], 40);
    EXPECT_EQ(mProgramText[2], QStringLiteral("Viola"));
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back(), (MidiBytes{0xC2, 40}));
    EXPECT_EQ(MIDIoutONX[0], 1);  // restored after the pick

    // Cancelled, the channel keeps the program the panel showed.
    setInstrumentPicker([&](const QString& text, int, InstrumentChoice&) {
        prompt = text;
        return false;
    });
    ProgramChangeXXX[0] = 7;
    sentBy([&] { mapper->setInstrument_(1); });
    EXPECT_EQ(mProgram[2], 7);
    EXPECT_EQ(ProgramChangeXXX[0], 7);
    EXPECT_EQ(QXMidiPort::sharedQXMidiPort().setInstrumentN(9), 1);
    EXPECT_EQ(prompt, QStringLiteral("Pick An:"));
    EXPECT_EQ(QXMidiPort::sharedQXMidiPort().setInstrumentN(99), 1);  // channel 0's picker
    setInstrumentPicker(nullptr);
}

TEST(PeakMidiWorkerTest, WorkerThreadTurnsNewPeaksIntoNotes)
{
    NUPO_REQUIRE_JACK_OR_SKIP();
    SynthGraph::setAudioOutputEnabled(false);
    auto sink = MidiTestClient::destination(QStringLiteral("worker sink"));
    SetMIDI& mapper = SetMIDI::sharedSetMIDI();  // starts the worker thread and its 0.01 s tick
    mapper.setSetToDefault_(2);
    mapper.initPortStr();
    mapper.setResetMIDI_(1);
    int port = -1;
    for (int i = 0; i < findPortCountE; ++i)
        if (strMIDIport[i].endsWith(QStringLiteral(":worker sink")))
            port = i;
    ASSERT_GE(port, 0);
    ASSERT_TRUE(sink->primeThroughPort(port)) << "nothing sent to the sink arrives";
    peakFFTD[0] = 10.0f;  // CH 3: value 10 at 20 Hz
    peakFFTD[1] = 20.0f;
    MIDIportX[70] = port;
    MIDIchannelX[70] = 4;
    NUPOchannelX[70] = 2;
    PlayOnlyNoteChangedX[70] = 1;
    MIDIvelocityVX[70] = 0;
    ONInputX[70] = 1;
    MIDIoutONX[70] = 1;  // from here the worker measures, maps and sends on its own
    const auto got = sink->waitForMessages(2);
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[0], (MidiBytes{0x84, 0, 0}));
    EXPECT_EQ(got[1], (MidiBytes{0x94, 60, 63}));  // 20 Hz of 0..40 onto 30..90; 10 of 0..20 onto 0..127
    MIDIoutONX[70] = 0;
    SetMIDI::stopWorker();
    disposeMidi();
}

}  // namespace
}  // namespace nupo
