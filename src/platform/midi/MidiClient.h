#pragma once

#include "platform/midi/MidiSystem.h"

#include <QString>

#include <map>
#include <memory>
#include <utility>
#include <vector>

class RtMidiIn;
class RtMidiOut;

namespace nupo {
class JackMidiClient;
}

namespace nupo {

// A MIDI endpoint as the system lists it: `id` is the backend's full port name (used to connect),
// `name` the name shown to the user. Endpoints of our own client are shown by their port name alone.
struct MidiEndpoint {
    QString id;
    QString name;
    // One of our own client's ports: on JACK, sent to under our client's name of the moment.
    bool own = false;
    bool isValid() const { return !id.isEmpty(); }
};

// One MIDI client with its output port and its own virtual endpoints, on the MIDI system found when it
// was created. Sending to a destination connects the output port to it on first use (on JACK by
// followConnections(), which also follows the connection from then on). Not thread-safe: the caller
// serialises every call but followConnections() (the MIDI output layer holds its lock around them).
//
// On JACK everything is one JACK client of ours, named with the program's instance number (see
// JackMidiClient); when its server goes away, serverLost() says so and a new MidiClient connects to the
// server that answers then. On ALSA the backend objects (a sender per destination, the virtual source
// and destination, the listers) are made once per process and reused by later clients: closing one while
// its backend thread runs is not safe.
class MidiClient {
public:
    explicit MidiClient(const QString& clientName);
    ~MidiClient();
    MidiClient(const MidiClient&) = delete;
    MidiClient& operator=(const MidiClient&) = delete;

    MidiApi api() const { return system.api; }
    bool isAvailable() const { return system.api != MidiApi::None; }
    const QString& name() const { return clientName; }
    // The name other programs see for our client (on JACK, with the instance number).
    QString systemName() const;
    // JACK only: the server this client was made on has gone; nothing is sent any more.
    bool serverLost() const;
    // JACK only: the server runs no periods (stopped, or frozen); nothing is sent while it is silent.
    bool serverStalled() const;
    // JACK only: registers and connects the destinations' ports, settles connections that went, and makes
    // again the connections our ports had on the server before ours went, each once its other end is
    // there (see JackMidiClient::followConnections). Server calls: for a thread of its own, not the
    // main thread. May run beside every other call.
    void followConnections(bool everything);
    // JACK only: counts what the server told of ports, clients and connections coming and going.
    unsigned connectionChanges() const;
    // A connection to this destination that the user removed by hand is made again.
    void chooseAgain(const MidiEndpoint& destination);
    // Every connection the user removed by hand is made again.
    void chooseAllAgain();
    // JACK only: what became of each other program's destination sent to, by its id (the result a send
    // there would have: sent, waiting, unreachable or removedByHand).
    std::vector<std::pair<QString, MidiSendResult>> destinationReaches() const;

    // The port through which send() reaches destinations.
    bool createOutputPort(const QString& portName);
    // A destination other programs can send to; what arrives there is ignored.
    bool createVirtualDestination(const QString& endpointName);
    // A source other programs can listen to; publish() sends on it.
    bool createVirtualSource(const QString& endpointName);

    std::vector<MidiEndpoint> destinations();
    std::vector<MidiEndpoint> sources();

    // Sends one message to a destination. On JACK the destination's port is connected by
    // followConnections(): the first messages wait for it.
    MidiSendResult send(const MidiEndpoint& destination, const unsigned char* bytes, std::size_t size);
    // Sends one message on our own virtual source.
    bool publish(const unsigned char* bytes, std::size_t size);

private:
    // Where messages to one destination go: an RtMidi sender on ALSA (kept for the whole run), a port
    // of our JACK client on JACK.
    struct Output {
        RtMidiOut* out = nullptr;
        int jackPort = -1;
    };

    std::vector<MidiEndpoint> list(bool wantDestinations);
    MidiEndpoint endpointFromPortName(const std::string& portName) const;
    // A destination of our own is sent to under our client's name of the moment.
    MidiEndpoint current(const MidiEndpoint& destination) const;
    Output* outputFor(const MidiEndpoint& destination);
    MidiSendResult sendThrough(Output& output, const unsigned char* bytes, std::size_t size);

    QString clientName;
    MidiSystemInfo system;
    QString outputPortName;
    JackMidiClient* jack = nullptr;
    RtMidiIn* virtualDestination = nullptr;
    Output virtualSource;
    RtMidiOut* destinationLister = nullptr;
    RtMidiIn* sourceLister = nullptr;
    std::map<QString, Output> outputs;
};

}  // namespace nupo
