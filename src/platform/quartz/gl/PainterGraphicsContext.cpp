#include "platform/quartz/gl/PainterGraphicsContext.h"

#include "platform/quartz/gl/LayerCache.h"

#include <QColor>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace nupo {

namespace {
QColor toQColor(const RGBAColor& colour)
{
    return QColor::fromRgbF(colour.red, colour.green, colour.blue, colour.alpha);
}

// True when every pixel of a premultiplied ARGB image is fully opaque.
bool isOpaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (!std::all_of(row, row + image.width(), [](QRgb pixel) { return qAlpha(pixel) == 255; }))
            return false;
    }
    return true;
}
}  // namespace

PainterGraphicsContext::PainterGraphicsContext(QPainter& painter, double height, Drawing drawing)
    : painter_(painter), height_(height), drawing_(drawing)
{
    painter_.save();
    base_ = painter_.transform();
    painter_.translate(0.0, height);
    painter_.scale(1.0, -1.0);
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setBrush(Qt::NoBrush);
    pen_.setCapStyle(Qt::FlatCap);
    pen_.setJoinStyle(Qt::MiterJoin);
    pen_.setWidthF(lineWidth());
    pen_.setColor(toQColor(strokeColor()));
    painter_.setPen(pen_);
    if (drawing_ == Drawing::Batched)
        rasterizer_ = ImageRasterizer::of(painter_);
}

PainterGraphicsContext::~PainterGraphicsContext()
{
    flush();
    finishDirect();
    leavePixelMode();
    painter_.restore();
}

void PainterGraphicsContext::applyPendingPen()
{
    pen_.setWidthF(pendingWidth_);
    pen_.setColor(toQColor(pendingColour_));
    if (painter_.pen() != pen_)
        painter_.setPen(pen_);
}

void PainterGraphicsContext::flush()
{
    if (pending_ == Pending::Nothing)
        return;
    leavePixelMode();
    // Lines of one call are still drawn one after another, each blended on its own.
    if (!pendingLines_.empty() && !drawPendingLinesDirectly()) {
        finishDirect();
        applyPendingPen();
        painter_.drawLines(pendingLines_.data(), static_cast<int>(pendingLines_.size()));
    }
    if (!pendingPolylines_.empty()) {
        finishDirect();
        applyPendingPen();
    }
    for (const Polyline& polyline : pendingPolylines_)
        painter_.drawPolyline(polyline.data(), static_cast<int>(polyline.size()));
    pending_ = Pending::Nothing;
    pendingLines_.clear();
    pendingPolylines_.clear();
}

bool PainterGraphicsContext::drawsDirectly() const
{
    return rasterizer_ && !pixelMode_ && ImageRasterizer::follows(painter_);
}

void PainterGraphicsContext::finishDirect()
{
    if (rasterizer_)
        rasterizer_->finish();
}

bool PainterGraphicsContext::drawPendingLinesDirectly()
{
    if (!drawsDirectly())
        return false;
    const QTransform transform = painter_.deviceTransform();
    const QRgb colour = qPremultiply(toQColor(pendingColour_).rgba());
    // A width of 0 draws the thinnest visible line, one pixel wide as a width of 1 does.
    const double width = pendingWidth_ == 0.0 ? 1.0 : pendingWidth_;
    const double half = width / 2.0;
    for (const QLineF& line : pendingLines_) {
        const QPointF a = transform.map(line.p1()), b = transform.map(line.p2());
        if (width >= 1.0 && a.x() == b.x())
            rasterizer_->fillRect(QRectF(QPointF(a.x() - half, a.y()), QPointF(a.x() + half, b.y())), colour);
        else if (width >= 1.0 && a.y() == b.y())
            rasterizer_->fillRect(QRectF(QPointF(a.x(), a.y() - half), QPointF(b.x(), a.y() + half)), colour);
        else if (width == 1.0)
            rasterizer_->drawThinLine(a, b, colour);
        else {
            finishDirect();
            applyPendingPen();
            painter_.drawLine(line);
        }
    }
    return true;
}

void PainterGraphicsContext::strokeLines(std::span<const Polyline> subpaths)
{
    if (pending_ != Pending::Strokes || !(pendingColour_ == strokeColor()) || pendingWidth_ != lineWidth()) {
        flush();
        pending_ = Pending::Strokes;
        pendingColour_ = strokeColor();
        pendingWidth_ = lineWidth();
    }
    for (const Polyline& subpath : subpaths) {
        if (subpath.size() == 2)
            pendingLines_.emplace_back(subpath[0], subpath[1]);
        else
            pendingPolylines_.push_back(subpath);
    }
    if (drawing_ == Drawing::Direct)
        flush();
}

void PainterGraphicsContext::fillRectangle(const QRectF& rect)
{
    flush();
    leavePixelMode();
    if (drawsDirectly()) {
        rasterizer_->fillRect(painter_.deviceTransform().mapRect(rect),
                              qPremultiply(toQColor(fillColor()).rgba()));
        return;
    }
    finishDirect();
    painter_.fillRect(rect, toQColor(fillColor()));
}

void PainterGraphicsContext::fillPixelRect(const QRectF& rect)
{
    const QTransform transform = pixelMode_ ? drawingTransform_ : painter_.transform();
    if (transform.type() > QTransform::TxScale) {
        fillRect(rect);
        return;
    }
    const QRectF device = transform.mapRect(rect.normalized());
    const int left = static_cast<int>(std::lround(device.left())),
              right = static_cast<int>(std::lround(device.right()));
    const int top = static_cast<int>(std::lround(device.top())),
              bottom = static_cast<int>(std::lround(device.bottom()));
    if (right <= left || bottom <= top)
        return;
    flush();
    if (drawsDirectly()) {
        // The same whole pixels, found through the device transform (the painter's own may leave out
        // the window's offset).
        const QRectF onImage = painter_.deviceTransform().mapRect(rect.normalized());
        const auto whole = [](double v) { return static_cast<double>(std::lround(v)); };
        rasterizer_->fillRect(QRectF(QPointF(whole(onImage.left()), whole(onImage.top())),
                                     QPointF(whole(onImage.right()), whole(onImage.bottom()))),
                              qPremultiply(toQColor(fillColor()).rgba()));
        return;
    }
    finishDirect();
    enterPixelMode();
    painter_.fillRect(QRect(left, top, right - left, bottom - top), toQColor(fillColor()));
}

void PainterGraphicsContext::enterPixelMode()
{
    if (pixelMode_)
        return;
    drawingTransform_ = painter_.transform();
    painter_.resetTransform();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    pixelMode_ = true;
}

void PainterGraphicsContext::leavePixelMode()
{
    if (!pixelMode_)
        return;
    painter_.setTransform(drawingTransform_);
    painter_.setRenderHint(QPainter::Antialiasing, true);
    pixelMode_ = false;
}

void PainterGraphicsContext::drawLayer(LayerCache& cache, const std::vector<double>& key, const QRectF& rect,
                                       const std::function<void(GraphicsContext&)>& draw)
{
    flush();
    leavePixelMode();
    if (drawing_ == Drawing::Direct) {
        draw(*this);
        return;
    }
    // The layer image covers the rect in device pixels; a rect that does not start on a whole pixel (or
    // a scaled painter) is drawn directly, as an image there would be resampled.
    const QTransform& transform = painter_.transform();
    const QRectF device = transform.mapRect(rect);
    const bool aligned = transform.type() <= QTransform::TxScale && device.x() == std::round(device.x()) &&
                         device.y() == std::round(device.y()) &&
                         device.width() == std::round(device.width()) &&
                         device.height() == std::round(device.height());
    if (!aligned || device.isEmpty()) {
        draw(*this);
        return;
    }
    const double ratio = painter_.device() ? painter_.device()->devicePixelRatioF() : 1.0;
    std::vector<double> fullKey = key;
    fullKey.insert(fullKey.end(), {rect.x(), rect.y(), rect.width(), rect.height(), device.x(), device.y(),
                                   device.width(), device.height(), height_, ratio});
    if (cache.key != fullKey || cache.image.isNull()) {
        QImage image((device.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        {
            // The painter's transform before the turn-over, moved so the rect's corner is the image's.
            QPainter layer(&image);
            layer.setTransform(base_ * QTransform::fromTranslate(-device.x(), -device.y()));
            PainterGraphicsContext context(layer, height_, drawing_);
            draw(context);
        }
        // A layer without see-through pixels is kept without alpha, so that each frame copies it
        // instead of blending it.
        if (isOpaque(image))
            image.convertTo(QImage::Format_RGB32);
        cache.image = std::move(image);
        cache.key = std::move(fullKey);
    }
    if (drawsDirectly() && ImageRasterizer::canCopy(cache.image)) {
        const QPointF onImage = painter_.deviceTransform().mapRect(rect).topLeft();
        rasterizer_->copyImage(cache.image, onImage.toPoint());
        return;
    }
    finishDirect();
    painter_.save();
    painter_.resetTransform();
    painter_.drawImage(device.topLeft(), cache.image);
    painter_.restore();
}

}  // namespace nupo
