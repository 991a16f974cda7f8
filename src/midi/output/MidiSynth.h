#pragma once

// The built-in synthesiser behind the MIDI output layer: one soundfont synth with 16 channels that
// plays notes and programs of the peak setups that ask for it, and the instrument picker of a channel.

#include <QString>

#include <array>
#include <atomic>
#include <functional>

namespace nupo {

class SynthGraph;

inline constexpr int synthChannels = 16;

// Program of each synthesiser channel; set by the instrument picker.
inline std::atomic<int> mProgram[synthChannels] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
// Name of the instrument last chosen in the picker for each channel (at most 31 characters). Main thread.
inline std::array<QString, synthChannels> mProgramText;
// Channel-open flags, cleared at MIDI start.
inline std::atomic<int> setOnQtMidi[synthChannels] = {};

// Creates the synthesiser (stopping and disposing any previous one) and loads its soundfont.
void AUMIDIsetInit();
// Bank select 0 and program change on a channel, then starts the synthesiser's audio output.
void AUMIDIsetOn(int channel, int program);
// Stops and disposes the synthesiser; notes sent afterwards are ignored.
void AUMIDIsetOff();
// One note on a channel; velocity 0 ends the note. `program` is not used.
void WriteVNoteAUMidi(int channel, int program, int note, int velocity);
// Plays one note on synthesiser channel 0..15 with that channel's program (velocity 0 for a note-off).
void WriteVNoteQtMidi(int channel, int note, int on, int velocity);
// (Re)opens the instrument channel of synthesiser channel 0..15, showing the picker when `show` is set;
// returns the chosen instrument number - 1 (the channel's program again when the pick was cancelled);
// `chosen`, when given, tells whether an instrument was picked.
int PickQtMidi(int channel, int show, bool* chosen = nullptr);
// Pitch bend on the instrument channel of synthesiser channel 0..7 (8 and above use 7); no effect before
// the picker has opened that channel.
void PitchBendQtMidi(int value, int channel);

// Runs fn with the synthesiser (null when there is none) while no other thread can replace it.
void withMidiSynth(const std::function<void(SynthGraph*)>& fn);
// For tests: the pitch bend last set on an instrument channel, or -1 when that channel is not open.
int instrumentChannelPitchBend(int channel);

}  // namespace nupo
