// Window frames as documents keep them: a window saved maximised reopens maximised and restores to the
// frame it had before; frames saved on a screen of another size come back whole on this one, at the same
// place from the screen's top-left where they fit, and never on one spot.
#include <gtest/gtest.h>

#include "core/ui/QXAppController.h"
#include "document/ui/NUPO4DocumentController.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "platform/plist/PlistReader.h"
#include "platform/plist/PlistWriter.h"
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "support/WindowTestSupport.h"

#include <QFile>
#include <QScreen>

#include <algorithm>

using namespace nupo;
using namespace nupo::test;

namespace {

QString baseTitle(const QWidget* window)
{
    return window->windowTitle().section(QStringLiteral(" \u2014 "), 0, 0);
}

QWidget* shownWindow(const QString& title)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && baseTitle(window) == title)
            return window;
    return nullptr;
}

NUPO4DocumentController& quietDocument()
{
    auto& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    document.tellUser = [](const QString& message) { ADD_FAILURE() << message.toStdString(); };
    document.askToSaveChanges = [](const QString&) { return NUPO4DocumentController::DontSave; };
    return document;
}

PlistValue readFile(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return PlistReader::parse(file.readAll()).value_or(PlistValue());
}

PlistValue* keyed(PlistValue& file, const QString& section, const QString& key)
{
    PlistDictionary* top = file.asDictionary();
    PlistValue* inner = top ? top->find(section) : nullptr;
    PlistDictionary* dictionary = inner ? inner->asDictionary() : nullptr;
    return dictionary ? dictionary->find(key) : nullptr;
}

QRectF rectOf(const PlistValue* value)
{
    if (!value || !value->isArray() || value->toArray().size() != 4)
        return {};
    const auto& a = value->toArray();
    return QRectF(a[0].toString().toDouble(), a[1].toString().toDouble(), a[2].toString().toDouble(),
                  a[3].toString().toDouble());
}

PlistValue rectValue(const QRectF& r)
{
    return PlistValue::Array{QString::number(r.x()), QString::number(r.y()), QString::number(r.width()),
                             QString::number(r.height())};
}

// The windows whose frames the test stores, with their sections and keys.
struct Placed {
    QString title, section, bounds, open;
};
const Placed placed[] = {
    {"Rawwave Window", "PlotWindows", "boundsRawwave", "OpenRawwave"},
    {"Bargraph Window", "PlotWindows", "boundsBargraph", "Open2DBarGraph"},
    {"Waterfall Window", "PlotWindows", "boundsWaterFall", "Open3DWaterFall"},
    {"WaterfallBS Window", "Spectrum3DWindow", "boundsWaterFallBS", "Open3DWaterFallBS"},
};

void closeAll()
{
    for (const Placed& kind : placed)
        while (QWidget* window = shownWindow(kind.title)) {
            const QPointer<QWidget> closing(window);
            window->close();
            ASSERT_TRUE(processEventsUntil([&] { return !closing || !closing->isVisible(); }));
        }
}

QRect screenRect()
{
    return QGuiApplication::primaryScreen()->geometry();
}

// Writes a document with each kind's window open at a frame given from the top-left of a screen of
// `saved` size (stored, as documents keep frames, from that screen's bottom), and opens it.
void openWithFrames(const QString& name, const QSize& saved, const QList<QRect>& fromTopLeft)
{
    auto& document = quietDocument();
    const QString path = tempFolder() + "/" + name;
    ASSERT_TRUE(document.saveDocumentTo(path));
    PlistValue file = readFile(path);
    for (int i = 0; i < 4; ++i) {
        const Placed& kind = placed[i];
        const QRect& r = fromTopLeft[i];
        const QRectF stored(r.x(), saved.height() - (r.y() + r.height()), r.width(), r.height());
        PlistDictionary* section = keyed(file, kind.section, kind.open)
                                       ? file.asDictionary()->find(kind.section)->asDictionary()
                                       : nullptr;
        ASSERT_TRUE(section) << kind.section.toStdString();
        section->insert(kind.open, QStringLiteral("1"));
        section->insert(kind.bounds, rectValue(stored));
        section->insert(kind.bounds + "Normal", rectValue(stored));
        section->insert("boundsScreen",
                        PlistValue::Array{QString::number(saved.width()), QString::number(saved.height())});
    }
    ASSERT_TRUE(PlistWriter::writeFile(path, file));
    closeAll();
    ASSERT_TRUE(document.openDocumentAt(path));
    ASSERT_TRUE(processEventsUntil([] {
        for (const Placed& kind : placed)
            if (!shownWindow(kind.title) || !windowSettled(shownWindow(kind.title)))
                return false;
        return true;
    }));
}

// The frames of the kinds' windows in Qt's screen coordinates (from the top-left), decoration included.
QList<QRect> shownFrames()
{
    QList<QRect> frames;
    for (const Placed& kind : placed)
        frames << WindowHandle::toQt(WindowHandle(shownWindow(kind.title)).frame()).toRect();
    return frames;
}

}  // namespace

TEST(DocumentStoredFrames, AMaximisedWindowSavedAndReopenedIsMaximisedAndRestoresToItsNormalFrame)
{
    if (!onScreen())
        GTEST_SKIP() << "the plot windows draw only on an X display";
    startWithDemo();
    auto& document = quietDocument();
    QXAppController::sharedQXAppController().showQX2DBarGarph(nullptr);
    ASSERT_TRUE(processEventsUntil([] { return shownWindow("Bargraph Window") != nullptr; }));
    QWidget* window = shownWindow("Bargraph Window");
    const QRect area = WindowPlacement::availableArea(window);
    // Moved and sized as the user would, by its client area, once it stands where it is seen.
    ASSERT_TRUE(processEventsUntil([&] { return windowSettled(window); }));
    const QMargins decoration = WindowPlacement::decorationOf(window);
    window->setGeometry(QRect(area.topLeft() + QPoint(90, 70), QSize(640, 480)).marginsRemoved(decoration));
    QRectF normal;
    ASSERT_TRUE(processEventsUntil([&] {
        normal = WindowHandle(window).frame();
        return normal.width() == 640 && boundsBargraph == normal;
    })) << "stored "
        << boundsBargraph.x() << "," << boundsBargraph.y();
    window->showMaximized();
    ASSERT_TRUE(processEventsUntil([&] { return barGraphWindowState.maximised == 1; }));
    const QString saved = tempFolder() + "/maximised.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(saved));
    PlistValue file = readFile(saved);
    EXPECT_EQ(rectOf(keyed(file, "PlotWindows", "boundsBargraphNormal")), normal);
    ASSERT_TRUE(keyed(file, "PlotWindows", "boundsBargraphMaximised"));
    EXPECT_EQ(keyed(file, "PlotWindows", "boundsBargraphMaximised")->toString(), "1");

    closeAll();
    ASSERT_TRUE(document.openDocumentAt(saved));
    ASSERT_TRUE(processEventsUntil([] { return shownWindow("Bargraph Window") != nullptr; }));
    window = shownWindow("Bargraph Window");
    EXPECT_TRUE(window->isMaximized());
    // Saved again while maximised, the file keeps both frames.
    const QString again = tempFolder() + "/maximised-again.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(again));
    PlistValue second = readFile(again);
    EXPECT_EQ(rectOf(keyed(second, "PlotWindows", "boundsBargraphNormal")), normal);
    EXPECT_EQ(keyed(second, "PlotWindows", "boundsBargraphMaximised")->toString(), "1");
    // Restored, it takes its normal frame, which the document then keeps.
    window->showNormal();
    ASSERT_TRUE(processEventsUntil([&] {
        return !window->isMaximized() && WindowHandle(window).frame() == normal;
    })) << WindowHandle(window).frame().x()
        << "," << WindowHandle(window).frame().y() << " " << WindowHandle(window).frame().width() << "x"
        << WindowHandle(window).frame().height();
    ASSERT_TRUE(
        processEventsUntil([&] { return barGraphWindowState.maximised == 0 && boundsBargraph == normal; }));
    const QString restored = tempFolder() + "/restored.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(restored));
    PlistValue third = readFile(restored);
    EXPECT_EQ(rectOf(keyed(third, "PlotWindows", "boundsBargraph")), normal);
    EXPECT_EQ(keyed(third, "PlotWindows", "boundsBargraphMaximised")->toString(), "0");
}

TEST(DocumentStoredFrames, FramesSavedOnAnotherScreenComeBackWholeAtTheirPlaceFromTheTopLeftAndApart)
{
    if (!onScreen())
        GTEST_SKIP() << "the plot windows draw only on an X display";
    startWithDemo();
    const QRect screen = screenRect();
    const QRect area = WindowPlacement::availableArea(nullptr);

    // Saved on a smaller screen: every frame fits here, at the same place from the top-left.
    const QSize smaller(screen.width() * 6 / 10, screen.height() * 6 / 10);
    const QList<QRect> fitting = {QRect(10, 30, 300, 220), QRect(330, 30, 280, 200), QRect(10, 270, 300, 160),
                                  QRect(330, 250, 260, 180)};
    openWithFrames("smaller.nupo4", smaller, fitting);
    QList<QRect> frames = shownFrames();
    for (int i = 0; i < frames.size(); ++i)
        EXPECT_EQ(frames[i].topLeft(), fitting[i].topLeft()) << placed[i].title.toStdString();

    // Saved on a larger screen, with the windows beyond this one's right and bottom edges (two of them at
    // one spot there, below the Control Panel): each comes back whole on the screen, on a spot of its
    // own; the one that fits is where it was from the top-left.
    const QSize larger(screen.width() * 2, screen.height() * 2);
    const int middle = screen.height() / 2;
    const QList<QRect> beyond = {QRect(40, 50, 420, 300), QRect(screen.width() + 300, middle, 500, 360),
                                 QRect(screen.width() + 300, middle, 500, 360),
                                 QRect(screen.width() + 100, screen.height() + 200, 450, 320)};
    openWithFrames("larger.nupo4", larger, beyond);
    frames = shownFrames();
    EXPECT_EQ(frames[0].topLeft(), beyond[0].topLeft());
    for (int i = 0; i < frames.size(); ++i) {
        EXPECT_TRUE(area.contains(frames[i]))
            << placed[i].title.toStdString() << " at " << frames[i].x() << "," << frames[i].y() << " "
            << frames[i].width() << "x" << frames[i].height();
        for (int j = 0; j < i; ++j)
            EXPECT_NE(frames[i].topLeft(), frames[j].topLeft())
                << placed[i].title.toStdString() << " on " << placed[j].title.toStdString();
    }
    // Moved only as far as it must: the bar graph, whose height fits, keeps its top.
    if (middle + frames[1].height() <= area.bottom() + 1) {
        EXPECT_EQ(frames[1].top(), middle);
    }

    // A document without the screen's size reads its frames as stored on this screen.
    auto& document = quietDocument();
    const QString path = tempFolder() + "/no-screen.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(path));
    PlistValue file = readFile(path);
    for (const QString& section : {QStringLiteral("PlotWindows"), QStringLiteral("Spectrum3DWindow")})
        file.asDictionary()->find(section)->asDictionary()->remove("boundsScreen");
    const QRectF stored = rectOf(keyed(file, "PlotWindows", "boundsRawwave"));
    ASSERT_TRUE(PlistWriter::writeFile(path, file));
    closeAll();
    ASSERT_TRUE(document.openDocumentAt(path));
    ASSERT_TRUE(processEventsUntil([] { return shownWindow("Rawwave Window") != nullptr; }));
    EXPECT_EQ(WindowHandle(shownWindow("Rawwave Window")).frame(), stored);
}

TEST(DocumentStoredFrames, MaximisedSavedReopenedAndRestoredFiveTimesKeepsTheNormalFrame)
{
    if (!onScreen())
        GTEST_SKIP() << "the plot windows draw only on an X display";
    startWithDemo();
    auto& document = quietDocument();
    QXAppController::sharedQXAppController().showFFTPanel(nullptr);
    const QStringList titles = {"Rawwave Window", "WaterfallBS Window"};
    ASSERT_TRUE(processEventsUntil([&] {
        return std::all_of(titles.begin(), titles.end(), [](const QString& title) {
            return shownWindow(title) && windowSettled(shownWindow(title));
        });
    }));
    // Each at a frame of its own, as the user puts it.
    const QList<QPoint> corners = {QPoint(60, 80), QPoint(700, 300)};
    QList<std::pair<QWidget*, QPoint>> moves;
    for (int i = 0; i < titles.size(); ++i)
        moves.append(
            {shownWindow(titles[i]), WindowPlacement::availableArea(nullptr).topLeft() + corners[i]});
    ASSERT_TRUE(moveAsUserAndWait(moves));
    QList<QRectF> normal;
    for (const QString& title : titles)
        normal << WindowHandle(shownWindow(title)).frame();
    const QString path = tempFolder() + "/cycles.nupo4";
    for (int cycle = 0; cycle < 5; ++cycle) {
        SCOPED_TRACE(cycle);
        for (const QString& title : titles)
            shownWindow(title)->showMaximized();
        ASSERT_TRUE(processEventsUntil([&] {
            return std::all_of(titles.begin(), titles.end(), [](const QString& title) {
                // Without a window manager nothing makes the window larger.
                return WindowPlacement::standsMaximised(shownWindow(title)) &&
                       (!WindowPlacement::windowManagerRuns() ||
                        WindowPlacement::fillsArea(shownWindow(title)));
            });
        }));
        ASSERT_TRUE(document.saveDocumentTo(path));
        PlistValue file = readFile(path);
        EXPECT_EQ(rectOf(keyed(file, "PlotWindows", "boundsRawwaveNormal")), normal[0]);
        EXPECT_EQ(rectOf(keyed(file, "Spectrum3DWindow", "boundsWaterFallBSNormal")), normal[1]);
        closeAll();
        ASSERT_TRUE(document.openDocumentAt(path));
        ASSERT_TRUE(processEventsUntil([&] {
            return std::all_of(titles.begin(), titles.end(), [](const QString& title) {
                QWidget* window = shownWindow(title);
                return window && windowSettled(window) && window->isMaximized();
            });
        }));
        for (const QString& title : titles)
            shownWindow(title)->showNormal();
        for (int i = 0; i < titles.size(); ++i) {
            QWidget* window = shownWindow(titles[i]);
            EXPECT_TRUE(processEventsUntil([&] {
                return !window->isMaximized() && WindowHandle(window).frame() == normal[i];
            })) << titles[i].toStdString()
                << " at " << WindowHandle(window).frame().x() << "," << WindowHandle(window).frame().y()
                << " " << WindowHandle(window).frame().width() << "x" << WindowHandle(window).frame().height()
                << ", was " << normal[i].x() << "," << normal[i].y();
        }
    }
}
