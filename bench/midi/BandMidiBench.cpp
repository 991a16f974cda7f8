// From band measurements to the MIDI bytes leaving our port: one worker pass over 128 enabled band
// setups that measure their eight bands (FFT band power of the four channels from a recording) and send
// their eight notes. With a JACK server (JACK_DEFAULT_SERVER names it) the messages leave through real
// ports to our own destination "NUPO"; without a MIDI system the same pass runs with every send a no-op.
#include "midi/band/SetMIDIband.h"
#include "midi/output/MidiOutput.h"
#include "platform/synth/SynthGraph.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace nupo {
namespace {

void enableAllSetups()
{
    const int nupo =
        int(std::find(strMIDIport.begin(), strMIDIport.end(), QStringLiteral("NUPO")) - strMIDIport.begin());
    for (int s = 0; s < maxSetupNumber; ++s) {
        MIDIoutONEX[s] = 1;
        ONInputEX[s] = 1;
        UsePeakModeEX[s] = 0;
        NUPOchannelEX[s] = s % 4;
        MIDIportEX[s] = nupo < findPortCountE ? nupo : 0;
        NoteOnOffEX[s] = 0;
        NoteOffOnEX[s] = 1;  // only changed notes leave
        gainNoteX[s] = 5.0f;
    }
}

// Four channels of alpha and beta waves with noise, long enough for every position the passes take.
void fillRecording()
{
    RecordingBuffers& port = RecordingBuffers::sharedRecordingBuffers();
    port.allocate();
    for (int c = 1; c <= 4; ++c)
        for (int i = 0; i < 24000; ++i)
            port.putIntToBuffer(
                c, i, int(300 * std::sin(i * 0.52 * c) + 120 * std::sin(i * 1.7) + (i * 7919 % 61) - 30));
}

void BM_BandMeasurementsToMidi(benchmark::State& state)
{
    SynthGraph::setAudioOutputEnabled(false);
    firstTimeRunMIDIband = 0;
    SetMIDIband& mapper = SetMIDIband::sharedSetMIDIband();
    mapper.setSetToDefault_(2);
    mapper.initPortStr();
    mapper.setResetMIDI_(1);
    fillRecording();
    enableAllSetups();
    state.SetLabel(findPortCountE > 0 ? "through MIDI ports" : "no MIDI system: sends are no-ops");
    for (auto _ : state) {
        ploop = (ploop + 7) % 20000 + 1000;  // new samples every pass
        mapper.sendMIDIbandData();
    }
    state.counters["setups"] = maxSetupNumber;
    for (int s = 0; s < maxSetupNumber; ++s)
        MIDIoutONEX[s] = 0;
    disposeMidi();
}
BENCHMARK(BM_BandMeasurementsToMidi)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace nupo

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
