#pragma once

#include "platform/midi/ByteRing.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include <jack/types.h>

namespace nupo {

// Our one client on a JACK server, with all its MIDI ports: one output port per destination it sends to,
// a source other programs can listen to, and a destination others can send to (what arrives there is
// ignored). Its name carries an instance number ("NUPO MIDI 1", "NUPO MIDI 2", …), so that two running
// programs can be told apart in JACK's port list.
//
// Sending queues a message for its port; the JACK period that follows writes every queued message to
// the port, as many as the port's buffer holds, and leaves the rest for the periods after, so nothing is
// dropped. One thread sends at a time (the caller serialises).
//
// When the server goes away the client is dead for good: serverGone() says so and every call fails at
// once. current() then opens a new client on whatever server answers, under the name the dead one had
// where that is free (so that two running programs never swap names), with the same ports, and makes
// the connections other programs or the user had made to our ports again once their other ends are
// there (reconnectPorts()). A client is kept to the end of the process: its period may still be running
// when it would be closed.
class JackMidiClient {
public:
    JackMidiClient(const JackMidiClient&) = delete;
    JackMidiClient& operator=(const JackMidiClient&) = delete;

    // The client on the server that answers now: the last one opened while its server lives, else a new
    // one named baseName and the instance number this process had before (when free), else the first
    // free one; nullptr when no server answers.
    static JackMidiClient* current(const std::string& baseName);

    const std::string& name() const { return clientName; }
    double periodSeconds() const { return period; }
    bool serverGone() const { return gone.load(std::memory_order_acquire); }

    // An output port of this name (made on first use); -1 when it cannot be made.
    int outputPort(const std::string& portName);
    // The output port that sends to a destination (its full name): the same one every time, made on
    // first use and named baseName, then "baseName 2", "baseName 3", … for further destinations.
    int destinationPort(const std::string& destination, const std::string& baseName);
    // An input port of this name whose messages are ignored.
    bool inputPort(const std::string& portName);
    // Connects an output port to one destination port (its full name) alone; false when that is not there.
    bool connect(int port, const std::string& destination);
    // Queues one message on an output port; waits while its queue is full (a period drains it). False
    // when it cannot be queued: too long, the server gone, or its periods stopped.
    bool send(int port, const unsigned char* bytes, std::size_t size);
    // Messages queued on a port and not yet written.
    std::size_t queuedBytes(int port) const;

    // Full names of the MIDI ports on the server that take messages (destinations) or give them (sources).
    std::vector<std::string> portNames(bool destinations) const;

    // Makes again the connections our ports had on the server before, each once its other end is there;
    // connections made since stay as they are. Not from a JACK callback.
    void reconnectPorts();

private:
    static constexpr int maxPorts = 40;

    struct Output {
        jack_port_t* port = nullptr;
        std::unique_ptr<ByteRing> queue;
        // The period count when a send last gave up on a full queue: sends fail at once until a period runs.
        std::atomic<unsigned> stalledAt{~0u};
    };

    // A connection of one of our ports (its short name) to a port of another client (its full name).
    struct Connection {
        std::string ours;
        std::string other;
        bool fromOurs = false;  // our port is the output
        auto operator<=>(const Connection&) const = default;
    };

    JackMidiClient() = default;
    static int process(unsigned int frames, void* self);
    static void shutdown(void* self);
    static void portConnected(jack_port_id_t a, jack_port_id_t b, int connect, void* self);
    // Registers the ports `dead` had, under the same names, and takes on what it knew (before activation).
    void takeOver(JackMidiClient& dead);

    jack_client_t* client = nullptr;
    std::string clientName;
    double period = 0.0;
    std::atomic<bool> gone{false};
    std::atomic<unsigned> periods{0};
    std::array<Output, maxPorts> outputs;
    std::atomic<int> outputCount{0};  // outputs[0 .. outputCount) are ready for the period
    mutable std::mutex portsMutex;    // making ports
    std::map<std::string, int> outputByName;
    std::map<std::string, std::string> portNameByDestination;
    std::vector<jack_port_t*> inputs;
    std::vector<std::string> inputNames;
    mutable std::mutex connectionsMutex;
    std::set<Connection> connections;  // as the server last told them (frozen once it is gone)
    std::set<Connection> toRestore;    // of the server before, not yet made again
};

}  // namespace nupo
