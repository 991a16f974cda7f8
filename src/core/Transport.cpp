#include "core/Transport.h"

#include "core/QXSerialPort.h"
#include "platform/appkit/NotificationCenter.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"

#include <QFile>

#include <algorithm>
#include <cmath>

namespace nupo {

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
}

double playSpeedFactor(int index)
{
    static constexpr double factors[] = {0.25, 0.5, 1, 1.25, 1.67, 2, 2.5, 5, 10, 20};
    return index >= 0 && index < 10 ? factors[index] : 1.0;
}

Transport& Transport::sharedTransport()
{
    static Transport* instance = new Transport;  // lives to process end
    return *instance;
}

void Transport::moveTo(int samplepoint)
{
    ploop.store(samplepoint, relaxed);
    // The displays decide their next row from here.
    tploopAA.store(samplepoint, relaxed);
    tploopBB.store(samplepoint, relaxed);
}

bool Transport::openRecordingAndPlay(const QString& path)
{
    return openRecordingAndPlay(QFile::encodeName(path));
}

bool Transport::openRecordingAndPlay(const QByteArray& nativePath, QString* why)
{
    if (!nativePathToC(nativePath)) {
        if (why)
            *why = QStringLiteral("the path is too long or holds a zero byte");
        return false;
    }
    QXSerialPort& port = QXSerialPort::sharedQXSerialPort();
    if (port.openOldFileToBuffer() == 0) {
        if (why)
            *why = port.oldFileFailure();
        return false;
    }
    ploopStart.store(0, relaxed);
    moveTo(0);
    SetselectsetPlay();
    return true;
}

void Transport::SetselectsetPlay()
{
    setRecX.store(0, relaxed);
    if (ploop.load(relaxed) >= maxploop.load(relaxed))
        moveTo(std::max(0, ploopStart.load(relaxed)));
    setPauseX.store(0, relaxed);
    setPlayMovie();
}

void Transport::setRecord()
{
    setRecX.store(1, relaxed);
    setPauseX.store(0, relaxed);
}

bool Transport::setPause()
{
    const bool pausing = setPauseX.load(relaxed) == 0;
    setPauseX.store(pausing ? 1 : 0, relaxed);
    setPauseMovie();
    return pausing;
}

void Transport::setGotoBeginning()
{
    moveTo(std::clamp(ploopStart.load(relaxed), 0, std::max(0, maxploop.load(relaxed))));
    setToCurrentTimeMovie();
}

void Transport::setLoopMode(int on)
{
    setLoopModeX.store(on ? 1 : 0, relaxed);
}

void Transport::setTimePosition(int samplepoint)
{
    moveTo(std::clamp(samplepoint, 0, std::max(0, maxploop.load(relaxed))));
    setToCurrentTimeMovie();
}

void Transport::gotoStartWhenLoopmodeAndEnd()
{
    const int end = std::max(0, maxploop.load(relaxed));
    const int start = std::clamp(ploopStart.load(relaxed), 0, end);
    if (setLoopModeX.load(relaxed) != 0 && start < end) {
        moveTo(start);
        setPlayMovie();
        return;
    }
    ploop.store(end, relaxed);
    setPauseX.store(1, relaxed);
    endPause.store(true);
    PauseAnyway();
}

int Transport::advanceReplay(double seconds)
{
    if (setRecX.load(relaxed) != 0 || setPauseX.load(relaxed) != 0 || seconds <= 0) {
        carry = 0;
        return 0;
    }
    const double exact =
        carry + seconds * std::max(0, SampleSpeed.load(relaxed)) * playSpeedFactor(tlongE.load(relaxed));
    const int steps = int(std::floor(exact));
    carry = exact - steps;
    if (steps <= 0)
        return 0;

    // A jump made meanwhile by the main thread (slider, go to beginning) wins over this step.
    int current = ploop.load(relaxed);
    const int end = maxploop.load(relaxed);
    int next;
    do {
        next = current >= end ? end : int(std::min<long long>((long long)current + steps, end));
    } while (!ploop.compare_exchange_weak(current, next, relaxed));
    if (next >= end)
        gotoStartWhenLoopmodeAndEnd();
    return next - current;
}

void Transport::postMovie(const QString& name)
{
    if (ploopSyncX.load(relaxed) != 0 && OpenQT.load(relaxed) > 0)
        NotificationCenter::defaultCenter().postNotificationName(name, notificationObject());
}

void Transport::setPlayMovie()
{
    postMovie(setPlayMovieNotification);
}
void Transport::setPauseMovie()
{
    postMovie(setPauseMovieNotification);
}
void Transport::setToCurrentTimeMovie()
{
    postMovie(setCurrentTimeMovieNotification);
}
void Transport::PauseAnyway()
{
    postMovie(setPauseAnywayMovieNotification);
}

}  // namespace nupo
