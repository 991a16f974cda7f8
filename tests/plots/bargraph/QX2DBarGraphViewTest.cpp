#include <gtest/gtest.h>

#include "analysis/QXFFT.h"
#include "platform/quartz/gl/RecordingGraphicsContext.h"
#include "plots/bargraph/gl/BarColourTables.h"
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/bargraph/gl/QX2DBarGraphView.h"
#include "plots/frame/gl/PlotColourTables.h"
#include "plots/frame/gl/PlotDrawing.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

using namespace nupo;
using Segment = RecordingGraphicsContext::Segment;

namespace {

// Writes magnitude `value` into bins 0..count-1 of a channel's spectrum buffer (CH 1..4 -> 0, 1, 3, 4).
void setSpectrum(int channel, int count, double value)
{
    static constexpr int buffers[4] = {0, 1, 3, 4};
    for (int i = 0; i < count; ++i)
        QXFFT::sharedQXFFT().putcomplexDoubleToBuffer(buffers[channel], i, {value, 0.0});
}

const std::optional<RGBAColor> blue = RGBAColor::fromRGBA(0, 0, 1, 1);

}  // namespace

TEST(QX2DBarGraphView, DefaultLayoutDrawsTwoBandsOfBinBars)
{
    fftp = 256;
    setSpectrum(0, 128, 2.0);
    setSpectrum(1, 128, 1.0);
    QX2DBarGraphView view;
    RecordingGraphicsContext ctx;
    const int W = 514, H = 400;
    view.draw2DBar1LR(ctx, QRectF(0, 0, W, H), 1, 0.7f, 1.0f, 0.0f, 0.0f, blue, 0);
    ASSERT_EQ(ctx.segments().size(), 256u);
    // Length barGain x mag x H / (200 x bands x (H + 0.3)), CH 1 from H/2, CH 2 from 2.
    const Segment& first = ctx.segments()[0];
    EXPECT_DOUBLE_EQ(first.from.x(), 2);
    EXPECT_DOUBLE_EQ(first.from.y(), 200);
    EXPECT_NEAR(first.to.y() - first.from.y(), 10 * 2.0 * H / 400.0, 1e-5);
    EXPECT_DOUBLE_EQ(first.lineWidth, (W - 2) / 128.0);
    const Segment& right = ctx.segments()[128 + 5];
    EXPECT_DOUBLE_EQ(right.from.y(), 2);
    EXPECT_NEAR(right.to.y() - 2, 10 * 1.0 * H / 400.0, 1e-5);
    EXPECT_DOUBLE_EQ(right.from.x(), 2 + 5 * (W - 2) / 128.0);
    EXPECT_NEAR(ctx.segments()[127].colour.red, std::min(difmatA2DBar[255][0], 1.0f), 1e-6);

    // A mirrored band hangs down from H/2 - 2; line style 0 draws 1.0 wide bars.
    RecordingGraphicsContext mirror;
    view.draw2DBarMirror1LR(mirror, QRectF(0, 0, W, H), 0, 0.7f, 1.0f, 0.0f, 0.0f, blue, 0);
    EXPECT_DOUBLE_EQ(mirror.segments()[130].from.y(), 198);
    EXPECT_LT(mirror.segments()[130].to.y(), 198);
    EXPECT_DOUBLE_EQ(mirror.segments()[130].lineWidth, 1.0);

    // One band: g = 0.5 and scale H / 100; four bands scale H / 800.
    RecordingGraphicsContext one;
    view.draw2DBar2(one, QRectF(0, 0, W, H), 1, 0.7f, 1.0f, 0.0f, 0.0f, blue, 0);
    EXPECT_NEAR(one.segments()[0].to.y() - 2, 10 * 0.5 * 1.0 * H / 100.0, 1e-5);
    EXPECT_DOUBLE_EQ(one.segments()[0].lineWidth, (W - 2) / 128.0 + 1);
}

TEST(QX2DBarGraphView, WidthSettingLimitsTheBarCount)
{
    fftp = 256;
    QX2DBarGraphView view;
    view.setDBarW(0.5f);
    EXPECT_FLOAT_EQ(view.dBarW(), 0.5f);
    RecordingGraphicsContext half;
    view.drawMode(4, half, QRectF(0, 0, 258, 100), 1, view.dBarH(), view.dBarW(), 0, 0, blue, 0);
    ASSERT_EQ(half.segments().size(), 64u);
    EXPECT_DOUBLE_EQ(half.segments()[1].from.x(), 2 + 256 / 64.0);

    // Out-of-range slider values: never more than fftp / 2 bars, and no bars (but the cursor) at 0.
    view.setDBarW(-5.0f);
    EXPECT_FLOAT_EQ(view.dBarW(), 1.0f);
    view.setDBarW(3.0f);
    EXPECT_FLOAT_EQ(view.dBarW(), 0.0f);
    RecordingGraphicsContext none;
    view.drawMode(8, none, QRectF(0, 0, 258, 100), 1, view.dBarH(), view.dBarW(), 50, 50, blue, 1);
    EXPECT_EQ(none.segments().size(), 5u);  // frequency line and four value lines
    // Four times as wide: the 128 bars fall on 64 pixel columns, drawn a column at a time (one box per
    // column, over the bars' whole extent); drawn bar by bar they are 128 strokes.
    setSpectrum(0, 128, 1.0);
    RecordingGraphicsContext wide;
    view.drawMode(4, wide, QRectF(0, 0, 258, 100), 1, view.dBarH(), 4.0f, 0, 0, blue, 0);
    EXPECT_TRUE(wide.segments().empty());
    ASSERT_EQ(wide.fills().size(), 64u);
    const double barWidth = 256 / 512.0 + 1;
    EXPECT_DOUBLE_EQ(wide.fills().front().rect.left(), 2 - barWidth / 2);
    EXPECT_DOUBLE_EQ(wide.fills().back().rect.right(), 2 + 127 * 0.5 + barWidth / 2);
    plotColumnMerging = false;
    RecordingGraphicsContext everyBar;
    view.drawMode(4, everyBar, QRectF(0, 0, 258, 100), 1, view.dBarH(), 4.0f, 0, 0, blue, 0);
    plotColumnMerging = true;
    EXPECT_EQ(everyBar.segments().size(), 128u);

    view.setDBarH(9.7f);
    EXPECT_NEAR(view.dBarH(), 0.3f, 1e-6);
}

TEST(QX2DBarGraphView, CursorBasesFollowTheBands)
{
    fftp = 256;
    QX2DBarGraphView view;
    const int W = 402, H = 402;
    RecordingGraphicsContext all;
    view.draw2DBarALL(all, QRectF(0, 0, W, H), 1, 0.7f, 0.0f, 50.0f, 25.0f, blue, 1);
    ASSERT_EQ(all.segments().size(), 5u);
    EXPECT_DOUBLE_EQ(all.segments()[0].from.x(), 2 + 400 * 25 / 100.0);
    const double offset = 400 / 4.0 * 50 / 100.0;
    EXPECT_DOUBLE_EQ(all.segments()[1].from.y(), 3 * H / 4 + 1 + offset);
    EXPECT_DOUBLE_EQ(all.segments()[4].from.y(), 1 + offset);

    RecordingGraphicsContext mirror;
    view.draw2DBar3MirrorALL(mirror, QRectF(0, 0, W, H), 1, 0.7f, 0.0f, 50.0f, 25.0f, blue, 1);
    EXPECT_DOUBLE_EQ(mirror.segments()[2].from.y(), 3 * H / 4 - 2 - offset);
}

TEST(QX2DBarGraphView, PeakHoldMarksFollowTheirMode)
{
    fftp = 256;
    ShowPeakHoldX = 1;
    QX2DBarGraphView view;
    const QRectF rect(0, 0, 258, 400);
    auto frame = [&](double magnitude) {
        setSpectrum(0, 128, magnitude);
        RecordingGraphicsContext ctx;
        view.draw2DBar1(ctx, rect, 1, 0.7f, 1.0f, 0.0f, 0.0f, blue, 0);
        return ctx.segments()[1];  // mark of bar 0
    };
    const double s = 400 / 100.0, g = 0.5;

    // Mode 1: the mark sits at the previous frame's bar top.
    PeakHoldModeX = 1;
    frame(1.0);
    Segment mark = frame(3.0);
    EXPECT_NEAR(mark.to.y(), 2 + s * 10 * g * 1.0, 1e-5);
    EXPECT_NEAR(mark.to.y() - mark.from.y(), s * 2.0, 1e-5);

    // Mode 5: the mark moves once every 5 frames, to their mean; a size setting lengthens it.
    PeakHoldModeX = 5;
    PeakHoldSizeX = 1;
    PeakHoldSize2DBarX = 4.0;
    for (double m : {1.0, 2.0, 3.0, 4.0})
        frame(m);
    const double before = frame(5.0).to.y();
    mark = frame(0.0);
    EXPECT_NEAR(before, 2 + s * 10 * g * 3.0, 1e-5);  // mean written after the fifth frame
    EXPECT_NEAR(mark.to.y(), 2 + s * 10 * g * 3.0, 1e-5);
    EXPECT_NEAR(mark.to.y() - mark.from.y(), s * 4.0, 1e-5);

    // Mode 0 shows the current value; with the peak colour switch marks take PeakHoldColorX.
    PeakHoldModeX = 0;
    UsePeakHoldColorX = 1;
    PeakHoldColorX[0] = 0.25f;
    PeakHoldColorX[3] = 1.0f;
    mark = frame(2.0);
    EXPECT_NEAR(mark.to.y(), 2 + s * 10 * g * 2.0, 1e-5);
    EXPECT_FLOAT_EQ(mark.colour.red, 0.25f);

    // Hidden peak hold: neither drawn nor updated.
    ShowPeakHoldX = 0;
    setSpectrum(0, 128, 1.0);
    RecordingGraphicsContext ctx;
    view.draw2DBar1(ctx, rect, 1, 0.7f, 1.0f, 0.0f, 0.0f, blue, 0);
    EXPECT_EQ(ctx.segments().size(), 128u);
    EXPECT_NEAR(peakHold[0][0], 10 * g * 2.0 / 1.0, 1e-5);
}

TEST(QX2DBarGraphView, MarkColoursWrapAroundTheBarTable)
{
    fftp = 512;  // 256 bars: bar i has colour index i
    ShowPeakHoldX = 1;
    PeakHoldModeX = 0;
    resetColor2DBar(1);
    QX2DBarGraphView view;
    RecordingGraphicsContext ctx;
    view.draw2DBar1(ctx, QRectF(0, 0, 514, 100), 1, 0.7f, 1.0f, 0.0f, 0.0f, blue, 0);
    auto markColour = [&](int bar) { return ctx.segments()[2 * bar + 1].colour; };
    auto entry = [](int e) {
        return RGBAColor::fromRGBA(difmatA2DBar[e][0], difmatA2DBar[e][1], difmatA2DBar[e][2], 1).clamped();
    };
    EXPECT_EQ(markColour(200), entry(0));
    EXPECT_EQ(markColour(199), entry(255));
    EXPECT_EQ(markColour(10), entry(66));
}

TEST(QX2DBarGraphView, RedrawAppliesQueuedModesAndPublishesPeaks)
{
    fftp = 256;
    peakFFTD[0] = 8.0f;
    peakFFTD[1] = 11.5f;
    displayGainX[2] = 2.0f;
    displayGainX[3] = 0.0f;  // a zero gain reads as 1.0
    peakFFTE[0] = 3.0f;
    QX2DBarGraphView view(QRectF(0, 0, 300, 200));
    view.setDemoNumberA(9);
    RecordingGraphicsContext ctx;
    view.drawRect(ctx, view.bounds());
    EXPECT_EQ(view.viewMode(), 9);
    EXPECT_EQ(setDemoNumberBarCA, 9);
    EXPECT_EQ(setDemoNumberBarACount, 3);
    EXPECT_FLOAT_EQ(peakFFTX[2], 4.0f);
    EXPECT_FLOAT_EQ(peakFFTY[2], 11.5f);
    EXPECT_FLOAT_EQ(peakFFTX[3], 3.0f);

    view.setDemoNumberB(12);
    EXPECT_EQ(view.secondNumber(), 12);
    EXPECT_EQ(setDemoNumberBarCB, 2);

    view.setDemoNumber(12);
    testing::internal::CaptureStdout();
    RecordingGraphicsContext invalid;
    view.drawRect(invalid, view.bounds());
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Invalid item"), std::string::npos);
    EXPECT_EQ(invalid.segments().size(), 40u);  // the grid only
}

TEST(QX2DBarGraphView, StartUpBackgroundAndDocumentComponents)
{
    QX2DBarGraphView& shared = QX2DBarGraphView::sharedQX2DBarGraphView();
    shared.initDisplay();
    EXPECT_FLOAT_EQ(shared.getBackgroundColor(2), 0.869565f);
    EXPECT_EQ(*shared.background(), RGBAColor::fromRGBA(0.867824f, 0.759038f, 0.869565f, 1.0f));
    EXPECT_EQ(needUpdateColorB, 1);
    EXPECT_FLOAT_EQ(shared.getBackgroundColor(4), 0.0f);
    EXPECT_EQ(ShowGrid2DBarX, 1);
}

TEST(QX2DBarGraphView, CanvasBrainGraphBarsFramesAndHistory)
{
    fftp = 256;
    SampleSpeed = 120;
    setSpectrum(0, 128, 0.05);
    resetBColor2DBar(2);
    resetColor(2);
    QX2DBarGraphView& view = QX2DBarGraphView::sharedQX2DBarGraphView();

    RecordingGraphicsContext first;
    view.draw2DBarX(first, QRectF(40, 0, 450, 300), 0, 0.7f, 0.5f, 1);
    // Four frames (4 edges, plus 5 centre lines on every other one), then 64 bars.
    ASSERT_EQ(first.segments().size(), 4u * 4 + 2 * 5 + 64);
    EXPECT_EQ(first.segments()[0].colour, RGBAColor::fromRGBA(1, 0, 0, 1));
    EXPECT_DOUBLE_EQ(first.segments()[0].lineWidth, 3.0);
    const Segment& centre = first.segments()[4];  // first centre line of the first frame, entry 80
    EXPECT_DOUBLE_EQ(centre.from.y(), 75 + 226 / 4.0);
    EXPECT_NEAR(centre.colour.green, difmatA[80][1], 1e-6);
    const Segment& bar = first.segments()[26];
    EXPECT_DOUBLE_EQ(bar.from.x(), 40);
    EXPECT_DOUBLE_EQ(bar.from.y(), 300);
    EXPECT_NEAR(bar.to.y(), 300 - 0.5 * 1.4 / 1.0 * 300 / 400, 1e-5);
    EXPECT_DOUBLE_EQ(bar.lineWidth, 4.0);

    // After two calls rows 0, 1 and 2 hold the value and row 3 is still empty.
    RecordingGraphicsContext second;
    view.draw2DBarX(second, QRectF(40, 0, 450, 300), 0, 0.7f, 0.5f, 1);
    EXPECT_DOUBLE_EQ(DataAZ[0][10], 0.5);
    EXPECT_DOUBLE_EQ(DataAZ[2][10], 0.5);
    EXPECT_DOUBLE_EQ(DataAZ[3][10], 0.0);

    // The history draws a stored 0.5 at level 5 (bars of the same colour position get brighter levels).
    RecordingGraphicsContext history;
    view.draw2DBarZ(history, QRectF(40, 0, 450, 540), 0, 0.7f, 0.5f, 1);
    ASSERT_EQ(history.segments().size(), 32u * 64);
    EXPECT_NEAR(history.segments()[0].colour.green, difmatFA2DBar[0][5][1], 1e-6);
    EXPECT_NEAR(history.segments()[3 * 64].colour.green, 0.0, 1e-5);  // row 3: level 0

    // Twice the sampling rate halves the bar count over the same frequencies.
    SampleSpeed = 240;
    RecordingGraphicsContext strip;
    view.draw2DBarY(strip, QRectF(40, 0, 450, 350), 0, 0.7f, 0.5f, 1);
    EXPECT_EQ(strip.segments().size(), 32u);

    // Source 0 draws nothing; source 11 draws the coherence frames and zero-length bars.
    RecordingGraphicsContext none;
    view.draw2DBarX(none, QRectF(40, 0, 450, 300), 0, 0.7f, 0.5f, 0);
    EXPECT_TRUE(none.segments().empty());
    RecordingGraphicsContext eleven;
    view.draw2DBarX(eleven, QRectF(40, 0, 450, 300), 0, 0.7f, 0.5f, 11);
    EXPECT_DOUBLE_EQ(eleven.segments()[0].from.y(), 188);
    const Segment& zero = eleven.segments()[26];
    EXPECT_DOUBLE_EQ(zero.from.y(), zero.to.y());
}

TEST(QX2DBarGraphView, HistoryLevelsAreClampedBothWays)
{
    fftp = 256;
    SampleSpeed = 120;
    resetBColor2DBar(2);
    QX2DBarGraphView view;
    DataBZ[0][0] = -7.0;  // below zero: level 0
    DataBZ[0][1] = 20.0;  // 1.0 or more: level 100
    DataBZ[0][2] = std::nan("");
    RecordingGraphicsContext ctx;
    view.draw2DBarZ(ctx, QRectF(40, 0, 450, 540), 1, 0.7f, 0.5f, 2);
    EXPECT_NEAR(ctx.segments()[0].colour.green, 0.0, 1e-5);
    EXPECT_NEAR(ctx.segments()[1].colour.green, std::min(1.0f, difmatFA2DBar[4][100][1]), 1e-6);
    EXPECT_NEAR(ctx.segments()[2].colour.green, 0.0, 1e-5);
}
