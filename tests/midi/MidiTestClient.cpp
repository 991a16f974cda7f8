#include "MidiTestClient.h"

#include "midi/output/MidiOutput.h"

#include <QByteArray>
#include <QtGlobal>

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace nupo::test {

namespace {

// Liveness bound for messages travelling through the JACK server; never a speed requirement.
constexpr auto deliveryBound = std::chrono::seconds(20);

void quiet(const char*) {}

bool serverAnswers()
{
    jack_set_error_function(quiet);
    jack_set_info_function(quiet);
    jack_client_t* client = jack_client_open("nupo test probe", JackNoStartServer, nullptr);
    if (client == nullptr)
        return false;
    jack_client_close(client);
    return true;
}

}  // namespace

// Only one test process at a time talks to the server; the lock is released when the process ends.
void lockServerForThisProcess()
{
    static const int fd = [] {
        const char* server = std::getenv("JACK_DEFAULT_SERVER");
        const std::string path =
            std::string("/tmp/nupo-midi-tests-") + (server ? server : "default") + ".lock";
        const int file = open(path.c_str(), O_RDWR | O_CREAT, 0666);
        if (file >= 0)
            flock(file, LOCK_EX);  // released when the process ends
        return file;
    }();
    (void)fd;
}

bool jackServerReachable()
{
    // The server meant for the MIDI tests (scripts/test.sh names it); other tests stay off it.
    if (const QByteArray server = qgetenv("NUPO_TEST_JACK_SERVER"); !server.isEmpty())
        qputenv("JACK_DEFAULT_SERVER", server);
    lockServerForThisProcess();
    if (serverAnswers())
        return true;
    if (!jackRequired())
        return false;
    // The server was started just before the tests; give it time to come up.
    const auto until = std::chrono::steady_clock::now() + deliveryBound;
    while (std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (serverAnswers())
            return true;
    }
    return false;
}

namespace {

// Backend objects and inboxes of every client made, reachable to the process end.
template <class T>
struct Kept {
    std::mutex mutex;
    std::vector<std::unique_ptr<T>> objects;
};

template <class T>
Kept<T>& kept()
{
    static auto* all = new Kept<T>;
    return *all;
}

template <class T>
T* keptToTheEnd(T* made)
{
    Kept<T>& all = kept<T>();
    std::lock_guard lock(all.mutex);
    all.objects.emplace_back(made);
    return made;
}

}  // namespace

MidiTestClient::MidiTestClient()
    : inbox(keptToTheEnd(new Inbox)), in(keptToTheEnd(new RtMidiIn(RtMidi::UNIX_JACK, "midi test")))
{
    in->ignoreTypes(false, false, false);
    in->setCallback(&MidiTestClient::received, inbox);
}

MidiTestClient::~MidiTestClient()
{
    if (in != nullptr)
        in->closePort();
}

void MidiTestClient::closeClient()
{
    // Closing ends the backend's library threads; nothing arrives any more.
    Kept<RtMidiIn>& all = kept<RtMidiIn>();
    std::lock_guard lock(all.mutex);
    for (auto& object : all.objects)
        if (object.get() == in)
            object.reset();
    in = nullptr;
}

std::unique_ptr<MidiTestClient> MidiTestClient::destination(const QString& portName)
{
    std::unique_ptr<MidiTestClient> client(new MidiTestClient);
    client->in->openVirtualPort(portName.toStdString());
    return client;
}

std::unique_ptr<MidiTestClient> MidiTestClient::listenTo(const QString& sourceName)
{
    std::unique_ptr<MidiTestClient> client(new MidiTestClient);
    const std::string wanted = sourceName.toStdString();
    for (unsigned int i = 0; i < client->in->getPortCount(); ++i) {
        if (client->in->getPortName(i).find(wanted) != std::string::npos) {
            // The connection takes effect from a later JACK period: prime the client before counting.
            client->in->openPort(i, "listener");
            return client;
        }
    }
    return nullptr;
}

void MidiTestClient::received(double, std::vector<unsigned char>* message, void* to)
{
    auto* inbox = static_cast<Inbox*>(to);
    {
        std::lock_guard lock(inbox->mutex);
        const auto& probes = inbox->probes;
        const bool lateProbe =
            inbox->primed && std::find(probes.begin(), probes.end(), *message) != probes.end();
        if (!lateProbe)
            inbox->collected.push_back(*message);
    }
    inbox->arrived.notify_all();
}

std::vector<MidiBytes> MidiTestClient::waitForMessages(std::size_t count)
{
    std::unique_lock lock(inbox->mutex);
    inbox->arrived.wait_for(lock, deliveryBound, [&] { return inbox->collected.size() >= count; });
    return inbox->collected;
}

std::vector<MidiBytes> MidiTestClient::messagesBefore(const MidiBytes& marker)
{
    std::unique_lock lock(inbox->mutex);
    auto& collected = inbox->collected;
    auto hasMarker = [&] { return std::find(collected.begin(), collected.end(), marker) != collected.end(); };
    inbox->arrived.wait_for(lock, deliveryBound, hasMarker);
    auto at = std::find(collected.begin(), collected.end(), marker);
    return std::vector<MidiBytes>(collected.begin(), at);
}

bool MidiTestClient::primeWith(const std::function<MidiBytes(int attempt)>& sendProbe)
{
    const auto until = std::chrono::steady_clock::now() + deliveryBound;
    for (int attempt = 0; std::chrono::steady_clock::now() < until; ++attempt) {
        const MidiBytes probe = sendProbe(attempt);
        std::unique_lock lock(inbox->mutex);
        auto& collected = inbox->collected;
        inbox->probes.push_back(probe);
        const bool arrivedNow = inbox->arrived.wait_for(lock, std::chrono::seconds(1), [&] {
            return std::find(collected.begin(), collected.end(), probe) != collected.end();
        });
        collected.clear();
        if (arrivedNow) {
            inbox->primed = true;
            return true;
        }
    }
    return false;
}

bool MidiTestClient::primeThroughPort(int port)
{
    return primeWith([port](int attempt) {
        const int value = attempt % 128;
        MidiControlChange(118, value, 0, 0, port, 0);
        return MidiBytes{0xB0, 118, static_cast<unsigned char>(value)};
    });
}

std::vector<MidiBytes> MidiTestClient::messages()
{
    std::lock_guard lock(inbox->mutex);
    return inbox->collected;
}

void MidiTestClient::clear()
{
    std::lock_guard lock(inbox->mutex);
    inbox->collected.clear();
}

}  // namespace nupo::test
