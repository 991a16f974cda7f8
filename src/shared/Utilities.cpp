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
    return nativePathToC(QFile::encodeName(string), buffer, size);
}

bool NSStringToC(const QString& string)
{
    return NSStringToC(string, outCHAR, sizeof outCHAR);
}

bool nativePathToC(const QByteArray& path, char* buffer, std::size_t size)
{
    if (!buffer || size == 0)
        return false;
    buffer[0] = 0;
    if (std::size_t(path.size()) + 1 > size) {
        report(QStringLiteral("Path too long (%1 bytes, at most %2): %3")
                   .arg(path.size())
                   .arg(size - 1)
                   .arg(displayPath(path)));
        return false;
    }
    if (path.contains('\0')) {
        report(QStringLiteral("Path with a zero byte, which no file name holds: %1").arg(displayPath(path)));
        return false;
    }
    std::memcpy(buffer, path.constData(), std::size_t(path.size()) + 1);
    return true;
}

bool nativePathToC(const QByteArray& path)
{
    return nativePathToC(path, outCHAR, sizeof outCHAR);
}

QString asSentence(const QString& reason)
{
    QString sentence = reason.trimmed();
    if (sentence.isEmpty())
        return sentence;
    sentence[0] = sentence[0].toUpper();
    if (!sentence.endsWith(QLatin1Char('.')) && !sentence.endsWith(QLatin1Char('!')) &&
        !sentence.endsWith(QLatin1Char('?')))
        sentence += QLatin1Char('.');
    return sentence;
}

QString displayPath(const QByteArray& path)
{
    QString shown;
    shown.reserve(path.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(path.constData());
    const qsizetype size = path.size();
    for (qsizetype i = 0; i < size;) {
        const unsigned char lead = bytes[i];
        // Length of a well-formed UTF-8 sequence starting here (no overlong forms, no surrogates,
        // nothing above U+10FFFF), or 0.
        int length = 0;
        if (lead >= 0x20 && lead < 0x7F) {
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xF4) {
            length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            const unsigned char second = i + 1 < size ? bytes[i + 1] : 0;
            const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
            const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
            if (i + length > size || second < low || second > high)
                length = 0;
            for (int k = 2; k < length; ++k) {
                if ((bytes[i + k] & 0xC0) != 0x80)
                    length = 0;
            }
        }
        if (length == 0) {
            shown += QStringLiteral("\\x%1").arg(uint(lead), 2, 16, QLatin1Char('0'));
            ++i;
            continue;
        }
        const QString decoded = QString::fromUtf8(path.constData() + i, length);
        // C1 controls (U+0080..U+009F) break lines on some terminals too.
        if (length == 2 && decoded.at(0).unicode() < 0xA0) {
            for (int k = 0; k < length; ++k)
                shown += QStringLiteral("\\x%1").arg(uint(bytes[i + k]), 2, 16, QLatin1Char('0'));
        } else {
            shown += decoded;
        }
        i += length;
    }
    return shown;
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
