#pragma once

#include <atomic>
#include <cstddef>
#include <string>

#include "platform/midi/ByteRing.h"

#include <jack/types.h>

namespace nupo {

// One MIDI output port on the JACK server, in a client of its own. send() queues a message; the JACK
// period that follows writes every queued message to the port, as many as the port's buffer holds, and
// leaves the rest queued for the periods after. So nothing is dropped and a burst waits only for the
// room the port buffer has.
//
// One thread sends at a time (the caller serialises). Like the other senders it is kept to the end of
// the process: its period may still be running when it would be closed.
class JackMidiSender {
public:
    ~JackMidiSender();
    JackMidiSender(const JackMidiSender&) = delete;
    JackMidiSender& operator=(const JackMidiSender&) = delete;

    // A client named clientName (the server numbers it when the name is taken) with an output port
    // named portName; nullptr when the server does not answer.
    static JackMidiSender* open(const std::string& clientName, const std::string& portName);

    // Connects the port to one destination port (its full name) alone; false when that is not there.
    bool connectTo(const std::string& destination);
    bool isConnected() const;
    // Queues one message; waits while the queue is full (a period drains it), false when it cannot be
    // queued at all (longer than the queue, or the server has gone).
    bool send(const unsigned char* bytes, std::size_t size);

    // Messages queued and not yet written to the port.
    std::size_t queuedBytes() const;

private:
    JackMidiSender();
    static int process(unsigned int frames, void* self);
    static void shutdown(void* self);

    jack_client_t* client = nullptr;
    jack_port_t* port = nullptr;
    ByteRing queue;
    double periodSeconds = 0.0;
    std::atomic<bool> serverGone{false};
};

}  // namespace nupo
