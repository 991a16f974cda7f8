#include "midi/band/BandPorts.h"

#include "midi/band/SetMIDIband.h"
#include "midi/common/SenderValue.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>

namespace nupo {

namespace {

// Channels (bit n = channel n) on which band notes were played, per port, since they were last silenced.
// Set after a note is sent and taken before its channel is silenced, so a note sent meanwhile stays
// recorded.
std::array<std::atomic<std::uint16_t>, maxMidiDestinations>& sentChannels()
{
    static auto* channels = new std::array<std::atomic<std::uint16_t>, maxMidiDestinations>{};
    return *channels;
}

std::uint16_t channelBit(int channel)
{
    return std::uint16_t(1u << std::clamp(channel, 0, 15));
}

}  // namespace

BandPorts::BandPorts(SetMIDIband& mapper)
    : mapper(mapper),
      outputs({MIDIportEX, MIDIportEXstr, MIDIportEXstrZ, MIDIoutONEX, MIDIoutONXTempBand},
              MidiSetupOutputs::ShownPort::returned, [this](int s, int port) { notesOff(s, port); })
{
}

void BandPorts::notesOff(int s, int port)
{
    // Band notes never reach the synthesiser, so neither do their note-offs.
    for (std::size_t n = 0; n < bandCount; ++n) {
        const int channel = std::clamp(MIDIchannelBandX[n][s].load(), 0, 15);
        const std::size_t cell = std::size_t(std::clamp(port, 0, maxMidiDestinations - 1) * 16 + channel);
        if (silenced.test(cell))
            continue;
        silenced.set(cell);
        if (port >= 0 && port < maxMidiDestinations)
            sentChannels()[std::size_t(port)].fetch_and(std::uint16_t(~channelBit(channel)));
        allNotesOffOnChannel(s, channel, port, 0);
    }
}

void BandPorts::setCoreMIDI()
{
    mainMidi();
}

void BandPorts::setGetOutMIDIPort()
{
    mapper.setItems(BandOutlet::popupMIDIport, 0, MidiSetupOutputs::listPortNames());
}

void BandPorts::convertPortNameToInt()
{
    setGetOutMIDIPort();
    outputs.convertPortNameToInt();
}

void BandPorts::selectMIDIport(QObject* sender)
{
    const int s = shownBandSetup();
    const int index = senderSelectedIndex(sender);
    MIDIportEXstr[s] = storedBandSetupName(senderSelectedTitle(sender));
    MIDIportEX[s] = index;
    chooseMidiDestination(index);
    setMIDIport(index);
}

void BandPorts::setMIDIport(int index)
{
    mapper.setMIDIoff_(1);
    mapper.selectItem(BandOutlet::popupMIDIport, 0, index);
    mapper.showText(BandOutlet::displayHereMIDIoutPort, 0, MIDIportEXstr[shownBandSetup()]);
    mapper.setOutMIDIPort(midiPortReturn(shownBandSetup()));
    mapper.setNeedsDisplay();
}

void BandPorts::sendMidiShutDown()
{
    const std::lock_guard lock(silencing);
    silenced.reset();
    outputs.shutDown(shownBandSetup());
}

void BandPorts::noteSent(int port, int channel)
{
    if (port >= 0 && port < maxMidiDestinations)
        sentChannels()[std::size_t(port)].fetch_or(channelBit(channel));
}

void BandPorts::silenceSentNotes()
{
    for (int port = 0; port < maxMidiDestinations; ++port) {
        const std::uint16_t channels = sentChannels()[std::size_t(port)].exchange(0);
        for (int channel = 0; channel < 16; ++channel)
            if ((channels & channelBit(channel)) != 0)
                allNotesOffOnChannel(0, channel, port, 0);
    }
}

void BandPorts::sendMidiTemporalyOFF()
{
    const std::lock_guard lock(silencing);
    silenced.reset();
    outputs.switchOffTemporarily(shownBandSetup());
}

void BandPorts::sendsetMIDIRestart()
{
    setMIDIRestart();
    disposeMidi();
    setCoreMIDI();
    setGetOutMIDIPort();
    convertPortNameToInt();
    setMIDIport(midiPortReturn(shownBandSetup()));
}

}  // namespace nupo
