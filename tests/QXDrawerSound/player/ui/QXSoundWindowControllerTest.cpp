// The slot windows as the user meets them: loaded by slot name from the one nib, their popups, sliders,
// switches, band buttons and list, and ten of them open at once.
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "QXDrawerSound/player/ui/QXSoundWindowController.h"
#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "platform/media/ui/MovieControllerBar.h"
#include "shared/BrainBands.h"
#include "shared/CoreState.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <random>

namespace nupo {
namespace {

class SoundWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MediaPlayer::Options options;
        options.audioOutput = false;
        QXSoundController::setMediaOptions(options);
        setPauseX = 1;
        DeviceConfig = 1;
        openSound = 0;
    }

    // The sounds of a bank: count tones in a folder "Waves".
    QStringList sounds(int count)
    {
        if (waves.isEmpty()) {
            waves = test::tempFolder() + QStringLiteral("/Waves");
            QDir().mkpath(waves);
        }
        for (int i = static_cast<int>(bank.size()); i < count; ++i) {
            const QString name = QStringLiteral("w%1.wav").arg(i, 2, 10, QLatin1Char('0'));
            bank << waves + QLatin1Char('/') + name;
            QFile::rename(test::writeTone(name, 2.0), bank.back());
        }
        return bank.mid(0, count);
    }

    // Opens the next slot's window through the openers' own hand-over.
    QXSoundWindowController* openNext(int count)
    {
        QXSoundWindowController* window = settled(openSoundBank(sounds(count)));
        EXPECT_NE(window, nullptr);
        return window;
    }

    // The window once the sound asked for last has opened (or was refused).
    static QXSoundWindowController* settled(QXSoundWindowController* window)
    {
        EXPECT_TRUE(test::processEventsUntil([window] { return !window || !window->isOpening(); }));
        return window;
    }

    template <class T>
    T* widget(QXSoundWindowController* window, SoundOutlet outlet)
    {
        return qobject_cast<T*>(window->control(outlet));
    }

    QString waves;
    QStringList bank;
};

TEST_F(SoundWindowTest, EachSlotNameLoadsThatSlotsPlayerFromTheOneNib)
{
    SoundBlockX = 2;
    PlaySoundBlockX = 1;
    QXSoundWindowController* first = openNext(20);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->slot(), 0);
    EXPECT_EQ(first->nibWindow()->windowTitle(), "Waves (1 sounds bank)");
    EXPECT_TRUE(first->nibWindow()->isVisible());
    auto* list = widget<QListWidget>(first, SoundOutlet::soundName);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->count(), 20);
    EXPECT_EQ(list->item(3)->text(), "w03.wav");
    EXPECT_EQ(widget<QAbstractButton>(first, SoundOutlet::playButton)->text(), "||");

    // Popups for two channels; the band sliders reach the block size.
    auto* brain = widget<QComboBox>(first, SoundOutlet::SoundBrain);
    EXPECT_EQ(brain->count(), 6);
    EXPECT_EQ(brain->itemText(4), "Coherence");
    EXPECT_EQ(widget<QComboBox>(first, SoundOutlet::SpeedPFC)->count(), 9);
    EXPECT_EQ(widget<QComboBox>(first, SoundOutlet::SelectSound)->itemText(2), "Random select");
    auto* gamma = widget<QAbstractSlider>(first, SoundOutlet::setBetaHSlider);
    EXPECT_EQ(gamma->maximum(), 10);
    EXPECT_EQ(gamma->property("maxValue").toDouble(), 10.0);

    QXSoundWindowController* second = openNext(2);
    EXPECT_EQ(second->slot(), 1);
    EXPECT_EQ(second->nibWindow()->windowTitle(), "Waves ( 2 sounds bank)");
    QXSoundWindowController* third = openNext(2);
    EXPECT_EQ(third->slot(), 2);
    EXPECT_EQ(dynamic_cast<NibController*>(third)->nibWindow()->objectName(), "movieWindow");

    // Picking "Coherence" chooses source 4 and writes only this slot's element.
    brain->setCurrentIndex(4);
    first->selectPopup(SoundBrainPopup, brain);
    EXPECT_EQ(first->popupNumber(SoundBrainPopup), 4);
    EXPECT_EQ(setSoundBrainNumberA[0], 4);

    // A band slider of slot 2 writes element 2 of its array alone.
    initSoundTables();
    auto* alpha = widget<QAbstractSlider>(third, SoundOutlet::setThetaHSlider);
    alpha->setValue(1);
    third->BandSlider(BandAlpha, alpha);
    EXPECT_EQ(ThetaHSlider_valueA[2], 1.0f);
    EXPECT_EQ(ThetaHSlider_valueA[0], 3.0f);
    EXPECT_EQ(ThetaHSlider_valueA[1], 3.0f);

    for (auto* window : {first, second, third})
        WindowHandle(window->nibWindow()).close();
    ASSERT_TRUE(test::processEventsUntil([] { return SoundWindowOpenNumer == 0; }));
    EXPECT_EQ(openSound, 0);
}

TEST_F(SoundWindowTest, SwitchesPlayModesRatesAndBandButtonsBehaveAsTheUserExpects)
{
    SoundBlockX = 1;
    PlaySoundBlockX = 1;
    QXSoundWindowController* window = openNext(4);
    ASSERT_TRUE(window);

    // Brain rhythm on: choice by mouse click, play once.
    auto* choice = widget<QComboBox>(window, SoundOutlet::SelectSound);
    choice->setCurrentIndex(1);
    window->selectPopup(ChoicePopup, choice);
    EXPECT_EQ(window->playMode(), 0);
    auto* once =
        window->control(SoundOutlet::setPlaymodeMatrix)->findChild<QRadioButton*>("setPlaymodeMatrix_0");
    ASSERT_TRUE(once);
    EXPECT_TRUE(once->isChecked());
    window->setPlaymodeMatrix(1);
    choice->setCurrentIndex(0);
    window->selectPopup(ChoicePopup, choice);
    EXPECT_EQ(window->playMode(), 1);  // "By Mouse click" leaves the play mode
    auto* rhythm = widget<QCheckBox>(window, SoundOutlet::setUseBSON);
    rhythm->setChecked(true);
    window->UseBSON(rhythm);
    EXPECT_EQ(window->playMode(), 0);
    EXPECT_EQ(choice->currentIndex(), 0);
    EXPECT_EQ(UseBSONA[0], 1);

    // The volume switch turns the master on; the master off turns both off and the rate back to 1.
    auto* volume = widget<QCheckBox>(window, SoundOutlet::setVolumeControl);
    volume->setChecked(true);
    window->VolumeControl(volume);
    EXPECT_TRUE(widget<QCheckBox>(window, SoundOutlet::setVolumeTimeSpeedControl)->isChecked());
    window->setSpeedControl(1);
    window->movie()->setRate(0.3);
    auto* master = widget<QCheckBox>(window, SoundOutlet::setVolumeTimeSpeedControl);
    master->setChecked(false);
    window->VolumeTimeSpeedControl(master);
    EXPECT_FALSE(volume->isChecked());
    EXPECT_FALSE(widget<QCheckBox>(window, SoundOutlet::setSpeedControl)->isChecked());
    EXPECT_DOUBLE_EQ(window->movie()->rate(), 1.0);
    EXPECT_EQ(Control::stringValue(window->control(SoundOutlet::displayHereRate)), "1.00");

    // A manual rate of 0 is held as 0.01 and played so.
    window->setRateON(1);
    window->setRateSlider(0.0f);
    EXPECT_DOUBLE_EQ(window->movie()->rate(), 0.01);
    EXPECT_EQ(Control::stringValue(window->control(SoundOutlet::displayHereRate)), "0.01");

    // A band button lights alone and plays its band's sound; a click on a row plays that row.
    auto* theta = widget<QAbstractButton>(window, SoundOutlet::setFrameThetaBS);
    widget<QAbstractButton>(window, SoundOutlet::setFrameEyeBS)->setChecked(true);
    theta->setChecked(true);
    window->FrameBS(BandTheta, theta);
    settled(window);
    EXPECT_EQ(window->litBand(), BandTheta);
    EXPECT_FALSE(widget<QAbstractButton>(window, SoundOutlet::setFrameEyeBS)->isChecked());
    EXPECT_EQ(QFileInfo(window->movie()->path()).fileName(), "w02.wav");
    EXPECT_TRUE(window->movie()->isPlaying());
    widget<QListWidget>(window, SoundOutlet::soundName)->setCurrentRow(3);
    settled(window);
    EXPECT_EQ(QFileInfo(window->movie()->path()).fileName(), "w03.wav");
    EXPECT_TRUE(window->movie()->isPlaying());
    // The tick shows the open sound's name.
    ASSERT_TRUE(test::processEventsUntil([&] {
        return Control::stringValue(window->control(SoundOutlet::displayHeresoundName)) == "w03.wav";
    }));
    WindowHandle(window->nibWindow()).close();
}

// The slot's bar shows the sound's position; a part of the sound selected there with the mouse is what
// the "Selection" play mode plays.
TEST_F(SoundWindowTest, APartSelectedInTheBarWithTheMouseIsWhatSelectionPlays)
{
    QXSoundWindowController* window = openNext(1);  // one sound of 2 s, playing
    ASSERT_TRUE(window && window->movie());
    MovieControllerBar* bar = window->soundControllerBar();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->player(), window->movie());
    window->nibWindow()->resize(700, window->nibWindow()->height());
    MovieTimeSlider* slider = bar->timeSlider();
    ASSERT_TRUE(test::processEventsUntil([&] {
        bar->refresh();
        return slider->timeAt(slider->width()) > 1.9;
    }));
    const int y = slider->height() / 2;
    QTest::mousePress(slider, Qt::LeftButton, Qt::ShiftModifier, QPoint(slider->xOf(0.4), y));
    QTest::mouseMove(slider, QPoint(slider->xOf(0.8), y));
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::ShiftModifier, QPoint(slider->xOf(0.8), y));
    MediaPlayer& sound = *window->movie();
    const double secondsPerPixel = 2.0 / slider->width();
    EXPECT_NEAR(sound.selection().first, 0.4, 2 * secondsPerPixel);
    EXPECT_NEAR(sound.selection().second, 0.4, 2 * secondsPerPixel);

    window->PlaymodeMatrix(nullptr);  // no cell: nothing changes
    for (int tag : {0, 2}) {
        auto* cell = window->control(SoundOutlet::setPlaymodeMatrix)
                         ->findChild<QRadioButton*>(QStringLiteral("setPlaymodeMatrix_%1").arg(tag));
        ASSERT_TRUE(cell);
        cell->click();
    }
    EXPECT_EQ(window->playMode(), 2);
    EXPECT_EQ(PlaymodeA[0], 2);
    EXPECT_TRUE(test::processEventsUntil([&] { return sound.currentTime() >= 0.4; }));
    ASSERT_TRUE(test::processEventsUntil([&] { return !sound.isPlaying(); }));
    EXPECT_LT(sound.currentTime(), 1.5) << "played on past the selection";
    // A click on the bar moves the sound there (a paused sound without a device reports its time less
    // the output's buffer).
    QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier, QPoint(slider->xOf(1.5), y));
    EXPECT_TRUE(test::processEventsUntil([&] { return std::abs(sound.currentTime() - 1.5) < 0.25; }))
        << sound.currentTime();
    WindowHandle(window->nibWindow()).close();
}

// "Sound Properties" opens beside its window, wholly on the screen's available area (not at the screen's
// top-left corner, where its title bar went above the screen and under the tool palette).
TEST_F(SoundWindowTest, ThePropertyPanelOpensBesideItsWindowOnTheScreen)
{
    QXSoundWindowController* window = openNext(2);
    ASSERT_TRUE(window);
    QWidget* owner = window->nibWindow();
    owner->move(WindowPlacement::availableArea(owner).topLeft() + QPoint(40, 60));
    window->movieProperties(nullptr);
    auto* panel = widget<QWidget>(window, SoundOutlet::moviePropertiesWindow);
    ASSERT_TRUE(panel);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->windowTitle(), "Sound Properties");
    const QRect area = WindowPlacement::availableArea(owner);
    const QRect frame = panel->frameGeometry();
    EXPECT_TRUE(area.contains(frame)) << "panel " << frame.x() << "," << frame.y();
    EXPECT_GE(frame.left(), owner->frameGeometry().right()) << "beside its window, to the right";
    EXPECT_EQ(frame.top(), owner->frameGeometry().top());
    WindowHandle(owner).close();
}

TEST_F(SoundWindowTest, TheOpenerHandsOverOneFileOrSeveralAndRefusesPathsThatDoNotFit)
{
    sounds(3);
    QXSoundWindowController* single = settled(openSoundBank({bank[1]}));
    ASSERT_TRUE(single);
    EXPECT_EQ(single->slot(), 0);
    EXPECT_EQ(openFromSFolder, 0);
    EXPECT_EQ(single->nibWindow()->windowTitle(), "w01.wav (1 sounds bank)");
    EXPECT_EQ(Control::stringValue(single->control(SoundOutlet::autoPlayEnabled)), "single file");
    EXPECT_EQ(QFileInfo(single->movie()->path()).fileName(), "w01.wav");

    QXSoundWindowController* folder = settled(openSoundBank(bank.mid(0, 3)));
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->slot(), 1);
    EXPECT_EQ(folder->numberOfRowsInTableView(), 3);
    EXPECT_EQ(
        folder->nibWindow()->windowTitle(),
        QStringLiteral("%1 ( 2 sounds bank)").arg(QFileInfo(QFileInfo(bank[0]).absolutePath()).fileName()));
    EXPECT_EQ(Control::stringValue(folder->control(SoundOutlet::autoPlayEnabled)), "select by mouse");
    EXPECT_EQ(Control::stringValue(folder->control(SoundOutlet::movieDuration)), "8000");

    testing::internal::CaptureStdout();
    EXPECT_EQ(openSoundBank({QString(1100, QChar(u'a'))}), nullptr);
    EXPECT_EQ(openSoundBank({}), nullptr);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(openSound, 2);
    WindowHandle(single->nibWindow()).close();
    WindowHandle(folder->nibWindow()).close();
}

TEST_F(SoundWindowTest, ALongFailureInTheNameFieldIsReachableWholeWithoutWideningTheWindow)
{
    const QString junk =
        QDir(test::tempFolder()).filePath(QString(180, QLatin1Char('n')) + QStringLiteral(".wav"));
    {
        QFile file(junk);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("no sound in here");
    }
    QXSoundWindowController* window = settled(openSoundBank({junk}));
    ASSERT_TRUE(window);
    const QString failure = window->problem();
    ASSERT_TRUE(failure.contains(junk)) << failure.toStdString();
    auto* name = widget<QLabel>(window, SoundOutlet::displayHeresoundName);
    ASSERT_TRUE(name);
    EXPECT_EQ(Control::stringValue(name), failure);
    EXPECT_EQ(name->toolTip(), failure);
    EXPECT_LT(window->nibWindow()->width(), name->fontMetrics().horizontalAdvance(failure));
    WindowHandle(window->nibWindow()).close();
}

TEST_F(SoundWindowTest, ABankLargerThanASlotHoldsIsCutAndTheUserIsToldOnce)
{
    const auto shownAlerts = [] {
        std::vector<QMessageBox*> alerts;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(widget);
                box && box->isVisible() && box->objectName() == "soundSlotAlert")
                alerts.push_back(box);
        return alerts;
    };
    const int listed = soundBankCapacity + 3;
    QStringList paths = sounds(1);
    for (int i = 1; i < listed; ++i)
        paths << QStringLiteral("/nonexistent/big/%1.wav").arg(i);
    testing::internal::CaptureStdout();
    auto* window = settled(openSoundBank(paths));
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->numberOfRowsInTableView(), soundBankCapacity);
    const std::vector<QMessageBox*> alerts = shownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    const QString told = QStringLiteral("Sound slot %1 holds %2 sounds; the other 3 are left out.")
                             .arg(window->slot() + 1)
                             .arg(soundBankCapacity);
    EXPECT_EQ(alerts[0]->text(), told);
    EXPECT_TRUE(alerts[0]->informativeText().contains(QString::number(listed)))
        << alerts[0]->informativeText().toStdString();
    EXPECT_NE(out.find(told.toStdString()), std::string::npos) << out;
    alerts[0]->close();

    // A bank that fits says nothing.
    QXSoundWindowController* small = openNext(2);
    ASSERT_TRUE(small);
    EXPECT_TRUE(shownAlerts().empty());
    WindowHandle(window->nibWindow()).close();
    WindowHandle(small->nibWindow()).close();
}

TEST_F(SoundWindowTest, TenSlotsOpenAtOnceAnswerStopAndPlayAndCloseInAnyOrder)
{
    SoundBlockX = 1;
    std::vector<QPointer<QXSoundWindowController>> windows;
    for (int slot = 0; slot < 10; ++slot)
        windows.push_back(openNext(1));
    for (int slot = 0; slot < 10; ++slot) {
        ASSERT_TRUE(windows[std::size_t(slot)]);
        EXPECT_EQ(windows[std::size_t(slot)]->slot(), slot);
    }
    EXPECT_EQ(SoundWindowOpenNumer, 10);
    // The title counts the banks opened so far as the rotation does: the tenth opening has turned it
    // back to 0, where the next bank goes to slot 0 again.
    EXPECT_EQ(windows[0]->nibWindow()->windowTitle(), "w00.wav (1 sounds bank)");
    EXPECT_EQ(windows[8]->nibWindow()->windowTitle(), "w00.wav ( 9 sounds bank)");
    EXPECT_EQ(windows[9]->nibWindow()->windowTitle(), "w00.wav ( 0 sounds bank)");
    EXPECT_EQ(openSound, 0);

    // The window shows something: its pixels are not all one colour.
    const QImage shot = windows[4]->nibWindow()->grab().toImage();
    const QRgb corner = shot.pixel(1, 1);
    bool varied = false;
    for (int y = 0; y < shot.height() && !varied; y += 3)
        for (int x = 0; x < shot.width() && !varied; x += 3)
            varied = shot.pixel(x, y) != corner;
    EXPECT_TRUE(varied);

    NotificationCenter::defaultCenter().postNotificationName(SetSoundStopNotification);
    ASSERT_TRUE(test::processEventsUntil([&] {
        return std::none_of(windows.begin(), windows.end(), [](auto& w) { return w->movie()->isPlaying(); });
    }));
    std::vector<int> order{3, 9, 0, 5, 1, 8, 2, 7, 4, 6};
    for (int i = 0; i < 5; ++i)
        WindowHandle(windows[std::size_t(order[std::size_t(i)])]->nibWindow()).close();
    ASSERT_TRUE(test::processEventsUntil([] { return SoundWindowOpenNumer == 5; }));
    EXPECT_EQ(openSound, 0);
    NotificationCenter::defaultCenter().postNotificationName(SetSoundPlayNotification);
    ASSERT_TRUE(test::processEventsUntil([&] {
        return std::all_of(order.begin() + 5, order.end(),
                           [&](int k) { return windows[std::size_t(k)]->movie()->isPlaying(); });
    }));
    for (int i = 5; i < 10; ++i)
        WindowHandle(windows[std::size_t(order[std::size_t(i)])]->nibWindow()).close();
    ASSERT_TRUE(test::processEventsUntil([] { return SoundWindowOpenNumer == 0; }));
    EXPECT_EQ(openSound, 0);
}

}  // namespace
}  // namespace nupo
