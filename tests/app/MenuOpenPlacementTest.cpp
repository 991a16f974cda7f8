// Runs once per screen size (see CMakeLists.txt): windows opened from the menu one after another.
#include <gtest/gtest.h>

#include "app/NUPO4DrawAppDelegate.h"
#include "platform/appkit/ui/WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>

using namespace nupo;

namespace {

QString described(const QWidget* window)
{
    const QRect f = WindowPlacement::frameOf(window);
    return QStringLiteral("%1 at %2,%3 %4x%5")
        .arg(window->windowTitle())
        .arg(f.x())
        .arg(f.y())
        .arg(f.width())
        .arg(f.height());
}

QList<QWidget*> shownWindows()
{
    QList<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowType() == Qt::Window)
            windows.append(window);
    return windows;
}

TEST(MenuOpenPlacement, EachWindowFitsTheScreenAndTheLastLeavesTheControlsOfTheOthersUncovered)
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    SCOPED_TRACE(QStringLiteral("screen %1x%2").arg(screen.width()).arg(screen.height()).toStdString());
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    delegate.applicationDidFinishLaunching(nullptr);
    QMainWindow* controlPanel = delegate.mainWindow();
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
    if (screen.height() >= 1200) {
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
    delegate.applicationWillTerminate(nullptr);
}

}  // namespace
