#pragma once

#include "platform/media/AudioServers.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

struct mpv_handle;
struct mpv_render_context;

namespace nupo {

// Plays one sound or movie file with libmpv. A file opens paused at its start; at its end playback stops
// there and the end callback runs on the main thread. Every operation may be called from any thread.
// Without an audio device the player still opens and plays files, silently.
//
// Times come in seconds and, for callers that count in movie time units, in units of the time scale:
// the sample rate of a sound file, 600 units per second for a file with video.
class MediaPlayer {
public:
    struct Options {
        bool audioOutput = true;  // false: no audio device is opened (ao=null)
        // true: video goes to a render context that a view makes on nativeHandle() (vo=libmpv);
        // false: video is decoded and dropped (vo=null)
        bool videoOutput = false;
        // true: frames can be copied into memory with renderFrame() (vo=libmpv with a software
        // renderer); takes precedence over videoOutput
        bool frameImages = false;
    };

    // Normal: play once and stop at the end. Looping: start over at the end (never "at the end").
    enum class LoopMode { Normal, Looping };

    // Units per second of a file with video.
    static constexpr int movieTimeScale = 600;
    // Rates nearer to 0 than this play at this speed; the fastest rate is 100.
    static constexpr double minimumRate = 0.01;
    static constexpr double maximumRate = 100.0;
    // Volume on the movie scale: 256 is full volume.
    static constexpr int fullVolume = 256;

    MediaPlayer();
    explicit MediaPlayer(Options options);
    ~MediaPlayer();
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    // Where the audio servers listen, read from the environment once, when the player is made (the event
    // thread then reads no environment).
    using AudioServers = AudioServerSockets;

    // Opens path, replacing the open file; waits until the file is loaded or refused.
    bool open(const QString& path, QString* error = nullptr);
    void close();
    bool isOpen() const;
    // Where the sound of the open file goes: nowhere yet (nothing open, no sound in the file, or a player
    // made without audio output), to an audio server or device, or to the silent output (there is none,
    // or it was lost). A lost one is tried
    // again every few seconds, and the sound goes back to it when it is there again.
    enum class AudioOutput { None, Server, Silent };
    AudioOutput audioOutput() const;
    // Why the last file stopped playing on its own (a decoding error), or empty.
    QString lastError() const;
    QString path() const;

    void play();  // from the start when at the end (from the end when playing backwards at the start)
    void pause();
    void stop();  // pauses and returns to the start
    bool isPlaying() const;
    bool isAtEnd() const;

    // Playback rate, 1 = normal. Negative rates play backwards; the speed is limited to 0.01..100 either
    // way. A rate of 0 pauses and keeps the last rate. Setting the rate never starts a paused player.
    void setRate(double rate);
    double rate() const;
    // 0 = silent .. 1 = full volume.
    void setVolume(double volume);
    double volume() const;
    // The same on the movie scale: 0 .. 256 (full); values outside are held at the ends.
    void setMovieVolume(int volume);
    int movieVolume() const;

    // Seconds from the start of the file; 0 when nothing is open.
    double currentTime() const;
    double duration() const;
    void seek(double seconds);  // clamped to the file
    void goToBeginning();
    void goToEnd();  // a jump, not the end of playback: the end callback does not run
    // One video frame forward or back (a tenth of a second in a sound file), paused there. Forward from
    // the last frame and back from the first stay where they are.
    void stepForward();
    void stepBackward();
    // Shows video frame `frame` (counted from 0, held to the file's frames), paused there.
    void showFrame(long frame);
    // The number of video frames (0 without video), and the picture size in pixels (0 x 0 without).
    long frameCount() const;
    int videoWidth() const;
    int videoHeight() const;

    // Movie time units: the time scale (0 while nothing is open), the length and position in units.
    int timeScale() const;
    std::int64_t durationUnits() const;
    std::int64_t currentTimeUnits() const;

    // Tracks of the open file and their kinds with codec, e.g. "audio (pcm_s16le)".
    int trackCount() const;
    QStringList trackNames() const;
    bool hasVideo() const;
    double frameRate() const;  // frames per second of the video, 0 without video

    // The file's "play" tag (a movie that asks to be played when opened): true when it is a number not 0.
    bool autoPlayTag() const;

    void setLoopMode(LoopMode mode);
    LoopMode loopMode() const;
    // A selection of the file (start and length in seconds); empty by default and again after each
    // opening. While plays-selection-only is on and the selection is not empty, playback runs from its
    // start to its end and ends there; a player that plays outside it then goes to its start.
    void setSelection(double start, double length);
    // The selection as set (start, length), the length 0 when there is none.
    std::pair<double, double> selection() const;
    void setPlaysSelectionOnly(bool on);
    bool playsSelectionOnly() const;

    // Runs on the main thread each time playback reaches the end of the file (or of the selection).
    // The callback belongs to this player: once the player is destroyed, a queued call does nothing.
    void setEndCallback(std::function<void()> callback);

    // Copies the current video frame, scaled to width x height, into pixels (4 bytes a pixel: blue,
    // green, red, unused; stride bytes a row). Needs the frameImages option and an open file with video.
    bool renderFrame(void* pixels, int width, int height, std::size_t stride);
    // Runs on the main thread when a new video frame can be copied with renderFrame() (after a seek or a
    // step, the frame asked for); calls that pile up while one is queued come as one.
    void setFrameCallback(std::function<void()> callback);

    // Decodes the video again (for a view whose render context came after the file was opened, when
    // libmpv had no place to send the video and switched it off). Keeps the position and pause state.
    void reloadVideo();

    // The libmpv handle, for a view that draws the video (videoOutput); null when libmpv failed to start.
    mpv_handle* nativeHandle() const { return handle; }

private:
    struct Notifier;

    void runEvents();
    void pollEnd();
    void watchAudioOutput();
    void stepReverse(double seconds);
    // Ends backward playback; a step under way finishes first.
    void endReversePlay();
    void checkSelectionEnd();
    void handleEndReached(bool atEnd);
    void notifyEnd();
    double doubleProperty(const char* name, double fallback) const;
    // The index in the track list of the first video track that is no cover picture, or -1.
    int videoTrack() const;
    std::int64_t intProperty(const char* name, std::int64_t fallback) const;
    QString stringProperty(const QString& name) const;
    void setDoubleProperty(const char* name, double value);
    void setFlagProperty(const char* name, bool value);
    bool command(std::initializer_list<const char*> args);
    bool mpvPaused() const;
    void stepBy(int direction);
    bool selectionActive(double* start, double* end) const;
    // A player that plays outside the selection in force goes to its start.
    void enterSelection();

    mpv_handle* handle = nullptr;
    mpv_render_context* frameRenderer = nullptr;
    std::thread eventThread;
    std::atomic<bool> shuttingDown{false};

    mutable std::mutex mutex;
    std::condition_variable loadChanged;
    QString openPath;                // guarded by mutex
    std::int64_t startedEntry = -1;  // guarded by mutex: playlist entry whose loading began last
    std::int64_t loadedEntry = -1;   // guarded by mutex
    std::int64_t settledEntry = -1;  // guarded by mutex: the latest entry that loaded or ended
    std::int64_t endedEntry = -1;    // guarded by mutex: the entry that ended last, and its error
    QString endedReason;             // guarded by mutex
    bool endNotified = false;        // guarded by mutex
    bool firstFrameShown = false;    // guarded by mutex: playback (re)started since the last opening
    double selectionStart = 0.0;     // guarded by mutex
    double selectionLength = 0.0;    // guarded by mutex

    // Backwards playback is done here: while `reversePlaying`, the event thread moves the paused file
    // back by the speed times the time passed.
    std::atomic<double> signedRate{1.0};
    std::atomic<double> volumeLevel{100.0};  // the volume given to libmpv, 0..100
    std::atomic<bool> reversePlaying{false};
    // Held by a backward step and by whatever ends backward playback, so that no step lands after the end
    // (a step that had begun would otherwise seek back after a turn forwards, or after a pause).
    std::mutex reverseMutex;
    std::atomic<double> reversePosition{0.0};
    std::atomic<bool> looping{false};
    std::atomic<bool> selectionOnly{false};
    std::atomic<bool> jumpedToEnd{false};  // set by goToEnd until playback or a step moves on
    std::atomic<bool> seekPending{false};  // from a seek until playback restarts at its time

    // The audio watch (event thread only).
    bool audioWanted = true;
    const AudioServers audioServers = AudioServers::fromEnvironment();
    struct AudioWatch {
        std::chrono::steady_clock::time_point nextCheck;
        std::chrono::steady_clock::time_point nextRetry;
        std::chrono::steady_clock::time_point standingSince;
        double position = -1.0;
    } audioWatch;
    std::atomic<AudioOutput> audioOutputName{AudioOutput::None};

    std::shared_ptr<Notifier> endNotifier;
    std::shared_ptr<Notifier> frameNotifier;
};

}  // namespace nupo
