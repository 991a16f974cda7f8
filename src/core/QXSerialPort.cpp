#include "core/QXSerialPort.h"

#include "platform/files/CheckedFile.h"
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
        return refuseOldFile(reason);
    }
    if (size < oldFileHeaderBytes) {
        report(QStringLiteral("openOldFileToBuffer: %1 is shorter than its %2-byte header; nothing loaded.")
                   .arg(path, QString::number(oldFileHeaderBytes)));
        return refuseOldFile(size == 0 ? QStringLiteral("the file is empty")
                                       : QStringLiteral("it is shorter than a recording's %1-byte header")
                                             .arg(oldFileHeaderBytes));
    }
    const qint64 perChannel = (size - oldFileHeaderBytes) / 2;
    if (perChannel == 0) {
        report(QStringLiteral("openOldFileToBuffer: %1 holds no samples; nothing loaded.").arg(path));
        return refuseOldFile(QStringLiteral("it holds a header but no samples"));
    }

    initMalloc();
    const int limit = std::max(0, MAXbuffer.load(std::memory_order_relaxed));
    const int n = int(std::min<qint64>(perChannel, std::min(limit, capacity() - spareSamples)));
    if (n <= 0) {
        report(QStringLiteral("openOldFileToBuffer: the recording buffer holds no samples; nothing loaded."));
        return refuseOldFile(QStringLiteral("the recording buffer holds no samples"));
    }

    std::vector<unsigned char> first;
    std::vector<unsigned char> second;
    if (!readBytesAt(file.fd, oldFileHeaderBytes, n, first, reason) ||
        !readBytesAt(file.fd, oldFileHeaderBytes + perChannel, n, second, reason)) {
        report(
            QStringLiteral("openOldFileToBuffer: reading %1 failed: %2; nothing loaded.").arg(path, reason));
        return refuseOldFile(QStringLiteral("reading it failed: %1").arg(reason));
    }
    if (n < perChannel)
        report(
            QStringLiteral("openOldFileToBuffer: %1 holds %2 samples per channel; the first %3 were loaded "
                           "(the recording buffer's limit).")
                .arg(path, QString::number(perChannel), QString::number(n)));

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
    failure.clear();
    return 1;
}

int QXSerialPort::refuseOldFile(const QString& reason)
{
    failure = reason;
    return 0;
}

}  // namespace nupo
