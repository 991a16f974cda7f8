#pragma once

// Movie helpers the sound slots and the movie window share: show the frame at a movie time, the length
// in whole seconds, the time scale, and the auto-play flag. A "movie" is a MediaPlayer with a file open;
// times are in units of its time scale.

#include <cstdint>

namespace nupo {

class MediaPlayer;

// The parameter error of the movie functions.
inline constexpr short movieParameterError = -50;

// Moves the movie to time t and lets it show that frame. -50 for no movie or t beyond the length (t
// equal to the length is fine; a negative t goes to the beginning); 0 otherwise.
short QTUDrawVideoFrameAtTime(MediaPlayer* movie, std::int64_t t);
// The length in whole seconds (0 for no movie or a time scale of 0).
long GetMovieDurationN(const MediaPlayer* movie);
// Units per second (0 for no movie).
long GetMovieTimeScaleN(const MediaPlayer* movie);
// Whether the file asks to be played when opened (its "play" tag is not 0); false for no movie.
bool QTUtils_IsAutoPlayMovie(const MediaPlayer* movie);

}  // namespace nupo
