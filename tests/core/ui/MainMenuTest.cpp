#include <gtest/gtest.h>

#include "QXDrawerSound/player/SoundSlotTables.h"
#include "support/TestSupport.h"

#include "core/ui/QXAppController.h"
#include "core/ui/WindowController.h"
#include "platform/appkit/NotificationCenter.h"
#include "platform/appkit/ui/Beep.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/frame/ui/PlotWindowController.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "shared/CoreState.h"
#include "views3d/spectrum/ui/Spectrum3DWindowState.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace nupo;

namespace {

QXAppController& menu()
{
    return QXAppController::sharedQXAppController();
}

QList<QAction*> menuItems(QMenuBar& bar)
{
    QList<QAction*> items;
    for (QAction* top : bar.actions())
        if (top->menu())
            for (QAction* item : top->menu()->actions())
                if (!item->isSeparator())
                    items << item;
    return items;
}

QAction* itemFor(QMenuBar& bar, const QString& action)
{
    for (QAction* item : menuItems(bar))
        if (item->objectName() == action)
            return item;
    return nullptr;
}

}  // namespace

TEST(MainMenu, HoldsEveryActionOfTheApplication)
{
    QMenuBar bar;
    menu().fillMenuBar(&bar);
    const QStringList expected{"showQXRawwaveGraph",
                               "showQXRawwaveGraphFront",
                               "showQX2DBarGarph",
                               "showQX2DBarGarphFront",
                               "showQX2DSpectrum",
                               "showQX2DSpectrumFront",
                               "showFFTPanel",
                               "showFFTPanelFront",
                               "showSelectQXnewave",
                               "showDrawWindow",
                               "showToolPalette",
                               "showBezierView",
                               "showAll1900",
                               "showAll1600",
                               "showAll1280",
                               "showAll1024",
                               "closeAllWindow",
                               "setClear3DWaterFallImage",
                               "setPlayModeAction",
                               "setPauseVideoandBrainwave",
                               "setSimpleMIDIplayOFF",
                               "setSimpleMIDIplay1",
                               "setSimpleMIDIplay6",
                               "setOFFMIDIout",
                               "setONMIDIout",
                               "setMIDIInstrument",
                               "setStartAllSound",
                               "setStopAllSound",
                               "setResetSoundBankIndex",
                               "showMovieFrames",
                               "openMovieAndPlaywithBrainwaveQ",
                               "showSelectFilePanel",
                               "showSelectFileRunPanel",
                               "showPanelX"};
    for (const QString& name : expected)
        EXPECT_NE(itemFor(bar, name), nullptr) << name.toStdString();
    // Every item reaches an action.
    for (QAction* item : menuItems(bar))
        EXPECT_TRUE(menu().actionNamed(item->objectName())) << item->objectName().toStdString();
}

TEST(MainMenu, TheBrowserForRunningFilesIsTheMediaBrowser)
{
    // Both items end the same way (the browser's window, or its missing nib where it is not built in);
    // no window of their own is looked for.
    QMenuBar bar;
    menu().fillMenuBar(&bar);
    const auto outcome = [&bar](const char* item) {
        testing::internal::CaptureStdout();
        const int beeps = beepCount();
        itemFor(bar, item)->trigger();
        return std::make_pair(testing::internal::GetCapturedStdout(), beepCount() - beeps);
    };
    const auto running = outcome("showSelectFileRunPanel");
    EXPECT_EQ(running.first.find("MainMenuC"), std::string::npos) << running.first;
    EXPECT_EQ(running, outcome("showSelectFilePanel"));
}

TEST(MainMenu, FrontVariantsSetTheirFlagsWhichFollowTheFirstWindowOfTheirKind)
{
    testing::internal::CaptureStdout();
    menu().showFFTPanelFront(nullptr);
    EXPECT_EQ(showFFTPanelFront.load(), 1);
    // A second window of the kind leaves the switch to the first one, whose choice documents keep; once
    // the first one closes, the second one's choice is the kind's.
    menu().showFFTPanel(nullptr);
    EXPECT_EQ(showFFTPanelFront.load(), 1);
    if (PlotWindowController* first = PlotWindowController::firstWindowOf(spectrum3DWindowState)) {
        first->windowWidget()->close();
        EXPECT_EQ(showFFTPanelFront.load(), 0);
    }
    menu().showQX2DBarGarphFront(nullptr);
    EXPECT_EQ(showQX2DBarGarphFront.load(), 1);
    testing::internal::GetCapturedStdout();
}

TEST(MainMenu, SoundItemsPostToEverySlotWithTheControllerAsObject)
{
    QStringList posted;
    ScopedObserver play(SetSoundPlayNotification, &menu(),
                        [&posted](const Notification& n) { posted << n.name; });
    ScopedObserver stop(SetSoundStopNotification, &menu(),
                        [&posted](const Notification& n) { posted << n.name; });
    menu().setStartAllSound(nullptr);
    menu().setStopAllSound(nullptr);
    EXPECT_EQ(posted, (QStringList{"SetSoundPlayNotification", "SetSoundStopNotification"}));
}

TEST(MainMenu, ResettingTheSoundBankIndexOpensTheNextBankInSlotOne)
{
    openSound = 7;
    menu().setResetSoundBankIndex(nullptr);
    EXPECT_EQ(openSound, 0);
}

TEST(MainMenu, PauseTogglesTheTransportAndTellsTheMovie)
{
    maxploop = 1000;
    setPauseX = 0;
    OpenQT = 0;
    int pauses = 0;
    ScopedObserver o(setPauseMovieNotification, &menu(), [&pauses](const Notification&) { ++pauses; });
    menu().setPauseVideoandBrainwave(nullptr);
    EXPECT_EQ(setPauseX.load(), 1);
    EXPECT_EQ(pauses, 1);
    OpenQT = 1;  // the movie is paused by script instead
    menu().setPauseVideoandBrainwave(nullptr);
    EXPECT_EQ(setPauseX.load(), 0);
    EXPECT_EQ(pauses, 1);
}

TEST(MainMenu, ScreenLayoutsTileThePlotWindowsOnTheScreen)
{
    for (int width : {1900, 1600, 1280, 1024}) {
        const auto layout = QXAppController::layoutForScreenWidth(width);
        const QRectF frames[] = {layout.rawwave, layout.bargraph, layout.waterfall, layout.waterfallBS};
        for (int i = 0; i < 4; ++i) {
            EXPECT_GE(frames[i].left(), 0);
            EXPECT_LE(frames[i].right(), width);
            EXPECT_GE(frames[i].width(), width / 2 - 1);
            EXPECT_GE(frames[i].height(), 200);
            for (int j = i + 1; j < 4; ++j)
                EXPECT_FALSE(frames[i].intersects(frames[j])) << width << " " << i << " " << j;
        }
    }
    rawwaveWindowState.pendingFrameSet = 0;
    menu().showAll1280(nullptr);
    EXPECT_EQ(rawwaveWindowState.pendingFrameSet, 1);
    EXPECT_EQ(rawwaveWindowState.pendingFrame, QXAppController::layoutForScreenWidth(1280).rawwave);
    EXPECT_EQ(barGraphWindowState.pendingFrame, QXAppController::layoutForScreenWidth(1280).bargraph);
}

TEST(PreferencesWindow, OneTabPerPanelInNumberOrder)
{
    auto& prefs = WindowController::sharedWindowController();
    prefs.addPanel(PreferencesTab::MIDIPeak, "MIDI", [] { return new QLabel("midi"); });
    prefs.addPanel(3, "Display", [] { return new QLabel("display"); });
    prefs.addPanel(PreferencesTab::Device, "Device", [] { return new QLabel("device"); });

    prefs.showPanelX(PreferencesTab::MIDIPeak);
    ASSERT_NE(prefs.tabView(), nullptr);
    EXPECT_EQ(prefs.tabView()->count(), 3);
    EXPECT_EQ(prefs.tabView()->tabText(0), "Device");
    EXPECT_EQ(prefs.tabView()->tabText(1), "Display");
    EXPECT_EQ(prefs.tabView()->tabText(2), "MIDI");
    EXPECT_EQ(prefs.shownPanel(), PreferencesTab::MIDIPeak);
    EXPECT_EQ(prefs.window()->windowTitle(), "Preferences: MIDI");
    EXPECT_TRUE(prefs.window()->isVisible());

    // A panel added once the window exists joins in its place; a number without a panel shows the first.
    prefs.addPanel(5, "Sound", [] { return new QLabel("sound"); });
    EXPECT_EQ(prefs.tabView()->tabText(2), "Sound");
    prefs.showPanelX(42);
    EXPECT_EQ(prefs.shownPanel(), PreferencesTab::MIDIPeak);  // unchanged
    menu().showPanelX(3);
    EXPECT_EQ(prefs.shownPanel(), 3);
    EXPECT_EQ(prefs.window()->windowTitle(), "Preferences: Display");
}

// A panel larger than the screen grows the window to the screen; the floating tool palette in the
// corner must not cover its tabs.
TEST(PreferencesWindow, APanelAsLargeAsTheScreenStaysClearOfTheToolPalette)
{
    struct LargePanel : QWidget {
        QSize sizeHint() const override { return {4000, 3000}; }
    };
    WindowPlacement::watchTopLevelWindows();
    const QRect area = WindowPlacement::availableArea(nullptr);
    QWidget palette(nullptr, Qt::Window);
    palette.setWindowTitle("Tools");
    palette.setGeometry(area.left(), area.top(), 200, 120);
    palette.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    WindowPlacement::keepClear(&palette);
    WindowPlacement::letGiveWay(&palette);  // as the tool palette is
    palette.show();

    auto& prefs = WindowController::sharedWindowController();
    prefs.addPanel(PreferencesTab::Device, "Device", [] { return new QLabel("device"); });
    prefs.addPanel(PreferencesTab::MIDIPeak, "MIDI", [] { return new LargePanel; });
    prefs.showPanelX(PreferencesTab::Device);
    prefs.showPanelX(PreferencesTab::MIDIPeak);
    const QRect frame = WindowPlacement::frameOf(prefs.window());
    EXPECT_TRUE(area.contains(frame));
    // The palette gives way: it covers none of the tabs (it moves aside, or hides while no spot is clear
    // of them), and stands where it stood once the window closes.
    const QTabBar* tabs = prefs.tabView()->tabBar();
    const QRect tabsOnScreen(tabs->mapToGlobal(QPoint(0, 0)), tabs->size());
    EXPECT_TRUE(test::processEventsUntil([&] {
        return !palette.isVisible() || !tabsOnScreen.intersects(WindowPlacement::frameOf(&palette));
    })) << frame.x()
        << "," << frame.y();
    const QPoint paletteAt = area.topLeft();
    prefs.window()->close();
    EXPECT_TRUE(test::processEventsUntil(
        [&] { return palette.isVisible() && WindowPlacement::frameOf(&palette).topLeft() == paletteAt; }));
}

TEST(MainMenu, ScreenLayoutsFitTheirScreensFromTheTopLeftCorner)
{
    const QRect area = WindowPlacement::availableArea(nullptr);
    const std::pair<int, int> screens[] = {{1900, 1200}, {1600, 1200}, {1280, 1024}, {1024, 768}};
    for (const auto& [width, height] : screens) {
        const QRectF screen(area.topLeft(), QSizeF(width, height));
        const auto layout = QXAppController::layoutForScreenWidth(width);
        const QRectF frames[] = {layout.rawwave, layout.bargraph, layout.waterfall, layout.waterfallBS};
        for (const QRectF& frame : frames) {
            const QRectF onScreen = WindowHandle::toQt(frame);
            EXPECT_TRUE(screen.contains(onScreen)) << width;
            // Each row holds a plot window at its least height, framed; where the screen has room, the
            // rows lie below the Control Panel.
            const QMargins decoration = WindowPlacement::decorationOf(nullptr);
            EXPECT_GE(onScreen.height(), 262 + decoration.top() + decoration.bottom()) << width;
            if (height >= 1024) {
                EXPECT_GE(onScreen.top(), screen.top() + 200) << width;
            }
        }
    }
}

TEST(MainMenu, EveryWindowShownGetsTheSameMenuBarAndTheControlPanelComesBack)
{
    QMenuBar reference;
    menu().fillMenuBar(&reference);
    QStringList expected;
    for (QAction* item : menuItems(reference))
        expected << item->objectName();
    ASSERT_TRUE(expected.contains("showControlPanel"));

    menu().installMainMenu(nullptr);
    // A window opened later, whoever opens it, carries the menu built from the one table.
    QWidget later;
    auto* layout = new QVBoxLayout(&later);
    layout->addWidget(new QLabel("plot"));
    later.show();
    auto* bar = later.findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QStringList names;
    for (QAction* item : menuItems(*bar))
        names << item->objectName();
    EXPECT_EQ(names, expected);
    for (QAction* item : menuItems(*bar)) {
        if (!item->shortcut().isEmpty()) {
            EXPECT_EQ(item->shortcutContext(), Qt::WindowShortcut) << item->text().toStdString();
        }
    }

    // A frameless window has no menu bar but the key equivalents.
    QWidget frameless(nullptr, Qt::Window | Qt::FramelessWindowHint);
    new QVBoxLayout(&frameless);
    frameless.show();
    EXPECT_EQ(frameless.findChild<QMenuBar*>(), nullptr);
    QStringList keys;
    for (QAction* item : frameless.actions())
        keys << item->shortcut().toString();
    EXPECT_TRUE(keys.contains("Ctrl+Q"));
    EXPECT_TRUE(keys.contains("Ctrl+2"));

    // Window ▸ Control Panel opens the panel, again after it was closed.
    testing::internal::CaptureStdout();
    menu().showControlPanel(nullptr);
    QPointer<QMainWindow> panel = menu().controlPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->windowTitle(), "Control Panel");
    EXPECT_FALSE(menuItems(*panel->menuBar()).isEmpty());
    panel->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(panel.isNull());
    EXPECT_EQ(menu().controlPanel(), nullptr);
    for (QAction* item : menuItems(*bar))
        if (item->objectName() == "showControlPanel")
            item->trigger();
    testing::internal::GetCapturedStdout();
    ASSERT_NE(menu().controlPanel(), nullptr);
    EXPECT_TRUE(menu().controlPanel()->isVisible());
    EXPECT_EQ(menuItems(*menu().controlPanel()->menuBar()).size(), expected.size());
}
