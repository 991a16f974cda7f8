#include <gtest/gtest.h>

#include "core/QXSerialPort.h"
#include "shared/CoreState.h"
#include "support/TestSupport.h"

#include <QByteArray>
#include <QFile>

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

using nupo::QXSerialPort;

namespace {

QXSerialPort& port()
{
    return QXSerialPort::sharedQXSerialPort();
}

void setOutChar(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    ASSERT_LT(bytes.size(), nupo::outCHARSize);
    std::memcpy(nupo::outCHAR, bytes.constData(), std::size_t(bytes.size()) + 1);
}

// Writes an old data file: a header of `headerBytes` bytes, then the given bytes exactly as stored.
QString writeFile(const QString& name, int headerBytes, const QByteArray& body)
{
    const QString path = nupo::test::tempFolder() + "/" + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(headerBytes, char(0x5a)));
    file.write(body);
    return path;
}

unsigned char reverse(unsigned char b)
{
    unsigned char r = 0;
    for (int i = 0; i < 8; ++i)
        r = static_cast<unsigned char>((r << 1) | ((b >> i) & 1));
    return r;
}

}  // namespace

TEST(QXSerialPortBuffers, ReadsAndWritesClampThePointAndIgnoreUnknownChannels)
{
    nupo::maxploop = 1000;
    port().putIntToBuffer(3, 10, 77);
    EXPECT_EQ(port().getIntFromBuffer(3, 10), 77);

    port().putIntToBuffer(1, -5, 11);  // below 0 lands at 0
    EXPECT_EQ(port().getIntFromBuffer(1, 0), 11);
    EXPECT_EQ(port().getIntFromBuffer(1, -100), 11);

    port().putIntToBuffer(2, 5000, 22);  // beyond the end lands at maxploop
    EXPECT_EQ(port().getIntFromBuffer(2, 1000), 22);
    EXPECT_EQ(port().getIntFromBuffer(2, 999999), 22);
    EXPECT_NE(port().getIntFromBuffer(2, 999), 22);

    port().putIntToBuffer(4, 3, 44);
    port().putIntToBuffer(5, 3, 55);
    port().putIntToBuffer(-1, 3, 66);
    EXPECT_EQ(port().getIntFromBuffer(5, 3), 0);
    EXPECT_EQ(port().getIntFromBuffer(-1, 3), 0);
    EXPECT_EQ(port().getIntFromBuffer(4, 3), 44);
    for (int c = 0; c < 4; ++c)
        EXPECT_NE(port().getIntFromBuffer(c, 3), 55);

    // A larger recording length reaches further, within the same allocation.
    nupo::maxploop = 2000;
    EXPECT_EQ(port().getIntFromBuffer(2, 1000), 22);
    port().putIntToBuffer(2, 5000, 23);
    EXPECT_EQ(port().getIntFromBuffer(2, 2000), 23);
}

TEST(QXSerialPortBuffers, ByteTwinFollowsEverySample)
{
    port().putIntToBuffer(1, 7, 4 * 200 - 512);
    EXPECT_EQ(port().getByteFromBuffer(1, 7), 200);
    port().putIntToBuffer(1, 8, 100000);  // out of the device's range: the byte saturates
    EXPECT_EQ(port().getByteFromBuffer(1, 8), 255);
    port().putIntToBuffer(1, 9, -100000);
    EXPECT_EQ(port().getByteFromBuffer(1, 9), 0);
}

TEST(QXSerialPortBuffers, RecCleareMarksChannelZeroAndZeroesTheOthers)
{
    nupo::maxploop = 500;
    for (int c = 0; c < 5; ++c)
        for (int i : {0, 250, 500})
            port().putIntToBuffer(c, i, 1234);
    port().recCleare();
    for (int i : {0, 250, 500}) {
        EXPECT_EQ(port().getIntFromBuffer(0, i), 49);
        for (int c = 1; c < 5; ++c)
            EXPECT_EQ(port().getIntFromBuffer(c, i), 0);
    }
    // Samples beyond the current length are cleared too, so a longer recording starts empty.
    nupo::maxploop = 432000;
    EXPECT_EQ(port().getIntFromBuffer(0, 400000), 49);
    EXPECT_EQ(port().getIntFromBuffer(3, 400000), 0);
}

TEST(QXSerialPortBuffers, InitMallocKeepsTheRecordingWhenTheCeilingRises)
{
    const int before = port().capacity();
    EXPECT_GE(before, nupo::MAXbuffer.load() + QXSerialPort::spareSamples);
    nupo::maxploop = 100;
    port().putIntToBuffer(2, 100, 321);
    nupo::MAXbuffer = before + 10;
    port().initMalloc();
    EXPECT_EQ(port().capacity(), before + 10 + QXSerialPort::spareSamples);
    EXPECT_EQ(port().getIntFromBuffer(2, 100), 321);
}

TEST(QXSerialPortOldFile, LoadsBitReversedBytesOfBothChannelsAfterTheHeader)
{
    // Channel 1 then channel 2, three bytes each, stored bit-reversed; one odd trailing byte is ignored.
    const unsigned char ch1[] = {0x80, 0x01, 0xf0};  // reversed: 1, 128, 15
    const unsigned char ch2[] = {0xff, 0x00, 0x40};  // reversed: 255, 0, 2
    QByteArray body;
    body.append(reinterpret_cast<const char*>(ch1), 3);
    body.append(reinterpret_cast<const char*>(ch2), 3);
    body.append(char(0x11));
    setOutChar(writeFile("three.dat", 4096, body));

    port().putIntToBuffer(0, 1, 1049);  // a key marker survives the load
    ASSERT_EQ(port().openOldFileToBuffer(), 1);
    EXPECT_EQ(nupo::maxploop.load(), 3);
    const int expected1[] = {4 * 1 - 512, 4 * 128 - 512, 4 * 15 - 512};
    const int expected2[] = {4 * 255 - 512, 4 * 0 - 512, 4 * 2 - 512};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(port().getIntFromBuffer(1, i), expected1[i]) << i;
        EXPECT_EQ(port().getIntFromBuffer(2, i), expected2[i]) << i;
        EXPECT_EQ(port().getByteFromBuffer(1, i), reverse(ch1[i])) << i;
    }
    EXPECT_EQ(port().getIntFromBuffer(0, 1), 1049);
    // The sample at the end (index maxploop) belongs to no earlier recording.
    EXPECT_EQ(port().getIntFromBuffer(1, 3), 0);
}

TEST(QXSerialPortOldFile, ShortMissingAndEmptyFilesChangeNothing)
{
    nupo::maxploop = 432000;
    port().putIntToBuffer(1, 0, 999);

    setOutChar(writeFile("short.dat", 4000, {}));
    EXPECT_EQ(port().openOldFileToBuffer(), 0);
    setOutChar(writeFile("header-only.dat", 4096, QByteArray(1, char(3))));  // n = 0
    EXPECT_EQ(port().openOldFileToBuffer(), 0);
    setOutChar(nupo::test::tempFolder() + "/missing.dat");
    EXPECT_EQ(port().openOldFileToBuffer(), 0);
    nupo::outCHAR[0] = 0;
    EXPECT_EQ(port().openOldFileToBuffer(), 0);

    EXPECT_EQ(nupo::maxploop.load(), 432000);
    EXPECT_EQ(port().getIntFromBuffer(1, 0), 999);
}

TEST(QXSerialPortOldFile, RefusalsNameTheFileAndTheReason)
{
    const QString folder = nupo::test::tempFolder();
    const QString fifo = folder + "/pipe.dat";
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString plain = writeFile("plain.dat", 4096, QByteArray(10, char(1)));
    nupo::maxploop = 432000;

    struct Case {
        QString path;
        std::string reason;
    };
    const Case cases[] = {
        {folder, "it is a folder, not a file"},
        {fifo, "it is a FIFO (named pipe), not a file"},  // refused at once, never waiting for a writer
        {folder + "/missing.dat", "no such file or folder"},
        {plain + "/inside.dat", "a part of the path is not a folder"},
    };
    for (const Case& c : cases) {
        setOutChar(c.path);
        testing::internal::CaptureStdout();
        EXPECT_EQ(port().openOldFileToBuffer(), 0);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out, "Failed to open openOldFileToBuffer 'dat, data'.\nopenOldFileToBuffer: cannot open " +
                           c.path.toStdString() + ": " + c.reason + ".\n");
    }
    nupo::outCHAR[0] = 0;
    testing::internal::CaptureStdout();
    EXPECT_EQ(port().openOldFileToBuffer(), 0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("cannot open '': no file name."),
              std::string::npos);
    EXPECT_EQ(nupo::maxploop.load(), 432000);
}

TEST(QXSerialPortOldFile, AnyNameTheFileSystemHoldsOpens)
{
    // Not valid UTF-8: a name decoded to text and encoded back would name another file.
    const QByteArray name = QFile::encodeName(nupo::test::tempFolder()) + "/caf\xe9-\xff.dat";
    QByteArray contents(4096, 0);
    contents.append(char(0x80)).append(char(0x01));
    {
        FILE* file = std::fopen(name.constData(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(contents.constData(), 1, std::size_t(contents.size()), file);
        std::fclose(file);
    }
    ASSERT_LT(name.size(), nupo::outCHARSize);
    std::memcpy(nupo::outCHAR, name.constData(), std::size_t(name.size()) + 1);
    ASSERT_EQ(port().openOldFileToBuffer(), 1);
    EXPECT_EQ(nupo::maxploop.load(), 1);
    EXPECT_EQ(port().getIntFromBuffer(1, 0), 4 * 1 - 512);
    EXPECT_EQ(port().getIntFromBuffer(2, 0), 4 * 128 - 512);
}

TEST(QXSerialPortOldFile, OversizedFileLoadsWhatTheBufferHolds)
{
    nupo::MAXbuffer = 100;  // ceiling of a recording, in samples per channel
    const int n = 150;
    QByteArray body(2 * n, 0);
    for (int i = 0; i < n; ++i) {
        body[i] = char(reverse(static_cast<unsigned char>(i)));
        body[n + i] = char(reverse(static_cast<unsigned char>(255 - i)));
    }
    setOutChar(writeFile("long.dat", 4096, body));
    ASSERT_EQ(port().openOldFileToBuffer(), 1);
    EXPECT_EQ(nupo::maxploop.load(), 100);
    EXPECT_EQ(port().getIntFromBuffer(1, 99), 4 * 99 - 512);
    // Channel 2 is read from where it starts in the file, not right after the loaded part of channel 1.
    EXPECT_EQ(port().getIntFromBuffer(2, 0), 4 * 255 - 512);
    EXPECT_EQ(port().getIntFromBuffer(2, 99), 4 * (255 - 99) - 512);
}

TEST(QXSerialPortBuffers, ConcurrentReadersAndWritersSeeWholeSamples)
{
    // Under ThreadSanitizer this also proves the accessors free of data races.
    nupo::maxploop = 4096;
    std::atomic<bool> wrong{false};
    std::thread writer([] {
        for (int round = 0; round < 20; ++round)
            for (int i = 0; i < 4096; ++i)
                port().putIntToBuffer(1, i, (round % 2) ? -7777 : 7777);
    });
    std::thread reader([&wrong] {
        for (int round = 0; round < 20; ++round)
            for (int i = 0; i < 4096; ++i) {
                const int v = port().getIntFromBuffer(1, i);
                if (v != 0 && v != 7777 && v != -7777)
                    wrong = true;
            }
    });
    writer.join();
    reader.join();
    EXPECT_FALSE(wrong.load());
}
