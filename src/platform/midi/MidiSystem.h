#pragma once

#include <QString>

namespace nupo {

// The MIDI systems the program can talk to. ALSA's sequencer is preferred where /dev/snd/seq works;
// otherwise a running JACK server is used; with neither, MIDI is off and every send is a no-op.
enum class MidiApi { None, Alsa, Jack };

struct MidiSystemInfo {
    MidiApi api = MidiApi::None;
    // JACK only: the server's period in seconds (a new connection takes effect a few periods later).
    double periodSeconds = 0.0;
};

class MidiSystem {
public:
    // Looks for a usable MIDI system now (a JACK server may have come up since the last look). When none
    // is found, says so once per process on standard output.
    static MidiSystemInfo probe();

    static QString apiName(MidiApi api);
};

}  // namespace nupo
