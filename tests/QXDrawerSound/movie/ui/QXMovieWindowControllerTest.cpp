// The movie window as the user meets it: loaded from the menu's nib with the chosen path, its picture
// (read back from the GL host), its popups and switches, the transport buttons that follow the switch,
// and a path that is no movie.
#include "QXDrawerSound/movie/MovieState.h"
#include "QXDrawerSound/movie/ui/QXMovieWindowController.h"
#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "platform/media/ui/MovieControllerBar.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"
#include "plots/settings/ui/SetDisplay.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"
#include "support/WindowTestSupport.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace nupo {
namespace {

class MovieWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MediaPlayer::Options options;
        options.audioOutput = false;
        options.videoOutput = true;
        QXMovieController::setMediaOptions(options);
        setPauseX = 1;
        DeviceConfig = 2;
        ploopSyncX = 0;
        OpenQT = 0;
        QString why;
        path = test::makeCounterMovie("window.mp4", 24, 10, &why);
        if (path.isEmpty())
            GTEST_SKIP() << why.toStdString();
    }

    QXMovieWindowController* open(const QString& moviePath)
    {
        NSStringToC(moviePath);
        QPointer<QXMovieWindowController> window =
            dynamic_cast<QXMovieWindowController*>(NibLoader::loadNibNamed("QXDrawerMovie"));
        EXPECT_TRUE(test::processEventsUntil([&] { return !window || !window->isOpening(); }));
        return window;
    }

    // Whether the player knows the picture's size: a size chosen before waits for it (until the next
    // tick), one chosen after applies at once.
    static bool pictureSizeKnown(QXMovieWindowController* window)
    {
        return test::processEventsUntil([&] { return window->movie()->videoWidth() > 0; });
    }

    QString path;
};

TEST_F(MovieWindowTest, ShowsTheFrameOfTheMovieAndItsControlsFollowTheSwitches)
{
    QPointer<QXMovieWindowController> window = open(path);
    ASSERT_TRUE(window);
    ASSERT_TRUE(window->movie());
    EXPECT_EQ(window->nibWindow()->windowTitle(), "Movie Window");
    EXPECT_TRUE(window->nibWindow()->isVisible());
    EXPECT_EQ(ShowQTWindow, 1);

    auto* sources = qobject_cast<QComboBox*>(window->control(MovieOutlet::SoundBrain));
    ASSERT_TRUE(sources);
    EXPECT_EQ(sources->count(), 6);
    sources->setCurrentIndex(4);  // "Coherence"
    window->selectPopup(MovieSoundBrainPopup, nullptr);
    EXPECT_EQ(window->popupNumber(MovieSoundBrainPopup), 4);

    auto* follow = qobject_cast<QCheckBox*>(window->control(MovieOutlet::setPloopSync));
    ASSERT_TRUE(follow);
    follow->click();
    EXPECT_EQ(ploopSyncX.load(), 1);
    EXPECT_EQ(OpenQT.load(), 1);
    EXPECT_TRUE(qobject_cast<QWidget*>(window->control(MovieOutlet::playButton))->isHidden());
    follow->click();
    EXPECT_FALSE(qobject_cast<QWidget*>(window->control(MovieOutlet::playButton))->isHidden());

    // The band slider of Theta shows its frame: 0.25 of the movie, frame 6 of 24 (read in the middle of
    // the picture, which fills the window's height and leaves black bars beside it).
    window->setBandSlider(2, window->bandTime(2));
    if (!window->movieHost()) {
        GTEST_SKIP() << "no GL: the picture is not drawn";
    }
    int frame = -1;
    EXPECT_TRUE(test::processEventsUntil([&] {
        const QImage image = window->movieHost()->grabFramebuffer();
        frame = test::frameOfLevel(qGray(image.pixel(image.width() / 2, image.height() * 2 / 3)));
        return frame == 6;
    })) << "shown "
        << frame;

    // The display settings' transparency reaches the next window.
    windowAlphaOfMovie(0.5f);
    EXPECT_FLOAT_EQ(WQTAlphaValue, 0.5f);
    WQTAlphaValue = 1.0f;

    window->nibWindow()->close();
    EXPECT_TRUE(test::processEventsUntil([&] { return window.isNull(); }));
    EXPECT_EQ(ShowQTWindow, 0);
    EXPECT_EQ(ploopSyncX.load(), 0);
}

// In the window's default size the picture gets the room and the controls the rest: the picture takes at
// least two fifths of the window's height (the controls' tabs used to leave it a sixth), and every control
// stays inside the window.
TEST_F(MovieWindowTest, InItsDefaultSizeThePictureGetsTheRoomAndTheControlsTheRest)
{
    OpenQTX = 0;
    QPointer<QXMovieWindowController> window = open(path);
    ASSERT_TRUE(window && window->movie() && window->nibWindow());
    QWidget* frame = window->nibWindow();
    auto* picture = frame->findChild<QWidget*>("movieViewObject");
    auto* tabs = frame->findChild<QWidget*>("controlTabs");
    ASSERT_TRUE(picture && tabs);
    const auto share = [&] { return double(picture->height()) / frame->height(); };
    EXPECT_TRUE(test::processEventsUntil([&] { return frame->isVisible() && share() >= 0.4; }))
        << "the picture has " << picture->height() << " of " << frame->height() << " px";
    EXPECT_LE(frame->height(), 560);  // the default size, not one grown for the controls
    const QRect controls(tabs->mapTo(frame, QPoint(0, 0)), tabs->size());
    EXPECT_TRUE(frame->rect().contains(controls));
    for (const char* name : {"setPlaymodeMatrix", "propertiesButton", "setEyedeltaLSlider", "setBetaHSlider",
                             "setFrameSlider", "setRateSlider", "displayHereploop"})
        EXPECT_NE(frame->findChild<QWidget*>(name), nullptr) << name;
    frame->close();
    EXPECT_TRUE(test::processEventsUntil([&] { return window.isNull(); }));
}

// Every switch of the player has its check box in the window, wired to its action: a click stores the
// switch, a second clears it; the two switches the player does not read change nothing else.
TEST_F(MovieWindowTest, EverySwitchHasACheckBoxThatSetsAndClearsIt)
{
    QPointer<QXMovieWindowController> window = open(path);
    ASSERT_TRUE(window);
    ASSERT_TRUE(window->movie());
    const MovieOutlet boxes[movieSwitchCount] = {
        MovieOutlet::setRateON,       MovieOutlet::setSoundFrameSpeedControl, MovieOutlet::setSoundControl,
        MovieOutlet::setFrameControl, MovieOutlet::setSpeedControl,           MovieOutlet::setOptionControl,
        MovieOutlet::setFrameChangeBS};
    for (int which = 0; which < movieSwitchCount; ++which) {
        auto* box = qobject_cast<QCheckBox*>(window->control(boxes[which]));
        ASSERT_TRUE(box) << "switch " << which << " has no check box";
        EXPECT_TRUE(box->isVisibleTo(window->nibWindow())) << which;
        EXPECT_FALSE(box->text().isEmpty()) << which;
        box->click();
        EXPECT_EQ(window->switchValue(which), 1) << which;
        EXPECT_TRUE(box->isChecked());
        box->click();
        EXPECT_EQ(window->switchValue(which), 0) << which;
    }
    // Switched on in code, the check box shows it.
    window->setSwitch(FrameControlSwitch, 1);
    EXPECT_TRUE(qobject_cast<QCheckBox*>(window->control(MovieOutlet::setFrameControl))->isChecked());

    window->movie()->setRate(1.5);
    qobject_cast<QCheckBox*>(window->control(MovieOutlet::setSoundFrameSpeedControl))->click();
    qobject_cast<QCheckBox*>(window->control(MovieOutlet::setSoundFrameSpeedControl))->click();
    EXPECT_DOUBLE_EQ(window->movie()->rate(), 1.5);
    window->nibWindow()->close();
    EXPECT_TRUE(test::processEventsUntil([&] { return window.isNull(); }));
}

// "Open Movie and Play with Brainwave…" plays the movie window that is open rather than opening a second
// one on top of it; with none open it opens the movie chosen last.
// The controller bar under the movie: shown in sizes 0 to 3, hidden in 4 and 5, the movie view (picture
// and bar) taking its size each time; seeking, volume and a selection made with the mouse.
TEST_F(MovieWindowTest, TheControllerBarFollowsTheSizeAndItsMouseSeeksSetsVolumeAndSelects)
{
    QPointer<QXMovieWindowController> window = open(path);  // 64 x 48, 2.4 s
    ASSERT_TRUE(window && window->movie());
    MovieControllerBar* bar = window->movieControllerBar();
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->isVisible());
    peakFFTA[0] = 10.0f;  // "by peak power": 10 x 0.1, the picture's own size
    peakFFTA[1] = 10.0f;
    const int barHeight = MovieControllerBar::barHeight;
    ASSERT_TRUE(pictureSizeKnown(window));
    const struct {
        int choice;
        bool barShown;
        int pictureHeight;
    } sizes[] = {{1, true, 48}, {2, true, 24}, {3, true, 96}, {4, false, 48}, {5, false, 48}, {0, true, -1}};
    for (const auto& size : sizes) {
        window->setMoviesizeNumber(size.choice);
        QApplication::processEvents();
        EXPECT_EQ(bar->isVisible(), size.barShown) << "size " << size.choice;
        EXPECT_EQ(window->controllerBarShown(), size.barShown);
        if (size.pictureHeight > 0 && window->movieHost()) {
            EXPECT_EQ(window->movieBox()->height(), size.pictureHeight + (size.barShown ? barHeight : 0))
                << "size " << size.choice;
        }
    }
    // Back to "Size to fit window": the movie view fills its place again, the bar under the picture.
    EXPECT_GT(window->movieBox()->height(), 96 + barHeight);

    MediaPlayer& player = *window->movie();
    MovieTimeSlider* slider = bar->timeSlider();
    ASSERT_TRUE(test::processEventsUntil([&] {
        bar->refresh();
        return slider->timeAt(slider->width()) > 2.0;
    }));
    // A click on the slider moves the movie there.
    QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier, QPoint(slider->xOf(1.2), slider->height() / 2));
    EXPECT_TRUE(test::processEventsUntil([&] { return std::abs(player.currentTime() - 1.2) < 0.1; }))
        << player.currentTime();
    // The volume slider sets the movie's volume.
    bar->volumeSlider()->setValue(30);
    EXPECT_NEAR(player.volume(), 0.3, 0.01);

    // Shift-drag selects from 0.5 s to 1.0 s; "Selection" then plays that part only.
    const int y = slider->height() / 2;
    QTest::mousePress(slider, Qt::LeftButton, Qt::ShiftModifier, QPoint(slider->xOf(0.5), y));
    QTest::mouseMove(slider, QPoint(slider->xOf(0.8), y));
    QTest::mouseMove(slider, QPoint(slider->xOf(1.0), y));
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::ShiftModifier, QPoint(slider->xOf(1.0), y));
    const auto [start, length] = player.selection();
    const double secondsPerPixel = 2.4 / slider->width();
    EXPECT_NEAR(start, 0.5, 2 * secondsPerPixel);
    EXPECT_NEAR(length, 0.5, 2 * secondsPerPixel);
    auto mode = [&](int tag) {
        auto* cell = window->control(MovieOutlet::setPlaymodeMatrix)
                         ->findChild<QRadioButton*>(QStringLiteral("setPlaymodeMatrix_%1").arg(tag));
        EXPECT_TRUE(cell);
        if (cell)
            cell->click();
        EXPECT_EQ(window->playMode(), tag);
    };
    mode(0);  // once
    mode(2);
    QTest::mouseClick(bar->playButton(), Qt::LeftButton);
    EXPECT_TRUE(window->playButtonShowsPause());
    EXPECT_TRUE(test::processEventsUntil([&] { return player.currentTime() >= 0.5; }));
    ASSERT_TRUE(test::processEventsUntil([&] { return !player.isPlaying(); }));
    EXPECT_LT(player.currentTime(), 1.7) << "played on past the selection";
    EXPECT_TRUE(test::processEventsUntil([&] { return !window->playButtonShowsPause(); }));

    // Looping, the selection plays over and over: the position comes back to its start.
    mode(1);
    mode(2);
    QTest::mouseClick(bar->playButton(), Qt::LeftButton);
    double latest = 0.0;
    double furthest = 0.0;
    EXPECT_TRUE(test::processEventsUntil([&] {
        const double now = player.currentTime();
        const bool wrapped = now < latest - 0.2;
        latest = now;
        furthest = std::max(furthest, now);
        return wrapped;
    }));
    EXPECT_LT(furthest, 1.7);
    QTest::mouseClick(bar->playButton(), Qt::LeftButton);
    EXPECT_TRUE(test::processEventsUntil([&] { return !player.isPlaying(); }));

    // A Shift-click clears the selection.
    QTest::mouseClick(slider, Qt::LeftButton, Qt::ShiftModifier, QPoint(slider->xOf(1.5), y));
    EXPECT_EQ(player.selection().second, 0.0);
    window->nibWindow()->close();
    EXPECT_TRUE(test::processEventsUntil([&] { return window.isNull(); }));
}

TEST_F(MovieWindowTest, APictureSizedByAStrongPeakGrowsTheWindowOnlyAsFarAsTheScreenHasRoom)
{
    QPointer<QXMovieWindowController> window = open(path);  // 64 x 48
    ASSERT_TRUE(window && window->movie() && window->nibWindow());
    QWidget* frame = window->nibWindow();
    const QRect area = WindowPlacement::availableArea(frame);
    ASSERT_TRUE(pictureSizeKnown(window));
    // "by peak power" at a peak of 1000: a hundred times the picture's size, far more than any screen.
    peakFFTA[0] = 1000.0f;
    window->setMoviesizeNumber(4);
    QApplication::processEvents();
    const QSize picture = window->movieBox()->size();
    EXPECT_GT(picture.width(), 64);  // as large as fits, not left at its own size
    EXPECT_LT(picture.width(), 6400);
    EXPECT_NEAR(double(picture.width()) / picture.height(), 64.0 / 48.0, 0.05);  // in its own proportions
    // The window grows to hold the whole picture and stays on the screen (a window manager moves and
    // sizes it after it was asked to).
    EXPECT_TRUE(test::processEventsUntil([&] {
        return area.contains(WindowPlacement::frameOf(frame)) && frame->width() >= picture.width() &&
               frame->height() >= picture.height();
    })) << WindowPlacement::frameOf(frame).x()
        << ", " << WindowPlacement::frameOf(frame).y() << " " << WindowPlacement::frameOf(frame).width()
        << " x " << WindowPlacement::frameOf(frame).height();
    // Sized again at the same peak (as each tick does), it keeps that size.
    window->setMoviesizeNumber(4);
    QApplication::processEvents();
    EXPECT_EQ(window->movieBox()->size(), picture);
    peakFFTA[0] = 0.0f;
    frame->close();
}

TEST_F(MovieWindowTest, AFrameStoredInADocumentIsWhereTheWindowOpensAndStaysStored)
{
    // Windows opening over others are moved where they cover least; the movie window's stored frame is
    // its own, even over another window, and must not be overwritten by such a move.
    WindowPlacement::watchTopLevelWindows();
    const QRect area = WindowPlacement::availableArea(nullptr);
    QWidget blocker;
    blocker.setWindowTitle("Rawwave Window");
    blocker.setGeometry(area.left() + 10, area.top() + 30, area.width() / 2, area.height() / 2);
    blocker.show();
    const QRectF stored = WindowHandle::fromQt(QRectF(area.left() + 60, area.top() + 80, 655, 552));
    const float kept[4] = {float(stored.x()), float(stored.y()), float(stored.width()),
                           float(stored.height())};
    std::copy(std::begin(kept), std::end(kept), NomalQTSizeR);
    OpenQTX = 1;
    QPointer<QXMovieWindowController> window = open(path);
    OpenQTX = 0;
    ASSERT_TRUE(window && window->movie() && window->nibWindow());
    // Read once the window stands settled (a window manager maps and frames it after it was shown).
    ASSERT_TRUE(test::processEventsUntil([&] { return test::windowSettled(window->nibWindow()); }));
    EXPECT_EQ(WindowHandle(window->nibWindow()).frame().topLeft(), stored.topLeft());
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(NomalQTSizeR[k], kept[k]) << k;
    window->nibWindow()->close();
    EXPECT_TRUE(test::processEventsUntil([&] { return window.isNull(); }));
}

TEST_F(MovieWindowTest, PlayingWithTheRecordingReusesTheOpenMovieWindow)
{
    QPointer<QXMovieWindowController> first = open(path);
    ASSERT_TRUE(first && first->movie());
    EXPECT_EQ(QXMovieWindowController::openOrReuse(nullptr), first.data());
    EXPECT_EQ(QXMovieWindowController::openWindows().size(), 1u);

    first->nibWindow()->close();
    ASSERT_TRUE(test::processEventsUntil([&] { return first.isNull(); }));
    QPointer<QXMovieWindowController> second = QXMovieWindowController::openOrReuse(nullptr);
    ASSERT_TRUE(test::processEventsUntil([&] { return !second || !second->isOpening(); }));
    ASSERT_TRUE(second && second->movie());
    EXPECT_EQ(second->fileName(), "window.mp4");
    second->nibWindow()->close();
    EXPECT_TRUE(test::processEventsUntil([&] { return second.isNull(); }));
}

TEST_F(MovieWindowTest, APathThatIsNoMovieAlertsAndTheWindowGoes)
{
    QPointer<QXMovieWindowController> window = open(test::writeTone("not-a-movie.wav", 0.5));
    ASSERT_TRUE(window);
    EXPECT_EQ(window->movie(), nullptr);
    EXPECT_EQ(OpenQT.load(), 0);
    QMessageBox* alert = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            alert = box;
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->text(), "Can not open movie file. Dedir Urav file only open.");
    EXPECT_TRUE(alert->informativeText().endsWith("\n\nThe file has no pictures."))
        << alert->informativeText().toStdString();
    EXPECT_TRUE(test::processEventsUntil([&] { return window.isNull(); }));
    alert->close();
}

}  // namespace
}  // namespace nupo
