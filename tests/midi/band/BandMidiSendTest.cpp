// The band mapper's notes through real ports: a test program's destination on the JACK server receives
// what the worker sends for band values, gains, note modes, timings and setups, and what the silencing
// operations send on the band channels.
#include "../MidiTestClient.h"

#include "document/NUPO4DrawDocument.h"
#include "midi/band/SetMIDIband.h"
#include "midi/output/MidiOutput.h"
#include "platform/synth/SynthGraph.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <atomic>
#include <thread>

namespace nupo {
namespace {

using test::MidiBytes;
using test::MidiTestClient;

const MidiBytes marker = {0xB0, 119, 77};

MidiBytes noteOn(int channel, int note, int velocity)
{
    return {static_cast<unsigned char>(0x90 + channel), static_cast<unsigned char>(note),
            static_cast<unsigned char>(velocity)};
}

MidiBytes noteOff(int channel, int note)
{
    return {static_cast<unsigned char>(0x80 + channel), static_cast<unsigned char>(note), 0};
}

class BandMidiSendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        NUPO_REQUIRE_JACK_OR_SKIP();
        SynthGraph::setAudioOutputEnabled(false);
        sink = MidiTestClient::destination(QStringLiteral("band sink"));
        firstTimeRunMIDIband = 0;  // the tests tick the worker themselves unless they start it
        mapper = &SetMIDIband::sharedSetMIDIband();
        mapper->setSetToDefault_(2);
        mapper->initPortStr();
        mapper->setResetMIDI_(1);  // starts MIDI and lists the destinations
        for (int i = 0; i < findPortCountE; ++i)
            if (strMIDIport[std::size_t(i)].endsWith(QStringLiteral(":band sink")))
                sinkPort = i;
        ASSERT_GE(sinkPort, 0);
        ASSERT_TRUE(sink->primeThroughPort(sinkPort)) << "nothing sent to the sink arrives";
    }
    void TearDown() override
    {
        SetMIDIband::stopWorker();
        disposeMidi();
    }

    // A setup whose output goes to the sink.
    void enable(int s)
    {
        MIDIoutONEX[s] = 1;
        MIDIportEX[s] = sinkPort;
    }

    // Starts the worker as the program does. With every setup off, it comes to rest.
    void startResting()
    {
        firstTimeRunMIDIband = 1;
        mapper->init();
        ASSERT_TRUE(test::processEventsUntil([] { return SetMIDIband::workerInterval() == 0.1; }));
    }

    // Waits until the worker has run everything queued on it so far.
    static void drainWorker()
    {
        std::atomic<bool> reached{false};
        ASSERT_TRUE(SetMIDIband::runOnWorker([&] { reached = true; }));
        ASSERT_TRUE(test::processEventsUntil([&] { return reached.load(); }));
    }

    // The times of the worker's next `count` passes, as setup 127 (never on here) takes them.
    static std::vector<double> nextPassTimes(std::size_t count)
    {
        std::vector<double> times{tsaveEX[127].load()};
        EXPECT_TRUE(test::processEventsUntil([&] {
            if (tsaveEX[127] != times.back())
                times.push_back(tsaveEX[127]);
            return times.size() > count;
        }));
        times.erase(times.begin());
        return times;
    }

    std::vector<MidiBytes> sentBy(const std::function<void()>& send)
    {
        sink->clear();
        send();
        MidiControlChange(marker[1], marker[2], 0, 0, sinkPort, 0);
        return sink->messagesBefore(marker);
    }

    SetMIDIband* mapper = nullptr;
    std::unique_ptr<MidiTestClient> sink;
    int sinkPort = -1;
};

TEST_F(BandMidiSendTest, DefaultSetupSendsItsEightNoteOnsOnEveryTick)
{
    enable(0);
    const auto got = sentBy([&] {
        for (int tick = 0; tick < 3; ++tick)
            mapper->timerUpdate();
    });
    ASSERT_EQ(got.size(), 24u);
    for (int tick = 0; tick < 3; ++tick)
        for (int n = 0; n < 8; ++n)
            EXPECT_EQ(got[std::size_t(tick * 8 + n)], noteOn(n, 10 * n, 0))
                << "tick " << tick << " band " << n + 1;
}

TEST_F(BandMidiSendTest, WorkerThreadKeepsSendingTheDefaultNotes)
{
    enable(3);
    firstTimeRunMIDIband = 1;
    mapper->init();  // starts the 0.01 s worker
    const auto got = sink->waitForMessages(40);
    SetMIDIband::stopWorker();
    ASSERT_GE(got.size(), 40u);
    for (std::size_t i = 0; i < 40; ++i)
        EXPECT_EQ(got[i], noteOn(int(i % 8), int(10 * (i % 8)), 0));
}

TEST_F(BandMidiSendTest, IdleWorkerRestsWithoutSendingOrChangingAValue)
{
    startResting();
    std::vector<double> passes;
    auto got = sentBy([&] { passes = nextPassTimes(5); });
    EXPECT_TRUE(got.empty());
    ASSERT_EQ(passes.size(), 5u);
    // A resting pass is due 0.1 s after the one before; on a busy machine one that ran late may be
    // followed at once by the next, but not twice running: four intervals span more than two resting
    // intervals (and 0.04 s when busy).
    EXPECT_GT(passes.back() - passes.front(), 0.2);
    EXPECT_EQ(SetMIDIband::workerInterval(), 0.1);
    for (int s = 0; s < maxSetupNumber; ++s)
        for (std::size_t n = 0; n < bandCount; ++n)
            ASSERT_EQ(bandOutX[n][s], 10.0f * float(n)) << "setup " << s << " band " << n + 1;

    // A setup written straight into the table (as a document or a table edit does) is seen by a
    // resting pass: the worker sends its notes and ticks at 0.01 s again.
    sink->clear();
    enable(4);
    got = sink->waitForMessages(16);
    ASSERT_GE(got.size(), 16u);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(got[i], noteOn(int(i % 8), int(10 * (i % 8)), 0));
    EXPECT_EQ(SetMIDIband::workerInterval(), 0.01);
}

TEST_F(BandMidiSendTest, SwitchingASetupOnWakesTheRestingWorkerAtOnce)
{
    const int s = 3;
    MIDIportEX[s] = sinkPort;
    SetupBandNX = s;
    startResting();
    const std::vector<std::pair<const char*, std::function<void(int)>>> switches = {
        {"input", [&](int on) { mapper->setONInput_(on); }},
        {"output", [&](int on) { mapper->setMIDIoutON_(on); }}};
    for (const auto& [name, switchTo] : switches) {
        // The worker is back at 0.01 s before its next pass: no pass ran between the switch and a
        // function queued right behind it. (A resting pass due in that instant spoils the look; try again.)
        bool seen = false;
        for (int attempt = 0; attempt < 20 && !seen; ++attempt) {
            switchTo(0);
            ASSERT_TRUE(test::processEventsUntil([] { return SetMIDIband::workerInterval() == 0.1; }));
            nextPassTimes(1);
            const double lastPass = tsaveEX[127];
            switchTo(1);
            std::atomic<double> interval{0.0};
            std::atomic<double> passThen{0.0};
            ASSERT_TRUE(SetMIDIband::runOnWorker([&] {
                interval = SetMIDIband::workerInterval();
                passThen = tsaveEX[127].load();
            }));
            drainWorker();
            if (passThen == lastPass) {
                seen = true;
                EXPECT_EQ(interval.load(), 0.01) << name;
            }
        }
        EXPECT_TRUE(seen) << name;
        switchTo(0);
    }

    // Switched on from rest, the setup sends exactly what a busy worker sends, every 0.01 s.
    ASSERT_TRUE(test::processEventsUntil([] { return SetMIDIband::workerInterval() == 0.1; }));
    sentBy([] { drainWorker(); });  // nothing left on the way
    sink->clear();
    mapper->setMIDIoutON_(1);
    const auto got = sink->waitForMessages(40);
    ASSERT_GE(got.size(), 40u);
    for (std::size_t i = 0; i < 40; ++i)
        EXPECT_EQ(got[i], noteOn(int(i % 8), int(10 * (i % 8)), 0)) << i;
    EXPECT_EQ(SetMIDIband::workerInterval(), 0.01);
}

TEST_F(BandMidiSendTest, SavingOrOpeningADocumentSilencesTheShownSetupWhileResting)
{
    for (auto& band : MIDIchannelBandX)
        band[30] = 5;
    MIDIportEX[30] = sinkPort;
    SetupBandNX = 30;
    startResting();
    NUPO4DrawDocument document;  // no sections: the flags alone
    QByteArray text;
    auto got = sentBy([&] { text = document.dataRepresentation(); });
    ASSERT_EQ(got.size(), 128u);
    for (int n = 0; n < 128; ++n)
        EXPECT_EQ(got[std::size_t(n)], noteOff(5, n));

    // Once the flag is down the worker wakes, passes (sending nothing) and rests again; opening a
    // document then silences the setup once more.
    drainWorker();
    ASSERT_TRUE(
        test::processEventsUntil([] { return needOffNoteB == 1 && SetMIDIband::workerInterval() == 0.1; }));
    got = sentBy([&] { EXPECT_TRUE(document.readFromData(text, QStringLiteral("doc"))); });
    ASSERT_EQ(got.size(), 128u);
    EXPECT_EQ(got.front(), noteOff(5, 0));
    EXPECT_EQ(got.back(), noteOff(5, 127));
    EXPECT_EQ(startToOpenData, 0);
}

TEST_F(BandMidiSendTest, NotesAndVelocitiesComeFromSinglePrecisionProducts)
{
    const int s = 5;
    enable(s);
    bandOut1X[s] = 62.57f;
    bandOut2X[s] = 6.25f;
    bandOut3X[s] = 200.0f;
    bandOut4X[s] = -2.5f;
    bandOut5X[s] = 62.75f;
    bandOut6X[s] = 0.5f;
    auto got = sentBy([&] { mapper->sendMIDInote(s); });
    ASSERT_EQ(got.size(), 8u);
    EXPECT_EQ(got[0], noteOn(0, 62, 56));
    EXPECT_EQ(got[1], noteOn(1, 6, 25));
    EXPECT_EQ(got[2], noteOn(2, 127, 0));
    EXPECT_EQ(got[3], noteOn(3, 0, 0));
    EXPECT_EQ(got[4], noteOn(4, 62, 75));
    EXPECT_EQ(got[5], noteOn(5, 0, 50));

    gainNoteX[s] = 10.0f;
    MIDIchannel2X[s] = 12;
    got = sentBy([&] { mapper->sendMIDInote(s); });
    ASSERT_EQ(got.size(), 8u);
    EXPECT_EQ(got[1], noteOn(12, 62, 50));
    EXPECT_EQ(got[6], noteOn(6, 127, 0));  // 60 x 10 clamped
}

TEST_F(BandMidiSendTest, OffThenOnSendsOnlyChangedNotes)
{
    const int s = 9;
    enable(s);
    NoteOnOffEX[s] = 0;
    NoteOffOnEX[s] = 1;
    for (auto& band : MIDIchannelBandX)
        band[s] = 4;  // all bands on one channel: they share one remembered note
    for (auto& band : bandOutX)
        band[s] = 40.0f;
    auto got = sentBy([&] { mapper->timerUpdate(); });
    ASSERT_EQ(got.size(), 2u);  // the remembered note starts as 0
    EXPECT_EQ(got[0], noteOff(4, 0));
    EXPECT_EQ(got[1], noteOn(4, 40, 0));
    got = sentBy([&] { mapper->timerUpdate(); });
    EXPECT_TRUE(got.empty());
    for (auto& band : bandOutX)
        band[s] = 41.0f;
    got = sentBy([&] { mapper->timerUpdate(); });
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], noteOff(4, 40));
    EXPECT_EQ(got[1], noteOn(4, 41, 0));

    NoteOffOnEX[s] = 0;  // neither mode: nothing is sent
    got = sentBy([&] { mapper->timerUpdate(); });
    EXPECT_TRUE(got.empty());
}

TEST_F(BandMidiSendTest, TimingSoloAndInputDecideWhatAPassSends)
{
    enable(2);
    enable(7);
    SendMIDItimingEX[7] = 3;  // every 0.5 s
    auto got = sentBy([&] {
        mapper->sendMIDIbandData();
        mapper->sendMIDIbandData();
    });
    ASSERT_EQ(got.size(), 24u);  // setup 2 twice, setup 7 once
    EXPECT_DOUBLE_EQ(tlongEX[7], 0.5);
    EXPECT_GT(tsaveEX[100], 0.0);  // a setup with input and output off still has its time taken

    SetupBandNX = 7;
    setSoloBandX = 1;
    tsaveEX[7] = 0.0;
    got = sentBy([&] {
        mapper->sendMIDIbandData();
        mapper->sendMIDIbandData();
    });
    EXPECT_EQ(got.size(), 8u);

    // Input on in the brain-switch source: the band values follow the switch levels.
    setSoloBandX = 0;
    MIDIoutONEX[7] = 0;
    ONInputEX[2] = 1;
    UsePeakModeEX[2] = 1;
    NUPOchannelEX[2] = 2;
    setPauseX = 1;  // the refresh keeps the records written here
    peakSWfftCount[2][3][0].level = 12.25f;
    got = sentBy([&] { mapper->sendMIDIbandData(); });
    ASSERT_EQ(got.size(), 8u);
    EXPECT_EQ(got[2], noteOn(2, 24, 50));
    EXPECT_FLOAT_EQ(bandOut3X[2], 24.5f);

    // A data source no document should bring: nothing measured, the stored values still sent.
    NUPOchannelEX[2] = 12;
    bandOut3X[2] = 33.0f;
    got = sentBy([&] { mapper->sendMIDIbandData(); });
    ASSERT_EQ(got.size(), 8u);
    EXPECT_EQ(got[2], noteOn(2, 33, 0));
}

TEST_F(BandMidiSendTest, AllNotesOffOnEveryBandChannelAtPauseAndQuit)
{
    enable(20);
    MIDIchannel8X[20] = 0;  // shares channel 1 with band 1: silenced once
    SetupBandNX = 20;
    auto got = sentBy([&] { mapper->sendMidiShutDown(); });
    ASSERT_EQ(got.size(), 7u * 128u);
    for (int c = 0; c < 7; ++c)
        for (int n = 0; n < 128; ++n)
            EXPECT_EQ(got[std::size_t(c * 128 + n)], noteOff(c, n));

    // The shown setup is silenced even with its output off.
    MIDIoutONEX[20] = 0;
    MIDIportEX[21] = sinkPort;
    for (auto& band : MIDIchannelBandX)
        band[21] = 9;
    SetupBandNX = 21;
    got = sentBy([&] { mapper->sendMidiShutDown(); });
    ASSERT_EQ(got.size(), 128u);
    EXPECT_EQ(got.back(), noteOff(9, 127));

    // A pause on the main thread while the band worker shuts down at once: each silences the channel,
    // whole, and neither loses its record of what it silenced to the other.
    got = sentBy([&] {
        std::thread worker([&] { mapper->sendMidiShutDown(); });
        mapper->sendMidiShutDown();
        worker.join();
    });
    EXPECT_EQ(got.size(), 2u * 128u);
}

// At quit the mapper silences the channels it played on, and nothing on the shown setup's channels
// where nothing was played.
TEST_F(BandMidiSendTest, QuitSilencesOnlyTheChannelsNotesWerePlayedOn)
{
    sentBy([&] { mapper->silenceSentNotes(); });  // whatever earlier steps of the start played
    enable(22);
    for (std::size_t n = 0; n < bandCount; ++n)
        MIDIchannelBandX[n][22] = n < 5 ? 3 : 4;
    for (auto& band : MIDIchannelBandX)
        band[23] = 9;
    MIDIportEX[23] = sinkPort;
    SetupBandNX = 23;  // shown, never switched on
    auto got = sentBy([&] { mapper->timerUpdate(); });
    ASSERT_EQ(got.size(), 8u);
    MIDIoutONEX[22] = 0;  // switched off since: its notes may still sound

    got = sentBy([&] { mapper->silenceSentNotes(); });
    ASSERT_EQ(got.size(), 256u);
    for (int n = 0; n < 128; ++n) {
        EXPECT_EQ(got[std::size_t(n)], noteOff(3, n));
        EXPECT_EQ(got[std::size_t(128 + n)], noteOff(4, n));
    }
    got = sentBy([&] { mapper->silenceSentNotes(); });
    EXPECT_TRUE(got.empty());

    // What a pause silenced is not silenced again at quit.
    MIDIoutONEX[22] = 1;
    sentBy([&] {
        mapper->timerUpdate();
        mapper->sendMidiShutDown();
    });
    got = sentBy([&] { mapper->silenceSentNotes(); });
    EXPECT_TRUE(got.empty());
}

TEST_F(BandMidiSendTest, DocumentLoadSilencesOnceThenRests)
{
    enable(30);
    for (auto& band : MIDIchannelBandX)
        band[30] = 5;
    SetupBandNX = 30;
    auto got = sentBy([&] {
        mapper->timerUpdate();
        startToOpenData = 1;
        mapper->timerUpdate();
        mapper->timerUpdate();
    });
    ASSERT_EQ(got.size(), 8u + 128u);
    EXPECT_EQ(got[8], noteOff(5, 0));
    got = sentBy([&] { mapper->timerUpdate(); });
    EXPECT_TRUE(got.empty());
    startToOpenData = 0;
    got = sentBy([&] { mapper->timerUpdate(); });
    EXPECT_EQ(got.size(), 8u);
}

TEST_F(BandMidiSendTest, TemporarySwitchOffAndBackOn)
{
    enable(40);
    for (auto& band : MIDIchannelBandX)
        band[40] = 2;
    SetupBandNX = 40;
    auto got = sentBy([&] { mapper->sendMidiTemporalyOFF(); });
    EXPECT_EQ(got.size(), 128u);
    EXPECT_EQ(MIDIoutONEX[40], 0);
    EXPECT_EQ(MIDIoutONXTempBand[40], 1);
    got = sentBy([&] { mapper->sendMIDIbandData(); });
    EXPECT_TRUE(got.empty());
    mapper->sendMidiBackON();
    EXPECT_EQ(MIDIoutONEX[40], 1);
    EXPECT_EQ(MIDIoutONEX[41], 0);
}

TEST_F(BandMidiSendTest, StoredPortNamesFindTheirDestinationAgain)
{
    MIDIportEXstr[60] = strMIDIport[std::size_t(sinkPort)];
    MIDIportEXstr[61] = QStringLiteral("a destination that is gone");
    mapper->convertPortNameToInt();
    EXPECT_EQ(MIDIportEX[60], sinkPort);
    EXPECT_EQ(MIDIportEX[61], findPortCountE - 1);
    MIDIportEX[62] = 99;
    EXPECT_EQ(mapper->midiPortReturn(62), 0);
    MIDIportEX[62] = -3;
    EXPECT_EQ(mapper->midiPortReturn(62), 0);
    EXPECT_EQ(mapper->midiPortReturn(400), 0);
}

}  // namespace
}  // namespace nupo
