// The plot windows' sections: window state and background colours come back from a document, a document
// that starts the application and the preference file raise the suppress flags, a preference file opens
// no window, and frames come back maximised or from another screen as they were.
#include <gtest/gtest.h>

#include "document/NUPO4DrawDocument.h"
#include "document/gl/PlotWindowsSection.h"
#include "document/gl/StoredWindowFrame.h"
#include "document/gl/ViewDocumentSections.h"
#include "platform/plist/PlistReader.h"
#include "platform/plist/PlistWriter.h"
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/bargraph/gl/QX2DBarGraphView.h"
#include "plots/rawwave/gl/QXRawwaveGraphView.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/waterfall/gl/QX2DSpectrumGLView.h"
#include "plots/waterfall/gl/WaterfallWindowState.h"
#include "shared/CoreState.h"

using namespace nupo;

namespace {

void setWindows(int seed)
{
    OpenRawwave = 1 + seed % 2;
    Open2DBarGraph = 2;
    Open3DWaterFall = seed % 2;
    boundsRawwave = QRectF(10 + seed, 20, 640, 480);
    boundsBargraph = QRectF(700, 30 + seed, 500.5, 300);
    boundsWaterFall = QRectF(5, 600, 800, 420 + seed);
    selectCHXX = 3 + seed;
    selectBCHX = 4;
    selectXCHNXY = 7 + seed % 3;
    viewAX = 1;
    viewA2DX = seed % 2;
    setWRawGain = 12.75f + float(seed);
    WBarAlphaValue = 0.6f;
    showQX2DBarGarphFront = 1;
    for (int c = 0; c < 4; ++c) {
        QXRawwaveGraphView::sharedQXRawwaveGraphView().setBackgroundColorA(c, 0.1f * float(c + seed));
        QX2DBarGraphView::sharedQX2DBarGraphView().setBackgroundColorA(c, 0.05f * float(c + 1));
        QX2DSpectrumGLView::sharedQX2DSpectrumGLView().setBackgroundColorA(c, 1.0f - 0.2f * float(c));
    }
}

struct ViewDocument {
    NUPO4DrawDocument document;
    ViewDocument() { addViewDocumentSections(document); }
    PlotWindowsSection& windows()
    {
        return *dynamic_cast<PlotWindowsSection*>(document.section("PlotWindows"));
    }
};

}  // namespace

TEST(PlotWindowsSection, WindowStateAndBackgroundColoursComeBack)
{
    ViewDocument doc;
    setWindows(1);
    const QByteArray text = doc.document.dataRepresentation();
    // The open counts come back through the window set-up, which opens the windows.
    const QStringList opened = {"PlotWindows/OpenRawwave", "PlotWindows/Open2DBarGraph",
                                "PlotWindows/Open3DWaterFall"};
    const QByteArray saved = doc.document.snapshot(opened);
    setWindows(2);
    setWframeCotrol = 0;
    ASSERT_TRUE(doc.document.readFromData(text, "doc"));
    EXPECT_EQ(doc.document.snapshot(opened).toStdString(), saved.toStdString());
    // The frames wait for the next nib load of each kind; the window set-up knows how many to open.
    EXPECT_EQ(setWframeCotrol, 1);
    EXPECT_EQ(QXRawwaveGraphX, QRectF(11, 20, 640, 480));
    EXPECT_EQ(QX2DBarGraphX, QRectF(700, 31, 500.5, 300));
    EXPECT_EQ(doc.windows().windowsToOpen(PlotWindowsSection::Rawwave), 2);
    EXPECT_EQ(doc.windows().windowsToOpen(PlotWindowsSection::Bargraph), 2);
    EXPECT_EQ(doc.windows().windowsToOpen(PlotWindowsSection::Waterfall), 1);
    EXPECT_EQ(selectCHXX, 4);
    EXPECT_EQ(setWRawGain, 13.75f);
    // The colour reaches the windows' next nib load.
    EXPECT_EQ(needUpdateColorA, 1);
    EXPECT_FLOAT_EQ(bkColorA.green, 0.2f);
    EXPECT_FLOAT_EQ(bkColorC.blue, 0.6f);
    EXPECT_FLOAT_EQ(QX2DSpectrumGLView::sharedQX2DSpectrumGLView().getBackgroundColor(3), 0.4f);
}

TEST(PlotWindowsSection, EveryDocumentAndThePreferenceFileDropTheCommandsQueuedBefore)
{
    // The start-up's commands (view mode 0, the raw-wave well's colour) wait until a window of each kind
    // first opens: they would replace the view modes and backgrounds a document read meanwhile holds,
    // whether it started the application or came later.
    ViewDocument doc;
    setWindows(1);
    const QByteArray text = doc.document.dataRepresentation();
    windowColorRawNOX = windowColorBarOX = windowColor2DNOX = 0;
    doc.document.runStartUpIfNeeded = [] { return false; };  // already started
    ASSERT_TRUE(doc.document.readFromData(text, "doc"));
    EXPECT_EQ(windowColorRawNOX + windowColorBarOX + windowColor2DNOX, 3);
    windowColorRawNOX = windowColorBarOX = windowColor2DNOX = 0;
    doc.document.runStartUpIfNeeded = [] { return true; };
    ASSERT_TRUE(doc.document.readFromData(text, "doc"));
    EXPECT_EQ(windowColorRawNOX, 1);
    EXPECT_EQ(windowColorBarOX, 1);
    EXPECT_EQ(windowColor2DNOX, 1);
    // The preference file follows the start-up: the start-up's commands (view mode 0, the raw-wave
    // well's colour) would replace the view modes and backgrounds it holds.
    windowColorRawNOX = windowColorBarOX = windowColor2DNOX = 0;
    QString error;
    ASSERT_TRUE(
        doc.document.loadDataRepresentation(doc.document.dataRepresentation(true), "prefs", true, &error))
        << error.toStdString();
    EXPECT_EQ(windowColorRawNOX, 1);
    EXPECT_EQ(windowColorBarOX, 1);
    EXPECT_EQ(windowColor2DNOX, 1);
}

TEST(PlotWindowsSection, BadFramesAndColoursAreRefusedAndAPreferenceFileOpensNoWindow)
{
    ViewDocument doc;
    setWindows(1);
    QByteArray text = doc.document.dataRepresentation();
    QString error;
    QByteArray bad = text;
    bad.replace("boundsRawwave = (", "boundsRawwave = (1, ");
    EXPECT_FALSE(doc.document.readFromData(bad, "doc", &error));
    EXPECT_TRUE(error.contains("section PlotWindows, boundsRawwave")) << error.toStdString();
    bad = text;
    bad.replace(" Bargraph = (", " Bargraph = (0.5, ");
    EXPECT_FALSE(doc.document.readFromData(bad, "doc", &error));
    EXPECT_TRUE(error.contains("section DisplayColor, Bargraph")) << error.toStdString();

    const QByteArray prefs = doc.document.dataRepresentation(true);
    ASSERT_TRUE(doc.document.loadDataRepresentation(prefs, "prefs", true, &error)) << error.toStdString();
    EXPECT_EQ(doc.windows().windowsToOpen(PlotWindowsSection::Bargraph), 0);
}

TEST(PlotWindowsSection, AMaximisedWindowKeepsItsNormalFrameAndFramesFromAnotherScreenKeepTheirTopLeft)
{
    ViewDocument doc;
    setWindows(1);
    barGraphWindowState.bounds = QRectF(0, 6, 1918, 1194);
    barGraphWindowState.normalBounds = QRectF(1069, 261, 760, 720);
    barGraphWindowState.maximised = 1;
    const QByteArray text = doc.document.dataRepresentation();
    barGraphWindowState = PlotWindowState{};
    ASSERT_TRUE(doc.document.readFromData(text, "doc"));
    // The window opens at its normal frame and is maximised; the frame it stood at is kept as it was.
    EXPECT_EQ(barGraphWindowState.pendingFrame, QRectF(1069, 261, 760, 720));
    EXPECT_EQ(barGraphWindowState.maximiseNext, 1);
    EXPECT_EQ(boundsBargraph, QRectF(0, 6, 1918, 1194));
    // Saved again before the window opens, the file keeps both frames.
    const PlistValue again = PlistReader::parse(doc.document.dataRepresentation()).value_or(PlistValue());
    const PlistValue before = PlistReader::parse(text).value_or(PlistValue());
    for (const QString key : {"boundsBargraph", "boundsBargraphNormal", "boundsBargraphMaximised"})
        EXPECT_EQ(*again.toDictionary().find("PlotWindows")->toDictionary().find(key),
                  *before.toDictionary().find("PlotWindows")->toDictionary().find(key))
            << key.toStdString();

    // A file without the normal frame, the maximised flag and the screen reads as before.
    PlistValue file = PlistReader::parse(text).value_or(PlistValue());
    PlistDictionary* section = file.asDictionary()->find("PlotWindows")->asDictionary();
    for (const QString key : {"boundsBargraphNormal", "boundsBargraphMaximised", "boundsScreen"})
        ASSERT_TRUE(section->remove(key)) << key.toStdString();
    ASSERT_TRUE(doc.document.readFromData(PlistWriter::write(file), "old"));
    EXPECT_EQ(barGraphWindowState.pendingFrame, QRectF(0, 6, 1918, 1194));
    EXPECT_EQ(barGraphWindowState.maximiseNext, 0);

    // Stored on a screen 100 pixels lower than this one, a frame stays as far from the screen's top: its
    // distance from the bottom grows by 100. Without a screen, frames read as stored.
    const std::optional<QSizeF> screen = screenOfStoredFrames();
    section->insert(
        "boundsScreen",
        PlistValue::Array{QStringLiteral("800"), QString::number(screen ? screen->height() - 100 : 500)});
    ASSERT_TRUE(doc.document.readFromData(PlistWriter::write(file), "lower"));
    EXPECT_EQ(barGraphWindowState.pendingFrame, QRectF(0, screen ? 106 : 6, 1918, 1194));
    EXPECT_EQ(boundsRawwave, QRectF(11, screen ? 120 : 20, 640, 480));
}
