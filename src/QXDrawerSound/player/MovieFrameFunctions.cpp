#include "QXDrawerSound/player/MovieFrameFunctions.h"

#include "platform/media/MediaPlayer.h"

namespace nupo {

short QTUDrawVideoFrameAtTime(MediaPlayer* movie, std::int64_t t)
{
    if (movie == nullptr || !movie->isOpen() || movie->durationUnits() < t)
        return movieParameterError;
    const int scale = movie->timeScale();
    if (t <= 0 || scale <= 0)
        movie->goToBeginning();
    else
        movie->seek(static_cast<double>(t) / scale);
    return 0;
}

long GetMovieDurationN(const MediaPlayer* movie)
{
    if (movie == nullptr)
        return 0;
    const long scale = movie->timeScale();
    return scale > 0 ? static_cast<long>(movie->durationUnits() / scale) : 0;
}

long GetMovieTimeScaleN(const MediaPlayer* movie)
{
    return movie != nullptr ? movie->timeScale() : 0;
}

bool QTUtils_IsAutoPlayMovie(const MediaPlayer* movie)
{
    return movie != nullptr && movie->autoPlayTag();
}

}  // namespace nupo
