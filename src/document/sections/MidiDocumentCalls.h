#pragma once

// What the document readers send to the two MIDI mappers while they read the peak and band sections.
// The program's calls go to the shared SetMIDI and SetMIDIband; a test puts its own in their place to
// watch the order.

namespace nupo {

class MidiDocumentCalls {
public:
    virtual ~MidiDocumentCalls() = default;

    // The calls of the shared instances.
    static MidiDocumentCalls& sharedCalls();

    // Peak mapper (SetMIDI).
    virtual void init();
    virtual void setResetMIDI(int value);
    virtual void setBrainpeakMIDIOpend(int value);
    virtual void setBrainpeakMIDISetName(int value);
    virtual void initTempo();
    virtual void setProgramChangeToAllSetup();
    virtual void convertPortNameToInt();
    // Band mapper (SetMIDIband).
    virtual void bandInit();
    virtual void bandSetResetMIDI(int value);
    virtual void setBrainrhythmMIDIOpend(int value);
    virtual void setBrainrhythmMIDISetName(int value);
    virtual void bandSetGetOutMIDIPort();
    virtual void bandConvertPortNameToInt();
};

}  // namespace nupo
