// The drawing's section: graphics come back as saved, without touching the window colour, the views or
// the notifications, with a clean undo stack; a document without an open drawing waits for the window
// set-up; damaged drawing sections are refused or clamped and change nothing.
#include <gtest/gtest.h>

#include "QXSketch/gl/DrawingSection.h"
#include "QXSketch/gl/NUPO4Drawing.h"
#include "QXSketch/gl/SketchState.h"
#include "document/GeneratedDamage.h"
#include "document/NUPO4DrawDocument.h"
#include "document/gl/PlotWindowsSection.h"
#include "document/gl/ViewDocumentSections.h"
#include "platform/appkit/NotificationCenter.h"
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/bargraph/gl/QX2DBarGraphView.h"
#include "plots/frame/gl/PlotWindowState.h"
#include "plots/rawwave/gl/QXRawwaveGraphView.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/CoreState.h"
#include "views3d/QX3DSpectrumGLView.h"

using namespace nupo;

namespace {

struct DrawingDocument {
    NUPO4DrawDocument document;
    DrawingDocument()
    {
        addViewDocumentSections(document);
        document.addSection(std::make_unique<DrawingSection>());
    }
    DrawingSection& section() { return *dynamic_cast<DrawingSection*>(document.section("Drawing")); }
    QString read(const QByteArray& text)
    {
        QString error;
        EXPECT_TRUE(document.readFromData(text, "drawing.nupo4", &error)) << error.toStdString();
        return error;
    }
    QString refusal(const QByteArray& text)
    {
        QString error;
        EXPECT_FALSE(document.readFromData(text, "bad.nupo4", &error));
        return error;
    }
};

// One graphic of each kind, each with its own bounds, colour, channel and view; the third selected.
void fill(NUPO4Drawing& drawing)
{
    for (int k = 0; k < NUPO4Graphic::kindCount; ++k) {
        drawing.addGraphic(
            NUPO4Graphic::make(GraphicKind(k), QRectF(10.5 + 30 * k, 20 + k, 100 + k, 60.25 - k)));
        drawing.setGraphicFill(k, RGBAColor::fromRGBA(0.1 * k, 0.5, 1.0 - 0.2 * k, 0.25 + 0.1 * k));
        drawing.graphic(k)->setBrainChannel(k + 2);
        drawing.graphic(k)->setView(3 * k + 1);
    }
    drawing.select(2);
}

struct GraphicSummary {
    GraphicKind kind;
    QRectF bounds;
    RGBAColor fill;
    int channel, view;
    bool operator==(const GraphicSummary&) const = default;
};

std::vector<GraphicSummary> summary(const NUPO4Drawing& drawing)
{
    std::vector<GraphicSummary> out;
    for (int i = 0; i < drawing.count(); ++i) {
        const NUPO4Graphic& g = *drawing.graphic(i);
        out.push_back({g.kind(), g.bounds(), g.fillColor(), g.brainChannel(), g.view()});
    }
    return out;
}

QByteArray withDrawing(QByteArray text, const QByteArray& section)
{
    const qsizetype at = text.indexOf("Drawing = ");
    EXPECT_GE(at, 0);
    const qsizetype end = text.indexOf("\n    };", at);
    return text.replace(at, end + 7 - at, "Drawing = " + section + ";");
}

}  // namespace

TEST(DrawingSection, GraphicsComeBackWithoutSideEffectsAndACleanUndoStack)
{
    DrawingDocument doc;
    NUPO4Drawing drawing;
    drawing.makeFront();
    fill(drawing);
    const std::vector<GraphicSummary> saved = summary(drawing);
    const QByteArray text = doc.document.dataRepresentation();
    EXPECT_TRUE(text.contains("Kind = \"Rawwave View\";")) << text.toStdString();

    // The user goes on: a graphic deleted, one moved, the colour changed; the stack holds the edits.
    drawing.removeGraphic(0);
    drawing.setGraphicBounds(0, QRectF(1, 2, 3, 4));
    drawing.setGraphicFill(1, RGBAColor::fromRGBA(0, 0, 0, 1));
    drawing.select(-1);
    ASSERT_GT(drawing.undoStack().count(), 10);

    // Reading touches neither the shared window colour, nor the views' selections, nor the observers.
    const RGBAColor colourBefore = RGBAColor::fromRGBA(0.3, 0.6, 0.9, 1);
    windowColor = colourBefore;
    setDemoNumberRawA = 0;
    setDemoNumberBarA = 0;
    setDemoNumberDidChanged = 0;
    int updates = 0;
    int flagDuringRestore = -1;
    const ObserverToken token = NotificationCenter::defaultCenter().addObserver(
        WaterfallBSupdateNotification, nullptr, [&](const Notification&) { ++updates; });
    drawing.changed = [&] { flagDuringRestore = startToOpenData.load(); };
    doc.read(text);
    NotificationCenter::defaultCenter().removeObserver(token);
    drawing.changed = nullptr;

    EXPECT_EQ(summary(drawing), saved);
    EXPECT_EQ(drawing.selectedIndex(), 2);
    EXPECT_EQ(drawing.undoStack().count(), 0);
    EXPECT_TRUE(drawing.undoStack().isClean());
    EXPECT_EQ(windowColor, colourBefore);
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(setDemoNumberRawA, 0);
    EXPECT_EQ(setDemoNumberBarA, 0);
    EXPECT_EQ(setDemoNumberDidChanged, 0);
    EXPECT_EQ(flagDuringRestore, 1);  // restored under the reader's flag, like the other sections
    EXPECT_EQ(doc.document.dataRepresentation(), text);

    // An undo after the load has nothing to take back.
    drawing.undoStack().undo();
    EXPECT_EQ(summary(drawing), saved);

    // A document saved without a drawing shows none: the open drawing is emptied.
    NUPO4Drawing* none = nullptr;
    drawing.leaveFront();
    ASSERT_EQ(NUPO4Drawing::frontDrawing(), none);
    const QByteArray empty = doc.document.dataRepresentation();
    EXPECT_TRUE(empty.contains("OpenDrawing = 0;"));
    drawing.makeFront();
    doc.read(empty);
    EXPECT_EQ(drawing.count(), 0);
    EXPECT_EQ(drawing.selectedIndex(), -1);
}

TEST(DrawingSection, WithoutAnOpenDrawingTheGraphicsWaitForTheWindowSetUp)
{
    DrawingDocument doc;
    QByteArray text;
    std::vector<GraphicSummary> saved;
    {
        NUPO4Drawing drawing;
        drawing.makeFront();
        fill(drawing);
        saved = summary(drawing);
        text = doc.document.dataRepresentation();
    }
    ASSERT_EQ(NUPO4Drawing::frontDrawing(), nullptr);

    // The window set-up runs after the reader's flag is down and finds the drawing to open.
    bool toOpenInSetUp = false;
    int flagInSetUp = -1;
    doc.document.windowSetup = [&] {
        toOpenInSetUp = doc.section().drawingToOpen();
        flagInSetUp = startToOpenData.load();
    };
    doc.read(text);
    EXPECT_TRUE(toOpenInSetUp);
    EXPECT_EQ(flagInSetUp, 0);

    // The window's new drawing takes them over, once.
    NUPO4Drawing opened;
    opened.makeFront();
    EXPECT_FALSE(doc.section().drawingToOpen());
    ASSERT_TRUE(doc.section().restorePending());
    EXPECT_EQ(summary(opened), saved);
    EXPECT_EQ(opened.selectedIndex(), 2);
    EXPECT_EQ(opened.undoStack().count(), 0);
    EXPECT_FALSE(doc.section().restorePending());

    // A preference file carries no drawing.
    EXPECT_FALSE(doc.document.dataRepresentation(true).contains("Drawing"));
}

TEST(DrawingSection, AnOpenMixerWindowIsOpenedAgainOnceByTheWindowSetUp)
{
    DrawingDocument doc;
    mixerWindowOpen = true;
    const QByteArray open = doc.document.dataRepresentation();
    EXPECT_TRUE(open.contains("OpenMixer = 1;"));
    mixerWindowOpen = false;
    const QByteArray closed = doc.document.dataRepresentation();
    EXPECT_TRUE(closed.contains("OpenMixer = 0;"));

    doc.read(open);
    EXPECT_TRUE(doc.section().takeMixerToOpen());
    EXPECT_FALSE(doc.section().takeMixerToOpen());
    // One open already is the one; a document without the key, or with 0, opens none.
    doc.read(open);
    mixerWindowOpen = true;
    EXPECT_FALSE(doc.section().takeMixerToOpen());
    mixerWindowOpen = false;
    QByteArray older = open;
    older.replace("OpenMixer = 1;", "");
    for (const QByteArray& text : {closed, older}) {
        doc.read(text);
        EXPECT_FALSE(doc.section().takeMixerToOpen());
    }
}

TEST(DrawingSection, DamagedDrawingSectionsAreRefusedOrClampedAndChangeNothing)
{
    DrawingDocument doc;
    NUPO4Drawing drawing;
    drawing.makeFront();
    fill(drawing);
    const QByteArray valid = doc.document.dataRepresentation();
    const std::vector<GraphicSummary> open = summary(drawing);

    const auto refused = [&](const QByteArray& section) {
        const QString error = doc.refusal(withDrawing(valid, section));
        EXPECT_EQ(summary(drawing), open) << error.toStdString();
        return error;
    };
    EXPECT_EQ(
        refused("{ OpenDrawing = 1; Graphics = ( { Kind = Ellipse; Bounds = (0, 0, 5, 5); } ); }"),
        "Cannot open bad.nupo4: section Drawing, Graphics[0], Kind: \"Ellipse\" is not a kind of graphic");
    EXPECT_EQ(refused("{ Graphics = ( { Kind = Rectangle; Bounds = (0, 0, 5, 5); }, { Kind = Rectangle; "
                      "Bounds = (1, 2, 3); } ); }"),
              "Cannot open bad.nupo4: section Drawing, Graphics[1], Bounds: bounds are four numbers: x, y, "
              "width and height");
    EXPECT_TRUE(refused("{ Graphics = ( Rectangle ); }").contains("section Drawing, Graphics[0]: a string"));
    EXPECT_TRUE(
        refused("{ Graphics = { Kind = Rectangle; }; }").contains("section Drawing, Graphics: a dictionary"));
    EXPECT_TRUE(
        refused("{ Graphics = ( { Kind = Rectangle; Bounds = (0, 0, 5, 5); FillColor = (0.5, nan, 0, 1); "
                "} ); }")
            .contains("Graphics[0], FillColor[1]"));
    EXPECT_TRUE(refused("{ Graphics = ( { Bounds = (0, 0, 5, 5); } ); }").contains("Graphics[0], Kind"));
    QByteArray many = "{ Graphics = (";
    for (int k = 0; k <= DrawingSection::maxGraphics; ++k)
        many += "{ Kind = Rectangle; Bounds = (0, 0, 5, 5); },";
    many.chop(1);
    const QString tooMany = refused(many + "); }");
    EXPECT_TRUE(tooMany.contains("Graphics: 1001 entries, more than the 1000")) << tooMany.toStdString();
    // A kind's name is bounded before it is looked at.
    const QString longKind = refused("{ Graphics = ( { Kind = \"" + QByteArray(5000, 'R') + "\"; } ); }");
    EXPECT_LT(longKind.size(), 200);

    // Values out of range are clamped, a selection past the graphics is none, missing values take the
    // defaults of a new graphic.
    doc.read(withDrawing(valid,
                         "{ OpenDrawing = 1; Selected = 7; Graphics = ( { Kind = \"3D View\"; "
                         "Bounds = (-1e9, 5, 1e9, -20); FillColor = (2, -1, 0.5, 9); BrainChannel = 99; "
                         "View = -4; }, { Kind = Rectangle; Bounds = (1, 2, 0, 0); } ); }"));
    ASSERT_EQ(drawing.count(), 2);
    const NUPO4Graphic& g = *drawing.graphic(0);
    EXPECT_EQ(g.kind(), GraphicKind::SpectrumView3D);
    EXPECT_EQ(g.bounds(), QRectF(-100000, -15, 100000, 20));
    EXPECT_EQ(g.fillColor(), RGBAColor::fromRGBA(1, 0, 0.5, 1));
    EXPECT_EQ(g.brainChannel(), 10);
    EXPECT_EQ(g.view(), 0);
    EXPECT_EQ(drawing.selectedIndex(), -1);
    EXPECT_EQ(drawing.graphic(1)->bounds(), QRectF(1, 2, 1, 1));
    EXPECT_EQ(drawing.graphic(1)->fillColor(), NUPO4Rectangle(QRectF()).fillColor());

    // And thousands of generated ones.
    doc.read(valid);
    int cases = 0;
    const int refusedCount = test::readGeneratedDamage(doc.document, valid, 2221, &cases);
    EXPECT_GT(cases, 3100);
    EXPECT_GT(refusedCount, cases / 2);
}

TEST(DrawingSection, ADocumentWithoutDrawingOrPlotWindowsKeepsNoneOfTheDocumentBefore)
{
    DrawingDocument doc;
    NUPO4Drawing drawing;
    drawing.makeFront();
    fill(drawing);
    boundsBargraph = QRectF(700, 30, 500, 300);
    showQX2DBarGarphFront = 1;
    selectCHX = 5;
    auto& windows = *dynamic_cast<PlotWindowsSection*>(doc.document.section("PlotWindows"));
    const QByteArray bare = "{ Format = \"NUPO4 brain-note document\"; Version = 1; }";

    // The preference file never holds a drawing or windows to open: what is open stays.
    QString error;
    ASSERT_TRUE(doc.document.loadDataRepresentation("{ Format = \"NUPO4 preferences\"; Version = 1; }",
                                                    "prefs", true, &error))
        << error.toStdString();
    EXPECT_EQ(drawing.count(), NUPO4Graphic::kindCount);
    EXPECT_EQ(boundsBargraph, QRectF(700, 30, 500, 300));
    EXPECT_EQ(selectCHX, 5);

    // A refused document changes nothing, though it lacks those sections too.
    doc.refusal("{ Format = \"NUPO4 brain-note document\"; Version = 1; DisplayColor = { Rawwave = 1; }; }");
    EXPECT_EQ(drawing.count(), NUPO4Graphic::kindCount);
    EXPECT_EQ(boundsBargraph, QRectF(700, 30, 500, 300));

    doc.read(bare);
    EXPECT_EQ(drawing.count(), 0);
    EXPECT_EQ(drawing.selectedIndex(), -1);
    EXPECT_FALSE(doc.section().drawingToOpen());
    for (auto family :
         {PlotWindowsSection::Rawwave, PlotWindowsSection::Bargraph, PlotWindowsSection::Waterfall})
        EXPECT_EQ(windows.windowsToOpen(family), 0);
    EXPECT_TRUE(boundsBargraph.isEmpty());
    EXPECT_EQ(setWframeCotrol2DBar, 0);
    EXPECT_EQ(showQX2DBarGarphFront, 0);
    EXPECT_EQ(selectCHX, 0);
}
