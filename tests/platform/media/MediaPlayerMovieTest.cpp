// Rates either way, the movie volume scale, jumps and frame steps, time units and tracks, loop and
// selection modes, and whose end callback runs.
#include "platform/media/MediaPlayer.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QSize>
#include <QThread>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace nupo {
namespace {

MediaPlayer::Options silent(bool frames = false)
{
    MediaPlayer::Options options;
    options.audioOutput = false;
    options.frameImages = frames;
    return options;
}

// The counter frame the player shows now (read from the middle of the picture, away from the number).
int shownFrame(MediaPlayer& player)
{
    constexpr int width = 64;
    constexpr int height = 48;
    std::vector<std::uint32_t> pixels(width * height, 0);
    if (!player.renderFrame(pixels.data(), width, height, width * 4))
        return -1;
    const std::uint32_t pixel = pixels[30 * width + 40];
    return test::frameOfLevel(static_cast<int>(pixel & 0xFF));
}

TEST(MediaPlayerRates, NegativeRatesPlayBackwardsToTheStartAndTinyRatesAreHeldAtAHundredth)
{
    MediaPlayer player(silent());
    int ends = 0;
    player.setEndCallback([&] { ++ends; });
    ASSERT_TRUE(player.open(test::writeTone("back.wav", 2.0)));

    player.setRate(0.0001);
    EXPECT_DOUBLE_EQ(player.rate(), 0.01);
    player.setRate(-1e6);
    EXPECT_DOUBLE_EQ(player.rate(), -100.0);
    EXPECT_FALSE(player.isPlaying());  // a rate alone starts nothing

    player.seek(1.0);
    ASSERT_TRUE(test::processEventsUntil([&] { return std::abs(player.currentTime() - 1.0) < 0.01; }));
    player.setRate(-2.0);
    player.play();
    EXPECT_TRUE(player.isPlaying());
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTime() < 0.8; }));
    // Backwards it stops at the start; that is not the end of the sound.
    ASSERT_TRUE(test::processEventsUntil([&] { return !player.isPlaying(); }));
    // The last step's seek to the start lands a moment after playing stops.
    EXPECT_TRUE(test::processEventsUntil([&] { return player.currentTime() < 0.01; }));
    EXPECT_FALSE(player.isPlaying());
    QThread::msleep(150);
    QCoreApplication::processEvents();
    EXPECT_EQ(ends, 0);

    // Played backwards from the start, it starts at the end; turning the rate round goes on forwards.
    // A tiny rate, held at a hundredth, keeps it near the end for 50 s and far from the start for minutes,
    // so neither the start at the end nor the turn while still going backwards can be missed when busy.
    player.setRate(-0.0001);
    EXPECT_DOUBLE_EQ(player.rate(), -0.01);
    player.play();
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTime() > 1.5; }));
    const double before = player.currentTime();
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTime() < before - 0.005; }));
    EXPECT_TRUE(player.isPlaying());
    player.setRate(3.0);
    // Forwards again it plays to the end (a fraction of a second at that rate, too short to be sure of
    // seeing it playing on a busy machine): the end callback runs, which backwards playback never calls.
    ASSERT_TRUE(test::processEventsUntil([&] { return ends == 1; }));
    EXPECT_TRUE(test::processEventsUntil([&] { return player.isAtEnd(); }));
}

TEST(MediaPlayerRates, MovieVolumeIs256ForFullAndHeldAtItsEnds)
{
    MediaPlayer player(silent());
    player.setMovieVolume(128);
    EXPECT_DOUBLE_EQ(player.volume(), 0.5);
    EXPECT_EQ(player.movieVolume(), 128);
    player.setMovieVolume(1000);
    EXPECT_EQ(player.movieVolume(), 256);
    player.setMovieVolume(-4);
    EXPECT_EQ(player.movieVolume(), 0);
}

TEST(MediaPlayerTime, SoundsCountInSamplesJumpsToTheEndCallNobackAndStepsMoveATenth)
{
    MediaPlayer player(silent());
    int ends = 0;
    player.setEndCallback([&] { ++ends; });
    EXPECT_EQ(player.timeScale(), 0);
    EXPECT_EQ(player.durationUnits(), 0);
    ASSERT_TRUE(player.open(test::writeTone("units.wav", 1.5, 8000)));
    EXPECT_EQ(player.timeScale(), 8000);
    EXPECT_EQ(player.durationUnits(), 12000);
    EXPECT_EQ(player.trackCount(), 1);
    EXPECT_EQ(player.trackNames(), QStringList{"audio (pcm_s16le)"});
    EXPECT_FALSE(player.hasVideo());
    EXPECT_EQ(player.frameRate(), 0.0);

    player.goToEnd();
    ASSERT_TRUE(test::processEventsUntil([&] { return player.isAtEnd(); }));
    QThread::msleep(250);
    QCoreApplication::processEvents();
    EXPECT_EQ(ends, 0);
    EXPECT_EQ(player.currentTimeUnits(), 12000);

    player.goToBeginning();
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTime() < 0.001; }));
    player.stepForward();
    ASSERT_TRUE(test::processEventsUntil([&] { return std::abs(player.currentTime() - 0.1) < 0.002; }));
    player.stepBackward();
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTime() < 0.001; }));
    EXPECT_FALSE(player.isPlaying());

    // Playing from the end starts over, and now the end is reached by playing: the callback runs.
    player.goToEnd();
    ASSERT_TRUE(test::processEventsUntil([&] { return player.isAtEnd(); }));
    player.setRate(4.0);
    player.play();
    ASSERT_TRUE(test::processEventsUntil([&] { return ends == 1; }));
}

TEST(MediaPlayerTime, MovieFramesStepOneAtATimeBothWaysAndStopAtTheEnds)
{
    QString why;
    const QString movie = test::makeCounterMovie("counter.mov", 20, 10, &why);
    if (movie.isEmpty())
        GTEST_SKIP() << why.toStdString();
    MediaPlayer player(silent(true));
    QString error;
    ASSERT_TRUE(player.open(movie, &error)) << error.toStdString();
    EXPECT_TRUE(player.hasVideo());
    // Known as soon as the file is open, before any frame is decoded: windows size themselves from it.
    EXPECT_EQ(QSize(player.videoWidth(), player.videoHeight()), QSize(64, 48));
    EXPECT_DOUBLE_EQ(player.frameRate(), 10.0);
    EXPECT_EQ(player.timeScale(), MediaPlayer::movieTimeScale);
    EXPECT_EQ(player.durationUnits(), 1200);
    EXPECT_EQ(player.trackNames(), QStringList{"video (mpeg4)"});

    ASSERT_TRUE(test::processEventsUntil([&] { return shownFrame(player) == 0; }));
    for (int frame = 1; frame <= 3; ++frame) {
        player.stepForward();

        ASSERT_TRUE(test::processEventsUntil([&] { return shownFrame(player) == frame; })) << frame;
    }
    player.stepBackward();
    ASSERT_TRUE(test::processEventsUntil([&] { return shownFrame(player) == 2; }));

    player.goToEnd();
    ASSERT_TRUE(test::processEventsUntil([&] { return shownFrame(player) == 19; }));
    player.stepForward();  // nothing after the last frame
    QThread::msleep(100);
    ASSERT_TRUE(test::processEventsUntil([&] { return shownFrame(player) == 19; }));
    player.goToBeginning();
    ASSERT_TRUE(test::processEventsUntil([&] { return shownFrame(player) == 0; }));
    player.stepBackward();  // nothing before the first
    QThread::msleep(100);
    ASSERT_TRUE(test::processEventsUntil([&] { return shownFrame(player) == 0; }));
}

TEST(MediaPlayerModes, LoopingNeverEndsAndASelectionPlaysAloneToItsEnd)
{
    MediaPlayer player(silent());
    int ends = 0;
    player.setEndCallback([&] { ++ends; });
    ASSERT_TRUE(player.open(test::writeTone("loop.wav", 0.3)));
    player.setLoopMode(MediaPlayer::LoopMode::Looping);
    EXPECT_EQ(player.loopMode(), MediaPlayer::LoopMode::Looping);
    player.setRate(3.0);
    player.play();
    QThread::msleep(600);  // two turns at least
    QCoreApplication::processEvents();
    EXPECT_EQ(ends, 0);
    EXPECT_TRUE(player.isPlaying());
    player.setLoopMode(MediaPlayer::LoopMode::Normal);
    ASSERT_TRUE(test::processEventsUntil([&] { return ends == 1; }));

    ASSERT_TRUE(player.open(test::writeTone("selection.wav", 2.0)));
    player.setSelection(0.5, 0.3);
    player.setPlaysSelectionOnly(true);
    player.setRate(1.0);
    player.play();
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTime() >= 0.5; }));
    ASSERT_TRUE(test::processEventsUntil([&] { return ends == 2; }));
    EXPECT_FALSE(player.isPlaying());
    // The end is noticed by polling, a little late without an audio device (its clock moves in steps of
    // about a tenth of a second) and later on a loaded machine; never anywhere near the file's end.
    EXPECT_GT(player.currentTime(), 0.7);
    EXPECT_LT(player.currentTime(), 1.4);

    // Selection-only with no selection plays the whole file.
    player.setSelection(0.0, 0.0);
    player.setRate(8.0);
    player.play();
    ASSERT_TRUE(test::processEventsUntil([&] { return ends == 3; }));
    EXPECT_NEAR(player.currentTime(), 2.0, 0.03);
}

TEST(MediaPlayerModes, AnEndCallbackReachesOnlyItsOwnPlayerAndNeverOneThatIsGone)
{
    int endsOfFirst = 0;
    int endsOfSecond = 0;
    auto first = std::make_unique<MediaPlayer>(silent());
    MediaPlayer second(silent());
    first->setEndCallback([&] { ++endsOfFirst; });
    second.setEndCallback([&] { ++endsOfSecond; });
    ASSERT_TRUE(first->open(test::writeTone("a.wav", 0.2)));
    ASSERT_TRUE(second.open(test::writeTone("b.wav", 0.4)));
    first->setRate(4.0);
    first->play();
    // The first reaches its end; it is closed before the main thread runs its callback.
    while (!first->isAtEnd())
        QThread::msleep(5);
    QThread::msleep(250);
    first.reset();
    second.setRate(4.0);
    second.play();
    ASSERT_TRUE(test::processEventsUntil([&] { return endsOfSecond == 1; }));
    EXPECT_EQ(endsOfFirst, 0);
}

}  // namespace
}  // namespace nupo
