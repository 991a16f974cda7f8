#include <gtest/gtest.h>

#include "core/QXInputStream.h"
#include "core/Transport.h"
#include "platform/appkit/NotificationCenter.h"
#include "shared/CoreState.h"
#include "support/TestSupport.h"

#include <QFile>

#include <QStringList>

#include <chrono>
#include <mutex>
#include <thread>

using namespace nupo;

namespace {

Transport& transport()
{
    return Transport::sharedTransport();
}

// Records the movie notifications the transport posts.
class MovieLog {
public:
    MovieLog()
    {
        for (const QString& name : {setPlayMovieNotification, setPauseMovieNotification,
                                    setCurrentTimeMovieNotification, setPauseAnywayMovieNotification})
            observers.emplace_back(name, nullptr, [this](const Notification& n) {
                std::lock_guard lock(mutex);
                names << n.name;
            });
    }
    QStringList take()
    {
        std::lock_guard lock(mutex);
        return std::exchange(names, {});
    }

private:
    std::mutex mutex;
    QStringList names;
    std::vector<ScopedObserver> observers;
};

void playFrom(int position)
{
    maxploop = 1000;
    ploopStart = 0;
    transport().setTimePosition(position);
    transport().SetselectsetPlay();
}

}  // namespace

TEST(Transport, PlayAdvancesAtTheSamplingRateTimesTheReplaySpeed)
{
    SampleSpeed = 120;
    playFrom(0);
    EXPECT_EQ(setRecX.load(), 0);
    EXPECT_EQ(transport().advanceReplay(1.0), 120);
    EXPECT_EQ(transport().advanceReplay(0.5), 60);
    // Fractions of a sample carry over from step to step: 1.5 samples a step.
    for (int i = 0; i < 10; ++i)
        transport().advanceReplay(0.0125);
    EXPECT_EQ(ploop.load(), 195);

    tlongE = 7;  // x 5
    EXPECT_EQ(transport().advanceReplay(1.0), 600);
    tlongE = 0;  // x 0.25
    EXPECT_EQ(transport().advanceReplay(0.4), 12);
    tlongE = 42;  // unknown index: normal speed
    EXPECT_EQ(transport().advanceReplay(0.1), 12);

    tlongE = 2;
    SampleSpeed = 256;
    transport().setTimePosition(0);
    EXPECT_EQ(transport().advanceReplay(0.25), 64);
}

TEST(Transport, PauseAndRecordModeHoldThePosition)
{
    SampleSpeed = 120;
    playFrom(100);
    EXPECT_TRUE(transport().setPause());
    EXPECT_EQ(setPauseX.load(), 1);
    EXPECT_EQ(transport().advanceReplay(1.0), 0);
    EXPECT_EQ(ploop.load(), 100);
    EXPECT_FALSE(transport().setPause());  // resumes
    EXPECT_EQ(transport().advanceReplay(0.5), 60);

    transport().setRecord();  // no device: recording takes no samples and replay stays still
    EXPECT_EQ(setRecX.load(), 1);
    EXPECT_EQ(transport().advanceReplay(1.0), 0);
    EXPECT_EQ(ploop.load(), 160);
}

TEST(Transport, TheEndPausesAtTheLastSampleOrWrapsInLoopMode)
{
    SampleSpeed = 120;
    ploopSyncX = 1;
    OpenQT = 1;
    MovieLog log;

    playFrom(950);
    log.take();
    transport().advanceReplay(1.0);
    EXPECT_EQ(ploop.load(), 1000);
    EXPECT_EQ(setPauseX.load(), 1);
    EXPECT_TRUE(transport().takeEndPause());
    EXPECT_FALSE(transport().takeEndPause());
    EXPECT_EQ(log.take(), QStringList{setPauseAnywayMovieNotification});

    // Play again at the end starts over from the recording's start.
    ploopStart = 200;
    transport().SetselectsetPlay();
    EXPECT_EQ(ploop.load(), 200);
    EXPECT_EQ(log.take(), QStringList{setPlayMovieNotification});

    transport().setLoopMode(1);
    transport().setTimePosition(990);
    log.take();
    transport().advanceReplay(0.5);
    EXPECT_EQ(ploop.load(), 200);
    EXPECT_EQ(setPauseX.load(), 0);
    EXPECT_FALSE(transport().takeEndPause());
    EXPECT_EQ(log.take(), QStringList{setPlayMovieNotification});
    EXPECT_GT(transport().advanceReplay(0.5), 0);  // and keeps playing
}

TEST(Transport, JumpsClampAndMoveTheDisplayMarks)
{
    maxploop = 1000;
    ploopStart = 300;
    transport().setTimePosition(5000);
    EXPECT_EQ(ploop.load(), 1000);
    transport().setTimePosition(-4);
    EXPECT_EQ(ploop.load(), 0);
    transport().setTimePosition(640);
    EXPECT_EQ(tploopAA.load(), 640);
    EXPECT_EQ(tploopBB.load(), 640);
    transport().setGotoBeginning();
    EXPECT_EQ(ploop.load(), 300);
    EXPECT_EQ(tploopAA.load(), 300);
}

TEST(Transport, MovieNotificationsOnlyWhileTheMovieFollows)
{
    MovieLog log;
    maxploop = 1000;
    ploopSyncX = 0;
    OpenQT = 1;
    transport().setPause();
    transport().setPause();
    transport().SetselectsetPlay();
    transport().setTimePosition(10);
    EXPECT_TRUE(log.take().isEmpty());

    ploopSyncX = 1;
    OpenQT = 0;
    transport().setGotoBeginning();
    EXPECT_TRUE(log.take().isEmpty());

    OpenQT = 2;
    int marker = 0;
    transport().setNotificationObject(&marker);
    const void* seen = nullptr;
    ScopedObserver o(setPauseMovieNotification, &marker, [&seen](const Notification& n) { seen = n.object; });
    transport().setPause();
    transport().setTimePosition(20);
    EXPECT_EQ(log.take(), (QStringList{setPauseMovieNotification, setCurrentTimeMovieNotification}));
    EXPECT_EQ(seen, &marker);
}

TEST(QXInputStream, ReplayThreadPlaysUntilStopped)
{
    EXPECT_EQ(QXInputStream::replayStepMicroseconds(120), 33000);
    EXPECT_EQ(QXInputStream::replayStepMicroseconds(1920), 2062);

    SampleSpeed = 1920;
    playFrom(0);
    maxploop = 1000000;
    auto& stream = QXInputStream::sharedQXInputStream();
    stream.initializeThred();
    stream.initializeThred();  // a second start does not start a second thread
    EXPECT_TRUE(stream.isRunning());
    while (ploop.load() < 200)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    stream.stopThreads();
    EXPECT_FALSE(stream.isRunning());
    const int stopped = ploop.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ploop.load(), stopped);
}

TEST(Transport, OpeningARecordingPlaysItFromTheStart)
{
    const QString folder = nupo::test::tempFolder();
    QFile good(folder + "/rec.dat");
    ASSERT_TRUE(good.open(QIODevice::WriteOnly));
    good.write(QByteArray(4096 + 2 * 500, char(0x01)));
    good.close();
    QFile bad(folder + "/short.dat");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(100, char(0)));
    bad.close();

    maxploop = 432000;
    ploop = 1234;
    setRecX = 1;
    setPauseX = 1;
    EXPECT_FALSE(transport().openRecordingAndPlay(folder + "/short.dat"));
    EXPECT_FALSE(
        transport().openRecordingAndPlay(QString(2000, QLatin1Char('x'))));  // no path buffer fits it
    EXPECT_EQ(ploop.load(), 1234);
    EXPECT_EQ(setRecX.load(), 1);
    EXPECT_EQ(maxploop.load(), 432000);

    EXPECT_TRUE(transport().openRecordingAndPlay(folder + "/rec.dat"));
    EXPECT_EQ(maxploop.load(), 500);
    EXPECT_EQ(ploop.load(), 0);
    EXPECT_EQ(setRecX.load(), 0);
    EXPECT_EQ(setPauseX.load(), 0);
}
