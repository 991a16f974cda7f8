#include "platform/media/MediaPlayer.h"
#include "platform/media/SystemSound.h"

#include <gtest/gtest.h>

namespace nupo {
namespace {

TEST(SystemSound, TinkIsAShortSoundInTheResources)
{
    const QString path = systemSoundPath("Tink");
    ASSERT_FALSE(path.isEmpty());
    EXPECT_TRUE(path.endsWith("resources/sounds/Tink.wav"));

    MediaPlayer::Options options;
    options.audioOutput = false;
    MediaPlayer player(options);
    ASSERT_TRUE(player.open(path));
    EXPECT_GT(player.duration(), 0.05);
    EXPECT_LT(player.duration(), 0.5);
}

TEST(SystemSound, UnknownOrUnsafeNamesFailQuietly)
{
    for (const char* name : {"NoSuchSound", "../sounds/Tink", "/etc/passwd", "", "Tink.wav"}) {
        EXPECT_TRUE(systemSoundPath(name).isEmpty()) << name;
        EXPECT_FALSE(playSystemSound(name)) << name;
    }
}

TEST(SystemSound, PlayingTinkAgainRestartsIt)
{
    // With or without an audio device this plays (silently without one) and never blocks or fails.
    EXPECT_TRUE(playSystemSound("Tink"));
    EXPECT_TRUE(playSystemSound("Tink"));
}

}  // namespace
}  // namespace nupo
