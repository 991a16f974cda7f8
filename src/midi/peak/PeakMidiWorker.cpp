#include "midi/peak/PeakMidiWorker.h"

#include "midi/common/MidiMapperWorker.h"
#include "midi/output/MidiOutput.h"
#include "midi/peak/PeakMeasurement.h"
#include "midi/peak/PeakMidiMap.h"
#include "midi/peak/SetMIDI.h"
#include "platform/appkit/MainThread.h"

#include <algorithm>
#include <cmath>

namespace nupo {

void mapPeakInput(int s, PeakMeasure m, float value)
{
    if (!validSetup(s))
        return;
    const bool isF = m == PeakMeasure::F;
    SetupArray<float>& input = isF ? InputFX : InputVX;
    if (std::isfinite(value))
        input[s] = value;
    const float mapped = isF ? mapIntoOutputRange(input[s], LowFX[s], HighFX[s], LowFNX[s], HighFNX[s])
                             : mapIntoOutputRange(input[s], LowVX[s], HighVX[s], LowVNX[s], HighVNX[s]);
    (isF ? OutputFX : OutputVX)[s] = mapped;
}

bool peakSetupsIdle()
{
    return noSetupSwitchedOn(ONInputX, MIDIoutONX);
}

void PeakMidiWorker::timerUpdate()
{
    runMapperTick(
        needOffNote, [this] { doMIDI(); }, [this] { mapper.sendMidiShutDownALL(); });
}

void PeakMidiWorker::timerUpdateX()
{
    if (mapperDisplayDue(setBrainpeakMIDIOpend))
        NotificationCenter::defaultCenter().postNotificationName(needUpdateInputDataNotification, &mapper);
}

void PeakMidiWorker::doMIDI()
{
    const int shown = SetupNX;
    for (int s = 0; s < maxSetupNumber; ++s)
        MIDIoutONXZ[s] = MIDIoutONX[s].load();
    const bool solo = setSoloX != 0;
    const int first = solo ? std::clamp(shown, 0, maxSetupNumber - 1) : 0;
    const int last = solo ? first : maxSetupNumber - 1;
    for (int s = first; s <= last; ++s) {
        const int peaks = Play3PeaksX[s] != 0 ? 3 : 1;
        if (mtimeatMIDIs() - tsaveX[s] < tlongX[s])
            continue;
        for (int p = 0; p < peaks; ++p) {
            if (ONInputX[s] != 0) {
                const PeakInput input = measurePeakInput(s, p);
                const float f = input.measured ? input.f : InputFX[s].load();
                const float v = input.measured ? input.v : InputVX[s].load();
                mapPeakInput(s, Measure::F, f);
                if (s == shown)
                    sendMIDIData(s, 0);
                mapPeakInput(s, Measure::V, v);
                if (s == shown)
                    sendMIDIData(s, 0);
            }
            if (MIDIoutONX[s] != 1)
                continue;
            if (LowFX[s] <= InputFX[s] && InputFX[s] <= HighFX[s]) {
                sendMIDIData(s, PlayOnlyNoteChangedX[s] != 0 ? p : p + 10);
                PlayNote = 1;
            } else if (PlayNote != 0) {
                mapper.sendMidiOutOff(truncatedValue(OutputFX[s]), s, MIDIchannelX[s],
                                      mapper.midiPortReturn(s), 1);
                PlayNote = 0;
            }
        }
        tsaveX[s] = mtimeatMIDIs();
    }
    for (int s = 0; s < maxSetupNumber; ++s)
        MIDIoutONXZ[s] = MIDIoutONX[s].load();
}

void PeakMidiWorker::sendSetupChannel(int s, int channel)
{
    MIDIchannelX[s] = std::clamp(channel, 0, 15);
    if (!MidiMapperWorker::onWorkerThread()) {
        mapper.setMIDIchannel(0);
        return;
    }
    // On the worker: the setup's program on its new channel, and the panels show the channel later.
    mapper.sendMidiCprogram(ProgramChangeXXX[s], s, MIDIchannelX[s], mapper.midiPortReturn(s), 1);
    performOnMainThread([] { SetMIDI::showChannelEverywhere(); });
}

void PeakMidiWorker::sendMIDIData(int s, int slot)
{
    if (!validSetup(s) || MIDIoutONX[s] != 1)
        return;
    const int fo = truncatedValue(OutputFX[s]);
    const int vo = truncatedValue(OutputVX[s]);
    const int port = mapper.midiPortReturn(s);
    auto note = [&](int number, int velocity) {
        if (NoteOnOffX[s] != 0)
            mapper.sendMidiOutOnOff(number, velocity, s, MIDIchannelX[s], port, slot, 1);
        else if (NoteOffOnX[s] != 0)
            mapper.sendMidiOutOffOn(number, velocity, s, MIDIchannelX[s], port, slot, 1);
    };
    if (MIDInoteFX[s] != 0)
        note(fo, vo);
    else if (MIDIvelocityFX[s] != 0)
        note(vo, fo);
    if (MIDIchannelFX[s] != 0)
        sendSetupChannel(s, fo);
    if (MIDIprogramchangeFX[s] != 0)
        mapper.sendMidiCprogram(fo, s, MIDIchannelX[s], port, 1);
    if (MIDIpitchbendFX[s] != 0)
        mapper.sendMidiCpitch(fo, s, MIDIchannelX[s], port, 1);
    if (MIDIcontrolchangeVFX[s] != 0)
        mapper.sendMidiControlChange(fo, vo, s, MIDIchannelX[s], port, 1);
    else if (MIDIcontrolchangeNFX[s] != 0)
        mapper.sendMidiControlChange(vo, fo, s, MIDIchannelX[s], port, 1);
    if (MIDInoteVX[s] != 0)
        note(vo, fo);
    else if (MIDIvelocityVX[s] != 0)
        note(fo, vo);
    if (MIDIchannelVX[s] != 0)
        sendSetupChannel(s, vo);
    if (MIDIprogramchangeVX[s] != 0)
        mapper.sendMidiCprogram(vo, s, MIDIchannelX[s], port, 1);
    if (MIDIpitchbendVX[s] != 0)
        mapper.sendMidiCpitch(vo, s, MIDIchannelX[s], port, 1);
    if (MIDIcontrolchangeVVX[s] != 0)
        mapper.sendMidiControlChange(vo, fo, s, MIDIchannelX[s], port, 1);
    else if (MIDIcontrolchangeNVX[s] != 0)
        mapper.sendMidiControlChange(fo, vo, s, MIDIchannelX[s], port, 1);
}

float PeakMidiWorker::FFTbandV(int channel, float lowF, float highF, int mode)
{
    return bandPeakValue(channel, lowF, highF, mode);
}

float PeakMidiWorker::FFTbandF(int, float, float, int)
{
    return bandPeakFrequency();
}

}  // namespace nupo
