#pragma once

#include "shared/RecordingBuffers.h"

#include <QObject>
#include <QString>

namespace nupo {

// The device link and the recording. The recording's samples live in the shared recording buffers
// (shared/RecordingBuffers.h), which the analysis reads directly; the operations here forward to them.
class QXSerialPort {
public:
    static constexpr int channelCount = RecordingBuffers::channelCount;
    static constexpr int spareSamples = RecordingBuffers::spareSamples;
    static constexpr int oldFileHeaderBytes = 4096;

    static QXSerialPort& sharedQXSerialPort();

    // Allocates the recording buffers (if not yet large enough for `maxploop` / `MAXbuffer`).
    void initMalloc(QObject* sender = nullptr);
    // Empties the recording: 49 (the space bar's key code) in channel 0, 0 in channels 1..4.
    void recCleare();

    // Sample of a channel at a point; the point is clamped to 0..`maxploop`; a channel outside 0..4 reads 0.
    int getIntFromBuffer(int channel, int samplepoint) const;
    // Stores a sample at a point clamped to 0..`maxploop`; a channel outside 0..4 stores nothing.
    void putIntToBuffer(int channel, int samplepoint, int dataX);
    // The byte-coded twin of a sample, with the same clamping.
    int getByteFromBuffer(int channel, int samplepoint) const;

    // Opens the old data file whose path is in `outCHAR`: a 4096-byte header, then n bytes of channel 1
    // and n bytes of channel 2, every byte stored bit-reversed. Sets `maxploop` to n. Returns 1 when the
    // recording was loaded, 0 (with nothing changed) when it was not.
    int openOldFileToBuffer();
    // Why the last openOldFileToBuffer loaded nothing, said for the user ("it is a folder, not a file");
    // empty after a recording was loaded.
    const QString& oldFileFailure() const { return failure; }

    // Samples per channel the buffers hold.
    int capacity() const;

    // Device byte <-> sample coding of the old data files and the byte twins.
    static int sampleFromByte(unsigned char byte) { return RecordingBuffers::sampleFromByte(byte); }
    static unsigned char byteFromSample(int sample) { return RecordingBuffers::byteFromSample(sample); }
    static unsigned char bitReversed(unsigned char byte);

private:
    QXSerialPort() = default;
    // Keeps the reason for oldFileFailure() and returns 0, the result of a refused file.
    int refuseOldFile(const QString& reason);

    RecordingBuffers& buffers = RecordingBuffers::sharedRecordingBuffers();
    QString failure;  // main thread
};

}  // namespace nupo
