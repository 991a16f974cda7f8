// A program for the ThreadSanitizer check (PlantedRaceTest.sh). "race": a worker thread writes a plain
// int that the main thread then reads with nothing ordering the two, both in functions of ours, on
// threads and event loops of Qt; it must be reported through the project's suppressions. "handover":
// the same write and read, the read handed to the main thread by performOnMainThread; it must not be.
// "image": Qt fills and converts an image large enough for its thread pool, and our code then writes
// into the result, as the plot frames' rasterizer does; nothing may be reported. "wake": Qt wakes the
// event loop of a thread it started, as it does its D-Bus thread's in the window tests; nothing may be
// reported. "post": a worker posts two events to an object of the main thread through postToMainThread,
// the second while the first still waits, and the object reads them through handedOverEventType; nothing
// may be reported.
#include "platform/appkit/MainThread.h"
#include "platform/appkit/WorkerThread.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int plantedValue = 0;
std::atomic<bool> written{false};  // relaxed: tells the main thread when to read, orders nothing

__attribute__((noinline)) void plantedWrite()
{
    plantedValue = 42;
    written.store(true, std::memory_order_relaxed);
}

__attribute__((noinline)) int plantedRead()
{
    return plantedValue;
}

// Has Qt fill a large image with a see-through colour and convert it in place, both in bands on its
// pool where it lets one (as a plot frame's kept background is made), and writes a pixel of the result.
__attribute__((noinline)) int fillConvertAndWrite()
{
    QImage image(1024, 1024, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.fillRect(image.rect(), QColor(10, 20, 30, 128));
    }
    image.convertTo(QImage::Format_RGB32);
    auto* pixels = reinterpret_cast<QRgb*>(image.bits());
    const int before = qBlue(pixels[1024 * 700 + 5]);
    pixels[1024 * 700 + 5] = qRgb(1, 2, 3);
    return before * 1000 + qBlue(pixels[1024 * 700 + 5]);
}

// Notes, without ordering anything (relaxed), that its thread's event loop has delivered an event.
class LoopProbe : public QObject {
public:
    std::atomic<bool> delivered{false};
    bool event(QEvent*) override
    {
        delivered.store(true, std::memory_order_relaxed);
        return true;
    }
};

// Starts a thread with an event loop and, once Qt has made that thread's event dispatcher there, posts
// an event to it, which Qt wakes the thread for through the eventfd that the dispatcher made on that
// thread. This thread learns of the dispatcher only through Qt's atomic, which orders nothing, as Qt's
// posts to its D-Bus thread order nothing that ThreadSanitizer sees.
__attribute__((noinline)) void wakeAThreadQtStarted()
{
    QThread thread;
    LoopProbe probe;
    probe.moveToThread(&thread);
    thread.start();
    while (thread.eventDispatcher() == nullptr)
        QThread::yieldCurrentThread();
    QCoreApplication::postEvent(&probe, new QEvent(QEvent::User));
    while (!probe.delivered.load(std::memory_order_relaxed))
        QThread::yieldCurrentThread();
    thread.quit();
    thread.wait();
}

QEvent::Type plantedEventType()
{
    static const auto registered = static_cast<QEvent::Type>(QEvent::registerEventType());
    return registered;
}

// Counts the planted events delivered to it on the main thread and ends the loop at the second.
class PostedEventCounter : public QObject {
public:
    int received = 0;
    bool event(QEvent* event) override
    {
        if (nupo::handedOverEventType(event) != plantedEventType())
            return QObject::event(event);
        if (++received == 2)
            QCoreApplication::quit();
        return true;
    }
};

// The main thread runs its loop only once both events are posted (learnt through a relaxed atomic, which
// orders nothing), so Qt's event loop wakes it once, through an eventfd whose write and read order only
// what came before the first post.
__attribute__((noinline)) int postTwoEventsFromAWorker()
{
    PostedEventCounter counter;
    const QEvent::Type type = plantedEventType();
    std::atomic<bool> posted{false};
    nupo::WorkerThread worker(QStringLiteral("Planted posts"));
    worker.start();
    worker.runOnThread([&counter, &posted, type] {
        nupo::postToMainThread(&counter, new QEvent(type));
        nupo::postToMainThread(&counter, new QEvent(type));
        posted.store(true, std::memory_order_relaxed);
    });
    while (!posted.load(std::memory_order_relaxed))
        QThread::yieldCurrentThread();
    QCoreApplication::exec();
    worker.stop();
    return counter.received;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "image") == 0) {
        // Half of white and half of blue 30, then the blue written.
        const int blues = fillConvertAndWrite();
        std::printf("blue %d then %d\n", blues / 1000, blues % 1000);
        return std::abs(blues / 1000 - 142) <= 1 && blues % 1000 == 3 ? 0 : 1;
    }
    if (argc > 1 && std::strcmp(argv[1], "wake") == 0) {
        wakeAThreadQtStarted();
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "post") == 0) {
        const int received = postTwoEventsFromAWorker();
        std::printf("received %d\n", received);
        return received == 2 ? 0 : 1;
    }
    const bool race = argc > 1 && std::strcmp(argv[1], "race") == 0;
    int seen = 0;
    nupo::WorkerThread worker(QStringLiteral("Planted race"));
    worker.start();
    QTimer poll;
    if (race) {
        worker.runOnThread(plantedWrite);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!written.load(std::memory_order_relaxed))
                return;
            seen = plantedRead();
            QCoreApplication::quit();
        });
        poll.start(1);
    } else {
        worker.runOnThread([&seen] {
            plantedWrite();
            nupo::performOnMainThread([&seen] {
                seen = plantedRead();
                QCoreApplication::quit();
            });
        });
    }
    QCoreApplication::exec();
    worker.stop();
    std::printf("read %d\n", seen);
    return seen == 42 ? 0 : 1;
}
