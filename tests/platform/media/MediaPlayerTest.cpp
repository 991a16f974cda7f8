#include "platform/media/MediaPlayer.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

namespace nupo {
namespace {

using test::writeTone;

MediaPlayer::Options silent()
{
    MediaPlayer::Options options;
    options.audioOutput = false;
    return options;
}

TEST(MediaPlayer, OpensPausedAndReportsLengthPositionRateAndVolume)
{
    MediaPlayer player(silent());
    // Long enough that playing at the highest rate is still under way when it is checked.
    const QString path = writeTone("tone.wav", 60.0);
    QString error;
    ASSERT_TRUE(player.open(path, &error)) << error.toStdString();
    EXPECT_TRUE(player.isOpen());
    EXPECT_EQ(player.path(), path);
    EXPECT_NEAR(player.duration(), 60.0, 0.02);
    EXPECT_NEAR(player.currentTime(), 0.0, 0.001);
    EXPECT_FALSE(player.isPlaying());

    player.seek(0.5);
    ASSERT_TRUE(test::processEventsUntil([&] { return std::abs(player.currentTime() - 0.5) < 0.01; }));
    player.seek(-3.0);
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTime() < 0.01; }));

    player.setVolume(0.25);
    EXPECT_DOUBLE_EQ(player.volume(), 0.25);
    player.setVolume(7.0);
    EXPECT_DOUBLE_EQ(player.volume(), 1.0);
    player.setRate(2.0);
    EXPECT_DOUBLE_EQ(player.rate(), 2.0);
    player.setRate(1e6);
    EXPECT_DOUBLE_EQ(player.rate(), 100.0);

    player.play();
    EXPECT_TRUE(player.isPlaying());
    player.setRate(0.0);  // a zero rate pauses and keeps the last speed
    EXPECT_FALSE(player.isPlaying());
    EXPECT_DOUBLE_EQ(player.rate(), 100.0);

    player.close();
    EXPECT_FALSE(player.isOpen());
    EXPECT_EQ(player.duration(), 0.0);
}

TEST(MediaPlayer, PauseHoldsThePositionAndStopReturnsToTheStart)
{
    MediaPlayer player(silent());
    ASSERT_TRUE(player.open(writeTone("long.wav", 5.0)));
    player.play();
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTime() > 0.2; }));
    player.pause();
    const double held = player.currentTime();
    QThread::msleep(150);
    EXPECT_NEAR(player.currentTime(), held, 0.03);
    EXPECT_FALSE(player.isPlaying());

    player.play();
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTime() > held + 0.1; }));
    player.stop();
    EXPECT_FALSE(player.isPlaying());
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTime() < 0.01; }));
}

TEST(MediaPlayer, ReachingTheEndCallsBackOnceOnTheMainThreadAndPlayStartsOver)
{
    MediaPlayer player(silent());
    int ends = 0;
    bool onMainThread = true;
    player.setEndCallback([&] {
        ++ends;
        onMainThread = onMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    });
    ASSERT_TRUE(player.open(writeTone("short.wav", 0.3)));
    player.setRate(3.0);
    player.play();
    ASSERT_TRUE(test::processEventsUntil([&] { return ends == 1; }));
    EXPECT_TRUE(onMainThread);
    EXPECT_TRUE(player.isAtEnd());
    EXPECT_FALSE(player.isPlaying());
    EXPECT_NEAR(player.currentTime(), 0.3, 0.02);

    QThread::msleep(100);
    QCoreApplication::processEvents();
    EXPECT_EQ(ends, 1);

    player.play();  // from the start again
    ASSERT_TRUE(test::processEventsUntil([&] { return ends == 2; }));
}

TEST(MediaPlayer, RefusesMissingAndBrokenFilesAndStaysUsable)
{
    MediaPlayer player(silent());
    QString error;
    const QString missing = QDir(test::tempFolder()).filePath("missing.wav");
    EXPECT_FALSE(player.open(missing, &error));
    EXPECT_TRUE(error.contains("missing.wav")) << error.toStdString();

    const QString broken = QDir(test::tempFolder()).filePath("broken.wav");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, '\x5a'));
    file.close();
    error.clear();
    EXPECT_FALSE(player.open(broken, &error));
    EXPECT_TRUE(error.contains("broken.wav")) << error.toStdString();
    EXPECT_FALSE(player.isOpen());
    player.play();  // nothing open: nothing happens
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(player.currentTime(), 0.0);

    EXPECT_TRUE(player.open(writeTone("fine.wav", 0.5), &error)) << error.toStdString();
    EXPECT_NEAR(player.duration(), 0.5, 0.02);
}

TEST(MediaPlayer, OpensFromSeveralThreadsAtOnceAllReturn)
{
    MediaPlayer player(silent());
    const QString first = writeTone("first.wav", 0.5);
    const QString second = writeTone("second.wav", 0.7);
    std::atomic<int> opened{0};
    std::vector<std::thread> openers;
    for (int i = 0; i < 6; ++i)
        openers.emplace_back([&, i] { opened += player.open(i % 2 ? first : second) ? 1 : 0; });
    for (std::thread& opener : openers)
        opener.join();
    EXPECT_GE(opened.load(), 1);
    ASSERT_TRUE(player.isOpen());
    EXPECT_NEAR(player.duration(), player.path() == first ? 0.5 : 0.7, 0.02);
}

TEST(MediaPlayer, PlaysAMovieWithoutVideoOutput)
{
    QString why;
    const QString movie = test::makeCounterMovie("clip.mp4", 6, 10, &why);
    if (movie.isEmpty())
        GTEST_SKIP() << why.toStdString();

    MediaPlayer player(silent());
    int ends = 0;
    player.setEndCallback([&] { ++ends; });
    QString error;
    ASSERT_TRUE(player.open(movie, &error)) << error.toStdString();
    EXPECT_NEAR(player.duration(), 0.6, 0.05);
    player.seek(0.4);
    ASSERT_TRUE(test::processEventsUntil([&] { return std::abs(player.currentTime() - 0.4) < 0.05; }));
    player.play();
    ASSERT_TRUE(test::processEventsUntil([&] { return ends == 1; }));
}

}  // namespace
}  // namespace nupo
