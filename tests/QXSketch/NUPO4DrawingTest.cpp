#include <gtest/gtest.h>

#include "QXSketch/gl/NUPO4Drawing.h"
#include "QXSketch/gl/SketchState.h"
#include "analysis/BrainSwitch.h"
#include "midi/band/BrainSwitchLink.h"
#include "platform/appkit/MainThread.h"
#include "platform/appkit/NotificationCenter.h"
#include "plots/bargraph/gl/QX2DBarGraphView.h"
#include "plots/frame/gl/PlotWindowState.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"
#include "support/TestSupport.h"
#include "views3d/spectrum/SpectrumViewSettings.h"

#include <thread>

using namespace nupo;

namespace {

// A drawing of rectangles interleaved with placeholders, so that rectangle numbers differ from indexes.
struct Drawing : ::testing::Test {
    NUPO4Drawing drawing;
    void SetUp() override
    {
        drawing.addGraphic(std::make_unique<NUPO4LiveView>(GraphicKind::RawwaveView, QRectF(0, 0, 50, 50)));
        for (int k = 1; k <= 9; ++k) {
            drawing.addGraphic(std::make_unique<NUPO4Rectangle>(QRectF(10 * k, 20, 5, 5)));
            if (k == 4)
                drawing.addGraphic(
                    std::make_unique<NUPO4LiveView>(GraphicKind::BarGraphView, QRectF(0, 0, 9, 9)));
        }
        drawing.undoStack().clear();
        drawing.makeFront();
    }
};

}  // namespace

TEST(NUPO4Graphic, BoundsSettersReplaceOneComponentEach)
{
    NUPO4Rectangle r(QRectF(10, 20, 30, 40));
    r.setXPosition(11);
    EXPECT_EQ(r.bounds(), QRectF(11, 20, 30, 40));
    r.setYPosition(-5);
    EXPECT_EQ(r.bounds(), QRectF(11, -5, 30, 40));
    r.setWidth(7);
    EXPECT_EQ(r.bounds(), QRectF(11, -5, 7, 40));
    r.setHeight(8);
    EXPECT_EQ(r.bounds(), QRectF(11, -5, 7, 8));
    // A rectangle never collapses below one point, and a reversed one is turned right way round.
    r.setWidth(0);
    EXPECT_DOUBLE_EQ(r.width(), 1.0);
    r.setBounds(QRectF(100, 100, -20, -10));
    EXPECT_EQ(r.bounds(), QRectF(80, 90, 20, 10));
}

TEST(NUPO4Graphic, FillColourBecomesTheWindowColourAndTellsTheBrainSwitchObservers)
{
    int updates = 0;
    ScopedObserver observer(WaterfallBSupdateNotification, nullptr, [&](const Notification&) { ++updates; });
    NUPO4Rectangle r(QRectF(0, 0, 10, 10));
    r.setFillColor(RGBAColor::fromRGBA(0.2, 1.5, 0.4, 1.0));
    EXPECT_EQ(r.fillColor(), RGBAColor::fromRGBA(0.2, 1.0, 0.4, 1.0));  // clamped
    EXPECT_EQ(windowColor, r.fillColor());
    EXPECT_EQ(updates, 1);
}

TEST(NUPO4Graphic, PlaceholdersHandSelectionsToTheirViewAndRefuseIndexesOutOfRange)
{
    NUPO4LiveView bar(GraphicKind::BarGraphView, QRectF(0, 0, 10, 10));
    setDemoNumberBarDidChanged = 0;
    ASSERT_TRUE(bar.setBrainChannel(3));
    EXPECT_EQ(setDemoNumberBarA, 3);
    EXPECT_EQ(setDemoNumberBarDidChanged, 1);
    ASSERT_TRUE(bar.setView(12));
    EXPECT_EQ(setDemoNumberBarB, 12);

    testing::internal::CaptureStdout();
    setDemoNumberBarA = 0;
    EXPECT_FALSE(bar.setBrainChannel(11));
    EXPECT_FALSE(bar.setBrainChannel(11));
    EXPECT_FALSE(bar.setBrainChannel(0));
    EXPECT_FALSE(bar.setView(20));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(bar.brainChannel(), 3);
    EXPECT_EQ(bar.view(), 12);
    EXPECT_EQ(setDemoNumberBarA, 0);
    // Logged once per fault.
    EXPECT_EQ(QString::fromStdString(out).count("brain channel 11"), 1) << out;
    EXPECT_EQ(QString::fromStdString(out).count("brain channel 0"), 1) << out;

    // Rectangles hand theirs to the 3D view.
    NUPO4Rectangle r(QRectF(0, 0, 10, 10));
    setDemoNumberDidChanged = 0;
    ASSERT_TRUE(r.setBrainChannel(7));
    EXPECT_EQ(nupo::setDemoNumberA, 7);
    EXPECT_EQ(setDemoNumberDidChanged, 1);
    ASSERT_TRUE(r.setView(2));
    EXPECT_EQ(setDemoNumber3B, 2);
}

TEST_F(Drawing, MoveRectangleCountsRectanglesOnlyAndChecksTheNumber)
{
    ASSERT_EQ(drawing.rectangleCount(), 9);
    EXPECT_TRUE(moveRectangle(5, 100, 110, 20, 30));
    EXPECT_EQ(drawing.rectangle(5)->bounds(), QRectF(100, 110, 20, 30));
    EXPECT_EQ(drawing.graphic(6), drawing.rectangle(5));  // after the placeholders at 0 and 5

    testing::internal::CaptureStdout();
    EXPECT_FALSE(moveRectangle(10, 1, 1, 1, 1));
    EXPECT_FALSE(moveRectangle(0, 1, 1, 1, 1));
    EXPECT_FALSE(moveRectangle(-3, 1, 1, 1, 1));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("no rectangle 10"), std::string::npos) << out;
    for (int k = 1; k <= 9; ++k) {
        if (k != 5) {
            EXPECT_EQ(drawing.rectangle(k)->bounds(), QRectF(10 * k, 20, 5, 5)) << k;
        }
    }
    EXPECT_EQ(drawing.undoStack().count(), 0);
}

TEST_F(Drawing, BrainChannelAndViewReachTheViewsAsEditsAndByRectangleNumber)
{
    // The user's edit of the bar-graph placeholder (index 5): undoable, handed to its view both ways.
    setDemoNumberBarA = 0;
    ASSERT_TRUE(drawing.setGraphicBrainChannel(5, 4));
    EXPECT_EQ(setDemoNumberBarA, 4);
    ASSERT_TRUE(drawing.setGraphicView(5, 13));
    EXPECT_EQ(setDemoNumberBarB, 13);
    EXPECT_EQ(drawing.undoStack().count(), 2);
    drawing.undoStack().undo();
    drawing.undoStack().undo();
    EXPECT_EQ(drawing.graphic(5)->brainChannel(), 1);
    EXPECT_EQ(drawing.graphic(5)->view(), 0);
    EXPECT_EQ(setDemoNumberBarA, 1);
    drawing.undoStack().redo();
    EXPECT_EQ(drawing.graphic(5)->brainChannel(), 4);

    // Out of range, or no graphic there: nothing changes and nothing is put on the undo stack.
    testing::internal::CaptureStdout();
    const int edits = drawing.undoStack().count();
    EXPECT_FALSE(drawing.setGraphicBrainChannel(5, 11));
    EXPECT_FALSE(drawing.setGraphicView(5, -1));
    EXPECT_FALSE(drawing.setGraphicView(99, 3));
    EXPECT_EQ(drawing.undoStack().count(), edits);
    EXPECT_EQ(drawing.graphic(5)->brainChannel(), 4);

    // By rectangle number on the front drawing (the remote setters): rectangle 5 is graphic 6.
    setDemoNumberDidChanged = 0;
    EXPECT_TRUE(setRectangleBrainChannel(5, 9));
    EXPECT_EQ(drawing.graphic(6)->brainChannel(), 9);
    EXPECT_EQ(nupo::setDemoNumberA, 9);
    EXPECT_EQ(setDemoNumberDidChanged, 1);
    EXPECT_TRUE(setRectangleView(5, 3));
    EXPECT_EQ(setDemoNumber3B, 3);
    EXPECT_FALSE(setRectangleView(10, 3));
    EXPECT_FALSE(setRectangleBrainChannel(1, 0));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("no rectangle 10"), std::string::npos) << out;
    EXPECT_EQ(drawing.rectangle(1)->brainChannel(), 1);
}

TEST_F(Drawing, BandEdgesMoveTheirRectangleNativelyOnlyWhileScriptsAreOn)
{
    initbrainSWX();
    installNativeRectangleMover();
    AppleScriptON = 0;
    ASSERT_TRUE(linkBandEdge(2, 1, true, 3.0f).has_value());
    EXPECT_EQ(drawing.rectangle(8)->bounds(), QRectF(80, 20, 5, 5));

    AppleScriptON = 1;
    testing::internal::CaptureStdout();
    // Band 1 is rectangle 8, band 8 rectangle 1.
    const auto move = linkBandEdge(2, 1, true, 3.0f);
    const auto moveLast = linkBandEdge(2, 8, false, 41.0f);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("no script engine"), std::string::npos) << out;
    ASSERT_TRUE(move && moveLast);
    EXPECT_EQ(move->rectangle, 8);
    const BrainSwitchWindow w = brainSwitchWindow(2, 1);
    const BSrectangleFrame f = BSrectangleFrameFor(w.lowValue, w.highValue, w.lowHz, w.highHz);
    EXPECT_EQ(drawing.rectangle(8)->bounds(), QRectF(f.x, f.y, f.width, f.height));
    EXPECT_EQ(f.x, 36);
    EXPECT_EQ(f.width, int(3.0 / 0.072463766 + 36) - 36);
    const BrainSwitchWindow w8 = brainSwitchWindow(2, 8);
    EXPECT_FLOAT_EQ(w8.lowHz, 41.0f);
    const BSrectangleFrame f8 = BSrectangleFrameFor(w8.lowValue, w8.highValue, w8.lowHz, w8.highHz);
    EXPECT_EQ(drawing.rectangle(1)->bounds(), QRectF(f8.x, f8.y, f8.width, f8.height));
    EXPECT_EQ(drawing.rectangle(2)->bounds(), QRectF(20, 20, 5, 5));

    // From another thread the move runs on the main thread.
    std::thread([] { setBSrectangle(3, 1.0f, 2.0f, 10.0f, 20.0f); }).join();
    EXPECT_EQ(drawing.rectangle(3)->bounds(), QRectF(30, 20, 5, 5));
    ASSERT_TRUE(
        test::processEventsUntil([&] { return drawing.rectangle(3)->bounds() != QRectF(30, 20, 5, 5); }));
    const BSrectangleFrame f3 = BSrectangleFrameFor(1.0f, 2.0f, 10.0f, 20.0f);
    EXPECT_EQ(drawing.rectangle(3)->bounds(), QRectF(f3.x, f3.y, f3.width, f3.height));
    AppleScriptON = 0;
    setBSrectangleMover(nullptr);
}

TEST_F(Drawing, AlwaysUpdatedRectanglesFollowTheSourcesBrainSwitches)
{
    initbrainSWX();
    drawing.followBrainSwitches(4);
    for (int k = 1; k <= 8; ++k) {
        const BrainSwitchWindow w = brainSwitchWindow(4, 9 - k);
        const BSrectangleFrame f = BSrectangleFrameFor(w.lowValue, w.highValue, w.lowHz, w.highHz);
        EXPECT_EQ(drawing.rectangle(k)->bounds(), QRectF(f.x, f.y, f.width, f.height)) << k;
    }
    EXPECT_EQ(drawing.rectangle(9)->bounds(), QRectF(90, 20, 5, 5));
    const QRectF before = drawing.rectangle(1)->bounds();
    drawing.followBrainSwitches(10);
    EXPECT_EQ(drawing.rectangle(1)->bounds(), before);
}

TEST_F(Drawing, EditsUndoAndRedo)
{
    int changes = 0;
    drawing.changed = [&] { ++changes; };
    const int r5 = drawing.indexOf(drawing.rectangle(5));
    ASSERT_TRUE(drawing.setGraphicBounds(r5, QRectF(1, 2, 3, 4)));
    ASSERT_TRUE(drawing.setGraphicFill(r5, RGBAColor::fromRGBA(1, 0, 0, 1)));
    ASSERT_TRUE(drawing.removeGraphic(0));
    drawing.addGraphic(std::make_unique<NUPO4Rectangle>(QRectF(500, 500, 10, 10)));
    EXPECT_EQ(drawing.count(), 11);
    EXPECT_EQ(drawing.rectangleCount(), 10);
    EXPECT_FALSE(drawing.setGraphicBounds(99, QRectF()));
    EXPECT_FALSE(drawing.removeGraphic(-1));
    EXPECT_EQ(drawing.undoStack().count(), 4);

    QUndoStack& stack = drawing.undoStack();
    stack.undo();  // the added rectangle goes
    EXPECT_EQ(drawing.rectangleCount(), 9);
    stack.undo();  // the placeholder comes back first in the drawing
    EXPECT_EQ(drawing.graphic(0)->kind(), GraphicKind::RawwaveView);
    stack.undo();
    EXPECT_EQ(drawing.rectangle(5)->fillColor(), NUPO4Rectangle(QRectF()).fillColor());
    stack.undo();
    EXPECT_EQ(drawing.rectangle(5)->bounds(), QRectF(50, 20, 5, 5));
    EXPECT_FALSE(stack.canUndo());

    while (stack.canRedo())
        stack.redo();
    EXPECT_EQ(drawing.count(), 11);
    EXPECT_EQ(drawing.graphic(0)->kind(), GraphicKind::Rectangle);
    EXPECT_EQ(drawing.rectangle(5)->bounds(), QRectF(1, 2, 3, 4));
    EXPECT_EQ(drawing.rectangle(5)->fillColor(), RGBAColor::fromRGBA(1, 0, 0, 1));
    EXPECT_EQ(drawing.rectangle(10)->bounds(), QRectF(500, 500, 10, 10));
    EXPECT_GE(changes, 12);
    drawing.changed = nullptr;
}

TEST(SketchState, SourceSelectionsPostTheirNamesOnTheCallingThread)
{
    const QStringList names{"didchangeSelectCH1DovozOzuz",         "didchangeSelectCH2DovozOzuz",
                            "didchangeSelectCH3DovozOzuz",         "didchangeSelectCH4DovozOzuz",
                            "didchangeSelectCoherenceDovozOzuz",   "didchangeSelectCoherence34DovozOzuz",
                            "didchangeSelectCoherence13DovozOzuz", "didchangeSelectCoherence24DovozOzuz",
                            "didchangeSelectCoherence14DovozOzuz", "didchangeSelectCoherence23DovozOzuz"};
    QStringList posted;
    bool onMain = true;
    ScopedObserver observer(QString(), nullptr, [&](const Notification& n) {
        if (n.name.startsWith("didchange")) {
            posted << n.name;
            onMain = onMain && isMainThread();
        }
    });
    for (int s = 0; s < 10; ++s)
        EXPECT_TRUE(postSourceSelection(s));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(postSourceSelection(10));
    EXPECT_FALSE(postSourceSelection(-1));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(posted, names);
    EXPECT_TRUE(onMain);
}

TEST(SketchState, MixerLevelsAreTheStrongestHitOfEachWindow)
{
    peakSWfftCount[2][3][0].level.store(6.5f);
    peakSWfftCount[2][3][1].level.store(9.0f);
    peakSWcoherenceCount[7][8][0].level.store(4.0f);
    EXPECT_FLOAT_EQ(brainSwitchLevel(2, 3), 6.5f);
    EXPECT_FLOAT_EQ(brainSwitchLevel(7, 8), 4.0f);
    EXPECT_FLOAT_EQ(brainSwitchLevel(7, 9), 0.0f);
    EXPECT_FLOAT_EQ(brainSwitchLevel(10, 3), 0.0f);
}

TEST(NUPO4Drawing, TheFrontDrawingGoneTheOneInFrontBeforeItIsTheFrontAgain)
{
    auto first = std::make_unique<NUPO4Drawing>();
    auto second = std::make_unique<NUPO4Drawing>();
    auto third = std::make_unique<NUPO4Drawing>();
    first->makeFront();
    second->makeFront();
    third->makeFront();
    second->makeFront();
    EXPECT_EQ(NUPO4Drawing::frontDrawing(), second.get());
    // A drawing whose window closes leaves the front first, then goes.
    second->leaveFront();
    EXPECT_EQ(NUPO4Drawing::frontDrawing(), third.get());
    second.reset();
    EXPECT_EQ(NUPO4Drawing::frontDrawing(), third.get());
    // One that goes without leaving first, behind the front or in front.
    first.reset();
    EXPECT_EQ(NUPO4Drawing::frontDrawing(), third.get());
    third.reset();
    EXPECT_EQ(NUPO4Drawing::frontDrawing(), nullptr);
}
