#include <gtest/gtest.h>

#include "core/Transport.h"
#include "core/ui/TypeTextHere.h"
#include "platform/appkit/NotificationCenter.h"
#include "platform/appkit/ui/NibLoader.h"
#include "shared/CoreState.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QSlider>

using namespace nupo;

namespace {

// The Control Panel as the program opens it, with its widgets found by name.
struct ControlPanel {
    ControlPanel()
    {
        controller = NibLoader::loadNibNamed(QStringLiteral("MainMenu"));
        window = controller ? controller->nibWindow() : nullptr;
    }
    ~ControlPanel()
    {
        if (window)
            window->close();
        QApplication::processEvents();
    }
    template <class T>
    T* find(const char* name) const
    {
        return window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    }
    void tick() const { static_cast<TypeTextHere*>(controller)->timerUpdate(nullptr); }

    NibController* controller = nullptr;
    QWidget* window = nullptr;
};

void recordingOf(int samples)
{
    maxploop = samples;
    ploopStart = 0;
    ploop = 0;
    setRecX = 1;
    setPauseX = 0;
}

}  // namespace

TEST(ControlPanel, OpensAsTheMainWindowWithEveryControl)
{
    ControlPanel panel;
    ASSERT_NE(panel.window, nullptr);
    EXPECT_TRUE(qobject_cast<QMainWindow*>(panel.window));
    EXPECT_EQ(panel.window->windowTitle(), "Control Panel");
    EXPECT_NE(dynamic_cast<TypeTextHere*>(panel.controller), nullptr);
    for (const char* name :
         {"playButton", "recordButton", "pauseButton", "gotoBeginningButton", "loopModeButton"})
        EXPECT_NE(panel.find<QAbstractButton>(name), nullptr) << name;
    EXPECT_NE(panel.find<QSlider>("timeSlider"), nullptr);
    EXPECT_NE(panel.find<QLabel>("timeField"), nullptr);

    // Drawn: the time display leaves dark text on the light window.
    const QImage shot = panel.window->grab().toImage();
    const QLabel* time = panel.find<QLabel>("timeField");
    const QRect area(time->mapTo(panel.window, QPoint(0, 0)), time->size());
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            dark += qGray(shot.pixel(x, y)) < 100;
    EXPECT_GT(dark, 50);
}

TEST(ControlPanel, ButtonsDriveTheTransportAndTheTickShowsIt)
{
    recordingOf(120 * 60);
    SampleSpeed = 120;
    ControlPanel panel;
    ASSERT_NE(panel.window, nullptr);

    panel.find<QAbstractButton>("playButton")->click();
    EXPECT_EQ(setRecX.load(), 0);
    EXPECT_EQ(setPauseX.load(), 0);
    Transport::sharedTransport().advanceReplay(2.5);
    panel.tick();
    EXPECT_EQ(panel.find<QLabel>("timeField")->text(), "00:00:02.500");
    EXPECT_EQ(panel.find<QSlider>("timeSlider")->maximum(), 7200);
    EXPECT_EQ(panel.find<QSlider>("timeSlider")->value(), 300);
    EXPECT_TRUE(panel.find<QAbstractButton>("playButton")->isChecked());

    panel.find<QAbstractButton>("pauseButton")->click();
    EXPECT_EQ(setPauseX.load(), 1);
    EXPECT_TRUE(panel.find<QAbstractButton>("pauseButton")->isChecked());
    EXPECT_FALSE(panel.find<QAbstractButton>("playButton")->isChecked());

    panel.find<QAbstractButton>("loopModeButton")->click();
    EXPECT_EQ(setLoopModeX.load(), 1);
    panel.find<QAbstractButton>("loopModeButton")->click();
    EXPECT_EQ(setLoopModeX.load(), 0);

    panel.find<QAbstractButton>("gotoBeginningButton")->click();
    EXPECT_EQ(ploop.load(), 0);

    panel.find<QAbstractButton>("recordButton")->click();
    EXPECT_EQ(setRecX.load(), 1);
    EXPECT_EQ(setPauseX.load(), 0);
}

TEST(ControlPanel, TimeSliderJumpsWhenMovedAndFollowsTheGoToPoint)
{
    recordingOf(1000);
    ControlPanel panel;
    ASSERT_NE(panel.window, nullptr);
    QSlider* slider = panel.find<QSlider>("timeSlider");
    panel.tick();

    // A user's move (here a page step) jumps the play position.
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(ploop.load(), slider->value());
    EXPECT_GT(ploop.load(), 0);
    EXPECT_EQ(tploopAA.load(), ploop.load());

    // A spectrum view's go-to point moves the slider only.
    const int before = ploop.load();
    ploopZZZ = 640;
    NotificationCenter::defaultCenter().postNotificationName(setTimeSliderNowNotification, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(slider->value(), 640);
    EXPECT_EQ(ploop.load(), before);
}

TEST(ControlPanel, GoToStartAndPlayNotificationRestartsPlayback)
{
    recordingOf(1000);
    ploopStart = 100;
    ploop = 700;
    setPauseX = 1;
    ControlPanel panel;
    ASSERT_NE(panel.window, nullptr);
    NotificationCenter::defaultCenter().postNotificationName(gotoStartAndPlayNotification, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(ploop.load(), 100);
    EXPECT_EQ(setRecX.load(), 0);
    EXPECT_EQ(setPauseX.load(), 0);
}

TEST(ControlPanel, SharedPanelNamesItselfOnMovieNotifications)
{
    recordingOf(1000);
    ploopSyncX = 1;
    OpenQT = 1;
    const void* object = nullptr;
    ScopedObserver o(setPlayMovieNotification, nullptr,
                     [&object](const Notification& n) { object = n.object; });
    TypeTextHere::sharedTypeTextHere().setPlay(nullptr);
    EXPECT_EQ(object, &TypeTextHere::sharedTypeTextHere());
}
