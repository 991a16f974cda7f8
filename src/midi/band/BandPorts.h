#pragma once

// The band mapper's port choice and silencing: a setup's destination by index and by name, the
// destination listing into the shared port names, all notes off on the band channels, the temporary
// switch-off and the restart of the MIDI system.

class QObject;

namespace nupo {

class SetMIDIband;

class BandPorts {
public:
    explicit BandPorts(SetMIDIband& mapper) : mapper(mapper) {}

    // The setup's `MIDIportEX` when it is a listed destination, else 0.
    static int midiPortReturn(int setup);
    void setCoreMIDI();
    // Lists the destinations into the shared `strMIDIport` and fills the band panel's port pop-up.
    void setGetOutMIDIPort();
    // Every band setup's stored port name back to an index (the last destination when none matches).
    void convertPortNameToInt();
    void initPortStr();
    void selectMIDIport(QObject* sender);
    void setMIDIport(int index);
    // Note-off for notes 0..127 on the band channels of every setup whose output is on, then of the
    // shown setup. A channel already silenced on a port in the same call is not silenced again.
    void sendMidiShutDown();
    void sendMidiTemporalyOFF();
    void sendMidiBackON();
    void sendsetMIDIRestart();

private:
    SetMIDIband& mapper;
};

}  // namespace nupo
