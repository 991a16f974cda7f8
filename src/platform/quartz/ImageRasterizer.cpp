#include "platform/quartz/ImageRasterizer.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <utility>

namespace nupo {

namespace {

// x × a / 255 for each 8-bit channel of x (a in 0..255), rounded as the painter rounds.
inline QRgb byteMul(QRgb x, unsigned a)
{
    unsigned t = (x & 0xff00ffu) * a;
    t = (t + ((t >> 8) & 0xff00ffu) + 0x800080u) >> 8;
    t &= 0xff00ffu;
    x = ((x >> 8) & 0xff00ffu) * a;
    x = (x + ((x >> 8) & 0xff00ffu) + 0x800080u);
    x &= 0xff00ff00u;
    return x | t;
}

// The largest whole number not above x, for x well inside the int range (a plain conversion truncates
// towards zero; std::floor is a library call on the baseline instruction set).
inline int floorOf(double x)
{
    const int i = static_cast<int>(x);
    return x < i ? i - 1 : i;
}

// A share 0..1 as coverage 0..255.
inline unsigned coverageOf(double share)
{
    return share <= 0.0 ? 0u : (share >= 1.0 ? 255u : static_cast<unsigned>(share * 255.0 + 0.5));
}

// The share of the pixel span [i, i + 1) that [from, to) covers.
inline double overlap(int i, double from, double to)
{
    return std::min(to, i + 1.0) - std::max(from, double(i));
}

}  // namespace

std::optional<ImageRasterizer> ImageRasterizer::of(QPainter& painter)
{
    QPaintEngine* engine = painter.paintEngine();
    if (!painter.isActive() || !engine || engine->type() != QPaintEngine::Raster || !follows(painter))
        return std::nullopt;
    QPaintDevice* device = engine->paintDevice();
    if (!device || device->devType() != QInternal::Image)
        return std::nullopt;
    auto& image = *static_cast<QImage*>(device);
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32_Premultiplied)
        return std::nullopt;
    QRect clip = image.rect();
    const QRegion system = engine->systemClip();
    if (!system.isEmpty()) {
        if (system.rectCount() != 1)
            return std::nullopt;
        clip &= system.boundingRect();
    }
    return ImageRasterizer(image, clip);
}

bool ImageRasterizer::follows(const QPainter& painter)
{
    const QTransform& t = painter.deviceTransform();
    return painter.compositionMode() == QPainter::CompositionMode_SourceOver && painter.opacity() == 1.0 &&
           !painter.hasClipping() && painter.testRenderHint(QPainter::Antialiasing) &&
           t.type() <= QTransform::TxScale && t.m11() == 1.0 && std::abs(t.m22()) == 1.0;
}

ImageRasterizer::ImageRasterizer(QImage& image, const QRect& clip)
    // The painter has already made the image's pixels its own (detached them), so writing through the
    // shared pointer writes where the painter draws.
    : bits_(const_cast<uchar*>(image.constBits())),
      bytesPerLine_(image.bytesPerLine()),
      opaque_(image.format() == QImage::Format_RGB32),
      clip_(clip),
      clipLeft_(clip.left()),
      clipTop_(clip.top()),
      clipRight_(clip.right()),
      clipBottom_(clip.bottom())
{
}

inline void ImageRasterizer::blend(int x, int y, QRgb colour, unsigned coverage)
{
    if (coverage == 0 || x < clipLeft_ || x > clipRight_ || y < clipTop_ || y > clipBottom_)
        return;
    auto& pixel = reinterpret_cast<QRgb*>(bits_ + y * bytesPerLine_)[x];
    const QRgb source = coverage == 255 ? colour : byteMul(colour, coverage);
    QRgb result = source + byteMul(pixel, 255 - qAlpha(source));
    if (opaque_)
        result |= 0xff000000u;
    pixel = result;
}

void ImageRasterizer::fillSpan(int x0, int x1, int y, QRgb colour, unsigned coverage)
{
    if (coverage == 0 || x1 <= x0)
        return;
    QRgb* row = reinterpret_cast<QRgb*>(bits_ + y * bytesPerLine_);
    const QRgb source = coverage == 255 ? colour : byteMul(colour, coverage);
    const unsigned keep = 255 - qAlpha(source);
    if (keep == 0) {
        std::fill(row + x0, row + x1, opaque_ ? (source | 0xff000000u) : source);
        return;
    }
    const QRgb alphaBits = opaque_ ? 0xff000000u : 0u;
    for (int x = x0; x < x1; ++x)
        row[x] = (source + byteMul(row[x], keep)) | alphaBits;
}

void ImageRasterizer::drawThinLine(const QPointF& a, const QPointF& b, QRgb colour)
{
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    if (dx == 0.0 && dy == 0.0)
        return;
    // Steps along the longer axis (u) one pixel at a time; across it (v) the line's one pixel of width
    // falls on two pixels in the shares its centre gives.
    const bool alongX = std::abs(dx) >= std::abs(dy);
    double u0 = alongX ? a.x() : a.y(), v0 = alongX ? a.y() : a.x();
    double u1 = alongX ? b.x() : b.y(), v1 = alongX ? b.y() : b.x();
    if (u0 > u1) {
        std::swap(u0, u1);
        std::swap(v0, v1);
    }
    const double slope = (v1 - v0) / (u1 - u0);
    // Bounds are compared as doubles first, so that far-off points never overflow an int.
    const double uLow = alongX ? clip_.left() : clip_.top(), uHigh = alongX ? clip_.right() : clip_.bottom();
    const double vLow = alongX ? clip_.top() : clip_.left(), vHigh = alongX ? clip_.bottom() : clip_.right();
    const int first = static_cast<int>(std::max(std::floor(u0), uLow));
    const int last = static_cast<int>(std::min(std::ceil(u1) - 1.0, uHigh));
    for (int u = first; u <= last; ++u) {
        const double from = std::max(u0, double(u)), to = std::min(u1, u + 1.0);
        const double length = to - from;
        if (length <= 0.0)
            continue;
        const double top = v0 + ((from + to) / 2.0 - u0) * slope - 0.5;
        if (!(top >= vLow - 1.0 && top < vHigh + 1.0))
            continue;
        const int v = floorOf(top);
        const double lower = top - v;
        const unsigned near = coverageOf(length * (1.0 - lower)), far = coverageOf(length * lower);
        if (alongX) {
            blend(u, v, colour, near);
            blend(u, v + 1, colour, far);
        } else {
            blend(v, u, colour, near);
            blend(v + 1, u, colour, far);
        }
    }
}

void ImageRasterizer::fillRect(const QRectF& rect, QRgb colour)
{
    const QRectF r = rect.normalized() & QRectF(clip_.left(), clip_.top(), clip_.width(), clip_.height());
    if (r.isEmpty())
        return;
    const double left = r.left(), right = r.right(), top = r.top(), bottom = r.bottom();
    const int x0 = static_cast<int>(std::floor(left)), x1 = static_cast<int>(std::ceil(right));
    const int y0 = static_cast<int>(std::floor(top)), y1 = static_cast<int>(std::ceil(bottom));
    // The first and last columns may be partly covered; those between are covered whole across.
    const double firstShare = overlap(x0, left, right), lastShare = overlap(x1 - 1, left, right);
    for (int y = y0; y < y1; ++y) {
        const double rowShare = overlap(y, top, bottom);
        blend(x0, y, colour, coverageOf(firstShare * rowShare));
        if (x1 - 1 > x0) {
            fillSpan(x0 + 1, x1 - 1, y, colour, coverageOf(rowShare));
            blend(x1 - 1, y, colour, coverageOf(lastShare * rowShare));
        }
    }
}

}  // namespace nupo
