#include "platform/appkit/ui/Beep.h"

#include "platform/appkit/MainThread.h"

#include <QApplication>

#include <atomic>

namespace nupo {

namespace {
std::atomic<int> beeps{0};
}

void beep()
{
    beeps.fetch_add(1, std::memory_order_relaxed);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    if (isMainThread())
        QApplication::beep();
    else
        performOnMainThread([] { QApplication::beep(); });
}

int beepCount()
{
    return beeps.load(std::memory_order_relaxed);
}

}  // namespace nupo
