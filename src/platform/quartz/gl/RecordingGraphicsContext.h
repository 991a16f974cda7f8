#pragma once

#include "platform/quartz/gl/GraphicsContext.h"

#include <vector>

namespace nupo {

// A GraphicsContext that draws nothing and remembers everything: every call in order, every stroked
// line segment with the colour and width it was stroked in, and every filled rectangle. Views are
// tested by drawing into one and inspecting what it holds.
class RecordingGraphicsContext : public GraphicsContext {
public:
    enum class Call {
        SetLineWidth,
        SetStrokeColor,
        SetFillColor,
        BeginPath,
        MoveToPoint,
        AddLineToPoint,
        StrokePath,
        FillRect
    };

    // One call with its arguments as given (colours before clamping): a point is (x, y), a width
    // (width), a colour (red, green, blue, alpha), a rectangle (x, y, width, height).
    struct RecordedCall {
        Call call;
        double values[4];
    };

    struct Segment {
        QPointF from;
        QPointF to;
        RGBAColor colour;  // clamped, as drawn
        double lineWidth;
        int stroke;  // index of the strokePath call that drew it, counting from 0
    };

    struct Fill {
        QRectF rect;
        RGBAColor colour;  // clamped, as drawn
    };

    void setLineWidth(double width) override;
    void setRGBStrokeColor(double red, double green, double blue, double alpha) override;
    void setRGBFillColor(double red, double green, double blue, double alpha) override;
    void beginPath() override;
    void moveToPoint(double x, double y) override;
    void addLineToPoint(double x, double y) override;
    void strokePath() override;
    void fillRect(const QRectF& rect) override;

    const std::vector<RecordedCall>& calls() const { return calls_; }
    const std::vector<Segment>& segments() const { return segments_; }
    const std::vector<Fill>& fills() const { return fills_; }
    // Number of strokePath calls that drew at least one segment.
    int strokeCount() const { return strokes_; }
    int countOf(Call call) const;
    // Forgets everything recorded; the graphics state (colours, width) is kept.
    void clear();

protected:
    void strokeLines(std::span<const Polyline> subpaths) override;
    void fillRectangle(const QRectF& rect) override;

private:
    void record(Call call, double a = 0, double b = 0, double c = 0, double d = 0);

    std::vector<RecordedCall> calls_;
    std::vector<Segment> segments_;
    std::vector<Fill> fills_;
    int strokes_ = 0;
};

}  // namespace nupo
