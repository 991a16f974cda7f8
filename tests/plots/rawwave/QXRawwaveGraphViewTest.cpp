#include <gtest/gtest.h>

#include "platform/quartz/gl/RecordingGraphicsContext.h"
#include "plots/frame/gl/PlotColourTables.h"
#include "plots/frame/gl/PlotDrawing.h"
#include "plots/rawwave/gl/QXRawwaveGraphView.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"

#include <vector>

using namespace nupo;
using Segment = RecordingGraphicsContext::Segment;

namespace {

const std::optional<RGBAColor> red = RGBAColor::fromRGBA(1, 0, 0, 1);

bool hasHorizontalLineAt(const RecordingGraphicsContext& ctx, double y, const RGBAColor& colour)
{
    for (const Segment& s : ctx.segments())
        if (s.from.y() == s.to.y() && std::abs(s.from.y() - y) < 1e-9 && s.colour == colour)
            return true;
    return false;
}

}  // namespace

TEST(QXRawwaveGraphView, OneTraceGeometryScaleAndColoursAlongTheTimeAxis)
{
    fftp = 256;
    for (int i = 0; i < 256; ++i)
        datarawA[i] = (i % 7) - 3;
    QXRawwaveGraphView view(QRectF(0, 0, 400, 200));
    RecordingGraphicsContext ctx;
    view.drawRawwave1(ctx, QRectF(0, 0, 400, 200), 1, 0.7f, 1.0f, 0.0f, 0.0f, red, 0);

    ASSERT_EQ(ctx.segments().size(), 256u);
    const double c = 100, scale = 2.0 / 1.0 * 200 / 200;  // rawwaveGain / (H + 0.3) x h / K
    for (int i : {0, 17, 255}) {
        const Segment& s = ctx.segments()[i];
        EXPECT_NEAR(s.from.x(), 2 + i * 398.0 / 256, 1e-4);
        EXPECT_NEAR(s.from.y(), c + datarawA[i] * scale, 1e-4);
        EXPECT_NEAR(s.to.y(), c + datarawA[i + 1] * scale, 1e-4);
        EXPECT_DOUBLE_EQ(s.lineWidth, 2.0);
        EXPECT_NEAR(s.colour.blue, std::min(difmatA[i][2], 1.0f), 1e-6);
        EXPECT_NEAR(s.colour.green, std::min(difmatA[i][1], 1.0f), 1e-6);
    }
    EXPECT_NEAR(ctx.segments().back().to.x(), 400, 1e-4);

    // Half the window: 128 segments over the same width, coloured up to entry 254.
    RecordingGraphicsContext half;
    view.drawRawwave1(half, QRectF(0, 0, 400, 200), 0, 0.7f, 0.5f, 0.0f, 0.0f, red, 0);
    ASSERT_EQ(half.segments().size(), 128u);
    EXPECT_NEAR(half.segments().back().to.x(), 400, 1e-4);
    EXPECT_NEAR(half.segments().back().colour.red, difmatA[254][0], 1e-6);

    // Slider 10 gives H = 0: a sample lies at h/2 + s x 2.0 / 0.3 x h / 200.
    view.setRawwaveH(10.0f);
    EXPECT_FLOAT_EQ(view.rawwaveH(), 0.0f);
    datarawA[0] = 3;
    RecordingGraphicsContext steep;
    view.drawRawwave1(steep, QRectF(0, 0, 400, 200), 0, view.rawwaveH(), 1.0f, 0.0f, 0.0f, red, 0);
    EXPECT_NEAR(steep.segments()[0].from.y(), 100 + 3 * 2.0 / 0.3, 1e-3);
}

TEST(QXRawwaveGraphView, BandsOfTheMultiTraceModes)
{
    fftp = 128;
    std::fill(std::begin(datarawA), std::end(datarawA), 0);
    std::fill(std::begin(datarawE), std::end(datarawE), 0);
    QXRawwaveGraphView view;
    const QRectF rect(0, 0, 300, 400);

    struct Case {
        int mode;
        std::vector<double> centres;
    };
    const Case cases[] = {{0, {300, 100}},
                          {1, {300, 100}},
                          {6, {350, 250, 150, 50}},
                          {7, {200}},
                          {8, {360, 280, 200, 120, 40}}};
    for (const Case& k : cases) {
        RecordingGraphicsContext ctx;
        ASSERT_TRUE(view.drawMode(k.mode, ctx, rect, 0, 0.7f, 1.0f, 0.0f, 0.0f, red, 0));
        ASSERT_EQ(ctx.segments().size(), 128u * k.centres.size()) << "mode " << k.mode;
        // Zero samples lie on each band's centre row, the top band drawn first.
        for (size_t t = 0; t < k.centres.size(); ++t)
            EXPECT_DOUBLE_EQ(ctx.segments()[t * 128].from.y(), k.centres[t]) << "mode " << k.mode;
    }
}

TEST(QXRawwaveGraphView, CursorLevelAndCentreLines)
{
    fftp = 128;
    std::fill(std::begin(datarawA), std::end(datarawA), 0);
    QXRawwaveGraphView view;
    const RGBAColor black = RGBAColor::fromRGBA(0, 0, 0, 1);

    // V 0: level lines at c and c - 2, the black centre line at c - 1; time cursor at F percent.
    RecordingGraphicsContext ctx;
    view.drawRawwave1(ctx, QRectF(0, 0, 400, 202), 0, 0.7f, 1.0f, 0.0f, 50.0f, red, 1);
    EXPECT_TRUE(hasHorizontalLineAt(ctx, 101, *red));
    EXPECT_TRUE(hasHorizontalLineAt(ctx, 99, *red));
    EXPECT_TRUE(hasHorizontalLineAt(ctx, 100, black));
    const Segment& cursor = ctx.segments()[128];
    EXPECT_DOUBLE_EQ(cursor.from.x(), 2 + 50 * 398 / 100.0);
    EXPECT_DOUBLE_EQ(cursor.from.y(), 2);
    EXPECT_DOUBLE_EQ(cursor.to.y(), 200);
    EXPECT_DOUBLE_EQ(cursor.lineWidth, 1.0);

    // V 100 in a one-trace mode on a view 202 high: level lines at 201 and -1.
    RecordingGraphicsContext full;
    view.drawRawwave1(full, QRectF(0, 0, 400, 202), 0, 0.7f, 1.0f, 100.0f, 0.0f, red, 1);
    EXPECT_TRUE(hasHorizontalLineAt(full, 201, *red));
    EXPECT_TRUE(hasHorizontalLineAt(full, -1, *red));

    // Cursor flag 0: the traces alone.
    RecordingGraphicsContext none;
    view.drawRawwave1LR(none, QRectF(0, 0, 400, 202), 0, 0.7f, 1.0f, 10.0f, 10.0f, red, 0);
    EXPECT_EQ(none.segments().size(), 256u);
}

TEST(QXRawwaveGraphView, LargestWindowNeverReadsPastItsEnd)
{
    fftp = 8192;
    for (int i = 0; i < 8192; ++i)
        datarawB[i] = i == 8191 ? 40 : 0;
    QXRawwaveGraphView view;
    // Segment by segment, the last one ends on entry 8191 at the right edge.
    plotColumnMerging = false;
    RecordingGraphicsContext ctx;
    view.drawRawwave2(ctx, QRectF(0, 0, 1000, 200), 0, 0.7f, 1.0f, 0.0f, 0.0f, red, 0);
    plotColumnMerging = true;
    ASSERT_EQ(ctx.segments().size(), 8192u);
    const Segment& last = ctx.segments().back();
    EXPECT_NEAR(last.to.x(), 1000, 1e-6);
    EXPECT_NEAR(last.to.y(), 100 + 40 * 2.0, 1e-6);  // ends on entry 8191
    // A column at a time (8192 segments on 998 columns): the last column's box reaches the same end.
    RecordingGraphicsContext columns;
    view.drawRawwave2(columns, QRectF(0, 0, 1000, 200), 0, 0.7f, 1.0f, 0.0f, 0.0f, red, 0);
    ASSERT_FALSE(columns.fills().empty());
    EXPECT_LT(columns.fills().size(), 1300u);  // one per column, and one more where the colour changes
    const QRectF lastBox = columns.fills().back().rect;
    EXPECT_NEAR(lastBox.right(), 1000, 0.5);
    EXPECT_NEAR(lastBox.top() + lastBox.height(), 100 + 40 * 2.0, 0.5);

    // A width above 1 or not a number stays inside the window as well.
    RecordingGraphicsContext wide;
    view.drawRawwave2(wide, QRectF(0, 0, 1000, 200), 0, 0.7f, 3.0f, 0.0f, 0.0f, red, 0);
    ASSERT_FALSE(wide.fills().empty());
    EXPECT_NEAR(wide.fills().back().rect.right(), 2 + 998 / 3.0, 0.5);  // the 8192 entries, a third across
    RecordingGraphicsContext nan;
    view.drawRawwave2(nan, QRectF(0, 0, 1000, 200), 0, 0.7f, std::nanf(""), 0.0f, 0.0f, red, 1);
    EXPECT_GT(nan.segments().size(), 0u);  // cursor lines only
}

TEST(QXRawwaveGraphView, GridSpacingColourAndSwitch)
{
    GridColorY[0] = GridColorY[1] = GridColorY[2] = GridColorY[3] = 1.0f;
    RecordingGraphicsContext ctx;
    drawRawWaveGrid(ctx, 0, 0, 400, 200, 20, 1);
    ASSERT_EQ(ctx.segments().size(), 40u);
    for (int i = 0; i < 20; ++i) {
        const Segment& v = ctx.segments()[2 * i];
        const Segment& h = ctx.segments()[2 * i + 1];
        EXPECT_DOUBLE_EQ(v.from.x(), 20.0 * i);
        EXPECT_DOUBLE_EQ(v.from.y(), 200);
        EXPECT_DOUBLE_EQ(v.to.y(), 0);
        EXPECT_DOUBLE_EQ(h.from.y(), 10.0 * i);
        EXPECT_EQ(h.colour, RGBAColor::fromRGBA(1, 1, 1, 1));
    }
    RecordingGraphicsContext off;
    drawRawWaveGrid(off, 0, 0, 400, 200, 20, 0);
    drawRawWaveGrid(off, 0, 0, 400, 200, 0, 1);
    EXPECT_TRUE(off.segments().empty());

    // Through the view: a grid setting of 0.5 draws no grid.
    QXRawwaveGraphView view(QRectF(0, 0, 400, 200));
    view.setgridSlider(0.5f);
    view.setDemoNumber(99);
    RecordingGraphicsContext noGrid;
    testing::internal::CaptureStdout();
    view.drawRect(noGrid, view.bounds());
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Invalid item"), std::string::npos);
    EXPECT_TRUE(noGrid.segments().empty());
    ASSERT_GE(noGrid.fills().size(), 1u);
    EXPECT_EQ(noGrid.fills()[0].colour, RGBAColor::fromRGBA(1, 1, 1, 1));
}

TEST(QXRawwaveGraphView, BackgroundComponentsBuildOneColourPerFourCalls)
{
    QXRawwaveGraphView& shared = QXRawwaveGraphView::sharedQXRawwaveGraphView();
    shared.initDisplay();
    EXPECT_FLOAT_EQ(shared.getBackgroundColor(0), 0.821112f);
    EXPECT_FLOAT_EQ(shared.getBackgroundColor(2), 0.787908f);
    ASSERT_TRUE(shared.background());
    EXPECT_EQ(*shared.background(), RGBAColor::fromRGBA(0.821112f, 0.875f, 0.787908f, 1.0f));
    // The colour reaches the next nib load of the window.
    EXPECT_EQ(needUpdateColorA, 1);
    EXPECT_EQ(bkColorA, *shared.background());

    // Components from documents outside 0..3 are ignored and not counted.
    QXRawwaveGraphView view;
    view.setBackgroundColorA(7, 0.5f);
    view.setBackgroundColorA(-1, 0.5f);
    EXPECT_FLOAT_EQ(view.getBackgroundColor(7), 0.0f);
    view.setBackgroundColorA(1, 0.1f);
    view.setBackgroundColorA(0, 0.2f);
    view.setBackgroundColorA(3, 0.3f);
    EXPECT_FALSE(view.background());
    view.setBackgroundColorA(2, 0.4f);
    ASSERT_TRUE(view.background());
    EXPECT_EQ(*view.background(), RGBAColor::fromRGBA(0.2f, 0.1f, 0.4f, 0.3f));
    view.setBackgroundColorA(2, 0.9f);  // a fifth call starts the next count
    EXPECT_FLOAT_EQ(view.background()->blue, 0.4f);
}

TEST(QXRawwaveGraphView, QueuedCommandsReachTheWindowController)
{
    QXRawwaveGraphView view(QRectF(0, 0, 200, 100));
    view.setDemoNumberB(5);
    EXPECT_EQ(setDemoNumberRawBCount, 3);  // nothing queued for the controller
    view.setDemoNumberB(12);
    EXPECT_EQ(setDemoNumberRawCB, 2);
    EXPECT_EQ(setDemoNumberRawBCount, 5);

    view.setDemoNumberA(4);
    EXPECT_EQ(view.viewMode(), 0);
    RecordingGraphicsContext ctx;
    view.drawRect(ctx, view.bounds());
    EXPECT_EQ(view.viewMode(), 4);
    EXPECT_EQ(setDemoNumberRawCA, 4);
    EXPECT_EQ(setDemoNumberRawACount, 5);
    EXPECT_EQ(setDemoNumberRawDidChanged, 0);
}

TEST(QXRawwaveGraphView, ColourSettersKeepTheirColoursAndTables)
{
    QXRawwaveGraphView view;
    const RGBAColor line = RGBAColor::fromRGBA(0.1f, 0.2f, 0.3f, 0.4f);
    view.setLineColor(line);
    EXPECT_FLOAT_EQ(difmatA[200][2], 0.3f);
    EXPECT_FLOAT_EQ(difambA[17][3], 0.4f);
    // The same colour again does not rebuild the tables.
    resetColor(1);
    view.setLineColor(line);
    EXPECT_FLOAT_EQ(difmatA[0][2], 0.0f);
    view.setColorStyleType(3);
    EXPECT_FLOAT_EQ(difmatA[255][0], 1.0f);
    EXPECT_EQ(view.colorStyle(), 3);

    view.setBackgroundColor(RGBAColor::fromRGBA(0.5f, 0.6f, 0.7f, 1.0f));
    EXPECT_FLOAT_EQ(view.getBackgroundColor(1), 0.6f);
    view.setRawwaveW(0.25f);
    EXPECT_FLOAT_EQ(view.rawwaveW(), 0.75f);
    view.releaseALL();
    EXPECT_FALSE(view.background());
}

#include "plots/rawwave/gl/QXRoundCustomView.h"

TEST(QXRoundCustomView, DrawsTheLeftRightTracesWithoutBackgroundInItsLayout)
{
    fftp = 128;
    WindowMode = 2;
    QXRoundCustomView view;
    EXPECT_EQ(view.layout(), 2);
    view.setFrameSize(QXRoundCustomView::sizeForMode(view.layout(), 1920));
    EXPECT_EQ(view.bounds().size(), QSizeF(640, 180));
    RecordingGraphicsContext ctx;
    view.drawRect(ctx, view.bounds());
    EXPECT_TRUE(ctx.fills().empty());
    // Two traces of 128 segments, then the time cursor, two level lines per band and two centre lines.
    ASSERT_EQ(ctx.segments().size(), 256u + 1 + 4 + 2);
    EXPECT_DOUBLE_EQ(ctx.segments()[0].lineWidth, 2.0);

    WindowMode = 7;  // unknown layouts fall back to the small round window
    EXPECT_EQ(QXRoundCustomView().layout(), 0);
    EXPECT_TRUE(QXRoundCustomView::isRound(1));
    EXPECT_EQ(QXRoundCustomView::sizeForMode(3, 1600).width(), 1600);
}
