// What quitting sends: all notes off for the peak setups that are on, and from the band mapper only
// on the channels it played on.
#include "../midi/MidiTestClient.h"

#include "app/NUPO4DrawAppDelegate.h"
#include "midi/band/SetMIDIband.h"
#include "midi/output/MidiOutput.h"
#include "midi/peak/SetMIDI.h"
#include "platform/synth/SynthGraph.h"

#include <gtest/gtest.h>

namespace nupo {
namespace {

using test::MidiBytes;
using test::MidiTestClient;

const MidiBytes marker = {0xB0, 119, 77};

TEST(QuitMidiTest, TwoPeakSetupsOnGiveTheirNoteOffsAndNothingElse)
{
    NUPO_REQUIRE_JACK_OR_SKIP();
    SynthGraph::setAudioOutputEnabled(false);
    auto sink = MidiTestClient::destination(QStringLiteral("quit sink"));
    firstTimeRunMIDIpeak = 0;
    firstTimeRunMIDIband = 0;
    SetMIDI& peak = SetMIDI::sharedSetMIDI();
    SetMIDIband& band = SetMIDIband::sharedSetMIDIband();
    peak.setSetToDefault_(2);
    band.setSetToDefault_(2);
    peak.initPortStr();
    peak.setResetMIDI_(1);
    int sinkPort = -1;
    for (int i = 0; i < findPortCountE; ++i)
        if (strMIDIport[std::size_t(i)].endsWith(QStringLiteral(":quit sink")))
            sinkPort = i;
    ASSERT_GE(sinkPort, 0);
    ASSERT_TRUE(sink->primeThroughPort(sinkPort)) << "nothing sent to the sink arrives";
    for (int s : {0, 1}) {
        MIDIoutONX[s] = 1;
        MIDIportX[s] = sinkPort;
        MIDIchannelX[s] = s == 0 ? 0 : 3;
    }
    // The band panel's shown setup sends to the sink too, but nothing switched it on.
    MIDIportEX[SetupBandNX] = sinkPort;
    for (auto& channel : MIDIchannelBandX)
        channel[SetupBandNX] = 9;
    sink->clear();

    NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().applicationWillTerminate(nullptr);
    MidiControlChange(marker[1], marker[2], 0, 0, sinkPort, 0);
    const std::vector<MidiBytes> got = sink->messagesBefore(marker);
    ASSERT_EQ(got.size(), 256u);
    for (int n = 0; n < 128; ++n) {
        EXPECT_EQ(got[std::size_t(n)], (MidiBytes{0x80, static_cast<unsigned char>(n), 0}));
        EXPECT_EQ(got[std::size_t(128 + n)], (MidiBytes{0x83, static_cast<unsigned char>(n), 0}));
    }
    disposeMidi();
}

}  // namespace
}  // namespace nupo
