#include "document/sections/MidiDocumentCalls.h"

#include "midi/band/SetMIDIband.h"
#include "midi/peak/SetMIDI.h"

namespace nupo {

MidiDocumentCalls& MidiDocumentCalls::sharedCalls()
{
    static MidiDocumentCalls* instance = new MidiDocumentCalls;  // lives to process end
    return *instance;
}

void MidiDocumentCalls::init()
{
    SetMIDI::sharedSetMIDI().init();
}
void MidiDocumentCalls::setResetMIDI(int value)
{
    SetMIDI::sharedSetMIDI().setResetMIDI_(value);
}
void MidiDocumentCalls::setBrainpeakMIDIOpend(int value)
{
    SetMIDI::sharedSetMIDI().setBrainpeakMIDIOpend_(value);
}
void MidiDocumentCalls::setBrainpeakMIDISetName(int value)
{
    SetMIDI::sharedSetMIDI().setBrainpeakMIDISetName_(value);
}
void MidiDocumentCalls::initTempo()
{
    SetMIDI::sharedSetMIDI().initTempo();
}
void MidiDocumentCalls::setProgramChangeToAllSetup()
{
    SetMIDI::sharedSetMIDI().setProgramChangeToAllSetup();
}
void MidiDocumentCalls::convertPortNameToInt()
{
    SetMIDI::sharedSetMIDI().convertPortNameToInt();
}
void MidiDocumentCalls::bandInit()
{
    SetMIDIband::sharedSetMIDIband().init();
}
void MidiDocumentCalls::bandSetResetMIDI(int value)
{
    SetMIDIband::sharedSetMIDIband().setResetMIDI_(value);
}
void MidiDocumentCalls::setBrainrhythmMIDIOpend(int value)
{
    SetMIDIband::sharedSetMIDIband().setBrainrhythmMIDIOpend_(value);
}
void MidiDocumentCalls::setBrainrhythmMIDISetName(int value)
{
    SetMIDIband::sharedSetMIDIband().setBrainrhythmMIDISetName_(value);
}
void MidiDocumentCalls::bandSetGetOutMIDIPort()
{
    SetMIDIband::sharedSetMIDIband().setGetOutMIDIPort();
}
void MidiDocumentCalls::bandConvertPortNameToInt()
{
    SetMIDIband::sharedSetMIDIband().convertPortNameToInt();
}

}  // namespace nupo
