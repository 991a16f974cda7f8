#pragma once

// The band mapper's port choice and silencing, on the mappers' shared port glue: a setup's destination
// by index and by name, the destination listing, all notes off on the eight band channels of a setup,
// the temporary switch-off and the restart of the MIDI system.

#include "midi/common/MidiSetupOutputs.h"
#include "midi/output/MidiOutput.h"

#include <bitset>
#include <mutex>

class QObject;

namespace nupo {

class SetMIDIband;

class BandPorts {
public:
    explicit BandPorts(SetMIDIband& mapper);

    // The setup's `MIDIportEX` when it is a listed destination, else 0.
    int midiPortReturn(int setup) const { return outputs.midiPortReturn(setup); }
    void setCoreMIDI();
    // Lists the destinations into the shared `strMIDIport` and fills the band panel's port pop-up.
    void setGetOutMIDIPort();
    // Every band setup's stored port name back to an index (the last destination when none matches).
    void convertPortNameToInt();
    void initPortStr() { outputs.initPortStr(); }
    // At a MIDI start: the ports of band setups 0..7 back to 0.
    void clearStartPorts() const { outputs.clearStartPorts(); }
    void selectMIDIport(QObject* sender);
    void setMIDIport(int index);
    // Note-off for notes 0..127 on the band channels of every setup whose output is on, then of the
    // shown setup. A channel already silenced on a port in the same call is not silenced again.
    void sendMidiShutDown();
    // Note-off for notes 0..127 on each channel and port this mapper has played a note on since it last
    // silenced them (at quit: what no setup's switch says any more may still sound).
    void silenceSentNotes();
    // Records a note played on a channel of a port (any thread).
    static void noteSent(int port, int channel);
    void sendMidiTemporalyOFF();
    void sendMidiBackON() { outputs.switchBackOn(); }
    void sendsetMIDIRestart();

private:
    void notesOff(int setup, int port);

    SetMIDIband& mapper;
    MidiSetupOutputs outputs;
    // (port, channel) pairs silenced by the running shutdown. A pause on the main thread and the band
    // worker's own shutdown may silence at once: one at a time, each with its own record.
    std::mutex silencing;
    std::bitset<std::size_t(maxMidiDestinations) * 16> silenced;
};

}  // namespace nupo
