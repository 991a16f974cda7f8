#pragma once

#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

struct mpv_handle;

namespace nupo {

// Plays one sound or movie file with libmpv. A file opens paused at its start; at its end playback stops
// there and the end callback runs on the main thread. Every operation may be called from any thread.
// Without an audio device the player still opens and plays files, silently.
class MediaPlayer {
public:
    struct Options {
        bool audioOutput = true;  // false: no audio device is opened (ao=null)
        // true: video goes to a render context that a view makes on nativeHandle() (vo=libmpv);
        // false: video is decoded and dropped (vo=null)
        bool videoOutput = false;
    };

    MediaPlayer();
    explicit MediaPlayer(Options options);
    ~MediaPlayer();
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    // Opens path, replacing the open file; waits until the file is loaded or refused.
    bool open(const QString& path, QString* error = nullptr);
    void close();
    bool isOpen() const;
    QString path() const;

    void play();  // from the start when at the end
    void pause();
    void stop();  // pauses and returns to the start
    bool isPlaying() const;
    bool isAtEnd() const;

    // Playback speed, 1 = normal; clamped to 0.01..100. A rate of 0 or below pauses instead.
    void setRate(double rate);
    double rate() const;
    // 0 = silent .. 1 = full volume.
    void setVolume(double volume);
    double volume() const;

    // Seconds from the start of the file; 0 when nothing is open.
    double currentTime() const;
    double duration() const;
    void seek(double seconds);  // clamped to the file

    // Runs on the main thread each time playback reaches the end of the file.
    void setEndCallback(std::function<void()> callback);

    // The libmpv handle, for a view that draws the video (videoOutput); null when libmpv failed to start.
    mpv_handle* nativeHandle() const { return handle; }

private:
    struct EndNotifier;

    void runEvents();
    void pollEnd();
    void handleEndReached(bool atEnd);
    double doubleProperty(const char* name, double fallback) const;
    void setDoubleProperty(const char* name, double value);
    void setFlagProperty(const char* name, bool value);
    bool command(std::initializer_list<const char*> args);

    mpv_handle* handle = nullptr;
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

    std::shared_ptr<EndNotifier> endNotifier;
};

}  // namespace nupo
