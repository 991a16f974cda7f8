#include "support/TestMedia.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace nupo::test {

namespace {

// Frame n is drawn with the grey level 20 + 10 n.
constexpr int firstLuma = 20;
constexpr int lumaStep = 10;

// Runs a program to its end; true when it exits with 0, else its error output in `why`. A plain fork and
// exec: the thread sanitizer's runtime cannot follow the clone() that QProcess starts programs with.
bool runToEnd(const QString& program, const QStringList& arguments, QString* why)
{
    std::vector<QByteArray> bytes{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        bytes.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    int errors[2];
    if (pipe(errors) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        dup2(errors[1], STDERR_FILENO);
        close(errors[0]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(errors[1]);
    QByteArray told;
    char chunk[512];
    for (ssize_t n; (n = read(errors[0], chunk, sizeof chunk)) > 0;)
        told.append(chunk, n);
    close(errors[0]);
    int status = 0;
    const bool ended = child > 0 && waitpid(child, &status, 0) == child;
    if (ended && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return true;
    if (why)
        *why = QString::fromLocal8Bit(told);
    return false;
}

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
    if (!runToEnd(ffmpeg,
                  {"-loglevel", "error", "-f", "lavfi", "-i", filter, "-c:v", "mpeg4", "-q:v", "1", movie},
                  why))
        return {};
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
