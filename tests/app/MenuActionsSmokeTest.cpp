// Uses the program as a person would: starts it with a recording playing, then picks every item of the
// main menu in turn while the analysis and the plot windows keep running.
#include <gtest/gtest.h>

#include "QXSketch/ui/BezierView.h"
#include "QXSketch/ui/NUPO4DrawWindowController.h"
#include "app/NUPO4DrawAppDelegate.h"
#include "core/QXInputStream.h"
#include "core/ui/WindowController.h"
#include "document/ui/NUPO4DocumentController.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/CoreState.h"
#include "support/EventCounter.h"
#include "support/TestSupport.h"
#include "tools/ui/QXorvellogoAppController.h"
#include "views3d/wave/ui/QXnewaveAppController.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <map>
#include <typeinfo>

using namespace nupo;

namespace {

// What picking an item shows: a window of that title, or the report of a nib not built yet.
struct Outcome {
    QString window;
    QString missingNib;
};

const std::map<QString, Outcome>& expectedOutcomes()
{
    static const std::map<QString, Outcome> outcomes{
        {"Preferences…", {"Preferences: Device", {}}},
        {"Device and Port…", {"Preferences: Device", {}}},
        {"Display Settings…", {"Preferences: Display", {}}},
        {"Rawwave Window", {"Rawwave Window", {}}},
        {"Rawwave Window in Front", {"Rawwave Window", {}}},
        {"Bargraph Window", {"Bargraph Window", {}}},
        {"Bargraph Window in Front", {"Bargraph Window", {}}},
        {"Waterfall Window", {"Waterfall Window", {}}},
        {"Waterfall Window in Front", {"Waterfall Window", {}}},
        {"WaterfallBS Window", {"WaterfallBS Window", {}}},
        {"WaterfallBS Window in Front", {"WaterfallBS Window", {}}},
        {"Wave Surface Window", {"Wave Surface Window", {}}},
        {"About NUPO4", {"About NUPO4", {}}},
        {"Movie Frames", {"Movie Frames", {}}},
        {"Brain-Note Drawing", {"Brain-Note Drawing", {}}},
        {"Drawing Tools", {"Tools", {}}},
        {"Brain-Switch Mixer", {"Brain-Switch Mixer", {}}},
        // The path last chosen is the recording, no movie: the window says so.
        {"Open Movie and Play with Brainwave…", {"Can not open movie file. Dedir Urav file only open.", {}}},
        {"Media Browser…", {"Media Browser", {}}},
        {"Media Browser for Running Files…", {"Media Browser", {}}},
    };
    return outcomes;
}

// Lets timers, redraws and queued calls run for a while, as between two clicks of a person.
void letItRun(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    test::processEventsUntil([&clock, milliseconds] { return clock.elapsed() >= milliseconds; });
}

// A shown window of that title; once the document has a file, titles carry its name after " — ".
QWidget* shownWindow(const QString& title)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle().section(QStringLiteral(" \u2014 "), 0, 0) == title)
            return window;
    return nullptr;
}

// Runs the event loop until a window has taken in what was done to it: until a turn of the loop brings
// it neither a resize nor a layout request. (A fixed while may end, on a busy machine, with the last
// relayout still queued.)
void letTheLayoutSettle(QWidget* window)
{
    static const auto turnType = static_cast<QEvent::Type>(QEvent::registerEventType());
    EventCounter resizes(*window, QEvent::Resize), requests(*window, QEvent::LayoutRequest);
    EventCounter turns(*window, turnType);
    for (int seen = -1; seen != 0;) {
        const int before = resizes.count + requests.count, turn = turns.count;
        QCoreApplication::postEvent(window, new QEvent(turnType));
        ASSERT_TRUE(test::processEventsUntil([&] { return turns.count > turn; }));
        seen = resizes.count + requests.count - before;
    }
}

QList<QAction*> menuItems(QMenuBar* bar)
{
    QList<QAction*> items;
    for (QAction* top : bar->actions())
        if (top->menu())
            for (QAction* item : top->menu()->actions())
                if (!item->isSeparator())
                    items << item;
    return items;
}

bool windowIsShown(const QString& title)
{
    return shownWindow(title) != nullptr;
}

// The document's questions and file choosers answer at once: nothing edited is kept, Open is cancelled,
// Save As saves into the test's folder, and the preference file goes there too.
void answerTheDocumentsQuestions()
{
    qputenv("XDG_CONFIG_HOME", test::tempFolder().toLocal8Bit());
    auto& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    document.askToSaveChanges = [](const QString&) { return NUPO4DocumentController::DontSave; };
    document.askToRevert = [](const QString&) { return true; };
    document.chooseFileToOpen = [] { return QString(); };
    document.chooseFileToSave = [](const QString&) { return test::tempFolder() + "/menu.nupo4"; };
    document.tellUser = [](const QString& message) { std::printf("%s\n", qPrintable(message)); };
}

QString startWithRecording()
{
    answerTheDocumentsQuestions();
    const QString path = test::tempFolder() + "/menu.dat";
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        QByteArray samples(4096 + 2 * 1200, char(0));
        for (int i = 4096; i < samples.size(); ++i)
            samples[i] = char((i * 37) & 0xff);  // a busy signal, so every view has something to draw
        file.write(samples);
        file.close();
    }
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    delegate.setPathToOpen(path);
    delegate.applicationDidFinishLaunching(nullptr);
    return path;
}

// Edits the document (a saved display setting changes) and answers each "Save changes?" question with
// `answer`, counting the questions in `asked`.
void editAndCountQuestions(NUPO4DocumentController& document, NUPO4DocumentController::SaveAnswer answer,
                           int& asked)
{
    ShowPeakHoldX = 1 - ShowPeakHoldX;
    document.askToSaveChanges = [&asked, answer](const QString&) {
        ++asked;
        return answer;
    };
}

}  // namespace

TEST(MenuActions, EveryItemRunsAndShowsItsWindowOrReportsItsMissingNib)
{
    // The test links only the controllers it refers to; nothing else in it refers to these two.
    QXorvellogoAppController::sharedQXorvellogoAppController();
    QXnewaveAppController::sharedQXnewaveAppController();
    [[maybe_unused]] const std::type_info* windows[] = {&typeid(NUPO4DrawWindowController),
                                                        &typeid(BezierView)};
    testing::internal::CaptureStdout();
    startWithRecording();
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    ASSERT_NE(delegate.mainWindow(), nullptr);
    letItRun(200);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(windowIsShown("Rawwave Window"));
    EXPECT_EQ(maxploop.load(), 1200);  // the recording is loaded and plays
    EXPECT_GT(ploop.load(), 0);

    const QList<QAction*> items = menuItems(delegate.mainWindow()->menuBar());
    ASSERT_GE(items.size(), 40);
    int tried = 0;
    for (QAction* item : items) {
        const QString title = item->text();
        if (item->objectName() == "terminate")
            continue;  // below, last
        SCOPED_TRACE(title.toStdString());
        testing::internal::CaptureStdout();
        item->trigger();
        letItRun(50);
        // Save and Revert write and read on their workers: what they do is done before the next click.
        auto& document = NUPO4DocumentController::sharedNUPO4DocumentController();
        ASSERT_TRUE(test::processEventsUntil(
            [&] { return !document.isSavingDocument() && !document.isReadingDocument(); }));
        const QString out = QString::fromStdString(testing::internal::GetCapturedStdout());
        ++tried;

        const auto expected = expectedOutcomes().find(title);
        if (expected == expectedOutcomes().end()) {
            EXPECT_FALSE(out.contains("Failed to load")) << out.toStdString();
            continue;
        }
        if (!expected->second.window.isEmpty()) {
            // A movie window shows once its movie has opened on its own thread.
            EXPECT_TRUE(test::processEventsUntil([&] { return windowIsShown(expected->second.window); }))
                << out.toStdString();
        }
        if (!expected->second.missingNib.isEmpty()) {
            EXPECT_TRUE(out.contains("Failed to load " + expected->second.missingNib + ".nib"))
                << out.toStdString();
        }
    }
    EXPECT_EQ(tried, items.size() - 1);
    // "Close All Plot Windows" came after the window items; the Control Panel stays.
    EXPECT_FALSE(windowIsShown("Rawwave Window"));
    EXPECT_FALSE(windowIsShown("Bargraph Window"));
    EXPECT_TRUE(delegate.mainWindow()->isVisible());

    // The windows open again after being closed, and the analysis still feeds them.
    testing::internal::CaptureStdout();
    for (QAction* item : items)
        if (item->text() == "Rawwave Window" || item->text() == "Bargraph Window")
            item->trigger();
    letItRun(200);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(windowIsShown("Rawwave Window"));
    EXPECT_TRUE(windowIsShown("Bargraph Window"));

    // Quit asks once about an edited document and ends the application's event loop (the windows
    // closed on the way out ask nothing more); the shutdown steps then stop the threads.
    QAction* quit = nullptr;
    for (QAction* item : items)
        if (item->objectName() == "terminate")
            quit = item;
    ASSERT_NE(quit, nullptr);
    auto& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    int asked = 0;
    editAndCountQuestions(document, NUPO4DocumentController::DontSave, asked);
    ASSERT_TRUE(document.isDocumentEdited());
    QObject::connect(qApp, &QCoreApplication::aboutToQuit,
                     [&delegate] { delegate.applicationWillTerminate(nullptr); });
    QTimer::singleShot(0, quit, &QAction::trigger);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(QXInputStream::sharedQXInputStream().isRunning());
    EXPECT_EQ(asked, 1);
}

TEST(MenuActions, PreferencesHoldEveryPanelTab)
{
    testing::internal::CaptureStdout();
    startWithRecording();
    letItRun(50);
    auto& prefs = WindowController::sharedWindowController();
    prefs.showPanelX(PreferencesTab::Device);
    testing::internal::GetCapturedStdout();
    ASSERT_NE(prefs.tabView(), nullptr);
    QStringList names;
    for (int i = 0; i < prefs.tabView()->count(); ++i)
        names << prefs.tabView()->tabText(i);
    EXPECT_EQ(names, (QStringList{"Device", "Analysis", "Display", "MIDI", "MIDI Bands"}));
    // Every tab can be shown in turn while the program runs.
    for (int i = 0; i < prefs.tabView()->count(); ++i) {
        prefs.tabView()->setCurrentIndex(i);
        letItRun(30);
        EXPECT_TRUE(prefs.tabView()->currentWidget()->isVisible()) << names.value(i).toStdString();
    }
    NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().applicationWillTerminate(nullptr);
}

TEST(MenuActions, KeyEquivalentsWorkFromEveryWindowOfTheProgram)
{
    testing::internal::CaptureStdout();
    startWithRecording();
    letItRun(50);
    testing::internal::GetCapturedStdout();
    QWidget* rawwave = shownWindow("Rawwave Window");
    ASSERT_NE(rawwave, nullptr);
    rawwave->activateWindow();
    QApplication::setActiveWindow(rawwave);
    ASSERT_EQ(QApplication::activeWindow(), rawwave);

    QTest::keyClick(rawwave, Qt::Key_2, Qt::ControlModifier);
    letItRun(50);
    EXPECT_TRUE(windowIsShown("Bargraph Window"));
    QWidget* bargraph = shownWindow("Bargraph Window");
    ASSERT_NE(bargraph, nullptr);
    QApplication::setActiveWindow(bargraph);
    QTest::keyClick(bargraph, Qt::Key_Comma, Qt::ControlModifier);
    letItRun(50);
    EXPECT_TRUE(windowIsShown("Preferences: Device"));
    NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().applicationWillTerminate(nullptr);
}

TEST(MenuActions, InEveryScreenLayoutThePlotViewsGetHalfTheirWindows)
{
    testing::internal::CaptureStdout();
    startWithRecording();
    letItRun(50);
    testing::internal::GetCapturedStdout();
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    QMainWindow* panel = delegate.mainWindow();
    ASSERT_NE(panel, nullptr);
    const auto pick = [panel](const QString& action) {
        testing::internal::CaptureStdout();
        for (QAction* item : menuItems(panel->menuBar()))
            if (item->objectName() == action)
                item->trigger();
        letItRun(100);
        testing::internal::GetCapturedStdout();
    };
    // The plot windows of the layouts, each with the placeholder of its normal view.
    const std::pair<const char*, const char*> windows[] = {{"showQXRawwaveGraph", "qXRawwaveGraphView"},
                                                           {"showQX2DBarGarph", "qX2DBarGraphView"},
                                                           {"showQX2DSpectrum", "_glView"}};
    for (const char* layout : {"showAll1900", "showAll1600", "showAll1280", "showAll1024"}) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window != panel && window->isVisible() && window->windowTitle().endsWith("Window"))
                window->close();
        letItRun(50);
        pick(QString::fromLatin1(layout));
        for (const auto& [action, viewName] : windows) {
            pick(QString::fromLatin1(action));
            QWidget* view = nullptr;
            for (QWidget* window : QApplication::topLevelWidgets())
                if (window->isVisible())
                    if (auto* found = window->findChild<QWidget*>(QString::fromLatin1(viewName)))
                        view = found;
            ASSERT_NE(view, nullptr) << layout << " " << action;
            QWidget* window = view->window();
            letTheLayoutSettle(window);
            EXPECT_LE(window->height(), 600) << layout << " " << action;  // the layout's frame, not the nib's
            EXPECT_GE(view->height() * 2, window->height())
                << layout << " " << action << ": view " << view->height() << " of " << window->height();
        }
    }
}

// Closing every window of an edited document asks once, as the last one closes; Cancel keeps that window
// open.
TEST(MenuActions, ClosingTheLastWindowAsksOnceAndCancelKeepsThatWindow)
{
    testing::internal::CaptureStdout();
    startWithRecording();
    letItRun(50);
    testing::internal::GetCapturedStdout();
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    auto& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    int asked = 0;
    editAndCountQuestions(document, NUPO4DocumentController::Cancel, asked);
    ASSERT_TRUE(document.isDocumentEdited());
    QPointer<QWidget> last;
    QStringList stayed;
    QTimer::singleShot(0, [&last] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible()) {
                last = window;
                window->close();
            }
    });
    QTimer::singleShot(600, [&] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible())
                stayed << window->windowTitle();
        QCoreApplication::exit(0);
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(asked, 1);
    ASSERT_FALSE(last.isNull());
    EXPECT_EQ(stayed, QStringList{last->windowTitle()});
    delegate.applicationWillTerminate(nullptr);
}

TEST(MenuActions, ClosingTheControlPanelLeavesThePlotWindowsRunning)
{
    testing::internal::CaptureStdout();
    startWithRecording();
    letItRun(50);
    testing::internal::GetCapturedStdout();
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    ASSERT_NE(delegate.mainWindow(), nullptr);
    delegate.mainWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int before = ploop.load();
    letItRun(200);
    EXPECT_TRUE(windowIsShown("Rawwave Window"));
    EXPECT_GT(ploop.load(), before);  // the recording still plays
    EXPECT_EQ(delegate.mainWindow(), nullptr);

    // The menu and its keys are still there in the other windows.
    QWidget* rawwave = shownWindow("Rawwave Window");
    ASSERT_NE(rawwave, nullptr);
    QApplication::setActiveWindow(rawwave);
    QTest::keyClick(rawwave, Qt::Key_2, Qt::ControlModifier);
    letItRun(50);
    QWidget* bargraph = shownWindow("Bargraph Window");
    ASSERT_NE(bargraph, nullptr);
    // A second Ctrl+2 opens a second window beside the first, not hidden under it.
    QApplication::setActiveWindow(rawwave);
    QTest::keyClick(rawwave, Qt::Key_2, Qt::ControlModifier);
    letItRun(50);
    QList<QWidget*> bargraphs;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle() == "Bargraph Window")
            bargraphs << window;
    ASSERT_EQ(bargraphs.size(), 2);
    EXPECT_NE(bargraphs[0]->pos(), bargraphs[1]->pos());

    // Window ▸ Control Panel in the raw-wave window's menu brings the panel back.
    auto* bar = rawwave->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    for (QAction* item : menuItems(bar))
        if (item->objectName() == "showControlPanel")
            item->trigger();
    letItRun(50);
    ASSERT_NE(delegate.mainWindow(), nullptr);
    EXPECT_TRUE(delegate.mainWindow()->isVisible());
    delegate.mainWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Ctrl+Q in the raw-wave window quits, and the shutdown steps stop the threads.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit,
                     [&delegate] { delegate.applicationWillTerminate(nullptr); });
    QTimer::singleShot(0, rawwave, [rawwave] {
        QApplication::setActiveWindow(rawwave);
        QTest::keyClick(rawwave, Qt::Key_Q, Qt::ControlModifier);
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(QXInputStream::sharedQXInputStream().isRunning());
}

// A window there is one of comes to the front when its command is picked again; the wave surface opens
// anew each time, and "Close All Plot Windows" closes every one, ending its controller and view.
TEST(MenuActions, AboutAndMixerOpenOnceWaveSurfacesEachTimeAndCloseAllClosesThemAll)
{
    QXorvellogoAppController::sharedQXorvellogoAppController();
    QXnewaveAppController::sharedQXnewaveAppController();
    [[maybe_unused]] const std::type_info* windows[] = {&typeid(BezierView)};
    testing::internal::CaptureStdout();
    startWithRecording();
    letItRun(50);
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    QMainWindow* panel = delegate.mainWindow();
    ASSERT_NE(panel, nullptr);
    const auto pick = [panel](const QString& action) {
        for (QAction* item : menuItems(panel->menuBar()))
            if (item->objectName() == action)
                item->trigger();
        letItRun(50);
    };
    const auto shown = [](const QString& title) {
        QList<QWidget*> found;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() &&
                window->windowTitle().section(QStringLiteral(" \u2014 "), 0, 0) == title)
                found << window;
        return found;
    };
    for (const auto& [action, title] :
         {std::pair{"showAboutPanel", "About NUPO4"}, std::pair{"showBezierView", "Brain-Switch Mixer"}}) {
        pick(action);
        const QList<QWidget*> first = shown(title);
        ASSERT_EQ(first.size(), 1) << title;
        pick(action);
        EXPECT_EQ(shown(title), first) << title << ": a second window opened";
    }

    pick("showSelectQXnewave");
    pick("showSelectQXnewave");
    QList<QPointer<QWidget>> surfaces;
    for (QWidget* window : shown("Wave Surface Window"))
        surfaces << window;
    ASSERT_EQ(surfaces.size(), 2);
    pick("closeAllWindow");
    EXPECT_TRUE(shown("Wave Surface Window").isEmpty());
    // Each closed window goes with its controller, which ends its view's drawing thread.
    EXPECT_TRUE(test::processEventsUntil([&surfaces] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return std::all_of(surfaces.begin(), surfaces.end(),
                           [](const auto& window) { return window.isNull(); });
    }));
    EXPECT_EQ(shown("About NUPO4").size(), 1);  // not a plot window

    // The narrow tool palette shows its whole menu bar, Media included, not menus folded behind "»".
    pick("showToolPalette");
    ASSERT_EQ(shown("Tools").size(), 1);
    QWidget* palette = shown("Tools")[0];
    auto* bar = palette->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(test::processEventsUntil([&] { return bar->width() >= bar->sizeHint().width(); }))
        << "bar " << bar->width() << " of " << bar->sizeHint().width() << " px";
    const auto* folded = bar->findChild<QWidget*>("qt_menubar_ext_button");
    EXPECT_TRUE(folded == nullptr || !folded->isVisible());
    testing::internal::GetCapturedStdout();
    delegate.applicationWillTerminate(nullptr);
}
