#include "platform/midi/JackMidiClient.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
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
    int instance = 0;  // the number in our client's name, once one is open
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
    // Our own number first: a program that comes back to a new server before us takes the first free
    // number, and must not take ours (nor we theirs).
    std::vector<int> instances;
    if (current.instance > 0)
        instances.push_back(current.instance);
    for (int instance = 1; instance <= maxInstances; ++instance)
        if (instance != current.instance)
            instances.push_back(instance);
    for (const int instance : instances) {
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
        auto* made = new JackMidiClient;
        made->client = opened;
        made->clientName = jack_get_client_name(opened);
        const jack_nframes_t rate = jack_get_sample_rate(opened);
        made->period = rate > 0 ? double(jack_get_buffer_size(opened)) / rate : 0.0;
        // The client of the server before: its ports come back under their names.
        if (current.client != nullptr)
            made->takeOver(*current.client);
        jack_on_shutdown(opened, &JackMidiClient::shutdown, made);
        if (jack_set_process_callback(opened, &JackMidiClient::process, made) != 0 ||
            jack_set_port_connect_callback(opened, &JackMidiClient::portConnected, made) != 0 ||
            jack_activate(opened) != 0) {
            jack_client_close(opened);  // never active: no period can be running
            delete made;
            return nullptr;
        }
        // The client that served the old server stays (its period may still run); the new one takes over.
        if (current.client != nullptr)
            current.retired.push_back(current.client);
        current.client = made;
        current.instance = instance;
        return made;
    }
    return nullptr;
}

void JackMidiClient::takeOver(JackMidiClient& dead)
{
    std::vector<std::string> outputNames;
    std::vector<std::string> inputPortNames;
    {
        std::lock_guard lock(dead.portsMutex);
        outputNames.resize(dead.outputByName.size());
        for (const auto& [portName, index] : dead.outputByName)
            outputNames[std::size_t(index)] = portName;
        inputPortNames = dead.inputNames;
        std::lock_guard ownLock(portsMutex);
        portNameByDestination = dead.portNameByDestination;
    }
    // In the same order, so that each has the index it had.
    for (const std::string& portName : outputNames)
        outputPort(portName);
    for (const std::string& portName : inputPortNames)
        inputPort(portName);
    std::lock_guard lock(dead.connectionsMutex);
    toRestore = dead.toRestore;
    toRestore.insert(dead.connections.begin(), dead.connections.end());
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
    // Our own ports by their port name alone (":NUPO"): the port that sends there keeps its name should
    // our client's name change.
    const std::string ownPrefix = clientName + ':';
    const std::string key = destination.compare(0, ownPrefix.size(), ownPrefix) == 0
                                ? destination.substr(clientName.size())
                                : destination;
    std::string portName;
    {
        std::lock_guard lock(portsMutex);
        auto found = portNameByDestination.find(key);
        if (found == portNameByDestination.end()) {
            const std::size_t number = portNameByDestination.size() + 1;
            const std::string name = number == 1 ? baseName : baseName + ' ' + std::to_string(number);
            found = portNameByDestination.emplace(key, name).first;
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
    if (port == nullptr)
        return false;
    inputs.push_back(port);
    inputNames.push_back(portName);
    return true;
}

bool JackMidiClient::connect(int port, const std::string& destination)
{
    if (serverGone() || port < 0 || port >= outputCount.load(std::memory_order_acquire))
        return false;
    jack_port_t* from = outputs[std::size_t(port)].port;
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

void JackMidiClient::reconnectPorts()
{
    std::vector<Connection> pending;
    {
        std::lock_guard lock(connectionsMutex);
        pending.assign(toRestore.begin(), toRestore.end());
    }
    for (const Connection& connection : pending) {
        if (serverGone())
            return;
        jack_port_t* other = jack_port_by_name(client, connection.other.c_str());
        if (other == nullptr)
            continue;  // not there (yet)
        // A port of that name that can no longer take the connection is given up; one whose client is
        // not active yet is tried again at the next look.
        const bool fits =
            std::strcmp(jack_port_type(other), JACK_DEFAULT_MIDI_TYPE) == 0 &&
            (jack_port_flags(other) & (connection.fromOurs ? JackPortIsInput : JackPortIsOutput)) != 0;
        if (fits) {
            const std::string ours = clientName + ':' + connection.ours;
            const char* from = connection.fromOurs ? ours.c_str() : connection.other.c_str();
            const char* to = connection.fromOurs ? connection.other.c_str() : ours.c_str();
            const int result = jack_connect(client, from, to);
            if (result != 0 && result != EEXIST)
                continue;
        }
        std::lock_guard lock(connectionsMutex);
        toRestore.erase(connection);
    }
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

// On libjack's notification thread: follows the connections between our ports and other clients' ports.
void JackMidiClient::portConnected(jack_port_id_t a, jack_port_id_t b, int connect, void* self)
{
    auto* jack = static_cast<JackMidiClient*>(self);
    if (jack->serverGone())
        return;  // what the server says while it goes is not what the user made
    jack_port_t* first = jack_port_by_id(jack->client, a);
    jack_port_t* second = jack_port_by_id(jack->client, b);
    if (first == nullptr || second == nullptr)
        return;
    const bool firstOurs = jack_port_is_mine(jack->client, first) != 0;
    if (firstOurs == (jack_port_is_mine(jack->client, second) != 0))
        return;  // between our own ports (the program makes those) or not ours at all
    jack_port_t* ours = firstOurs ? first : second;
    jack_port_t* other = firstOurs ? second : first;
    const Connection connection{jack_port_short_name(ours), jack_port_name(other),
                                (jack_port_flags(ours) & JackPortIsOutput) != 0};
    std::lock_guard lock(jack->connectionsMutex);
    if (connect != 0)
        jack->connections.insert(connection);
    else
        jack->connections.erase(connection);
}

void JackMidiClient::shutdown(void* self)
{
    static_cast<JackMidiClient*>(self)->gone.store(true, std::memory_order_release);
}

}  // namespace nupo
