#include "platform/media/MediaPlayer.h"

#include "platform/appkit/MainThread.h"
#include "platform/appkit/ThreadSanitizerBuild.h"
#include "platform/files/CheckedFile.h"
#include "platform/media/AudioServers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <mpv/client.h>
#include <mpv/render.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

#include <unistd.h>

namespace nupo {

namespace {

constexpr double endPollSeconds = 0.1;
// Backwards playback and the end of a selection need a finer step than the end of the file.
constexpr double finePollSeconds = 0.02;
// A step in a file without video.
constexpr double soundStepSeconds = 0.1;
// How near the end the position may be and still count as at the end.
constexpr double endTolerance = 0.0005;
// How long an opening waits for a movie's first frame at most.
constexpr int firstFrameWaitSeconds = 5;

// The audio outputs that exist on this machine, best first, as libmpv names them; "null" when there is
// none. Only these are tried: probing absent ones makes their libraries print errors.
QByteArray availableAudioOutputs(const MediaPlayer::AudioServers& servers)
{
    QByteArrayList outputs;
    if (servers.pipewireListens())
        outputs << "pipewire";
    if (servers.pulseListens())
        outputs << "pulse";
    if (servers.jackListens())
        outputs << "jack";
    if (!QDir(QStringLiteral("/dev/snd")).entryList({QStringLiteral("pcmC*D*p")}, QDir::System).isEmpty())
        outputs << "alsa";
    return outputs.isEmpty() ? QByteArray("null") : outputs.join(',');
}

// The outputs to try, with "null" last: when none of them opens, the file still plays, silently, rather
// than failing (an audio server that went away leaves its traces behind).
QByteArray audioOutputsWithFallback(const MediaPlayer::AudioServers& servers)
{
    const QByteArray outputs = availableAudioOutputs(servers);
    return outputs == "null" ? outputs : outputs + ",null";
}

// How often the audio output is looked at, how long a file playing at normal speed may stand still
// before its output counts as lost (slower playback moves in longer steps: longer, up to the most),
// and how often a silent player looks for an audio server again.
constexpr auto audioCheckInterval = std::chrono::milliseconds(250);
constexpr double audioStallSeconds = 2.0;
constexpr double audioStallMostSeconds = 60.0;
constexpr auto audioRetryInterval = audioServerRetryInterval;

}  // namespace

// Holds a callback apart from the player (its end callback, its new-frame callback), so that a call
// queued to the main thread does nothing once the player is gone.
struct MediaPlayer::Notifier {
    std::mutex mutex;
    std::function<void()> callback;
    std::atomic<bool> queued{false};  // a call is on its way to the main thread

    void call()
    {
        queued = false;
        std::function<void()> current;
        {
            std::lock_guard lock(mutex);
            current = callback;
        }
        if (current)
            current();
    }

    // Queues one call to the main thread; calls asked for while one is queued fold into it.
    static void post(const std::shared_ptr<Notifier>& notifier, bool fold)
    {
        if (fold && notifier->queued.exchange(true))
            return;
        performOnMainThread([weak = std::weak_ptr<Notifier>(notifier)] {
            if (std::shared_ptr<Notifier> alive = weak.lock())
                alive->call();
        });
    }
};

MediaPlayer::MediaPlayer() : MediaPlayer(Options{}) {}

MediaPlayer::MediaPlayer(Options options)
    : endNotifier(std::make_shared<Notifier>()), frameNotifier(std::make_shared<Notifier>())
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
    mpv_set_option_string(handle, "jack-name", "NUPO4");
    mpv_set_option_string(handle, "osd-level", "0");
    // Decoding in software: probing the hardware decoders (and their GL interop when a view renders)
    // would print a line for every driver library that is absent, at every open.
    mpv_set_option_string(handle, "hwdec", "no");
    mpv_set_option_string(handle, "gpu-hwdec-interop", "no");
    // Rates change the pitch with the speed, as a tape would.
    mpv_set_option_string(handle, "audio-pitch-correction", "no");
    // Video goes to a render context; until a view has made one it is decoded and dropped.
    mpv_set_option_string(handle, "vo",
                          options.frameImages   ? "libmpv"
                          : options.videoOutput ? "libmpv,null"
                                                : "null");
    audioWanted = options.audioOutput;
    mpv_set_option_string(handle, "ao",
                          audioWanted ? audioOutputsWithFallback(audioServers).constData() : "null");
#ifdef NUPO_THREAD_SANITIZER
    // Under ThreadSanitizer: FFmpeg's decoder threads and libmpv's built-in scripts (with their font
    // lookups) synchronise through atomics in code it cannot see, so decode on one thread and run none.
    for (const char* name : {"vd-lavc-threads", "ad-lavc-threads"})
        mpv_set_option_string(handle, name, "1");
    for (const char* name : {"osc", "load-stats-overlay", "load-osd-console", "load-auto-profiles"})
        mpv_set_option_string(handle, name, "no");
#endif
    if (mpv_initialize(handle) < 0) {
        mpv_terminate_destroy(handle);
        handle = nullptr;
        return;
    }
    if (options.frameImages) {
        char softwareApi[] = MPV_RENDER_API_TYPE_SW;
        mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, softwareApi},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        if (mpv_render_context_create(&frameRenderer, handle, params) < 0) {
            frameRenderer = nullptr;
        } else {
            // Called on a libmpv thread whenever a new frame can be rendered; the notifier outlives the
            // render context (freed first in the destructor).
            mpv_render_context_set_update_callback(
                frameRenderer,
                [](void* context) {
                    auto* player = static_cast<MediaPlayer*>(context);
                    Notifier::post(player->frameNotifier, true);
                },
                this);
        }
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
    if (frameRenderer != nullptr)
        mpv_render_context_free(frameRenderer);  // before the core it renders for
    mpv_terminate_destroy(handle);
}

void MediaPlayer::runEvents()
{
    using Clock = std::chrono::steady_clock;
    Clock::time_point lastTurn = Clock::now();
    while (!shuttingDown) {
        // A short wait, so that the end is also noticed when libmpv folds a quick "not at the end" and
        // "at the end" into no change of the observed property (a replay of a short sound).
        const bool fine = reversePlaying || selectionOnly;
        mpv_event* event = mpv_wait_event(handle, fine ? finePollSeconds : endPollSeconds);
        const Clock::time_point now = Clock::now();
        const double elapsed = std::chrono::duration<double>(now - lastTurn).count();
        lastTurn = now;
        if (reversePlaying)
            stepReverse(elapsed * std::abs(signedRate.load()));
        if (selectionOnly)
            checkSelectionEnd();
        if (audioWanted)
            watchAudioOutput();
        switch (event->event_id) {
            case MPV_EVENT_SHUTDOWN:
                return;
            case MPV_EVENT_NONE:
                pollEnd();
                break;
            case MPV_EVENT_PLAYBACK_RESTART: {  // after a load or a seek: not at the end any more
                seekPending = false;
                std::lock_guard lock(mutex);
                if (!jumpedToEnd)
                    endNotified = false;
                firstFrameShown = true;
                loadChanged.notify_all();
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

// An audio server that dies while a file plays stops libmpv's clock: the file would stand where it was
// for good. One that starts (again) later would go unheard until the file is opened anew. So a playing
// file that stands still moves to the silent output and plays on; a silent player tries the servers
// again now and then.
void MediaPlayer::watchAudioOutput()
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point now = Clock::now();
    if (now < audioWatch.nextCheck)
        return;
    audioWatch.nextCheck = now + audioCheckInterval;
    const QString current = stringProperty(QStringLiteral("current-ao"));
    audioOutputName.store(current == QStringLiteral("null") ? AudioOutput::Silent
                          : current.isEmpty()               ? AudioOutput::None
                                                            : AudioOutput::Server);
    if (current.isEmpty() || current == QStringLiteral("null")) {
        audioWatch.standingSince = now;
        if (current.isEmpty() || now < audioWatch.nextRetry)
            return;
        audioWatch.nextRetry = now + audioRetryInterval;
        const QByteArray outputs = availableAudioOutputs(audioServers);
        if (outputs == "null")
            return;
        mpv_set_property_string(handle, "ao", (outputs + ",null").constData());
        command({"ao-reload"});
        return;
    }
    int atEnd = 0;
    mpv_get_property(handle, "eof-reached", MPV_FORMAT_FLAG, &atEnd);
    const double position = currentTime();
    const bool moving = !isOpen() || mpvPaused() || atEnd != 0 || reversePlaying || seekPending ||
                        position != audioWatch.position;
    audioWatch.position = position;
    if (moving) {
        audioWatch.standingSince = now;
        return;
    }
    const double speed = std::clamp(std::abs(signedRate.load()), minimumRate, 1.0);
    const double limit = std::min(audioStallSeconds / speed, audioStallMostSeconds);
    if (std::chrono::duration<double>(now - audioWatch.standingSince).count() < limit)
        return;
    audioWatch.standingSince = now;
    audioWatch.nextRetry = now + audioRetryInterval;
    mpv_set_property_string(handle, "ao", "null");
    command({"ao-reload"});
}

MediaPlayer::AudioOutput MediaPlayer::audioOutput() const
{
    return audioOutputName.load();
}

void MediaPlayer::pollEnd()
{
    int atEnd = 0;
    if (isOpen() && mpv_get_property(handle, "eof-reached", MPV_FORMAT_FLAG, &atEnd) >= 0 && atEnd != 0)
        handleEndReached(true);
}

// One turn of backwards playback: back by `seconds`; at the start (of the selection) it stops there,
// or, looping, goes on from the end.
void MediaPlayer::endReversePlay()
{
    std::lock_guard lock(reverseMutex);
    reversePlaying = false;
}

void MediaPlayer::stepReverse(double seconds)
{
    std::lock_guard lock(reverseMutex);
    if (!reversePlaying)
        return;
    if (!isOpen()) {
        reversePlaying = false;
        return;
    }
    double start = 0.0;
    double end = duration();
    selectionActive(&start, &end);
    // The position is kept here rather than read back: a seek takes a moment to show in libmpv's.
    const double target = std::min(reversePosition.load(), end) - seconds;
    if (target > start) {
        reversePosition = target;
        seek(target);
        return;
    }
    if (looping) {
        reversePosition = end;
        seek(end);
        return;
    }
    seek(start);
    reversePlaying = false;
}

// Forward playback of a selection ends at the selection's end (or starts over there, looping).
void MediaPlayer::checkSelectionEnd()
{
    double start = 0.0;
    double end = 0.0;
    // Until a seek has landed the position is the one before it (a jump into the selection from past its
    // end would otherwise count as its end).
    if (reversePlaying || seekPending || !selectionActive(&start, &end) || mpvPaused() || currentTime() < end)
        return;
    if (looping) {
        seek(start);
        return;
    }
    setFlagProperty("pause", true);
    notifyEnd();
}

void MediaPlayer::handleEndReached(bool atEnd)
{
    {
        std::lock_guard lock(mutex);
        if (!atEnd || loadedEntry < 0 || endNotified)
            return;
        endNotified = true;
        if (jumpedToEnd)  // a jump to the end is not the end of playback
            return;
    }
    notifyEnd();
}

void MediaPlayer::notifyEnd()
{
    Notifier::post(endNotifier, false);
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
    // mpv would wait on a FIFO and read a device without end: only a regular file is handed to it.
    const QFileInfo info(path);
    QString why;
    if (!isReadableRegularFile(info.absoluteFilePath(), &why))
        return fail(QStringLiteral("cannot read %1: %2").arg(path, why));

    endReversePlay();
    jumpedToEnd = false;
    setFlagProperty("pause", true);
    {
        std::lock_guard lock(mutex);
        firstFrameShown = false;
    }
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
    selectionStart = 0.0;
    selectionLength = 0.0;
    lock.unlock();
    // A movie is ready once its first frame is decoded: its picture size is known from then on.
    if (hasVideo()) {
        lock.lock();
        loadChanged.wait_for(lock, std::chrono::seconds(firstFrameWaitSeconds),
                             [this] { return firstFrameShown; });
    }
    return true;
}

void MediaPlayer::close()
{
    if (handle == nullptr)
        return;
    endReversePlay();
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

QString MediaPlayer::lastError() const
{
    std::lock_guard lock(mutex);
    return endedReason;
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
    const bool atEnd = isAtEnd();
    jumpedToEnd = false;
    double start = 0.0;
    double end = duration();
    const bool selection = selectionActive(&start, &end);
    const double time = atEnd ? end : currentTime();
    if (signedRate < 0.0) {
        setFlagProperty("pause", true);
        reversePosition = time;
        if (time <= start + endTolerance || (selection && time > end)) {
            reversePosition = end;
            seek(end);
        }
        reversePlaying = true;
        mpv_wakeup(handle);
        return;
    }
    if (atEnd || (selection && (time < start || time >= end - endTolerance)))
        seek(start);
    // libmpv is given the speed only while it plays forwards: a speed change while paused loses its
    // position until playback goes on.
    setFlagProperty("pause", false);
    if (doubleProperty("speed", 1.0) != signedRate)
        setDoubleProperty("speed", signedRate);
}

void MediaPlayer::pause()
{
    endReversePlay();
    if (handle != nullptr)
        setFlagProperty("pause", true);
}

void MediaPlayer::stop()
{
    pause();
    if (isOpen())
        seek(0.0);
}

bool MediaPlayer::mpvPaused() const
{
    int paused = 1;
    if (handle != nullptr)
        mpv_get_property(handle, "pause", MPV_FORMAT_FLAG, &paused);
    return paused != 0;
}

bool MediaPlayer::isPlaying() const
{
    if (!isOpen())
        return false;
    return reversePlaying || (!mpvPaused() && !isAtEnd());
}

bool MediaPlayer::isAtEnd() const
{
    if (!isOpen())
        return false;
    int atEnd = 0;
    mpv_get_property(handle, "eof-reached", MPV_FORMAT_FLAG, &atEnd);
    // A movie shows its last frame at the end, which starts before the end: a jump there counts.
    if (atEnd != 0 || jumpedToEnd)
        return true;
    const double length = duration();
    return length > 0.0 && doubleProperty("time-pos", 0.0) >= length - endTolerance;
}

void MediaPlayer::setRate(double rate)
{
    if (handle == nullptr || std::isnan(rate))
        return;
    if (rate == 0.0) {
        pause();
        return;
    }
    const double speed = std::clamp(std::abs(rate), minimumRate, maximumRate);
    const double newRate = rate < 0.0 ? -speed : speed;
    if (newRate == signedRate)  // the brain controls set the rate on every tick: nothing to redo
        return;
    const bool wasPlaying = isPlaying();
    signedRate = newRate;
    if (!wasPlaying)
        return;
    // A change of direction while playing goes on playing the other way.
    if (rate < 0.0 && !reversePlaying) {
        setFlagProperty("pause", true);
        reversePosition = currentTime();
        reversePlaying = true;
        mpv_wakeup(handle);
    } else if (rate > 0.0 && reversePlaying) {
        {
            // Forwards from where the last backward step left the file.
            std::lock_guard lock(reverseMutex);
            reversePlaying = false;
            seek(reversePosition);
        }
        setFlagProperty("pause", false);
        setDoubleProperty("speed", speed);
    } else if (rate > 0.0) {
        double value = speed;
        mpv_set_property_async(handle, 0, "speed", MPV_FORMAT_DOUBLE, &value);
    }
}

double MediaPlayer::rate() const
{
    return signedRate;
}

void MediaPlayer::setVolume(double volume)
{
    if (handle == nullptr || std::isnan(volume))
        return;
    double level = std::clamp(volume, 0.0, 1.0) * 100.0;
    if (level == volumeLevel.exchange(level))  // unchanged: libmpv is not asked again
        return;
    // Volumes follow each other quickly (brain control): the caller does not wait for libmpv.
    mpv_set_property_async(handle, 0, "volume", MPV_FORMAT_DOUBLE, &level);
}

double MediaPlayer::volume() const
{
    return volumeLevel / 100.0;
}

void MediaPlayer::setMovieVolume(int volume)
{
    setVolume(static_cast<double>(std::clamp(volume, 0, fullVolume)) / fullVolume);
}

int MediaPlayer::movieVolume() const
{
    return static_cast<int>(std::lround(volume() * fullVolume));
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
    jumpedToEnd = false;
    const double target = std::clamp(seconds, 0.0, std::max(0.0, duration()));
    const QByteArray time = QByteArray::number(target, 'f', 6);
    seekPending = true;
    if (!command({"seek", time.constData(), "absolute+exact"}))
        seekPending = false;
}

void MediaPlayer::goToBeginning()
{
    jumpedToEnd = false;
    seek(0.0);
}

void MediaPlayer::goToEnd()
{
    seek(duration());
    std::lock_guard lock(mutex);
    jumpedToEnd = true;
}

void MediaPlayer::stepForward()
{
    stepBy(1);
}

void MediaPlayer::stepBackward()
{
    stepBy(-1);
}

void MediaPlayer::stepBy(int direction)
{
    pause();
    if (!isOpen())
        return;
    jumpedToEnd = false;
    const double fps = frameRate();
    if (fps <= 0.0) {
        seek(currentTime() + direction * soundStepSeconds);
        return;
    }
    showFrame(std::lround(std::floor(currentTime() * fps + 0.5)) + direction);
}

void MediaPlayer::showFrame(long frame)
{
    pause();
    const double fps = frameRate();
    if (fps <= 0.0)
        return;
    jumpedToEnd = false;
    const long next = std::clamp(frame, 0L, std::max(0L, frameCount() - 1));
    // An exact seek shows the first frame at or after the time asked for: a quarter frame before frame n
    // keeps rounding errors off the frame after it.
    seek(std::max(0.0, (static_cast<double>(next) - 0.25) / fps));
}

long MediaPlayer::frameCount() const
{
    return static_cast<long>(std::lround(duration() * frameRate()));
}

// The decoded picture's size once a frame is decoded; until then (just after opening) the size the
// container gives, so that a window sized at once does not take an empty picture's size.
int MediaPlayer::videoWidth() const
{
    const int track = videoTrack();
    if (track < 0)
        return 0;
    const QByteArray container = QStringLiteral("track-list/%1/demux-w").arg(track).toUtf8();
    return static_cast<int>(intProperty("width", intProperty(container.constData(), 0)));
}

int MediaPlayer::videoHeight() const
{
    const int track = videoTrack();
    if (track < 0)
        return 0;
    const QByteArray container = QStringLiteral("track-list/%1/demux-h").arg(track).toUtf8();
    return static_cast<int>(intProperty("height", intProperty(container.constData(), 0)));
}

int MediaPlayer::timeScale() const
{
    if (!isOpen())
        return 0;
    if (hasVideo())
        return movieTimeScale;
    const int tracks = trackCount();
    for (int i = 0; i < tracks; ++i) {
        const QByteArray name = QStringLiteral("track-list/%1/demux-samplerate").arg(i).toUtf8();
        const std::int64_t rate = intProperty(name.constData(), 0);
        if (rate > 0)
            return static_cast<int>(rate);
    }
    return 0;
}

std::int64_t MediaPlayer::durationUnits() const
{
    return std::llround(duration() * timeScale());
}

std::int64_t MediaPlayer::currentTimeUnits() const
{
    return std::llround(currentTime() * timeScale());
}

int MediaPlayer::trackCount() const
{
    return isOpen() ? static_cast<int>(intProperty("track-list/count", 0)) : 0;
}

QStringList MediaPlayer::trackNames() const
{
    QStringList names;
    const int tracks = trackCount();
    for (int i = 0; i < tracks; ++i) {
        const QString type = stringProperty(QStringLiteral("track-list/%1/type").arg(i));
        const QString codec = stringProperty(QStringLiteral("track-list/%1/codec").arg(i));
        const QString kind = type == QLatin1String("sub") ? QStringLiteral("text") : type;
        names << (codec.isEmpty() ? kind : QStringLiteral("%1 (%2)").arg(kind, codec));
    }
    return names;
}

void MediaPlayer::reloadVideo()
{
    if (handle == nullptr || !isOpen() || !hasVideo())
        return;
    mpv_set_property_string(handle, "vid", "no");
    mpv_set_property_string(handle, "vid", "auto");
}

bool MediaPlayer::hasVideo() const
{
    return videoTrack() >= 0;
}

int MediaPlayer::videoTrack() const
{
    const int tracks = trackCount();
    for (int i = 0; i < tracks; ++i) {
        if (stringProperty(QStringLiteral("track-list/%1/type").arg(i)) == QLatin1String("video") &&
            stringProperty(QStringLiteral("track-list/%1/albumart").arg(i)) != QLatin1String("yes"))
            return i;
    }
    return -1;
}

double MediaPlayer::frameRate() const
{
    if (!hasVideo())
        return 0.0;
    return std::max(0.0, doubleProperty("container-fps", 0.0));
}

bool MediaPlayer::autoPlayTag() const
{
    return isOpen() && stringProperty(QStringLiteral("metadata/by-key/play")).trimmed().toInt() != 0;
}

void MediaPlayer::setLoopMode(LoopMode mode)
{
    looping = mode == LoopMode::Looping;
    if (handle != nullptr)
        mpv_set_property_string(handle, "loop-file", looping ? "inf" : "no");
}

MediaPlayer::LoopMode MediaPlayer::loopMode() const
{
    return looping ? LoopMode::Looping : LoopMode::Normal;
}

void MediaPlayer::setSelection(double start, double length)
{
    if (std::isnan(start) || std::isnan(length))
        return;
    {
        std::lock_guard lock(mutex);
        selectionStart = std::max(0.0, start);
        selectionLength = std::max(0.0, length);
    }
    enterSelection();
}

std::pair<double, double> MediaPlayer::selection() const
{
    std::lock_guard lock(mutex);
    return {selectionStart, selectionLength};
}

void MediaPlayer::setPlaysSelectionOnly(bool on)
{
    selectionOnly = on;
    enterSelection();
    if (handle != nullptr)
        mpv_wakeup(handle);
}

void MediaPlayer::enterSelection()
{
    double start = 0.0;
    double end = 0.0;
    if (!selectionActive(&start, &end))
        return;
    if (reversePlaying) {
        std::lock_guard lock(reverseMutex);  // a backward step under way finishes first
        const double time = reversePosition;
        if (time < start || time > end) {
            reversePosition = end;
            seek(end);
        }
        return;
    }
    if (mpvPaused())
        return;
    const double time = currentTime();
    if (time < start || time >= end - endTolerance)
        seek(start);
}

bool MediaPlayer::playsSelectionOnly() const
{
    return selectionOnly;
}

bool MediaPlayer::selectionActive(double* start, double* end) const
{
    if (!selectionOnly)
        return false;
    double from = 0.0;
    double length = 0.0;
    {
        std::lock_guard lock(mutex);
        from = selectionStart;
        length = selectionLength;
    }
    const double fileLength = duration();
    if (length <= 0.0 || from >= fileLength)
        return false;
    *start = from;
    *end = std::min(fileLength, from + length);
    return true;
}

void MediaPlayer::setEndCallback(std::function<void()> callback)
{
    std::lock_guard lock(endNotifier->mutex);
    endNotifier->callback = std::move(callback);
}

void MediaPlayer::setFrameCallback(std::function<void()> callback)
{
    std::lock_guard lock(frameNotifier->mutex);
    frameNotifier->callback = std::move(callback);
}

bool MediaPlayer::renderFrame(void* pixels, int width, int height, std::size_t stride)
{
    if (frameRenderer == nullptr || pixels == nullptr || width <= 0 || height <= 0 ||
        stride < static_cast<std::size_t>(width) * 4 || !isOpen() || !hasVideo())
        return false;
    int size[2] = {width, height};
    char format[] = "bgr0";
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                 {MPV_RENDER_PARAM_SW_FORMAT, format},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                 {MPV_RENDER_PARAM_SW_POINTER, pixels},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_update(frameRenderer);
    return mpv_render_context_render(frameRenderer, params) >= 0;
}

double MediaPlayer::doubleProperty(const char* name, double fallback) const
{
    double value = fallback;
    if (handle == nullptr || mpv_get_property(handle, name, MPV_FORMAT_DOUBLE, &value) < 0)
        return fallback;
    return value;
}

std::int64_t MediaPlayer::intProperty(const char* name, std::int64_t fallback) const
{
    std::int64_t value = fallback;
    if (handle == nullptr || mpv_get_property(handle, name, MPV_FORMAT_INT64, &value) < 0)
        return fallback;
    return value;
}

QString MediaPlayer::stringProperty(const QString& name) const
{
    if (handle == nullptr)
        return {};
    char* text = mpv_get_property_string(handle, name.toUtf8().constData());
    if (text == nullptr)
        return {};
    const QString value = QString::fromUtf8(text);
    mpv_free(text);
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
