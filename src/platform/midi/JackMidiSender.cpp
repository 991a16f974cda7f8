#include "platform/midi/JackMidiSender.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <thread>

namespace nupo {

namespace {

// Room for tens of thousands of short messages: a sender waits only when a burst is larger than that.
constexpr std::size_t queueBytes = 1 << 18;
// A send that finds the queue full waits at most this long for a period to make room.
constexpr auto fullQueueBound = std::chrono::seconds(2);

using MessageSize = std::uint32_t;  // each queued message: its size, then its bytes

}  // namespace

JackMidiSender::JackMidiSender() : queue(queueBytes) {}

JackMidiSender* JackMidiSender::open(const std::string& clientName, const std::string& portName)
{
    jack_status_t status{};
    jack_client_t* client = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (client == nullptr)
        return nullptr;
    auto* sender = new JackMidiSender;
    sender->client = client;
    sender->port = jack_port_register(client, portName.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    const jack_nframes_t rate = jack_get_sample_rate(client);
    sender->periodSeconds = rate > 0 ? double(jack_get_buffer_size(client)) / rate : 0.0;
    if (sender->port == nullptr || jack_set_process_callback(client, &JackMidiSender::process, sender) != 0)
        return (delete sender, nullptr);
    jack_on_shutdown(client, &JackMidiSender::shutdown, sender);
    if (jack_activate(client) != 0)
        return (delete sender, nullptr);
    return sender;
}

JackMidiSender::~JackMidiSender()
{
    if (client != nullptr)
        jack_client_close(client);  // waits for a period that is running
}

bool JackMidiSender::connectTo(const std::string& destination)
{
    if (serverGone.load(std::memory_order_relaxed))
        return false;
    jack_port_disconnect(client, port);
    const int result = jack_connect(client, jack_port_name(port), destination.c_str());
    return result == 0 || result == EEXIST;
}

bool JackMidiSender::isConnected() const
{
    return !serverGone.load(std::memory_order_relaxed) && jack_port_connected(port) > 0;
}

bool JackMidiSender::send(const unsigned char* bytes, std::size_t size)
{
    const std::size_t needed = sizeof(MessageSize) + size;
    if (size == 0 || needed > queueBytes ||
        size > jack_port_type_get_buffer_size(client, JACK_DEFAULT_MIDI_TYPE))
        return false;  // could never leave through the port
    const auto until = std::chrono::steady_clock::now() + fullQueueBound;
    while (queue.writeSpace() < needed) {
        if (serverGone.load(std::memory_order_relaxed) || std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::duration<double>(periodSeconds));
    }
    const MessageSize length = MessageSize(size);
    queue.write({{&length, sizeof length}, {bytes, size}});
    return true;
}

std::size_t JackMidiSender::queuedBytes() const
{
    return queue.readSpace();
}

int JackMidiSender::process(unsigned int frames, void* self)
{
    auto* sender = static_cast<JackMidiSender*>(self);
    void* buffer = jack_port_get_buffer(sender->port, frames);
    jack_midi_clear_buffer(buffer);
    ByteRing& queue = sender->queue;
    MessageSize size = 0;
    while (queue.readSpace() >= sizeof size) {
        queue.peek(0, &size, sizeof size);
        if (queue.readSpace() < sizeof size + size)
            break;
        jack_midi_data_t* room = jack_midi_event_reserve(buffer, 0, size);
        if (room == nullptr)
            break;  // the port's buffer is full: the rest leaves in the next period, in order
        queue.peek(sizeof size, room, size);
        queue.skip(sizeof size + size);
    }
    return 0;
}

void JackMidiSender::shutdown(void* self)
{
    static_cast<JackMidiSender*>(self)->serverGone.store(true, std::memory_order_relaxed);
}

}  // namespace nupo
