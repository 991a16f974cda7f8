#include "QXSketch/gl/NUPO4Graphic.h"

#include "platform/appkit/NotificationCenter.h"
#include "platform/quartz/gl/GraphicsContext.h"
#include "plots/bargraph/gl/QX2DBarGraphView.h"
#include "plots/frame/gl/PlotWindowState.h"
#include "plots/rawwave/gl/QXRawwaveGraphView.h"
#include "plots/settings/DisplaySettings.h"
#include "plots/waterfall/gl/QX2DSpectrumGLView.h"
#include "shared/Utilities.h"
#include "views3d/QX3DSpectrumGLView.h"

namespace nupo {

namespace {

// Hands a remote selection to the shared view a placeholder stands for: `first` as its view mode
// (setDemoNumberA), otherwise as its second number (setDemoNumberB). Rectangles hand them to the 3D view.
void handToView(GraphicKind kind, int value, bool first)
{
    switch (kind) {
        case GraphicKind::Rectangle:
        case GraphicKind::SpectrumView3D: {
            QX3DSpectrumGLView& view = QX3DSpectrumGLView::sharedQX3DSpectrumGLView();
            first ? view.setDemoNumberA(value) : view.setDemoNumberB(value);
            break;
        }
        case GraphicKind::RawwaveView: {
            QXRawwaveGraphView& view = QXRawwaveGraphView::sharedQXRawwaveGraphView();
            first ? view.setDemoNumberA(value) : view.setDemoNumberB(value);
            break;
        }
        case GraphicKind::BarGraphView: {
            QX2DBarGraphView& view = QX2DBarGraphView::sharedQX2DBarGraphView();
            first ? view.setDemoNumberA(value) : view.setDemoNumberB(value);
            break;
        }
        case GraphicKind::WaterfallView: {
            QX2DSpectrumGLView& view = QX2DSpectrumGLView::sharedQX2DSpectrumGLView();
            first ? view.setDemoNumberA(value) : view.setDemoNumberB(value);
            break;
        }
    }
}

}  // namespace

void strokeOutline(GraphicsContext& context, const QRectF& r)
{
    context.beginPath();
    context.moveToPoint(r.left(), r.top());
    context.addLineToPoint(r.right(), r.top());
    context.addLineToPoint(r.right(), r.bottom());
    context.addLineToPoint(r.left(), r.bottom());
    context.addLineToPoint(r.left(), r.top());
    context.strokePath();
}

NUPO4Graphic::NUPO4Graphic(GraphicKind kind, const QRectF& bounds) : kind_(kind)
{
    setBounds(bounds);
}

std::unique_ptr<NUPO4Graphic> NUPO4Graphic::make(GraphicKind kind, const QRectF& bounds)
{
    if (kind == GraphicKind::Rectangle)
        return std::make_unique<NUPO4Rectangle>(bounds);
    return std::make_unique<NUPO4LiveView>(kind, bounds);
}

std::optional<GraphicKind> NUPO4Graphic::kindNamed(const QString& name)
{
    for (int k = 0; k < kindCount; ++k)
        if (nameOfKind(GraphicKind(k)) == name)
            return GraphicKind(k);
    return std::nullopt;
}

QString NUPO4Graphic::nameOfKind(GraphicKind kind)
{
    switch (kind) {
        case GraphicKind::Rectangle:
            return QStringLiteral("Rectangle");
        case GraphicKind::RawwaveView:
            return QStringLiteral("Rawwave View");
        case GraphicKind::BarGraphView:
            return QStringLiteral("Bargraph View");
        case GraphicKind::WaterfallView:
            return QStringLiteral("Waterfall View");
        case GraphicKind::SpectrumView3D:
            return QStringLiteral("3D View");
    }
    return {};
}

void NUPO4Graphic::setBounds(const QRectF& bounds)
{
    QRectF r = bounds.normalized();
    if (!(r.width() >= 1.0))
        r.setWidth(1.0);
    if (!(r.height() >= 1.0))
        r.setHeight(1.0);
    bounds_ = r;
}

void NUPO4Graphic::setXPosition(double x)
{
    setBounds(QRectF(x, bounds_.y(), bounds_.width(), bounds_.height()));
}

void NUPO4Graphic::setYPosition(double y)
{
    setBounds(QRectF(bounds_.x(), y, bounds_.width(), bounds_.height()));
}

void NUPO4Graphic::setWidth(double width)
{
    setBounds(QRectF(bounds_.x(), bounds_.y(), std::max(width, 1.0), bounds_.height()));
}

void NUPO4Graphic::setHeight(double height)
{
    setBounds(QRectF(bounds_.x(), bounds_.y(), bounds_.width(), std::max(height, 1.0)));
}

void NUPO4Graphic::setFillColor(const RGBAColor& colour)
{
    fillColor_ = colour.clamped();
    windowColor = fillColor_;
    if (windowColourTaken)
        windowColourTaken();
    NotificationCenter::defaultCenter().postNotificationName(WaterfallBSupdateNotification);
}

bool NUPO4Graphic::setBrainChannel(int channel)
{
    if (!brainChannelInRange(channel)) {
        reportOnce(QStringLiteral("Drawing: brain channel %1 out of range (1..10); ignored.").arg(channel));
        return false;
    }
    brainChannel_ = channel;
    handToView(kind_, channel, true);
    return true;
}

bool NUPO4Graphic::setView(int view)
{
    if (!viewInRange(view)) {
        reportOnce(QStringLiteral("Drawing: view %1 out of range (0..19); ignored.").arg(view));
        return false;
    }
    view_ = view;
    handToView(kind_, view, false);
    return true;
}

void NUPO4Graphic::restoreState(const RGBAColor& fill, int channel, int view)
{
    fillColor_ = fill.clamped();
    brainChannel_ = std::clamp(channel, 1, 10);
    view_ = std::clamp(view, 0, 19);
}

void NUPO4Graphic::draw(GraphicsContext& context) const
{
    context.setFillColor(fillColor_);
    context.fillRect(bounds_);
    context.setLineWidth(1.5);
    context.setRGBStrokeColor(0.1, 0.2, 0.6, 1.0);
    strokeOutline(context, bounds_);
}

void NUPO4LiveView::draw(GraphicsContext& context) const
{
    NUPO4Graphic::draw(context);
    // A placeholder is crossed, in a colour of its kind.
    static const RGBAColor kindColours[] = {
        RGBAColor::fromRGBA(0, 0, 0), RGBAColor::fromRGBA(0.1, 0.6, 0.1), RGBAColor::fromRGBA(0.8, 0.4, 0.0),
        RGBAColor::fromRGBA(0.5, 0.1, 0.7), RGBAColor::fromRGBA(0.0, 0.5, 0.7)};
    const QRectF r = bounds();
    context.setStrokeColor(kindColours[int(kind())]);
    context.setLineWidth(2.0);
    strokeOutline(context, r.adjusted(3, 3, -3, -3));
    context.beginPath();
    context.moveToPoint(r.left(), r.top());
    context.addLineToPoint(r.right(), r.bottom());
    context.moveToPoint(r.left(), r.bottom());
    context.addLineToPoint(r.right(), r.top());
    context.strokePath();
}

}  // namespace nupo
