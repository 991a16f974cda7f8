#pragma once

#include <QString>

#include <chrono>

namespace nupo {

// Whether a server listens on the local socket at path. A server that died leaves its socket file
// behind, which refuses connections.
bool serverListens(const QString& path);

// Where the audio servers listen, read from the environment once (threads that look for a server
// later then read no environment).
struct AudioServerSockets {
    // PIPEWIRE_RUNTIME_DIR or XDG_RUNTIME_DIR, with PIPEWIRE_REMOTE or "pipewire-0"; empty without.
    QString pipewire;
    // The local socket PULSE_SERVER names ("unix:/path" or a path), else "native" in PULSE_RUNTIME_PATH
    // or in XDG_RUNTIME_DIR/pulse; empty without.
    QString pulse;
    // PULSE_SERVER names a server that is no local socket (a network address, a list): only connecting
    // can tell whether it is there, so it counts as there.
    bool pulseElsewhere = false;
    // The JACK server JACK_DEFAULT_SERVER names, or "default".
    QString jack;

    static AudioServerSockets fromEnvironment();

    bool pipewireListens() const;
    bool pulseListens() const;
    bool jackListens() const;
};

// How often output that has no audio server looks for one again.
inline constexpr auto audioServerRetryInterval = std::chrono::seconds(2);

}  // namespace nupo
