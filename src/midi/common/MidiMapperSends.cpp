#include "midi/common/MidiMapperSends.h"

#include "midi/output/MidiOutput.h"

namespace nupo {

void MidiMapperSends::sendMidiOutOn(int note, int velocity, int setup, int channel, int port, int useQT)
{
    MidiOutOn(note, velocity, setup, channel, port, useQT);
}

void MidiMapperSends::sendMidiOutOff(int note, int setup, int channel, int port, int useQT)
{
    MidiOutOff(note, setup, channel, port, useQT);
}

void MidiMapperSends::sendMidiOutOnOff(int note, int velocity, int setup, int channel, int port, int slot,
                                       int useQT)
{
    MidiOutOnOff(note, velocity, setup, channel, port, slot, useQT);
}

void MidiMapperSends::sendMidiOutOffOn(int note, int velocity, int setup, int channel, int port, int slot,
                                       int useQT)
{
    MidiOutOffOn(note, velocity, setup, channel, port, slot, useQT);
}

void MidiMapperSends::sendMidiCprogram(int program, int setup, int channel, int port, int useQT)
{
    MidiCprogram(program, setup, channel, port, useQT);
}

void MidiMapperSends::sendMidiCpitch(int value, int setup, int channel, int port, int useQT)
{
    MidiCpitch(value, setup, channel, port, useQT);
}

void MidiMapperSends::sendMidiControlChange(int value, int number, int setup, int channel, int port,
                                            int useQT)
{
    MidiControlChange(number, value, setup, channel, port, useQT);
}

}  // namespace nupo
