#pragma once

#include "platform/midi/MidiSystem.h"

#include <QString>

#include <map>
#include <memory>
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
// was created. Sending to a destination connects the output port to it on first use. Not thread-safe:
// the caller serialises every call (the MIDI output layer holds its lock around them).
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
    // JACK only: makes again the connections our ports had on the server before ours went, each once its
    // other end is there.
    void reconnectPorts();

    // The port through which send() reaches destinations.
    bool createOutputPort(const QString& portName);
    // A destination other programs can send to; what arrives there is ignored.
    bool createVirtualDestination(const QString& endpointName);
    // A source other programs can listen to; publish() sends on it.
    bool createVirtualSource(const QString& endpointName);

    std::vector<MidiEndpoint> destinations();
    std::vector<MidiEndpoint> sources();

    // Sends one message to a destination; false when it could not be sent (gone, no system, no port).
    bool send(const MidiEndpoint& destination, const unsigned char* bytes, std::size_t size);
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
    Output* outputFor(const MidiEndpoint& destination);
    bool sendThrough(Output& output, const unsigned char* bytes, std::size_t size);

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
