// From a new spectrum to the MIDI bytes leaving our port: new peak tables, then one worker pass over
// 128 enabled setups that measure, map and send. With a JACK server (JACK_DEFAULT_SERVER names it) the
// messages leave through real ports to our own destination "NUPO" and the source "from NUPO"; without
// a MIDI system the same pass runs with every send a no-op.
#include "midi/output/MidiOutput.h"
#include "midi/peak/SetMIDI.h"
#include "platform/synth/SynthGraph.h"
#include "shared/AnalysisState.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <algorithm>

namespace nupo {
namespace {

void enableAllSetups()
{
    const int nupo =
        int(std::find(strMIDIport.begin(), strMIDIport.end(), QStringLiteral("NUPO")) - strMIDIport.begin());
    for (int s = 0; s < maxSetupNumber; ++s) {
        MIDIoutONX[s] = 1;
        ONInputX[s] = 1;
        UsePeakModeX[s] = 0;
        NUPOchannelX[s] = s % 4;
        MIDIchannelX[s] = s % 16;
        MIDIportX[s] = nupo < findPortCountE ? nupo : 0;
        PlayOnlyNoteChangedX[s] = 1;
        tlongX[s] = 0.0;
    }
    SetupNX = 0;
}

// A new spectrum: the peaks move every pass, so every setup's note changes.
void newSpectrum(int pass)
{
    std::atomic<float>* tables[4] = {peakFFTA, peakFFTB, peakFFTD, peakFFTE};
    for (int c = 0; c < 4; ++c) {
        tables[c][0] = float(5 + (pass + c) % 10);
        tables[c][1] = float(2 + (pass * 3 + c) % 38);
    }
}

void BM_PeakSpectrumToMidi(benchmark::State& state)
{
    SynthGraph::setAudioOutputEnabled(false);
    firstTimeRunMIDIpeak = 0;
    SetMIDI& mapper = SetMIDI::sharedSetMIDI();
    mapper.setSetToDefault_(2);
    mapper.initPortStr();
    mapper.setResetMIDI_(1);
    enableAllSetups();
    state.SetLabel(findPortCountE > 0 ? "through MIDI ports" : "no MIDI system: sends are no-ops");
    int pass = 0;
    for (auto _ : state) {
        newSpectrum(++pass);
        mapper.doMIDI();
    }
    state.counters["setups"] = maxSetupNumber;
    for (int s = 0; s < maxSetupNumber; ++s)
        MIDIoutONX[s] = 0;
    disposeMidi();
}
BENCHMARK(BM_PeakSpectrumToMidi)->Unit(benchmark::kMicrosecond)->UseRealTime();

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
