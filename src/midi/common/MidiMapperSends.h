#pragma once

// The send operations both MIDI mappers offer: each passes its arguments unchanged to the output layer.

namespace nupo {

class MidiMapperSends {
public:
    void sendMidiOutOn(int note, int velocity, int setup, int channel, int port, int useQT);
    void sendMidiOutOff(int note, int setup, int channel, int port, int useQT);
    void sendMidiOutOnOff(int note, int velocity, int setup, int channel, int port, int slot, int useQT);
    void sendMidiOutOffOn(int note, int velocity, int setup, int channel, int port, int slot, int useQT);
    void sendMidiCprogram(int program, int setup, int channel, int port, int useQT);
    void sendMidiCpitch(int value, int setup, int channel, int port, int useQT);
    // The first argument is the controller's value, `number` the controller.
    void sendMidiControlChange(int value, int number, int setup, int channel, int port, int useQT);
};

}  // namespace nupo
