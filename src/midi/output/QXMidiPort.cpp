#include "midi/output/QXMidiPort.h"

#include "midi/output/MidiSynth.h"
#include "midi/peak/SetMIDI.h"

namespace nupo {

QXMidiPort& QXMidiPort::sharedQXMidiPort()
{
    static QXMidiPort* instance = new QXMidiPort;  // lives to process end
    return *instance;
}

int QXMidiPort::setInstrumentN(int channel)
{
    if (channel < 0 || channel >= synthChannels)
        channel = 0;
    SetMIDI& mapper = SetMIDI::sharedSetMIDI();
    mapper.setMIDIoutTempON(0);
    const int program = PickQtMidi(channel, 1);
    mProgram[channel] = program;
    AUMIDIsetOn(channel, program);
    mapper.setMIDIoutTempON(1);
    return program;
}

}  // namespace nupo
