// The movie window's player with a generated counter movie (no audio device, no picture): opening and
// its failures, following the recording, the notifications from another thread, the brain controls, and
// the texts and tables the window shows.
#include "QXDrawerSound/movie/MovieState.h"
#include "QXDrawerSound/movie/QXMovieController.h"
#include "platform/appkit/NotificationCenter.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <thread>

namespace nupo {
namespace {

// A player that records what its window would show.
class RecordingController : public QXMovieController {
public:
    QString alertTitle, alertMessage;
    std::map<MovieOutlet, double> values;
    std::map<MovieOutlet, QString> texts;
    std::map<MovieOutlet, bool> hidden;
    std::map<MovieOutlet, QStringList> items;
    int selectedMode = -1;

protected:
    void alert(const QString& title, const QString& message) override
    {
        alertTitle = title;
        alertMessage = message;
    }
    void showValue(MovieOutlet outlet, double value) override { values[outlet] = value; }
    void showText(MovieOutlet outlet, const QString& text) override { texts[outlet] = text; }
    void setHidden(MovieOutlet outlet, bool on) override { hidden[outlet] = on; }
    void setItems(MovieOutlet outlet, const QStringList& list) override { items[outlet] = list; }
    void selectItem(MovieOutlet outlet, int index) override
    {
        if (outlet == MovieOutlet::setPlaymodeMatrix)
            selectedMode = index;
    }
};

class MoviePlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MediaPlayer::Options options;
        options.audioOutput = false;
        QXMovieController::setMediaOptions(options);
        setPauseX = 1;  // the brain-switch refresh then keeps the records these tests write
        ploopSyncX = 0;
        OpenQT = 0;
        ShowQTWindow = 0;
        SampleSpeed = 120;
        maxploop = 432000;
        setLoopModeX = 0;
        documentNameX.clear();
        QString why;
        path = test::makeCounterMovie("count.mp4", 20, 10, &why);  // 2 s
        if (path.isEmpty())
            GTEST_SKIP() << why.toStdString();
    }

    std::unique_ptr<RecordingController> openWindow(const QString& moviePath)
    {
        NSStringToC(moviePath);
        auto controller = std::make_unique<RecordingController>();
        controller->init();
        controller->setUpWindow();
        EXPECT_TRUE(test::processEventsUntil([&] { return !controller->isOpening(); }));
        return controller;
    }

    static void setSwitch(int source, int slot, float level, float hz)
    {
        auto& record = source > 3 ? peakSWcoherenceCount[source][slot][0] : peakSWfftCount[source][slot][0];
        record.level = level;
        record.peakFrequency = hz;
    }

    QString path;
};

TEST_F(MoviePlayerTest, LoadingOpensTheMovieSetsBandTimesPopupsAndFollowsTheSwitch)
{
    DeviceConfig = 0;
    auto movie = openWindow(path);
    ASSERT_NE(movie->movie(), nullptr);
    EXPECT_EQ(movie->fileName(), "count.mp4");
    EXPECT_EQ(movie->movieLength(), 1200);  // 2 s at 600 units a second
    for (int band = 0; band < 8; ++band)
        EXPECT_FLOAT_EQ(movie->bandTime(band), 150.0f * band);
    EXPECT_EQ(movie->items[MovieOutlet::SoundBrain], (QStringList{"CH 1", "---"}));
    EXPECT_EQ(movie->items[MovieOutlet::FramePFC].front(), "BS 0");
    EXPECT_EQ(movie->items[MovieOutlet::Moviesize].at(5), "by peak frequency");
    EXPECT_EQ(movie->texts[MovieOutlet::autoPlayEnabled], "No");
    EXPECT_EQ(movie->values[MovieOutlet::movieTimeScale], 2.0);  // seconds, shown crossed
    EXPECT_EQ(movie->values[MovieOutlet::movieDuration], 600.0);
    EXPECT_EQ(ShowQTWindow, 1);
    EXPECT_EQ(gMyMovieControllerObject, movie.get());
    // Following off on loading: the transport buttons show and the movie loops.
    EXPECT_EQ(OpenQT.load(), 0);
    EXPECT_FALSE(movie->hidden[MovieOutlet::playButton]);
    EXPECT_EQ(movie->playMode(), 1);
    EXPECT_EQ(movie->movie()->loopMode(), MediaPlayer::LoopMode::Looping);

    movie->setPloopSync(1);
    EXPECT_EQ(OpenQT.load(), 1);
    EXPECT_EQ(ploopSyncX.load(), 1);
    EXPECT_TRUE(movie->hidden[MovieOutlet::stepForwardButton]);
    EXPECT_EQ(movie->selectedMode, 0);
    EXPECT_EQ(movie->movie()->loopMode(), MediaPlayer::LoopMode::Normal);

    movie.reset();
    EXPECT_EQ(ploopSyncX.load(), 0);
    EXPECT_EQ(gMyMovieControllerObject, nullptr);
}

// Play mode "Selection" plays the part made in the controller bar, and only that: from its start (a
// movie playing elsewhere goes there) to its end, where it stops; "Whole movie" plays all of it again.
TEST_F(MoviePlayerTest, SelectionModePlaysTheSelectionMadeAndWholeMoviePlaysAllAgain)
{
    auto movie = openWindow(path);  // 2 s
    ASSERT_NE(movie->movie(), nullptr);
    MediaPlayer& player = *movie->movie();
    movie->setPlaymodeMatrix(0);  // once, so that the whole movie comes to an end
    player.seek(1.2);
    movie->setplay();
    ASSERT_TRUE(player.isPlaying());

    movie->setMovieSelection(0.5, 0.4);
    EXPECT_EQ(player.selection(), (std::pair<double, double>{0.5, 0.4}));
    movie->setPlaymodeMatrix(2);
    EXPECT_EQ(movie->playMode(), 2);
    EXPECT_TRUE(player.playsSelectionOnly());
    ASSERT_TRUE(test::processEventsUntil([&] { return !player.isPlaying(); }));
    // Stopped at the selection's end (how far past it depends on how busy the machine is), not the movie's.
    EXPECT_GT(player.currentTime(), 0.88);
    EXPECT_LT(player.currentTime(), 1.6) << "stops at the selection's end";
    EXPECT_TRUE(test::processEventsUntil([&] { return !movie->playButtonShowsPause(); }));

    // Played again, it starts at the selection's start.
    movie->setplay();
    double earliest = 10.0;
    ASSERT_TRUE(test::processEventsUntil([&] {
        earliest = std::min(earliest, player.currentTime());
        return player.isPlaying() && player.currentTime() < 0.8;
    }));
    ASSERT_TRUE(test::processEventsUntil([&] {
        earliest = std::min(earliest, player.currentTime());
        return !player.isPlaying();
    }));
    EXPECT_GE(earliest, 0.45);
    EXPECT_LT(player.currentTime(), 1.6);

    movie->setPlaymodeMatrix(3);
    EXPECT_FALSE(player.playsSelectionOnly());
    movie->setplay();
    ASSERT_TRUE(test::processEventsUntil([&] { return player.isAtEnd(); }));
    EXPECT_NEAR(player.currentTime(), 2.0, 0.1);

    // A cleared selection plays the whole movie in "Selection" mode too.
    movie->setMovieSelection(0.0, 0.0);
    movie->setPlaymodeMatrix(2);
    movie->setgoToBeginning();
    movie->setplay();
    ASSERT_TRUE(test::processEventsUntil([&] { return player.isAtEnd(); }));
}

TEST_F(MoviePlayerTest, AFileThatIsNoMovieAlertsAndClosesTheGateAndAMovieBesideTheDocumentOpens)
{
    ploopSyncX = 1;
    const QString tone = test::writeTone("tone.wav", 1.0);
    auto notMovie = openWindow(tone);
    EXPECT_EQ(notMovie->movie(), nullptr);
    EXPECT_EQ(notMovie->alertTitle, "Can not open movie file. Dedir Urav file only open.");
    // The path, then why it did not open, in words the user reads.
    EXPECT_TRUE(notMovie->alertMessage.startsWith("Movie File Path: " + tone + "\n\n"))
        << notMovie->alertMessage.toStdString();
    EXPECT_TRUE(notMovie->alertMessage.endsWith("The file has no pictures."))
        << notMovie->alertMessage.toStdString();
    EXPECT_EQ(OpenQT.load(), 0);
    EXPECT_EQ(ploopSyncX.load(), 0);
    EXPECT_EQ(ShowQTWindow, 0);
    notMovie->timerUpdate();  // a tick without a movie does nothing

    // The document's folder holds the movie that the stored path no longer finds.
    documentNameX = QFileInfo(path).dir().filePath("session.nupo");
    const QString moved = "/nonexistent-folder/count.mp4";
    auto found = openWindow(moved);
    ASSERT_NE(found->movie(), nullptr);
    EXPECT_EQ(QString::fromUtf8(outCHAR), path);

    // Found neither where it was nor beside the document: the reason named is that of the path shown.
    auto missing = openWindow("/nonexistent-folder/gone.mp4");
    EXPECT_EQ(missing->movie(), nullptr);
    EXPECT_TRUE(
        missing->alertMessage.startsWith("Movie File Path: /nonexistent-folder/gone.mp4\n\nNo such file"))
        << missing->alertMessage.toStdString();
}

TEST_F(MoviePlayerTest, FollowingShowsWholeSecondsOfTheRecordingAndHandlesNotificationsOnTheMainThread)
{
    auto movie = openWindow(path);
    ASSERT_NE(movie->movie(), nullptr);
    MediaPlayer& player = *movie->movie();

    // Following off: the position is not followed.
    movie->ploopSyncQT(150);
    EXPECT_EQ(player.currentTimeUnits(), 0);

    movie->setPloopSync(1);
    movie->ploopSyncQT(239);  // 1 s at 120 samples a second
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTimeUnits() == 600; }));
    movie->setcurrentTimePointTextStrX();
    EXPECT_EQ(movie->texts[MovieOutlet::movieCurrnetTime], QString(" 00:00:01"));
    movie->ploopSyncQT(120 * 50);  // past the end, not looping: the end
    // At the end the player shows the last frame (1.9 s at 10 frames a second) or stands at the file's
    // end (2 s), whichever libmpv settles on first.
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTimeUnits() >= 1140; }));
    setLoopModeX = 1;
    movie->ploopSyncQT(0);
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTimeUnits() == 0; }));
    movie->ploopSyncQT(120 * 50);  // in loop mode the frame stays
    EXPECT_EQ(player.currentTimeUnits(), 0);
    setLoopModeX = 0;

    // The recording's end posts on its own thread: `ploop` is held at once, the movie moves later on
    // the main thread, at the speed of the replay menu.
    ploop = 500000;
    maxploop = 120;
    tlongE = 5;
    std::thread acquisition(
        [] { NotificationCenter::defaultCenter().postNotificationName(setMovieSpeedNotification, nullptr); });
    acquisition.join();
    EXPECT_EQ(ploop.load(), 120);
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTimeUnits() == 600; }));
    EXPECT_DOUBLE_EQ(player.rate(), 2.0);

    std::thread([] {
        NotificationCenter::defaultCenter().postNotificationName(setPlayMovieNotification, nullptr);
    }).join();
    ASSERT_TRUE(test::processEventsUntil([&] { return player.isPlaying(); }));
    EXPECT_TRUE(movie->playButtonShowsPause());
    NotificationCenter::defaultCenter().postNotificationName(setPauseAnywayMovieNotification, nullptr);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(movie->playButtonShowsPause());

    // A closed window hears nothing more.
    movie.reset();
    std::thread([] {
        NotificationCenter::defaultCenter().postNotificationName(setPlayMovieNotification, nullptr);
    }).join();
    test::processEventsUntil([n = 0]() mutable { return ++n > 20; });
}

TEST_F(MoviePlayerTest, BrainSwitchesChooseTheBandFrameTheRateAndTheVolume)
{
    auto movie = openWindow(path);
    ASSERT_NE(movie->movie(), nullptr);
    MediaPlayer& player = *movie->movie();

    // Frame by band: source 1, switch slot 2.
    movie->setPopupNumber(MovieFrameBrainPopup, 1);
    movie->setPopupNumber(MovieFramePFCPopup, 2);
    movie->setSwitch(FrameChangeBSSwitch, 1);
    setSwitch(1, 2, 10.0f, 6.0f);  // Theta
    movie->MovieFrameControl();
    EXPECT_EQ(movie->lastBand(), 2);
    EXPECT_EQ(movie->bandFlag(2), 1);
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTimeUnits() == 300; }));
    setSwitch(1, 2, 10.0f, 41.0f);  // 40 Hz and above count as Eye
    movie->MovieFrameControl();
    EXPECT_EQ(movie->lastBand(), 0);
    EXPECT_EQ(movie->bandFlag(2), 0);
    EXPECT_EQ(movie->bandFlag(0), 1);
    ASSERT_TRUE(test::processEventsUntil([&] { return player.currentTimeUnits() == 0; }));

    // Rate: (level - 32) / 32, a coherence source; volume: level x 2, at most 128.
    movie->setPopupNumber(MovieSpeedBrainPopup, 5);
    movie->setPopupNumber(MovieSoundBrainPopup, 0);
    movie->setSwitch(SpeedControlSwitch, 1);
    movie->setSwitch(SoundControlSwitch, 1);
    setSwitch(5, 0, 48.0f, 10.0f);
    setSwitch(0, 0, 63.99f, 10.0f);
    movie->timerUpdate();
    EXPECT_DOUBLE_EQ(player.rate(), 0.5);
    EXPECT_EQ(player.movieVolume(), 127);
    EXPECT_DOUBLE_EQ(movie->values[MovieOutlet::displayHereRate], 0.5);
    setSwitch(0, 0, 70.0f, 10.0f);
    setSwitch(5, 0, 32.0f, 10.0f);
    movie->timerUpdate();
    EXPECT_EQ(player.movieVolume(), 128);
    EXPECT_DOUBLE_EQ(player.rate(), 0.01);

    // Switched off: rate 1 and volume 100.
    movie->setSwitch(SpeedControlSwitch, 0);
    movie->setSwitch(SoundControlSwitch, 0);
    EXPECT_DOUBLE_EQ(player.rate(), 1.0);
    EXPECT_EQ(player.movieVolume(), 100);
    EXPECT_EQ(movie->values[MovieOutlet::displayHereploop], 100.0);

    // Sizes: by peak power with the fixed gain, then a fixed half size with the bar shown.
    peakFFTA[0] = 12.0f;
    movie->setMoviesizeNumber(4);
    EXPECT_NEAR(movie->magnification(), 1.2, 1e-5);
    EXPECT_FALSE(movie->controllerBarShown());
    movie->setMoviesizeNumber(2);
    EXPECT_DOUBLE_EQ(movie->magnification(), 0.5);
    EXPECT_TRUE(movie->controllerBarShown());
    movie->setMoviesizeNumber(9);  // stored, nothing else
    EXPECT_EQ(movie->sizeChoice(), 9);
    EXPECT_DOUBLE_EQ(movie->magnification(), 0.5);
}

TEST_F(MoviePlayerTest, AMovieThatStopsHalfWaySaysSoAndItsControlsRest)
{
    auto movie = openWindow(path);
    ASSERT_NE(movie->movie(), nullptr);
    movie->setSwitch(SpeedControlSwitch, 1);
    // The player loses its file (as when decoding fails): the next tick says so and lets go of it.
    movie->movie()->close();
    movie->timerUpdate();
    EXPECT_EQ(movie->movie(), nullptr);
    EXPECT_TRUE(movie->problem().startsWith("The movie stopped"));
    EXPECT_EQ(movie->texts[MovieOutlet::problemField], movie->problem());
    movie->timerUpdate();  // nothing more to do
    movie->setPloopSync(1);
    movie->ploopSyncQT(240);
    movie->setPlayQ();
    EXPECT_EQ(ShowQTWindow, 1);
}

TEST(MovieState, TextsPositionsMagnificationsAndSources)
{
    EXPECT_EQ(movieDurationText(2235300, 600), " 01:02:05.500");
    EXPECT_EQ(movieDurationText(100, 0), " 00:00:00.000");
    EXPECT_EQ(movieCurrentTimeText(600 * 3725, 600), " 01:02:05");
    EXPECT_EQ(movieTimeOfPosition(119, 120, 6000, 600, false), 0);
    EXPECT_EQ(movieTimeOfPosition(239, 120, 6000, 600, false), 600);
    EXPECT_EQ(movieTimeOfPosition(120 * 11, 120, 6000, 600, false), 6000);
    EXPECT_EQ(movieTimeOfPosition(120 * 11, 120, 6000, 600, true), 6600);
    EXPECT_EQ(movieTimeOfPosition(100, 0, 6000, 600, false), -1);
    EXPECT_NEAR(movieMagnification(5, 0.0f, 10.0f, false, 0.0f, false, 3.0f), 1.0, 1e-6);
    EXPECT_DOUBLE_EQ(movieMagnification(5, 0.0f, 10.0f, false, 0.0f, true, 3.0f), 30.0);
    EXPECT_DOUBLE_EQ(movieMagnification(3, 0.0f, 0.0f, false, 0.0f, false, 0.0f), 2.0);
    EXPECT_LT(movieMagnification(6, 0.0f, 0.0f, false, 0.0f, false, 0.0f), 0.0);
    EXPECT_EQ(movieSourceItems(2).at(4), "Coherence");
    EXPECT_EQ(movieSourceItems(3).size(), 10);
}

}  // namespace
}  // namespace nupo
