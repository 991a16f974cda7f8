#include "platform/synth/SynthGraph.h"

#include "platform/media/AudioServers.h"

#include <fluidsynth.h>
#ifdef NUPO_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace nupo {

namespace {

std::atomic<bool> audioOutputOn{true};
std::atomic<bool> reportedNoAudio{false};

// How often the watch wakes. It asks the server under the open output whether it still answers after
// each error FluidSynth reports (a driver that fails to write to its server says so), and every
// audioServerRetryInterval in any case: asking connects to the server.
constexpr auto watchTick = std::chrono::milliseconds(250);

std::atomic<unsigned> fluidErrors{0};

void quietFluidMessage(int, const char*, void*) {}

void countFluidError(int, const char*, void*)
{
    fluidErrors.fetch_add(1, std::memory_order_relaxed);
}

void silenceFluidWarnings()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // FluidSynth reports every audio driver it fails to open; the synth reports that once itself.
        fluid_set_log_function(FLUID_WARN, quietFluidMessage, nullptr);
        fluid_set_log_function(FLUID_INFO, quietFluidMessage, nullptr);
        fluid_set_log_function(FLUID_DBG, quietFluidMessage, nullptr);
        fluid_set_log_function(FLUID_ERR, countFluidError, nullptr);
    });
}

#ifdef NUPO_HAVE_ALSA
void quietAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
#endif

// Keeps the sound library's own error lines (one per configuration step it fails) off the terminal
// while audio drivers are tried: the synth says once itself when none opens.
class QuietAudioErrors {
public:
    QuietAudioErrors()
    {
#ifdef NUPO_HAVE_ALSA
        snd_lib_error_set_handler(quietAlsaMessage);
#endif
    }
    ~QuietAudioErrors()
    {
#ifdef NUPO_HAVE_ALSA
        snd_lib_error_set_handler(nullptr);
#endif
    }
    QuietAudioErrors(const QuietAudioErrors&) = delete;
    QuietAudioErrors& operator=(const QuietAudioErrors&) = delete;
};

void collectDriverName(void* names, const char*, const char* option)
{
    static_cast<std::vector<std::string>*>(names)->emplace_back(option);
}

// Whether the sound server under the driver of that name is gone: its socket refuses connections
// (a server that died leaves it behind) or is no more. The driver then plays into nothing for good.
// A sound card's driver cannot tell.
bool driverServerLost(const char* name, const AudioServerSockets& servers)
{
    if (std::strcmp(name, "pulseaudio") == 0)
        return !servers.pulseListens();
    if (std::strcmp(name, "pipewire") == 0)
        return !servers.pipewireListens();
    return false;
}

struct OpenedDriver {
    fluid_audio_driver_t* driver = nullptr;
    const char* name = nullptr;
};

// Tries the sound servers first, then the sound card and the other outputs FluidSynth was built with;
// never the file writer, and never JACK, which would start a server of its own.
OpenedDriver openAudioDriver(fluid_settings_t* settings, fluid_synth_t* synth,
                             const AudioServerSockets& servers)
{
    std::vector<std::string> available;
    fluid_settings_foreach_option(settings, "audio.driver", &available, collectDriverName);
    QuietAudioErrors quiet;
    for (const char* name : {"pipewire", "pulseaudio", "alsa", "sdl2", "oss"}) {
        // A server whose socket does not answer is not tried: its library would only print errors, or
        // start a server of its own.
        if (std::find(available.begin(), available.end(), name) == available.end() ||
            driverServerLost(name, servers))
            continue;
        fluid_settings_setstr(settings, "audio.driver", name);
        if (fluid_audio_driver_t* driver = new_fluid_audio_driver(settings, synth))
            return {driver, name};
    }
    return {};
}

}  // namespace

void SynthGraph::setAudioOutputEnabled(bool enabled)
{
    audioOutputOn = enabled;
}

bool SynthGraph::audioOutputEnabled()
{
    return audioOutputOn;
}

QString SynthGraph::soundFontPath()
{
    for (const char* path : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
                             "/usr/share/sounds/sf2/FluidR3_GM.sf2"}) {
        if (QFileInfo::exists(QString::fromLatin1(path)))
            return QString::fromLatin1(path);
    }
    return {};
}

SynthGraph::SynthGraph()
{
    silenceFluidWarnings();
    settings = new_fluid_settings();
    if (settings == nullptr)
        return;
    fluid_settings_setint(settings, "synth.midi-channels", 16);
    synth = new_fluid_synth(settings);
}

SynthGraph::~SynthGraph()
{
    stop();
    if (synth != nullptr)
        delete_fluid_synth(synth);
    if (settings != nullptr)
        delete_fluid_settings(settings);
}

bool SynthGraph::initialize()
{
    if (synth == nullptr)
        return false;
    if (soundFontId >= 0)
        return true;
    const QString path = soundFontPath();
    if (path.isEmpty()) {
        std::printf("No General MIDI soundfont found: the built-in synthesiser is silent.\n");
        std::fflush(stdout);
        return false;
    }
    soundFontId = fluid_synth_sfload(synth, path.toLocal8Bit().constData(), 1);
    return soundFontId >= 0;
}

bool SynthGraph::start()
{
    if (!isInitialized())
        return false;
    std::lock_guard lock(driverMutex);
    running = true;
    if (!audioOutputOn || watchThread.joinable())
        return true;
    servers = AudioServerSockets::fromEnvironment();
    const OpenedDriver opened = openAudioDriver(settings, synth, servers);
    driver = opened.driver;
    driverName = opened.name;
    if (driver == nullptr && !reportedNoAudio.exchange(true)) {
        std::printf("No audio output could be opened: the built-in synthesiser plays silently.\n");
        std::fflush(stdout);
    }
    {
        std::lock_guard watchLock(watchMutex);
        watchStopping = false;
    }
    watchThread = std::thread([this] { watchAudioOutput(); });
    return true;
}

void SynthGraph::watchAudioOutput()
{
    using Clock = std::chrono::steady_clock;
    Clock::time_point nextRetry = Clock::now() + audioServerRetryInterval;
    Clock::time_point nextLostCheck = nextRetry;
    unsigned errorsSeen = fluidErrors.load(std::memory_order_relaxed);
    std::unique_lock watchLock(watchMutex);
    while (!watchWake.wait_for(watchLock, watchTick, [this] { return watchStopping; })) {
        watchLock.unlock();
        const unsigned errors = fluidErrors.load(std::memory_order_relaxed);
        if (errors != errorsSeen || Clock::now() >= nextLostCheck) {
            errorsSeen = errors;
            nextLostCheck = Clock::now() + audioServerRetryInterval;
            std::lock_guard lock(driverMutex);
            if (driver != nullptr && driverServerLost(driverName, servers)) {
                delete_fluid_audio_driver(driver);
                driver = nullptr;
                driverName = nullptr;
                nextRetry = Clock::now() + audioServerRetryInterval;
                std::printf(
                    "The audio output was lost: the built-in synthesiser plays silently until "
                    "it is back.\n");
                std::fflush(stdout);
            }
        }
        bool silent = false;
        {
            std::lock_guard lock(driverMutex);
            silent = driver == nullptr;
        }
        if (silent && Clock::now() >= nextRetry) {
            nextRetry = Clock::now() + audioServerRetryInterval;
            // Opened without holding driverMutex: a server that is slow to answer must not hold up
            // render() or isSilent(). Nothing else opens or closes the output while the watch runs.
            const OpenedDriver opened = openAudioDriver(settings, synth, servers);
            if (opened.driver != nullptr) {
                std::lock_guard lock(driverMutex);
                driver = opened.driver;
                driverName = opened.name;
                std::printf("The built-in synthesiser plays through the audio output again.\n");
                std::fflush(stdout);
            }
        }
        watchLock.lock();
    }
}

void SynthGraph::stopWatch()
{
    if (!watchThread.joinable())
        return;
    {
        std::lock_guard watchLock(watchMutex);
        watchStopping = true;
    }
    watchWake.notify_all();
    watchThread.join();
}

bool SynthGraph::isSilent()
{
    if (!audioOutputOn)
        return false;
    if (!isInitialized())
        return true;
    std::lock_guard lock(driverMutex);
    return running && driver == nullptr;
}

void SynthGraph::stop()
{
    stopWatch();
    std::lock_guard lock(driverMutex);
    if (driver != nullptr) {
        delete_fluid_audio_driver(driver);
        driver = nullptr;
        driverName = nullptr;
    }
    if (synth != nullptr)
        fluid_synth_system_reset(synth);
    running = false;
}

bool SynthGraph::midiEvent(int status, int data1, int data2)
{
    if (!isInitialized())
        return false;
    const int channel = status & 0x0F;
    data1 &= 0x7F;
    data2 &= 0x7F;
    switch (status & 0xF0) {
        case 0x80:
            fluid_synth_noteoff(synth, channel, data1);
            return true;
        case 0x90:
            if (data2 == 0)
                fluid_synth_noteoff(synth, channel, data1);
            else
                fluid_synth_noteon(synth, channel, data1, data2);
            return true;
        case 0xB0:
            fluid_synth_cc(synth, channel, data1, data2);
            return true;
        case 0xC0:
            fluid_synth_program_change(synth, channel, data1);
            return true;
        case 0xE0:
            fluid_synth_pitch_bend(synth, channel, data1 | (data2 << 7));
            return true;
        default:
            return false;
    }
}

bool SynthGraph::render(float* left, float* right, int frames)
{
    std::lock_guard lock(driverMutex);
    if (synth == nullptr || driver != nullptr || frames <= 0)
        return false;
    return fluid_synth_write_float(synth, frames, left, 0, 1, right, 0, 1) == FLUID_OK;
}

}  // namespace nupo
