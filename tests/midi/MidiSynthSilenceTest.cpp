// The built-in synthesiser without a sound server says so once, says nothing more while it stays
// silent, and says it again when a server it was heard on goes away. Runs on a PulseAudio server of
// its own (null sink).
#include "midi/output/MidiOutput.h"
#include "midi/output/MidiSynth.h"
#include "platform/synth/SynthGraph.h"
#include "support/JackTestServer.h"
#include "support/PulseTestServer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <mutex>

namespace nupo {
namespace {

using test::waitUntil;

bool synthSilent()
{
    bool silent = false;
    withMidiSynth([&](SynthGraph* graph) { silent = graph != nullptr && graph->isSilent(); });
    return silent;
}

TEST(MidiSynthSilence, NoAudioIsToldOnceUntilTheSynthesiserIsHeardAgain)
{
    if (const QString why = test::PulseServer::unavailableReason(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/nupo-midisynth-XXXXXX"));
    ASSERT_TRUE(folder.isValid());
    test::PulseServer server(folder.path());
    server.useOnlyThis();

    std::mutex mutex;
    QStringList told;
    setMidiAlertHandler([&](const QString& message, const QString&) {
        std::lock_guard lock(mutex);
        told << message;
    });
    const auto toldCount = [&] {
        std::lock_guard lock(mutex);
        return int(std::count_if(told.begin(), told.end(), [](const QString& message) {
            return message.contains("nothing is heard");
        }));
    };
    testing::internal::CaptureStdout();
    SynthGraph::setAudioOutputEnabled(true);
    AUMIDIsetInit();
    AUMIDIsetOn(0, 0);
    bool made = false;
    withMidiSynth([&](SynthGraph* graph) { made = graph != nullptr && graph->isInitialized(); });
    if (!made) {
        testing::internal::GetCapturedStdout();
        setMidiAlertHandler({});
        GTEST_SKIP() << "no General MIDI soundfont";
    }

    // No server: told at the first note, not at the next ones.
    ASSERT_TRUE(synthSilent());
    WriteVNoteAUMidi(0, 0, 60, 100);
    WriteVNoteAUMidi(0, 0, 62, 100);
    EXPECT_EQ(toldCount(), 1);

    // Heard on a server that starts: nothing to tell.
    ASSERT_TRUE(server.start()) << "pulseaudio did not start";
    ASSERT_TRUE(waitUntil([] { return !synthSilent(); }));
    WriteVNoteAUMidi(0, 0, 64, 100);
    EXPECT_EQ(toldCount(), 1);

    // The server dies: silent again, and told again, once.
    server.kill();
    ASSERT_TRUE(waitUntil([] { return synthSilent(); }));
    WriteVNoteAUMidi(0, 0, 65, 100);
    WriteVNoteAUMidi(0, 0, 67, 100);
    EXPECT_EQ(toldCount(), 2);

    AUMIDIsetOff();
    setMidiAlertHandler({});
    testing::internal::GetCapturedStdout();
}

}  // namespace
}  // namespace nupo
