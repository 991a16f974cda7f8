// Runs once per screen size (see CMakeLists.txt): windows opened from the menu one after another.
#include <gtest/gtest.h>

#include "app/NUPO4DrawAppDelegate.h"
#include "platform/appkit/ui/WindowPlacement.h"

#include "PlacementTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>

using namespace nupo;
using nupo::test::described;
using nupo::test::shownWindows;

namespace {

TEST(MenuOpenPlacement, EachWindowFitsTheScreenAndTheLastLeavesTheControlsOfTheOthersUncovered)
{
    SCOPED_TRACE(test::screenSize());
    QMainWindow* controlPanel = test::launchedControlPanel();
    ASSERT_NE(controlPanel, nullptr);
    const QRect area = WindowPlacement::availableArea(controlPanel);

    // The bar graph, the drawing, the media browser, the preferences and, last, the brain-switch mixer:
    // with the large screen taken, the mixer used to open over the bar graph's controls though a plot or
    // the drawing's canvas had room for it.
    const char* const commands[] = {"showQX2DBarGarph", "showDrawWindow", "showSelectFilePanel", "showPanelX",
                                    "showBezierView"};
    QWidget* opened = nullptr;
    for (const char* command : commands) {
        SCOPED_TRACE(command);
        auto* item = controlPanel->findChild<QAction*>(QString::fromLatin1(command));
        ASSERT_NE(item, nullptr);
        const QList<QWidget*> before = shownWindows();
        item->trigger();
        opened = nullptr;
        for (QWidget* window : shownWindows())
            if (!before.contains(window))
                opened = window;
        ASSERT_NE(opened, nullptr);
        const QRect frame = WindowPlacement::frameOf(opened);
        EXPECT_TRUE(area.contains(frame)) << described(opened).toStdString();
        for (const QRect& palette : WindowPlacement::keptClearFrames(opened))
            EXPECT_FALSE(frame.intersects(palette))
                << described(opened).toStdString() << " is under the palette";
    }
    ASSERT_EQ(opened->windowTitle(), "Brain-Switch Mixer");
    if (QGuiApplication::primaryScreen()->geometry().height() >= 1200) {
        const QRect mixer = WindowPlacement::frameOf(opened);
        for (const QWidget* window : shownWindows()) {
            if (window == opened)
                continue;
            for (const QRect& control : WindowPlacement::controlsOf(window))
                EXPECT_FALSE(mixer.intersects(control))
                    << described(opened).toStdString() << " covers a control of "
                    << described(window).toStdString();
        }
    }
    NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().applicationWillTerminate(nullptr);
}

}  // namespace
