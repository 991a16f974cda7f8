#pragma once

// What a picture decoder will allocate, worked out from the file's header before it decodes, so that a
// small file claiming a huge picture is refused before any memory is taken.

#include <QByteArray>
#include <QSize>

#include <optional>

namespace nupo {

// A JPEG's frame as its header gives it (the SOF segment and the first scan's header).
struct JpegFrame {
    int width = 0;
    int height = 0;
    int precision = 8;  // bits per sample
    int components = 0;
    // The decoder keeps every coefficient of the whole picture before it puts out a row: a progressive
    // or hierarchical frame, or a sequential one whose first scan holds only some of the components.
    bool wholeImage = false;
    bool progressive = false;
    // Sampling factors of each component, 1 to 4 (at most maxComponents components, as the decoder takes).
    static constexpr int maxComponents = 10;
    int hSampling[maxComponents] = {};
    int vSampling[maxComponents] = {};
    int maxHSampling = 1;
    int maxVSampling = 1;
    // Bytes of the whole-picture coefficient store (0 for a frame decoded row by row).
    qint64 coefficientBytes() const;
    // Bytes of the row buffers the decoder keeps as it puts out rows.
    qint64 rowBufferBytes() const;
};

// Reads the frame from a JPEG's bytes: the markers from the start up to the first scan, each segment by
// its stated length, never beyond the bytes. Nothing when it holds no complete frame and scan header.
std::optional<JpegFrame> readJpegFrame(const QByteArray& bytes);

// Bytes a decoder of type allocates to decode the picture in bytes, of size and depth bits per pixel (0
// when not known: taken as 32), putting out output (the corner it reads, or the whole size). A JPEG
// decoder holds its rows or, for a whole-image frame, every coefficient of the picture (see JpegFrame),
// and the output; every other decoder holds the whole picture at its depth. Nothing for a JPEG whose frame
// cannot be read.
std::optional<qint64> decoderBytes(const QByteArray& type, const QByteArray& bytes, QSize size, int depth,
                                   QSize output);

}  // namespace nupo
