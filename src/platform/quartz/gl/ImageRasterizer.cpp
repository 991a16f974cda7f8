#include "platform/quartz/gl/ImageRasterizer.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstdint>
#include <cstring>

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

#if defined(__SSE2__)
// byteMul on eight 16-bit channels (two pixels spread out), each by its own factor.
inline __m128i byteMul16(__m128i x, __m128i a)
{
    __m128i t = _mm_mullo_epi16(x, a);
    t = _mm_add_epi16(t, _mm_srli_epi16(t, 8));
    return _mm_srli_epi16(_mm_add_epi16(t, _mm_set1_epi16(0x80)), 8);
}
#endif

// Blends a premultiplied colour into two neighbouring pixels by coverages 0..255 each, as two blends of
// one pixel would, in one go where the processor allows.
inline void blendPair(QRgb* pixels, QRgb colour, unsigned first, unsigned second, QRgb alphaBits)
{
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    __m128i target = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(pixels)), zero);
    const __m128i coverage = _mm_set_epi16(short(second), short(second), short(second), short(second),
                                           short(first), short(first), short(first), short(first));
    const __m128i source = byteMul16(_mm_unpacklo_epi8(_mm_set1_epi32(int(colour)), zero), coverage);
    __m128i alpha = _mm_shufflelo_epi16(source, _MM_SHUFFLE(3, 3, 3, 3));
    alpha = _mm_shufflehi_epi16(alpha, _MM_SHUFFLE(3, 3, 3, 3));
    target = _mm_add_epi16(byteMul16(target, _mm_sub_epi16(_mm_set1_epi16(255), alpha)), source);
    const __m128i packed = _mm_or_si128(_mm_packus_epi16(target, target), _mm_set1_epi32(int(alphaBits)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(pixels), packed);
#else
    for (int i = 0; i < 2; ++i) {
        const QRgb source = byteMul(colour, i == 0 ? first : second);
        pixels[i] = (source + byteMul(pixels[i], 255u - qAlpha(source))) | alphaBits;
    }
#endif
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

// The rows a shape spanning y0..y1 (and `margin` more each way) may touch, clamped to the int range.
std::pair<int, int> rowsOf(double y0, double y1, double margin)
{
    const double low = std::floor(std::min(y0, y1) - margin), high = std::ceil(std::max(y0, y1) + margin);
    constexpr double limit = 1 << 30;
    return {static_cast<int>(std::clamp(low, -limit, limit)),
            static_cast<int>(std::clamp(high, -limit, limit))};
}

// Rows drawn together: a band of the widest plot window's rows fits the processor's nearest caches
// twice over (the image's rows and the copied background's).
constexpr int bandRows = 32;

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

bool ImageRasterizer::canCopy(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 && image.devicePixelRatio() == 1.0;
}

ImageRasterizer::ImageRasterizer(QImage& image, const QRect& clip)
    // The painter has already made the image's pixels its own (detached them), so writing through the
    // shared pointer writes where the painter draws.
    : bits_(const_cast<uchar*>(image.constBits())),
      bytesPerLine_(image.bytesPerLine()),
      alphaBits_(image.format() == QImage::Format_RGB32 ? 0xff000000u : 0u),
      clip_(clip),
      clipLeft_(clip.left()),
      clipTop_(clip.top()),
      clipRight_(clip.right()),
      clipBottom_(clip.bottom())
{
}

void ImageRasterizer::add(const Shape& shape)
{
    if (shape.bottom >= clip_.top() && shape.top <= clip_.bottom())
        shapes_.push_back(shape);
}

void ImageRasterizer::copyImage(const QImage& image, const QPoint& at)
{
    if (!canCopy(image) || image.isNull())
        return;
    images_.push_back(image);
    add({Shape::Kind::Copy, 0, double(at.x()), double(at.y()), double(at.x() + image.width()),
         double(at.y() + image.height()), at.y(), at.y() + image.height() - 1,
         static_cast<int>(images_.size() - 1)});
}

void ImageRasterizer::drawThinLine(const QPointF& a, const QPointF& b, QRgb colour)
{
    if (a == b)
        return;
    const auto [top, bottom] = rowsOf(a.y(), b.y(), 1.0);
    add({Shape::Kind::Line, colour, a.x(), a.y(), b.x(), b.y(), top, bottom, -1});
}

void ImageRasterizer::fillRect(const QRectF& rect, QRgb colour)
{
    const QRectF r = rect.normalized();
    if (r.isEmpty())
        return;
    const auto [top, bottom] = rowsOf(r.top(), r.bottom(), 0.0);
    add({Shape::Kind::Rect, colour, r.left(), r.top(), r.right(), r.bottom(), top, bottom, -1});
}

void ImageRasterizer::setBand(int top, int bottom)
{
    clipLeft_ = clip_.left();
    clipRight_ = clip_.right();
    clipTop_ = top;
    clipBottom_ = bottom;
}

void ImageRasterizer::finish()
{
    if (shapes_.empty())
        return;
    for (int top = clip_.top(); top <= clip_.bottom(); top += bandRows) {
        setBand(top, std::min(top + bandRows - 1, clip_.bottom()));
        for (const Shape& shape : shapes_) {
            if (shape.bottom < clipTop_ || shape.top > clipBottom_)
                continue;
            switch (shape.kind) {
                case Shape::Kind::Copy:
                    copyRows(shape);
                    break;
                case Shape::Kind::Line:
                    renderThinLine(shape);
                    break;
                case Shape::Kind::Rect:
                    renderRect(shape);
                    break;
            }
        }
    }
    setBand(clip_.top(), clip_.bottom());
    shapes_.clear();
    images_.clear();
}

inline void ImageRasterizer::blend(int x, int y, QRgb colour, unsigned coverage)
{
    if (coverage == 0 || x < clipLeft_ || x > clipRight_ || y < clipTop_ || y > clipBottom_)
        return;
    paint(rowAt(y)[x], inkOf(colour, coverage));
}

inline ImageRasterizer::Ink ImageRasterizer::inkOf(QRgb colour, unsigned coverage) const
{
    const QRgb source = coverage >= 255 ? colour : byteMul(colour, coverage);
    return {source, 255u - qAlpha(source), coverage == 0};
}

inline void ImageRasterizer::paint(QRgb& pixel, const Ink& ink) const
{
    if (ink.none)
        return;
    pixel =
        ink.keep == 0 ? (ink.source | alphaBits_) : ((ink.source + byteMul(pixel, ink.keep)) | alphaBits_);
}

inline QRgb* ImageRasterizer::rowAt(int y) const
{
    return reinterpret_cast<QRgb*>(bits_ + y * bytesPerLine_);
}

void ImageRasterizer::copyRows(const Shape& shape)
{
    const QImage& image = images_[std::size_t(shape.image)];
    const int left = static_cast<int>(shape.x0), top = static_cast<int>(shape.y0);
    const int x0 = std::max(left, clipLeft_), x1 = std::min(left + image.width() - 1, clipRight_);
    const int y0 = std::max(top, clipTop_), y1 = std::min(top + image.height() - 1, clipBottom_);
    if (x1 < x0)
        return;
    for (int y = y0; y <= y1; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(image.constScanLine(y - top)) + (x0 - left);
        auto* to = reinterpret_cast<QRgb*>(bits_ + y * bytesPerLine_) + x0;
        std::memcpy(to, from, std::size_t(x1 - x0 + 1) * sizeof(QRgb));
    }
}

void ImageRasterizer::renderThinLine(const Shape& shape)
{
    const double dx = shape.x1 - shape.x0, dy = shape.y1 - shape.y0;
    // Steps along the longer axis (u) one pixel at a time; across it (v) the line's one pixel of width
    // falls on two pixels in the shares its centre gives.
    const bool alongX = std::abs(dx) >= std::abs(dy);
    double u0 = alongX ? shape.x0 : shape.y0, v0 = alongX ? shape.y0 : shape.x0;
    double u1 = alongX ? shape.x1 : shape.y1, v1 = alongX ? shape.y1 : shape.x1;
    if (u0 > u1) {
        std::swap(u0, u1);
        std::swap(v0, v1);
    }
    const double slope = (v1 - v0) / (u1 - u0);
    // Bounds are compared as doubles first, so that far-off points never overflow an int.
    double uLow = alongX ? clipLeft_ : clipTop_, uHigh = alongX ? clipRight_ : clipBottom_;
    const double vLow = alongX ? clipTop_ : clipLeft_, vHigh = alongX ? clipBottom_ : clipRight_;
    if (slope != 0.0) {
        // Only the steps whose pixels reach the clip across the line: where the top of a step's pixel
        // pair, v0 + (u + 0.5 - u0) slope - 0.5, lies from vLow - 1 to vHigh + 1.
        const auto stepAt = [&](double top) { return (top + 0.5 - v0) / slope + u0 - 0.5; };
        const double a = stepAt(vLow - 1.0), b = stepAt(vHigh + 1.0);
        uLow = std::max(uLow, std::floor(std::min(a, b)) - 1.0);
        uHigh = std::min(uHigh, std::ceil(std::max(a, b)) + 1.0);
    }
    const double firstU = std::max(std::floor(u0), uLow), lastU = std::min(std::ceil(u1) - 1.0, uHigh);
    if (firstU > lastU)
        return;
    const int first = static_cast<int>(firstU), last = static_cast<int>(lastU);
    const QRgb colour = shape.colour;
    auto plot = [&](int u, int v, unsigned near, unsigned far) {
        if (alongX) {
            blend(u, v, colour, near);
            blend(u, v + 1, colour, far);
        } else {
            blend(v, u, colour, near);
            blend(v + 1, u, colour, far);
        }
    };
    // A step of the given length along the line, centred at u = centre.
    auto step = [&](int u, double length, double centre) {
        const double top = v0 + (centre - u0) * slope - 0.5;
        if (!(top >= vLow - 1.0 && top < vHigh + 1.0))
            return;
        const int v = floorOf(top);
        const double lower = top - v;
        plot(u, v, coverageOf(length * (1.0 - lower)), coverageOf(length * lower));
    };
    // The ends may cover part of a pixel's length; the whole steps between go by a fixed-point
    // increment (32 fraction bits: far finer than the 8 bits of coverage over any image's length).
    const int firstWhole = std::max(first, static_cast<int>(std::ceil(u0)));
    const int lastWhole = std::min(last, static_cast<int>(std::floor(u1)) - 1);
    for (int u = first; u <= last && u < firstWhole; ++u)
        step(u, std::min(u1, u + 1.0) - std::max(u0, double(u)),
             (std::max(u0, double(u)) + std::min(u1, u + 1.0)) / 2.0);
    if (firstWhole <= lastWhole) {
        constexpr double one = 4294967296.0;  // 1 << 32
        const double topFirst = v0 + (firstWhole + 0.5 - u0) * slope - 0.5;
        const double topLast = topFirst + (lastWhole - firstWhole) * slope;
        if (std::abs(topFirst) < (1 << 30) && std::abs(topLast) < (1 << 30)) {
            std::int64_t top = std::llround(topFirst * one);
            const std::int64_t increment = std::llround(slope * one);
            const int vMin = static_cast<int>(vLow) - 1, vMax = static_cast<int>(vHigh);
            for (int u = firstWhole; u <= lastWhole; ++u, top += increment) {
                const int v = static_cast<int>(top >> 32);
                if (v < vMin || v > vMax)
                    continue;
                const unsigned far = static_cast<unsigned>(top >> 24) & 0xffu;
                if (!alongX && v >= clipLeft_ && v < clipRight_)
                    blendPair(rowAt(u) + v, colour, 255u - far, far, alphaBits_);
                else
                    plot(u, v, 255u - far, far);
            }
        } else {
            for (int u = firstWhole; u <= lastWhole; ++u)
                step(u, 1.0, u + 0.5);
        }
    }
    for (int u = std::max(first, lastWhole + 1); u <= last; ++u)
        step(u, std::min(u1, u + 1.0) - std::max(u0, double(u)),
             (std::max(u0, double(u)) + std::min(u1, u + 1.0)) / 2.0);
}

void ImageRasterizer::renderRect(const Shape& shape)
{
    const QRectF r = QRectF(QPointF(shape.x0, shape.y0), QPointF(shape.x1, shape.y1)) &
                     QRectF(clipLeft_, clipTop_, clipRight_ - clipLeft_ + 1.0, clipBottom_ - clipTop_ + 1.0);
    if (r.isEmpty())
        return;
    const double left = r.left(), right = r.right(), top = r.top(), bottom = r.bottom();
    const int x0 = static_cast<int>(std::floor(left)), x1 = static_cast<int>(std::ceil(right));
    const int y0 = static_cast<int>(std::floor(top)), y1 = static_cast<int>(std::ceil(bottom));
    // The first and last columns may be partly covered; those between are covered whole across. Shares
    // come from the whole rectangle, not its part in the band.
    const double firstShare = overlap(x0, left, right), lastShare = overlap(x1 - 1, left, right);
    struct RowInks {
        Ink first, middle, last;
    };
    const auto inksOf = [&](double rowShare) {
        return RowInks{inkOf(shape.colour, coverageOf(firstShare * rowShare)),
                       inkOf(shape.colour, coverageOf(rowShare)),
                       inkOf(shape.colour, coverageOf(lastShare * rowShare))};
    };
    const RowInks whole = inksOf(1.0);
    for (int y = y0; y < y1; ++y) {
        const double rowShare = overlap(y, shape.y0, shape.y1);
        const RowInks inks = rowShare >= 1.0 ? whole : inksOf(rowShare);
        QRgb* row = rowAt(y);
        paint(row[x0], inks.first);
        if (x1 - 1 > x0) {
            for (int x = x0 + 1; x < x1 - 1; ++x)
                paint(row[x], inks.middle);
            paint(row[x1 - 1], inks.last);
        }
    }
}

}  // namespace nupo
