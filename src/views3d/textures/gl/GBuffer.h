#pragma once

#include "views3d/textures/gl/Files.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <cstdint>
#include <memory>
#include <vector>

namespace nupo {

// An image file read into memory and decoded into a pixel buffer of 32-bit pixels. A pixel is one native
// 32-bit word 0xAARRGGBB (the byte order A, R, G, B in memory on a big-endian machine, B, G, R, A on a
// little-endian one); 16-bit buffers hold 1-5-5-5 words. The image sits unscaled in the top left corner
// of the buffer, row 0 at the top; what lies beyond the buffer is cut off.
//
// Decoders: every format QImage reads (PNG, JPEG, GIF, BMP, TIFF and more through the image-format
// plugins) and the first page of a PDF, rendered at the size that fits the largest buffer (512 x 512).
// What a decoder will allocate is worked out from the file's header before it decodes (its output, at the
// depth it decodes to, and what it keeps besides, such as a progressive JPEG's coefficients of the whole
// picture): a picture that would need more than 128 MiB is refused with its size. A JPEG decoded row by
// row puts out only the corner the buffer keeps.
class GBuffer {
public:
    GBuffer() = default;
    virtual ~GBuffer();
    GBuffer(const GBuffer&) = delete;
    GBuffer& operator=(const GBuffer&) = delete;

    // The most a picture file may hold: a larger one is refused before it is read.
    static constexpr qint64 maxImageFileBytes = qint64(64) << 20;

    // Resolves the path (absolute, or a name in the program's "Images" resources), then SetImage(file).
    bool SetImage(const char* path);
    // Forgets the previous image (keeping the pixel buffer), reads the file's bytes, then the image's
    // size, depth and type from them. False when either fails.
    bool SetImage(const FSSpec& file);
    // Size, depth and type of the image, from the file's bytes (read first when not in memory yet).
    bool GetImageInfo();
    // Reads the whole file into memory with the checks every file the user names gets (a regular file,
    // readable, at most maxImageFileBytes; a FIFO, a device or a folder is refused without blocking).
    // False when it cannot be read.
    bool LoadImageData();
    // Makes a decoder of the image's type for the bytes in memory.
    bool SetImportRefFromData();
    // Decodes the image into a buffer whose sides are the squares of the image's sides, at most 512 each.
    bool LoadImage();
    // A zeroed pixel buffer of the size and depth (16 or 32). False for an empty size or another depth.
    bool Create(const QSize& size, int depth);
    // A painter-ready image over the pixels (32-bit buffers only).
    bool CreateCGContext();
    // Copies rect of this buffer into target at point (same depth, clipped to both buffers).
    void BlitRect(GBuffer& target, const QRect& rect, const QPoint& point) const;
    // Copies this image into target: whole into a target without pixels, scaled into one with pixels.
    void operator>>(GBuffer& target) const;
    // Forgets the decoder and the file's bytes.
    void ReleaseImageData();
    // Frees the pixel buffer.
    void ReleaseImageBuffer();
    void ResetImage(bool releaseBuffer);

    const QByteArray& imageType() const { return imageType_; }
    const FSSpec& file() const { return file_; }
    QSize imageSize() const { return imageSize_; }
    int imageDepth() const { return imageDepth_; }
    qint64 dataLength() const { return dataLength_; }
    QSize bufferSize() const { return bufferSize_; }
    int bufferDepth() const { return bufferDepth_; }
    qint64 bufferLength() const { return bufferLength_; }
    const void* pixels() const { return pixels_.empty() ? nullptr : pixels_.data(); }
    bool drawn() const { return drawn_; }
    // Why the last step that failed failed, in words for the user ("it is a FIFO (named pipe), not a
    // file", "it holds no picture this program can read"); empty after success.
    const QString& failure() const { return failure_; }
    // Pixel (x, y) of a 32-bit buffer as 0xAARRGGBB; 0 outside.
    std::uint32_t pixel(int x, int y) const;

protected:
    QByteArray imageType_;
    FSSpec file_;
    QSize imageSize_;
    int imageDepth_ = 0;
    qint64 dataLength_ = 0;
    QSize bufferSize_;
    int bufferDepth_ = 0;
    qint64 bufferLength_ = 0;
    std::vector<std::uint32_t> pixels_;
    QImage bitmapContext_;
    bool importer_ = false;
    QByteArray data_;
    bool drawn_ = false;
    QString failure_;

private:
    // The picture decoded, at most its top left corner of size kept; null, with the reason, when it
    // cannot be.
    QImage decode(QSize kept, QString* why) const;
    QImage view() const;
    bool fail(const QString& why);
};

// The mipmap chain below a buffer: while either side exceeds 1, every side above 1 is halved and the next
// level is the whole buffer scaled into that size. Empty for a buffer without pixels.
std::vector<std::unique_ptr<GBuffer>> mipmapLevels(const GBuffer& base);

}  // namespace nupo
