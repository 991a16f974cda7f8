// The JACK server under our MIDI client dies and a new one starts: the loss is said, and our ports come
// back on the new server with messages flowing again, without a restart of MIDI. Runs on a JACK dummy
// server of its own (the shared test server must not be killed).
#include "MidiTestClient.h"

#include "midi/output/MidiOutput.h"
#include "platform/synth/SynthGraph.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <jack/jack.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace nupo {
namespace {

using test::MidiBytes;
using test::MidiTestClient;

// Liveness bound for a server to start or for the watch to notice; never a speed requirement.
constexpr auto liveness = std::chrono::seconds(30);

template <class Done>
bool waitUntil(Done done)
{
    const auto until = std::chrono::steady_clock::now() + liveness;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

void quiet(const char*) {}

// A JACK client of the test's own on the server (nullptr when none answers); exactName as given.
jack_client_t* openClient(const char* name)
{
    jack_set_error_function(quiet);
    jack_set_info_function(quiet);
    return jack_client_open(name, JackOptions(JackNoStartServer | JackUseExactName), nullptr);
}

QStringList jackPorts(jack_client_t* client)
{
    QStringList names;
    if (const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE, 0)) {
        for (const char** name = ports; *name != nullptr; ++name)
            names.append(QString::fromUtf8(*name));
        jack_free(ports);
    }
    return names;
}

// A jackd of the test's own, started with fork and exec (QProcess's way of starting a process does not
// run under ThreadSanitizer).
class JackServer {
public:
    explicit JackServer(QString name) : name(std::move(name)) {}
    ~JackServer() { stop(); }

    bool start()
    {
        const std::string server = name.toStdString();
        std::vector<std::string> arguments = {"jackd", "-n",    server, "--no-realtime", "-d", "dummy",
                                              "-r",    "48000", "-p",   "1024"};
        std::vector<std::string> environment;
        for (char** variable = environ; *variable != nullptr; ++variable)
            environment.emplace_back(*variable);
        environment.emplace_back("JACK_NO_AUDIO_RESERVATION=1");
        std::vector<char*> argv, envp;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        for (std::string& variable : environment)
            envp.push_back(variable.data());
        envp.push_back(nullptr);
        const int quiet = open("/dev/null", O_WRONLY);
        pid = fork();
        if (pid == 0) {
            dup2(quiet, STDOUT_FILENO);
            execvpe(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        close(quiet);
        if (pid < 0)
            return false;
        const bool answers = waitUntil([] {
            jack_client_t* probe = openClient("restart test probe");
            if (probe != nullptr)
                jack_client_close(probe);
            return probe != nullptr;
        });
        // A server of that name left running by an earlier run answers too, while ours gave up.
        if (waitpid(pid, nullptr, WNOHANG) != 0) {
            pid = -1;
            return false;
        }
        return answers;
    }
    // Dies as a crashed server does: no goodbye to its clients.
    void kill() { end(SIGKILL); }
    // A clean stop frees the server's entry in JACK's registry.
    void stop() { end(SIGTERM); }

private:
    void end(int signal)
    {
        if (pid <= 0)
            return;
        ::kill(pid, signal);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }

    QString name;
    pid_t pid = -1;
};

QString serverName()
{
    const QByteArray shared = qgetenv("NUPO_TEST_JACK_SERVER");
    return (shared.isEmpty() ? QStringLiteral("nupo-test") : QString::fromLocal8Bit(shared)) +
           QStringLiteral("-restart");
}

TEST(MidiServerRestartTest, PortsComeBackAndMessagesFlowOnANewServer)
{
    const QString name = serverName();
    qputenv("JACK_DEFAULT_SERVER", name.toLocal8Bit());
    SynthGraph::setAudioOutputEnabled(false);
    JackServer server(name);
    if (!server.start()) {
        if (test::jackRequired())
            FAIL() << "the JACK dummy server " << name.toStdString() << " did not start";
        GTEST_SKIP() << "jackd could not start a server";
    }
    std::mutex mutex;
    QStringList alerts;
    setMidiAlertHandler([&](const QString& message) {
        std::lock_guard lock(mutex);
        alerts.append(message);
    });
    // However the test ends, the watch stops before what the handler writes to goes.
    struct Ending {
        ~Ending()
        {
            disposeMidi();
            setMidiAlertHandler({});
        }
    } ending;

    // Another running instance of the program holds the first number: ours takes the next.
    jack_client_t* otherInstance = openClient("NUPO MIDI 1");
    ASSERT_NE(otherInstance, nullptr);
    auto sink = MidiTestClient::destination(QStringLiteral("restart sink"));
    mainMidi();
    EXPECT_EQ(midiClientName(), QStringLiteral("NUPO MIDI 2"));
    QStringList ports = jackPorts(otherInstance);
    EXPECT_TRUE(ports.contains(QStringLiteral("NUPO MIDI 2:NUPO"))) << ports.join(", ").toStdString();
    EXPECT_TRUE(ports.contains(QStringLiteral("NUPO MIDI 2:from NUPO"))) << ports.join(", ").toStdString();
    const QStringList names = listMidiDestinations();
    const auto found = std::find_if(names.begin(), names.end(), [](const QString& n) {
        return n.endsWith(QStringLiteral(":restart sink"));
    });
    ASSERT_NE(found, names.end()) << names.join(", ").toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("NUPO")));  // our own destination, by its port name
    const int sinkPort = int(found - names.begin());
    auto probeWith = [&](MidiTestClient& client, int first) {
        return client.primeWith([&](int attempt) {
            const int value = (first + attempt) % 128;
            MidiControlChange(118, value, 0, 0, sinkPort, 0);
            return MidiBytes{0xB0, 118, static_cast<unsigned char>(value)};
        });
    };
    ASSERT_TRUE(probeWith(*sink, 0)) << "nothing reaches the sink";

    server.kill();
    ASSERT_TRUE(waitUntil([] { return midiServerLost(); })) << "the loss is not noticed";
    {
        std::lock_guard lock(mutex);
        ASSERT_EQ(alerts.size(), 1);
        EXPECT_TRUE(alerts[0].contains(QStringLiteral("JACK server has gone"))) << alerts[0].toStdString();
    }
    MidiOutOn(60, 100, 0, 0, sinkPort, 0);  // while there is no server: nothing, at once
    // The test program's clients died with the server; libjack cannot close them now: they stay, held
    // where nothing destroys them.
    static auto* deadClients = new std::vector<std::unique_ptr<MidiTestClient>>;
    deadClients->push_back(std::move(sink));

    ASSERT_TRUE(server.start());
    ASSERT_TRUE(waitUntil([] { return !midiServerLost(); })) << "no new connection";
    jack_client_t* look = openClient("restart test look");
    ASSERT_NE(look, nullptr);
    ports = jackPorts(look);
    EXPECT_TRUE(ports.contains(QStringLiteral("NUPO MIDI 1:NUPO"))) << ports.join(", ").toStdString();
    EXPECT_TRUE(ports.contains(QStringLiteral("NUPO MIDI 1:from NUPO"))) << ports.join(", ").toStdString();

    // The same destination on the new server gets the messages sent to its index in the table.
    auto newSink = MidiTestClient::destination(QStringLiteral("restart sink"));
    ASSERT_TRUE(probeWith(*newSink, 50)) << "nothing reaches the sink on the new server";
    newSink->clear();
    MidiOutOn(61, 101, 0, 2, sinkPort, 0);
    MidiControlChange(119, 77, 0, 0, sinkPort, 0);
    EXPECT_EQ(newSink->messagesBefore({0xB0, 119, 77}), (std::vector<MidiBytes>{{0x92, 61, 101}}));
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(alerts.size(), 1);
    }
    jack_client_close(look);
    newSink->closeClient();
    // Our client goes with its server at the end, as every client of the test does.
    server.stop();
    ASSERT_TRUE(waitUntil([] { return midiServerLost(); }));
}

}  // namespace
}  // namespace nupo
