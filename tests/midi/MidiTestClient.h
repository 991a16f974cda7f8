#pragma once

#include "support/JackTestServer.h"

#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class RtMidiIn;

namespace nupo::test {

using MidiBytes = std::vector<unsigned char>;

// Whether a JACK server answers. When the environment asks for JACK (NUPO_REQUIRE_JACK=1, set by
// scripts/test.sh) this waits for a server that is still starting up.
// Also takes a process-wide lock so that only one test process at a time uses the server: the tests
// look at the whole destination list, which other processes' ports would change.
bool jackServerReachable();
// Use as the first line of a test that needs JACK: skips with a reason, or fails when JACK is required.
#define NUPO_REQUIRE_JACK_OR_SKIP()                                                     \
    do {                                                                                \
        if (!::nupo::test::jackServerReachable()) {                                     \
            if (::nupo::test::jackRequired())                                           \
                FAIL() << "NUPO_REQUIRE_JACK is set but no JACK server is reachable";   \
            GTEST_SKIP() << "no JACK server is reachable (scripts/test.sh starts one)"; \
        }                                                                               \
    } while (0)

// A test program on JACK that collects the MIDI messages reaching one of its ports: either a
// destination of its own that our program lists and sends to, or a connection to one of our sources.
class MidiTestClient {
public:
    // A destination named portName that other programs can send to.
    static std::unique_ptr<MidiTestClient> destination(const QString& portName);
    // Listens to the first source whose name contains sourceName; what it gets counts once primed.
    static std::unique_ptr<MidiTestClient> listenTo(const QString& sourceName);
    ~MidiTestClient();

    // Waits until at least count messages arrived (or a generous liveness bound passed) and returns all.
    std::vector<MidiBytes> waitForMessages(std::size_t count);
    // Waits for a message equal to marker and returns the messages that arrived before it.
    std::vector<MidiBytes> messagesBefore(const MidiBytes& marker);
    // Sends probes until one arrives: sendProbe(attempt) sends a message no test sends otherwise, distinct
    // for each attempt, and returns it. The first periods after a connection may run late and lose what
    // they carry (under a sanitizer, or while every core is busy), so a test counts messages only once
    // the route is known to carry them. Probes that arrive later are never collected. False when no probe
    // arrived within the liveness bound.
    bool primeWith(const std::function<MidiBytes(int attempt)>& sendProbe);
    // primeWith probes that our MIDI output sends to its destination `port` (control change 118).
    bool primeThroughPort(int port);
    std::vector<MidiBytes> messages();
    void clear();
    // Closes the test program's client on the server (also after the server died); it receives nothing more.
    void closeClient();

private:
    // What the backend thread's callback fills. Kept with the backend object to the process end.
    struct Inbox {
        std::mutex mutex;
        std::condition_variable arrived;
        std::vector<MidiBytes> collected;
        std::vector<MidiBytes> probes;  // once primed, dropped on arrival
        bool primed = false;
    };

    MidiTestClient();
    static void received(double, std::vector<unsigned char>* message, void* inbox);

    // Both live to the process end: closing a JACK client while its thread runs is not safe on a loaded
    // server. The destructor closes the port only, so a later client's port of the same name is the
    // only one listed.
    Inbox* inbox;
    RtMidiIn* in;
};

}  // namespace nupo::test
