#include "views3d/textures/gl/DecodeCost.h"

#include <algorithm>

namespace nupo {

namespace {

int byteAt(const QByteArray& bytes, qsizetype at)
{
    return static_cast<unsigned char>(bytes[at]);
}

int wordAt(const QByteArray& bytes, qsizetype at)
{
    return byteAt(bytes, at) << 8 | byteAt(bytes, at + 1);
}

qint64 ceilDiv(qint64 a, qint64 b)
{
    return (a + b - 1) / b;
}

qint64 roundUp(qint64 a, qint64 b)
{
    return ceilDiv(a, b) * b;
}

// A start-of-frame marker: C0 to CF but for C4 (Huffman tables), C8 (reserved) and CC (arithmetic
// conditioning).
bool isFrameMarker(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Reads the SOF segment's body into frame; false when it is malformed.
bool readFrameSegment(const QByteArray& bytes, qsizetype at, int length, int marker, JpegFrame& frame)
{
    if (length < 6)
        return false;
    frame.precision = byteAt(bytes, at);
    frame.height = wordAt(bytes, at + 1);
    frame.width = wordAt(bytes, at + 3);
    frame.components = byteAt(bytes, at + 5);
    if (frame.components < 1 || frame.components > JpegFrame::maxComponents ||
        length < 6 + 3 * frame.components || frame.width < 1)
        return false;
    for (int c = 0; c < frame.components; ++c) {
        const int factors = byteAt(bytes, at + 6 + 3 * c + 1);
        frame.hSampling[c] = std::clamp(factors >> 4, 1, 4);
        frame.vSampling[c] = std::clamp(factors & 15, 1, 4);
        frame.maxHSampling = std::max(frame.maxHSampling, frame.hSampling[c]);
        frame.maxVSampling = std::max(frame.maxVSampling, frame.vSampling[c]);
    }
    const int kind = marker & 3;  // 0, 1 sequential; 2 progressive; 3 lossless
    frame.progressive = kind == 2;
    // Progressive and hierarchical (differential, C5 to C7 and CD to CF) frames are decoded whole.
    frame.wholeImage = frame.progressive || (marker & 4) != 0;
    return true;
}

}  // namespace

qint64 JpegFrame::coefficientBytes() const
{
    if (!wholeImage)
        return 0;
    // 64 coefficients of 2 bytes per 8 x 8 block of each component, the rows and columns of blocks
    // rounded up to whole units of its sampling factors.
    qint64 bytes = 0;
    for (int c = 0; c < components; ++c) {
        const qint64 blocksWide = ceilDiv(qint64(width) * hSampling[c], 8 * qint64(maxHSampling));
        const qint64 blocksHigh = ceilDiv(qint64(height) * vSampling[c], 8 * qint64(maxVSampling));
        bytes += roundUp(blocksWide, hSampling[c]) * roundUp(blocksHigh, vSampling[c]) * 128;
    }
    return bytes;
}

qint64 JpegFrame::rowBufferBytes() const
{
    // Per component a few rows of blocks of samples (the rows being decoded, and those around them for
    // smooth upsampling), then the rows put out at full width in up to four channels.
    const qint64 sampleBytes = precision > 8 ? 2 : 1;
    qint64 bytes = 0;
    for (int c = 0; c < components; ++c) {
        const qint64 samplesWide =
            roundUp(ceilDiv(qint64(width) * hSampling[c], 8 * qint64(maxHSampling)), hSampling[c]) * 8;
        bytes += samplesWide * vSampling[c] * 8 * 4 * sampleBytes;
    }
    return bytes + qint64(width) * maxVSampling * 8 * 4 * sampleBytes;
}

std::optional<JpegFrame> readJpegFrame(const QByteArray& bytes)
{
    const qsizetype end = bytes.size();
    if (end < 4 || byteAt(bytes, 0) != 0xFF || byteAt(bytes, 1) != 0xD8)
        return std::nullopt;
    JpegFrame frame;
    bool haveFrame = false;
    qsizetype at = 2;
    while (at + 1 < end) {
        if (byteAt(bytes, at) != 0xFF) {
            ++at;  // stray bytes between segments: the decoder skips them too
            continue;
        }
        while (at + 1 < end && byteAt(bytes, at + 1) == 0xFF)
            ++at;  // fill bytes
        if (at + 1 >= end)
            break;
        const int marker = byteAt(bytes, at + 1);
        at += 2;
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;  // markers without a segment
        if (marker == 0xD9 || at + 2 > end)
            break;
        const int length = wordAt(bytes, at);
        if (length < 2 || at + length > end)
            break;
        const qsizetype body = at + 2;
        if (isFrameMarker(marker)) {
            if (haveFrame || !readFrameSegment(bytes, body, length - 2, marker, frame))
                return std::nullopt;
            haveFrame = true;
        } else if (marker == 0xDA) {
            if (!haveFrame || length < 3)
                return std::nullopt;
            // A sequential frame is decoded row by row only when its first scan holds every component;
            // otherwise the later scans complete the picture, and the decoder keeps all of it.
            if (byteAt(bytes, body) < frame.components)
                frame.wholeImage = true;
            // A height of 0 is given later (a DNL marker), which the decoder refuses.
            if (frame.height < 1)
                return std::nullopt;
            return frame;
        }
        at += length;
    }
    return std::nullopt;
}

std::optional<qint64> decoderBytes(const QByteArray& type, const QByteArray& bytes, QSize size, int depth,
                                   QSize output)
{
    const qint64 bytesPerPixel = depth > 0 ? std::max<qint64>(1, (depth + 7) / 8) : 4;
    if (type == "jpeg" || type == "jpg") {
        const std::optional<JpegFrame> frame = readJpegFrame(bytes);
        if (!frame)
            return std::nullopt;
        return frame->coefficientBytes() + frame->rowBufferBytes() +
               qint64(output.width()) * output.height() * 4;
    }
    return qint64(size.width()) * size.height() * bytesPerPixel;
}

}  // namespace nupo
