#include "core/QXSerialPort.h"

#include "shared/CoreState.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace nupo {

namespace {

void report(const QString& line)
{
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

// Reads count bytes at offset into out; false when the file gives fewer.
bool readBytesAt(QFile& file, qint64 offset, int count, std::vector<unsigned char>& out)
{
    out.resize(std::size_t(count));
    if (!file.seek(offset))
        return false;
    return file.read(reinterpret_cast<char*>(out.data()), count) == count;
}

}  // namespace

QXSerialPort& QXSerialPort::sharedQXSerialPort()
{
    static QXSerialPort* instance = new QXSerialPort;  // lives to process end
    return *instance;
}

void QXSerialPort::initMalloc(QObject*)
{
    buffers.allocate();
}

void QXSerialPort::recCleare()
{
    buffers.clear();
}

int QXSerialPort::capacity() const
{
    return buffers.capacity();
}

int QXSerialPort::getIntFromBuffer(int channel, int samplepoint) const
{
    return buffers.getIntFromBuffer(channel, samplepoint);
}

int QXSerialPort::getByteFromBuffer(int channel, int samplepoint) const
{
    return buffers.getByteFromBuffer(channel, samplepoint);
}

void QXSerialPort::putIntToBuffer(int channel, int samplepoint, int dataX)
{
    buffers.putIntToBuffer(channel, samplepoint, dataX);
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
    const QString path = QFile::decodeName(outCHAR);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        report(QStringLiteral("Failed to open openOldFileToBuffer 'dat, data'."));
        return 0;
    }
    const qint64 size = file.size();
    if (size < oldFileHeaderBytes) {
        report(QStringLiteral("openOldFileToBuffer: %1 is shorter than its %2-byte header; nothing loaded.")
                   .arg(path)
                   .arg(oldFileHeaderBytes));
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
    if (!readBytesAt(file, oldFileHeaderBytes, n, first) ||
        !readBytesAt(file, oldFileHeaderBytes + perChannel, n, second)) {
        report(QStringLiteral("openOldFileToBuffer: reading %1 failed; nothing loaded.").arg(path));
        return 0;
    }
    if (n < perChannel)
        report(
            QStringLiteral("openOldFileToBuffer: %1 holds %2 samples per channel; the first %3 were loaded "
                           "(the recording buffer's limit).")
                .arg(path)
                .arg(perChannel)
                .arg(n));

    for (int i = 0; i < n; ++i) {
        buffers.putSampleAt(1, i, sampleFromByte(bitReversed(first[std::size_t(i)])));
        buffers.putSampleAt(2, i, sampleFromByte(bitReversed(second[std::size_t(i)])));
    }
    // Nothing of an earlier, longer recording shows through past the new end.
    for (int i = n, end = capacity(); i < end; ++i) {
        buffers.putSampleAt(1, i, 0);
        buffers.putSampleAt(2, i, 0);
    }
    maxploop.store(n, std::memory_order_relaxed);
    return 1;
}

}  // namespace nupo
