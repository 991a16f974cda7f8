#include "QXSketch/gl/SketchState.h"

#include "platform/appkit/NotificationCenter.h"
#include "shared/AnalysisState.h"
#include "shared/Utilities.h"

namespace nupo {

bool postSourceSelection(int source)
{
    if (source < 0 || source >= int(didchangeSelectNotifications.size())) {
        reportOnce(QStringLiteral("Drawing: source %1 out of range (0..9); ignored.").arg(source));
        return false;
    }
    NotificationCenter::defaultCenter().postNotificationName(
        didchangeSelectNotifications[std::size_t(source)]);
    return true;
}

QString sourceName(int source)
{
    static const char* names[] = {"Left CH 1",   "Right CH 2",  "Left CH 3",   "Right CH 4",  "CH 1 & CH 2",
                                  "CH 3 & CH 4", "CH 1 & CH 3", "CH 2 & CH 4", "CH 1 & CH 4", "CH 2 & CH 3"};
    if (source < 0 || source >= brainSourceCount)
        return {};
    return QString::fromLatin1(names[source]);
}

float brainSwitchLevel(int source, int window)
{
    if (source < 0 || source >= brainSourceCount || window < 1 || window > 8)
        return 0.0f;
    const auto& records = source < 4 ? peakSWfftCount : peakSWcoherenceCount;
    return records[source][window][0].level.load(std::memory_order_relaxed);
}

}  // namespace nupo
