#include "platform/midi/JackMidiClient.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

namespace nupo {

namespace {

// Room for tens of thousands of short messages per port: a sender waits only when a burst is larger.
constexpr std::size_t queueBytes = 1 << 18;
// A send that finds the queue full waits at most this long for a period to make room.
constexpr auto fullQueueBound = std::chrono::seconds(2);
// Instance numbers tried for our client's name.
constexpr int maxInstances = 99;

using MessageSize = std::uint32_t;  // each queued message: its size, then its bytes

void quietJackMessage(const char*) {}

struct CurrentClient {
    std::mutex mutex;
    JackMidiClient* client = nullptr;
    // Clients of servers that went away: libjack cannot close them, so they are kept (not lost) to the end.
    std::vector<JackMidiClient*> retired;
};

CurrentClient& currentClient()
{
    static auto* current = new CurrentClient;  // lives to process end
    return *current;
}

}  // namespace

JackMidiClient* JackMidiClient::current(const std::string& baseName)
{
    CurrentClient& current = currentClient();
    std::lock_guard lock(current.mutex);
    if (current.client != nullptr && !current.client->serverGone())
        return current.client;
    // libjack reports a missing server and a taken name on stderr; both are answered here.
    jack_set_error_function(quietJackMessage);
    jack_set_info_function(quietJackMessage);
    for (int instance = 1; instance <= maxInstances; ++instance) {
        const std::string name = baseName + ' ' + std::to_string(instance);
        // Asked for the exact name, JACK answers a taken name as it answers a server error; asked
        // without, it makes the name unique instead, which tells the two apart.
        jack_status_t status{};
        jack_client_t* opened = jack_client_open(name.c_str(), JackNoStartServer, &status);
        if (opened == nullptr)
            return nullptr;
        if ((status & JackNameNotUnique) != 0) {
            jack_client_close(opened);  // never active: no period can be running
            continue;                   // another instance of the program has this number
        }
        // The client that served the old server stays (its period may still run); a new one takes over.
        if (current.client != nullptr) {
            current.retired.push_back(current.client);
            current.client = nullptr;
        }
        auto* made = new JackMidiClient;
        made->client = opened;
        made->clientName = jack_get_client_name(opened);
        const jack_nframes_t rate = jack_get_sample_rate(opened);
        made->period = rate > 0 ? double(jack_get_buffer_size(opened)) / rate : 0.0;
        jack_on_shutdown(opened, &JackMidiClient::shutdown, made);
        if (jack_set_process_callback(opened, &JackMidiClient::process, made) != 0 ||
            jack_activate(opened) != 0) {
            jack_client_close(opened);  // never active: no period can be running
            delete made;
            return nullptr;
        }
        current.client = made;
        return made;
    }
    return nullptr;
}

int JackMidiClient::outputPort(const std::string& portName)
{
    std::lock_guard lock(portsMutex);
    if (auto found = outputByName.find(portName); found != outputByName.end())
        return found->second;
    const int index = outputCount.load(std::memory_order_relaxed);
    if (serverGone() || index >= maxPorts)
        return -1;
    jack_port_t* port =
        jack_port_register(client, portName.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (port == nullptr)
        return -1;
    Output& output = outputs[std::size_t(index)];
    output.port = port;
    output.queue = std::make_unique<ByteRing>(queueBytes);
    outputCount.store(index + 1, std::memory_order_release);  // the period sees the port whole
    outputByName[portName] = index;
    return index;
}

int JackMidiClient::destinationPort(const std::string& destination, const std::string& baseName)
{
    std::string portName;
    {
        std::lock_guard lock(portsMutex);
        auto found = portNameByDestination.find(destination);
        if (found == portNameByDestination.end()) {
            const std::size_t number = portNameByDestination.size() + 1;
            const std::string name = number == 1 ? baseName : baseName + ' ' + std::to_string(number);
            found = portNameByDestination.emplace(destination, name).first;
        }
        portName = found->second;
    }
    return outputPort(portName);
}

bool JackMidiClient::inputPort(const std::string& portName)
{
    std::lock_guard lock(portsMutex);
    if (serverGone())
        return false;
    if (jack_port_by_name(client, (clientName + ':' + portName).c_str()) != nullptr)
        return true;
    jack_port_t* port =
        jack_port_register(client, portName.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    if (port != nullptr)
        inputs.push_back(port);
    return port != nullptr;
}

bool JackMidiClient::connect(int port, const std::string& destination)
{
    if (serverGone() || port < 0 || port >= outputCount.load(std::memory_order_acquire))
        return false;
    jack_port_t* from = outputs[std::size_t(port)].port;
    jack_port_disconnect(client, from);
    const int result = jack_connect(client, jack_port_name(from), destination.c_str());
    return result == 0 || result == EEXIST;
}

bool JackMidiClient::send(int port, const unsigned char* bytes, std::size_t size)
{
    if (serverGone() || port < 0 || port >= outputCount.load(std::memory_order_acquire))
        return false;
    Output& output = outputs[std::size_t(port)];
    const std::size_t needed = sizeof(MessageSize) + size;
    if (size == 0 || needed > queueBytes ||
        size > jack_port_type_get_buffer_size(client, JACK_DEFAULT_MIDI_TYPE))
        return false;  // could never leave through the port
    ByteRing& queue = *output.queue;
    if (queue.writeSpace() < needed) {
        // A server whose periods stopped does not hold up every send behind the one that gave up.
        if (output.stalledAt.load(std::memory_order_relaxed) == periods.load(std::memory_order_relaxed))
            return false;
        const auto until = std::chrono::steady_clock::now() + fullQueueBound;
        while (queue.writeSpace() < needed) {
            if (serverGone())
                return false;
            if (std::chrono::steady_clock::now() > until) {
                output.stalledAt.store(periods.load(std::memory_order_relaxed), std::memory_order_relaxed);
                return false;
            }
            std::this_thread::sleep_for(std::chrono::duration<double>(period));
        }
    }
    const MessageSize length = MessageSize(size);
    queue.write({{&length, sizeof length}, {bytes, size}});
    return true;
}

std::size_t JackMidiClient::queuedBytes(int port) const
{
    if (port < 0 || port >= outputCount.load(std::memory_order_acquire))
        return 0;
    return outputs[std::size_t(port)].queue->readSpace();
}

std::vector<std::string> JackMidiClient::portNames(bool destinations) const
{
    std::vector<std::string> names;
    if (serverGone())
        return names;
    const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE,
                                        destinations ? JackPortIsInput : JackPortIsOutput);
    if (ports == nullptr)
        return names;
    for (const char** name = ports; *name != nullptr; ++name)
        names.emplace_back(*name);
    jack_free(ports);
    return names;
}

int JackMidiClient::process(unsigned int frames, void* self)
{
    auto* jack = static_cast<JackMidiClient*>(self);
    const int count = jack->outputCount.load(std::memory_order_acquire);
    for (int i = 0; i < count; ++i) {
        Output& output = jack->outputs[std::size_t(i)];
        void* buffer = jack_port_get_buffer(output.port, frames);
        jack_midi_clear_buffer(buffer);
        ByteRing& queue = *output.queue;
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
    }
    jack->periods.fetch_add(1, std::memory_order_relaxed);
    return 0;
}

void JackMidiClient::shutdown(void* self)
{
    static_cast<JackMidiClient*>(self)->gone.store(true, std::memory_order_release);
}

}  // namespace nupo
