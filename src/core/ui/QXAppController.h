#pragma once

#include "platform/appkit/ui/NibController.h"

#include <QPointer>
#include <QRectF>

class QMainWindow;
class QMenuBar;

namespace nupo {

// The main menu. Its items and their actions are listed in one table in QXAppController.cpp; to add an
// item, add a line to that table and register the action in the constructor.
//
// An action that opens a window loads its nib by name; a nib that is missing logs "Failed to load
// <name>.nib" and beeps.
class QXAppController : public NibController {
public:
    QXAppController();

    static QXAppController& sharedQXAppController();
    // Installs the commands (core/MenuCommands.h) that other parts give the menu; each reaches the shared
    // menu, made on first use.
    static void installMenuCommands();

    // Gives the window the main menu, and from then on every top-level window of the program at its
    // first show: windows that can carry a menu bar get one built from the table, frameless windows
    // the key equivalents only. So the menu stays reachable while any window of the program is open.
    void installMainMenu(QWidget* window);
    // The menu (or the key equivalents) of one window; a window is equipped once.
    void equipWindow(QWidget* window);
    // The menu into any menu bar (for tests and windows without their own).
    void fillMenuBar(QMenuBar* bar);

    // The Control Panel (the main window): brought to the front when open, else opened again from its
    // nib at the top right of the screen. Window ▸ Control Panel.
    void showControlPanel(QObject* sender);
    QMainWindow* controlPanel() const;
    // Moves the shown windows clear of the Control Panel and of the floating tool palette (shrinking them
    // where the screen is small), so that at start nothing covers a control of another window.
    void arrangeFirstWindows();

    // --- Plot and 3D windows (a new window each call; the Front variants raise it to the status level).
    void showQXRawwaveGraph(QObject* sender);
    void showQXRawwaveGraphFront(QObject* sender);
    void showQX2DBarGarph(QObject* sender);
    void showQX2DBarGarphFront(QObject* sender);
    void showQX2DSpectrum(QObject* sender);
    void showQX2DSpectrumFront(QObject* sender);
    void showFFTPanel(QObject* sender);
    void showFFTPanelFront(QObject* sender);
    void showSelectQXnewave(QObject* sender);
    // The about window.
    void showAboutPanel(QObject* sender);

    // --- Window layouts for screens 1900, 1600, 1280 and 1024 pixels wide; taken at the next nib load.
    void showAll1900(QObject* sender);
    void showAll1600(QObject* sender);
    void showAll1280(QObject* sender);
    void showAll1024(QObject* sender);
    struct Layout {
        // Unflipped screen frames on a screen of that width and its common height (1200, 1200, 1024 and
        // 768 pixels), from the top-left corner of the available screen area.
        QRectF rawwave, bargraph, waterfall, waterfallBS;
    };
    static Layout layoutForScreenWidth(int width);

    void closeAllWindow(QObject* sender);
    void setClear3DWaterFallImage(QObject* sender);

    // --- Transport.
    void setPlayModeAction(QObject* sender);
    void setRecModeAction(QObject* sender);
    void setPauseVideoandBrainwave(QObject* sender);
    void setGotoBeginningAction(QObject* sender);
    void setLoopModeAction(QObject* sender);

    // --- MIDI.
    void setSimpleMIDIplayOFF(QObject* sender);
    void setSimpleMIDIplay1(QObject* sender);
    void setSimpleMIDIplay2(QObject* sender);
    void setSimpleMIDIplay3(QObject* sender);
    void setSimpleMIDIplay4(QObject* sender);
    void setSimpleMIDIplay5(QObject* sender);
    void setSimpleMIDIplay6(QObject* sender);
    void setOFFMIDIout(QObject* sender);
    void setONMIDIout(QObject* sender);
    void setMIDIInstrument(QObject* sender);

    // --- Sound, movie and media.
    void setStartAllSound(QObject* sender);
    void setStopAllSound(QObject* sender);
    void setResetSoundBankIndex(QObject* sender);
    void showMovieFrames(QObject* sender);
    void openMovieAndPlaywithBrainwaveQ(QObject* sender);
    void showSelectFilePanel(QObject* sender);
    void showSelectFileRunPanel(QObject* sender);

    // --- Preferences window on a tab.
    void showPanelX(int tab);

private:
    // Loads a nib with this controller as owner; false (after the log line and the beep) on failure.
    bool loadNib(const QString& name);
    // Builds the table's items into the bar, or, without a bar, the key equivalents into the window.
    void buildMenu(QMenuBar* bar, QWidget* keyWindow);
    void showWindowNib(std::atomic<int>& frontFlag, int front, const QString& nib);
    void applyLayout(int screenWidth);
    void easyplaySetup(int preset);

    QPointer<QMainWindow> controlPanelWindow;
};

}  // namespace nupo
