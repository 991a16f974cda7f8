#include "views3d/textures/gl/GBuffer.h"

#include "platform/files/CheckedFile.h"
#include "views3d/textures/gl/DecodeCost.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QPdfDocument>

#include <algorithm>
#include <cstring>

namespace nupo {

namespace {

constexpr int maxBufferSide = 512;
const QByteArray pdfType = "pdf";
// The most a decoder may allocate for one picture, in MiB (a 32-bit picture of 8192 x 4096), counted from
// the file's header before it decodes (decoderBytes): a picture that would need more is refused with its
// size. A decoder that can read the top left corner alone (JPEG) puts out only what the buffer keeps.
constexpr int maxDecodeMiB = 128;

bool isPdf(const QByteArray& head)
{
    return head.startsWith("%PDF-");
}

// Type, size and depth of an image in a device; false when no decoder knows it.
bool probe(QIODevice& device, QByteArray& type, QSize& size, int& depth)
{
    if (isPdf(device.peek(5))) {
        QPdfDocument document;
        document.load(&device);
        if (document.status() != QPdfDocument::Status::Ready || document.pageCount() < 1)
            return false;
        type = pdfType;
        // Rendered at the size that fits the largest buffer, never at the page's own size (a page may
        // be 200 inches wide in a file of a few hundred bytes).
        QSizeF page = document.pagePointSize(0);
        if (!(page.width() >= 1.0 && page.height() >= 1.0))
            return false;
        if (page.width() > maxBufferSide || page.height() > maxBufferSide)
            page.scale(maxBufferSide, maxBufferSide, Qt::KeepAspectRatio);
        size = QSize(std::max(1, qRound(page.width())), std::max(1, qRound(page.height())));
        depth = 32;
        return true;
    }
    QImageReader reader(&device);
    type = reader.format();
    if (type.isEmpty())
        return false;
    size = reader.size();
    const QImage::Format format = reader.imageFormat();
    depth = format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
    return size.isValid() && !size.isEmpty();
}

}  // namespace

GBuffer::~GBuffer()
{
    ResetImage(true);
}

bool GBuffer::fail(const QString& why)
{
    failure_ = why;
    return false;
}

bool GBuffer::SetImage(const char* path)
{
    const FSSpec spec = Files::MakeFSSpecFromPosixPath(path, "Images");
    if (spec.isEmpty()) {
        Util::log("err: no image file named %s", path ? path : "(null)");
        return fail(QStringLiteral("there is no such file"));
    }
    return SetImage(spec);
}

bool GBuffer::SetImage(const FSSpec& file)
{
    ResetImage(false);
    drawn_ = false;
    failure_.clear();
    file_ = file;
    // The bytes first, through the checked reader: the type is then read from memory, and nothing opens
    // the file unchecked (a FIFO would block the opener).
    return LoadImageData() && GetImageInfo();
}

bool GBuffer::GetImageInfo()
{
    if (data_.isEmpty() && !LoadImageData())
        return false;
    QByteArray type;
    QSize size;
    int depth = 0;
    QBuffer device(&data_);
    if (!device.open(QIODevice::ReadOnly) || !probe(device, type, size, depth)) {
        Util::log("error getting type of %s", qUtf8Printable(file_.path));
        return fail(QStringLiteral("it holds no picture this program can read"));
    }
    imageType_ = type;
    imageSize_ = size;
    imageDepth_ = depth;
    return true;
}

bool GBuffer::LoadImageData()
{
    QByteArray bytes;
    QString why;
    if (!readRegularFile(file_.path, maxImageFileBytes, &bytes, &why)) {
        Util::log("err: cannot read %s: %s", qUtf8Printable(file_.path), qUtf8Printable(why));
        return fail(why);
    }
    if (bytes.isEmpty()) {
        Util::log("err: %s is empty", qUtf8Printable(file_.path));
        return fail(QStringLiteral("it is empty"));
    }
    const qint64 length = bytes.size();
    data_ = std::move(bytes);
    dataLength_ = length;
    importer_ = false;
    return true;
}

bool GBuffer::SetImportRefFromData()
{
    QBuffer device(&data_);
    QByteArray type;
    QSize size;
    int depth = 0;
    if (data_.isEmpty() || !device.open(QIODevice::ReadOnly) || !probe(device, type, size, depth) ||
        type != imageType_) {
        Util::log("err: open error for data handle of type %s", imageType_.constData());
        return fail(QStringLiteral("it holds no picture this program can read"));
    }
    importer_ = true;
    return true;
}

QImage GBuffer::decode(QSize kept, QString* why) const
{
    const QString unreadable = QStringLiteral("its picture cannot be decoded");
    *why = unreadable;
    QByteArray bytes = data_;
    QBuffer device(&bytes);
    if (!device.open(QIODevice::ReadOnly))
        return {};
    if (imageType_ == pdfType) {
        QPdfDocument document;
        document.load(&device);
        if (document.status() != QPdfDocument::Status::Ready || document.pageCount() < 1)
            return {};
        return document.render(0, imageSize_);  // imageSize_ fits the largest buffer (see probe)
    }
    QImageReader reader(&device, imageType_);
    reader.setAllocationLimit(maxDecodeMiB);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return {};
    // What the decoder will hold, from the header, before it allocates anything: a decoder that reads the
    // corner alone (JPEG) puts out only that, but may still keep the whole picture's coefficients.
    const QRect corner(QPoint(0, 0), size.boundedTo(kept));
    const bool clips = corner.size() != size && reader.supportsOption(QImageIOHandler::ClipRect);
    const QImage::Format format = reader.imageFormat();
    const int depth = format == QImage::Format_Invalid ? 0 : QImage::toPixelFormat(format).bitsPerPixel();
    const std::optional<qint64> cost =
        decoderBytes(imageType_, data_, size, depth, clips ? corner.size() : size);
    if (!cost)
        return {};
    if (*cost > (qint64(maxDecodeMiB) << 20)) {
        *why = QStringLiteral("at %1 x %2 pixels its picture is too large to decode")
                   .arg(size.width())
                   .arg(size.height());
        return {};
    }
    if (clips)
        reader.setClipRect(corner);
    QImage image;
    if (!reader.read(&image))
        return {};
    // Only the corner the buffer keeps is converted, not a second whole picture.
    if (image.width() > corner.width() || image.height() > corner.height())
        image = image.copy(corner);
    why->clear();
    return image;
}

bool GBuffer::LoadImage()
{
    if (imageSize_.isEmpty()) {
        Util::log("err: no image size for %s", qUtf8Printable(file_.path));
        return fail(QStringLiteral("it holds no picture this program can read"));
    }
    const auto side = [](int imageSide) {
        return static_cast<int>(std::clamp<qint64>(qint64(imageSide) * imageSide, 0, maxBufferSide));
    };
    const QSize target(side(imageSize_.width()), side(imageSize_.height()));
    if (bufferSize_ != target || bufferDepth_ != 32 || pixels_.empty()) {
        ReleaseImageBuffer();
        if (!Create(target, 32))
            return false;
    }
    if (data_.isEmpty() && !LoadImageData())
        return false;
    if (!importer_ && !SetImportRefFromData())
        return false;

    QString why;
    const QImage image = decode(bufferSize_, &why).convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) {
        Util::log("err: cannot decode %s", qUtf8Printable(file_.path));
        ReleaseImageBuffer();
        return fail(why.isEmpty() ? QStringLiteral("its picture cannot be decoded") : why);
    }
    std::fill(pixels_.begin(), pixels_.end(), 0u);
    const int width = std::min(image.width(), bufferSize_.width());
    const int height = std::min(image.height(), bufferSize_.height());
    for (int y = 0; y < height; ++y)
        std::memcpy(&pixels_[std::size_t(y) * bufferSize_.width()], image.constScanLine(y),
                    std::size_t(width) * 4);
    drawn_ = true;
    return true;
}

bool GBuffer::Create(const QSize& size, int depth)
{
    if (size.isEmpty() || (depth != 16 && depth != 32)) {
        Util::log("no load buffer");
        return false;
    }
    const qint64 length = qint64(size.width()) * (depth / 8) * size.height();
    pixels_.assign(std::size_t((length + 3) / 4), 0u);
    bufferSize_ = size;
    bufferDepth_ = depth;
    bufferLength_ = length;
    bitmapContext_ = QImage();
    return true;
}

QImage GBuffer::view() const
{
    if (pixels_.empty())
        return {};
    const auto* bits = reinterpret_cast<const uchar*>(pixels_.data());
    if (bufferDepth_ == 32)
        return QImage(bits, bufferSize_.width(), bufferSize_.height(), bufferSize_.width() * 4,
                      QImage::Format_ARGB32);
    return QImage(bits, bufferSize_.width(), bufferSize_.height(), bufferSize_.width() * 2,
                  QImage::Format_RGB555);
}

bool GBuffer::CreateCGContext()
{
    if (!bitmapContext_.isNull())
        return true;
    if (pixels_.empty() || bufferDepth_ != 32)
        return false;
    bitmapContext_ = QImage(reinterpret_cast<uchar*>(pixels_.data()), bufferSize_.width(),
                            bufferSize_.height(), bufferSize_.width() * 4, QImage::Format_ARGB32);
    return true;
}

void GBuffer::BlitRect(GBuffer& target, const QRect& rect, const QPoint& point) const
{
    if (pixels_.empty() || target.pixels_.empty() || bufferDepth_ != target.bufferDepth_)
        return;
    const int bytesPerPixel = bufferDepth_ / 8;
    const QRect source = rect.intersected(QRect(QPoint(0, 0), bufferSize_));
    auto* from = reinterpret_cast<const uchar*>(pixels_.data());
    auto* to = reinterpret_cast<uchar*>(target.pixels_.data());
    for (int y = source.top(); y <= source.bottom(); ++y) {
        const int targetY = point.y() + (y - rect.y());
        if (targetY < 0 || targetY >= target.bufferSize_.height())
            continue;
        int x = source.left();
        int targetX = point.x() + (x - rect.x());
        if (targetX < 0) {
            x -= targetX;
            targetX = 0;
        }
        const int count = std::min(source.right() + 1 - x, target.bufferSize_.width() - targetX);
        if (count <= 0)
            continue;
        std::memcpy(to + (std::size_t(targetY) * target.bufferSize_.width() + targetX) * bytesPerPixel,
                    from + (std::size_t(y) * bufferSize_.width() + x) * bytesPerPixel,
                    std::size_t(count) * bytesPerPixel);
    }
}

void GBuffer::operator>>(GBuffer& target) const
{
    if (target.pixels_.empty()) {
        if (!target.Create(bufferSize_, bufferDepth_))
            return;
        BlitRect(target, QRect(QPoint(0, 0), bufferSize_), QPoint(0, 0));
        return;
    }
    if (!target.CreateCGContext() || pixels_.empty())
        return;
    const QImage scaled = view()
                              .convertToFormat(QImage::Format_ARGB32)
                              .scaled(target.bufferSize_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int y = 0; y < scaled.height(); ++y)
        std::memcpy(target.bitmapContext_.scanLine(y), scaled.constScanLine(y),
                    std::size_t(scaled.width()) * 4);
}

void GBuffer::ReleaseImageData()
{
    importer_ = false;
    data_.clear();
}

void GBuffer::ReleaseImageBuffer()
{
    bitmapContext_ = QImage();
    pixels_.clear();
    pixels_.shrink_to_fit();
    bufferSize_ = QSize();
    bufferLength_ = 0;
    drawn_ = false;
}

void GBuffer::ResetImage(bool releaseBuffer)
{
    bitmapContext_ = QImage();
    ReleaseImageData();
    if (releaseBuffer)
        ReleaseImageBuffer();
}

std::vector<std::unique_ptr<GBuffer>> mipmapLevels(const GBuffer& base)
{
    std::vector<std::unique_ptr<GBuffer>> levels;
    if (!base.pixels())
        return levels;
    int width = base.bufferSize().width();
    int height = base.bufferSize().height();
    while (width > 1 || height > 1) {
        width = width > 1 ? width / 2 : width;
        height = height > 1 ? height / 2 : height;
        auto level = std::make_unique<GBuffer>();
        if (!level->Create(QSize(width, height), base.bufferDepth()))
            break;
        base >> *level;
        levels.push_back(std::move(level));
    }
    return levels;
}

std::uint32_t GBuffer::pixel(int x, int y) const
{
    if (bufferDepth_ != 32 || x < 0 || y < 0 || x >= bufferSize_.width() || y >= bufferSize_.height())
        return 0;
    return pixels_[std::size_t(y) * bufferSize_.width() + x];
}

}  // namespace nupo
