// From a new spectrum to the MIDI bytes leaving our port: new peak tables, then one worker pass over
// 128 enabled setups that measure, map and send. With a JACK server (JACK_DEFAULT_SERVER names it) the
// messages leave through real ports to our own destination "NUPO" and the source "from NUPO"; without
// a MIDI system the same pass runs with every send a no-op.
//
// BM_PeakToListener measures the whole path in wall time: from the new spectrum until a listening
// program on the JACK server holds every message of the pass, for 1 and for 128 enabled setups.
#include "../../tests/midi/MidiTestClient.h"

#include "midi/output/MidiOutput.h"
#include "midi/peak/SetMIDI.h"
#include "platform/synth/SynthGraph.h"
#include "shared/AnalysisState.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <thread>

namespace nupo {
namespace {

// Enables the first `count` setups (all when none is given), sending to the destination whose name ends
// with `port`.
void enableAllSetups(int count = maxSetupNumber, const QString& port = QStringLiteral("NUPO"))
{
    const int nupo = int(std::find_if(strMIDIport.begin(), strMIDIport.end(),
                                      [&](const QString& name) { return name.endsWith(port); }) -
                         strMIDIport.begin());
    for (int s = 0; s < maxSetupNumber; ++s) {
        MIDIoutONX[s] = s < count ? 1 : 0;
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

void BM_PeakToListener(benchmark::State& state)
{
    const int setups = int(state.range(0));
    if (!test::jackServerReachable()) {
        state.SkipWithError("no JACK server (scripts/test.sh shows how to start one)");
        return;
    }
    SynthGraph::setAudioOutputEnabled(false);
    auto listener = test::MidiTestClient::destination(QStringLiteral("bench listener"));
    firstTimeRunMIDIpeak = 0;
    SetMIDI& mapper = SetMIDI::sharedSetMIDI();
    mapper.setSetToDefault_(2);
    mapper.initPortStr();
    mapper.setResetMIDI_(1);
    if (MidiSystem::probe().api != MidiApi::Jack ||
        std::none_of(strMIDIport.begin(), strMIDIport.end(),
                     [](const QString& name) { return name.endsWith(QStringLiteral(":bench listener")); })) {
        state.SkipWithError("the listener is not among the destinations");
        disposeMidi();
        return;
    }
    enableAllSetups(setups, QStringLiteral(":bench listener"));

    // A first pass connects the port and tells how many messages one pass sends.
    int pass = 0;
    newSpectrum(++pass);
    mapper.doMIDI();
    std::size_t perPass = 0;
    for (std::size_t seen = std::size_t(-1); seen != perPass;) {
        seen = perPass;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        perPass = listener->messages().size();
    }
    std::size_t lost = 0;
    for (auto _ : state) {
        listener->clear();
        newSpectrum(++pass);
        mapper.doMIDI();
        lost += perPass - std::min(perPass, listener->waitForMessages(perPass).size());
    }
    state.counters["messages"] = double(perPass);
    state.counters["lost"] = double(lost);
    for (int s = 0; s < maxSetupNumber; ++s)
        MIDIoutONX[s] = 0;
    disposeMidi();
}
BENCHMARK(BM_PeakToListener)->Arg(1)->Arg(128)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(40);

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
