#include "support/TestMedia.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <cmath>
#include <cstdint>

namespace nupo::test {

namespace {

// Frame n is drawn with the grey level 20 + 10 n.
constexpr int firstLuma = 20;
constexpr int lumaStep = 10;

}  // namespace

QString writeTone(const QString& name, double seconds, int rate)
{
    const auto frames = static_cast<std::uint32_t>(seconds * rate);
    QByteArray samples;
    samples.reserve(static_cast<qsizetype>(frames) * 2);
    for (std::uint32_t n = 0; n < frames; ++n) {
        const auto value = static_cast<std::int16_t>(8000 * std::sin(2 * M_PI * 440.0 * n / rate));
        samples.append(static_cast<char>(value & 0xFF));
        samples.append(static_cast<char>((value >> 8) & 0xFF));
    }
    auto u32 = [](std::uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [](std::uint16_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); };
    const auto byteRate = static_cast<std::uint32_t>(rate * 2);
    QByteArray wav = "RIFF" + u32(36 + samples.size()) + "WAVEfmt " + u32(16) + u16(1) + u16(1) +
                     u32(static_cast<std::uint32_t>(rate)) + u32(byteRate) + u16(2) + u16(16) + "data" +
                     u32(samples.size()) + samples;
    const QString path = QDir(tempFolder()).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(wav);
    return path;
}

QString makeCounterMovie(const QString& name, int frames, int fps, QString* why)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty()) {
        if (why)
            *why = QStringLiteral("ffmpeg is needed to make the test movie");
        return {};
    }
    const QString movie = QDir(tempFolder()).filePath(name);
    const QString filter = QStringLiteral(
                               "color=c=black:s=64x48:r=%1:d=%2,format=gray,geq=lum='%3+N*%4',"
                               "drawtext=text='%{frame_num}':fontcolor=white:fontsize=10:x=1:y=1,"
                               "format=yuv420p")
                               .arg(fps)
                               .arg(static_cast<double>(frames) / fps)
                               .arg(firstLuma)
                               .arg(lumaStep);
    QProcess make;
    make.start(ffmpeg,
               {"-loglevel", "error", "-f", "lavfi", "-i", filter, "-c:v", "mpeg4", "-q:v", "1", movie});
    if (!make.waitForFinished(-1) || make.exitCode() != 0) {
        if (why)
            *why = QString::fromLocal8Bit(make.readAllStandardError());
        return {};
    }
    return movie;
}

int counterLevel(int frame)
{
    return firstLuma + lumaStep * frame;
}

int frameOfLevel(int level)
{
    return static_cast<int>(std::lround(static_cast<double>(level - firstLuma) / lumaStep));
}

}  // namespace nupo::test
