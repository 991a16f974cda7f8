#pragma once

// The process-wide state of the movie window (besides `ploopSyncX` and `OpenQT`, shared/CoreState.h,
// and `showQTFront`, plots/settings/DisplaySettings.h), and the texts and tables the window shows.
// Main thread.

#include <QString>
#include <QStringList>

#include <cstdint>

namespace nupo {

class QXMovieController;

inline int ShowQTWindow = 0;  // 1 while a movie window is shown
inline constexpr float startMovieAlpha = 1.0f;
inline float WQTAlphaValue = startMovieAlpha;  // opacity a movie window gets when it loads
// Frames of the movie window, x, y, width, height: normal size (kept as the window moves) and small.
inline constexpr float startMovieFrame[4] = {400.0f, 400.0f, 655.0f, 552.0f};
inline float NomalQTSizeR[4] = {startMovieFrame[0], startMovieFrame[1], startMovieFrame[2],
                                startMovieFrame[3]};
inline float SmallSizeR[4] = {200.0f, 100.0f, 655.0f, 552.0f};
// The movie the document names: the one a movie window opened last, or else the one the document read
// (`outCHAR` also holds whatever was chosen or browsed since).
inline QString documentMoviePath;
inline int OpenQTX = 0;  // a document asks for a movie window (keeps `NomalQTSizeR` as read)
// The most recently loaded movie window's controller; null once it is gone.
inline QXMovieController* gMyMovieControllerObject = nullptr;
// The movie window whose movie is being opened (on the opener thread), if any: main thread only.
inline QXMovieController* gOpeningMovieController = nullptr;

// The size choices of the window, and the sources and switch slots of the brain controls.
QStringList movieSizeItems();
// The source items for a channel configuration, one item per title (a repeated title replaces the
// earlier item, so configuration 0 gives "CH 1" and "---").
QStringList movieSourceItems(int deviceConfig);

// " hh:mm:ss.mmm" of a duration and " hh:mm:ss" of a time, both in units of timeScale (all zeros for a
// time scale of 0 or less).
QString movieDurationText(std::int64_t duration, std::int64_t timeScale);
QString movieCurrentTimeText(std::int64_t time, std::int64_t timeScale);

// The movie time shown for a recording position: whole seconds of the position; past the movie's end
// (not in loop mode) its end. -1 when the sample rate or time scale is 0.
std::int64_t movieTimeOfPosition(int samplePosition, int sampleSpeed, std::int64_t duration,
                                 std::int64_t timeScale, bool loopMode);

// The magnification of the size choices 4 (by peak power) and 5 (by peak frequency); the other choices
// have fixed ones (1, 1, 0.5, 2); -1 for a choice outside 0..5.
double movieMagnification(int sizeChoice, float peakValue, float peakFrequency, bool useFrameGain,
                          float frameGain, bool useRateGain, float rateGain);

}  // namespace nupo
