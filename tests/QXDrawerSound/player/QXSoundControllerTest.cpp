// The slot player with real (silent) sounds: the window set-up from an opener and from a document, the
// sound choices, rate and volume from the brain switches, the end of a sound, the play and stop
// notifications, and the faults a slot meets (empty blocks, rows outside the bank, unplayable files).
#include "QXDrawerSound/player/QXSoundController.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "platform/appkit/MainThread.h"
#include "platform/files/CheckedFile.h"
#include "platform/media/MediaOpening.h"
#include "shared/AnalysisState.h"
#include "shared/BrainBands.h"
#include "shared/CoreState.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace nupo {
namespace {

// Holds the reads of one file, as a drive that holds each read would, until released.
struct HeldFile {
    std::mutex mutex;
    std::condition_variable changed;
    QByteArray name;
    bool holding = false;
    int held = 0;
};
HeldFile heldFile;

void holdThatFile(const QByteArray& path)
{
    std::unique_lock lock(heldFile.mutex);
    if (heldFile.name.isEmpty() || !path.endsWith(heldFile.name))
        return;
    ++heldFile.held;
    heldFile.changed.wait(lock, [] { return !heldFile.holding; });
}

void holdFile(const QByteArray& name, bool on)
{
    std::lock_guard lock(heldFile.mutex);
    heldFile.name = name;
    heldFile.holding = on;
    heldFile.changed.notify_all();
}

int timesHeld()
{
    std::lock_guard lock(heldFile.mutex);
    return heldFile.held;
}

// A slot whose alerts are kept.
class AlertingSlot : public QXSoundController {
public:
    using QXSoundController::QXSoundController;
    QStringList alerts;

protected:
    void alert(const QString& title, const QString& message) override { alerts << title + "\n" + message; }
};

// Whether the main thread's event loop runs a call posted to it now.
bool mainThreadAnswers()
{
    bool ran = false;
    performOnMainThread([&ran] { ran = true; });
    return test::processEventsUntil([&ran] { return ran; });
}

class SoundSlotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MediaPlayer::Options options;
        options.audioOutput = false;
        QXSoundController::setMediaOptions(options);
        setPauseX = 1;  // the brain-switch refresh then keeps the records these tests write
        // One bank in one block, playing the first, whatever a test before chose.
        SoundBlockX = 1;
        PlaySoundBlockX = 1;
        initSoundTables();
    }

    // Hands a bank of `count` short sounds over as an opener does, for the next slot.
    QStringList handOverBank(int count, double seconds = 2.0)
    {
        QStringList paths;
        for (int i = 0; i < count; ++i)
            paths << test::writeTone(QStringLiteral("s%1.wav").arg(i, 2, 10, QLatin1Char('0')), seconds);
        openFromSFolder = 1;
        LastRowsCount = count;
        soundNameArrayX = paths;
        soundNameArrayS.clear();
        for (const QString& path : paths)
            soundNameArrayS << QFileInfo(path).fileName();
        setOutCHARs("Bank");
        openSound += 1;
        return paths;
    }

    static std::unique_ptr<QXSoundController> openSlot(int slot)
    {
        auto player = std::make_unique<QXSoundController>(slot);
        player->setUpWindow();
        settle(*player);
        return player;
    }

    // Waits until the sound asked for last has opened (or was refused).
    static void settle(const QXSoundController& player)
    {
        ASSERT_TRUE(test::processEventsUntil([&] { return !player.isOpening(); }));
    }

    static QString openName(const QXSoundController& player)
    {
        return player.movie() ? QFileInfo(player.movie()->path()).fileName() : QString();
    }
};

TEST_F(SoundSlotTest, AWindowFromAnOpenerListsItsBankAndPlaysRowZeroLooping)
{
    openSound = 0;
    const QStringList paths = handOverBank(3);
    auto player = openSlot(0);
    EXPECT_EQ(player->windowTitle(), "Bank (1 sounds bank)");
    EXPECT_EQ(player->numberOfRowsInTableView(), 3);
    EXPECT_EQ(player->objectValueForRow(2), "s02.wav");
    EXPECT_EQ(player->objectValueForRow(3), "");
    EXPECT_EQ(RowsCountA[0], 3);
    EXPECT_EQ(SendSoundstr[1], paths[1]);
    EXPECT_EQ(SendSoundstr[3], " ");
    EXPECT_EQ(firsttimeQXSoundController, 1);
    EXPECT_EQ(SoundWindowOpenNumer, 1);
    EXPECT_EQ(player->movieStopFlag(), 1);
    EXPECT_EQ(player->shownName(), "s00.wav");
    EXPECT_EQ(player->trackNames(), QStringList{"audio (pcm_s16le)"});
    ASSERT_TRUE(player->movie());
    EXPECT_TRUE(player->movie()->isPlaying());
    EXPECT_EQ(player->movie()->loopMode(), MediaPlayer::LoopMode::Looping);
    EXPECT_TRUE(player->playButtonShowsPause());

    // The second bank opens in slot 1, titled with the count; it leaves slot 0's element alone.
    handOverBank(2);
    auto second = openSlot(1);
    EXPECT_EQ(second->windowTitle(), "Bank ( 2 sounds bank)");
    EXPECT_EQ(RowsCountA[1], 2);
    EXPECT_EQ(RowsCountA[0], 3);
    EXPECT_EQ(SoundWindowOpenNumer, 2);

    // Closing in any order: the count falls, and the last one sets the bank counter back.
    player.reset();
    EXPECT_EQ(SoundWindowOpenNumer, 1);
    EXPECT_EQ(openSound, 2);
    second.reset();
    EXPECT_EQ(SoundWindowOpenNumer, 0);
    EXPECT_EQ(openSound, 0);
}

// The slot's "Selection" play mode plays the part of the sound made in its bar, and the end of that part
// is the end of the sound for the slot; a sound opened next starts without one.
TEST_F(SoundSlotTest, SelectionModePlaysThePartOfTheSoundMadeInTheBar)
{
    openSound = 0;
    handOverBank(2);
    auto player = openSlot(0);
    ASSERT_TRUE(player->movie());
    MediaPlayer& sound = *player->movie();
    ASSERT_TRUE(sound.isPlaying());
    player->setPlaymodeMatrix(0);
    player->setMovieSelection(1.0, 0.3);
    player->setPlaymodeMatrix(2);
    EXPECT_TRUE(test::processEventsUntil([&] { return sound.currentTime() >= 1.0; }));
    ASSERT_TRUE(test::processEventsUntil([&] { return !sound.isPlaying(); }));
    EXPECT_GT(sound.currentTime(), 1.28);
    EXPECT_LT(sound.currentTime(), 1.8) << "stops at the selection's end, not the sound's (2 s)";
    EXPECT_TRUE(test::processEventsUntil([&] { return !player->playButtonShowsPause(); }));

    player->setPlaymodeMatrix(3);
    EXPECT_FALSE(sound.playsSelectionOnly());
    player->tableViewSelectionDidChange(1);
    settle(*player);
    EXPECT_EQ(player->movie()->selection().second, 0.0);
}

TEST_F(SoundSlotTest, AutoNextAndRandomChooseWithinTheBlockWhenASoundHasEnded)
{
    SoundBlockX = 2;
    PlaySoundBlockX = 2;
    handOverBank(6);
    auto player = openSlot(0);
    player->setSelectSoundNumber(1);  // "Auto Next" also plays once
    EXPECT_EQ(player->playMode(), 0);
    EXPECT_EQ(player->movie()->loopMode(), MediaPlayer::LoopMode::Normal);

    player->timerUpdate();  // the window's first opening armed a choice
    EXPECT_EQ(player->selectedRow(), 1);
    settle(*player);
    EXPECT_EQ(openName(*player), "s01.wav");
    EXPECT_EQ(player->movieStopFlag(), 0);
    player->timerUpdate();  // without an end nothing more is chosen
    EXPECT_EQ(player->selectedRow(), 1);

    for (int expected : {2, 3, 4, 5, 3}) {
        player->setMovieStopFlag(1);
        player->timerUpdate();
        EXPECT_EQ(player->selectedRow(), expected);
    }
    settle(*player);
    EXPECT_EQ(openName(*player), "s03.wav");

    player->setSelectSoundNumber(2);
    for (int i = 0; i < 30; ++i) {
        player->setMovieStopFlag(1);
        player->timerUpdate();
        ASSERT_GE(player->selectedRow(), 3);
        ASSERT_LE(player->selectedRow(), 5);
    }

    // The end of a sound plays the next one on the following tick.
    player->setSelectSoundNumber(1);
    const int before = player->selectedRow();
    ASSERT_TRUE(test::processEventsUntil([&] {
        player->timerUpdate();
        return player->selectedRow() != before;
    }));
    settle(*player);
    EXPECT_FALSE(player->playButtonShowsPause() && !player->movie()->isPlaying());
}

TEST_F(SoundSlotTest, EmptyBlocksChooseNothingAndRowsOutsideTheBankAreNotOpened)
{
    SoundBlockX = 4;  // three sounds in four blocks: a block has no rows
    handOverBank(3);
    auto player = openSlot(0);
    player->setSelectSoundNumber(2);
    player->setMovieStopFlag(1);
    player->timerUpdate();
    EXPECT_EQ(player->selectedRow(), 0);
    EXPECT_EQ(player->movieStopFlag(), 0);
    EXPECT_EQ(openName(*player), "s00.wav");

    // A band slider at its maximum in the last block points past the bank.
    SoundBlockX = 1;
    player->setBandSlider(BandGamma, 3.0f);
    EXPECT_EQ(player->selectedRow(), 3);
    EXPECT_FALSE(player->problem().isEmpty());
    EXPECT_FALSE(player->movie()->isPlaying());
    EXPECT_EQ(openName(*player), "s00.wav");
    player->setBandSlider(BandGamma, 2.0f);
    settle(*player);
    EXPECT_TRUE(player->problem().isEmpty());
    EXPECT_EQ(openName(*player), "s02.wav");
    EXPECT_TRUE(player->movie()->isPlaying());
}

TEST_F(SoundSlotTest, AFileThatCannotPlayIsReportedInItsSlotAndTheOtherSlotsPlayOn)
{
    QStringList paths = handOverBank(2);
    soundNameArrayX[1] = paths[1] + ".missing";
    auto player = openSlot(0);
    handOverBank(1);
    auto other = openSlot(1);
    player->tableViewSelectionDidChange(1);
    settle(*player);
    EXPECT_TRUE(player->problem().contains("s01.wav.missing")) << player->problem().toStdString();
    EXPECT_EQ(player->nameLine(), player->problem());
    EXPECT_FALSE(player->movie()->isPlaying());
    EXPECT_FALSE(player->movie()->isOpen());
    EXPECT_EQ(player->movieStopFlag(), 0);
    player->playX();  // nothing to play
    EXPECT_FALSE(player->movie()->isPlaying());
    EXPECT_TRUE(other->movie()->isPlaying());
    player->tableViewSelectionDidChange(0);
    settle(*player);
    EXPECT_TRUE(player->problem().isEmpty());
    EXPECT_TRUE(player->movie()->isPlaying());
}

TEST_F(SoundSlotTest, ASoundNobodyHearsSaysSoBesideItsName)
{
    // Audio wanted, but no audio server answers (none of these exists) and there is no sound card here.
    const QByteArray server = qgetenv("JACK_DEFAULT_SERVER");
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("JACK_DEFAULT_SERVER", "nupo-no-such-server");
    qputenv("XDG_RUNTIME_DIR", QDir::tempPath().toLocal8Bit() + "/nupo-no-runtime");
    qunsetenv("PULSE_SERVER");
    QXSoundController::setMediaOptions(MediaPlayer::Options{});
    handOverBank(1);
    auto player = openSlot(0);
    qputenv("JACK_DEFAULT_SERVER", server);
    qputenv("XDG_RUNTIME_DIR", runtime);
    ASSERT_TRUE(player->movie());
    if (QDir(QStringLiteral("/dev/snd")).exists())
        GTEST_SKIP() << "this machine has a sound card";
    ASSERT_TRUE(test::processEventsUntil(
        [&] { return player->movie()->audioOutput() == MediaPlayer::AudioOutput::Silent; }));
    EXPECT_EQ(player->nameLine(), "s00.wav (silent: no audio output)");
}

TEST_F(SoundSlotTest, ABankOfMoreThan128SoundsIsCutTo128)
{
    handOverBank(2);
    LastRowsCount = 130;
    for (int i = 2; i < 130; ++i) {
        soundNameArrayX << soundNameArrayX[0];
        soundNameArrayS << QStringLiteral("copy%1").arg(i);
    }
    auto player = openSlot(0);
    EXPECT_EQ(player->rowsCount(), 128);
    EXPECT_EQ(player->numberOfRowsInTableView(), 128);
    EXPECT_EQ(RowsCountA[0], 128);
}

TEST_F(SoundSlotTest, BrainRhythmPicksTheBandsSoundAndLightsItsButtonAlone)
{
    SoundBlockX = 2;
    PlaySoundBlockX = 2;
    handOverBank(16);
    auto player = openSlot(0);
    player->setPopupNumber(SoundBrainPopup, 5);
    player->setPopupNumber(SoundPFCPopup, 2);
    player->setUseBSON(1);
    peakSWcoherenceCount[5][2][0].peakFrequency = 10.0f;  // Alpha: its sound index is 3

    player->setMovieStopFlag(1);
    player->timerUpdate();
    EXPECT_EQ(player->litBand(), BandAlpha);
    EXPECT_EQ(player->selectedRow(), 11);
    settle(*player);
    EXPECT_EQ(openName(*player), "s11.wav");

    // The same band again reopens the same row; a new band lights only its own button.
    player->setMovieStopFlag(1);
    player->timerUpdate();
    EXPECT_EQ(player->selectedRow(), 11);
    peakSWcoherenceCount[5][2][0].peakFrequency = 2.0f;  // Delta
    player->setMovieStopFlag(1);
    player->timerUpdate();
    EXPECT_EQ(player->litBand(), BandDelta);
    EXPECT_EQ(player->selectedRow(), 9);
}

TEST_F(SoundSlotTest, RateAndVolumeFollowTheBrainSwitchesEveryTick)
{
    handOverBank(1, 5.0);
    auto player = openSlot(0);
    player->setPopupNumber(SpeedBrainPopup, 1);
    player->setPopupNumber(SpeedPFCPopup, 4);
    player->setPopupNumber(VolumeBrainPopup, 6);
    player->setPopupNumber(VolumePFCPopup, 0);
    peakSWfftCount[1][4][0].level = 48.0f;
    peakSWcoherenceCount[6][0][0].level = 30.0f;
    player->setSpeedControl(1);
    player->setVolumeControl(1);
    player->timerUpdate();
    EXPECT_DOUBLE_EQ(player->movie()->rate(), 0.5);  // (48 - 32) / 32
    EXPECT_EQ(player->movie()->movieVolume(), 60);   // 30 x 2
    peakSWfftCount[1][4][0].level = 16.0f;
    peakSWcoherenceCount[6][0][0].level = 300.0f;
    player->timerUpdate();
    EXPECT_DOUBLE_EQ(player->movie()->rate(), -0.5);
    EXPECT_EQ(player->movie()->movieVolume(), 128);

    // Switching the rate control off plays at 1 again; the master switch takes both off.
    player->setVolumeTimeSpeedControl(0);
    EXPECT_DOUBLE_EQ(player->movie()->rate(), 1.0);
    peakSWcoherenceCount[6][0][0].level = 10.0f;
    player->timerUpdate();
    EXPECT_EQ(player->movie()->movieVolume(), 128);
}

TEST_F(SoundSlotTest, PlayAndStopNotificationsFromAnyThreadReachEveryOpenSlotInOrder)
{
    handOverBank(1, 5.0);
    auto first = openSlot(0);
    handOverBank(1, 5.0);
    auto second = openSlot(1);
    handOverBank(1, 5.0);
    auto closed = openSlot(2);
    closed.reset();

    std::thread poster([] {
        NotificationCenter::defaultCenter().postNotificationName(SetSoundStopNotification);
        NotificationCenter::defaultCenter().postNotificationName(SetSoundPlayNotification);
        NotificationCenter::defaultCenter().postNotificationName(SetSoundStopNotification);
    });
    poster.join();
    ASSERT_TRUE(test::processEventsUntil([&] { return !first->playButtonShowsPause(); }));
    QCoreApplication::processEvents();
    EXPECT_FALSE(first->movie()->isPlaying());
    EXPECT_FALSE(second->movie()->isPlaying());
    EXPECT_FALSE(second->playButtonShowsPause());

    NotificationCenter::defaultCenter().postNotificationName(SetSoundPlayNotification);
    ASSERT_TRUE(test::processEventsUntil([&] { return second->movie()->isPlaying(); }));
    EXPECT_TRUE(first->movie()->isPlaying());
}

TEST_F(SoundSlotTest, ADocumentReopensEachSlotFromItsOwnElementAndPathTable)
{
    QStringList paths;
    for (int i = 0; i < 3; ++i)
        paths << test::writeTone(QStringLiteral("doc%1.wav").arg(i), 3.0);
    for (int i = 0; i < 3; ++i)
        SendSoundBstr[std::size_t(i)] = paths[i];
    RowsCountA[2] = 3;
    ThetaLSlider_valueA[2] = 1.0f;
    VolumeSlider_valueA[2] = 3.0f;
    VolumeSlider_valueA[0] = 9.0f;
    setSelectSoundNumberA[2] = 1;
    setSpeedBrainNumberA[2] = 4;
    PlaymodeA[2] = 0;
    SoundControlA[2] = 1;
    SoundOpenFromFile = 1;
    openSound = 3;
    firsttimeQXSoundController = 0;

    auto player = openSlot(2);
    SoundOpenFromFile = 0;
    EXPECT_EQ(firsttimeQXSoundController, 0);  // only slot 0 from an opener sets it
    const QString folder = QFileInfo(paths[0]).dir().dirName();
    EXPECT_EQ(player->windowTitle(), QStringLiteral("%1 ( 3 sounds bank)").arg(folder));
    EXPECT_EQ(player->numberOfRowsInTableView(), 3);
    EXPECT_EQ(player->objectValueForRow(1), "doc1.wav");
    EXPECT_EQ(QString::fromUtf8(outCHAR), QFileInfo(paths[0]).absolutePath());
    EXPECT_EQ(player->volumeGain(), 3.0f);
    EXPECT_EQ(player->bandSoundIndex(BandTheta), 1.0f);
    EXPECT_EQ(player->popupNumber(ChoicePopup), 1);
    EXPECT_EQ(player->popupNumber(SpeedBrainPopup), 4);
    EXPECT_EQ(player->playMode(), 0);
    EXPECT_EQ(player->movieStopFlag(), 0);  // no choice on its first tick
    EXPECT_EQ(openName(*player), "doc0.wav");
    EXPECT_TRUE(player->movie()->isPlaying());
    EXPECT_EQ(VolumeSlider_valueA[0], 9.0f);
}

// A sound on a drive that holds its reads: the program answers meanwhile; another sound, Stop All or
// closing the slot take the place of the opening under way, whose late answer is dropped; a file that
// gives no answer in time is named in the slot and in an alert, and the slot goes on with the next one.
TEST_F(SoundSlotTest, ASoundOnADriveThatHoldsItsReadsLeavesTheProgramAnsweringAndIsNamedWhenItStalls)
{
    const QStringList paths = handOverBank(3, 5.0);
    auto slot = std::make_unique<AlertingSlot>(0);
    slot->setUpWindow();
    settle(*slot);
    ASSERT_TRUE(slot->movie()->isPlaying());
    setReadHookForTests(&holdThatFile);

    // Another sound chosen while one is held is the one that plays; the held one is dropped.
    holdFile("s01.wav", true);
    slot->tableViewSelectionDidChange(1);
    EXPECT_TRUE(slot->isOpening());
    EXPECT_FALSE(slot->movie()->isPlaying());  // the sound playing stops as another is chosen
    ASSERT_TRUE(test::processEventsUntil([] { return timesHeld() == 1; }));
    EXPECT_TRUE(mainThreadAnswers());
    EXPECT_TRUE(slot->isOpening());
    slot->tableViewSelectionDidChange(2);
    settle(*slot);
    EXPECT_EQ(openName(*slot), "s02.wav");
    holdFile("s01.wav", false);
    ASSERT_TRUE(test::processEventsUntil([] { return MediaOpening::openingsUnderWay() == 0; }));
    EXPECT_EQ(openName(*slot), "s02.wav");
    EXPECT_TRUE(slot->movie()->isPlaying());

    // Stop All while the sound is held: it opens, stopped.
    holdFile("s01.wav", true);
    slot->tableViewSelectionDidChange(1);
    ASSERT_TRUE(test::processEventsUntil([] { return timesHeld() == 2; }));
    NotificationCenter::defaultCenter().postNotificationName(SetSoundStopNotification);
    ASSERT_TRUE(test::processEventsUntil([&] { return !slot->playButtonShowsPause(); }));
    holdFile("s01.wav", false);
    settle(*slot);
    EXPECT_EQ(openName(*slot), "s01.wav");
    EXPECT_FALSE(slot->movie()->isPlaying());

    // A file that gives no answer in time is named; the next choice plays.
    holdFile("s00.wav", true);
    MediaOpening::setPatience(std::chrono::milliseconds(50));
    slot->tableViewSelectionDidChange(0);
    settle(*slot);
    MediaOpening::setPatience(std::chrono::seconds(10));
    ASSERT_EQ(slot->alerts.size(), 1);
    EXPECT_TRUE(slot->alerts[0].contains(paths[0] + " did not answer within 0.05 s."))
        << slot->alerts[0].toStdString();
    EXPECT_EQ(slot->problem(), paths[0] + " did not answer within 0.05 s");
    EXPECT_EQ(slot->movie(), nullptr);
    slot->tableViewSelectionDidChange(2);
    settle(*slot);
    EXPECT_TRUE(slot->problem().isEmpty());
    EXPECT_TRUE(slot->movie()->isPlaying());

    // Closing the slot while a sound is held.
    slot->tableViewSelectionDidChange(0);
    ASSERT_TRUE(test::processEventsUntil([] { return timesHeld() == 4; }));
    slot.reset();
    holdFile("s00.wav", false);
    ASSERT_TRUE(test::processEventsUntil([] { return MediaOpening::openingsUnderWay() == 0; }));
    setReadHookForTests(nullptr);
}

}  // namespace
}  // namespace nupo
