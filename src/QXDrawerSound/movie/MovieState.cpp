#include "QXDrawerSound/movie/MovieState.h"

#include "QXDrawerSound/player/SoundSlotTables.h"

namespace nupo {

QStringList movieSizeItems()
{
    return {"Size to fit window", "Normal Size",   "Half Size",
            "Double Size",        "by peak power", "by peak frequency"};
}

QStringList movieSourceItems(int deviceConfig)
{
    QStringList items;
    for (const QString& item : soundSourceItems(deviceConfig)) {
        items.removeAll(item);
        items << item;
    }
    return items;
}

namespace {

QString clockText(std::int64_t seconds)
{
    return QString::asprintf(" %02d:%02d:%02d", int(seconds / 3600), int((seconds % 3600) / 60),
                             int(seconds % 60));
}

}  // namespace

QString movieDurationText(std::int64_t duration, std::int64_t timeScale)
{
    if (timeScale <= 0)
        return QStringLiteral(" 00:00:00.000");
    const std::int64_t seconds = duration / timeScale;
    const std::int64_t ms = std::max<std::int64_t>(0, (duration - seconds * timeScale) * 1000 / timeScale);
    return clockText(seconds) + QString::asprintf(".%03d", int(ms));
}

QString movieCurrentTimeText(std::int64_t time, std::int64_t timeScale)
{
    // The time is read as the low 32 bits of the movie's time value.
    const auto low = static_cast<std::int32_t>(time);
    return clockText(timeScale > 0 ? low / timeScale : 0);
}

std::int64_t movieTimeOfPosition(int samplePosition, int sampleSpeed, std::int64_t duration,
                                 std::int64_t timeScale, bool loopMode)
{
    if (sampleSpeed <= 0 || timeScale <= 0)
        return -1;
    const std::int64_t seconds = samplePosition / sampleSpeed;
    if (!loopMode && seconds > duration / timeScale)
        return duration;
    return seconds * timeScale;
}

double movieMagnification(int sizeChoice, float peakValue, float peakFrequency, bool useFrameGain,
                          float frameGain, bool useRateGain, float rateGain)
{
    switch (sizeChoice) {
        case 0:
        case 1:
            return 1.0;
        case 2:
            return 0.5;
        case 3:
            return 2.0;
        case 4:
            return peakValue * (useFrameGain ? frameGain : 0.1f);
        case 5:
            return peakFrequency * (useRateGain ? rateGain : 0.1f);
        default:
            return -1.0;
    }
}

}  // namespace nupo
