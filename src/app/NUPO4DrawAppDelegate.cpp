#include "app/NUPO4DrawAppDelegate.h"

#include "QXDrawerSound/player/QXSoundController.h"
#include "QXSketch/gl/NUPO4Drawing.h"
#include "QXSketch/ui/NUPO4ToolPalette.h"
#include "analysis/BrainSwitch.h"
#include "analysis/FFTMath.h"
#include "analysis/QXFFT.h"
#include "analysis/SetFFTController.h"
#include "analysis/ui/SetFFTPanel.h"
#include "core/QXInputStream.h"
#include "core/QXSerialPort.h"
#include "core/Transport.h"
#include "core/ui/QXAppController.h"
#include "core/ui/SetPortView.h"
#include "core/ui/TypeTextHere.h"
#include "core/ui/WindowController.h"
#include "document/ui/NUPO4DocumentController.h"
#include "interop/ui/QCNUPO4Patches.h"
#include "midi/band/SetMIDIband.h"
#include "midi/output/MidiOutput.h"
#include "midi/peak/SetMIDI.h"
#include "midi/ui/MidiAlerts.h"
#include "midi/ui/SetMIDIPanel.h"
#include "midi/ui/SetMIDIbandPanel.h"
#include "platform/appkit/ui/AlertPanel.h"
#include "platform/files/CheckedFile.h"
#include "plots/bargraph/gl/QX2DBarGraphView.h"
#include "plots/rawwave/gl/QXRawwaveGraphView.h"
#include "plots/settings/ui/SetDisplay.h"
#include "plots/waterfall/gl/QX2DSpectrumGLView.h"
#include "shared/Utilities.h"
#include "views3d/QX3DSpectrumGLView.h"
#include "views3d/spectrum/ui/QX3DSpectrumAppController.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>

#include <unistd.h>

#include <cstdio>

namespace nupo {

namespace {

// Suffixes of the old data files (recordings) that open into the recording buffers.
bool isDocumentFile(const QString& path)
{
    return QFileInfo(path).suffix().compare(NUPO4DocumentController::fileSuffix, Qt::CaseInsensitive) == 0;
}

bool isRecordingFile(const QString& path)
{
    static const QStringList suffixes{"dat", "data", "nupo", "NUPO", "DAT"};
    return suffixes.contains(QFileInfo(path).suffix());
}

void report(const QString& line)
{
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

// Says on screen which file did not open and why; the alert opens in front of the windows without
// holding up the start-up, which goes on with the recording in use.
void alertRefusal(const QByteArray& nativePath, const QString& reason)
{
    const QString path = displayPath(nativePath);
    QString name = QFileInfo(path).fileName();
    if (name.isEmpty())
        name = path;
    QMessageBox* alert =
        AlertPanel::show(QStringLiteral("“%1” cannot be opened.").arg(name),
                         QStringLiteral("%1\n\n%2\n\nNothing was loaded.").arg(asSentence(reason), path));
    alert->setObjectName(QStringLiteral("fileRefusedAlert"));
}

// A refusal on standard output (unless the opener said it there already) and on screen.
bool refuse(const QByteArray& nativePath, const QString& reason, bool reported = false)
{
    if (!reported)
        report(QStringLiteral("Cannot open %1: %2.").arg(displayPath(nativePath), reason));
    alertRefusal(nativePath, reason);
    return false;
}

}  // namespace

void NUPO4DrawAppDelegate::setPathToOpen(const QString& path)
{
    pathToOpen = QFile::encodeName(path);
}

NUPO4DrawAppDelegate& NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate()
{
    static NUPO4DrawAppDelegate* instance = new NUPO4DrawAppDelegate;  // lives to process end
    return *instance;
}

void NUPO4DrawAppDelegate::applicationDidFinishLaunching(QObject*)
{
    NUPO4DocumentController& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    NUPO4DocumentController::installDocument([this] {
        if (applicationisOpened.load() != 0)
            return false;
        initAPstart(this);
        return true;
    });
    openMainWindow();
    // A document given on the command line is opened before start-up: its reader runs the start-up and
    // brings every setting. Otherwise, and when that document is refused, the preference file (when there
    // is one) follows the start-up, so that the user's settings hold whatever the document was.
    const bool documentFirst = !pathToOpen.isEmpty() && isDocumentFile(pathToOpen);
    const bool documentRead = documentFirst && openFile(pathToOpen);
    initAPstart(this);
    if (!documentRead) {
        document.readPreferenceFile();
        if (!pathToOpen.isEmpty() && !documentFirst)
            openFile(pathToOpen);
    }
    document.markSaved();
}

void NUPO4DrawAppDelegate::openMainWindow()
{
    QXAppController::sharedQXAppController().showControlPanel(this);
}

QMainWindow* NUPO4DrawAppDelegate::mainWindow() const
{
    return QXAppController::sharedQXAppController().controlPanel();
}

void NUPO4DrawAppDelegate::initAPstart(QObject*)
{
    if (applicationisOpened.exchange(1) != 0)
        return;
    // The drawing tool palette shows first; from here on the band panel's brain-switch edges move the
    // front drawing's rectangles natively while scripts are on.
    NUPO4ToolPalette::showToolPalette(this);
    installNativeRectangleMover();
    // The empty recording.
    QXSerialPort& port = QXSerialPort::sharedQXSerialPort();
    port.initMalloc(this);
    port.recCleare();
    // Spectral analysis: transform tables, brain-switch defaults and the settings (display gains).
    initbitrevAndFFT();
    initbrainSWX();
    SetFFTController::sharedSetFFTController().setWindowSetup(nullptr);
    WindowController::sharedWindowController().addPanel(PreferencesTab::Analysis, QStringLiteral("Analysis"),
                                                        &SetFFTPanel::makePanel);
    // MIDI and audio problems show on screen from here on.
    installMidiAlerts();
    // The peak-to-MIDI setups get their defaults before any panel exists; its worker starts here.
    SetMIDI& peakMIDI = SetMIDI::sharedSetMIDI();
    peakMIDI.setSetToDefault_(2);
    peakMIDI.initPortStr();
    WindowController::sharedWindowController().addPanel(PreferencesTab::MIDIPeak, QStringLiteral("MIDI"),
                                                        &SetMIDIPanel::makePanel);
    // The band-to-MIDI setups likewise; its worker starts here too.
    SetMIDIband& bandMIDI = SetMIDIband::sharedSetMIDIband();
    bandMIDI.setSetToDefault_(2);
    bandMIDI.initPortStr();
    WindowController::sharedWindowController().addPanel(
        PreferencesTab::MIDIBand, QStringLiteral("MIDI Bands"), &SetMIDIbandPanel::makePanel);
    // The device panel; creating it starts the acquisition threads.
    SetPortView::sharedSetPortView();
    WindowController::sharedWindowController().addPanel(PreferencesTab::Device, QStringLiteral("Device"),
                                                        &SetPortView::makePanel);
    // Plot views: default background colours; the display settings tab.
    QX2DBarGraphView::sharedQX2DBarGraphView().initDisplay();
    QXRawwaveGraphView::sharedQXRawwaveGraphView().initDisplay();
    QX2DSpectrumGLView::sharedQX2DSpectrumGLView().initDisplay();
    // The 3D view's display elements and background; the 3D window's shared controller ticks from here on.
    QX3DSpectrumGLView::sharedQX3DSpectrumGLView().initDisplay();
    QX3DSpectrumAppController::sharedQX3DSpectrumAppController();
    WindowController::sharedWindowController().addPanel(PreferencesTab::Display, QStringLiteral("Display"),
                                                        &SetDisplay::makePanel);
    TypeTextHere::sharedTypeTextHere();
    QXAppController& menu = QXAppController::sharedQXAppController();
    // The sound slots' tables hold their defaults from here on.
    QXSoundController::sharedQXSoundController().initSoundNSStr();
    // The 10 ms analysis timer starts after every other shared instance exists.
    QXFFT::sharedQXFFT().init();
    // The raw-wave window opens last, clear of the Control Panel and the tool palette.
    menu.showQXRawwaveGraph(this);
    menu.arrangeFirstWindows();
    if (const int port = patchInterfacePort())
        QCNUPO4Patches::startPatchInterface(port);
}

int NUPO4DrawAppDelegate::patchInterfacePort() const
{
    if (patchPort > 0)
        return patchPort;
    const int preferred = QSettings().value(QStringLiteral("patchInterfacePort"), 0).toInt();
    return preferred > 0 && preferred <= 65535 ? preferred : 0;
}

bool NUPO4DrawAppDelegate::openFile(const QString& path)
{
    return openFile(QFile::encodeName(path));
}

bool NUPO4DrawAppDelegate::openFile(const QByteArray& nativePath)
{
    QString reason;
    const int fd = openRegularFileForReading(nativePath, &reason);
    if (fd < 0)
        return refuse(nativePath, reason);
    ::close(fd);
    const QString path = QFile::decodeName(nativePath);
    // The document opener says on screen itself what is wrong with a document.
    if (isDocumentFile(path))
        return NUPO4DocumentController::sharedNUPO4DocumentController().openDocumentAt(nativePath);
    if (!isRecordingFile(path))
        return refuse(nativePath, QStringLiteral("only brain-note documents (.nupo4) and recordings (.dat, "
                                                 ".data, .nupo) open"));
    if (!Transport::sharedTransport().openRecordingAndPlay(nativePath, &reason))
        return refuse(nativePath, reason, true);
    return true;
}

void NUPO4DrawAppDelegate::applicationWillTerminate(QObject*)
{
    // Asks the sibling application to quit (nothing runs while scripts are off).
    // The MIDI workers stop first, so that no note follows the all-notes-off.
    SetMIDI::stopWorker();
    SetMIDIband::stopWorker();
    SetMIDI::sharedSetMIDI().sendMidiShutDownALL();
    SetMIDIband::sharedSetMIDIband().silenceSentNotes();
    stopMidiWatch();
    SimpleRunAppleScript(QStringLiteral("tell application \"Quilbrotask\" to quit"));
    QXInputStream::sharedQXInputStream().stopThreads();
}

}  // namespace nupo
