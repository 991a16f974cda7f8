#include "platform/midi/JackMidiClient.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
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
// A new connection carries messages from a later period on: what is sent to it waits this many periods.
constexpr unsigned holdPeriods = 3;
// A server that runs no period for this many periods, and at least stallFloorSeconds, does not answer.
// The floor keeps periods that are merely late from being taken for a silent server: a dummy server on a
// busy machine (load 66 on 8 cores) ran two periods a minute more than 0.25 s late, one 0.53 s.
constexpr double stallPeriods = 2.0;
constexpr double stallFloorSeconds = 1.0;
// A connection that went while its other end stays is taken as removed by the user after this long: a
// program that closes removes its connections first and its ports a moment later.
constexpr double settleSeconds = 0.5;

using MessageSize = std::uint32_t;  // each queued message: its size, then its bytes
using Reach = JackMidiClient::Reach;

void quietJackMessage(const char*) {}

std::int64_t steadyNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool goesNowhere(Reach reach)
{
    return reach == Reach::absent || reach == Reach::removed || reach == Reach::unsettled;
}

struct CurrentClient {
    std::mutex mutex;
    JackMidiClient* client = nullptr;
    int instance = 0;       // the number in our client's name, once one is open
    int firstInstance = 0;  // the number of the first client this process opened
};

CurrentClient& currentClient()
{
    static auto* current = new CurrentClient;  // lives to process end
    return *current;
}

// Clients of servers that went away whose queues could not be freed yet (a period was running).
struct RetiredClients {
    std::mutex mutex;
    std::vector<JackMidiClient*> clients;
};

RetiredClients& retiredClients()
{
    static auto* retired = new RetiredClients;  // lives to process end
    return *retired;
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
    // The number this process had first, then the one it has, then the first free one; never one that
    // another instance held on the server before: it may be coming back to the new server after us.
    std::set<int> others;
    if (current.client != nullptr) {
        std::lock_guard instancesLock(current.client->instancesMutex);
        others = current.client->othersInstances;
    }
    std::vector<int> instances;
    const auto consider = [&](int instance) {
        if (instance > 0 && others.count(instance) == 0 &&
            std::find(instances.begin(), instances.end(), instance) == instances.end())
            instances.push_back(instance);
    };
    consider(current.firstInstance);
    consider(current.instance);
    for (int instance = 1; instance <= maxInstances; ++instance)
        consider(instance);
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
        made->baseName = baseName;
        made->sampleRate = jack_get_sample_rate(opened);
        bufferSizeChanged(jack_get_buffer_size(opened), made);
        // The client of the server before: its ports come back under their names.
        if (current.client != nullptr)
            made->takeOver(*current.client);
        jack_on_shutdown(opened, &JackMidiClient::shutdown, made);
        made->lastPeriodAt.store(steadyNanoseconds(), std::memory_order_release);
        if (jack_set_process_callback(opened, &JackMidiClient::process, made) != 0 ||
            jack_set_buffer_size_callback(opened, &JackMidiClient::bufferSizeChanged, made) != 0 ||
            jack_set_port_connect_callback(opened, &JackMidiClient::portConnected, made) != 0 ||
            jack_set_port_registration_callback(opened, &JackMidiClient::portRegistered, made) != 0 ||
            jack_set_client_registration_callback(opened, &JackMidiClient::clientRegistered, made) != 0 ||
            jack_activate(opened) != 0) {
            jack_client_close(opened);  // never active: no period can be running
            delete made;
            return nullptr;
        }
        made->active.store(true, std::memory_order_release);
        made->noteInstances();
        // The client that served the old server stays (libjack cannot close it); its queues go once no
        // period of it can run.
        if (current.client != nullptr && !current.client->releaseQueues()) {
            RetiredClients& retired = retiredClients();
            std::lock_guard retiredLock(retired.mutex);
            retired.clients.push_back(current.client);
        }
        current.client = made;
        current.instance = instance;
        if (current.firstInstance == 0)
            current.firstInstance = instance;
        made->followConnections(true);
        return made;
    }
    return nullptr;
}

void JackMidiClient::takeOver(JackMidiClient& dead)
{
    std::vector<std::string> inputPortNames;
    {
        std::lock_guard deadLock(dead.portsMutex);
        std::lock_guard lock(portsMutex);
        portNameByDestination = dead.portNameByDestination;
        // In the same order, so that each has the index it had.
        const int count = dead.outputCount.load(std::memory_order_acquire);
        for (int i = 0; i < count; ++i) {
            const Output& was = dead.outputs[std::size_t(i)];
            const auto reach = Reach(was.reach.load(std::memory_order_acquire));
            // A connection the user removed stays removed; every other destination is connected anew.
            addOutputLocked(was.name, was.destination,
                            was.destination.empty()   ? Reach::direct
                            : reach == Reach::removed ? Reach::removed
                                                      : Reach::pending);
        }
        inputPortNames = dead.inputNames;
    }
    for (int i = 0; i < outputCount.load(std::memory_order_acquire); ++i)
        registerOutput(outputs[std::size_t(i)]);
    for (const std::string& portName : inputPortNames)
        inputPort(portName);
    {
        std::lock_guard lock(dead.instancesMutex);
        othersInstances = dead.othersInstances;
    }
    std::lock_guard lock(dead.connectionsMutex);
    toRestore = dead.toRestore;
    toRestore.insert(dead.connections.begin(), dead.connections.end());
}

int JackMidiClient::addOutputLocked(const std::string& portName, const std::string& destination, Reach reach)
{
    const int index = outputCount.load(std::memory_order_relaxed);
    if (index >= maxPorts)
        return -1;
    Output& output = outputs[std::size_t(index)];
    output.name = portName;
    output.destination = destination;
    output.queue = std::make_unique<ByteRing>(queueBytes);
    output.reach.store(int(reach), std::memory_order_relaxed);
    outputByName[portName] = index;
    outputCount.store(index + 1, std::memory_order_release);  // the period and the callbacks see it whole
    return index;
}

bool JackMidiClient::registerOutput(Output& output)
{
    if (output.port.load(std::memory_order_acquire) != nullptr)
        return true;
    if (serverGone())
        return false;
    jack_port_t* port =
        jack_port_register(client, output.name.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (port == nullptr)
        return false;
    output.port.store(port, std::memory_order_release);
    return true;
}

int JackMidiClient::outputPort(const std::string& portName)
{
    int index = -1;
    {
        std::lock_guard lock(portsMutex);
        if (auto found = outputByName.find(portName); found != outputByName.end())
            index = found->second;
        else if (!serverGone())
            index = addOutputLocked(portName, std::string(), Reach::direct);
    }
    if (index < 0 || !registerOutput(outputs[std::size_t(index)]))
        return -1;
    return index;
}

int JackMidiClient::destinationPort(const std::string& destination, const std::string& baseName)
{
    if (serverGone())
        return -1;
    // Our own ports by their port name alone (":NUPO"): the port that sends there keeps its name should
    // our client's name change.
    const std::string ownPrefix = clientName + ':';
    const bool own = destination.compare(0, ownPrefix.size(), ownPrefix) == 0;
    const std::string key = own ? destination.substr(clientName.size()) : destination;
    int index = -1;
    {
        std::lock_guard lock(portsMutex);
        auto found = portNameByDestination.find(key);
        if (found == portNameByDestination.end()) {
            const std::size_t number = portNameByDestination.size() + 1;
            const std::string name = number == 1 ? baseName : baseName + ' ' + std::to_string(number);
            found = portNameByDestination.emplace(key, name).first;
        }
        if (auto made = outputByName.find(found->second); made != outputByName.end())
            return made->second;
        // Looked up in what the client knows of the server, without asking it.
        const bool there = own || jack_port_by_name(client, destination.c_str()) != nullptr;
        index = addOutputLocked(found->second, key, there ? Reach::pending : Reach::absent);
    }
    noteChange();
    return index;
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

double JackMidiClient::stallSeconds() const
{
    return std::max(stallPeriods * periodSeconds(), stallFloorSeconds);
}

bool JackMidiClient::serverStalled() const
{
    if (!active.load(std::memory_order_acquire))
        return false;
    const std::int64_t silent = steadyNanoseconds() - lastPeriodAt.load(std::memory_order_acquire);
    return double(silent) * 1e-9 > stallSeconds();
}

MidiSendResult JackMidiClient::send(int port, const unsigned char* bytes, std::size_t size)
{
    if (serverGone() || port < 0 || port >= outputCount.load(std::memory_order_acquire) || serverStalled())
        return MidiSendResult::dropped;
    Output& output = outputs[std::size_t(port)];
    const auto reach = Reach(output.reach.load(std::memory_order_acquire));
    if (reach == Reach::absent)
        return MidiSendResult::unreachable;
    if (reach == Reach::removed)
        return MidiSendResult::removedByHand;
    if (reach == Reach::unsettled)
        return MidiSendResult::dropped;
    const std::size_t needed = sizeof(MessageSize) + size;
    if (size == 0 || needed > queueBytes ||
        size > jack_port_type_get_buffer_size(client, JACK_DEFAULT_MIDI_TYPE))
        return MidiSendResult::dropped;  // could never leave through the port
    ByteRing& queue = *output.queue;
    if (queue.writeSpace() < needed) {
        // A destination not connected yet may never be: no wait for it.
        if (reach == Reach::pending)
            return MidiSendResult::dropped;
        // A server whose periods stopped does not hold up every send behind the one that gave up.
        if (output.stalledAt.load(std::memory_order_relaxed) == periods.load(std::memory_order_relaxed))
            return MidiSendResult::dropped;
        const auto until = std::chrono::steady_clock::now() + fullQueueBound;
        while (queue.writeSpace() < needed) {
            if (serverGone())
                return MidiSendResult::dropped;
            if (std::chrono::steady_clock::now() > until) {
                output.stalledAt.store(periods.load(std::memory_order_relaxed), std::memory_order_relaxed);
                return MidiSendResult::dropped;
            }
            std::this_thread::sleep_for(std::chrono::duration<double>(periodSeconds()));
        }
    }
    const MessageSize length = MessageSize(size);
    queue.write({{&length, sizeof length}, {bytes, size}});
    return reach == Reach::pending ? MidiSendResult::waiting : MidiSendResult::sent;
}

JackMidiClient::Reach JackMidiClient::reach(int port) const
{
    if (port < 0 || port >= outputCount.load(std::memory_order_acquire))
        return Reach::absent;
    return Reach(outputs[std::size_t(port)].reach.load(std::memory_order_acquire));
}

void JackMidiClient::chooseAgain(int port)
{
    if (port < 0 || port >= outputCount.load(std::memory_order_acquire))
        return;
    if (moveReach(outputs[std::size_t(port)], Reach::removed, Reach::pending))
        noteChange();
}

void JackMidiClient::chooseAllAgain()
{
    for (int i = 0; i < outputCount.load(std::memory_order_acquire); ++i)
        chooseAgain(i);
}

std::vector<std::pair<std::string, JackMidiClient::Reach>> JackMidiClient::destinationReaches() const
{
    std::vector<std::pair<std::string, Reach>> reaches;
    const int count = outputCount.load(std::memory_order_acquire);
    for (int i = 0; i < count; ++i) {
        const Output& output = outputs[std::size_t(i)];
        if (!output.destination.empty() && output.destination.front() != ':')
            reaches.emplace_back(output.destination, Reach(output.reach.load(std::memory_order_acquire)));
    }
    return reaches;
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

std::string JackMidiClient::destinationName(const Output& output) const
{
    return output.destination.front() == ':' ? clientName + output.destination : output.destination;
}

bool JackMidiClient::moveReach(Output& output, Reach from, Reach to)
{
    int expected = int(from);
    return output.reach.compare_exchange_strong(expected, int(to), std::memory_order_acq_rel);
}

int JackMidiClient::outputIndexOf(const jack_port_t* port) const
{
    const int count = outputCount.load(std::memory_order_acquire);
    for (int i = 0; i < count; ++i)
        if (outputs[std::size_t(i)].port.load(std::memory_order_acquire) == port)
            return i;
    return -1;
}

void JackMidiClient::followConnections(bool everything)
{
    std::lock_guard follow(followMutex);
    // A silent server would hold up every call made to it.
    if (serverGone() || serverStalled())
        return;
    const int count = outputCount.load(std::memory_order_acquire);
    for (int i = 0; i < count; ++i) {
        Output& output = outputs[std::size_t(i)];
        if (output.destination.empty())
            continue;
        const auto seen = Reach(output.reach.load(std::memory_order_acquire));
        switch (seen) {
            case Reach::pending:
                connectDestination(output, seen);
                break;
            case Reach::absent:
                if (everything)
                    connectDestination(output, seen);
                break;
            case Reach::connected:
                // Its port gone without a word (a callback missed): not connected any more.
                if (everything && jack_port_by_name(client, destinationName(output).c_str()) == nullptr)
                    moveReach(output, seen, Reach::absent);
                break;
            case Reach::unsettled:
                settle(output);
                break;
            case Reach::direct:
            case Reach::removed:
                break;
        }
    }
    if (everything)
        restoreConnections();
    // Dead clients whose queues could not be freed when they were retired.
    RetiredClients& retired = retiredClients();
    if (std::unique_lock lock(retired.mutex, std::try_to_lock); lock.owns_lock())
        std::erase_if(retired.clients, [](JackMidiClient* dead) { return dead->releaseQueues(); });
}

void JackMidiClient::connectDestination(Output& output, Reach seen)
{
    if (!registerOutput(output)) {
        moveReach(output, seen, Reach::absent);
        return;
    }
    jack_port_t* ours = output.port.load(std::memory_order_acquire);
    const std::string destination = destinationName(output);
    jack_port_t* other = jack_port_by_name(client, destination.c_str());
    const bool fits = other != nullptr && std::strcmp(jack_port_type(other), JACK_DEFAULT_MIDI_TYPE) == 0 &&
                      (jack_port_flags(other) & JackPortIsInput) != 0;
    if (!fits) {
        moveReach(output, seen, Reach::absent);
        return;
    }
    // Held before the connection is made: its callback may come before jack_connect returns.
    output.holdUntil.store(periods.load(std::memory_order_acquire) + holdPeriods, std::memory_order_release);
    const int result = jack_port_connected_to(ours, destination.c_str()) != 0
                           ? EEXIST
                           : jack_connect(client, jack_port_name(ours), destination.c_str());
    // A client not active yet refuses the connection: tried again at the next look at everything.
    moveReach(output, seen, result == 0 || result == EEXIST ? Reach::connected : Reach::absent);
}

void JackMidiClient::settle(Output& output)
{
    const std::string destination = destinationName(output);
    jack_port_t* ours = output.port.load(std::memory_order_acquire);
    if (jack_port_by_name(client, destination.c_str()) == nullptr) {
        moveReach(output, Reach::unsettled, Reach::absent);  // its other end went
    } else if (ours != nullptr && jack_port_connected_to(ours, destination.c_str()) != 0) {
        moveReach(output, Reach::unsettled, Reach::connected);
    } else {
        const std::int64_t since = steadyNanoseconds() - output.wentAt.load(std::memory_order_acquire);
        if (double(since) * 1e-9 > settleSeconds)
            moveReach(output, Reach::unsettled, Reach::removed);  // its other end stays: the user's doing
    }
}

void JackMidiClient::restoreConnections()
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

int JackMidiClient::instanceOf(const std::string& clientOrPort) const
{
    const std::string prefix = baseName + ' ';
    if (clientOrPort.compare(0, prefix.size(), prefix) != 0)
        return 0;
    std::size_t end = prefix.size();
    while (end < clientOrPort.size() && clientOrPort[end] >= '0' && clientOrPort[end] <= '9')
        ++end;
    if (end == prefix.size() || end - prefix.size() > 2 ||
        (end < clientOrPort.size() && clientOrPort[end] != ':'))
        return 0;
    return std::stoi(clientOrPort.substr(prefix.size(), end - prefix.size()));
}

void JackMidiClient::noteInstances()
{
    const char** ports = jack_get_ports(client, nullptr, nullptr, 0);
    if (ports == nullptr)
        return;
    const std::string ownPrefix = clientName + ':';
    std::lock_guard lock(instancesMutex);
    for (const char** name = ports; *name != nullptr; ++name)
        if (const int instance = instanceOf(*name);
            instance > 0 && std::strncmp(*name, ownPrefix.c_str(), ownPrefix.size()) != 0)
            othersInstances.insert(instance);
    jack_free(ports);
}

bool JackMidiClient::releaseQueues()
{
    retired.store(true);
    if (inPeriod.load())
        return false;
    const int count = outputCount.load(std::memory_order_acquire);
    for (int i = 0; i < count; ++i)
        outputs[std::size_t(i)].queue.reset();
    return true;
}

int JackMidiClient::process(unsigned int frames, void* self)
{
    auto* jack = static_cast<JackMidiClient*>(self);
    // Against releaseQueues(): either it sees this period running, or this period sees it retired.
    jack->inPeriod.store(true);
    if (jack->retired.load()) {
        jack->inPeriod.store(false);
        return 0;
    }
    const std::int64_t now = steadyNanoseconds();
    const std::int64_t last = jack->lastPeriodAt.exchange(now, std::memory_order_acq_rel);
    // After a silence of the server what was queued before it is late: dropped, not sent in a burst.
    const bool late = double(now - last) * 1e-9 > jack->stallSeconds();
    const unsigned period = jack->periods.load(std::memory_order_relaxed);
    const int count = jack->outputCount.load(std::memory_order_acquire);
    for (int i = 0; i < count; ++i) {
        Output& output = jack->outputs[std::size_t(i)];
        jack_port_t* port = output.port.load(std::memory_order_acquire);
        if (port == nullptr)
            continue;  // not registered yet: what is queued waits
        void* buffer = jack_port_get_buffer(port, frames);
        jack_midi_clear_buffer(buffer);
        ByteRing& queue = *output.queue;
        const auto reach = Reach(output.reach.load(std::memory_order_acquire));
        if (late || goesNowhere(reach)) {
            queue.skip(queue.readSpace());
            continue;
        }
        if (reach == Reach::pending ||
            (reach == Reach::connected && int(period - output.holdUntil.load(std::memory_order_acquire)) < 0))
            continue;  // the connection is not live yet
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
    jack->periods.fetch_add(1, std::memory_order_release);
    jack->inPeriod.store(false);
    return 0;
}

// On libjack's notification thread: follows the connections of the destinations' ports, and those
// between our ports and other clients' ports.
void JackMidiClient::portConnected(jack_port_id_t a, jack_port_id_t b, int connect, void* self)
{
    auto* jack = static_cast<JackMidiClient*>(self);
    if (jack->serverGone())
        return;  // what the server says while it goes is not what the user made
    jack_port_t* first = jack_port_by_id(jack->client, a);
    jack_port_t* second = jack_port_by_id(jack->client, b);
    if (first == nullptr || second == nullptr)
        return;
    jack->noteChange();
    for (const auto& [from, to] : {std::pair(first, second), std::pair(second, first)}) {
        const int index = jack->outputIndexOf(from);
        if (index < 0)
            continue;
        Output& output = jack->outputs[std::size_t(index)];
        if (output.destination.empty() || jack->destinationName(output) != jack_port_name(to))
            continue;
        if (connect != 0) {
            // Made by us, or by the user (also after they removed it): live from a later period.
            const auto was = Reach(output.reach.load(std::memory_order_acquire));
            if (was != Reach::connected)
                output.holdUntil.store(jack->periods.load(std::memory_order_acquire) + holdPeriods,
                                       std::memory_order_release);
            output.reach.store(int(Reach::connected), std::memory_order_release);
        } else {
            output.wentAt.store(steadyNanoseconds(), std::memory_order_release);
            if (!jack->moveReach(output, Reach::connected, Reach::unsettled))
                jack->moveReach(output, Reach::pending, Reach::unsettled);
        }
    }
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

// On libjack's notification thread. A port that goes cannot be named any more (the server has let it
// go): the look that follows finds which destination went.
void JackMidiClient::portRegistered(jack_port_id_t id, int registered, void* self)
{
    auto* jack = static_cast<JackMidiClient*>(self);
    if (jack->serverGone())
        return;
    jack->noteChange();
    if (registered == 0)
        return;
    jack_port_t* port = jack_port_by_id(jack->client, id);
    if (port == nullptr || jack_port_is_mine(jack->client, port) != 0)
        return;
    if (const int instance = jack->instanceOf(jack_port_name(port)); instance > 0) {
        std::lock_guard lock(jack->instancesMutex);
        jack->othersInstances.insert(instance);
    }
}

// On libjack's notification thread: another instance of ours comes or goes, and a client that goes
// takes its ports with it.
void JackMidiClient::clientRegistered(const char* name, int registered, void* self)
{
    auto* jack = static_cast<JackMidiClient*>(self);
    if (jack->serverGone() || name == nullptr || jack->clientName == name)
        return;
    jack->noteChange();
    if (const int instance = jack->instanceOf(name); instance > 0) {
        std::lock_guard lock(jack->instancesMutex);
        if (registered != 0)
            jack->othersInstances.insert(instance);
        else
            jack->othersInstances.erase(instance);
    }
    if (registered != 0)
        return;
    const std::string prefix = std::string(name) + ':';
    const int count = jack->outputCount.load(std::memory_order_acquire);
    for (int i = 0; i < count; ++i) {
        Output& output = jack->outputs[std::size_t(i)];
        if (output.destination.compare(0, prefix.size(), prefix) != 0)
            continue;
        for (const Reach from : {Reach::connected, Reach::pending, Reach::unsettled})
            if (jack->moveReach(output, from, Reach::absent))
                break;
    }
}

int JackMidiClient::bufferSizeChanged(jack_nframes_t frames, void* self)
{
    auto* jack = static_cast<JackMidiClient*>(self);
    jack->period.store(jack->sampleRate > 0 ? double(frames) / jack->sampleRate : 0.0,
                       std::memory_order_relaxed);
    return 0;
}

void JackMidiClient::shutdown(void* self)
{
    auto* jack = static_cast<JackMidiClient*>(self);
    jack->gone.store(true, std::memory_order_release);
    jack->noteChange();
}

}  // namespace nupo
