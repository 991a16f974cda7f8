// Runs once per screen size (see CMakeLists.txt): the start-up's windows at that size.
#include <gtest/gtest.h>

#include "app/NUPO4DrawAppDelegate.h"
#include "core/ui/QXAppController.h"
#include "core/ui/WindowController.h"
#include "platform/appkit/ui/WindowPlacement.h"

#include "PlacementTestSupport.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>

using namespace nupo;
using nupo::test::described;
using nupo::test::shownWindows;

namespace {

// No shown window overlaps the Control Panel or a window that floats above the others, and every
// window lies on the screen.
void expectNothingCovered(const QWidget* controlPanel)
{
    const QRect area = WindowPlacement::availableArea(controlPanel);
    const QList<QWidget*> windows = shownWindows();
    const QList<QRect> floating = WindowPlacement::keptClearFrames(nullptr);
    EXPECT_FALSE(floating.isEmpty()) << "the tool palette floats above the other windows";
    for (const QWidget* window : windows) {
        const QRect frame = WindowPlacement::frameOf(window);
        EXPECT_TRUE(area.contains(frame)) << described(window).toStdString();
        if (window != controlPanel) {
            EXPECT_FALSE(frame.intersects(WindowPlacement::frameOf(controlPanel)))
                << described(window).toStdString() << " covers " << described(controlPanel).toStdString();
        }
        for (const QRect& palette : WindowPlacement::keptClearFrames(window)) {
            EXPECT_FALSE(frame.intersects(palette))
                << described(window).toStdString() << " is under the palette";
        }
    }
}

TEST(StartPlacement, NothingCoversTheControlPanelOrLiesUnderThePalette)
{
    SCOPED_TRACE(test::screenSize());
    QMainWindow* controlPanel = test::launchedControlPanel();
    ASSERT_NE(controlPanel, nullptr);
    ASSERT_TRUE(controlPanel->isVisible());
    const QList<QWidget*> windows = shownWindows();
    ASSERT_TRUE(std::any_of(windows.begin(), windows.end(),
                            [](const QWidget* w) { return w->windowTitle() == "Rawwave Window"; }));
    expectNothingCovered(controlPanel);

    // A window opened later opens clear of the palette, which stays above it.
    WindowController::sharedWindowController().showPanelX(0);
    const QList<QWidget*> after = shownWindows();
    ASSERT_GT(after.size(), windows.size());
    for (const QWidget* window : after)
        for (const QRect& palette : WindowPlacement::keptClearFrames(window))
            EXPECT_FALSE(WindowPlacement::frameOf(window).intersects(palette))
                << described(window).toStdString() << " is under the palette";
    WindowController::sharedWindowController().window()->close();

    // The layout for this screen puts the four plot windows side by side, none over another or over the
    // Control Panel, also where their nibs ask for more room than the layout gives.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != controlPanel && window->isVisible() && window->windowTitle() == "Rawwave Window")
            window->close();
    QXAppController& menu = QXAppController::sharedQXAppController();
    if (QGuiApplication::primaryScreen()->geometry().width() < 1280)
        menu.showAll1024(nullptr);
    else
        menu.showAll1900(nullptr);
    menu.showQXRawwaveGraph(nullptr);
    menu.showQX2DBarGarph(nullptr);
    menu.showQX2DSpectrum(nullptr);
    menu.showFFTPanel(nullptr);
    QList<QWidget*> plots;
    for (QWidget* window : shownWindows())
        if (window->windowTitle().endsWith("Window"))
            plots.append(window);
    ASSERT_EQ(plots.size(), 4);
    for (int i = 0; i < plots.size(); ++i)
        for (int j = i + 1; j < plots.size(); ++j)
            EXPECT_FALSE(WindowPlacement::frameOf(plots[i]).intersects(WindowPlacement::frameOf(plots[j])))
                << described(plots[i]).toStdString() << " overlaps " << described(plots[j]).toStdString();
    expectNothingCovered(controlPanel);
    NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().applicationWillTerminate(nullptr);
}

}  // namespace
