// What the user set stays set: a second window of a kind (a second drawing among them) opened and closed
// leaves the first one's graphics, frame, background colour and front choice in the saved file; a window
// "in Front" saves its own frame and its switch follows it; a document without a drawing, sounds, a movie
// and plot windows opened over one with them keeps none of them.
#include <gtest/gtest.h>

#include "DocumentFileDifferences.h"
#include "DocumentWindowsTicked.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "QXSketch/gl/NUPO4Drawing.h"
#include "QXSketch/gl/NUPO4Graphic.h"
#include "QXSketch/ui/NUPO4DrawWindowController.h"
#include "core/ui/QXAppController.h"
#include "document/ui/NUPO4DocumentController.h"
#include "platform/appkit/ui/ColorWell.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/plist/PlistReader.h"
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/waterfall/gl/WaterfallWindowState.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"
#include "support/WindowTestSupport.h"
#include "views3d/spectrum/ui/Spectrum3DWindowState.h"

#include <QDir>
#include <QFile>

using namespace nupo;
using namespace nupo::test;

namespace {

std::string rectText(const QRectF& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

// A window's title without the document's name.
QString baseTitle(const QWidget* window)
{
    return window->windowTitle().section(QStringLiteral(" \u2014 "), 0, 0);
}

QList<QWidget*> shownOf(const QString& title)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QList<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && baseTitle(window) == title)
            windows << window;
    return windows;
}

PlistValue savedFile(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return PlistReader::parse(file.readAll()).value_or(PlistValue());
}

PlistValue savedValue(const QString& path, const QString& section, const QString& key)
{
    const PlistValue file = savedFile(path);
    const PlistValue* found = file.isDictionary() ? file.toDictionary().find(section) : nullptr;
    found = found && found->isDictionary() ? found->toDictionary().find(key) : nullptr;
    return found ? *found : PlistValue();
}

// The kinds of plot window, with the menu commands that open them normally and in front.
struct Kind {
    QString title;
    void (QXAppController::*show)(QObject*);
    void (QXAppController::*showFront)(QObject*);
    QString bounds, front;
    PlotWindowState* state;
};

const Kind kinds[] = {
    {"Rawwave Window", &QXAppController::showQXRawwaveGraph, &QXAppController::showQXRawwaveGraphFront,
     "PlotWindows/boundsRawwave", "PlotWindows/showQXRawwaveGraphFront", &rawwaveWindowState},
    {"Bargraph Window", &QXAppController::showQX2DBarGarph, &QXAppController::showQX2DBarGarphFront,
     "PlotWindows/boundsBargraph", "PlotWindows/showQX2DBarGarphFront", &barGraphWindowState},
    {"Waterfall Window", &QXAppController::showQX2DSpectrum, &QXAppController::showQX2DSpectrumFront,
     "PlotWindows/boundsWaterFall", "PlotWindows/showQX2DSpectrumFront", &waterfallWindowState},
    {"WaterfallBS Window", &QXAppController::showFFTPanel, &QXAppController::showFFTPanelFront,
     "Spectrum3DWindow/boundsWaterFallBS", "Spectrum3DWindow/showFFTPanelFront", &spectrum3DWindowState},
};

PlistValue keyed(const QString& path, const QString& sectionAndKey)
{
    return savedValue(path, sectionAndKey.section('/', 0, 0), sectionAndKey.section('/', 1));
}

// Opens a window of the kind and gives it back once it is shown.
QWidget* openWindow(const Kind& kind, bool front)
{
    const QList<QWidget*> before = shownOf(kind.title);
    (QXAppController::sharedQXAppController().*(front ? kind.showFront : kind.show))(nullptr);
    QWidget* opened = nullptr;
    processEventsUntil([&] {
        for (QWidget* window : shownOf(kind.title))
            if (!before.contains(window))
                opened = window;
        return opened != nullptr;
    });
    return opened;
}

bool closeWindow(QWidget* window)
{
    const QPointer<QWidget> closing(window);
    window->close();
    return processEventsUntil([&] { return !closing || !closing->isVisible(); });
}

NUPO4DocumentController& quietDocument()
{
    auto& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    document.tellUser = [](const QString& message) { ADD_FAILURE() << message.toStdString(); };
    document.askToSaveChanges = [](const QString&) { return NUPO4DocumentController::DontSave; };
    return document;
}

}  // namespace

TEST(DocumentSecondWindow, ASecondDrawingOpenedAndClosedLeavesTheFirstOnesGraphicsToBeSaved)
{
    startWithDemo();
    auto& document = quietDocument();
    const QString first = tempFolder() + "/drawing.nupo4";
    const QString withSecond = tempFolder() + "/drawing-second.nupo4";
    const QString afterClose = tempFolder() + "/drawing-closed.nupo4";
    NUPO4DrawWindowController::showDrawWindow(nullptr);
    ASSERT_TRUE(processEventsUntil([] { return NUPO4Drawing::frontDrawing() != nullptr; }));
    NUPO4Drawing* drawing = NUPO4Drawing::frontDrawing();
    drawing->addGraphic(NUPO4Graphic::make(GraphicKind::Rectangle, QRectF(40, 50, 120, 70)));
    drawing->addGraphic(NUPO4Graphic::make(GraphicKind::Rectangle, QRectF(200, 50, 60, 70)));
    drawing->addGraphic(NUPO4Graphic::make(GraphicKind::BarGraphView, QRectF(200, 200, 160, 90)));
    drawing->select(0);
    ASSERT_TRUE(document.saveDocumentTo(first));

    // The second drawing is the front one: empty, and saved so.
    QList<QWidget*> before;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            before << window;
    NUPO4DrawWindowController::showDrawWindow(nullptr);
    QWidget* second = nullptr;
    ASSERT_TRUE(processEventsUntil([&] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && !before.contains(window))
                second = window;
        return second && NUPO4Drawing::frontDrawing() != drawing;
    }));
    EXPECT_TRUE(document.isDocumentEdited());
    ASSERT_TRUE(document.saveDocumentTo(withSecond));
    EXPECT_EQ(savedValue(withSecond, "Drawing", "Graphics").toArray().size(), 0u);

    // Closed again, the first drawing is the front one: what it holds is to be saved.
    ASSERT_TRUE(closeWindow(second));
    EXPECT_EQ(NUPO4Drawing::frontDrawing(), drawing);
    EXPECT_TRUE(document.isDocumentEdited());
    ASSERT_TRUE(document.saveDocumentTo(afterClose));
    QStringList differences = fileDifferences(first, afterClose);
    differences.removeIf([](const QString& line) { return line.startsWith("Drawing/WindowFrame"); });
    EXPECT_TRUE(differences.isEmpty()) << differences.join("\n").toStdString();
    EXPECT_EQ(savedValue(afterClose, "Drawing", "Graphics").toArray().size(), 3u);
    EXPECT_EQ(savedValue(afterClose, "Drawing", "OpenDrawing").toString(), "1");
    EXPECT_EQ(savedValue(afterClose, "Drawing", "Selected").toString(), "0");
}

TEST(DocumentSecondWindow, ASecondWindowOfEachKindOpenedAndClosedLeavesTheFirstOnesFrameColourAndFrontSwitch)
{
    if (!onScreen())
        GTEST_SKIP() << "the plot windows draw only on an X display";
    startWithDemo();
    auto& document = quietDocument();
    // One window of each kind, each moved and with a background of its own.
    int k = 0;
    for (const Kind& kind : kinds) {
        QWidget* window = shownOf(kind.title).value(0);
        if (!window)
            window = openWindow(kind, false);
        ASSERT_TRUE(window) << kind.title.toStdString();
        // Moved as a user moves a window: once it stands where it is seen.
        ASSERT_TRUE(processEventsUntil([&] { return windowSettled(window); }));
        // Where the window manager put it, and the program took its frame.
        ASSERT_TRUE(moveAsUserAndWait({{window, QPoint(300 + 61 * k, 250 + 37 * k)}},
                                      [&] { return kind.state->bounds == WindowHandle(window).frame(); }))
            << kind.title.toStdString() << " stands at " << rectText(WindowPlacement::frameOf(window))
            << ", its frame " << rectText(WindowHandle(window).frame()) << " and its stored one "
            << rectText(kind.state->bounds) << (WindowPlacement::isSettling(window) ? ", settling" : "");
        if (auto* well = window->findChild<ColorWell*>("backgroundColorWell")) {
            well->setColor(RGBAColor::fromRGBA(0.1 + 0.2 * k, 0.5, 0.9 - 0.2 * k, 1.0));
            emit well->colorPicked();
        }
        ++k;
    }
    ASSERT_TRUE(windowsTicked());
    const QString saved = tempFolder() + "/kinds.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(saved));

    for (const Kind& kind : kinds) {
        QWidget* second = openWindow(kind, false);
        ASSERT_TRUE(second) << kind.title.toStdString();
        ASSERT_TRUE(windowsTicked());
        ASSERT_TRUE(processEventsUntil([&] { return windowSettled(second); }));
        const QPoint secondAt = WindowPlacement::frameOf(second).topLeft() + QPoint(23, 17);
        second->move(second->pos() + QPoint(23, 17));
        ASSERT_TRUE(
            processEventsUntil([&] { return WindowPlacement::frameOf(second).topLeft() == secondAt; }));
        const QString withSecond = tempFolder() + "/kinds-second.nupo4";
        ASSERT_TRUE(document.saveDocumentTo(withSecond));
        EXPECT_EQ(keyed(withSecond, kind.bounds), keyed(saved, kind.bounds)) << kind.title.toStdString();
        ASSERT_TRUE(closeWindow(second));
        ASSERT_TRUE(windowsTicked());
        const QString closed = tempFolder() + "/kinds-closed.nupo4";
        ASSERT_TRUE(document.saveDocumentTo(closed));
        EXPECT_TRUE(fileDifferences(saved, closed).isEmpty())
            << kind.title.toStdString() << ":\n"
            << fileDifferences(saved, closed).join("\n").toStdString();
    }

    // A second window in front leaves the first one's switch; the first one closed, the second stands
    // for the kind with its own frame and switch.
    for (const Kind& kind : kinds) {
        QWidget* first = shownOf(kind.title).value(0);
        QWidget* second = openWindow(kind, true);
        ASSERT_TRUE(first && second) << kind.title.toStdString();
        ASSERT_TRUE(windowsTicked());
        const QString withFront = tempFolder() + "/kinds-front.nupo4";
        ASSERT_TRUE(document.saveDocumentTo(withFront));
        EXPECT_EQ(keyed(withFront, kind.front).toString(), "0") << kind.title.toStdString();
        ASSERT_TRUE(processEventsUntil([&] { return windowSettled(second); }));
        const QRectF frame = WindowHandle(second).frame();
        ASSERT_TRUE(closeWindow(first));
        const QString frontOnly = tempFolder() + "/kinds-front-only.nupo4";
        ASSERT_TRUE(document.saveDocumentTo(frontOnly));
        EXPECT_EQ(keyed(frontOnly, kind.front).toString(), "1") << kind.title.toStdString();
        const PlistValue::Array bounds = keyed(frontOnly, kind.bounds).toArray();
        ASSERT_EQ(bounds.size(), 4u);
        EXPECT_EQ(QRectF(bounds[0].toString().toDouble(), bounds[1].toString().toDouble(),
                         bounds[2].toString().toDouble(), bounds[3].toString().toDouble()),
                  frame)
            << kind.title.toStdString();
    }
}

TEST(DocumentSecondWindow, AWindowInFrontOpenedAndClosedSavesItsFrameAndItsSwitchGoesWithIt)
{
    if (!onScreen())
        GTEST_SKIP() << "the plot windows draw only on an X display";
    startWithDemo();
    auto& document = quietDocument();
    for (const Kind& kind : kinds)
        for (QWidget* window : shownOf(kind.title))
            ASSERT_TRUE(closeWindow(window));
    for (const Kind& kind : kinds) {
        QWidget* window = openWindow(kind, true);
        ASSERT_TRUE(window) << kind.title.toStdString();
        ASSERT_TRUE(windowsTicked());
        // The frame as the window stands once the program has taken it (a window manager may still be
        // framing the window as it opens).
        QRectF frame;
        ASSERT_TRUE(processEventsUntil([&] {
            frame = WindowHandle(window).frame();
            return kind.state->bounds == frame;
        })) << kind.title.toStdString();
        ASSERT_GT(frame.width(), 1.0);
        ASSERT_GT(frame.height(), 1.0);
        ASSERT_TRUE(closeWindow(window));
        const QString saved = tempFolder() + "/front-closed.nupo4";
        ASSERT_TRUE(document.saveDocumentTo(saved));
        const PlistValue::Array bounds = keyed(saved, kind.bounds).toArray();
        ASSERT_EQ(bounds.size(), 4u);
        EXPECT_EQ(QRectF(bounds[0].toString().toDouble(), bounds[1].toString().toDouble(),
                         bounds[2].toString().toDouble(), bounds[3].toString().toDouble()),
                  frame)
            << kind.title.toStdString();
        EXPECT_EQ(keyed(saved, kind.front).toString(), "0") << kind.title.toStdString();
    }
}

TEST(DocumentSecondWindow, ADocumentWithoutDrawingSoundsMovieAndWindowsOpenedOverOneWithThemKeepsNoneOfThem)
{
    startWithDemo();
    auto& document = quietDocument();
    QXAppController::sharedQXAppController().showQX2DBarGarph(nullptr);
    QXAppController::sharedQXAppController().showFFTPanel(nullptr);
    NUPO4DrawWindowController::showDrawWindow(nullptr);
    ASSERT_TRUE(processEventsUntil(
        [] { return NUPO4Drawing::frontDrawing() && Open2DBarGraph > 0 && Open3DWaterFallBS > 0; }));
    NUPO4Drawing::frontDrawing()->addGraphic(
        NUPO4Graphic::make(GraphicKind::Rectangle, QRectF(4, 5, 60, 70)));
    // Sound tables as a bank in slot 1 leaves them, and the folder it came from in the shared path.
    firsttimeQXSoundController = 1;
    RowsCountA[0] = 2;
    (*soundPathTable(0))[0] = "/somewhere/a.wav";
    (*soundPathTable(0))[1] = "/somewhere/b.wav";
    PlaymodeA[0] = 3;
    ASSERT_TRUE(NSStringToC(QStringLiteral("/somewhere")));
    const QString rich = tempFolder() + "/rich.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(rich));

    const QString minimal = tempFolder() + "/minimal.nupo4";
    QFile::remove(minimal);
    ASSERT_TRUE(QFile::copy(qEnvironmentVariable("NUPO_SOURCE_DIR") + "/fuzz/corpus/document/minimal.nupo4",
                            minimal));
    ASSERT_TRUE(document.openDocumentAt(minimal));
    ASSERT_TRUE(processEventsUntil([] { return Open2DBarGraph <= 0 && Open3DWaterFallBS <= 0; }));
    const QString again = tempFolder() + "/minimal-again.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(again));
    EXPECT_EQ(savedValue(again, "Drawing", "Graphics").toArray().size(), 0u);
    for (const char* key : {"OpenRawwave", "Open2DBarGraph", "Open3DWaterFall"})
        EXPECT_EQ(savedValue(again, "PlotWindows", key).toString(), "0") << key;
    EXPECT_EQ(savedValue(again, "Spectrum3DWindow", "Open3DWaterFallBS").toString(), "0");
    EXPECT_EQ(savedValue(again, "Sound", "RowsCountA").toArray().at(0).toString(), "0");
    EXPECT_EQ(savedValue(again, "Sound", "PlaymodeA").toArray().at(0).toString(), "1");
    EXPECT_EQ(savedValue(again, "Sound", "SendSoundstr").toArray().at(0).toString(), " ");
    EXPECT_EQ(savedValue(again, "Movie", "OpenQT").toString(), "0");
    EXPECT_EQ(savedValue(again, "Movie", "MoviePath").toString(), "");
    EXPECT_TRUE(shownOf("Bargraph Window").isEmpty());
}
