#include "midi/output/MidiSynth.h"

#include "midi/output/MidiOutput.h"

#include "platform/synth/GeneralMidi.h"
#include "platform/synth/InstrumentPicker.h"
#include "platform/synth/SynthGraph.h"

#include <algorithm>
#include <memory>
#include <mutex>

namespace nupo {

namespace {

// Instrument channels opened by the picker; only channels 0..7 take pitch bend.
constexpr int instrumentChannels = 8;
constexpr int instrumentNameLength = 31;

std::mutex synthMutex;
std::unique_ptr<SynthGraph> graph;
bool saidSilent = false;  // while the synthesiser made last is silent: told once until it is heard
std::array<bool, synthChannels> instrumentChannelOpen{};
std::array<int, synthChannels> instrumentChannelBend{};

int clampChannel(int channel)
{
    return std::clamp(channel, 0, synthChannels - 1);
}

}  // namespace

void withMidiSynth(const std::function<void(SynthGraph*)>& fn)
{
    std::lock_guard lock(synthMutex);
    fn(graph.get());
}

void AUMIDIsetInit()
{
    std::lock_guard lock(synthMutex);
    graph.reset();  // a restart must not leave the previous synthesiser playing
    saidSilent = false;
    auto created = std::make_unique<SynthGraph>();
    if (!created->isCreated())
        return;
    created->initialize();
    graph = std::move(created);
}

void AUMIDIsetOn(int channel, int program)
{
    std::lock_guard lock(synthMutex);
    if (!graph)
        return;
    const int status = clampChannel(channel);
    if (!graph->midiEvent(0xB0 | status, 0, 0))
        return;
    if (!graph->midiEvent(0xC0 | status, program & 0xFF, 0))
        return;
    graph->start();
}

void AUMIDIsetOff()
{
    std::lock_guard lock(synthMutex);
    if (graph)
        graph->stop();
    graph.reset();
}

void WriteVNoteAUMidi(int channel, int, int note, int velocity)
{
    bool sayNoAudio = false;
    {
        std::lock_guard lock(synthMutex);
        if (!graph)
            return;
        graph->midiEvent(0x90 | clampChannel(channel), note, velocity);
        if (velocity > 0) {
            const bool silent = graph->isSilent();
            sayNoAudio = silent && !saidSilent;
            saidSilent = silent;
        }
    }
    if (sayNoAudio)
        reportMidiProblem(
            QStringLiteral("A MIDI setup plays on the built-in synthesiser, but no audio output "
                           "could be opened (or no General MIDI soundfont is installed): "
                           "nothing is heard."));
}

void WriteVNoteQtMidi(int channel, int note, int on, int velocity)
{
    if (channel < 0 || channel >= synthChannels)
        return;
    WriteVNoteAUMidi(channel, mProgram[channel], note, on ? velocity : 0);
}

int PickQtMidi(int channel, int show, bool* chosen)
{
    channel = (channel >= 0 && channel < synthChannels) ? channel : 0;
    {
        std::lock_guard lock(synthMutex);
        instrumentChannelOpen[channel] = false;
    }
    InstrumentChoice choice;
    choice.number = std::clamp(mProgram[channel] + 1, 1, 128);
    choice.name.clear();
    bool picked = true;
    if (show) {
        const QString prompt =
            channel == 9 ? QStringLiteral("Pick An:") : QStringLiteral("Pick An Instrument:");
        InstrumentChoice picks = choice;
        picked = runInstrumentPicker(prompt, choice.number, picks);
        if (picked)
            choice = picks;
    }
    if (chosen)
        *chosen = picked;
    {
        std::lock_guard lock(synthMutex);
        instrumentChannelOpen[channel] = picked;
        instrumentChannelBend[channel] = 0;
    }
    // The name of what the channel now holds: the picked instrument, or its previous one.
    const QString name = choice.name.isEmpty() ? generalMidiProgramName(choice.number - 1) : choice.name;
    mProgramText[channel] = name.left(instrumentNameLength);
    return std::clamp(choice.number, 1, 128) - 1;
}

void PitchBendQtMidi(int value, int channel)
{
    if (channel < 0)
        return;
    const int letter = std::min(channel, instrumentChannels - 1);
    std::lock_guard lock(synthMutex);
    if (instrumentChannelOpen[letter])
        instrumentChannelBend[letter] = value;
}

int instrumentChannelPitchBend(int channel)
{
    if (channel < 0 || channel >= synthChannels)
        return -1;
    std::lock_guard lock(synthMutex);
    return instrumentChannelOpen[channel] ? instrumentChannelBend[channel] : -1;
}

}  // namespace nupo
