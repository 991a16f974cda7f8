#pragma once

#include "platform/midi/ByteRing.h"
#include "platform/midi/MidiSystem.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <jack/types.h>

namespace nupo {

// Our one client on a JACK server, with all its MIDI ports: one output port per destination it sends to,
// a source other programs can listen to, and a destination others can send to (what arrives there is
// ignored). Its name carries an instance number ("NUPO MIDI 1", "NUPO MIDI 2", …), so that two running
// programs can be told apart in JACK's port list.
//
// Sending queues a message for its port; the JACK period that follows writes every queued message to
// the port, as many as the port's buffer holds, and leaves the rest for the periods after. One thread
// sends at a time (the caller serialises). Sending never waits on the server: the port that sends to a
// destination is made and connected by followConnections(), which the caller runs on a thread of its own.
//
// Each destination's connection is followed through the server's callbacks: a destination whose port
// goes is unreachable, and is connected again when a port of its name comes back (also when the user
// connects it by hand); a connection the user removes by hand stays removed until the destination is
// chosen again. What is sent while a destination cannot be reached is dropped, not kept for later.
//
// A server that runs no period for longer than stallSeconds() does not answer: sends are dropped until it
// runs again, and what was queued before is dropped in its first period back (it would arrive late).
//
// When the server goes away the client is dead for good: serverGone() says so and every call fails at
// once. current() then opens a new client on whatever server answers, with the same ports and
// destinations, and makes the connections other programs or the user had made to our ports again once
// their other ends are there (followConnections()). A dead client's queues are freed once no period of
// it can run; the client itself is kept to the end of the process (libjack cannot close it).
class JackMidiClient {
public:
    // What became of the connection from one of our output ports.
    enum class Reach : int {
        direct,     // not a destination's port (our source): written every period
        pending,    // a destination being connected: what is sent waits for the connection
        connected,  // what is sent leaves (once the connection is live)
        unsettled,  // the connection went and why is not known yet: its other end going, or the user
        absent,     // the destination's port is not there, or cannot take the connection
        removed,    // the user removed the connection by hand
    };

    JackMidiClient(const JackMidiClient&) = delete;
    JackMidiClient& operator=(const JackMidiClient&) = delete;

    // The client on the server that answers now: the last one opened while its server lives, else a new
    // one named baseName and an instance number: the one this process had first, else the one it has
    // now, else the first free one, never one another instance held on the server before; nullptr when
    // no server answers.
    static JackMidiClient* current(const std::string& baseName);

    const std::string& name() const { return clientName; }
    double periodSeconds() const { return period.load(std::memory_order_relaxed); }
    bool serverGone() const { return gone.load(std::memory_order_acquire); }
    // No period has run for longer than stallSeconds().
    bool serverStalled() const;
    double stallSeconds() const;

    // An output port of this name, registered now (a server call); -1 when it cannot be made.
    int outputPort(const std::string& portName);
    // The output port that sends to a destination (its full name): the same one every time, named
    // baseName, then "baseName 2", "baseName 3", … for further destinations. On first use it is only
    // reserved: followConnections() registers and connects it. -1 when no more ports can be made.
    int destinationPort(const std::string& destination, const std::string& baseName);
    // An input port of this name whose messages are ignored.
    bool inputPort(const std::string& portName);
    // Queues one message on an output port; waits while its queue is full (a period drains it).
    MidiSendResult send(int port, const unsigned char* bytes, std::size_t size);
    Reach reach(int port) const;
    // The connection to a destination (its port's index) the user removed is made again.
    void chooseAgain(int port);
    // Every connection the user removed is made again.
    void chooseAllAgain();
    // The reach of every other program's destination sent to, by its full name.
    std::vector<std::pair<std::string, Reach>> destinationReaches() const;

    // Full names of the MIDI ports on the server that take messages (destinations) or give them (sources).
    std::vector<std::string> portNames(bool destinations) const;

    // Registers the destinations' ports, connects those not connected whose other end is there, settles
    // connections that went, and makes again the connections our ports had on the server before, each
    // once its other end is there. What changed since the last call is always looked at; `everything`
    // looks at every destination and connection. Server calls: not from a JACK callback, and not on a
    // thread that must not wait.
    void followConnections(bool everything);
    // Counts what the server told of ports and clients coming and going, and connections made or removed.
    unsigned changes() const { return changeCount.load(std::memory_order_acquire); }

private:
    static constexpr int maxPorts = 40;

    struct Output {
        std::atomic<jack_port_t*> port{nullptr};
        std::unique_ptr<ByteRing> queue;  // made before the output is published; freed once retired
        std::atomic<int> reach{int(Reach::direct)};
        // The period count before which nothing leaves: a new connection is live from a later period.
        std::atomic<unsigned> holdUntil{0};
        // The period count when a send last gave up on a full queue: sends fail at once until a period runs.
        std::atomic<unsigned> stalledAt{~0u};
        std::string name;  // set before the output is published
        // Set before the output is published, then read only: the destination's full name, or ":port"
        // for a port of our own client (whatever its name); empty when not a destination's port.
        std::string destination;
        std::atomic<std::int64_t> wentAt{0};  // when the connection went (unsettled), steady nanoseconds
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
    static int bufferSizeChanged(jack_nframes_t frames, void* self);
    static void portConnected(jack_port_id_t a, jack_port_id_t b, int connect, void* self);
    static void portRegistered(jack_port_id_t id, int registered, void* self);
    static void clientRegistered(const char* name, int registered, void* self);
    // Registers the ports `dead` had, under the same names and indexes, and takes on what it knew (before
    // activation).
    void takeOver(JackMidiClient& dead);
    // Publishes an output (its port not registered yet); called with portsMutex held. -1 when full.
    int addOutputLocked(const std::string& portName, const std::string& destination, Reach reach);
    bool registerOutput(Output& output);
    int outputIndexOf(const jack_port_t* port) const;
    std::string destinationName(const Output& output) const;
    // Moves an output's reach from `from` to `to`; false when it was no longer `from`.
    bool moveReach(Output& output, Reach from, Reach to);
    void connectDestination(Output& output, Reach seen);
    void settle(Output& output);
    void restoreConnections();
    void noteChange() { changeCount.fetch_add(1, std::memory_order_acq_rel); }
    // The instance number in a client name of ours ("baseName N"), else 0.
    int instanceOf(const std::string& client) const;
    void noteInstances();
    // Frees the queues once no period can touch them; false when a period still runs (try again later).
    bool releaseQueues();

    jack_client_t* client = nullptr;
    std::string clientName;
    std::string baseName;
    jack_nframes_t sampleRate = 0;
    std::atomic<double> period{0.0};
    std::atomic<bool> gone{false};
    std::atomic<unsigned> periods{0};
    std::atomic<std::int64_t> lastPeriodAt{0};  // steady clock, nanoseconds
    std::atomic<bool> active{false};
    // The period against its release: a retired client's period touches nothing.
    std::atomic<bool> inPeriod{false};
    std::atomic<bool> retired{false};
    std::atomic<unsigned> changeCount{0};
    std::array<Output, maxPorts> outputs;
    std::atomic<int> outputCount{0};  // outputs[0 .. outputCount) are published
    mutable std::mutex portsMutex;    // making ports
    std::map<std::string, int> outputByName;
    std::map<std::string, std::string> portNameByDestination;
    std::vector<jack_port_t*> inputs;
    std::vector<std::string> inputNames;
    std::mutex followMutex;  // one followConnections() at a time
    mutable std::mutex connectionsMutex;
    std::set<Connection> connections;  // as the server last told them (frozen once it is gone)
    std::set<Connection> toRestore;    // of the server before, not yet made again
    mutable std::mutex instancesMutex;
    std::set<int> othersInstances;  // instance numbers other clients of ours hold on the server
};

}  // namespace nupo
