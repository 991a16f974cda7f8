// Memory over restarts of the JACK server, and how soon a listening program that restarts hears our
// notes again. Not a Google benchmark: it starts a JACK dummy server of its own, MIDI on it, and a
// listener in a process of its own (the tests' midi_instance program: a JACK client counting note-ons at
// its port "in"), then sends as a mapper does: a batch every 0.1 s of one note-off and note-on per setup
// to the listener, and the same to our own destination "NUPO".
//
// First the server is restarted N + 2 times (a clean stop and a kill in turn; the listener starts again
// with each new server), and our resident memory is compared from after the second restart to after the
// last: over N restarts. Then the listener alone is restarted M times (it quits, then it is killed, in turn),
// and the time from its port's return to the first note it hears is measured.
//
//     bench_midi_restart [server restarts N = 50] [listener restarts M = 10] [setups = 8]
//
// The last line: "rss growth over N restarts: M MiB; first note after a listener restart: S s" (S the
// longest of the M; "never" when a listener heard nothing within 30 s).
#include "../../tests/midi/ListenerProcess.h"
#include "../../tests/support/JackTestServer.h"

#include "midi/output/MidiOutput.h"
#include "platform/synth/SynthGraph.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <jack/jack.h>

#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace nupo {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* listenerName = "bench listener";

// Sends a batch every 0.1 s to two destinations, by index in the destination table.
class Sender {
public:
    explicit Sender(int setups) : setups(setups) {}
    ~Sender() { stop(); }

    void start(int listenerPort, int ownPort)
    {
        running = true;
        thread = std::thread([=, this] {
            int pass = 0;
            auto next = Clock::now();
            while (running) {
                ++pass;
                for (int s = 0; s < setups; ++s) {
                    const int note = 36 + (pass * 7 + s * 5) % 60;
                    MidiOutOffOn(note, 100, s, s % 16, listenerPort, 0, 0);
                    MidiOutOffOn(note, 100, s, s % 16, ownPort, 0, 0);
                }
                next += std::chrono::milliseconds(100);
                std::this_thread::sleep_until(std::max(next, Clock::now()));
            }
        });
    }
    void stop()
    {
        running = false;
        if (thread.joinable())
            thread.join();
    }

private:
    int setups;
    std::atomic<bool> running{false};
    std::thread thread;
};

// A client of the bench's own that is told when the listener's port comes (to time from its return).
struct Look {
    jack_client_t* client = nullptr;
    std::atomic<Clock::rep> listenerCameAt{0};

    static void portRegistered(jack_port_id_t id, int registered, void* self)
    {
        auto* look = static_cast<Look*>(self);
        jack_port_t* port = jack_port_by_id(look->client, id);
        if (registered != 0 && port != nullptr &&
            std::strcmp(jack_port_name(port), (std::string(listenerName) + ":in").c_str()) == 0)
            look->listenerCameAt.store(Clock::now().time_since_epoch().count());
    }
    bool open()
    {
        client = test::openJackClient("bench look");
        return client != nullptr &&
               jack_set_port_registration_callback(client, &Look::portRegistered, this) == 0 &&
               jack_activate(client) == 0;
    }
};

// Polls fn every millisecond until it holds or 30 s pass.
bool pollUntil(const std::function<bool()>& fn)
{
    const auto until = Clock::now() + std::chrono::seconds(30);
    while (!fn()) {
        if (Clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace
}  // namespace nupo

int main(int argc, char** argv)
{
    using namespace nupo;
    QCoreApplication app(argc, argv);
    const int measured = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    const int restarts = measured + 2;
    const int listenerRestarts = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    const int setups = argc > 3 ? std::atoi(argv[3]) : 8;
    const QString name = test::ownJackServerName(QStringLiteral("-bench-restart"));
    qputenv("JACK_DEFAULT_SERVER", name.toLocal8Bit());
    SynthGraph::setAudioOutputEnabled(false);
    test::JackServer server(name);
    if (!server.start()) {
        std::printf("jackd could not start a server\n");
        return 1;
    }
    QTemporaryDir folder;
    test::Listener listener(QStringLiteral(NUPO_MIDI_INSTANCE), folder.filePath(QStringLiteral("notes")),
                            QString::fromUtf8(listenerName));
    auto* look = new Look;  // kept to the end: a client of a server that died cannot be closed
    if (!look->open() || !listener.start(look->client)) {
        std::printf("the listener could not start\n");
        return 1;
    }
    mainMidi();
    const QStringList names = listMidiDestinations();
    const int listenerPort = int(names.indexOf(QString::fromUtf8(listener.portName())));
    const int ownPort = int(names.indexOf(QStringLiteral("NUPO")));
    if (listenerPort < 0 || ownPort < 0) {
        std::printf("the listener or our own destination is not listed: %s\n",
                    names.join(QStringLiteral(", ")).toLocal8Bit().constData());
        return 1;
    }
    std::printf("%d setups, a batch every 0.1 s to the listener and to our own destination\n", setups);
    Sender sender(setups);
    sender.start(listenerPort, ownPort);
    if (!pollUntil([&] { return listener.notes() > 0; })) {
        std::printf("no note reached the listener\n");
        return 1;
    }

    double startMiB = 0.0;
    int startThreads = 0, startFiles = 0;
    for (int restart = 1; restart <= restarts; ++restart) {
        if (restart % 2 == 1)
            server.stop();
        else
            server.kill();
        test::waitUntil([] { return midiServerLost(); });
        if (!server.start()) {
            std::printf("the server did not start again\n");
            return 1;
        }
        look = new Look;
        if (!look->open() || !listener.start(look->client)) {
            std::printf("the listener could not come back\n");
            return 1;
        }
        if (!pollUntil([&] { return !midiServerLost() && listener.notes() > 0; })) {
            std::printf("restart %d: no note reached the listener\n", restart);
            return 1;
        }
        if (restart == 2) {
            startMiB = test::residentMiB();
            startThreads = test::threadCount();
            startFiles = test::openFileCount();
        }
        if (restart % 10 == 0 || restart == 2) {
            std::printf("after restart %3d: rss %.1f MiB, %d threads, %d open files, client \"%s\"\n",
                        restart, test::residentMiB(), test::threadCount(), test::openFileCount(),
                        midiClientName().toLocal8Bit().constData());
            std::fflush(stdout);
        }
    }
    const double growth = test::residentMiB() - startMiB;
    std::printf("from restart 2 to %d: rss %+.2f MiB, threads %+d, open files %+d\n", restarts, growth,
                test::threadCount() - startThreads, test::openFileCount() - startFiles);

    std::vector<double> firstNotes;
    bool heardEveryTime = true;
    for (int restart = 1; restart <= listenerRestarts; ++restart) {
        const bool crash = restart % 2 == 0;
        crash ? listener.kill() : listener.end();
        look->listenerCameAt.store(0);
        if (!listener.start(look->client)) {
            std::printf("the listener could not start again\n");
            return 1;
        }
        const bool heard = pollUntil([&] { return listener.notes() > 0; });
        const auto heardAt = Clock::now();
        const Clock::time_point cameAt{Clock::duration{look->listenerCameAt.load()}};
        const double seconds = std::chrono::duration<double>(heardAt - cameAt).count();
        if (heard)
            firstNotes.push_back(seconds);
        heardEveryTime = heardEveryTime && heard;
        if (heard)
            std::printf("listener %s (%d): %.3f s to its first note\n", crash ? "killed" : "quit", restart,
                        seconds);
        else
            std::printf("listener %s (%d): no note within 30 s\n", crash ? "killed" : "quit", restart);
        std::fflush(stdout);
    }
    sender.stop();
    server.stop();
    disposeMidi();
    std::sort(firstNotes.begin(), firstNotes.end());
    if (!firstNotes.empty())
        std::printf("first note after a listener restart: median %.3f s, longest %.3f s\n",
                    firstNotes[firstNotes.size() / 2], firstNotes.back());
    char longest[64] = "never (none within 30 s)";
    if (heardEveryTime && !firstNotes.empty())
        std::snprintf(longest, sizeof longest, "%.3f s", firstNotes.back());
    std::printf("rss growth over %d restarts: %.2f MiB; first note after a listener restart: %s\n", measured,
                growth, longest);
    return 0;
}
