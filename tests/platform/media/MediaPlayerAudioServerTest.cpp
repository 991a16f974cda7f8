// The audio server under a playing sound is missing at first, then starts, dies and starts again: the
// sound plays on throughout (silently while there is no server) and is heard again on each new server,
// without opening it anew. Runs on a JACK dummy server of its own (the shared test server must not die).
#include "platform/media/MediaPlayer.h"
#include "support/JackTestServer.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <QDir>

#include <jack/jack.h>

namespace nupo {
namespace {

using test::JackServer;
using test::waitUntil;

// Whether a JACK client named NUPO4 (the player) has audio ports on the server.
bool playerOnServer()
{
    jack_client_t* look = test::openJackClient("audio test look");
    if (look == nullptr)
        return false;
    bool found = false;
    if (const char** ports = jack_get_ports(look, "^NUPO4:", JACK_DEFAULT_AUDIO_TYPE, 0)) {
        found = ports[0] != nullptr;
        jack_free(ports);
    }
    jack_client_close(look);
    return found;
}

// Whether playback moves on by `seconds` from where it is now.
bool playsOn(const MediaPlayer& player, double seconds)
{
    const double from = player.currentTime();
    return waitUntil([&] { return player.currentTime() > from + seconds; });
}

TEST(MediaPlayerAudioServer, SoundPlaysOnWhileTheServerIsGoneAndIsHeardAgainWhenItReturns)
{
    const QString name = test::ownJackServerName(QStringLiteral("-audio"));
    qputenv("JACK_DEFAULT_SERVER", name.toLocal8Bit());
    // Only our server: none of the desktop's sound servers, and no sound card.
    qputenv("XDG_RUNTIME_DIR", QDir::tempPath().toLocal8Bit() + "/nupo-no-runtime");
    qunsetenv("PULSE_SERVER");
    if (!QDir(QStringLiteral("/dev/snd")).entryList({QStringLiteral("pcmC*D*p")}, QDir::System).isEmpty())
        GTEST_SKIP() << "this machine has a sound card, which plays whatever the server does";
    JackServer server(name);

    // No server yet: the sound plays, silently.
    MediaPlayer player;
    ASSERT_TRUE(player.open(test::writeTone("server.wav", 600.0)));
    player.play();
    ASSERT_TRUE(playsOn(player, 0.3));
    EXPECT_EQ(player.audioOutput(), MediaPlayer::AudioOutput::Silent);

    // The server starts: the sound goes to it.
    if (!server.start()) {
        if (test::jackRequired())
            FAIL() << "the JACK dummy server " << name.toStdString() << " did not start";
        GTEST_SKIP() << "jackd could not start a server";
    }
    ASSERT_TRUE(waitUntil([&] { return player.audioOutput() == MediaPlayer::AudioOutput::Server; }));
    ASSERT_TRUE(waitUntil(playerOnServer));
    ASSERT_TRUE(playsOn(player, 0.3));

    // The server dies mid-play: the sound does not stand still, it plays on silently.
    server.kill();
    ASSERT_TRUE(playsOn(player, 1.0)) << "playback stands still at " << player.currentTime();
    EXPECT_TRUE(waitUntil([&] { return player.audioOutput() == MediaPlayer::AudioOutput::Silent; }));
    EXPECT_TRUE(player.isPlaying());
    EXPECT_TRUE(player.lastError().isEmpty()) << player.lastError().toStdString();

    // A new server: the sound is heard there, the same file still playing.
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(waitUntil([&] { return player.audioOutput() == MediaPlayer::AudioOutput::Server; }));
    ASSERT_TRUE(waitUntil(playerOnServer));
    EXPECT_TRUE(player.isOpen());
    ASSERT_TRUE(playsOn(player, 0.3));
    player.close();
    // The player goes before the server (declared after it): libjack can deadlock when a server stops
    // while a client of it is closing, which this test does not examine.
}

}  // namespace
}  // namespace nupo
