// Another running instance of the program, as far as MIDI goes: starts MIDI on the JACK server
// JACK_DEFAULT_SERVER names, follows it through its restarts, and runs until it is ended by a signal.
#include "midi/output/MidiOutput.h"
#include "platform/synth/SynthGraph.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    nupo::SynthGraph::setAudioOutputEnabled(false);
    nupo::mainMidi();
    return app.exec();
}
