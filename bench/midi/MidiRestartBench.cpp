// Notes per minute at a listening program before and after two restarts of the JACK server. Not a
// Google benchmark: it starts a JACK dummy server of its own, MIDI on it, and a listener (a JACK client
// counting note-ons at its port "in"), then sends as a mapper does: a batch every 0.1 s of one note-off
// and note-on per setup to the listener, and the same to our own destination "NUPO". The server is
// stopped twice (a clean stop, then killed), left down for a while, and started again; the listener
// comes back under its name. Each phase is counted from the first note heard on the new server. With
// "synth" the notes to our own destination play on the built-in synthesiser too (as the peak mapper's
// do), whose audio output is on whatever audio server answers (here, the JACK server).
//
//     bench_midi_restart [phase seconds = 60] [seconds down = 20] [setups = 8] [synth]
#include "../../tests/midi/JackNoteCounter.h"
#include "../../tests/support/JackTestServer.h"

#include "midi/output/MidiOutput.h"
#include "platform/synth/SynthGraph.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace nupo {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Sends a batch every 0.1 s; measures how far apart the batches start.
class Sender {
public:
    Sender(int setups, int useSynth) : setups(setups), useSynth(useSynth) {}
    ~Sender() { stop(); }

    void start(int listenerPort, int ownPort)
    {
        running = true;
        thread = std::thread([=, this] {
            int pass = 0;
            auto next = Clock::now();
            auto last = Clock::now();
            while (running) {
                const auto now = Clock::now();
                {
                    std::lock_guard lock(mutex);
                    gapSum += std::chrono::duration<double>(now - last).count();
                    ++batches;
                }
                last = now;
                ++pass;
                for (int s = 0; s < setups; ++s) {
                    const int note = 36 + (pass * 7 + s * 5) % 60;
                    MidiOutOffOn(note, 100, s, s % 16, listenerPort, 0, 0);
                    MidiOutOffOn(note, 100, s, s % 16, ownPort, 0, useSynth);
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
    // Mean gap between batch starts since the last call, in seconds.
    double takeMeanGap()
    {
        std::lock_guard lock(mutex);
        const double mean = batches > 0 ? gapSum / batches : 0.0;
        gapSum = 0.0;
        batches = 0;
        return mean;
    }

private:
    int setups;
    int useSynth;
    std::atomic<bool> running{false};
    std::thread thread;
    std::mutex mutex;
    double gapSum = 0.0;
    int batches = 0;
};

bool waitFor(const std::function<bool()>& done)
{
    return test::waitUntil(done);
}

void measurePhase(const char* title, test::JackNoteCounter* listener, Sender& sender, double seconds)
{
    // From the first note heard: the route is up.
    const auto heardAt = listener->noteOns();
    if (!waitFor([&] { return listener->noteOns() > heardAt; })) {
        std::printf("%-26s no note reached the listener\n", title);
        return;
    }
    sender.takeMeanGap();
    const auto notes = listener->noteOns();
    const auto xruns = listener->xruns();
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double elapsed = secondsSince(start);
    const auto counted = listener->noteOns() - notes;
    std::printf("%-26s %8llu note-ons in %6.1f s: %7.1f a minute; batches %.3f s apart; xruns %llu\n", title,
                (unsigned long long)counted, elapsed, counted * 60.0 / elapsed, sender.takeMeanGap(),
                (unsigned long long)(listener->xruns() - xruns));
    std::printf("%-26s client \"%s\"\n", "", midiClientName().toLocal8Bit().constData());
    std::fflush(stdout);
}

}  // namespace
}  // namespace nupo

int main(int argc, char** argv)
{
    using namespace nupo;
    QCoreApplication app(argc, argv);
    const double phaseSeconds = argc > 1 ? std::atof(argv[1]) : 60.0;
    const double downSeconds = argc > 2 ? std::atof(argv[2]) : 20.0;
    const int setups = argc > 3 ? std::atoi(argv[3]) : 8;
    const bool synth = argc > 4 && std::string(argv[4]) == "synth";
    const QString name = test::ownJackServerName(QStringLiteral("-bench-restart"));
    qputenv("JACK_DEFAULT_SERVER", name.toLocal8Bit());
    SynthGraph::setAudioOutputEnabled(synth);
    test::JackServer server(name);
    if (!server.start()) {
        std::printf("jackd could not start a server\n");
        return 1;
    }
    const char* listenerName = "bench listener";
    test::JackNoteCounter* listener = test::JackNoteCounter::open(listenerName);
    if (listener == nullptr)
        return 1;
    mainMidi();
    const QStringList names = listMidiDestinations();
    const int listenerPort = int(names.indexOf(QString::fromUtf8(listener->portName())));
    const int ownPort = int(names.indexOf(QStringLiteral("NUPO")));
    if (listenerPort < 0 || ownPort < 0) {
        std::printf("the listener or our own destination is not listed: %s\n",
                    names.join(QStringLiteral(", ")).toLocal8Bit().constData());
        return 1;
    }
    std::printf("%d setups, a batch every 0.1 s, %.0f s a phase, the server down %.0f s each time%s\n",
                setups, phaseSeconds, downSeconds, synth ? ", our own notes on the synthesiser" : "");
    Sender sender(setups, synth ? 1 : 0);
    sender.start(listenerPort, ownPort);
    measurePhase("before", listener, sender, phaseSeconds);
    for (int restart = 1; restart <= 2; ++restart) {
        if (restart == 1)
            server.stop();
        else
            server.kill();
        waitFor([] { return midiServerLost(); });
        std::printf("(the server is %s)\n", restart == 1 ? "stopped" : "killed");
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::duration<double>(downSeconds));
        std::printf("(the server starts again)\n");
        std::fflush(stdout);
        if (!server.start()) {
            std::printf("the server did not start again\n");
            return 1;
        }
        listener = test::JackNoteCounter::open(listenerName);
        if (listener == nullptr) {
            std::printf("the listener could not come back\n");
            return 1;
        }
        measurePhase(restart == 1 ? "after the first restart" : "after the second restart", listener, sender,
                     phaseSeconds);
    }
    sender.stop();
    disposeMidi();
    server.stop();
    return 0;
}
