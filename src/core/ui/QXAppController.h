#pragma once

#include "platform/appkit/ui/NibController.h"

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

    // Builds the menu bar of the main window from the table.
    void installMainMenu(QMainWindow* window);
    // The same into any menu bar (for tests and windows without their own).
    void fillMenuBar(QMenuBar* bar);

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

    // --- Window layouts for screens 1900, 1600, 1280 and 1024 pixels wide; taken at the next nib load.
    void showAll1900(QObject* sender);
    void showAll1600(QObject* sender);
    void showAll1280(QObject* sender);
    void showAll1024(QObject* sender);
    struct Layout {
        QRectF rawwave, bargraph, waterfall, waterfallBS;  // unflipped screen frames
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
    void openMovieAndPlaywithBrainwaveQ(QObject* sender);
    void showSelectFilePanel(QObject* sender);
    void showSelectFileRunPanel(QObject* sender);

    // --- Preferences window on a tab.
    void showPanelX(int tab);

private:
    // Loads a nib with this controller as owner; false (after the log line and the beep) on failure.
    bool loadNib(const QString& name);
    void showWindowNib(std::atomic<int>& frontFlag, int front, const QString& nib);
    void applyLayout(int screenWidth);
    void easyplaySetup(int preset);
};

}  // namespace nupo
