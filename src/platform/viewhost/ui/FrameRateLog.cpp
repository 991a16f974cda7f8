#include "platform/viewhost/ui/FrameRateLog.h"

#include "platform/viewhost/ui/GLRenderThread.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QMap>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace nupo {

namespace {

struct Counts {
    QMap<QString, int> frames;  // by window title, over the present period
    double waitedBefore = 0;    // seconds the main thread waited for frames in flight, before the period
    QSet<QString> seen;         // windows whose first frame was noted
    QElapsedTimer period;
    QTimer* timer = nullptr;
};

void report(Counts& c)
{
    const double seconds = c.period.elapsed() / 1000.0;
    QString line = QStringLiteral("frame rates:");
    for (auto it = c.frames.cbegin(); it != c.frames.cend(); ++it)
        line +=
            QStringLiteral(" %1 %2;").arg(it.key()).arg(seconds > 0 ? it.value() / seconds : 0.0, 0, 'f', 1);
    const double waited = GLRenderThread::secondsWaitedForFrames();
    line += QStringLiteral(" main thread waiting %1 %;")
                .arg(seconds > 0 ? 100.0 * (waited - c.waitedBefore) / seconds : 0.0, 0, 'f', 1);
    c.waitedBefore = waited;
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
    c.frames.clear();
    c.period.restart();
}

}  // namespace

void FrameRateLog::frameDrawn(QWidget* host)
{
    static const bool enabled = qEnvironmentVariableIsSet("NUPO_FRAME_RATES");
    if (!enabled || !host)
        return;
    static Counts counts;
    if (!counts.timer) {
        counts.timer = new QTimer;  // lives to process end
        QObject::connect(counts.timer, &QTimer::timeout, [] { report(counts); });
        counts.timer->start(5000);
        counts.period.start();
    }
    const QString title = host->window()->windowTitle();
    if (!counts.seen.contains(title)) {
        counts.seen.insert(title);
        std::printf("first frame: %s %lld\n", qPrintable(title), QDateTime::currentMSecsSinceEpoch());
        std::fflush(stdout);
    }
    ++counts.frames[title];
}

}  // namespace nupo
