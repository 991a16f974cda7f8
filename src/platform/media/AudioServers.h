#pragma once

#include <QString>

#include <chrono>

namespace nupo {

// Whether a server listens on the local socket at path. A server that died leaves its socket file
// behind, which refuses connections.
bool serverListens(const QString& path);

// Whether the PipeWire server answers on its socket (PIPEWIRE_RUNTIME_DIR or XDG_RUNTIME_DIR, with
// PIPEWIRE_REMOTE or "pipewire-0").
bool pipewireServerListens();

// Whether the PulseAudio server answers: on the local socket PULSE_SERVER names ("unix:/path" or a
// path), else on "native" in PULSE_RUNTIME_PATH or in XDG_RUNTIME_DIR/pulse. A PULSE_SERVER that is
// no local socket (a network address, a list) counts as there: only connecting can tell.
bool pulseServerListens();

// How often output that has no audio server looks for one again.
inline constexpr auto audioServerRetryInterval = std::chrono::seconds(2);

}  // namespace nupo
