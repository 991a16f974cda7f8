// The old data file reader on any file: it loads every file of at least a header and one sample per
// channel (the format has no mark to tell it from other data) and refuses shorter ones, leaving the
// recording as it was; what it loads is exactly the file's bit-reversed bytes.

#include "FuzzSupport.h"

#include "core/QXSerialPort.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <string>

using namespace nupo;

namespace {

constexpr int bufferSamples = 2048;  // a small recording buffer keeps each run short
int memoryFile = -1;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    MAXbuffer = bufferSamples;
    maxploop = 0;
    std::fclose(stdout);  // the reader's lines about refused files
    memoryFile = memfd_create("olddata", 0);
    FUZZ_CHECK(memoryFile >= 0);
    FUZZ_CHECK(nativePathToC(QByteArray("/proc/self/fd/") + QByteArray::number(memoryFile)));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FUZZ_CHECK(ftruncate(memoryFile, 0) == 0);
    FUZZ_CHECK(pwrite(memoryFile, data, size, 0) == ssize_t(size));

    QXSerialPort& port = QXSerialPort::sharedQXSerialPort();
    const int before = maxploop.load();
    const int firstBefore = port.getIntFromBuffer(1, 0);
    const int loaded = port.openOldFileToBuffer();

    const long perChannel = size >= std::size_t(QXSerialPort::oldFileHeaderBytes)
                                ? long(size - QXSerialPort::oldFileHeaderBytes) / 2
                                : 0;
    if (perChannel == 0) {
        FUZZ_CHECK(loaded == 0);
        FUZZ_CHECK(maxploop.load() == before);
        FUZZ_CHECK(port.getIntFromBuffer(1, 0) == firstBefore);
        return 0;
    }
    FUZZ_CHECK(loaded == 1);
    const int n = int(std::min<long>(perChannel, bufferSamples));
    FUZZ_CHECK(maxploop.load() == n);
    const std::uint8_t* body = data + QXSerialPort::oldFileHeaderBytes;
    for (int i = 0; i < n; ++i) {
        FUZZ_CHECK(port.getIntFromBuffer(1, i) ==
                   QXSerialPort::sampleFromByte(QXSerialPort::bitReversed(body[i])));
        FUZZ_CHECK(port.getIntFromBuffer(2, i) ==
                   QXSerialPort::sampleFromByte(QXSerialPort::bitReversed(body[perChannel + i])));
    }
    return 0;
}
