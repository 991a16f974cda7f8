#include "MidiTestClient.h"

#include "midi/band/SetMIDIband.h"
#include "midi/output/MidiOutput.h"
#include "midi/output/MidiSynth.h"
#include "midi/peak/SetMIDI.h"
#include "platform/synth/SynthGraph.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>

namespace nupo {
namespace {

using test::MidiBytes;
using test::MidiTestClient;

// A message our tests never send otherwise: marks the end of what a step sent.
const MidiBytes marker = {0xB0, 119, 77};

double renderedLevel(int frames)
{
    std::vector<float> left(frames), right(frames);
    bool rendered = false;
    withMidiSynth(
        [&](SynthGraph* synth) { rendered = synth && synth->render(left.data(), right.data(), frames); });
    if (!rendered)
        return -1.0;
    double sum = 0.0;
    for (int i = 0; i < frames; ++i)
        sum += double(left[i]) * left[i] + double(right[i]) * right[i];
    return std::sqrt(sum / (2.0 * frames));
}

// The mappers lend the output layer their port tables and synthesiser choice when their shared
// instances are made; the tests drive the mappers themselves (no worker threads).
void makeMappers()
{
    firstTimeRunMIDIpeak = 0;
    firstTimeRunMIDIband = 0;
    SetMIDI::sharedSetMIDI();
    SetMIDIband::sharedSetMIDIband();
}

class MidiOutputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        NUPO_REQUIRE_JACK_OR_SKIP();
        makeMappers();
        SynthGraph::setAudioOutputEnabled(false);
        sinkA = MidiTestClient::destination(QStringLiteral("sink A"));
        sinkB = MidiTestClient::destination(QStringLiteral("sink B"));
        mainMidi();
        const QStringList names = listMidiDestinations();
        for (int i = 0; i < names.size(); ++i) {
            if (names[i].endsWith(QStringLiteral(":sink A")))
                portA = i;
            if (names[i].endsWith(QStringLiteral(":sink B")))
                portB = i;
        }
        ASSERT_GE(portA, 0) << names.join(", ").toStdString();
        ASSERT_GE(portB, 0) << names.join(", ").toStdString();
        ASSERT_TRUE(names.contains(QStringLiteral("NUPO"))) << names.join(", ").toStdString();
        lastPort = findPortCountE - 1;
        // A sink that is not the last destination, so nothing it gets is also published.
        sinkPort = portA == lastPort ? portB : portA;
        sink = sinkPort == portA ? sinkA.get() : sinkB.get();
        ASSERT_TRUE(sink->primeThroughPort(sinkPort)) << "nothing sent to the sink arrives";
    }
    void TearDown() override { disposeMidi(); }

    // A listener on "from NUPO", once what is sent to the last destination is known to reach it.
    std::unique_ptr<MidiTestClient> listenFromNUPO()
    {
        auto listener = MidiTestClient::listenTo(QStringLiteral("from NUPO"));
        return listener && listener->primeThroughPort(lastPort) ? std::move(listener) : nullptr;
    }

    std::vector<MidiBytes> sentBy(const std::function<void()>& send)
    {
        sink->clear();
        send();
        MidiControlChange(marker[1], marker[2], 0, 0, sinkPort, 0);
        return sink->messagesBefore(marker);
    }

    std::unique_ptr<MidiTestClient> sinkA, sinkB;
    MidiTestClient* sink = nullptr;
    int portA = -1, portB = -1, sinkPort = -1, lastPort = -1;
};

TEST_F(MidiOutputTest, MessagesCarryExactAndClampedBytes)
{
    const auto got = sentBy([&] {
        MidiOutOn(200, -5, 0, 20, sinkPort, 0);  // note, velocity and channel clamped
        MidiOutOn(60, 100, 0, 3, sinkPort, 0);
        MidiOutOff(60, 0, 3, sinkPort, 0);     // note-off always carries velocity 0
        MidiCprogram(130, 0, 2, sinkPort, 0);  // two bytes
        MidiCpitch(64, 0, 0, sinkPort, 0);     // LSB always 0
        MidiCpitch(-3, 0, 15, sinkPort, 0);
        MidiControlChange(7, 200, 0, 1, sinkPort, 0);
    });
    const std::vector<MidiBytes> expected = {{0x9F, 127, 0},  {0x93, 60, 100}, {0x83, 60, 0}, {0xC2, 127},
                                             {0xE0, 0, 0x40}, {0xEF, 0, 0},    {0xB1, 7, 127}};
    EXPECT_EQ(got, expected);
}

TEST_F(MidiOutputTest, OnlyTheLastDestinationIsCopiedToFromNUPO)
{
    auto listener = listenFromNUPO();
    ASSERT_TRUE(listener) << "nothing sent to the last destination arrives on \"from NUPO\"";
    MidiOutOn(61, 90, 0, 0, sinkPort, 0);  // not the last destination: not published
    MidiOutOn(62, 91, 0, 1, lastPort, 0);
    MidiCprogram(5, 0, 1, lastPort, 0);
    MidiControlChange(marker[1], marker[2], 0, 0, lastPort, 0);
    const std::vector<MidiBytes> expected = {{0x91, 62, 91}, {0xC1, 5}};
    EXPECT_EQ(listener->messagesBefore(marker), expected);
}

// Far more messages than a JACK period's port buffer holds, sent at once: every one arrives, in order, at
// the destination and on "from NUPO".
TEST_F(MidiOutputTest, LongBurstsArriveWholeAndInOrder)
{
    auto listener = listenFromNUPO();
    ASSERT_TRUE(listener) << "nothing sent to the last destination arrives on \"from NUPO\"";
    sink->clear();
    constexpr int count = 5000;
    std::vector<MidiBytes> expected;
    for (int i = 0; i < count; ++i) {
        const int channel = i % 16, number = i % 100, value = (i / 100) % 128;
        MidiControlChange(number, value, 0, channel, sinkPort, 0);
        MidiControlChange(number, value, 0, channel, lastPort, 0);
        expected.push_back({static_cast<unsigned char>(0xB0 + channel), static_cast<unsigned char>(number),
                            static_cast<unsigned char>(value)});
    }
    MidiControlChange(marker[1], marker[2], 0, 0, sinkPort, 0);
    MidiControlChange(marker[1], marker[2], 0, 0, lastPort, 0);
    EXPECT_EQ(sink->messagesBefore(marker), expected);
    EXPECT_EQ(listener->messagesBefore(marker), expected);
}

TEST_F(MidiOutputTest, UnlistedPortsSendNothing)
{
    const auto got = sentBy([&] {
        MidiOutOn(60, 100, 0, 0, findPortCountE, 0);
        MidiOutOn(60, 100, 0, 0, -1, 0);
        MidiOutOnOff(60, 100, 127, 0, 40, 0, 0);
        MidiCprogram(1, 0, 0, 1000, 0);
    });
    EXPECT_TRUE(got.empty());
}

TEST_F(MidiOutputTest, ADestinationThatIsGoneIsToldOnceAndTheOthersPlayOn)
{
    std::mutex mutex;
    QStringList told;
    setMidiAlertHandler([&](const QString& message, const QString&) {
        std::lock_guard lock(mutex);
        told << message;
    });
    const int gonePort = sinkPort == portA ? portB : portA;
    const QString goneName = sinkPort == portA ? QStringLiteral("sink B") : QStringLiteral("sink A");
    (sinkPort == portA ? sinkB : sinkA).reset();  // the program behind it closes its port

    testing::internal::CaptureStdout();
    MidiOutOn(60, 100, 0, 0, gonePort, 0);
    MidiOutOn(61, 100, 0, 0, gonePort, 0);
    MidiCprogram(3, 0, 0, gonePort, 0);
    const auto got = sentBy([&] { MidiOutOn(62, 100, 0, 0, sinkPort, 0); });
    const std::string out = testing::internal::GetCapturedStdout();
    setMidiAlertHandler({});

    const std::vector<MidiBytes> expected = {{0x90, 62, 100}};
    EXPECT_EQ(got, expected);
    std::lock_guard lock(mutex);
    ASSERT_EQ(told.size(), 1) << told.join(" | ").toStdString();
    EXPECT_TRUE(told[0].contains(goneName) && told[0].contains("cannot reach")) << told[0].toStdString();
    EXPECT_NE(out.find("MIDI cannot reach"), std::string::npos) << out;
}

TEST_F(MidiOutputTest, NoteMemorySendsOnlyChangedNotes)
{
    auto got = sentBy([&] {
        MidiOutOffOn(0, 80, 5, 2, sinkPort, 0, 0);    // memory starts at 0: nothing
        MidiOutOffOn(64, 80, 5, 2, sinkPort, 0, 0);   // off 0, on 64
        MidiOutOffOn(64, 80, 5, 2, sinkPort, 0, 0);   // unchanged: nothing
        MidiOutOffOn(65, 80, 5, 2, sinkPort, 10, 0);  // always mode on the same peak: off 64, on 65
    });
    std::vector<MidiBytes> expected = {{0x82, 0, 0}, {0x92, 64, 80}, {0x82, 64, 0}, {0x92, 65, 80}};
    EXPECT_EQ(got, expected);
    EXPECT_EQ(noteOldAt(5, 2, sinkPort, 0), 65);

    got = sentBy([&] {
        MidiOutOnOff(70, 50, 127, 15, sinkPort, 2, 0);  // highest setup and channel are remembered
        MidiOutOnOff(70, 50, 127, 15, sinkPort, 2, 0);
        MidiOutOnOff(70, 50, 127, 15, sinkPort, 12, 0);  // always mode: sent, memory untouched
        MidiOutOnOff(71, 50, 200, 0, sinkPort, 0, 0);    // outside the memory: sent every time
        MidiOutOnOff(71, 50, 200, 0, sinkPort, 0, 0);
    });
    expected = {{0x9F, 70, 50}, {0x8F, 70, 0}, {0x9F, 70, 50}, {0x8F, 70, 0},
                {0x90, 71, 50}, {0x80, 71, 0}, {0x90, 71, 50}, {0x80, 71, 0}};
    EXPECT_EQ(got, expected);
    EXPECT_EQ(noteOldAt(127, 15, sinkPort, 2), 70);
}

TEST_F(MidiOutputTest, RestartWhileOtherThreadsSendIsSafe)
{
    std::atomic<bool> stop{false};
    std::vector<std::thread> senders;
    for (int t = 0; t < 2; ++t) {
        senders.emplace_back([&, t] {
            while (!stop)
                MidiOutOffOn(40 + t, 64, t, t, sinkPort, 10, 1);
        });
    }
    for (int i = 0; i < 3; ++i) {
        disposeMidi();
        mainMidi();
        listMidiDestinations();
    }
    stop = true;
    for (auto& sender : senders)
        sender.join();
    EXPECT_EQ(runMIDI.load(), 1);
    const auto got = sentBy([&] { MidiOutOn(33, 44, 0, 0, sinkPort, 0); });
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back(), (MidiBytes{0x90, 33, 44}));
}

TEST_F(MidiOutputTest, SynthesiserPlaysOnlyWhenTheSetupAsks)
{
    ASSERT_GE(renderedLevel(4800), 0.0) << "no synthesiser";
    UseQTMIDIX[3] = 0;
    MidiOutOn(60, 120, 3, 0, sinkPort, 1);  // listed port, setup does not ask: silent
    EXPECT_LT(renderedLevel(9600), 1e-6);

    UseQTMIDIX[3] = 1;
    MidiOutOn(60, 120, 3, 0, sinkPort, 0);  // the caller does not allow it: silent
    EXPECT_LT(renderedLevel(9600), 1e-6);

    MidiOutOn(60, 120, 3, 0, sinkPort, 1);
    EXPECT_GT(renderedLevel(9600), 1e-3);
    MidiOutOff(60, 3, 0, sinkPort, 1);
    renderedLevel(48000 * 3);  // release tail
    EXPECT_LT(renderedLevel(4800), 1e-4);

    UseQTMIDIX[3] = 0;
    MidiOutOn(64, 120, 3, 0, findPortCountE, 1);  // the port just past the list plays too
    EXPECT_GT(renderedLevel(9600), 1e-3);
}

// A start clears the port indexes of setups 0..7 of both mappers, and no others.
TEST(MidiStartTest, ClearsTheFirstPortsOfBothMappers)
{
    qputenv("JACK_DEFAULT_SERVER", "nupo-no-such-server");  // no ports on the shared test server
    makeMappers();
    SynthGraph::setAudioOutputEnabled(false);
    disposeMidi();
    for (int s = 0; s < 9; ++s) {
        MIDIportX[s] = 5;
        MIDIportEX[s] = 6;
    }
    testing::internal::CaptureStdout();
    mainMidi();
    testing::internal::GetCapturedStdout();
    for (int s = 0; s < 8; ++s) {
        EXPECT_EQ(MIDIportX[s], 0) << s;
        EXPECT_EQ(MIDIportEX[s], 0) << s;
    }
    EXPECT_EQ(MIDIportX[8], 5);
    EXPECT_EQ(MIDIportEX[8], 6);
    disposeMidi();
}

TEST(MidiOutputWithoutSystemTest, SendsAreNoOpsAndTheAbsenceIsSaidOnce)
{
    if (QFileInfo::exists(QStringLiteral("/dev/snd/seq")))
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    qputenv("JACK_DEFAULT_SERVER", "nupo-no-such-server");
    makeMappers();
    SynthGraph::setAudioOutputEnabled(false);
    MidiOutOn(60, 100, 0, 0, 0, 1);  // before any start: nothing, no crash
    testing::internal::CaptureStdout();
    mainMidi();
    MidiOutOn(60, 100, 0, 0, 0, 0);
    MidiCprogram(3, 0, 0, 0, 0);
    disposeMidi();
    mainMidi();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(runMIDI.load(), 1);
    EXPECT_EQ(findPortCountE.load(), 0);
    std::size_t said = 0;
    for (std::size_t at = out.find("No MIDI system"); at != std::string::npos;
         at = out.find("No MIDI system", at + 1))
        ++said;
    EXPECT_EQ(said, 1u) << out;
    // The synthesiser still plays without a MIDI system.
    UseQTMIDIX[0] = 1;
    MidiOutOn(60, 120, 0, 0, 0, 1);
    EXPECT_GT(renderedLevel(9600), 1e-3);
    disposeMidi();
}

}  // namespace
}  // namespace nupo

namespace nupo {
namespace {

// Without a sound card every audio output fails; the sound library's own error lines stay off the
// terminal and the synthesiser says once that it plays silently.
TEST(SynthAudioOutputTest, TryingTheAudioOutputsWritesNoSoundLibraryErrors)
{
    const bool wasEnabled = SynthGraph::audioOutputEnabled();
    SynthGraph::setAudioOutputEnabled(true);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    int started = 0;
    for (int run = 0; run < 2; ++run) {
        SynthGraph graph;
        if (graph.initialize() && graph.start())
            ++started;
        graph.stop();
    }
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    SynthGraph::setAudioOutputEnabled(wasEnabled);
    if (started == 0)
        GTEST_SKIP() << "no General MIDI soundfont";
    EXPECT_EQ(err.find("ALSA lib"), std::string::npos) << err;
    EXPECT_EQ(err.find("Unknown PCM"), std::string::npos) << err;
    EXPECT_EQ(err.find("audio device"), std::string::npos) << err;
    size_t notes = 0;
    for (size_t at = out.find("plays silently"); at != std::string::npos;
         at = out.find("plays silently", at + 1))
        ++notes;
    EXPECT_LE(notes, 1u) << out;
}

}  // namespace
}  // namespace nupo
