#include "shared/Utilities.h"

#include "shared/CoreState.h"

#include <QFile>
#include <QSet>

#include <atomic>
#include <mutex>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace nupo {

namespace {

void report(const QString& line)
{
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

// A value below 0.0001 counts as 0: its quotient becomes the given tiny constant.
double quotientOr(float value, double divisor, double tiny)
{
    return value < 0.0001f ? tiny : double(value) / divisor;
}

std::atomic<BSrectangleMover> nativeMover{nullptr};

}  // namespace

void reportOnce(const QString& line)
{
    static std::mutex mutex;
    static QSet<QString> reported;
    {
        const std::lock_guard lock(mutex);
        if (reported.contains(line))
            return;
        reported.insert(line);
    }
    report(line);
}

int SimpleRunAppleScript(const QString& source)
{
    if (AppleScriptON.load(std::memory_order_relaxed) == 0)
        return scriptsSwitchedOff;
    report(QStringLiteral("SimpleRunAppleScript: no script engine on this system; not run: %1")
               .arg(source.left(80).simplified()));
    return noScriptEngine;
}

bool NSStringToC(const QString& string, char* buffer, std::size_t size)
{
    if (!buffer || size == 0)
        return false;
    const QByteArray bytes = QFile::encodeName(string);
    if (std::size_t(bytes.size()) + 1 > size) {
        buffer[0] = 0;
        report(QStringLiteral("Path too long (%1 bytes, at most %2): %3")
                   .arg(bytes.size())
                   .arg(size - 1)
                   .arg(string));
        return false;
    }
    std::memcpy(buffer, bytes.constData(), std::size_t(bytes.size()) + 1);
    return true;
}

bool NSStringToC(const QString& string)
{
    return NSStringToC(string, outCHAR, sizeof outCHAR);
}

bool PtoCstr2(const unsigned char* source, char* destination, std::size_t destinationSize)
{
    if (!destination || destinationSize == 0)
        return false;
    const std::size_t length = source ? source[0] : 0;
    if (length + 1 > destinationSize) {
        destination[0] = 0;
        return false;
    }
    if (length > 0)
        std::memcpy(destination, source + 1, length);
    destination[length] = 0;
    return true;
}

BSrectangleFrame BSrectangleFrameFor(float lowerValue, float upperValue, float lowerHz, float upperHz)
{
    constexpr double hzPerPoint = 0.072463766;
    constexpr double valuePerPoint = 0.09009009;
    const double lowHz = quotientOr(lowerHz, hzPerPoint, 0.000138);
    const double highHz = quotientOr(upperHz, hzPerPoint, 0.000138);
    const double lowValue = quotientOr(lowerValue, valuePerPoint, 0.000111);
    const double negatedHighValue = upperValue < 0.0001f ? -0.000111 : -double(upperValue) / valuePerPoint;

    BSrectangleFrame f;
    f.x = int(lowHz + 36);
    f.y = int(300 + negatedHighValue);
    f.width = int(highHz - f.x + 36);
    f.height = int(300 - lowValue - f.y);
    if (f.width <= 0)
        f.width = 1;
    if (f.height <= 0)
        f.height = 1;
    return f;
}

QString BSrectangleScript(int n, const BSrectangleFrame& f)
{
    return QString::asprintf(
        "tell application \"NUPO4\"\n"
        "set properties of rectangle %1d of front document to "
        "{x position:%4d, y position:%4d, width:%4d, height:%4d}\n"
        "end tell\n",
        n, f.x, f.y, f.width, f.height);
}

int setBSrectangle(int n, float lowerValue, float upperValue, float lowerHz, float upperHz)
{
    if (AppleScriptON.load(std::memory_order_relaxed) == 0)
        return scriptsSwitchedOff;
    const BSrectangleFrame frame = BSrectangleFrameFor(lowerValue, upperValue, lowerHz, upperHz);
    if (const BSrectangleMover mover = nativeMover.load()) {
        mover(n, frame);
        return 0;
    }
    return SimpleRunAppleScript(BSrectangleScript(n, frame));
}

void setBSrectangleMover(BSrectangleMover mover)
{
    nativeMover.store(mover);
}

}  // namespace nupo
