#include "platform/midi/MidiSystem.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace nupo {

namespace {

std::atomic<bool> reportedNoSystem{false};

void quietJackMessage(const char*) {}

bool alsaSequencerWorks()
{
    if (access("/dev/snd/seq", R_OK | W_OK) != 0)
        return false;
    try {
        RtMidiOut probe(RtMidi::LINUX_ALSA, "NUPO MIDI probe");
        return true;
    } catch (const RtMidiError&) {
        return false;
    }
}

bool jackServerRuns(double& periodSeconds)
{
    // libjack reports a missing server on stderr; the absence is reported once by probe() instead.
    jack_set_error_function(quietJackMessage);
    jack_set_info_function(quietJackMessage);
    jack_status_t status{};
    jack_client_t* client = jack_client_open("NUPO MIDI probe", JackNoStartServer, &status);
    if (client == nullptr)
        return false;
    const jack_nframes_t rate = jack_get_sample_rate(client);
    const jack_nframes_t frames = jack_get_buffer_size(client);
    periodSeconds = rate > 0 ? double(frames) / double(rate) : 0.0;
    jack_client_close(client);
    return true;
}

}  // namespace

MidiSystemInfo MidiSystem::probe()
{
    MidiSystemInfo info;
    if (alsaSequencerWorks()) {
        info.api = MidiApi::Alsa;
    } else if (jackServerRuns(info.periodSeconds)) {
        info.api = MidiApi::Jack;
    } else if (!reportedNoSystem.exchange(true)) {
        std::printf("No MIDI system is available (no ALSA sequencer, no JACK server): MIDI is not sent.\n");
        std::fflush(stdout);
    }
    return info;
}

QString MidiSystem::apiName(MidiApi api)
{
    switch (api) {
        case MidiApi::Alsa:
            return QStringLiteral("ALSA");
        case MidiApi::Jack:
            return QStringLiteral("JACK");
        case MidiApi::None:
            break;
    }
    return QStringLiteral("none");
}

}  // namespace nupo
