#include "shared/RecordingBuffers.h"

#include "shared/CoreState.h"

#include <algorithm>

namespace nupo {

namespace {

constexpr int unmarkedKey = 49;  // the space bar's key code: an unmarked sample of channel 0

}  // namespace

RecordingBuffers::Buffers::Buffers(int capacity) : capacity(capacity)
{
    for (int c = 0; c < channelCount; ++c) {
        samples[c] = std::make_unique<std::atomic<int>[]>(std::size_t(capacity));
        bytes[c] = std::make_unique<std::atomic<unsigned char>[]>(std::size_t(capacity));
    }
    empty(*this, capacity);
}

RecordingBuffers& RecordingBuffers::sharedRecordingBuffers()
{
    static RecordingBuffers* instance = new RecordingBuffers;  // lives to process end
    return *instance;
}

RecordingBuffers::RecordingBuffers()
{
    allocate();
    clear();
}

void RecordingBuffers::allocate()
{
    const int wanted =
        std::max(maxploop.load(std::memory_order_relaxed), MAXbuffer.load(std::memory_order_relaxed)) +
        spareSamples;
    std::lock_guard lock(allocationMutex);
    const Buffers* old = current();
    if (old && old->capacity >= wanted)
        return;
    auto fresh = std::make_unique<Buffers>(wanted);
    if (old) {
        // Carry the recording over, so a larger allocation loses nothing.
        const int end = old->touched.load(std::memory_order_relaxed);
        fresh->touched.store(end, std::memory_order_relaxed);
        for (int c = 0; c < channelCount; ++c) {
            for (int i = 0; i < end; ++i) {
                fresh->samples[c][i].store(old->samples[c][i].load(std::memory_order_relaxed),
                                           std::memory_order_relaxed);
                fresh->bytes[c][i].store(old->bytes[c][i].load(std::memory_order_relaxed),
                                         std::memory_order_relaxed);
            }
        }
    }
    buffers.store(fresh.get(), std::memory_order_release);
    allocations.push_back(std::move(fresh));
}

int RecordingBuffers::capacity() const
{
    const Buffers* b = current();
    return b ? b->capacity : 0;
}

void RecordingBuffers::clear()
{
    const Buffers* b = current();
    if (b && empty(*b, b->touched.load(std::memory_order_relaxed)))
        changes.fetch_add(1, std::memory_order_relaxed);
}

bool RecordingBuffers::empty(const Buffers& b, int end)
{
    bool changed = false;
    for (int c = 0; c < channelCount; ++c) {
        const int value = c == 0 ? unmarkedKey : 0;
        const unsigned char byte = byteFromSample(value);
        for (int i = 0; i < end; ++i) {
            if (b.samples[c][i].load(std::memory_order_relaxed) != value) {
                b.samples[c][i].store(value, std::memory_order_relaxed);
                changed = true;
            }
            b.bytes[c][i].store(byte, std::memory_order_relaxed);
        }
    }
    return changed;
}

int RecordingBuffers::lastPoint(const Buffers& b) const
{
    return std::max(std::min(maxploop.load(std::memory_order_relaxed), b.capacity - 1), 0);
}

int RecordingBuffers::clampedPoint(const Buffers& b, int samplepoint) const
{
    return std::clamp(samplepoint, 0, lastPoint(b));
}

void RecordingBuffers::store(const Buffers& b, int channel, int index, int value)
{
    if (b.samples[channel][index].load(std::memory_order_relaxed) != value) {
        b.samples[channel][index].store(value, std::memory_order_relaxed);
        changes.fetch_add(1, std::memory_order_relaxed);
    }
    b.bytes[channel][index].store(byteFromSample(value), std::memory_order_relaxed);
    int mark = b.touched.load(std::memory_order_relaxed);
    while (index >= mark && !b.touched.compare_exchange_weak(mark, index + 1, std::memory_order_relaxed)) {
    }
}

int RecordingBuffers::getIntFromBuffer(int channel, int samplepoint) const
{
    const Buffers* b = current();
    if (!b || channel < 0 || channel >= channelCount)
        return 0;
    return b->samples[channel][clampedPoint(*b, samplepoint)].load(std::memory_order_relaxed);
}

void RecordingBuffers::copyFromBuffer(int channel, int from, int count, int* out) const
{
    readFromBuffer(channel, from, count, [out](int i, int sample) { out[i] = sample; });
}

int RecordingBuffers::getByteFromBuffer(int channel, int samplepoint) const
{
    const Buffers* b = current();
    if (!b || channel < 0 || channel >= channelCount)
        return 0;
    return b->bytes[channel][clampedPoint(*b, samplepoint)].load(std::memory_order_relaxed);
}

void RecordingBuffers::putIntToBuffer(int channel, int samplepoint, int dataX)
{
    const Buffers* b = current();
    if (!b || channel < 0 || channel >= channelCount)
        return;
    store(*b, channel, clampedPoint(*b, samplepoint), dataX);
}

void RecordingBuffers::putSampleAt(int channel, int index, int dataX)
{
    const Buffers* b = current();
    if (!b || channel < 0 || channel >= channelCount || index < 0 || index >= b->capacity)
        return;
    store(*b, channel, index, dataX);
}

unsigned char RecordingBuffers::byteFromSample(int sample)
{
    return static_cast<unsigned char>(std::clamp((sample + 512) / 4, 0, 255));
}

}  // namespace nupo
