// Saving and opening a brain-note document with five full channels (the longest recording the buffers
// hold) and every core settings section.
#include <benchmark/benchmark.h>

#include "document/CoreDocumentSections.h"
#include "document/NUPO4DrawDocument.h"
#include "document/sections/MidiDocumentCalls.h"
#include "midi/band/BandSetupTable.h"
#include "midi/peak/PeakSetupTable.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

using namespace nupo;

namespace {

// The mappers are not started: the calls only keep the opened flags.
class QuietMidiCalls : public MidiDocumentCalls {
public:
    void init() override {}
    void setResetMIDI(int) override {}
    void setBrainpeakMIDIOpend(int v) override { nupo::setBrainpeakMIDIOpend = v; }
    void setBrainpeakMIDISetName(int) override {}
    void initTempo() override {}
    void setProgramChangeToAllSetup() override {}
    void convertPortNameToInt() override {}
    void bandInit() override {}
    void bandSetResetMIDI(int) override {}
    void setBrainrhythmMIDIOpend(int v) override { nupo::setBrainrhythmMIDIOpend = v; }
    void setBrainrhythmMIDISetName(int) override {}
    void bandSetGetOutMIDIPort() override {}
    void bandConvertPortNameToInt() override {}
};

struct FullDocument {
    QuietMidiCalls calls;
    NUPO4DrawDocument document;
    QTemporaryDir folder;
    QString path;

    FullDocument()
    {
        addCoreDocumentSections(document, calls);
        addRecordingSection(document);
        maxploop = MAXbuffer.load();
        RecordingBuffers& buffers = RecordingBuffers::sharedRecordingBuffers();
        buffers.allocate();
        for (int c = 0; c < RecordingBuffers::channelCount; ++c)
            for (int i = 0, n = maxploop.load(); i < n; ++i)
                buffers.putSampleAt(c, i, (i * (c + 5)) % 1021 - 510);
        setBrainpeakMIDIOpend = 1;
        setBrainrhythmMIDIOpend = 1;
        path = QDir(folder.path()).filePath(QStringLiteral("bench.nupo4"));
        document.writeToFile(path);
    }
};

FullDocument& fullDocument()
{
    static FullDocument doc;
    return doc;
}

void BM_SaveFiveFullChannels(benchmark::State& state)
{
    FullDocument& doc = fullDocument();
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.document.writeToFile(doc.path));
    state.counters["samples"] = double(maxploop.load()) * 5;
}
BENCHMARK(BM_SaveFiveFullChannels)->Unit(benchmark::kMillisecond)->UseRealTime();

// The document's state as text.
void BM_SerialiseFiveFullChannels(benchmark::State& state)
{
    FullDocument& doc = fullDocument();
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.document.dataRepresentation());
}
BENCHMARK(BM_SerialiseFiveFullChannels)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a save does on the main thread: the document's state taken (its text is made on a worker).
void BM_StateOfFiveFullChannels(benchmark::State& state)
{
    FullDocument& doc = fullDocument();
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.document.stateRepresentation());
}
BENCHMARK(BM_StateOfFiveFullChannels)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenFiveFullChannels(benchmark::State& state)
{
    FullDocument& doc = fullDocument();
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.document.readFromFile(doc.path));
}
BENCHMARK(BM_OpenFiveFullChannels)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same over an emptied recording: every sample read changes one (and is counted as a change).
void BM_OpenFiveFullChannelsOverAnEmptyRecording(benchmark::State& state)
{
    FullDocument& doc = fullDocument();
    for (auto _ : state) {
        state.PauseTiming();
        RecordingBuffers::sharedRecordingBuffers().clear();
        state.ResumeTiming();
        benchmark::DoNotOptimize(doc.document.readFromFile(doc.path));
    }
}
BENCHMARK(BM_OpenFiveFullChannelsOverAnEmptyRecording)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
