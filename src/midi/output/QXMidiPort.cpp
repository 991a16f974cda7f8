#include "midi/output/QXMidiPort.h"

#include "midi/output/MidiSynth.h"

#include <utility>

namespace nupo {

QXMidiPort& QXMidiPort::sharedQXMidiPort()
{
    static QXMidiPort* instance = new QXMidiPort;  // lives to process end
    return *instance;
}

int QXMidiPort::setInstrumentN(int channel, int shown, bool* chosen)
{
    if (channel < 0 || channel >= synthChannels)
        channel = 0;
    if (shown >= 0 && shown <= 127)
        mProgram[channel] = shown;
    if (outputHold)
        outputHold(0);
    const int program = PickQtMidi(channel, 1, chosen);
    mProgram[channel] = program;
    AUMIDIsetOn(channel, program);
    if (outputHold)
        outputHold(1);
    return program;
}

void QXMidiPort::setOutputHold(std::function<void(int on)> hold)
{
    outputHold = std::move(hold);
}

}  // namespace nupo
