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
#include "document/ui/NUPO4DocumentController.h"
#include "midi/peak/PeakSetupTable.h"
#include "plots/settings/DisplaySettings.h"
#include "support/WindowTestSupport.h"
#include "views3d/QX3DSpectrumGLView.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
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

    // Every window opened closes again.
    for (QWidget* window : shownWindows())
        if (!before.contains(window))
            window->close();
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
    QXAppController::sharedQXAppController().showQX2DBarGarph(nullptr);
    ASSERT_TRUE(
        processEventsUntil([] { return !shownWindowsTitled(QLatin1String("Bargraph Window")).isEmpty(); }));
    letItRun(300);
    EXPECT_FALSE(document.isDocumentEdited());

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
