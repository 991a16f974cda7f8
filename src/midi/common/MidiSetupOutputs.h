#pragma once

// The glue between a mapper's setups and the MIDI output layer: each setup's destination (by index and
// by name, so that a stored name survives a change of the destination list), and the operations that
// silence a mapper's notes (all notes off, the temporary switch-off and its restore). Each mapper has
// one, made with its own arrays; which notes a setup silences (one channel, or one per band) is the
// mapper's.

#include "midi/common/SetupArray.h"

#include <QStringList>

#include <functional>

namespace nupo {

class MidiSetupOutputs {
public:
    struct Arrays {
        SetupArray<int>& port;           // destination index
        SetupNames& portName;            // destination name, edited copy
        SetupNames& committedPortName;   // destination name, committed copy
        SetupArray<int>& outputOn;       // sends when exactly 1
        SetupArray<int>& savedOutputOn;  // saved by the temporary switch-off
    };
    // Where the shown setup's extra note-offs go: its stored port only when that is a listed
    // destination, or the port midiPortReturn gives.
    enum class ShownPort { storedWhenListed, returned };
    // Sends the note-offs of one setup to a port.
    using NotesOff = std::function<void(int setup, int port)>;

    MidiSetupOutputs(Arrays arrays, ShownPort shownPort, NotesOff notesOff);

    // The setup's destination index when it is listed, else 0.
    int midiPortReturn(int setup) const;
    // Lists the destinations into the shared popup names (every "DLSMusicDevice" numbered from 1) and
    // returns the names the port popup shows, popup index = destination index.
    static QStringList listPortNames();
    // Turns every setup's stored port name into an index; a name not listed gives the last destination
    // (0 when there is none). Lists the destinations first.
    void convertPortNameToInt() const;
    // At a MIDI start: the port indexes of setups 0..7 back to 0.
    void clearStartPorts() const;
    // All popup names and both copies of every setup's port name to "NUPO".
    void initPortStr() const;

    // Note-offs of every setup whose output is on.
    void shutDownEnabled() const;
    // shutDownEnabled, then the shown setup's.
    void shutDown(int shown) const;
    // Saves every output switch, silences the enabled setups and the shown one, then switches all off.
    void switchOffTemporarily(int shown) const;
    // Switches on again every setup saved as on.
    void switchBackOn() const;

private:
    void shutDownShown(int shown) const;

    Arrays arrays;
    ShownPort shownPort;
    NotesOff notesOff;
};

// Note-off for every note number on one channel of a port.
void allNotesOffOnChannel(int setup, int channel, int port, int useQT);

}  // namespace nupo
