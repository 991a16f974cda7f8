#include "document/ui/NUPO4DocumentController.h"

#include "QXDrawerSound/browser/ui/AppControllerB.h"
#include "QXDrawerSound/movie/ui/QXMovieWindowController.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "QXSketch/gl/DrawingSection.h"
#include "QXSketch/gl/SketchState.h"
#include "QXSketch/ui/BezierView.h"
#include "QXSketch/ui/NUPO4DrawWindowController.h"
#include "core/MenuCommands.h"
#include "core/QXSerialPort.h"
#include "core/Transport.h"
#include "document/CoreDocumentSections.h"
#include "document/NUPO4DrawDocument.h"
#include "document/gl/PlotWindowsSection.h"
#include "document/gl/ViewDocumentSections.h"
#include "document/sections/MidiDocumentCalls.h"
#include "document/sections/MidiSections.h"
#include "document/sections/MovieSection.h"
#include "document/sections/SoundSection.h"
#include "document/ui/Spectrum3DSection.h"
#include "midi/peak/PeakSetupTable.h"
#include "platform/appkit/MainThread.h"
#include "platform/appkit/WorkerThread.h"
#include "platform/appkit/ui/AlertPanel.h"
#include "platform/appkit/ui/NibActionConnector.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/files/CheckedFile.h"
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/settings/DisplaySettings.h"
#include "plots/waterfall/QX2DSpectrum.h"
#include "plots/waterfall/gl/WaterfallWindowState.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"
#include "shared/Utilities.h"
#include "views3d/spectrum/ui/Spectrum3DWindowState.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QWidget>

#include <algorithm>
#include <future>
#include <cstdio>
#include <utility>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;
const char* baseTitleProperty = "nupoBaseTitle";
const char* shownTitleProperty = "nupoDocumentTitle";
const QString titleSeparator = QStringLiteral(" \u2014 ");
// What a document stores only as a place, no change of it: which windows are open, their frames,
// transparencies and front switches, background colours (which windows take from their colour wells as
// they open; a colour the user chooses in a window counts through the window's choice count), values the
// mappers measure, and where the recording plays from. Every other stored value counts.
const QStringList placeOnly = [] {
    QStringList keys = {"DisplayColor",
                        "Recording/ploop",
                        "Recording/ploopStart",
                        "Movie/OpenQT",
                        "Movie/NomalQTSizeR",
                        "Movie/WQTAlphaValue",
                        "Spectrum3DWindow/Open3DWaterFallBS",
                        "Spectrum3DWindow/W3DAlphaValue",
                        "Spectrum3DWindow/BackgroundColor",
                        "Spectrum3DWindow/showFFTPanelFront"};
    for (const QString& key : storedFrameKeys(QStringLiteral("boundsWaterFallBS")))
        keys << QStringLiteral("Spectrum3DWindow/") + key;
    keys << QStringLiteral("Spectrum3DWindow/") + storedScreenKey;
    for (const QString& key : PlotWindowsSection::placementKeys())
        keys << QStringLiteral("PlotWindows/") + key;
    for (const QString& key : PeakMidiSection::measuredKeys())
        keys << QStringLiteral("BrainPeakMIDI/") + key;
    for (const QString& key : BandMidiSection::measuredKeys())
        keys << QStringLiteral("BrainRhythmMIDI/") + key;
    for (const QString& key : SoundSection::frameKeys())
        keys << QStringLiteral("Sound/") + key;
    keys << QStringLiteral("Drawing/") + DrawingSection::frameKey
         << QStringLiteral("Drawing/") + DrawingSection::openKey
         << QStringLiteral("Drawing/") + DrawingSection::mixerKey;
    return keys;
}();
// Left out of the compared text besides: the recording, whose values count through its mark (writing its
// samples each time would cost as much as a save), and the brain-switch table, compared apart.
const QStringList notCompared =
    placeOnly + QStringList{QStringLiteral("Recording"), QStringLiteral("Spectrum3DWindow/brainSWX")};
// What is not compared now: a colour level is a setting while its animation stands still.
QStringList notComparedNow()
{
    QStringList keys = notCompared;
    const std::pair<const char*, int> levels[] = {
        {"Display/ColorGainSliderX", setColorGainAnimationX},
        {"Display/ColorOffsetSliderX", setColorOffsetAnimationX},
        {"Display/ColorGainBSMixSliderX", setColorGainBSMixAnimationX},
        {"Display/ColorOffsetBSMixSliderX", setColorOffsetBSMixAnimationX},
    };
    for (const auto& [key, animation] : levels)
        if (colourAnimationRuns(animation))
            keys << QString::fromLatin1(key);
    // Likewise the peak setups' channels, unless one of them follows its peak's frequency or value: the
    // mapper then sets it as the recording plays.
    for (int s = 0; s < maxSetupNumber; ++s)
        if (MIDIchannelFX[s].load(relaxed) != 0 || MIDIchannelVX[s].load(relaxed) != 0) {
            keys << QStringLiteral("BrainPeakMIDI/MIDIchannelX:");
            break;
        }
    return keys;
}
// Elements 10 .. 17 of a brain-switch record are the display states of its windows 1 .. 8.
constexpr int brainSwitchStateFirst = 10;
const QString fileFilter = QStringLiteral("NUPO4 brain-note documents (*.nupo4);;All files (*)");

void report(const QString& line)
{
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

// Whether a window is one of the document's, which carry its name in their titles: a titled, framed
// window. Dialogs (alerts, file choosers, pickers) keep their own titles.
bool showsDocument(const QWidget* window)
{
    return window->isWindow() && window->windowType() == Qt::Window &&
           !qobject_cast<const QDialog*>(window) &&
           !window->windowFlags().testFlag(Qt::FramelessWindowHint) && !window->windowTitle().isEmpty();
}

// The plot windows, the sound slots and the movie window show what the document holds: those the
// replaced document (or the same one, read again) had open close before the new one is applied, so that
// the document's own come back once each and nothing the closing windows hand on or reset (the frame,
// colour and front switch of their kind) touches the new settings.
void closeDocumentWindows()
{
    MenuCommands::run(MenuCommand::closeAllWindows);
    const QString soundClass = soundSlotClassName(0);  // every slot's nib names the first slot's class
    const QString movieClass = QStringLiteral("QXMovieController");
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        const QString controller = window->property("controllerClass").toString();
        if (window->isVisible() && (controller == soundClass || controller == movieClass))
            window->close();
    }
}

// The window set-up of a document just read: the plot windows it had open come back, with the frame
// it saved for the first of each kind.
void openDocumentWindows()
{
    NUPO4DrawDocument& document = NUPO4DrawDocument::sharedNUPO4DrawDocument();
    auto* section = dynamic_cast<PlotWindowsSection*>(document.section("PlotWindows"));
    if (!section)
        return;
    // The front switches the document set (closing the windows the start-up opened clears them); a family
    // without a window has none in front.
    const bool front3D = showFFTPanelFront.load(relaxed) != 0;
    const bool frontWanted[] = {showQXRawwaveGraphFront.load(relaxed) != 0,
                                showQX2DBarGarphFront.load(relaxed) != 0,
                                showQX2DSpectrumFront.load(relaxed) != 0};
    MenuCommands::run(MenuCommand::closeAllWindows);
    struct Family {
        PlotWindowsSection::Family family;
        PlotWindowState& state;
        std::atomic<int>& front;
        MenuCommand show;
        MenuCommand showFront;
    };
    const Family families[] = {
        {PlotWindowsSection::Rawwave, rawwaveWindowState, showQXRawwaveGraphFront, MenuCommand::showRawwave,
         MenuCommand::showRawwaveFront},
        {PlotWindowsSection::Bargraph, barGraphWindowState, showQX2DBarGarphFront, MenuCommand::showBarGraph,
         MenuCommand::showBarGraphFront},
        {PlotWindowsSection::Waterfall, waterfallWindowState, showQX2DSpectrumFront,
         MenuCommand::showWaterfall, MenuCommand::showWaterfallFront},
    };
    for (const Family& f : families) {
        const int wanted = section->windowsToOpen(f.family);
        const bool front = frontWanted[f.family];
        for (int k = std::max(0, f.state.openCount); k < wanted; ++k)
            MenuCommands::run(front ? f.showFront : f.show);
        if (f.state.openCount <= 0)
            f.front.store(0, relaxed);
    }
    // The 3D window: the nib "QX3DSpectrum" takes the frame handed over with setWframe:.
    if (auto* spectrum = dynamic_cast<Spectrum3DSection*>(document.section("Spectrum3DWindow"))) {
        for (int k = std::max(0, Open3DWaterFallBS); k < spectrum->windowsToOpen(); ++k)
            MenuCommands::run(front3D ? MenuCommand::show3DSpectrumFront : MenuCommand::show3DSpectrum);
        if (Open3DWaterFallBS <= 0)
            showFFTPanelFront.store(0, relaxed);
    }
    // The drawing: a document that had one opens a drawing window (when none is open) for its graphics.
    // The first drawing window of a run sets the sound slots' tables to their defaults; they hold the
    // document's sounds now, which it must not wipe.
    firstTimeRunAplication = 0;
    if (auto* drawing = dynamic_cast<DrawingSection*>(document.section("Drawing"))) {
        if (drawing->drawingToOpen())
            NUPO4DrawWindowController::showDrawWindow(nullptr);
        drawing->restorePending();
        if (drawing->takeMixerToOpen())
            BezierView::showBezierView(nullptr);
    }
    // A drawing window opened later by the user opens where new ones do.
    drawingFrameFromDocument = false;
    // The movie: a document that had a movie window loads "QXDrawerMovie" with its path in outCHAR and
    // plays the recording from the start with it.
    openMovieWindowIfAsked([] {
        MenuCommands::run(MenuCommand::openMovieAndPlay);
        return !QXMovieWindowController::openWindows().empty();
    });
    SoundOpenFromFileAction();
}

}  // namespace

void SoundOpenFromFileAction()
{
    firsttimeQXSoundController = 1;
    if (RowsCountA[0] <= 0)
        return;
    setSoundSetupSaveX = 1;
    SoundOpenFromFile = 1;
    for (int k = 0; k < soundSlotCount; ++k) {
        if (RowsCountA[std::size_t(k)] <= 0)
            continue;
        openSound = openSoundAfter(k);
        // A nib that fails (the loader logs it and beeps) ends the walk.
        if (!NibLoader::loadNibNamed(soundSlotNibName(k)))
            break;
    }
    // However the walk ends, the slot windows opened later are ordinary ones again.
    SoundOpenFromFile = 0;
}

// A save under way: the file and the state it writes, taken on the main thread as it began.
struct NUPO4DocumentController::SaveUnderWay {
    QByteArray file;
    QByteArray settings;
    RecordingMark recording;
    quint64 document = 0;  // documentsTaken as it began
};

NUPO4DocumentController::NUPO4DocumentController()
{
    askToSaveChanges = [](const QString& name) {
        const int answer = AlertPanel::run(
            QStringLiteral("Save changes?"),
            QStringLiteral("Do you want to save the changes made in the document \u201c%1\u201d?\n"
                           "Your changes will be lost if you don't save them.")
                .arg(name),
            QStringLiteral("Save"), QStringLiteral("Cancel"), QStringLiteral("Don't Save"));
        return answer == AlertPanel::DefaultReturn ? Save
               : answer == AlertPanel::OtherReturn ? DontSave
                                                   : Cancel;
    };
    askToRevert = [](const QString& name) {
        // Cancel is the default (Return) and the escape: only a click on Revert gives the changes up.
        return AlertPanel::run(
                   QStringLiteral("Revert?"),
                   QStringLiteral("Do you want to revert to the most recently saved version of the "
                                  "document \u201c%1\u201d? Your current changes will be lost.")
                       .arg(name),
                   QStringLiteral("Cancel"), {}, QStringLiteral("Revert")) == AlertPanel::OtherReturn;
    };
    tellUser = [](const QString& message) {
        report(message);
        AlertPanel::run(QStringLiteral("NUPO4"), message);
    };
    chooseFileToOpen = [this] {
        return QFileDialog::getOpenFileName(nullptr, QStringLiteral("Open"), folderToOpenFrom(), fileFilter);
    };
    chooseFileToSave = [](const QString& suggested) {
        return QFileDialog::getSaveFileName(nullptr, QStringLiteral("Save As"), suggested, fileFilter);
    };
    showWhileSaving = [this](const QString& message, const std::function<bool()>& saved) {
        if (saved())
            return true;
        QMessageBox panel(QMessageBox::Information, QStringLiteral("NUPO4"), message, QMessageBox::Cancel);
        panel.button(QMessageBox::Cancel)->setText(QStringLiteral("Stop Waiting"));
        connect(this, &NUPO4DocumentController::savingEnded, &panel, [&panel] { panel.done(QMessageBox::Ok); });
        panel.exec();
        return saved();
    };
    titleTimer.setInterval(1000);
    connect(&titleTimer, &QTimer::timeout, this, &NUPO4DocumentController::updateWindowTitles);
}

QStringList NUPO4DocumentController::placeOnlyKeys()
{
    return placeOnly;
}

NUPO4DocumentController& NUPO4DocumentController::sharedNUPO4DocumentController()
{
    static NUPO4DocumentController* instance = new NUPO4DocumentController;  // lives to process end
    return *instance;
}

void NUPO4DocumentController::addSections(NUPO4DrawDocument& document)
{
    addViewDocumentSections(document);
    document.addSection(std::make_unique<DrawingSection>());
    document.addSection(std::make_unique<Spectrum3DSection>());
    addCoreDocumentSections(document, MidiDocumentCalls::sharedCalls());
    addRecordingSection(document);
}

void NUPO4DocumentController::installDocument(std::function<bool()> startUp)
{
    NUPO4DrawDocument& document = NUPO4DrawDocument::sharedNUPO4DrawDocument();
    document.runStartUpIfNeeded = std::move(startUp);
    document.windowSetup = &openDocumentWindows;
    document.closeReplacedWindows = &closeDocumentWindows;
    NUPO4DocumentController& controller = sharedNUPO4DocumentController();
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QApplication::setQuitOnLastWindowClosed(false);
        connect(qApp, &QGuiApplication::lastWindowClosed, &controller,
                &NUPO4DocumentController::lastWindowClosed, Qt::UniqueConnection);
        qApp->removeEventFilter(&controller);
        qApp->installEventFilter(&controller);
    }
    // A data file opened in the Media Browser replaces the recording: unsaved work is asked about first.
    AppControllerB::mayReplaceRecording = [] {
        return sharedNUPO4DocumentController().documentShouldClose();
    };
    controller.titleTimer.start();
}

QString NUPO4DocumentController::folderToOpenFrom() const
{
    if (!path.isEmpty())
        return QFileInfo(path).absolutePath();
    return lastFolder;
}

QString NUPO4DocumentController::displayName() const
{
    return path.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path).fileName();
}

namespace {

QString fileNameOf(const QByteArray& file)
{
    return QFileInfo(QFile::decodeName(file)).fileName();
}

}  // namespace

QByteArray NUPO4DocumentController::settingsSnapshot() const
{
    QByteArray state = NUPO4DrawDocument::sharedNUPO4DrawDocument().snapshot(notComparedNow());
    // The brain-switch table, but a window the drawing highlights while the recording plays (display
    // state 2) counts as shown (1): its flashing is no change of the document.
    for (const auto& record : brainSWX) {
        for (int k = 0; k < brainSwitchRecordLength; ++k) {
            float value = record[k].load(relaxed);
            if (k >= brainSwitchStateFirst && k < brainSwitchStateFirst + 8 && value == 2.0f)
                value = 1.0f;
            state.append(reinterpret_cast<const char*>(&value), sizeof value);
        }
    }
    // A background chosen in a plot window (the colours themselves are left out above).
    for (const PlotWindowState* family : {&rawwaveWindowState, &barGraphWindowState, &waterfallWindowState})
        state.append(reinterpret_cast<const char*>(&family->backgroundChoices),
                     sizeof family->backgroundChoices);
    return state;
}

NUPO4DocumentController::RecordingMark NUPO4DocumentController::recordingMark() const
{
    // Length, rate and the count of changed samples: every write that changed the recording (a key marker
    // at any point, a recording, emptying it) shows, at no cost however long the recording is. The
    // replay speed is saved with it.
    return {maxploop.load(relaxed), SampleSpeed.load(relaxed),
            RecordingBuffers::sharedRecordingBuffers().changeCount(), tlongE.load(relaxed)};
}

bool NUPO4DocumentController::isDocumentEdited() const
{
    return settingsSnapshot() != savedSettings || recordingMark() != savedRecording;
}

void NUPO4DocumentController::markSaved()
{
    savedSettings = settingsSnapshot();
    savedRecording = recordingMark();
    updateWindowTitles();
}

void NUPO4DocumentController::updateWindowTitles()
{
    // Titles name the document once it has a file (or is being saved to one); an untitled document leaves
    // them as they are. A save under way shows after the name.
    const bool named = !path.isEmpty() || saving;
    const QString name = path.isEmpty() && saving ? fileNameOf(saving->file) : displayName();
    const QString savingMark = saving ? titleSeparator + QStringLiteral("Saving\u2026") : QString();
    const bool edited = !path.isEmpty() && isDocumentEdited();
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (!showsDocument(window))
            continue;
        QVariant base = window->property(baseTitleProperty);
        // A window that has titled itself anew since (the Preferences window names the tab shown) keeps
        // its new title.
        if (base.isValid() && window->windowTitle() != window->property(shownTitleProperty).toString())
            base = QVariant();
        if (!base.isValid()) {
            if (!named)
                continue;
            base = window->windowTitle();
            window->setProperty(baseTitleProperty, base);
        }
        const QString title = !named ? base.toString()
                                     : base.toString() + titleSeparator + name + QStringLiteral("[*]") + savingMark;
        if (window->windowTitle() != title)
            window->setWindowTitle(title);
        window->setProperty(shownTitleProperty, title);
        window->setWindowModified(edited);
    }
}

bool NUPO4DocumentController::waitForSaving(const QString& message)
{
    if (!saving)
        return true;
    // The panel's own window closing may be the last window closing: it must not ask anything.
    const QScopedValueRollback<bool> whileAsking(asking, true);
    const quint64 failedBefore = failedSaves;
    const bool waited = showWhileSaving(message, [this] { return !saving; });
    return waited && !saving && failedSaves == failedBefore;
}

bool NUPO4DocumentController::documentShouldClose()
{
    NibActionConnector::commitTypedValues();
    const auto beingSaved = [this] {
        return QStringLiteral("\u201c%1\u201d is being saved: it closes once it is saved.")
            .arg(saving ? fileNameOf(saving->file) : displayName());
    };
    if (!waitForSaving(beingSaved()))
        return false;
    if (!isDocumentEdited())
        return true;
    // The question's own window closing may be the last window closing: it must not ask again.
    const QScopedValueRollback<bool> whileAsking(asking, true);
    switch (askToSaveChanges(displayName())) {
        case Save:
            saveDocument(nullptr);
            return waitForSaving(beingSaved()) && !isDocumentEdited();
        case DontSave:
            return true;
        case Cancel:
            break;
    }
    return false;
}

void NUPO4DocumentController::terminate(QObject*)
{
    if (quitting) {
        quit();
        return;
    }
    // A save under way ends first: the program quits only once the file is written.
    if (saving && !waitForSaving(QStringLiteral("\u201c%1\u201d is being saved: NUPO4 quits once it is saved.")
                                     .arg(fileNameOf(saving->file))))
        return;
    if (documentShouldClose())
        quit();
}

namespace {

// Whether closing this window leaves no window on screen that keeps the program open.
bool isLastWindow(const QWidget* closing)
{
    const auto windows = QApplication::topLevelWidgets();
    return std::none_of(windows.begin(), windows.end(), [closing](const QWidget* window) {
        const Qt::WindowType type = window->windowType();
        return window != closing && window->isVisible() && (type == Qt::Window || type == Qt::Dialog) &&
               window->testAttribute(Qt::WA_QuitOnClose);
    });
}

}  // namespace

bool NUPO4DocumentController::eventFilter(QObject* watched, QEvent* event)
{
    // Every event of the application passes here, those other threads post among them: only widgets'
    // are read (Qt's own threads post to other objects, see WindowPlacement::eventFilter).
    if (!handedOverToWidget(watched) || handedOverEventType(event) != QEvent::Close)
        return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!window->isWindow() || !window->isVisible() || opening || quitting || asking || !isLastWindow(window))
        return false;
    if (documentShouldClose()) {
        closeAgreed = true;
        return false;
    }
    event->ignore();  // cancelled: the window stays where it is
    return true;
}

void NUPO4DocumentController::lastWindowClosed()
{
    if (opening || quitting || asking)
        return;
    if (std::exchange(closeAgreed, false) || documentShouldClose())
        quit();
    else
        MenuCommands::run(MenuCommand::showControlPanel);
}

void NUPO4DocumentController::quit()
{
    quitting = true;
    QCoreApplication::quit();
}

void NUPO4DocumentController::newDocument(QObject*)
{
    if (!documentShouldClose())
        return;
    // An empty recording of the default length; the settings stay as they are.
    setPauseX.store(1, relaxed);
    QXSerialPort::sharedQXSerialPort().recCleare();
    maxploop.store(432000, relaxed);
    ploopStart.store(0, relaxed);
    ploop.store(0, relaxed);
    ploopZZZ.store(0, relaxed);
    QX2DSpectrum::sharedQX2DSpectrum().initPositionZ();
    ++documentsTaken;
    path.clear();
    nativePath.clear();
    documentNameX.clear();
    markSaved();
}

void NUPO4DocumentController::openDocument(QObject*)
{
    if (!documentShouldClose())
        return;
    const QString chosen = chooseFileToOpen();
    if (!chosen.isEmpty())
        openDocumentInBackground(QFile::encodeName(chosen));
}

namespace {

// Documents chosen with File ▸ Open are read and parsed here, so that the windows draw and the patch
// interface answers meanwhile.
WorkerThread& documentReader()
{
    static WorkerThread* reader = [] {
        auto* thread = new WorkerThread(QStringLiteral("document reader"));  // lives to process end
        thread->start();
        return thread;
    }();
    return *reader;
}

}  // namespace

void NUPO4DocumentController::openDocumentInBackground(const QByteArray& nativeFile)
{
    const QByteArray file = absoluteNativePath(nativeFile);
    const quint64 serial = ++readsStarted;
    documentReader().runOnThread([file, serial] {
        auto read = std::make_shared<std::pair<std::optional<PlistValue>, QString>>();
        read->first = NUPO4DrawDocument::readParsed(file, false, &read->second);
        performOnMainThread([file, serial, read] {
            NUPO4DocumentController& controller = sharedNUPO4DocumentController();
            if (serial != controller.readsStarted)
                return;  // a later opening took its place
            controller.readsTaken = serial;
            controller.takeDocument(file, read->first ? &*read->first : nullptr, read->second);
        });
    });
}

bool NUPO4DocumentController::openDocumentAt(const QString& file)
{
    return openDocumentAt(QFile::encodeName(file));
}

bool NUPO4DocumentController::openDocumentAt(const QByteArray& nativeFile)
{
    const QByteArray file = absoluteNativePath(nativeFile);
    readsTaken = ++readsStarted;  // a document still being read is not taken after this one
    QString error;
    const std::optional<PlistValue> parsed = NUPO4DrawDocument::readParsed(file, false, &error);
    return takeDocument(file, parsed ? &*parsed : nullptr, error);
}

bool NUPO4DocumentController::takeDocument(const QByteArray& file, const PlistValue* parsed, QString error)
{
    opening = true;
    // The windows the document opens look beside it for media that moved with it.
    const QString previousName = documentNameX;
    documentNameX = QFile::decodeName(file);
    const bool read = parsed && NUPO4DrawDocument::sharedNUPO4DrawDocument().loadParsed(
                                    *parsed, displayPath(file), false, &error);
    opening = false;
    if (!read) {
        documentNameX = previousName;
        tellUser(error);
        return false;
    }
    ++documentsTaken;
    takeFileName(file);
    Transport::sharedTransport().SetselectsetPlay();
    markSaved();
    report(QStringLiteral("Opened %1.").arg(displayPath(nativePath)));
    return true;
}

void NUPO4DocumentController::takeFileName(const QByteArray& file)
{
    nativePath = file;
    path = QFile::decodeName(file);
    documentNameX = path;
    lastFolder = QFileInfo(path).absolutePath();
}

QByteArray NUPO4DocumentController::nativeNameOf(const QString& chosen) const
{
    if (nativePath.isEmpty())
        return QFile::encodeName(chosen);
    const QFileInfo info(chosen);
    if (info.absoluteFilePath() == path)
        return nativePath;
    const QByteArray folder = nativePath.left(nativePath.lastIndexOf('/'));
    if (info.absolutePath() == QFile::decodeName(folder))
        return folder + '/' + QFile::encodeName(info.fileName());
    return QFile::encodeName(chosen);
}

void NUPO4DocumentController::saveDocument(QObject* sender)
{
    NibActionConnector::commitTypedValues();
    if (nativePath.isEmpty())
        saveDocumentAs(sender);
    else
        saveDocumentInBackground(nativePath);
}

void NUPO4DocumentController::saveDocumentAs(QObject*)
{
    NibActionConnector::commitTypedValues();
    QString chosen = chooseFileToSave(path.isEmpty() ? QStringLiteral("Untitled.") + fileSuffix : path);
    if (chosen.isEmpty())
        return;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += QStringLiteral(".") + fileSuffix;
    saveDocumentInBackground(nativeNameOf(chosen));
}

namespace {

// Documents are written and synced to disk here, one after another, so that the windows draw and the
// patch interface answers while a slow or hung drive takes its time.
WorkerThread& documentWriter()
{
    static WorkerThread* writer = [] {
        auto* thread = new WorkerThread(QStringLiteral("document writer"));  // lives to process end
        thread->start();
        return thread;
    }();
    return *writer;
}

}  // namespace

bool NUPO4DocumentController::saveDocumentTo(const QString& file)
{
    return saveDocumentTo(QFile::encodeName(file));
}

bool NUPO4DocumentController::saveDocumentTo(const QByteArray& nativeFile)
{
    NibActionConnector::commitTypedValues();
    const QByteArray file = absoluteNativePath(nativeFile);
    const QByteArray settings = settingsSnapshot();
    const RecordingMark recording = recordingMark();
    const PlistDictionary state = NUPO4DrawDocument::sharedNUPO4DrawDocument().stateRepresentation(false);
    // Written in turn with the saves under way, on their worker; waited for here.
    std::promise<QString> written;
    documentWriter().runOnThread([&] {
        QString error;
        NUPO4DrawDocument::writeTextToFile(file, NUPO4DrawDocument::textOf(state), &error);
        written.set_value(error);
    });
    const QString error = written.get_future().get();
    if (!error.isEmpty()) {
        tellUser(error);
        return false;
    }
    takeFileName(file);
    savedSettings = settings;
    savedRecording = recording;
    updateWindowTitles();
    report(QStringLiteral("Saved %1.").arg(displayPath(file)));
    return true;
}

void NUPO4DocumentController::saveDocumentInBackground(const QByteArray& nativeFile)
{
    NibActionConnector::commitTypedValues();
    const QByteArray file = absoluteNativePath(nativeFile);
    if (saving) {
        // Saved once the save under way has ended, with the state of that moment.
        if (!savesWaiting.contains(file))
            savesWaiting << file;
        return;
    }
    startSave(file);
}

void NUPO4DocumentController::startSave(const QByteArray& file)
{
    auto save = std::make_shared<SaveUnderWay>();
    save->file = file;
    save->settings = settingsSnapshot();
    save->recording = recordingMark();
    save->document = documentsTaken;
    // The state is taken whole here (a copy of the recording, a few milliseconds); its text (ten times as
    // long for a full recording) and the file are made on the worker.
    auto state = std::make_shared<const PlistDictionary>(
        NUPO4DrawDocument::sharedNUPO4DrawDocument().stateRepresentation(false));
    saving = save;
    report(QStringLiteral("Saving %1\u2026").arg(displayPath(file)));
    updateWindowTitles();
    documentWriter().runOnThread([file, state] {
        QString error;
        const bool written =
            NUPO4DrawDocument::writeTextToFile(file, NUPO4DrawDocument::textOf(*state), &error);
        performOnMainThread([written, error] { sharedNUPO4DocumentController().finishSave(written, error); });
    });
}

void NUPO4DocumentController::finishSave(bool written, const QString& error)
{
    const std::shared_ptr<const SaveUnderWay> done = std::exchange(saving, nullptr);
    if (!done)
        return;
    if (written) {
        // A document opened or made new since keeps its own name and marks.
        if (done->document == documentsTaken) {
            takeFileName(done->file);
            savedSettings = done->settings;
            savedRecording = done->recording;
        }
        report(QStringLiteral("Saved %1.").arg(displayPath(done->file)));
    } else {
        ++failedSaves;
    }
    if (!savesWaiting.isEmpty())
        startSave(savesWaiting.takeFirst());
    updateWindowTitles();
    if (!saving) {
        emit savingEnded();
        for (const std::function<void()>& call : std::exchange(whenSaved, {}))
            call();
    }
    if (!written)
        tellUser(error);
}

void NUPO4DocumentController::afterSaving(std::function<void()> call)
{
    if (saving)
        whenSaved.push_back(std::move(call));
    else
        call();
}

void NUPO4DocumentController::revertDocumentToSaved(QObject*)
{
    // A save under way ends first: what it writes is what there is to revert to.
    if (saving) {
        afterSaving([this] { revertDocumentToSaved(nullptr); });
        return;
    }
    if (path.isEmpty()) {
        tellUser(QStringLiteral("The document has not been saved yet: there is nothing to revert to."));
        return;
    }
    NibActionConnector::commitTypedValues();
    if (isDocumentEdited() && !askToRevert(displayName()))
        return;
    // Read on the reader's thread, as File ▸ Open reads.
    openDocumentInBackground(nativePath);
}

void NUPO4DocumentController::savePreferences(QObject*)
{
    const QString file = defaultPreferenceFilePath();
    QString error;
    if (!NUPO4DrawDocument::sharedNUPO4DrawDocument().writeToFile(file, true, &error))
        tellUser(error);
    else
        report(QStringLiteral("Preferences saved to %1.").arg(file));
}

bool NUPO4DocumentController::readPreferenceFile()
{
    const QString file = defaultPreferenceFilePath();
    if (!QFileInfo::exists(file))
        return true;
    QString error;
    if (!NUPO4DrawDocument::sharedNUPO4DrawDocument().openDataForAllPreference(file, &error)) {
        // Said on screen: otherwise the settings saved there would silently not come back.
        tellUser(QStringLiteral("The saved preferences were not read, the settings are the defaults.\n\n%1")
                     .arg(error));
        return false;
    }
    // The movie window saved with the preferences opens again with its movie (it plays when asked).
    openMovieWindowIfAsked([] {
        MenuCommands::run(MenuCommand::openMovieWindow);
        return !QXMovieWindowController::openWindows().empty();
    });
    return true;
}

}  // namespace nupo
