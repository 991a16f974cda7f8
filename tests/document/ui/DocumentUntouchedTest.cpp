// Looking is no edit: a saved document whose every panel and window is opened and closed again is not
// marked changed, and saved again it is the document it was (only frames of windows that opened
// elsewhere may differ).
#include <gtest/gtest.h>

#include "DocumentFileDifferences.h"
#include "DocumentMenuItem.h"
#include "app/NUPO4DrawAppDelegate.h"
#include "core/ui/QXAppController.h"
#include "core/ui/WindowController.h"
#include "document/NUPO4DrawDocument.h"
#include "document/gl/StoredWindowFrame.h"
#include "document/ui/NUPO4DocumentController.h"
#include "midi/band/BandSetupTable.h"
#include "midi/peak/PeakSetupTable.h"
#include "midi/peak/SetMIDI.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/CoreState.h"
#include "support/WindowTestSupport.h"
#include "views3d/QX3DSpectrumGLView.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

using namespace nupo;
using namespace nupo::test;

namespace {

QList<QWidget*> shownWindows()
{
    QList<QWidget*> shown;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->isWindow())
            shown << window;
    return shown;
}

// Frames of windows and whether they stay in front (as the menu opened them): where and how a window
// opened is no setting of the user.
bool isFrame(const QString& difference)
{
    return difference.startsWith("PlotWindows/bounds") || difference.contains("Front:") ||
           difference.startsWith("Spectrum3DWindow/bounds") || difference.startsWith("Movie/NomalQTSizeR") ||
           difference.startsWith("Drawing/WindowFrame") || difference.startsWith("Sound/WindowFrame");
}

QStringList settingDifferences(const QString& first, const QString& second)
{
    QStringList out = fileDifferences(first, second);
    out.removeIf(isFrame);
    return out;
}

struct Opening {
    const char* name;
    std::function<void()> open;
};

}  // namespace

TEST(DocumentUntouched, OpeningAndClosingEveryPanelAndWindowChangesNothing)
{
    if (!onScreen())
        GTEST_SKIP() << "the plot windows draw only on an X display";
    startWithDemo();
    auto& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    QStringList told;
    document.tellUser = [&told](const QString& message) { told << message; };
    document.askToSaveChanges = [](const QString&) { return NUPO4DocumentController::DontSave; };
    // Values whose menus the display panel derives from their items, as a document may hold them.
    PeakHoldModeX = 5;
    setPeakHoldModeX = 0;
    setTopMaterialX = 13;
    ProgramChangeXXX[0] = 40;
    // A background of its own for the 3D window, which opens after the document is read.
    QX3DSpectrumGLView::sharedQX3DSpectrumGLView().setBackgroundColorA(0, 0.25f);
    const QString saved = tempFolder() + "/untouched.nupo4";
    const QString again = tempFolder() + "/untouched-again.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(saved));
    ASSERT_TRUE(document.openDocumentAt(saved));
    const QList<QWidget*> before = shownWindows();

    auto& app = QXAppController::sharedQXAppController();
    const auto tab = [](int number) {
        return [number] { WindowController::sharedWindowController().showPanelX(number); };
    };
    const auto item = [](const char* action) {
        return [action] {
            if (QAction* a = menuItem(QString::fromLatin1(action)))
                a->trigger();
            else
                ADD_FAILURE() << "no menu item " << action;
        };
    };
    const Opening openings[] = {
        {"Preferences", item("showPanelX")},
        {"Device tab", tab(PreferencesTab::Device)},
        {"Analysis tab", tab(PreferencesTab::Analysis)},
        {"Display tab", tab(PreferencesTab::Display)},
        {"MIDI tab", tab(PreferencesTab::MIDIPeak)},
        {"instrument picker",
         [] {
             // The picker's Cancel, once it shows.
             QTimer::singleShot(0, [] {
                 processEventsUntil([] { return QApplication::activeModalWidget() != nullptr; });
                 if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                     dialog->reject();
             });
             bool clicked = false;
             for (QWidget* window : shownWindows())
                 if (auto* button = window->findChild<QAbstractButton*>("setInstrument");
                     button && button->isVisible() && !clicked) {
                     button->click();
                     clicked = true;
                 }
             EXPECT_TRUE(clicked) << "no instrument button";
         }},
        {"MIDI Bands tab", tab(PreferencesTab::MIDIBand)},
        {"Rawwave", [&app] { app.showQXRawwaveGraph(nullptr); }},
        {"Bargraph", [&app] { app.showQX2DBarGarph(nullptr); }},
        {"Waterfall", [&app] { app.showQX2DSpectrum(nullptr); }},
        {"WaterfallBS", [&app] { app.showFFTPanel(nullptr); }},
        {"Rawwave in front", item("showQXRawwaveGraphFront")},
        {"Bargraph in front", item("showQX2DBarGarphFront")},
        {"Waterfall in front", item("showQX2DSpectrumFront")},
        {"WaterfallBS in front", item("showFFTPanelFront")},
        {"Wave Surface", [&app] { app.showSelectQXnewave(nullptr); }},
        {"Brain-Note Drawing", item("showDrawWindow")},
        {"Drawing Tools", item("showToolPalette")},
        {"Brain-Switch Mixer", item("showBezierView")},
        {"About", [&app] { app.showAboutPanel(nullptr); }},
        {"Movie Frames", [&app] { app.showMovieFrames(nullptr); }},
        {"Media Browser", [&app] { app.showSelectFilePanel(nullptr); }},
        {"Media Browser for Running Files", item("showSelectFileRunPanel")},
    };
    QStringList changes;
    int step = 0;
    for (const Opening& opening : openings) {
        opening.open();
        letItRun(300);
        if (document.isDocumentEdited()) {
            const QString now = tempFolder() + QStringLiteral("/step%1.nupo4").arg(step);
            ASSERT_TRUE(NUPO4DrawDocument::sharedNUPO4DrawDocument().writeToFile(now));
            changes << QString::fromLatin1(opening.name) + ": " + settingDifferences(saved, now).join("; ");
            document.markSaved();
        }
        ++step;
    }
    EXPECT_TRUE(changes.isEmpty()) << changes.join("\n").toStdString();

    // Every window opened closes again, one at a time as a user closes them: closed all at once, the X
    // events of twenty windows overflow the node pool of Qt's X event queue, whose heap nodes are handed
    // between its reader thread and the main thread in a way thread checkers cannot see.
    for (QWidget* window : shownWindows())
        if (!before.contains(window)) {
            window->close();
            letItRun(30);
        }
    letItRun(300);
    EXPECT_FALSE(document.isDocumentEdited());
    ASSERT_TRUE(NUPO4DrawDocument::sharedNUPO4DrawDocument().writeToFile(again));
    EXPECT_TRUE(settingDifferences(saved, again).isEmpty())
        << settingDifferences(saved, again).join("\n").toStdString();
    EXPECT_TRUE(told.isEmpty()) << told.join("\n").toStdString();
    // The panel showed what the windows draw with, and left it so.
    EXPECT_EQ(PeakHoldModeX, 5);
    EXPECT_EQ(setPeakHoldModeX, 0);
    EXPECT_EQ(setTopMaterialX, 13);
}

// In a fresh run with nothing saved yet: the bar graph opened for the first time, and a drawing opened
// and closed, leave nothing to save.
TEST(DocumentUntouched, AFirstBarGraphAndAnEmptyDrawingOpenedAndClosedAreNoChange)
{
    if (!onScreen())
        GTEST_SKIP() << "the plot windows draw only on an X display";
    startWithDemo();
    auto& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    document.tellUser = [](const QString& message) { ADD_FAILURE() << message.toStdString(); };
    letItRun(300);
    ASSERT_FALSE(document.isDocumentEdited());
    // The bar-graph grid starts transparent black; its window's first opening makes it opaque white, which
    // a document saved before already holds.
    for (float c : GridColorX)
        EXPECT_EQ(c, 0.0f);
    const QString unopened = tempFolder() + "/before-bargraph.nupo4";
    ASSERT_TRUE(NUPO4DrawDocument::sharedNUPO4DrawDocument().writeToFile(unopened));
    QXAppController::sharedQXAppController().showQX2DBarGarph(nullptr);
    ASSERT_TRUE(
        processEventsUntil([] { return !shownWindowsTitled(QLatin1String("Bargraph Window")).isEmpty(); }));
    letItRun(300);
    EXPECT_FALSE(document.isDocumentEdited());
    for (float c : GridColorX)
        EXPECT_EQ(c, 1.0f);
    const QString opened = tempFolder() + "/after-bargraph.nupo4";
    ASSERT_TRUE(NUPO4DrawDocument::sharedNUPO4DrawDocument().writeToFile(opened));
    const QStringList grid = settingDifferences(unopened, opened).filter("GridColor");
    EXPECT_TRUE(grid.isEmpty()) << grid.join("\n").toStdString();

    const QList<QWidget*> before = shownWindows();
    menuItem("showDrawWindow")->trigger();
    QWidget* drawing = nullptr;
    ASSERT_TRUE(processEventsUntil([&] {
        for (QWidget* window : shownWindows())
            if (!before.contains(window))
                drawing = window;
        return drawing != nullptr;
    }));
    letItRun(300);
    EXPECT_FALSE(document.isDocumentEdited());
    drawing->close();
    letItRun(300);
    EXPECT_FALSE(document.isDocumentEdited());
}

namespace {

QString labelText(const char* name)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* label = window->findChild<QLabel*>(QString::fromLatin1(name)))
            return label->text();
    return QStringLiteral("(no %1)").arg(QLatin1String(name));
}

}  // namespace

// A document saved with the third MIDI setup on show and setups of the user's own (values no panel left
// them with, band edges that differ from the committed ones) is reopened in a fresh run: the Preferences
// window, every tab shown, changes nothing, and the document saves byte for byte as it was.
TEST(DocumentUntouched, EveryPreferencesTabOverADocumentShowingMidiSetupThreeChangesNothing)
{
    startWithDemo();
    auto& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    document.tellUser = [](const QString& message) { ADD_FAILURE() << message.toStdString(); };
    document.askToSaveChanges = [](const QString&) { return NUPO4DocumentController::DontSave; };
    // The play position stands still between saves.
    const auto pause = [] {
        if (setPauseX == 0)
            menuItem("setPauseVideoandBrainwave")->trigger();
        return processEventsUntil([] { return setPauseX != 0; });
    };
    ASSERT_TRUE(pause());

    SetMIDI::sharedSetMIDI().setBrainpeakMIDIOpend_(1);  // in use, as a document's setups are
    SetupPopupX = 2;
    InputVX[0] = 12.0f;
    OutputFX[0] = 33.0f;
    OutputVX[0] = 20.0f;
    LowFX[1] = 4.0f;
    InputFrequencyRangeX[1] = 4;  // a preset whose band the setup no longer has
    NUPOchannelX[1] = 5;          // a coherence pair with the first source mode
    InputVX[2] = 10.0f;
    OutputFX[2] = 43.333f;
    OutputVX[2] = 63.5f;
    UsePeakModeX[2] = 1;
    setBrainrhythmMIDIOpend = 1;
    LowF1X[0] = 0.5f;
    LowF4X[0] = 9.0f;
    NUPOchannelEX[1] = 6;
    const QString made = tempFolder() + "/setup-three.nupo4";
    const QString reopened = tempFolder() + "/setup-three-reopened.nupo4";
    const QString looked = tempFolder() + "/setup-three-looked.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(made));
    ASSERT_TRUE(document.openDocumentAt(made));
    ASSERT_TRUE(pause());
    // Byte for byte, but for where a window manager may have put a window meanwhile.
    QStringList frames;
    for (const char* bounds : {"PlotWindows/boundsRawwave", "PlotWindows/boundsBargraph",
                               "PlotWindows/boundsWaterFall", "Spectrum3DWindow/boundsWaterFallBS"}) {
        const QString section = QString::fromLatin1(bounds).section('/', 0, 0) + '/';
        for (const QString& key : storedFrameKeys(QString::fromLatin1(bounds).section('/', 1)))
            frames << section + key;
    }
    const QByteArray asReopened = NUPO4DrawDocument::sharedNUPO4DrawDocument().snapshot(frames);
    ASSERT_TRUE(NUPO4DrawDocument::sharedNUPO4DrawDocument().writeToFile(reopened));
    EXPECT_TRUE(settingDifferences(made, reopened).isEmpty())
        << settingDifferences(made, reopened).join("\n").toStdString();

    for (int tab : {PreferencesTab::Device, PreferencesTab::Analysis, PreferencesTab::Display,
                    PreferencesTab::MIDIPeak, PreferencesTab::MIDIBand}) {
        WindowController::sharedWindowController().showPanelX(tab);
        letItRun(200);
        EXPECT_FALSE(document.isDocumentEdited()) << "tab " << tab;
    }
    // The panels show the setups as they are.
    EXPECT_EQ(labelText("displayHereInputVSlider"), QString::number(InputVX[SetupNX].load(), 'f', 3));
    EXPECT_EQ(labelText("displayHereLowFSlider1"), QStringLiteral("0.500"));
    EXPECT_EQ(labelText("displayHereLowFSlider4"), QStringLiteral("9.000"));
    // Each panel's setup-number field shows its own setup, though the two fields share a name.
    QStringList numbers;
    for (QWidget* window : QApplication::topLevelWidgets())
        for (auto* field : window->findChildren<QLineEdit*>(QStringLiteral("SetupNinputField")))
            numbers << field->text();
    numbers.sort();
    QStringList shown{QString::number(SetupNX + 1), QString::number(SetupBandNX + 1)};
    shown.sort();
    EXPECT_EQ(numbers, shown);
    ASSERT_TRUE(NUPO4DrawDocument::sharedNUPO4DrawDocument().writeToFile(looked));
    EXPECT_TRUE(NUPO4DrawDocument::sharedNUPO4DrawDocument().snapshot(frames) == asReopened)
        << fileDifferences(reopened, looked).join("\n").toStdString();
    EXPECT_FALSE(document.isDocumentEdited());
}
