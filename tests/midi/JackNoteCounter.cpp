#include "JackNoteCounter.h"

#include "support/JackTestServer.h"

#include <jack/jack.h>
#include <jack/midiport.h>

namespace nupo::test {

JackNoteCounter* JackNoteCounter::open(const char* clientName)
{
    jack_client_t* client = openJackClient(clientName);
    if (client == nullptr)
        return nullptr;
    auto* counter = new JackNoteCounter;  // kept to the process end
    counter->client = client;
    jack_on_shutdown(client, &JackNoteCounter::shutdown, counter);
    counter->port = jack_port_register(client, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    if (counter->port == nullptr ||
        jack_set_process_callback(client, &JackNoteCounter::process, counter) != 0 ||
        jack_set_xrun_callback(client, &JackNoteCounter::xrun, counter) != 0 || jack_activate(client) != 0)
        return nullptr;
    return counter;
}

const char* JackNoteCounter::portName() const
{
    return jack_port_name(port);
}

bool JackNoteCounter::connectedTo(const char* otherPort) const
{
    return jack_port_connected_to(port, otherPort) != 0;
}

void JackNoteCounter::close()
{
    if (client != nullptr && !serverGone.load(std::memory_order_acquire))
        jack_client_close(client);
    client = nullptr;
}

void JackNoteCounter::shutdown(void* self)
{
    static_cast<JackNoteCounter*>(self)->serverGone.store(true, std::memory_order_release);
}

int JackNoteCounter::process(unsigned int frames, void* self)
{
    auto* counter = static_cast<JackNoteCounter*>(self);
    void* buffer = jack_port_get_buffer(counter->port, frames);
    const jack_nframes_t events = jack_midi_get_event_count(buffer);
    std::uint64_t notes = 0;
    for (jack_nframes_t i = 0; i < events; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) == 0 && event.size == 3 &&
            (event.buffer[0] & 0xF0) == 0x90 && event.buffer[2] != 0)
            ++notes;
    }
    counter->count.fetch_add(notes, std::memory_order_release);
    return 0;
}

int JackNoteCounter::xrun(void* self)
{
    static_cast<JackNoteCounter*>(self)->xrunCount.fetch_add(1, std::memory_order_release);
    return 0;
}

}  // namespace nupo::test
