// Every change the user makes counts, and only those: key markers typed at any sample and a view chosen in
// a plot window mark the document edited, and Quit asks; a window moved does not. A second window of a
// kind opened, changed and closed leaves the first one's view to be saved, and a document's bar-graph grid
// switch stays as the document has it when the window is made anew.
#include <gtest/gtest.h>

#include "DocumentMenuItem.h"
#include "DocumentWindowsTicked.h"
#include "core/QXSerialPort.h"
#include "core/ui/QXAppController.h"
#include "document/ui/NUPO4DocumentController.h"
#include "platform/appkit/ui/ColorWell.h"
#include "platform/keyboard/gl/VirtualKeyCodes.h"
#include "platform/plist/PlistReader.h"
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/frame/ui/PlotWindowController.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/settings/DisplaySettings.h"
#include "plots/waterfall/gl/QX2DSpectrumGLView.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"
#include "support/WindowTestSupport.h"

#include <QComboBox>
#include <QFile>
#include <QPointer>

using namespace nupo;
using namespace nupo::test;

namespace {

QString savedValue(const QString& path, const QString& section, const QString& key)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const PlistValue top = PlistReader::parse(file.readAll()).value_or(PlistValue());
    const PlistValue* found = top.isDictionary() ? top.toDictionary().find(section) : nullptr;
    found = found && found->isDictionary() ? found->toDictionary().find(key) : nullptr;
    return found ? found->toString() : QStringLiteral("(none)");
}

// The document's controller, with the save question answered by `answer` and counted.
struct Asked {
    int count = 0;
    NUPO4DocumentController::SaveAnswer answer = NUPO4DocumentController::Cancel;
};

NUPO4DocumentController& documentAsking(Asked& asked)
{
    auto& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    document.tellUser = [](const QString& message) { ADD_FAILURE() << message.toStdString(); };
    document.askToSaveChanges = [&asked](const QString&) {
        ++asked.count;
        return asked.answer;
    };
    return document;
}

// What Quit (and Close, and opening another document) asks before the document closes, cancelled at the
// question: whether the question came.
bool quitAsks(NUPO4DocumentController& document, Asked& asked)
{
    const int before = asked.count;
    asked.answer = NUPO4DocumentController::Cancel;
    EXPECT_FALSE(document.documentShouldClose() && asked.count > before);
    return asked.count > before;
}

bool pausePlaying()
{
    if (setPauseX == 0)
        menuItem("setPauseVideoandBrainwave")->trigger();
    return processEventsUntil([] { return setPauseX != 0; });
}

// The shown windows of a kind, whose titles carry the document's name once it has one.
QList<QWidget*> shownOf(const QString& title)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QList<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle().section(QStringLiteral(" \u2014 "), 0, 0) == title)
            windows << window;
    return windows;
}

QList<QWidget*> rawWaves()
{
    return shownOf(QStringLiteral("Rawwave Window"));
}

QWidget* openRawWave()
{
    const QList<QWidget*> before = rawWaves();
    QXAppController::sharedQXAppController().showQXRawwaveGraph(nullptr);
    QWidget* opened = nullptr;
    processEventsUntil([&] {
        for (QWidget* window : rawWaves())
            if (!before.contains(window))
                opened = window;
        return opened != nullptr;
    });
    return opened;
}

// Chooses a view in the window's view popup as the user does.
void chooseView(QWidget* window, int index)
{
    auto* popup = window->findChild<QComboBox*>(QStringLiteral("popup"));
    ASSERT_TRUE(popup);
    popup->setCurrentIndex(index);
    emit popup->activated(index);
}

int shownView(QWidget* window)
{
    auto* popup = window->findChild<QComboBox*>(QStringLiteral("popup"));
    return popup ? popup->currentIndex() : -1;
}

// "CH 1" and "CH 3" in the raw wave's view popup (four channels).
constexpr int ch1 = 2;
constexpr int ch3 = 4;

}  // namespace

TEST(DocumentEdited, KeyMarkersAtAnySampleMarkTheDocumentAndQuitAsks)
{
    startWithDemo();
    Asked asked;
    auto& document = documentAsking(asked);
    ASSERT_TRUE(pausePlaying());
    const QString saved = tempFolder() + "/markers.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(saved));
    EXPECT_FALSE(document.isDocumentEdited());
    EXPECT_FALSE(quitAsks(document, asked));

    // "qwerty" at samples 2308 .. 2313, none of them a multiple of 61, each alone a change.
    const RecordingBuffers& recording = RecordingBuffers::sharedRecordingBuffers();
    const unsigned short keys[] = {VirtualKey::Q, VirtualKey::W, VirtualKey::E,
                                   VirtualKey::R, VirtualKey::T, VirtualKey::Y};
    std::vector<int> typed;
    int at = 2308;
    for (unsigned short key : keys) {
        ASSERT_TRUE(document.openDocumentAt(saved));
        ASSERT_TRUE(pausePlaying());
        ASSERT_FALSE(document.isDocumentEdited());
        ploop.store(at);
        QX2DSpectrumGLView::sharedQX2DSpectrumGLView().keyDown({key, 0, QString(), false});
        EXPECT_NE(recording.getIntFromBuffer(0, at), 49) << "no marker at " << at;
        EXPECT_TRUE(document.isDocumentEdited()) << "marker at " << at;
        EXPECT_TRUE(quitAsks(document, asked)) << "marker at " << at;
        ++at;
    }
    // All six, saved and reopened, are in the recording.
    for (int k = 0; k < 5; ++k) {
        ploop.store(2308 + k);
        QX2DSpectrumGLView::sharedQX2DSpectrumGLView().keyDown({keys[k], 0, QString(), false});
    }
    for (int k = 0; k < 6; ++k)
        typed.push_back(recording.getIntFromBuffer(0, 2308 + k));
    const QString marked = tempFolder() + "/markers-typed.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(marked));
    EXPECT_FALSE(document.isDocumentEdited());
    ASSERT_TRUE(document.openDocumentAt(saved));
    ASSERT_TRUE(document.openDocumentAt(marked));
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(recording.getIntFromBuffer(0, 2308 + k), typed[std::size_t(k)]) << 2308 + k;
    EXPECT_FALSE(document.isDocumentEdited());

    // Emptying the recording is a change too.
    QXSerialPort::sharedQXSerialPort().recCleare();
    EXPECT_TRUE(document.isDocumentEdited());
    EXPECT_TRUE(quitAsks(document, asked));
}

TEST(DocumentEdited, AViewOrBackgroundChosenInARawWaveMarksTheDocumentAndAMovedWindowDoesNot)
{
    if (!onScreen())
        GTEST_SKIP() << "the plot windows draw only on an X display";
    startWithDemo();
    Asked asked;
    auto& document = documentAsking(asked);
    QWidget* window = rawWaves().value(0);
    if (!window)
        window = openRawWave();
    ASSERT_TRUE(window);
    ASSERT_TRUE(windowsTicked());
    const QString saved = tempFolder() + "/view.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(saved));
    ASSERT_FALSE(document.isDocumentEdited());

    // Moved as a user moves it: once it stands where it is seen.
    ASSERT_TRUE(processEventsUntil([&] { return windowSettled(window); }));
    const QRectF frame = boundsRawwave;
    ASSERT_TRUE(moveAsUserAndWait({{window, WindowPlacement::frameOf(window).topLeft() + QPoint(41, 29)}},
                                  [&] { return boundsRawwave != frame; }));
    ASSERT_TRUE(windowsTicked());
    EXPECT_FALSE(document.isDocumentEdited());
    EXPECT_FALSE(quitAsks(document, asked));

    chooseView(window, ch3);
    EXPECT_EQ(selectCHXX, ch3);
    EXPECT_TRUE(document.isDocumentEdited());
    document.updateWindowTitles();
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_TRUE(quitAsks(document, asked));
    ASSERT_TRUE(document.saveDocumentTo(saved));
    EXPECT_EQ(savedValue(saved, "PlotWindows", "selectCHXX"), QString::number(ch3));
    EXPECT_FALSE(document.isDocumentEdited());

    // A background chosen in the window is a change too.
    auto* well = window->findChild<ColorWell*>(QStringLiteral("backgroundColorWell"));
    ASSERT_TRUE(well);
    well->setColor(RGBAColor::fromRGBA(0.2, 0.4, 0.6, 1.0));
    emit well->colorPicked();
    EXPECT_TRUE(document.isDocumentEdited());
    EXPECT_TRUE(quitAsks(document, asked));
    ASSERT_TRUE(document.saveDocumentTo(saved));
    EXPECT_FALSE(document.isDocumentEdited());
}

TEST(DocumentEdited, ASecondRawWaveClosedIsNotSavedAndTheFirstKeepsItsView)
{
    if (!onScreen())
        GTEST_SKIP() << "the plot windows draw only on an X display";
    startWithDemo();
    Asked asked;
    auto& document = documentAsking(asked);
    for (QWidget* window : rawWaves())
        window->close();
    ASSERT_TRUE(processEventsUntil([] { return rawWaves().isEmpty(); }));
    QWidget* first = openRawWave();
    ASSERT_TRUE(first);
    chooseView(first, ch3);
    ASSERT_TRUE(windowsTicked());

    QWidget* second = openRawWave();
    ASSERT_TRUE(second);
    ASSERT_TRUE(windowsTicked());
    chooseView(second, 0);  // "1 LR Raw wave"
    ASSERT_TRUE(windowsTicked());
    const QPointer<QWidget> closing(second);
    second->close();
    ASSERT_TRUE(processEventsUntil([&] { return !closing || !closing->isVisible(); }));
    ASSERT_TRUE(windowsTicked());
    const QString saved = tempFolder() + "/second-closed.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(saved));
    EXPECT_EQ(savedValue(saved, "PlotWindows", "OpenRawwave"), "1");
    EXPECT_EQ(savedValue(saved, "PlotWindows", "selectCHXX"), QString::number(ch3));
    EXPECT_EQ(shownView(first), ch3);

    // Reopened: one raw wave, on "CH 3".
    ASSERT_TRUE(document.openDocumentAt(saved));
    ASSERT_TRUE(processEventsUntil([] { return rawWaves().size() == 1; }));
    ASSERT_TRUE(windowsTicked());
    ASSERT_EQ(rawWaves().size(), 1);
    first = rawWaves().value(0);
    EXPECT_EQ(shownView(first), ch3);
    EXPECT_FALSE(document.isDocumentEdited());

    // The first one closed instead, the second stands for the kind with the view it shows.
    second = openRawWave();
    ASSERT_TRUE(second);
    ASSERT_TRUE(windowsTicked());
    chooseView(second, ch1);
    ASSERT_TRUE(windowsTicked());
    const QPointer<QWidget> closingFirst(first);
    first->close();
    ASSERT_TRUE(processEventsUntil([&] { return !closingFirst || !closingFirst->isVisible(); }));
    const QString secondOnly = tempFolder() + "/second-only.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(secondOnly));
    EXPECT_EQ(savedValue(secondOnly, "PlotWindows", "OpenRawwave"), "1");
    EXPECT_EQ(savedValue(secondOnly, "PlotWindows", "selectCHXX"), QString::number(ch1));
}

TEST(DocumentEdited, ABarGraphGridSwitchedOffInADocumentStaysOffWhenItsWindowIsMadeAgain)
{
    if (!onScreen())
        GTEST_SKIP() << "the plot windows draw only on an X display";
    startWithDemo();
    Asked asked;
    auto& document = documentAsking(asked);
    if (Open2DBarGraph <= 0)
        QXAppController::sharedQXAppController().showQX2DBarGarph(nullptr);
    ASSERT_TRUE(processEventsUntil([] { return Open2DBarGraph > 0; }));
    ShowGrid2DBarX = 0;
    const QString saved = tempFolder() + "/grid-off.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(saved));
    ASSERT_EQ(savedValue(saved, "Display", "ShowGrid2DBarX"), "0");
    ASSERT_EQ(savedValue(saved, "PlotWindows", "Open2DBarGraph"), "1");

    // Reading the document makes the bar-graph window anew.
    ASSERT_TRUE(document.openDocumentAt(saved));
    ASSERT_TRUE(processEventsUntil([] { return !shownOf(QStringLiteral("Bargraph Window")).isEmpty(); }));
    ASSERT_TRUE(windowsTicked());
    EXPECT_EQ(ShowGrid2DBarX, 0);
    EXPECT_FALSE(document.isDocumentEdited());
    const QString again = tempFolder() + "/grid-off-again.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(again));
    EXPECT_EQ(savedValue(again, "Display", "ShowGrid2DBarX"), "0");
}

TEST(DocumentEdited, TwoRawWavesReopenInTheirOrderTheFirstWithItsViewTheSecondOnItsOwn)
{
    if (!onScreen())
        GTEST_SKIP() << "the plot windows draw only on an X display";
    startWithDemo();
    Asked asked;
    auto& document = documentAsking(asked);
    for (QWidget* window : rawWaves())
        window->close();
    ASSERT_TRUE(processEventsUntil([] { return rawWaves().isEmpty(); }));
    QWidget* first = openRawWave();
    ASSERT_TRUE(first);
    chooseView(first, ch3);
    ASSERT_TRUE(windowsTicked());
    const QString saved = tempFolder() + "/two-views.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(saved));

    // A second window changed: the view stored stays the first one's, and is no change of it.
    QWidget* second = openRawWave();
    ASSERT_TRUE(second);
    ASSERT_TRUE(windowsTicked());
    const int secondOpensOn = shownView(second);
    chooseView(second, ch1);
    ASSERT_TRUE(windowsTicked());
    EXPECT_EQ(shownView(first), ch3);
    EXPECT_EQ(selectCHXX, ch3);
    ASSERT_TRUE(document.saveDocumentTo(saved));
    EXPECT_EQ(savedValue(saved, "PlotWindows", "OpenRawwave"), "2");
    EXPECT_EQ(savedValue(saved, "PlotWindows", "selectCHXX"), QString::number(ch3));

    // Reopened: the first window shows its view, the second opens on its own, and the document is as
    // saved.
    ASSERT_TRUE(document.openDocumentAt(saved));
    ASSERT_TRUE(processEventsUntil([] { return rawWaves().size() == 2; }));
    ASSERT_TRUE(windowsTicked());
    PlotWindowController* firstAgain = PlotWindowController::firstWindowOf(rawwaveWindowState);
    ASSERT_TRUE(firstAgain);
    QWidget* secondAgain = nullptr;
    for (QWidget* window : rawWaves())
        if (window != firstAgain->windowWidget())
            secondAgain = window;
    ASSERT_TRUE(secondAgain);
    EXPECT_EQ(shownView(firstAgain->windowWidget()), ch3);
    EXPECT_EQ(shownView(secondAgain), secondOpensOn);
    EXPECT_FALSE(document.isDocumentEdited());
}
