// The sound server under the built-in synthesiser is missing at first, then starts, dies and starts
// again: the synthesiser goes to each new server by itself and says it is silent while there is none.
// Runs on a PulseAudio server of its own (null sink), reached through PULSE_SERVER.
#include "platform/synth/SynthGraph.h"
#include "support/JackTestServer.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <pulse/pulseaudio.h>

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

    // Starts the server and waits until it has a sink.
    bool start()
    {
        const std::string dir = folder.toStdString();
        pid = test::startQuietProcess(
            {"pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "--use-pid-file=no",
             "--system=no", "-n", "--log-target=file:" + dir + "/log", "--load=module-null-sink",
             "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket().toStdString()},
            {"HOME=" + dir, "PULSE_RUNTIME_PATH=" + dir, "XDG_RUNTIME_DIR=" + dir, "XDG_CONFIG_HOME=" + dir});
        return pid > 0 && waitUntil([this] { return streamCount() >= 0; });
    }

    // Dies as a crashed server does: no goodbye to its clients, its socket left behind.
    void kill() { test::endProcess(pid, SIGKILL); }

    // The playback streams on the server, or -1 when it does not answer.
    int streamCount() const
    {
        pa_mainloop* loop = pa_mainloop_new();
        pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "synth test look");
        int count = -1;
        const QByteArray server = "unix:" + QFile::encodeName(socket());
        if (pa_context_connect(context, server.constData(), PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
            pa_operation* listing = nullptr;
            int streams = 0;
            for (;;) {
                const pa_context_state_t state = pa_context_get_state(context);
                if (!PA_CONTEXT_IS_GOOD(state))
                    break;
                if (state == PA_CONTEXT_READY && listing == nullptr)
                    listing = pa_context_get_sink_input_info_list(
                        context,
                        [](pa_context*, const pa_sink_input_info* info, int last, void* found) {
                            if (last == 0 && info != nullptr)
                                ++*static_cast<int*>(found);
                        },
                        &streams);
                if (listing != nullptr && pa_operation_get_state(listing) == PA_OPERATION_DONE) {
                    count = streams;
                    break;
                }
                if (pa_mainloop_iterate(loop, 1, nullptr) < 0)
                    break;
            }
            if (listing != nullptr)
                pa_operation_unref(listing);
            pa_context_disconnect(context);
        }
        pa_context_unref(context);
        pa_mainloop_free(loop);
        return count;
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
    ASSERT_TRUE(waitUntil([&] { return server.streamCount() == 1; }));

    // The server dies: the dead output is closed.
    server.kill();
    ASSERT_TRUE(waitUntil([&] { return synth.isSilent(); }));
    EXPECT_TRUE(synth.isRunning());

    // A new server: the synthesiser is heard there, once.
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(waitUntil([&] { return !synth.isSilent(); }));
    ASSERT_TRUE(waitUntil([&] { return server.streamCount() == 1; }));

    // Stopped, it leaves the server and tries no more.
    synth.stop();
    EXPECT_FALSE(synth.isSilent());
    ASSERT_TRUE(waitUntil([&] { return server.streamCount() == 0; }));
}

}  // namespace
}  // namespace nupo
