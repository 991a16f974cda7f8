#include "platform/media/MediaPlayer.h"

#include "platform/appkit/MainThread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <mpv/client.h>

#include <algorithm>
#include <cstring>

#include <unistd.h>

namespace nupo {

namespace {

constexpr double minimumRate = 0.01;
constexpr double maximumRate = 100.0;
constexpr double endPollSeconds = 0.1;

// The audio outputs that exist on this machine, best first, as libmpv names them; "null" when there is
// none. Only these are tried: probing absent ones makes their libraries print errors.
QByteArray availableAudioOutputs()
{
    QByteArrayList outputs;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/pipewire-0")))
        outputs << "pipewire";
    if (qEnvironmentVariableIsSet("PULSE_SERVER") ||
        (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/pulse/native"))))
        outputs << "pulse";
    const QString jackServer = qEnvironmentVariable("JACK_DEFAULT_SERVER", QStringLiteral("default"));
    if (QFileInfo::exists(QStringLiteral("/dev/shm/jack_%1_%2_0").arg(jackServer).arg(getuid())))
        outputs << "jack";
    if (!QDir(QStringLiteral("/dev/snd")).entryList({QStringLiteral("pcmC*D*p")}, QDir::System).isEmpty())
        outputs << "alsa";
    return outputs.isEmpty() ? QByteArray("null") : outputs.join(',');
}

}  // namespace

// Holds the end callback apart from the player, so that a call queued to the main thread does nothing
// once the player is gone.
struct MediaPlayer::EndNotifier {
    std::mutex mutex;
    std::function<void()> callback;

    void call()
    {
        std::function<void()> current;
        {
            std::lock_guard lock(mutex);
            current = callback;
        }
        if (current)
            current();
    }
};

MediaPlayer::MediaPlayer() : MediaPlayer(Options{}) {}

MediaPlayer::MediaPlayer(Options options) : endNotifier(std::make_shared<EndNotifier>())
{
    handle = mpv_create();
    if (handle == nullptr)
        return;
    // A quiet, self-contained player: no terminal output, no user configuration, scripts or key bindings.
    mpv_set_option_string(handle, "config", "no");
    mpv_set_option_string(handle, "terminal", "no");
    mpv_set_option_string(handle, "load-scripts", "no");
    mpv_set_option_string(handle, "input-default-bindings", "no");
    mpv_set_option_string(handle, "ytdl", "no");
    mpv_set_option_string(handle, "idle", "yes");
    mpv_set_option_string(handle, "keep-open", "yes");  // stay on the last frame at the end
    mpv_set_option_string(handle, "pause", "yes");
    mpv_set_option_string(handle, "hr-seek", "yes");  // seek to the exact time asked for
    mpv_set_option_string(handle, "audio-display", "no");
    mpv_set_option_string(handle, "audio-client-name", "NUPO4");
    mpv_set_option_string(handle, "vo", options.videoOutput ? "libmpv" : "null");
    mpv_set_option_string(handle, "ao", options.audioOutput ? availableAudioOutputs().constData() : "null");
    if (mpv_initialize(handle) < 0) {
        mpv_terminate_destroy(handle);
        handle = nullptr;
        return;
    }
    mpv_observe_property(handle, 0, "eof-reached", MPV_FORMAT_FLAG);
    eventThread = std::thread([this] { runEvents(); });
}

MediaPlayer::~MediaPlayer()
{
    if (handle == nullptr)
        return;
    shuttingDown = true;
    mpv_wakeup(handle);
    eventThread.join();
    mpv_terminate_destroy(handle);
}

void MediaPlayer::runEvents()
{
    while (!shuttingDown) {
        // A short wait, so that the end is also noticed when libmpv folds a quick "not at the end" and
        // "at the end" into no change of the observed property (a replay of a short sound).
        mpv_event* event = mpv_wait_event(handle, endPollSeconds);
        switch (event->event_id) {
            case MPV_EVENT_SHUTDOWN:
                return;
            case MPV_EVENT_NONE:
                pollEnd();
                break;
            case MPV_EVENT_PLAYBACK_RESTART: {  // after a load or a seek: not at the end any more
                std::lock_guard lock(mutex);
                endNotified = false;
                break;
            }
            case MPV_EVENT_START_FILE: {
                const auto* start = static_cast<mpv_event_start_file*>(event->data);
                std::lock_guard lock(mutex);
                startedEntry = start->playlist_entry_id;
                break;
            }
            case MPV_EVENT_FILE_LOADED: {
                std::lock_guard lock(mutex);
                loadedEntry = startedEntry;
                settledEntry = std::max(settledEntry, startedEntry);
                loadChanged.notify_all();
                break;
            }
            case MPV_EVENT_END_FILE: {
                const auto* end = static_cast<mpv_event_end_file*>(event->data);
                std::lock_guard lock(mutex);
                // Whatever the reason, this entry is settled: an open() waiting for it stops waiting.
                settledEntry = std::max(settledEntry, end->playlist_entry_id);
                endedEntry = end->playlist_entry_id;
                endedReason = end->reason == MPV_END_FILE_REASON_ERROR
                                  ? QString::fromUtf8(mpv_error_string(end->error))
                                  : QString();
                if (end->playlist_entry_id == loadedEntry) {
                    loadedEntry = -1;
                    openPath.clear();
                }
                loadChanged.notify_all();
                break;
            }
            case MPV_EVENT_PROPERTY_CHANGE: {
                const auto* property = static_cast<mpv_event_property*>(event->data);
                if (std::strcmp(property->name, "eof-reached") == 0 && property->format == MPV_FORMAT_FLAG)
                    handleEndReached(*static_cast<int*>(property->data) != 0);
                break;
            }
            default:
                break;
        }
    }
}

void MediaPlayer::pollEnd()
{
    int atEnd = 0;
    if (isOpen() && mpv_get_property(handle, "eof-reached", MPV_FORMAT_FLAG, &atEnd) >= 0 && atEnd != 0)
        handleEndReached(true);
}

void MediaPlayer::handleEndReached(bool atEnd)
{
    {
        std::lock_guard lock(mutex);
        if (!atEnd || loadedEntry < 0 || endNotified)
            return;
        endNotified = true;
    }
    performOnMainThread([notifier = std::weak_ptr<EndNotifier>(endNotifier)] {
        if (std::shared_ptr<EndNotifier> alive = notifier.lock())
            alive->call();
    });
}

bool MediaPlayer::open(const QString& path, QString* error)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (handle == nullptr)
        return fail(QStringLiteral("media playback is not available"));
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return fail(QStringLiteral("cannot read %1").arg(path));

    setFlagProperty("pause", true);
    // An absolute path, so that no file name is taken for a protocol or an option.
    const QByteArray file = QFile::encodeName(info.absoluteFilePath());
    const char* args[] = {"loadfile", file.constData(), "replace", nullptr};
    mpv_node result;
    if (mpv_command_ret(handle, args, &result) < 0)
        return fail(QStringLiteral("cannot open %1").arg(path));
    std::int64_t entry = -1;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            if (std::strcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
                result.u.list->values[i].format == MPV_FORMAT_INT64)
                entry = result.u.list->values[i].u.int64;
        }
    }
    mpv_free_node_contents(&result);

    std::unique_lock lock(mutex);
    // libmpv loads in order and answers every load with loaded or ended (failed, or replaced by a later
    // load), so once a later entry has settled, this one has too.
    loadChanged.wait(lock, [this, entry] { return entry < 0 || settledEntry >= entry; });
    if (entry < 0 || loadedEntry != entry) {
        QString reason = QStringLiteral("another file was opened meanwhile");
        if (entry < 0)
            reason = QStringLiteral("no answer from the media library");
        else if (endedEntry == entry && !endedReason.isEmpty())
            reason = endedReason;
        return fail(QStringLiteral("cannot play %1: %2").arg(path, reason));
    }
    openPath = path;
    endNotified = false;
    return true;
}

void MediaPlayer::close()
{
    if (handle == nullptr)
        return;
    command({"stop"});
    std::lock_guard lock(mutex);
    openPath.clear();
    loadedEntry = -1;
}

bool MediaPlayer::isOpen() const
{
    std::lock_guard lock(mutex);
    return loadedEntry >= 0 && !openPath.isEmpty();
}

QString MediaPlayer::path() const
{
    std::lock_guard lock(mutex);
    return openPath;
}

void MediaPlayer::play()
{
    if (!isOpen())
        return;
    if (isAtEnd())
        seek(0.0);
    setFlagProperty("pause", false);
}

void MediaPlayer::pause()
{
    if (handle != nullptr)
        setFlagProperty("pause", true);
}

void MediaPlayer::stop()
{
    pause();
    if (isOpen())
        seek(0.0);
}

bool MediaPlayer::isPlaying() const
{
    if (!isOpen())
        return false;
    int paused = 1;
    mpv_get_property(handle, "pause", MPV_FORMAT_FLAG, &paused);
    return paused == 0 && !isAtEnd();
}

bool MediaPlayer::isAtEnd() const
{
    if (!isOpen())
        return false;
    int atEnd = 0;
    mpv_get_property(handle, "eof-reached", MPV_FORMAT_FLAG, &atEnd);
    return atEnd != 0;
}

void MediaPlayer::setRate(double rate)
{
    if (handle == nullptr)
        return;
    if (!(rate > 0.0)) {  // also NaN
        pause();
        return;
    }
    setDoubleProperty("speed", std::clamp(rate, minimumRate, maximumRate));
}

double MediaPlayer::rate() const
{
    return doubleProperty("speed", 1.0);
}

void MediaPlayer::setVolume(double volume)
{
    if (handle == nullptr || std::isnan(volume))
        return;
    setDoubleProperty("volume", std::clamp(volume, 0.0, 1.0) * 100.0);
}

double MediaPlayer::volume() const
{
    return doubleProperty("volume", 100.0) / 100.0;
}

double MediaPlayer::currentTime() const
{
    if (!isOpen())
        return 0.0;
    // Audio output may report a little past the last sample at the end; never past the file's length.
    const double time = std::max(0.0, doubleProperty("time-pos", 0.0));
    const double length = duration();
    return length > 0.0 ? std::min(time, length) : time;
}

double MediaPlayer::duration() const
{
    return isOpen() ? doubleProperty("duration", 0.0) : 0.0;
}

void MediaPlayer::seek(double seconds)
{
    if (!isOpen() || std::isnan(seconds))
        return;
    const double target = std::clamp(seconds, 0.0, std::max(0.0, duration()));
    const QByteArray time = QByteArray::number(target, 'f', 6);
    command({"seek", time.constData(), "absolute+exact"});
}

void MediaPlayer::setEndCallback(std::function<void()> callback)
{
    std::lock_guard lock(endNotifier->mutex);
    endNotifier->callback = std::move(callback);
}

double MediaPlayer::doubleProperty(const char* name, double fallback) const
{
    double value = fallback;
    if (handle == nullptr || mpv_get_property(handle, name, MPV_FORMAT_DOUBLE, &value) < 0)
        return fallback;
    return value;
}

void MediaPlayer::setDoubleProperty(const char* name, double value)
{
    mpv_set_property(handle, name, MPV_FORMAT_DOUBLE, &value);
}

void MediaPlayer::setFlagProperty(const char* name, bool value)
{
    int flag = value ? 1 : 0;
    mpv_set_property(handle, name, MPV_FORMAT_FLAG, &flag);
}

bool MediaPlayer::command(std::initializer_list<const char*> args)
{
    if (handle == nullptr)
        return false;
    std::vector<const char*> list(args);
    list.push_back(nullptr);
    return mpv_command(handle, list.data()) >= 0;
}

}  // namespace nupo
