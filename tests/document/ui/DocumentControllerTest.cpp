// The document in the program: a document given at start runs the start-up from its reader and brings
// its windows, settings and recording; File ▸ Save names the document in the titles; an edited document
// asks before it closes; a refused document changes nothing.
#include <gtest/gtest.h>

#include "DocumentMenuItem.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "QXSketch/gl/NUPO4Drawing.h"
#include "analysis/SetFFTController.h"
#include "app/NUPO4DrawAppDelegate.h"
#include "core/MenuCommands.h"
#include "core/ui/QXAppController.h"
#include "core/ui/WindowController.h"
#include "document/DocumentTestSupport.h"
#include "document/NUPO4DrawDocument.h"
#include "document/sections/SoundSection.h"
#include "document/ui/NUPO4DocumentController.h"
#include "platform/files/CheckedFile.h"
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"
#include "support/TestSupport.h"
#include "views3d/spectrum/ui/Spectrum3DWindowState.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTabWidget>
#include <QWidget>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

using namespace nupo;
using nupo::test::menuItem;

namespace {

QStringList told;

NUPO4DocumentController& answeringController(NUPO4DocumentController::SaveAnswer answer,
                                             const QString& saveTo)
{
    qputenv("XDG_CONFIG_HOME", test::tempFolder().toLocal8Bit());
    auto& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    document.askToSaveChanges = [answer](const QString&) { return answer; };
    document.chooseFileToSave = [saveTo](const QString&) { return saveTo; };
    document.chooseFileToOpen = [] { return QString(); };
    document.tellUser = [](const QString& message) { told << message; };
    return document;
}

QWidget* shownWindow(const QString& titleStart)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle().startsWith(titleStart))
            return window;
    return nullptr;
}

// A document written by the program's own writer before anything started: a bar-graph window at a
// known frame, a setting and a short recording.
QString documentOnDisk()
{
    NUPO4DocumentController::installDocument([] { return false; });
    const QString path = test::tempFolder() + "/session.nupo4";
    Open2DBarGraph = 1;
    boundsBargraph = QRectF(300, 200, 520, 400);
    GridSize2DBarX = 5;
    RecordingBuffers& buffers = RecordingBuffers::sharedRecordingBuffers();
    maxploop = 3000;
    buffers.allocate();
    for (int i = 0; i < 3000; ++i)
        buffers.putSampleAt(1, i, (i * 7) % 400 - 200);
    EXPECT_TRUE(NUPO4DrawDocument::sharedNUPO4DrawDocument().writeToFile(path));
    Open2DBarGraph = 0;
    GridSize2DBarX = 20;
    maxploop = 432000;
    buffers.clear();
    return path;
}

}  // namespace

TEST(DocumentController, ADocumentGivenAtStartRunsTheStartUpAndBringsItsWindowsSettingsAndRecording)
{
    const QString path = documentOnDisk();
    answeringController(NUPO4DocumentController::DontSave, {});
    ASSERT_EQ(applicationisOpened.load(), 0);
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    delegate.setPathToOpen(path);
    testing::internal::CaptureStdout();
    delegate.applicationDidFinishLaunching(nullptr);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(applicationisOpened.load(), 1);
    EXPECT_EQ(windowColorRawNOX, 1);  // the first tick drops what was queued before the document
    EXPECT_EQ(GridSize2DBarX, 5);
    EXPECT_EQ(maxploop.load(), 3000);
    EXPECT_EQ(RecordingBuffers::sharedRecordingBuffers().getIntFromBuffer(1, 100), 700 % 400 - 200);
    EXPECT_EQ(setPauseX.load(), 0);  // it plays, as a recording given at start does
    QWidget* bargraph = shownWindow("Bargraph Window");
    ASSERT_NE(bargraph, nullptr);
    EXPECT_EQ(bargraph->windowTitle(), QString("Bargraph Window \u2014 session.nupo4[*]"));
    EXPECT_FALSE(bargraph->isWindowModified());
    EXPECT_TRUE(told.isEmpty()) << told.join("\n").toStdString();
    delegate.applicationWillTerminate(nullptr);
}

TEST(DocumentController, SaveNamesTheDocumentAndAnEditedDocumentAsksBeforeItCloses)
{
    const QString path = test::tempFolder() + "/saved.nupo4";
    auto& document = answeringController(NUPO4DocumentController::Cancel, path);
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    testing::internal::CaptureStdout();
    delegate.applicationDidFinishLaunching(nullptr);
    EXPECT_FALSE(document.isDocumentEdited());
    EXPECT_EQ(delegate.mainWindow()->windowTitle(), "Control Panel");  // untitled: titles as they are

    QAction* save = menuItem("saveDocument");
    ASSERT_NE(save, nullptr);
    save->trigger();  // untitled: Save As
    ASSERT_TRUE(test::processEventsUntil([&] { return !document.isSavingDocument(); }));
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(QFile::exists(path)) << told.join("\n").toStdString();
    EXPECT_EQ(document.fileName(), path);
    EXPECT_EQ(delegate.mainWindow()->windowTitle(), QString("Control Panel \u2014 saved.nupo4[*]"));
    EXPECT_FALSE(delegate.mainWindow()->isWindowModified());

    // The Preferences window's title names the tab shown, with the document after it.
    auto& preferences = WindowController::sharedWindowController();
    preferences.showPanelX(PreferencesTab::Device);
    document.updateWindowTitles();
    EXPECT_EQ(preferences.window()->windowTitle(), QString("Preferences: Device \u2014 saved.nupo4[*]"));
    preferences.tabView()->setCurrentIndex(preferences.tabView()->count() - 1);
    const QString lastTab = preferences.tabView()->tabText(preferences.tabView()->count() - 1);
    document.updateWindowTitles();
    EXPECT_EQ(preferences.window()->windowTitle(),
              QString("Preferences: %1 \u2014 saved.nupo4[*]").arg(lastTab));

    // Dialogs and alerts are not the document's windows: they keep their own titles, tick after tick.
    QDialog chooser;
    chooser.setWindowTitle("Save As");
    QMessageBox alert(QMessageBox::Warning, "NUPO4", "Something to say.");
    chooser.show();
    alert.show();
    document.updateWindowTitles();
    document.updateWindowTitles();
    EXPECT_EQ(chooser.windowTitle(), "Save As");
    EXPECT_EQ(alert.windowTitle(), "NUPO4");
    chooser.hide();
    alert.hide();

    ShowPeakHoldX = 1 - ShowPeakHoldX;  // a setting changes
    document.updateWindowTitles();
    EXPECT_TRUE(delegate.mainWindow()->isWindowModified());
    EXPECT_FALSE(document.documentShouldClose());  // Cancel
    document.askToSaveChanges = [](const QString&) { return NUPO4DocumentController::Save; };
    testing::internal::CaptureStdout();
    EXPECT_TRUE(document.documentShouldClose());  // saved, then closes
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(document.isDocumentEdited());

    // Revert brings back what was saved.
    const int saved = ShowPeakHoldX;
    ShowPeakHoldX = 1 - saved;
    document.askToRevert = [](const QString&) { return true; };
    testing::internal::CaptureStdout();
    menuItem("revertDocumentToSaved")->trigger();
    ASSERT_TRUE(test::processEventsUntil([&] { return !document.isReadingDocument(); }));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(ShowPeakHoldX, saved);

    // Cancelling the close of the last window leaves that window open (not the Control Panel instead).
    ShowPeakHoldX = 1 - saved;
    document.askToSaveChanges = [](const QString&) { return NUPO4DocumentController::Cancel; };
    QWidget* rawwave = shownWindow("Rawwave Window");
    ASSERT_NE(rawwave, nullptr);
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != rawwave)
            window->hide();
    EXPECT_FALSE(rawwave->close());
    QCoreApplication::processEvents();
    EXPECT_TRUE(rawwave->isVisible());
    EXPECT_FALSE(delegate.mainWindow() && delegate.mainWindow()->isVisible());
    ShowPeakHoldX = saved;
    delegate.applicationWillTerminate(nullptr);
}

TEST(DocumentController, ADocumentWhoseNameIsNotUtf8OpensFromTheCommandLineAndSavesUnderItsOwnBytes)
{
    const QByteArray folder = QFile::encodeName(test::tempFolder()) + "/caf\xe9";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    const QByteArray path = folder +
                            "/s\xe9"
                            "ance.nupo4";
    ASSERT_EQ(::rename(QFile::encodeName(documentOnDisk()).constData(), path.constData()), 0);
    // Save As offers the chooser's name for the file: in the document's folder, shown approximately.
    const QString copy = QFile::decodeName(folder) + "/copy.nupo4";
    auto& document = answeringController(NUPO4DocumentController::DontSave, copy);
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    testing::internal::CaptureStdout();
    delegate.applicationDidFinishLaunching(nullptr);
    EXPECT_TRUE(delegate.openFile(path));
    EXPECT_TRUE(told.isEmpty()) << told.join("\n").toStdString();
    EXPECT_EQ(GridSize2DBarX, 5);
    EXPECT_EQ(document.nativeFileName(), path);

    const auto holdsGrid = [](const QByteArray& file) {
        QByteArray text;
        QString why;
        return readRegularFile(file, NUPO4DrawDocument::maxFileBytes, &text, &why) &&
               text.contains("GridSize2DBarX = 77;");
    };
    GridSize2DBarX = 77;
    menuItem("saveDocument")->trigger();
    ASSERT_TRUE(test::processEventsUntil([&] { return !document.isSavingDocument(); }));
    EXPECT_TRUE(holdsGrid(path)) << told.join("\n").toStdString();
    menuItem("saveDocumentAs")->trigger();
    ASSERT_TRUE(test::processEventsUntil([&] { return !document.isSavingDocument(); }));
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(holdsGrid(folder + "/copy.nupo4")) << told.join("\n").toStdString();
    EXPECT_EQ(document.nativeFileName(), folder + "/copy.nupo4");
    // Nothing was written under other bytes.
    QList<QByteArray> files = test::filesIn(folder, true);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (QList<QByteArray>{"copy.nupo4",
                                        "s\xe9"
                                        "ance.nupo4"}));
    GridSize2DBarX = 20;
    delegate.applicationWillTerminate(nullptr);
}

TEST(DocumentController, ARelativeNameInAFolderWhoseNameIsNotUtf8OpensAndSavesThere)
{
    const QByteArray folder = QFile::encodeName(test::tempFolder()) + "/dir\xff";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    ASSERT_EQ(::rename(QFile::encodeName(documentOnDisk()).constData(), (folder + "/in.nupo4").constData()),
              0);
    auto& document = answeringController(NUPO4DocumentController::DontSave, QString());
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    testing::internal::CaptureStdout();
    delegate.applicationDidFinishLaunching(nullptr);
    const QString before = QDir::currentPath();
    ASSERT_EQ(::chdir(folder.constData()), 0);
    const bool opened = delegate.openFile(QByteArray("in.nupo4"));
    const QByteArray name = document.nativeFileName();
    const bool openedDotted = delegate.openFile(QByteArray("./in.nupo4"));
    ASSERT_TRUE(QDir::setCurrent(before));
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(opened) << told.join("\n").toStdString();
    EXPECT_TRUE(openedDotted) << told.join("\n").toStdString();
    EXPECT_EQ(name, folder + "/in.nupo4");
    EXPECT_EQ(GridSize2DBarX, 5);
    GridSize2DBarX = 78;
    menuItem("saveDocument")->trigger();
    ASSERT_TRUE(test::processEventsUntil([&] { return !document.isSavingDocument(); }));
    QByteArray text;
    QString why;
    EXPECT_TRUE(readRegularFile(folder + "/./in.nupo4", NUPO4DrawDocument::maxFileBytes, &text, &why));
    EXPECT_TRUE(text.contains("GridSize2DBarX = 78;"));
    EXPECT_TRUE(told.isEmpty()) << told.join("\n").toStdString();
    EXPECT_EQ(test::filesIn(folder, true), QList<QByteArray>{"in.nupo4"});
    GridSize2DBarX = 20;
    delegate.applicationWillTerminate(nullptr);
}

TEST(DocumentController,
     ARefusedDocumentIsToldAndChangesNothingAndPreferencesAreSavedWhereTheDesktopKeepsThem)
{
    auto& document = answeringController(NUPO4DocumentController::DontSave, {});
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    testing::internal::CaptureStdout();
    delegate.applicationDidFinishLaunching(nullptr);
    const QString bad = test::tempFolder() + "/bad.nupo4";
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "{ Format = \"NUPO4 brain-note document\"; Version = 1; Display = { GridSize2DBarX = 5; ShowText = ");
    file.close();
    GridSize2DBarX = 10;
    EXPECT_FALSE(document.openDocumentAt(bad));
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(bad + " is not a NUPO4 brain-note document (line 1, column "))
        << told[0].toStdString();
    EXPECT_EQ(GridSize2DBarX, 10);
    EXPECT_TRUE(document.fileName().isEmpty());

    // NUPO4 ▸ Save Preferences writes the preference file; the next start reads it.
    GridSize2DBarX = 5;
    menuItem("savePreferences")->trigger();
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(QFile::exists(test::tempFolder() + "/NUPO4/com.quellbarok.NUPO4.prefs.plist") ||
                QFile::exists(defaultPreferenceFilePath()));
    GridSize2DBarX = 10;
    EXPECT_TRUE(document.readPreferenceFile());
    EXPECT_EQ(GridSize2DBarX, 5);

    // A preference file that cannot be read is said on screen, and changes nothing.
    told.clear();
    QFile prefs(defaultPreferenceFilePath());
    ASSERT_TRUE(prefs.open(QIODevice::WriteOnly | QIODevice::Truncate));
    prefs.write("{ Format = \"NUPO4 preferences\"; Version = 1; Display = { GridSize2DBarX = 7; ");
    prefs.close();
    GridSize2DBarX = 10;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(document.readPreferenceFile());
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(defaultPreferenceFilePath())) << told[0].toStdString();
    EXPECT_EQ(GridSize2DBarX, 10);
    delegate.applicationWillTerminate(nullptr);
}

TEST(DocumentController, ADocumentWithADrawingOpensTheDrawingWindowWithItsGraphics)
{
    auto& document = answeringController(NUPO4DocumentController::DontSave, {});
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    testing::internal::CaptureStdout();
    delegate.applicationDidFinishLaunching(nullptr);
    const QString path = test::tempFolder() + "/drawing.nupo4";
    {
        NUPO4Drawing drawing;
        drawing.makeFront();
        drawing.addGraphic(NUPO4Graphic::make(GraphicKind::Rectangle, QRectF(40, 60, 120, 80)));
        drawing.addGraphic(NUPO4Graphic::make(GraphicKind::Rectangle, QRectF(240, 90, 150, 100)));
        drawing.setGraphicFill(1, RGBAColor::fromRGBA(1, 0.5, 0, 0.75));
        ASSERT_TRUE(NUPO4DrawDocument::sharedNUPO4DrawDocument().writeToFile(path));
    }
    ASSERT_EQ(NUPO4Drawing::frontDrawing(), nullptr);
    ASSERT_EQ(shownWindow("Brain-Note Drawing"), nullptr);

    ASSERT_TRUE(document.openDocumentAt(path)) << told.join("\n").toStdString();
    testing::internal::GetCapturedStdout();
    EXPECT_NE(shownWindow("Brain-Note Drawing"), nullptr);
    NUPO4Drawing* opened = NUPO4Drawing::frontDrawing();
    ASSERT_NE(opened, nullptr);
    ASSERT_EQ(opened->count(), 2);
    EXPECT_EQ(opened->graphic(0)->bounds(), QRectF(40, 60, 120, 80));
    EXPECT_EQ(opened->graphic(1)->bounds(), QRectF(240, 90, 150, 100));
    EXPECT_EQ(opened->graphic(1)->fillColor(), RGBAColor::fromRGBA(1, 0.5, 0, 0.75));
    EXPECT_EQ(opened->selectedIndex(), 1);
    EXPECT_EQ(opened->undoStack().count(), 0);
    EXPECT_FALSE(document.isDocumentEdited());
    delegate.applicationWillTerminate(nullptr);
}

TEST(DocumentController, ReopeningTheSoundSlotsEndsWithTheOpenFlagDownAndNeedsSoundsInSlotOne)
{
    RowsCountA.fill(0);
    RowsCountA[3] = 2;  // slot 1 is empty: nothing opens
    SoundOpenFromFileAction();
    EXPECT_EQ(firsttimeQXSoundController, 1);
    EXPECT_EQ(setSoundSetupSaveX, 0);
    EXPECT_EQ(SoundOpenFromFile, 0);

    RowsCountA[0] = 1;
    SendSoundstr[0] = test::tempFolder() + "/missing.wav";
    testing::internal::CaptureStdout();
    SoundOpenFromFileAction();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(setSoundSetupSaveX, 1);
    EXPECT_EQ(SoundOpenFromFile, 0);  // reset however the walk ended
    EXPECT_EQ(openSound, 4);          // the last slot opened was slot 4 (index 3)
}

TEST(DocumentController, ARunThatOnlyPlayedIsNotEditedButAnAnalysisSettingMarksTheDocument)
{
    const QString path = documentOnDisk();
    auto& document = answeringController(NUPO4DocumentController::DontSave, {});
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    delegate.setPathToOpen(path);
    testing::internal::CaptureStdout();
    delegate.applicationDidFinishLaunching(nullptr);
    ASSERT_EQ(setPauseX.load(), 0);
    // The recording plays, the analysis and the windows tick.
    const int start = ploop.load();
    EXPECT_TRUE(test::processEventsUntil([start] { return ploop.load() > start + 600; }));
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(document.isDocumentEdited());
    // File ▸ Open starts where the document is.
    EXPECT_EQ(document.folderToOpenFrom(), QFileInfo(path).absolutePath());

    const int mains = mainsFrequencyX.load();
    SetFFTController::sharedSetFFTController().setMainsFrequency(mains == 60 ? 50 : 60);
    EXPECT_TRUE(document.isDocumentEdited());
    SetFFTController::sharedSetFFTController().setMainsFrequency(mains);
    EXPECT_FALSE(document.isDocumentEdited());
    // Moving the 3D window is no change, nor is a brain-switch window flashing; switching one off is.
    const QRectF bounds = boundsWaterFallBS;
    boundsWaterFallBS = QRectF(10, 20, 300, 200);
    const float state = brainSWX[1][12].load();
    brainSWX[1][12] = 1.0f;  // shown
    document.markSaved();
    brainSWX[1][12] = 2.0f;
    EXPECT_FALSE(document.isDocumentEdited());
    brainSWX[1][12] = 0.0f;
    EXPECT_TRUE(document.isDocumentEdited());
    brainSWX[1][12] = state;
    boundsWaterFallBS = bounds;
    document.markSaved();
    const int points = SetFFTController::fftPointIndex();
    SetFFTController::sharedSetFFTController().setFFTpoint(points == 3 ? 4 : 3);
    EXPECT_TRUE(document.isDocumentEdited());
    SetFFTController::sharedSetFFTController().setFFTpoint(points);
    delegate.applicationWillTerminate(nullptr);
}

// The preference file holds every section of a document but the recording and the drawing: the plot and
// WaterfallBS windows' state comes back whole at the next start, while the windows themselves are not
// reopened, so the open-window counts a later save writes are those of the windows open then.
TEST(DocumentController, ThePreferenceFileBringsBackTheWindowsStateAndOpensNoWindow)
{
    answeringController(NUPO4DocumentController::DontSave, {});
    auto& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    testing::internal::CaptureStdout();
    delegate.applicationDidFinishLaunching(nullptr);
    QXAppController::sharedQXAppController().showQX2DBarGarph(nullptr);
    QXAppController::sharedQXAppController().showQX2DBarGarph(nullptr);
    ASSERT_EQ(Open2DBarGraph, 2);
    const auto setState = [](int seed) {
        boundsRawwave = QRectF(100 + seed, 60, 700, 500);
        selectCHXX = 3 + seed;
        setWRawGain = 4.5f + float(seed);
        boundsBargraph = QRectF(300 + seed, 80, 720, 520);
        selectCHX = 5 - seed;
        WBarAlphaValue = 0.6f;
        boundsWaterFallBS = QRectF(50 + seed, 40, 592, 470);
        W3DAlphaValue = 0.5f + 0.05f * float(seed);
    };
    setState(0);
    const QString path = defaultPreferenceFilePath();
    const auto savedText = [&] {
        document.savePreferences(nullptr);
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    const QString first = savedText();
    for (const char* key :
         {"PlotWindows = {", "Spectrum3DWindow = {", "Open2DBarGraph = 2;", "OpenRawwave = 1;"})
        EXPECT_TRUE(first.contains(QLatin1String(key))) << key;
    EXPECT_FALSE(first.contains(QLatin1String("Recording = {")));
    EXPECT_FALSE(first.contains(QLatin1String("Drawing = {")));

    // As at the next start: the bar graphs are gone and the state has its start values, then the file is
    // read.
    MenuCommands::run(MenuCommand::closeAllWindows);
    ASSERT_EQ(Open2DBarGraph, 0);
    ASSERT_EQ(OpenRawwave, 0);
    setState(7);
    ASSERT_TRUE(document.readPreferenceFile());
    EXPECT_EQ(Open2DBarGraph, 0);
    EXPECT_EQ(boundsRawwave, QRectF(100, 60, 700, 500));
    EXPECT_EQ(selectCHXX, 3);
    EXPECT_FLOAT_EQ(setWRawGain, 4.5f);
    EXPECT_EQ(boundsBargraph, QRectF(300, 80, 720, 520));
    EXPECT_EQ(selectCHX, 5);
    EXPECT_EQ(boundsWaterFallBS, QRectF(50, 40, 592, 470));
    EXPECT_FLOAT_EQ(W3DAlphaValue, 0.5f);

    // Saved again, the file is the same but for the counts of the windows open now (none).
    const QString again = savedText();
    testing::internal::GetCapturedStdout();
    const QRegularExpression counts(
        QStringLiteral("(Open(Rawwave|2DBarGraph|3DWaterFall|3DWaterFallBS)) = \\d+;"));
    EXPECT_TRUE(again.contains(QLatin1String("Open2DBarGraph = 0;")));
    EXPECT_EQ(QString(again).replace(counts, QStringLiteral("\\1 = n;")),
              QString(first).replace(counts, QStringLiteral("\\1 = n;")));
    delegate.applicationWillTerminate(nullptr);
}
