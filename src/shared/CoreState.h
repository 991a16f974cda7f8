#pragma once

// Process-wide position, rate, transport and device state of the application core, and the names of the
// notifications it posts and observes. Scalars touched by more than one thread are atomics read and written
// with relaxed order: each value is always whole, and nothing more is promised (as with plain ints).

#include <QString>

#include <atomic>

namespace nupo {

// --- Recording position and size -------------------------------------------------------------------

// Current record/play sample index into every recording buffer.
inline std::atomic<int> ploop{0};
// Sample index at which the current recording (or loop range) starts.
inline std::atomic<int> ploopStart{0};
// Length of the recording in samples (one hour at 120 Hz by default).
inline std::atomic<int> maxploop{432000};
// Ceiling of the recording buffers' allocation, in samples per channel.
inline std::atomic<int> MAXbuffer{864000};
// Target sample index of a go-to-time jump; the Control Panel's time slider follows it.
inline std::atomic<int> ploopZZZ{0};

// --- Rates ---------------------------------------------------------------------------------------------

// Samples per second per channel.
inline std::atomic<int> SampleSpeed{120};
// Number of device channels less one (0..3).
inline std::atomic<int> DeviceConfig{1};
// Replay speed index 0..9 (see playSpeedFactor in core/Transport.h); 2 is normal speed.
inline std::atomic<int> tlongE{2};
// Minimum number of samples between two waterfall rows / 3D data steps while recording.
inline std::atomic<int> tploop{4};

// The `tploop` of replay speed index n (0..9) at sampleSpeed samples per second; -1 for another index.
inline int replayRowSpacing(int n, int sampleSpeed)
{
    constexpr int factors[10] = {4, 4, 4, 16, 32, 64, 128, 128, 128, 128};
    return n >= 0 && n <= 9 ? sampleSpeed / 120 * factors[n] : -1;
}
// Sample position at which the 2D waterfall last took a recording row.
inline std::atomic<int> tploopAA{0};
// Sample position of the 3D display's last data step.
inline std::atomic<int> tploopBB{0};

// --- Transport and device flags ------------------------------------------------------------------------

// 1 in record mode, 0 in play mode.
inline std::atomic<int> setRecX{1};
// 1 while acquisition and playback are paused.
inline std::atomic<int> setPauseX{0};
// Non-zero: the recording wraps to `ploopStart` at its end instead of pausing.
inline std::atomic<int> setLoopModeX{0};
// 1 while serial port 1 is open.
inline std::atomic<int> openPort{0};
// Non-zero while the movie window follows the recording.
inline std::atomic<int> ploopSyncX{0};
// Gate of the movie notifications: they are posted only while it is above 0.
inline std::atomic<int> OpenQT{0};
// 1 while a document or preference file is being written / read.
inline std::atomic<int> startToSaveData{0};
inline std::atomic<int> startToOpenData{0};
// Scripts run only while this is on; nothing but the preferences patch turns it on.
inline std::atomic<int> AppleScriptON{0};

// --- Paths (main thread) ------------------------------------------------------------------------------

// Path of the document of the main drawing window; empty while unsaved.
inline QString documentNameX;
// Shared zero-terminated path buffer: the file last chosen, read by the openers. Write it only through
// NSStringToC (shared/Utilities.h), which refuses a path that does not fit.
inline constexpr int outCHARSize = 1024;
inline char outCHAR[outCHARSize] = {};

// --- Window front flags: 1 when the main menu opened the window in front (status window level) ----------

inline std::atomic<int> showQXRawwaveGraphFront{0};
inline std::atomic<int> showQX2DBarGarphFront{0};
inline std::atomic<int> showQX2DSpectrumFront{0};
inline std::atomic<int> showFFTPanelFront{0};

// --- Notification names ---------------------------------------------------------------------------------

// Posted by the spectrum views' play-speed menus; the Control Panel moves its time slider to `ploopZZZ`.
inline const QString setTimeSliderNowNotification = QStringLiteral("setTimeSliderNowNotification");
// Play-speed change; observers re-read `tlongE`.
inline const QString setMovieSpeedNotification = QStringLiteral("setMovieSpeedNotification");
// Movie transport, posted only while `ploopSyncX` != 0 and `OpenQT` > 0.
inline const QString setPlayMovieNotification = QStringLiteral("setPlayMovieNotification");
inline const QString setPauseMovieNotification = QStringLiteral("setPauseMovieNotification");
inline const QString setCurrentTimeMovieNotification = QStringLiteral("setCurrentTimeMovieNotification");
inline const QString setPauseAnywayMovieNotification = QStringLiteral("setPauseAnywayMovieNotification");
// Start and stop every open sound slot.
inline const QString SetSoundPlayNotification = QStringLiteral("SetSoundPlayNotification");
inline const QString SetSoundStopNotification = QStringLiteral("SetSoundStopNotification");
// Go to the beginning of the recording and play.
inline const QString gotoStartAndPlayNotification = QStringLiteral("gotoStartAndPlayNotification");
// Posted on the acquisition thread after new samples landed in the recording buffers.
inline const QString needUpdateDataBufferNotification = QStringLiteral("needUpdateDataBufferNotification");

}  // namespace nupo
