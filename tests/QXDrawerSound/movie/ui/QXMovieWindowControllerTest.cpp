// The movie window as the user meets it: loaded from the menu's nib with the chosen path, its picture
// (read back from the GL host), its popups and switches, the transport buttons that follow the switch,
// and a path that is no movie.
#include "QXDrawerSound/movie/MovieState.h"
#include "QXDrawerSound/movie/ui/QXMovieWindowController.h"
#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"
#include "plots/settings/ui/SetDisplay.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

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
        return dynamic_cast<QXMovieWindowController*>(NibLoader::loadNibNamed("QXDrawerMovie"));
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

// "Open Movie and Play with Brainwave…" plays the movie window that is open rather than opening a second
// one on top of it; with none open it opens the movie chosen last.
TEST_F(MovieWindowTest, PlayingWithTheRecordingReusesTheOpenMovieWindow)
{
    QPointer<QXMovieWindowController> first = open(path);
    ASSERT_TRUE(first && first->movie());
    EXPECT_EQ(QXMovieWindowController::openOrReuse(nullptr), first.data());
    EXPECT_EQ(QXMovieWindowController::openWindows().size(), 1u);

    first->nibWindow()->close();
    ASSERT_TRUE(test::processEventsUntil([&] { return first.isNull(); }));
    QPointer<QXMovieWindowController> second = QXMovieWindowController::openOrReuse(nullptr);
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
    EXPECT_TRUE(test::processEventsUntil([&] { return window.isNull(); }));
    alert->close();
}

}  // namespace
}  // namespace nupo
