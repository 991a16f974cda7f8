#pragma once

#include <atomic>
#include <cstdint>

typedef struct _jack_client jack_client_t;
typedef struct _jack_port jack_port_t;

namespace nupo::test {

// A listening program on the JACK server JACK_DEFAULT_SERVER names: a client of exactly the given name
// with one MIDI input port "in", counting the note-ons that reach it. Lives to the process end (a client
// of a server that died cannot be closed); close() ends its client while the server lives.
class JackNoteCounter {
public:
    // nullptr when no server answers or the name is taken.
    static JackNoteCounter* open(const char* clientName);

    // Note-ons (velocity above 0) received so far.
    std::uint64_t noteOns() const { return count.load(std::memory_order_acquire); }
    // Xruns the server told this client of.
    std::uint64_t xruns() const { return xrunCount.load(std::memory_order_acquire); }
    // The full name of the port ("<client>:in").
    const char* portName() const;
    // Whether the port is connected to the port of this full name.
    bool connectedTo(const char* otherPort) const;
    jack_client_t* jackClient() const { return client; }
    // Closes the client as a program that quits does, unless its server went.
    void close();

private:
    JackNoteCounter() = default;
    static int process(unsigned int frames, void* self);
    static int xrun(void* self);
    static void shutdown(void* self);

    jack_client_t* client = nullptr;
    jack_port_t* port = nullptr;
    std::atomic<std::uint64_t> count{0};
    std::atomic<std::uint64_t> xrunCount{0};
    std::atomic<bool> serverGone{false};
};

}  // namespace nupo::test
