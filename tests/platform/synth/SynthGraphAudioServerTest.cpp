// The sound server under the built-in synthesiser is missing at first, then starts, dies and starts
// again: the synthesiser goes to each new server by itself and says it is silent while there is none.
// Runs on a PulseAudio server of its own (null sink), reached through PULSE_SERVER.
#include "platform/synth/SynthGraph.h"
#include "support/JackTestServer.h"
#include "support/PulseTestServer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace nupo {
namespace {

using test::waitUntil;

TEST(SynthGraphAudioServer, OutputComesBackWhenTheServerReturnsAndIsClosedWhenItDies)
{
    if (const QString why = test::PulseServer::unavailableReason(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/nupo-synth-XXXXXX"));
    ASSERT_TRUE(folder.isValid());
    test::PulseServer server(folder.path());
    server.useOnlyThis();

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
