#include "app/NUPO4DrawAppDelegate.h"

#include "analysis/BrainSwitch.h"
#include "analysis/FFTMath.h"
#include "analysis/QXFFT.h"
#include "analysis/SetFFTController.h"

#include <QMainWindow>

namespace nupo {

NUPO4DrawAppDelegate& NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate()
{
    static NUPO4DrawAppDelegate* instance = new NUPO4DrawAppDelegate;  // lives to process end
    return *instance;
}

void NUPO4DrawAppDelegate::applicationDidFinishLaunching(QObject*)
{
    initAPstart(this);
}

void NUPO4DrawAppDelegate::initAPstart(QObject*)
{
    if (applicationisOpened.exchange(1) != 0)
        return;
    // The main window holds the main menu and the transport.
    window = new QMainWindow;
    window->setWindowTitle(QStringLiteral("NUPO4"));
    window->resize(480, 160);
    window->show();

    // Spectral analysis: transform tables, brain-switch defaults and the settings (display gains);
    // the 10 ms analysis timer starts last.
    initbitrevAndFFT();
    initbrainSWX();
    SetFFTController::sharedSetFFTController().setWindowSetup(nullptr);
    QXFFT::sharedQXFFT().init();
}

void NUPO4DrawAppDelegate::applicationWillTerminate(QObject*)
{
    delete window;
    window = nullptr;
}

}  // namespace nupo
