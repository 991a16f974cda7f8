#include "core/QXSerialPort.h"

#include "shared/CoreState.h"
#include "shared/Utilities.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace nupo {

namespace {

constexpr int unmarkedKey = 49;  // the space bar's key code: an unmarked sample of channel 0

void report(const QString& line)
{
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

struct FileDescriptor {
    explicit FileDescriptor(int fd) : fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    const int fd;
};

// Reads count bytes at offset into out; false, with the reason, when the file gives fewer.
bool readBytesAt(int fd, qint64 offset, int count, std::vector<unsigned char>& out, QString& reason)
{
    out.resize(std::size_t(count));
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got = ::pread(fd, out.data() + done, out.size() - done, off_t(offset) + off_t(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            reason = got < 0 ? QString::fromLocal8Bit(std::strerror(errno))
                             : QStringLiteral("the file ended early (was it changed while being read?)");
            return false;
        }
        done += std::size_t(got);
    }
    return true;
}

}  // namespace

QXSerialPort::Buffers::Buffers(int capacity) : capacity(capacity)
{
    for (int c = 0; c < channelCount; ++c) {
        samples[c] = std::make_unique<std::atomic<int>[]>(std::size_t(capacity));
        bytes[c] = std::make_unique<std::atomic<unsigned char>[]>(std::size_t(capacity));
    }
}

QXSerialPort& QXSerialPort::sharedQXSerialPort()
{
    static QXSerialPort* instance = new QXSerialPort;  // lives to process end
    return *instance;
}

QXSerialPort::QXSerialPort()
{
    initMalloc();
    recCleare();
}

void QXSerialPort::initMalloc(QObject*)
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
        for (int c = 0; c < channelCount; ++c) {
            for (int i = 0; i < old->capacity; ++i) {
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

int QXSerialPort::capacity() const
{
    const Buffers* b = current();
    return b ? b->capacity : 0;
}

void QXSerialPort::recCleare()
{
    const Buffers* b = current();
    if (!b)
        return;
    for (int c = 0; c < channelCount; ++c) {
        const int value = c == 0 ? unmarkedKey : 0;
        for (int i = 0; i < b->capacity; ++i)
            store(*b, c, i, value);
    }
}

int QXSerialPort::clampedPoint(const Buffers& b, int samplepoint) const
{
    const int last = std::min(maxploop.load(std::memory_order_relaxed), b.capacity - 1);
    return std::clamp(samplepoint, 0, std::max(last, 0));
}

void QXSerialPort::store(const Buffers& b, int channel, int index, int value)
{
    b.samples[channel][index].store(value, std::memory_order_relaxed);
    b.bytes[channel][index].store(byteFromSample(value), std::memory_order_relaxed);
}

int QXSerialPort::getIntFromBuffer(int channel, int samplepoint) const
{
    const Buffers* b = current();
    if (!b || channel < 0 || channel >= channelCount)
        return 0;
    return b->samples[channel][clampedPoint(*b, samplepoint)].load(std::memory_order_relaxed);
}

int QXSerialPort::getByteFromBuffer(int channel, int samplepoint) const
{
    const Buffers* b = current();
    if (!b || channel < 0 || channel >= channelCount)
        return 0;
    return b->bytes[channel][clampedPoint(*b, samplepoint)].load(std::memory_order_relaxed);
}

void QXSerialPort::putIntToBuffer(int channel, int samplepoint, int dataX)
{
    const Buffers* b = current();
    if (!b || channel < 0 || channel >= channelCount)
        return;
    store(*b, channel, clampedPoint(*b, samplepoint), dataX);
}

unsigned char QXSerialPort::byteFromSample(int sample)
{
    return static_cast<unsigned char>(std::clamp((sample + 512) / 4, 0, 255));
}

unsigned char QXSerialPort::bitReversed(unsigned char byte)
{
    unsigned char r = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (byte & (1u << bit))
            r |= static_cast<unsigned char>(0x80u >> bit);
    return r;
}

int QXSerialPort::openOldFileToBuffer()
{
    // The path as the file system holds it: any name opens, also one that is not valid UTF-8.
    const QByteArray nativePath(outCHAR, qsizetype(::strnlen(outCHAR, sizeof outCHAR)));
    const QString path = displayPath(nativePath);
    QString reason;
    qint64 size = 0;
    const FileDescriptor file{openRegularFileForReading(nativePath, &reason, &size)};
    if (file.fd < 0) {
        report(QStringLiteral("Failed to open openOldFileToBuffer 'dat, data'."));
        report(QStringLiteral("openOldFileToBuffer: cannot open %1: %2.")
                   .arg(nativePath.isEmpty() ? QStringLiteral("''") : path, reason));
        return 0;
    }
    if (size < oldFileHeaderBytes) {
        report(QStringLiteral("openOldFileToBuffer: %1 is shorter than its %2-byte header; nothing loaded.")
                   .arg(path, QString::number(oldFileHeaderBytes)));
        return 0;
    }
    const qint64 perChannel = (size - oldFileHeaderBytes) / 2;
    if (perChannel == 0) {
        report(QStringLiteral("openOldFileToBuffer: %1 holds no samples; nothing loaded.").arg(path));
        return 0;
    }

    initMalloc();
    const int limit = std::max(0, MAXbuffer.load(std::memory_order_relaxed));
    const int n = int(std::min<qint64>(perChannel, std::min(limit, capacity() - spareSamples)));
    if (n <= 0) {
        report(QStringLiteral("openOldFileToBuffer: the recording buffer holds no samples; nothing loaded."));
        return 0;
    }

    std::vector<unsigned char> first;
    std::vector<unsigned char> second;
    if (!readBytesAt(file.fd, oldFileHeaderBytes, n, first, reason) ||
        !readBytesAt(file.fd, oldFileHeaderBytes + perChannel, n, second, reason)) {
        report(
            QStringLiteral("openOldFileToBuffer: reading %1 failed: %2; nothing loaded.").arg(path, reason));
        return 0;
    }
    if (n < perChannel)
        report(
            QStringLiteral("openOldFileToBuffer: %1 holds %2 samples per channel; the first %3 were loaded "
                           "(the recording buffer's limit).")
                .arg(path, QString::number(perChannel), QString::number(n)));

    const Buffers& b = *current();
    for (int i = 0; i < n; ++i) {
        store(b, 1, i, sampleFromByte(bitReversed(first[std::size_t(i)])));
        store(b, 2, i, sampleFromByte(bitReversed(second[std::size_t(i)])));
    }
    // Nothing of an earlier, longer recording shows through past the new end.
    for (int i = n; i < b.capacity; ++i) {
        store(b, 1, i, 0);
        store(b, 2, i, 0);
    }
    maxploop.store(n, std::memory_order_relaxed);
    return 1;
}

}  // namespace nupo
