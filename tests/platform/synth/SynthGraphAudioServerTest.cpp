// The sound server under the built-in synthesiser is missing at first, then starts, dies and starts
// again: the synthesiser goes to each new server by itself and says it is silent while there is none.
// Runs on a PulseAudio server of its own (null sink), reached through PULSE_SERVER.
#include "platform/synth/SynthGraph.h"
#include "support/JackTestServer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <signal.h>

namespace nupo {
namespace {

using test::waitUntil;

// A pulseaudio of the test's own with a null sink, its socket and state in a folder of its own.
class PulseServer {
public:
    explicit PulseServer(QString folder) : folder(std::move(folder)) {}
    ~PulseServer() { test::endProcess(pid, SIGTERM); }
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    QString socket() const { return folder + QStringLiteral("/native"); }

    // Starts the server and waits until it answers.
    bool start()
    {
        const std::string dir = folder.toStdString();
        pid = test::startQuietProcess(
            {"pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "--use-pid-file=no",
             "--system=no", "-n", "--log-target=file:" + dir + "/log", "--load=module-null-sink",
             "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket().toStdString()},
            {"HOME=" + dir, "PULSE_RUNTIME_PATH=" + dir, "XDG_RUNTIME_DIR=" + dir, "XDG_CONFIG_HOME=" + dir});
        return pid > 0 && waitUntil([this] {
                   return test::runQuietProcess(
                              {"pactl", "--server=unix:" + socket().toStdString(), "info"}) == 0;
               });
    }

    // Dies as a crashed server does: no goodbye to its clients, its socket left behind.
    void kill() { test::endProcess(pid, SIGKILL); }

    // Whether the server answers and has `count` playback streams. Asked by pactl, out of this process:
    // libpulse's threads share lock-free lists that ThreadSanitizer cannot follow.
    bool hasStreams(int count) const
    {
        const std::string script =
            "out=$(pactl --server=unix:" + socket().toStdString() +
            " list short sink-inputs) && test \"$(printf '%s' \"$out\" | grep -c .)\" -eq " +
            std::to_string(count);
        return test::runQuietProcess({"sh", "-c", script}) == 0;
    }

private:
    QString folder;
    pid_t pid = -1;
};

TEST(SynthGraphAudioServer, OutputComesBackWhenTheServerReturnsAndIsClosedWhenItDies)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty())
        GTEST_SKIP() << "pulseaudio is not installed";
    if (!QDir(QStringLiteral("/dev/snd")).entryList({QStringLiteral("pcmC*D*p")}, QDir::System).isEmpty())
        GTEST_SKIP() << "this machine has a sound card, which the synthesiser plays on without a server";
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/nupo-synth-XXXXXX"));
    ASSERT_TRUE(folder.isValid());
    // Only our server: none of the desktop's sound servers.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder.filePath(QStringLiteral("none"))));
    qunsetenv("PIPEWIRE_RUNTIME_DIR");
    PulseServer server(folder.path());
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(server.socket()));

    SynthGraph::setAudioOutputEnabled(true);
    SynthGraph synth;
    if (!synth.initialize())
        GTEST_SKIP() << "no General MIDI soundfont";

    // No server yet: the synthesiser plays, silently.
    ASSERT_TRUE(synth.start());
    EXPECT_TRUE(synth.isSilent());
    EXPECT_TRUE(synth.midiEvent(0x90, 60, 100));

    // The server starts: the synthesiser plays on it without being started again.
    ASSERT_TRUE(server.start()) << "pulseaudio did not start";
    ASSERT_TRUE(waitUntil([&] { return !synth.isSilent(); }));
    ASSERT_TRUE(waitUntil([&] { return server.hasStreams(1); }));

    // The server dies: the dead output is closed.
    server.kill();
    ASSERT_TRUE(waitUntil([&] { return synth.isSilent(); }));
    EXPECT_TRUE(synth.isRunning());

    // A new server: the synthesiser is heard there, once.
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(waitUntil([&] { return !synth.isSilent(); }));
    ASSERT_TRUE(waitUntil([&] { return server.hasStreams(1); }));

    // Stopped, it leaves the server and tries no more.
    synth.stop();
    EXPECT_FALSE(synth.isSilent());
    ASSERT_TRUE(waitUntil([&] { return server.hasStreams(0); }));
}

}  // namespace
}  // namespace nupo
