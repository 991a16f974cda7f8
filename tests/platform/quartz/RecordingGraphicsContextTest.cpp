#include "platform/quartz/gl/RecordingGraphicsContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace nupo {
namespace {

using Call = RecordingGraphicsContext::Call;

TEST(RecordingGraphicsContext, EachStrokedSegmentKeepsTheColourAndWidthOfItsStroke)
{
    RecordingGraphicsContext context;
    context.setLineWidth(2.0);
    for (int i = 0; i < 3; ++i) {
        context.beginPath();
        context.moveToPoint(i, 0);
        context.addLineToPoint(i + 1, 10 * i);
        context.setRGBStrokeColor(0.1 * i, 0.2, 0.3, 1.0);
        context.strokePath();
    }
    ASSERT_EQ(context.segments().size(), 3u);
    EXPECT_EQ(context.strokeCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const auto& segment = context.segments()[i];
        EXPECT_EQ(segment.from, QPointF(i, 0));
        EXPECT_EQ(segment.to, QPointF(i + 1, 10 * i));
        EXPECT_FLOAT_EQ(segment.colour.red, 0.1f * i);
        EXPECT_DOUBLE_EQ(segment.lineWidth, 2.0);
        EXPECT_EQ(segment.stroke, i);
    }
    EXPECT_EQ(context.countOf(Call::StrokePath), 3);
    EXPECT_EQ(context.calls().front().call, Call::SetLineWidth);
}

TEST(RecordingGraphicsContext, PathFollowsMoveAndLineRules)
{
    RecordingGraphicsContext context;
    // A polyline of two lines, then a second subpath whose first move is replaced by a second move.
    context.beginPath();
    context.moveToPoint(0, 0);
    context.addLineToPoint(1, 1);
    context.addLineToPoint(2, 0);
    context.moveToPoint(5, 5);
    context.moveToPoint(6, 6);
    context.addLineToPoint(7, 7);
    context.strokePath();
    ASSERT_EQ(context.segments().size(), 3u);
    EXPECT_EQ(context.segments()[1].from, QPointF(1, 1));
    EXPECT_EQ(context.segments()[2].from, QPointF(6, 6));
    EXPECT_EQ(context.strokeCount(), 1);

    // Stroking consumes the path; a line without a current point and an empty path draw nothing.
    context.strokePath();
    context.addLineToPoint(3, 3);
    context.strokePath();
    context.beginPath();
    context.moveToPoint(0, 0);
    context.strokePath();
    EXPECT_EQ(context.segments().size(), 3u);
    EXPECT_EQ(context.strokeCount(), 1);

    // beginPath discards what was built.
    context.moveToPoint(0, 0);
    context.addLineToPoint(1, 0);
    context.beginPath();
    EXPECT_FALSE(context.hasPathLines());
}

TEST(RecordingGraphicsContext, ColoursAreClampedAndBadValuesAreRefused)
{
    RecordingGraphicsContext context;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    context.setRGBStrokeColor(1.7, -0.5, nan, 2.0);
    EXPECT_EQ(context.strokeColor(), RGBAColor::fromRGBA(1, 0, 0, 1));
    context.setGrayFillColor(0.5, 3.0);
    EXPECT_EQ(context.fillColor(), RGBAColor::fromRGBA(0.5, 0.5, 0.5, 1));
    // The call log keeps the values as given.
    EXPECT_DOUBLE_EQ(context.calls().front().values[0], 1.7);

    context.setLineWidth(3.0);
    context.setLineWidth(-1.0);
    context.setLineWidth(nan);
    EXPECT_DOUBLE_EQ(context.lineWidth(), 3.0);
    context.setLineWidth(0.0);
    EXPECT_DOUBLE_EQ(context.lineWidth(), 0.0);

    // An undrawable point breaks the line instead of reaching the renderer.
    context.beginPath();
    context.moveToPoint(0, 0);
    context.addLineToPoint(nan, 1);
    context.addLineToPoint(2, 2);
    context.moveToPoint(INFINITY, 0);
    context.addLineToPoint(3, 3);
    context.strokePath();
    EXPECT_TRUE(context.segments().empty());

    context.fillRect(QRectF(0, 0, nan, 4));
    context.fillRect(QRectF(10, 10, -4, -2));
    ASSERT_EQ(context.fills().size(), 1u);
    EXPECT_EQ(context.fills()[0].rect, QRectF(6, 8, 4, 2));
    EXPECT_EQ(context.fills()[0].colour, RGBAColor::fromRGBA(0.5, 0.5, 0.5, 1));
}

}  // namespace
}  // namespace nupo
