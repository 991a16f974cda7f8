#include "core/ui/QXAppController.h"

#include "QXDrawerSound/browser/MediaBrowser.h"
#include "QXDrawerSound/movie/ui/QXMovieWindowController.h"
#include "QXDrawerSound/player/QXSoundController.h"
#include "core/MenuCommands.h"
#include "core/ui/TypeTextHere.h"
#include "core/ui/WindowController.h"
#include "document/ui/NUPO4DocumentController.h"
#include "midi/peak/SetMIDI.h"
#include "platform/appkit/NotificationCenter.h"
#include "platform/appkit/ui/NibController.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/waterfall/QX2DSpectrum.h"
#include "plots/waterfall/gl/WaterfallWindowState.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"
#include "views3d/spectrum/ui/QX3DSpectrumAppController.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <algorithm>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// One line of the main menu. A title of "-" is a separator. The tag goes with the action as the
// item's "tag" property (the preferences tab of showPanelX).
struct MenuEntry {
    const char* menu;
    const char* title;
    const char* action;
    int tag;
    const char* shortcut;
};

// The main menu, in order. Add items here (and their actions in the constructor).
const MenuEntry mainMenuEntries[] = {
    {"NUPO4", "About NUPO4", "showAboutPanel", 0, nullptr},
    {"NUPO4", "-", nullptr, 0, nullptr},
    {"NUPO4", "Preferences…", "showPanelX", 0, "Ctrl+,"},
    {"NUPO4", "Device and Port…", "showPanelX", PreferencesTab::Device, nullptr},
    {"NUPO4", "Display Settings…", "showPanelX", PreferencesTab::Display, nullptr},
    {"NUPO4", "Save Preferences", "savePreferences", 0, nullptr},
    {"NUPO4", "-", nullptr, 0, nullptr},
    {"NUPO4", "Quit NUPO4", "terminate", 0, "Ctrl+Q"},

    {"File", "New", "newDocument", 0, "Ctrl+N"},
    {"File", "Open…", "openDocument", 0, "Ctrl+O"},
    {"File", "-", nullptr, 0, nullptr},
    {"File", "Save", "saveDocument", 0, "Ctrl+S"},
    {"File", "Save As…", "saveDocumentAs", 0, "Ctrl+Shift+S"},
    {"File", "Revert", "revertDocumentToSaved", 0, nullptr},

    {"Control", "Play", "setPlayModeAction", 0, "Ctrl+P"},
    {"Control", "Pause", "setPauseVideoandBrainwave", 0, "Ctrl+."},
    {"Control", "Record", "setRecModeAction", 0, "Ctrl+R"},
    {"Control", "Go to Beginning", "setGotoBeginningAction", 0, "Ctrl+B"},
    {"Control", "Loop", "setLoopModeAction", 0, "Ctrl+L"},

    {"Window", "Control Panel", "showControlPanel", 0, nullptr},
    {"Window", "-", nullptr, 0, nullptr},
    {"Window", "Rawwave Window", "showQXRawwaveGraph", 0, "Ctrl+1"},
    {"Window", "Rawwave Window in Front", "showQXRawwaveGraphFront", 0, nullptr},
    {"Window", "Bargraph Window", "showQX2DBarGarph", 0, "Ctrl+2"},
    {"Window", "Bargraph Window in Front", "showQX2DBarGarphFront", 0, nullptr},
    {"Window", "Waterfall Window", "showQX2DSpectrum", 0, "Ctrl+3"},
    {"Window", "Waterfall Window in Front", "showQX2DSpectrumFront", 0, nullptr},
    {"Window", "WaterfallBS Window", "showFFTPanel", 0, "Ctrl+4"},
    {"Window", "WaterfallBS Window in Front", "showFFTPanelFront", 0, nullptr},
    {"Window", "Wave Surface Window", "showSelectQXnewave", 0, "Ctrl+5"},
    {"Window", "-", nullptr, 0, nullptr},
    {"Window", "Brain-Note Drawing", "showDrawWindow", 0, "Ctrl+6"},
    {"Window", "Drawing Tools", "showToolPalette", 0, nullptr},
    {"Window", "Brain-Switch Mixer", "showBezierView", 0, "Ctrl+7"},
    {"Window", "-", nullptr, 0, nullptr},
    {"Window", "Layout for 1900 Pixel Screens", "showAll1900", 0, nullptr},
    {"Window", "Layout for 1600 Pixel Screens", "showAll1600", 0, nullptr},
    {"Window", "Layout for 1280 Pixel Screens", "showAll1280", 0, nullptr},
    {"Window", "Layout for 1024 Pixel Screens", "showAll1024", 0, nullptr},
    {"Window", "-", nullptr, 0, nullptr},
    {"Window", "Clear Waterfall History", "setClear3DWaterFallImage", 0, nullptr},
    {"Window", "Close All Plot Windows", "closeAllWindow", 0, "Ctrl+Shift+W"},

    {"MIDI", "Simple MIDI Play Off", "setSimpleMIDIplayOFF", 0, nullptr},
    {"MIDI", "Simple MIDI Play 1", "setSimpleMIDIplay1", 0, nullptr},
    {"MIDI", "Simple MIDI Play 2", "setSimpleMIDIplay2", 0, nullptr},
    {"MIDI", "Simple MIDI Play 3", "setSimpleMIDIplay3", 0, nullptr},
    {"MIDI", "Simple MIDI Play 4", "setSimpleMIDIplay4", 0, nullptr},
    {"MIDI", "Simple MIDI Play 5", "setSimpleMIDIplay5", 0, nullptr},
    {"MIDI", "Simple MIDI Play 6", "setSimpleMIDIplay6", 0, nullptr},
    {"MIDI", "-", nullptr, 0, nullptr},
    {"MIDI", "MIDI Out Off", "setOFFMIDIout", 0, nullptr},
    {"MIDI", "MIDI Out On", "setONMIDIout", 0, nullptr},
    {"MIDI", "Send Instrument to All Setups", "setMIDIInstrument", 0, nullptr},

    {"Media", "Start All Sounds", "setStartAllSound", 0, nullptr},
    {"Media", "Stop All Sounds", "setStopAllSound", 0, nullptr},
    {"Media", "Next Sound Opens in Slot 1", "setResetSoundBankIndex", 0, nullptr},
    {"Media", "Movie Frames", "showMovieFrames", 0, nullptr},
    {"Media", "-", nullptr, 0, nullptr},
    {"Media", "Open Movie and Play with Brainwave…", "openMovieAndPlaywithBrainwaveQ", 0, nullptr},
    {"Media", "-", nullptr, 0, nullptr},
    {"Media", "Media Browser…", "showSelectFilePanel", 0, "Ctrl+Shift+O"},
    {"Media", "Media Browser for Running Files…", "showSelectFileRunPanel", 0, nullptr},
};

// The common screen height for each layout width.
int screenHeightFor(int width)
{
    switch (width) {
        case 1900:
        case 1600:
            return 1200;
        case 1280:
            return 1024;
        default:
            return 768;
    }
}

// Closes every shown window of these titles, however many of each are open; a closed one ends its
// controller, and the controller its view's drawing thread.
void closeWindowsTitled(const QStringList& titles)
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (window->isVisible() &&
            titles.contains(window->windowTitle().section(QStringLiteral(" \u2014 "), 0, 0)))
            window->close();
}

// The plot windows a document opens again when it is read.
const QStringList& plotWindowTitles()
{
    static const QStringList titles{QStringLiteral("Rawwave Window"), QStringLiteral("Bargraph Window"),
                                    QStringLiteral("Waterfall Window"), QStringLiteral("WaterfallBS Window")};
    return titles;
}

}  // namespace

QXAppController::QXAppController()
{
    action("showControlPanel", &QXAppController::showControlPanel);
    action("showQXRawwaveGraph", &QXAppController::showQXRawwaveGraph);
    action("showQXRawwaveGraphFront", &QXAppController::showQXRawwaveGraphFront);
    action("showQX2DBarGarph", &QXAppController::showQX2DBarGarph);
    action("showQX2DBarGarphFront", &QXAppController::showQX2DBarGarphFront);
    action("showQX2DSpectrum", &QXAppController::showQX2DSpectrum);
    action("showQX2DSpectrumFront", &QXAppController::showQX2DSpectrumFront);
    action("showFFTPanel", &QXAppController::showFFTPanel);
    action("showFFTPanelFront", &QXAppController::showFFTPanelFront);
    action("showSelectQXnewave", &QXAppController::showSelectQXnewave);
    action("showAboutPanel", &QXAppController::showAboutPanel);
    action("showDrawWindow", [this](QObject*) { loadNib(QStringLiteral("NUPO4DrawWindow")); });
    action("showToolPalette", [this](QObject*) { loadNib(QStringLiteral("NUPO4ToolPalette")); });
    action("showBezierView",
           [this](QObject*) { NibLoader::showSingleNib(QStringLiteral("BezierView"), this); });
    action("showAll1900", &QXAppController::showAll1900);
    action("showAll1600", &QXAppController::showAll1600);
    action("showAll1280", &QXAppController::showAll1280);
    action("showAll1024", &QXAppController::showAll1024);
    action("closeAllWindow", &QXAppController::closeAllWindow);
    action("setClear3DWaterFallImage", &QXAppController::setClear3DWaterFallImage);

    action("setPlayModeAction", &QXAppController::setPlayModeAction);
    action("setRecModeAction", &QXAppController::setRecModeAction);
    action("setPauseVideoandBrainwave", &QXAppController::setPauseVideoandBrainwave);
    action("setGotoBeginningAction", &QXAppController::setGotoBeginningAction);
    action("setLoopModeAction", &QXAppController::setLoopModeAction);

    action("setSimpleMIDIplayOFF", &QXAppController::setSimpleMIDIplayOFF);
    action("setSimpleMIDIplay1", &QXAppController::setSimpleMIDIplay1);
    action("setSimpleMIDIplay2", &QXAppController::setSimpleMIDIplay2);
    action("setSimpleMIDIplay3", &QXAppController::setSimpleMIDIplay3);
    action("setSimpleMIDIplay4", &QXAppController::setSimpleMIDIplay4);
    action("setSimpleMIDIplay5", &QXAppController::setSimpleMIDIplay5);
    action("setSimpleMIDIplay6", &QXAppController::setSimpleMIDIplay6);
    action("setOFFMIDIout", &QXAppController::setOFFMIDIout);
    action("setONMIDIout", &QXAppController::setONMIDIout);
    action("setMIDIInstrument", &QXAppController::setMIDIInstrument);

    action("setStartAllSound", &QXAppController::setStartAllSound);
    action("setStopAllSound", &QXAppController::setStopAllSound);
    action("setResetSoundBankIndex", &QXAppController::setResetSoundBankIndex);
    action("showMovieFrames", &QXAppController::showMovieFrames);
    action("openMovieAndPlaywithBrainwaveQ", &QXAppController::openMovieAndPlaywithBrainwaveQ);
    action("showSelectFilePanel", &QXAppController::showSelectFilePanel);
    action("showSelectFileRunPanel", &QXAppController::showSelectFileRunPanel);

    action("showPanelX",
           [this](QObject* sender) { showPanelX(sender ? sender->property("tag").toInt() : 0); });
    // The document's commands; quitting asks whether to save an edited document first.
    NUPO4DocumentController& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    action("newDocument", [&document](QObject* sender) { document.newDocument(sender); });
    action("openDocument", [&document](QObject* sender) { document.openDocument(sender); });
    action("saveDocument", [&document](QObject* sender) { document.saveDocument(sender); });
    action("saveDocumentAs", [&document](QObject* sender) { document.saveDocumentAs(sender); });
    action("revertDocumentToSaved", [&document](QObject* sender) { document.revertDocumentToSaved(sender); });
    action("savePreferences", [&document](QObject* sender) { document.savePreferences(sender); });
    action("terminate", [&document](QObject* sender) { document.terminate(sender); });
}

QXAppController& QXAppController::sharedQXAppController()
{
    static QXAppController* instance = new QXAppController;  // lives to process end
    return *instance;
}

void QXAppController::installMenuCommands()
{
    using Action = void (QXAppController::*)(QObject*);
    const std::pair<MenuCommand, Action> actions[] = {
        {MenuCommand::showControlPanel, &QXAppController::showControlPanel},
        {MenuCommand::showRawwave, &QXAppController::showQXRawwaveGraph},
        {MenuCommand::showRawwaveFront, &QXAppController::showQXRawwaveGraphFront},
        {MenuCommand::showBarGraph, &QXAppController::showQX2DBarGarph},
        {MenuCommand::showBarGraphFront, &QXAppController::showQX2DBarGarphFront},
        {MenuCommand::showWaterfall, &QXAppController::showQX2DSpectrum},
        {MenuCommand::showWaterfallFront, &QXAppController::showQX2DSpectrumFront},
        {MenuCommand::show3DSpectrum, &QXAppController::showFFTPanel},
        {MenuCommand::show3DSpectrumFront, &QXAppController::showFFTPanelFront},
        {MenuCommand::openMovieAndPlay, &QXAppController::openMovieAndPlaywithBrainwaveQ},
    };
    for (const auto& [command, action] : actions)
        MenuCommands::install(command,
                              [action = action](int) { (sharedQXAppController().*action)(nullptr); });
    MenuCommands::install(MenuCommand::closeAllWindows, [](int) { closeWindowsTitled(plotWindowTitles()); });
    MenuCommands::install(MenuCommand::openMovieWindow,
                          [](int) { QXMovieWindowController::openOrReuse(&sharedQXAppController()); });
    MenuCommands::install(MenuCommand::showPreferencesTab,
                          [](int tab) { sharedQXAppController().showPanelX(tab); });
}

void QXAppController::installMainMenu(QWidget* window)
{
    static const bool everyWindow = [this] {
        WindowPlacement::watchTopLevelWindows();
        WindowPlacement::addFirstShowHook([this](QWidget* shown) { equipWindow(shown); });
        return true;
    }();
    (void)everyWindow;
    equipWindow(window);
}

void QXAppController::equipWindow(QWidget* window)
{
    static const char* equippedProperty = "nupoMainMenu";
    if (!window || window->property(equippedProperty).toBool())
        return;
    window->setProperty(equippedProperty, true);
    QMenuBar* bar = nullptr;
    if (!window->windowFlags().testFlag(Qt::FramelessWindowHint)) {
        if (auto* mainWindow = qobject_cast<QMainWindow*>(window)) {
            bar = mainWindow->menuBar();
        } else if (QLayout* layout = window->layout(); layout && !layout->menuBar()) {
            bar = new QMenuBar(window);
            layout->setMenuBar(bar);
        }
    }
    buildMenu(bar, window);
    // A window narrower than its menu bar (the tool palette) would fold the menus away: it is at least
    // as wide as the bar's menus.
    if (bar)
        window->setMinimumWidth(std::max(window->minimumWidth(), bar->sizeHint().width()));
}

void QXAppController::fillMenuBar(QMenuBar* bar)
{
    if (bar)
        buildMenu(bar, nullptr);
}

void QXAppController::buildMenu(QMenuBar* bar, QWidget* keyWindow)
{
    QHash<QString, QMenu*> menus;
    for (const MenuEntry& entry : mainMenuEntries) {
        QMenu* menu = nullptr;
        if (bar) {
            const QString menuTitle = QString::fromUtf8(entry.menu);
            QMenu*& named = menus[menuTitle];
            if (!named)
                named = bar->addMenu(menuTitle);
            menu = named;
        } else if (!entry.shortcut) {
            continue;  // a window without a menu bar takes only the key equivalents
        }
        if (QByteArrayView(entry.title) == "-") {
            menu->addSeparator();
            continue;
        }
        auto* item =
            new QAction(QString::fromUtf8(entry.title), menu ? static_cast<QObject*>(menu) : keyWindow);
        item->setObjectName(QString::fromUtf8(entry.action));
        item->setProperty("tag", entry.tag);
        if (entry.shortcut) {
            // Every window carries its own menu: its key equivalents work while it is the active window.
            item->setShortcut(QKeySequence(QString::fromUtf8(entry.shortcut)));
            item->setShortcutContext(Qt::WindowShortcut);
        }
        if (menu)
            menu->addAction(item);
        else
            keyWindow->addAction(item);
        const Action run = actionNamed(item->objectName());
        QObject::connect(item, &QAction::triggered, this, [item, run] {
            if (run)
                run(item);
        });
    }
}

void QXAppController::showControlPanel(QObject*)
{
    if (controlPanelWindow && controlPanelWindow->isVisible()) {
        WindowHandle(controlPanelWindow).makeKeyAndOrderFront();
        return;
    }
    // A panel closed a moment ago is only waiting to be deleted (showing it again would lose it at once):
    // a new one takes its place.
    controlPanelWindow = nullptr;
    installMainMenu(nullptr);
    // The nib keeps the window hidden until it is placed.
    NibController* panel = NibLoader::loadNibNamed(QStringLiteral("MainMenu"), this);
    controlPanelWindow = panel ? qobject_cast<QMainWindow*>(panel->nibWindow()) : nullptr;
    if (!controlPanelWindow) {
        // Without its nib the main window is bare, but the menu still reaches everything.
        controlPanelWindow = new QMainWindow;
        controlPanelWindow->setAttribute(Qt::WA_DeleteOnClose);
        controlPanelWindow->setWindowTitle(QStringLiteral("Control Panel"));
        controlPanelWindow->resize(600, 80);
    }
    equipWindow(controlPanelWindow);
    // Its transport buttons stay in reach: other windows open, and take their stored frames, clear of it.
    WindowPlacement::keepClear(controlPanelWindow);
    // The Control Panel sits in the top right corner, above the plot windows' layouts.
    const QRect area = WindowPlacement::availableArea(controlPanelWindow);
    const QMargins decoration = WindowPlacement::decorationOf(controlPanelWindow);
    const int frameWidth = controlPanelWindow->width() + decoration.left() + decoration.right();
    controlPanelWindow->move(std::max(area.left(), area.left() + area.width() - frameWidth), area.top());
    WindowHandle(controlPanelWindow).makeKeyAndOrderFront();
}

QMainWindow* QXAppController::controlPanel() const
{
    return controlPanelWindow;
}

void QXAppController::arrangeFirstWindows()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window == controlPanelWindow || !window->isVisible() || window->windowType() != Qt::Window)
            continue;
        QList<QRect> clearOf = WindowPlacement::keptClearFrames(window);
        if (controlPanelWindow && controlPanelWindow->isVisible())
            clearOf.append(WindowPlacement::frameOf(controlPanelWindow));
        WindowPlacement::moveClearOf(window, clearOf);
    }
}

bool QXAppController::loadNib(const QString& name)
{
    return NibLoader::loadNibNamed(name, this) != nullptr;
}

void QXAppController::showWindowNib(std::atomic<int>& frontFlag, int front, const QString& nib)
{
    frontFlag.store(front, relaxed);
    loadNib(nib);
}

void QXAppController::showQXRawwaveGraph(QObject*)
{
    showWindowNib(nupo::showQXRawwaveGraphFront, 0, "QXRawwaveGraph");
}
void QXAppController::showQXRawwaveGraphFront(QObject*)
{
    showWindowNib(nupo::showQXRawwaveGraphFront, 1, "QXRawwaveGraph");
}
void QXAppController::showQX2DBarGarph(QObject*)
{
    showWindowNib(nupo::showQX2DBarGarphFront, 0, "QX2DBarGraph");
}
void QXAppController::showQX2DBarGarphFront(QObject*)
{
    showWindowNib(nupo::showQX2DBarGarphFront, 1, "QX2DBarGraph");
}
void QXAppController::showQX2DSpectrum(QObject*)
{
    showWindowNib(nupo::showQX2DSpectrumFront, 0, "QX2DSpectrum");
}
void QXAppController::showQX2DSpectrumFront(QObject*)
{
    showWindowNib(nupo::showQX2DSpectrumFront, 1, "QX2DSpectrum");
}
void QXAppController::showFFTPanel(QObject*)
{
    showWindowNib(nupo::showFFTPanelFront, 0, "QX3DSpectrum");
}
void QXAppController::showFFTPanelFront(QObject*)
{
    showWindowNib(nupo::showFFTPanelFront, 1, "QX3DSpectrum");
}
void QXAppController::showAboutPanel(QObject*)
{
    NibLoader::showSingleNib(QStringLiteral("QXorvellogo"), this);
}

void QXAppController::showSelectQXnewave(QObject*)
{
    loadNib("QXnewave");
}

QXAppController::Layout QXAppController::layoutForScreenWidth(int width)
{
    // Two columns by two rows below a band at the top for the Control Panel, on a screen of that width
    // and its common height whose top-left corner is that of the available area of the screen. Each row
    // holds a plot window at its least height with its decoration: on a short screen the band gives up
    // what the rows need (the Control Panel in the top right corner then lies over the top right window's
    // first rows, which the placement moves clear of it).
    constexpr int topBand = 230;
    constexpr int leastPlotClientHeight = 262;
    const int height = screenHeightFor(width);
    const QRect area = WindowPlacement::availableArea(nullptr);
    const QMargins decoration = WindowPlacement::decorationOf(nullptr);
    const int leastRow = leastPlotClientHeight + decoration.top() + decoration.bottom();
    const QPointF origin = area.isEmpty() ? QPointF() : QPointF(area.topLeft());
    const double columnWidth = width / 2;
    const double band = std::clamp(height - 2 * leastRow, 0, topBand);
    const double rowHeight = std::floor((height - band) / 2);
    auto frame = [&](int column, int row) {
        return WindowHandle::fromQt(QRectF(origin + QPointF(column * columnWidth, band + row * rowHeight),
                                           QSizeF(columnWidth, rowHeight)));
    };
    Layout layout;
    layout.rawwave = frame(0, 0);
    layout.bargraph = frame(1, 0);
    layout.waterfall = frame(0, 1);
    layout.waterfallBS = frame(1, 1);
    return layout;
}

void QXAppController::applyLayout(int screenWidth)
{
    const Layout layout = layoutForScreenWidth(screenWidth);
    rawwaveWindowState.setWframe(layout.rawwave);
    barGraphWindowState.setWframe(layout.bargraph);
    waterfallWindowState.setWframe(layout.waterfall);
    QX3DSpectrumAppController::sharedQX3DSpectrumAppController().setWframe(layout.waterfallBS);
}

void QXAppController::showAll1900(QObject*)
{
    applyLayout(1900);
}
void QXAppController::showAll1600(QObject*)
{
    applyLayout(1600);
}
void QXAppController::showAll1280(QObject*)
{
    applyLayout(1280);
}
void QXAppController::showAll1024(QObject*)
{
    applyLayout(1024);
}

void QXAppController::closeAllWindow(QObject*)
{
    // The menu's command also closes the wave surfaces, each load of whose nib opened one.
    closeWindowsTitled(plotWindowTitles() + QStringList{QStringLiteral("Wave Surface Window")});
}

void QXAppController::setClear3DWaterFallImage(QObject*)
{
    QX2DSpectrum::sharedQX2DSpectrum().initPositionZ();
}

void QXAppController::setPlayModeAction(QObject*)
{
    TypeTextHere::sharedTypeTextHere().SetselectsetPlay();
    TypeTextHere::sharedTypeTextHere().setToCurrentTimeMovie();
}

void QXAppController::setRecModeAction(QObject*)
{
    TypeTextHere::sharedTypeTextHere().setRec(this);
}

void QXAppController::setPauseVideoandBrainwave(QObject*)
{
    TypeTextHere::sharedTypeTextHere().setPause(this);
    if (OpenQT.load(relaxed) > 0)
        SimpleRunAppleScript(QStringLiteral("tell application \"QuickTime Player\" to pause first movie"));
    else
        NotificationCenter::defaultCenter().postNotificationName(setPauseMovieNotification, this);
}

void QXAppController::setGotoBeginningAction(QObject*)
{
    TypeTextHere::sharedTypeTextHere().setGotoBeginning(this);
}
void QXAppController::setLoopModeAction(QObject*)
{
    TypeTextHere::sharedTypeTextHere().setLoopMode(nullptr);
}

// The one-click presets and the output switch of the peak-to-MIDI mapper.
void QXAppController::easyplaySetup(int preset)
{
    SetMIDI::sharedSetMIDI().easyplaySetup(preset);
}
void QXAppController::setSimpleMIDIplayOFF(QObject*)
{
    easyplaySetup(0);
}
void QXAppController::setSimpleMIDIplay1(QObject*)
{
    easyplaySetup(1);
}
void QXAppController::setSimpleMIDIplay2(QObject*)
{
    easyplaySetup(2);
}
void QXAppController::setSimpleMIDIplay3(QObject*)
{
    easyplaySetup(3);
}
void QXAppController::setSimpleMIDIplay4(QObject*)
{
    easyplaySetup(4);
}
void QXAppController::setSimpleMIDIplay5(QObject*)
{
    easyplaySetup(5);
}
void QXAppController::setSimpleMIDIplay6(QObject*)
{
    easyplaySetup(6);
}
void QXAppController::setOFFMIDIout(QObject*)
{
    SetMIDI::sharedSetMIDI().sendMidiTemporalyOFF();
}
void QXAppController::setONMIDIout(QObject*)
{
    SetMIDI::sharedSetMIDI().sendMidiBackON();
}
void QXAppController::setMIDIInstrument(QObject*)
{
    SetMIDI::sharedSetMIDI().setProgramChangeToAllSetupA();
}

void QXAppController::setStartAllSound(QObject*)
{
    NotificationCenter::defaultCenter().postNotificationName(SetSoundPlayNotification, this);
}

void QXAppController::setStopAllSound(QObject*)
{
    NotificationCenter::defaultCenter().postNotificationName(SetSoundStopNotification, this);
}

void QXAppController::setResetSoundBankIndex(QObject*)
{
    QXSoundController::sharedQXSoundController().ResetSoundBankIndex();
}

void QXAppController::showMovieFrames(QObject*)
{
    loadNib("MovieFrames");
}

void QXAppController::openMovieAndPlaywithBrainwaveQ(QObject*)
{
    // A movie window already open plays along; otherwise the movie chosen last opens.
    QXMovieWindowController* window = QXMovieWindowController::openOrReuse(this);
    if (!window)
        return;
    // PlayVideoandBrainwave: once the movie is there, the recording starts over and plays; the movie
    // follows.
    window->whenOpened([this] {
        TypeTextHere::sharedTypeTextHere().setGotoBeginning(this);
        TypeTextHere::sharedTypeTextHere().setPlay(this);
    });
}

void QXAppController::showSelectFilePanel(QObject*)
{
    fsPath = 0;  // the browser's columns start at "/"
    loadNib("MainMenuB");
    fsPath = 0;
}
// Running files are chosen in the same browser, which opens them while the recording plays.
void QXAppController::showSelectFileRunPanel(QObject* sender)
{
    showSelectFilePanel(sender);
}

void QXAppController::showPanelX(int tab)
{
    WindowController::sharedWindowController().showPanelX(tab);
}

}  // namespace nupo
