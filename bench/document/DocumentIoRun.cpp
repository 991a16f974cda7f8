// How long the main thread goes without answering while File ▸ Save and File ▸ Revert wait on a slow
// drive: each write (or read) is held for a set time by the file hooks, as a drive at a few hundred
// milliseconds a block with a slow sync would. Measured for the way the program saves and reverts (on
// workers) and, for comparison, for the same work done on the main thread, with a small document and
// with the longest recording. Not a Google benchmark: it prints the figures.
//
//   bench_document_io [held milliseconds, default 3000]
#include "app/Wiring.h"
#include "document/NUPO4DrawDocument.h"
#include "document/ui/NUPO4DocumentController.h"
#include "platform/files/CheckedFile.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>

using namespace nupo;

namespace {

std::atomic<int> heldMs{3000};

void slowDrive(const QByteArray&)
{
    QThread::msleep(static_cast<unsigned long>(heldMs.load()));
}

// The longest time between two turns of the main thread's event loop from start() until done() holds,
// start() included.
double longestBlockMs(const std::function<void()>& start, const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer beat;
    beat.setInterval(1);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    beat.start();
    start();
    longest = std::max(longest, clock.nsecsElapsed() - last);
    last = clock.nsecsElapsed();
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    longest = std::max(longest, clock.nsecsElapsed() - last);
    return double(longest) / 1e6;
}

void fillRecording(int samples)
{
    maxploop = samples;
    RecordingBuffers& buffers = RecordingBuffers::sharedRecordingBuffers();
    buffers.allocate();
    for (int c = 0; c < RecordingBuffers::channelCount; ++c)
        for (int i = 0; i < samples; ++i)
            buffers.putSampleAt(c, i, (i * (c + 5)) % 1021 - 510);
}

void measure(const char* what, const QString& path)
{
    NUPO4DocumentController& controller = NUPO4DocumentController::sharedNUPO4DocumentController();
    NUPO4DrawDocument& document = NUPO4DrawDocument::sharedNUPO4DrawDocument();
    const QByteArray file = QFile::encodeName(path);
    setWriteHookForTests(nullptr);
    setReadHookForTests(nullptr);
    controller.saveDocumentTo(path);
    const qint64 bytes = QFileInfo(path).size();

    setWriteHookForTests(&slowDrive);
    const double saveBefore = longestBlockMs([&] { document.writeToFile(file); }, [] { return true; });
    GridSize2DBarX = GridSize2DBarX == 5 ? 6 : 5;
    const double saveAfter = longestBlockMs([&] { controller.saveDocument(nullptr); },
                                            [&] { return !controller.isSavingDocument(); });
    setWriteHookForTests(nullptr);

    setReadHookForTests(&slowDrive);
    const double revertBefore = longestBlockMs([&] { controller.openDocumentAt(file); }, [] { return true; });
    GridSize2DBarX = GridSize2DBarX == 5 ? 6 : 5;
    const double revertAfter = longestBlockMs([&] { controller.revertDocumentToSaved(nullptr); },
                                              [&] { return !controller.isReadingDocument(); });
    setReadHookForTests(nullptr);

    std::printf("%s (%.1f MB), each write or read held %d ms:\n", what, double(bytes) / 1e6, heldMs.load());
    std::printf("  save:   main thread blocked %7.1f ms on the main thread, %7.1f ms saving on a worker\n",
                saveBefore, saveAfter);
    std::printf("  revert: main thread blocked %7.1f ms on the main thread, %7.1f ms reading on a worker\n",
                revertBefore, revertAfter);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1)
        heldMs = std::max(0, QByteArray(argv[1]).toInt());
    installLinks();
    NUPO4DocumentController::installDocument([] { return false; });
    NUPO4DocumentController& controller = NUPO4DocumentController::sharedNUPO4DocumentController();
    controller.tellUser = [](const QString& message) { std::printf("told: %s\n", qPrintable(message)); };
    controller.askToRevert = [](const QString&) { return true; };
    setPauseX = 1;
    QTemporaryDir folder;

    fillRecording(20000);
    measure("small document", folder.filePath(QStringLiteral("small.nupo4")));
    fillRecording(MAXbuffer.load());
    measure("longest recording", folder.filePath(QStringLiteral("long.nupo4")));
    return 0;
}
