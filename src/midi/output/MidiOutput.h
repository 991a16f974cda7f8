#pragma once

// The MIDI output layer: the free functions through which both MIDI mappers send every message, the
// client with its ports and own endpoints, the destination table and the note memory.
//
// Every function may be called from any thread. One lock guards the MIDI system: a send while it is
// down (before the first start, during a restart) does nothing, and a restart swaps the handles under it.

#include "platform/midi/MidiClient.h"

#include <QString>

#include <array>
#include <atomic>
#include <cstddef>
#include <functional>

namespace nupo {

// Destinations the table holds; the port popup offers at most this many.
inline constexpr int maxMidiDestinations = 16;
// Names the port popup can hold.
inline constexpr int maxMidiPortNames = 24;

// Fixed path switches: MIDI on, sending to MIDI destinations on, the synthesiser is the soundfont synth.
inline std::atomic<int> MIDIuseX{1};
inline std::atomic<int> coreMidi{1};
inline constexpr int AUuse = 1;

// 1 once mainMidi has run; 0 again during a restart.
inline std::atomic<int> runMIDI{0};
// Number of destinations listed by the last listing (at most maxMidiDestinations); index
// findPortCountE - 1 is the last one, where messages are also published on our own source.
inline std::atomic<int> findPortCountE{0};
// Names of the port popup entries; entries not filled from a destination hold "NUPO". Main thread.
inline std::array<QString, maxMidiPortNames> strMIDIport;

// Note memory: the last note per setup, channel, destination and peak (only-when-changed sends).
inline constexpr int noteOldSetups = 128;
inline constexpr int noteOldChannels = 16;
inline constexpr int noteOldPorts = maxMidiDestinations;
inline constexpr int noteOldPeaks = 3;

// What the mappers lend the layer, each registering its own when its shared instance is made (the layer
// knows no mapper):
// runs at every MIDI start, before the client is made (a mapper clears its first setups' ports);
void addMidiStartReset(std::function<void()> reset);
// whether a setup also plays on the built-in synthesiser (the peak mapper's setups; none until set).
void setMidiSynthSetups(std::function<bool(int setup)> asks);

// Says a MIDI or audio problem to the user: on standard output, and through the handler the user
// interface installs (an alert on screen). The handler is called on the reporting thread and must not
// wait for anything. Any thread.
void setMidiAlertHandler(std::function<void(const QString& message, const QString& topic)> handler);
void reportMidiProblem(const QString& message);
// Says a state that changes and changes back (the JACK server gone, then back) the same way. Where the
// message said last on the same topic still shows, this one takes its place, so that the user reads the
// return where the loss was told.
void reportMidiState(const QString& topic, const QString& message);
// The topic of the JACK server's state under our client.
inline const QString midiServerTopic = QStringLiteral("JACK server");
// True from the moment the JACK server under our client is found gone until a new one is connected
// (by the watch, which looks a few times a second, or by the next start).
bool midiServerLost();
// The name other programs see for our client (on JACK "NUPO MIDI 1", "NUPO MIDI 2", … by instance);
// empty before the first start.
QString midiClientName();

// Starts MIDI: client "NUPO MIDI" (numbered by instance on JACK), ports, the virtual destination "NUPO"
// and source "from NUPO", the destination table and the synthesiser. Does nothing while runMIDI is 1.
// Connections to destinations the user removed by hand are made again.
// On JACK a watch then follows the server: gone or silent, it is said; back, MIDI connects to it again.
// It also follows the destinations notes were played to: one that goes is said to be out of reach, one
// whose connection the user removed is said so, and each, connected again, is said to be reached again.
void mainMidi();
// Closes the client, its ports and endpoints and the synthesiser; clears runMIDI.
void disposeMidi();
// Ends the watch that follows the JACK server (at quit; the next start begins it again).
void stopMidiWatch();
// Lists the destinations into the table (at most maxMidiDestinations) and returns their names in order.
QStringList listMidiDestinations();
// The user chose the destination at a table index: a connection to it they removed by hand is made again.
void chooseMidiDestination(int port);
// The destination at a table index; an empty endpoint when none is listed there.
MidiEndpoint midiDestination(int port);

void WriteVNote(int note, int on, int velocity, int setup, int channel, int port, int useQT);
void MidiOutOn(int note, int velocity, int setup, int channel, int port, int useQT);
void MidiOutOff(int note, int setup, int channel, int port, int useQT);
void MidiOutOnOff(int note, int velocity, int setup, int channel, int port, int slot, int useQT);
void MidiOutOffOn(int note, int velocity, int setup, int channel, int port, int slot, int useQT);
void MidiCprogram(int program, int setup, int channel, int port, int useQT);
void MidiControlChange(int number, int value, int setup, int channel, int port, int useQT);
void MidiCpitch(int value, int setup, int channel, int port, int useQT);
// Asks the MIDI system to look again for devices; our backends need no such request.
void setMIDIRestart();

// Clock of both mappers: seconds on a monotonic clock (a wall-clock step must not stall timed setups).
double mtimeatMIDIs();
// The microsecond part of the same clock, in microseconds.
double mtimeatMIDI();

// 1 when both zero-terminated strings have the same length and bytes, else 0.
int strCompX(const char* a, const char* b);
// Copies a length-prefixed string (length byte, then that many bytes); returns the position in the
// source just past the copied bytes.
const unsigned char* pStrCopy(const unsigned char* source, unsigned char* destination);

// For tests: the note remembered for a cell, or -1 outside the memory.
int noteOldAt(int setup, int channel, int port, int peak);

}  // namespace nupo
