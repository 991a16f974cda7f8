#include "QXDrawerSound/player/MovieFrameFunctions.h"
#include "platform/media/MediaPlayer.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QThread>

#include <cstdint>
#include <vector>

namespace nupo {
namespace {

int shownFrame(MediaPlayer& player)
{
    std::vector<std::uint32_t> pixels(64 * 48, 0);
    if (!player.renderFrame(pixels.data(), 64, 48, 64 * 4))
        return -1;
    return test::frameOfLevel(static_cast<int>(pixels[30 * 64 + 40] & 0xFF));
}

TEST(MovieFrameFunctions, DrawingAtATimeAcceptsTheLengthAndRefusesBeyondIt)
{
    EXPECT_EQ(QTUDrawVideoFrameAtTime(nullptr, 0), -50);
    EXPECT_EQ(GetMovieDurationN(nullptr), 0);
    EXPECT_EQ(GetMovieTimeScaleN(nullptr), 0);
    EXPECT_FALSE(QTUtils_IsAutoPlayMovie(nullptr));

    QString why;
    const QString path = test::makeCounterMovie("frames.mov", 20, 10, &why);
    if (path.isEmpty())
        GTEST_SKIP() << why.toStdString();
    MediaPlayer::Options options;
    options.audioOutput = false;
    options.frameImages = true;
    MediaPlayer movie(options);
    ASSERT_TRUE(movie.open(path));
    EXPECT_EQ(GetMovieTimeScaleN(&movie), 600);
    EXPECT_EQ(GetMovieDurationN(&movie), 2);
    EXPECT_FALSE(QTUtils_IsAutoPlayMovie(&movie));

    EXPECT_EQ(QTUDrawVideoFrameAtTime(&movie, 600), 0);  // one second in: frame 10
    ASSERT_TRUE(test::processEventsUntil([&] { return shownFrame(movie) == 10; }));
    EXPECT_EQ(QTUDrawVideoFrameAtTime(&movie, 1201), -50);
    QThread::msleep(100);
    ASSERT_TRUE(test::processEventsUntil([&] { return shownFrame(movie) == 10; }));
    EXPECT_EQ(QTUDrawVideoFrameAtTime(&movie, 1200), 0);
    ASSERT_TRUE(test::processEventsUntil([&] { return shownFrame(movie) == 19; }));
    EXPECT_EQ(QTUDrawVideoFrameAtTime(&movie, 0), 0);
    ASSERT_TRUE(test::processEventsUntil([&] { return shownFrame(movie) == 0; }));
    EXPECT_EQ(QTUDrawVideoFrameAtTime(&movie, 300), 0);
    ASSERT_TRUE(test::processEventsUntil([&] { return shownFrame(movie) == 5; }));
    EXPECT_EQ(QTUDrawVideoFrameAtTime(&movie, -40), 0);  // before the start: the beginning
    ASSERT_TRUE(test::processEventsUntil([&] { return shownFrame(movie) == 0; }));
}

TEST(MovieFrameFunctions, ASoundCountsItsLengthInWholeSecondsOfItsSampleRate)
{
    MediaPlayer::Options options;
    options.audioOutput = false;
    MediaPlayer sound(options);
    EXPECT_EQ(GetMovieDurationN(&sound), 0);  // nothing open: time scale 0
    EXPECT_EQ(QTUDrawVideoFrameAtTime(&sound, 0), -50);
    ASSERT_TRUE(sound.open(test::writeTone("second.wav", 1.99, 8000)));
    EXPECT_EQ(GetMovieTimeScaleN(&sound), 8000);
    EXPECT_EQ(GetMovieDurationN(&sound), 1);
    EXPECT_EQ(QTUDrawVideoFrameAtTime(&sound, 8000), 0);
    ASSERT_TRUE(test::processEventsUntil([&] { return std::abs(sound.currentTime() - 1.0) < 0.002; }));
}

}  // namespace
}  // namespace nupo
