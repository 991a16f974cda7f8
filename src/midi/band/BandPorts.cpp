#include "midi/band/BandPorts.h"

#include "midi/band/SetMIDIband.h"
#include "midi/common/SenderValue.h"

#include <algorithm>

namespace nupo {

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
    silenced.reset();
    outputs.shutDown(shownBandSetup());
}

void BandPorts::sendMidiTemporalyOFF()
{
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
