// A program for the ThreadSanitizer check (PlantedRaceTest.sh). "race": a worker thread writes a plain
// int that the main thread then reads with nothing ordering the two, both in functions of ours, on
// threads and event loops of Qt; it must be reported through the project's suppressions. "handover":
// the same write and read, the read handed to the main thread by performOnMainThread; it must not be.
#include "platform/appkit/MainThread.h"
#include "platform/appkit/WorkerThread.h"

#include <QCoreApplication>
#include <QTimer>

#include <atomic>
#include <cstdio>
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

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
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
