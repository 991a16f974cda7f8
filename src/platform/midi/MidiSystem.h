#pragma once

#include <QString>

namespace nupo {

// The MIDI systems the program can talk to. ALSA's sequencer is preferred where /dev/snd/seq works;
// otherwise a running JACK server is used; with neither, MIDI is off and every send is a no-op.
enum class MidiApi { None, Alsa, Jack };

// What became of one message sent to a destination.
enum class MidiSendResult {
    sent,           // on its way (on JACK: queued for a connected port)
    waiting,        // queued for a destination being connected: it leaves once the connection stands
    unreachable,    // the destination is not there (or does not answer): nothing is sent there
    removedByHand,  // JACK: the user removed the connection; nothing is sent there until it is chosen again
    dropped,        // not sent, and nothing to tell of the destination (the server gone or silent, a
                    // connection whose end is still being settled, a message no port can carry)
};

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
