#pragma once

#include <QObject>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace nupo {

// The device link and the recording: five channels 0..4 of int samples, each with a byte-coded twin
// (the device's byte, sample = 4 x byte - 512). Channel 0 carries key markers (49 where unmarked).
//
// Samples are atomics, so the acquisition threads, the analysis timer and the main thread may read and
// write them at the same time without locks. The buffers are allocated for `MAXbuffer` samples (or
// `maxploop`, when larger) plus 2000, so a recording can grow to `MAXbuffer` without reallocation; an
// allocation that is replaced stays alive until the process ends, so a reader never sees freed memory.
class QXSerialPort {
public:
    static constexpr int channelCount = 5;
    static constexpr int spareSamples = 2000;
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

    // Samples per channel the buffers hold.
    int capacity() const;

    // Device byte <-> sample coding of the old data files and the byte twins.
    static int sampleFromByte(unsigned char byte) { return 4 * int(byte) - 512; }
    static unsigned char byteFromSample(int sample);
    static unsigned char bitReversed(unsigned char byte);

private:
    QXSerialPort();

    struct Buffers {
        explicit Buffers(int capacity);
        int capacity;
        std::unique_ptr<std::atomic<int>[]> samples[channelCount];
        std::unique_ptr<std::atomic<unsigned char>[]> bytes[channelCount];
    };

    // The current buffers, or null before the first allocation.
    const Buffers* current() const { return buffers.load(std::memory_order_acquire); }
    int clampedPoint(const Buffers& b, int samplepoint) const;
    void store(const Buffers& b, int channel, int index, int value);

    std::atomic<Buffers*> buffers{nullptr};
    std::mutex allocationMutex;
    std::vector<std::unique_ptr<Buffers>> allocations;  // every allocation ever made, kept to process end
};

}  // namespace nupo
