#pragma once

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace nupo {

// The recording: five channels 0..4 of int samples, each with a byte-coded twin (the device's byte,
// sample = 4 x byte - 512). Channel 0 carries key markers (49 where unmarked).
//
// Samples are atomics, so the acquisition threads, the analysis timer and the main thread may read and
// write them at the same time without locks. The buffers are allocated for `MAXbuffer` samples (or
// `maxploop`, when larger) plus 2000, so a recording can grow to `MAXbuffer` without reallocation; an
// allocation that is replaced stays alive until the process ends, so a reader never sees freed memory.
class RecordingBuffers {
public:
    static constexpr int channelCount = 5;
    static constexpr int spareSamples = 2000;

    // Allocated and emptied on first use.
    static RecordingBuffers& sharedRecordingBuffers();

    // Allocates the buffers (if not yet large enough for `maxploop` / `MAXbuffer`), keeping what they hold.
    void allocate();
    // Empties the recording: 49 (the space bar's key code) in channel 0, 0 in channels 1..4.
    void clear();

    // Sample of a channel at a point; the point is clamped to 0..`maxploop`; a channel outside 0..4 reads 0.
    int getIntFromBuffer(int channel, int samplepoint) const;
    // The samples of a channel at the points from .. from + count - 1 into out, each point clamped as
    // getIntFromBuffer clamps it, in one call (the analysis reads a window at a time).
    void copyFromBuffer(int channel, int from, int count, int* out) const;
    // The same points, handed to visit(i, sample) for i = 0 .. count - 1 in order instead of copied: for
    // readers that transform the samples on the way (the analysis windows them in the same pass).
    template <class Visit>
    void readFromBuffer(int channel, int from, int count, Visit&& visit) const;
    // Stores a sample at a point clamped to 0..`maxploop`; a channel outside 0..4 stores nothing.
    void putIntToBuffer(int channel, int samplepoint, int dataX);
    // The byte-coded twin of a sample, with the same clamping.
    int getByteFromBuffer(int channel, int samplepoint) const;
    // Stores a sample at an index below capacity(), whatever `maxploop` is (a recording being loaded sets
    // `maxploop` after its samples are in). Anything outside stores nothing.
    void putSampleAt(int channel, int index, int dataX);

    // Samples per channel the buffers hold.
    int capacity() const;

    // Counts the writes that changed a sample (storing the value a sample holds is none), emptying
    // included: equal counts mean an unchanged recording, whatever points were written.
    unsigned long long changeCount() const { return changes.load(std::memory_order_relaxed); }

    // Device byte <-> sample coding of the byte twins.
    static int sampleFromByte(unsigned char byte) { return 4 * int(byte) - 512; }
    static unsigned char byteFromSample(int sample);

private:
    RecordingBuffers();

    struct Buffers {
        // Holds the empty recording.
        explicit Buffers(int capacity);
        int capacity;
        std::unique_ptr<std::atomic<int>[]> samples[channelCount];
        std::unique_ptr<std::atomic<unsigned char>[]> bytes[channelCount];
        // Every point ever stored lies below this mark; past it the buffers hold the empty recording, so
        // emptying touches only what a recording used, not the whole allocation.
        mutable std::atomic<int> touched{0};
    };

    // The current buffers, or null before the first allocation.
    const Buffers* current() const { return buffers.load(std::memory_order_acquire); }
    int lastPoint(const Buffers& b) const;
    int clampedPoint(const Buffers& b, int samplepoint) const;
    void store(const Buffers& b, int channel, int index, int value);
    // Empties the points 0 .. end - 1; whether a sample changed.
    static bool empty(const Buffers& b, int end);

    std::atomic<Buffers*> buffers{nullptr};
    std::atomic<unsigned long long> changes{0};
    std::mutex allocationMutex;
    std::vector<std::unique_ptr<Buffers>> allocations;  // every allocation ever made, kept to process end
};

template <class Visit>
void RecordingBuffers::readFromBuffer(int channel, int from, int count, Visit&& visit) const
{
    const Buffers* b = current();
    if (!b || channel < 0 || channel >= channelCount) {
        for (int i = 0; i < count; ++i)
            visit(i, 0);
        return;
    }
    const std::atomic<int>* samples = b->samples[channel].get();
    const int last = lastPoint(*b);
    // Points before 0 read the first sample, points after the last one the last; the rest in one run.
    int i = 0;
    for (; i < count && from + i < 0; ++i)
        visit(i, samples[0].load(std::memory_order_relaxed));
    const int inside = std::min(count, last - from + 1);
    // Unrolled: the loads cannot be merged into vector loads, so the loop's own steps would otherwise
    // cost as much as the copy.
#pragma GCC unroll 8
    for (; i < inside; ++i)
        visit(i, samples[from + i].load(std::memory_order_relaxed));
    for (; i < count; ++i)
        visit(i, samples[last].load(std::memory_order_relaxed));
}

}  // namespace nupo
