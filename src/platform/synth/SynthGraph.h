#pragma once

#include "platform/media/AudioServers.h"

#include <QString>

#include <fluidsynth/types.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace nupo {

// The built-in General MIDI synthesiser: a FluidSynth instance with the General MIDI soundfont, played
// through the default audio output. Made in three steps like an audio graph: construct (nodes and
// connections), initialize() (loads the soundfont), start() (opens the audio output). MIDI events are
// accepted from any thread. With the audio output switched off (tests), render() pulls samples instead.
//
// While it runs without an audio output (none answered, or its server was lost), a watch thread tries
// the outputs again every few seconds, so the sound comes back once a server is there again. An output
// on a sound server whose socket stops answering is closed as lost.
class SynthGraph {
public:
    SynthGraph();
    ~SynthGraph();
    SynthGraph(const SynthGraph&) = delete;
    SynthGraph& operator=(const SynthGraph&) = delete;

    // Process-wide: whether start() opens an audio output. Tests switch it off and call render().
    static void setAudioOutputEnabled(bool enabled);
    static bool audioOutputEnabled();
    // The soundfont loaded by initialize(); the first that exists of the usual General MIDI files.
    static QString soundFontPath();

    bool isCreated() const { return synth != nullptr; }
    bool isInitialized() const { return soundFontId >= 0; }
    bool isRunning() const { return running; }
    // Started to play through an audio output that could not be opened, or without a soundfont: what it
    // plays is not heard. (With the audio output switched off on purpose it is not silent.)
    bool isSilent();

    // Each returns false when the step failed; later steps then do nothing.
    bool initialize();
    bool start();
    void stop();

    // One channel message (status byte with channel, two data bytes). False when the synth is not ready.
    bool midiEvent(int status, int data1, int data2);

    // Renders frames of stereo audio into left and right; only while no audio output is open.
    bool render(float* left, float* right, int frames);

private:
    void watchAudioOutput();
    void stopWatch();

    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_audio_driver_t* driver = nullptr;  // guarded by driverMutex
    const char* driverName = nullptr;        // guarded by driverMutex: the output driver is on
    int soundFontId = -1;
    bool running = false;
    std::mutex driverMutex;
    // Where the sound servers listen, read by start() for the watch.
    AudioServerSockets servers;

    // The watch thread is the only one that opens outputs while it runs.
    std::thread watchThread;
    std::mutex watchMutex;
    std::condition_variable watchWake;
    bool watchStopping = false;  // guarded by watchMutex
};

}  // namespace nupo
