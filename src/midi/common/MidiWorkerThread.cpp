#include "midi/common/MidiWorkerThread.h"

#include <QTimer>

namespace nupo {

namespace {
thread_local bool isWorker = false;
}

MidiWorkerThread::MidiWorkerThread(int interval, std::function<void()> function)
    : intervalMs(interval), tick(std::move(function))
{
    setObjectName(QStringLiteral("MIDI worker"));
}

MidiWorkerThread::~MidiWorkerThread()
{
    quit();
    wait();
}

bool MidiWorkerThread::onWorkerThread()
{
    return isWorker;
}

void MidiWorkerThread::run()
{
    isWorker = true;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [this] { tick(); });
    timer.start(intervalMs);
    exec();
}

}  // namespace nupo
