#include "midi/band/BandWorker.h"

#include "analysis/QXFFT.h"
#include "midi/band/BandMeasurement.h"
#include "midi/band/BandPorts.h"
#include "midi/band/BandValues.h"
#include "midi/band/SetMIDIband.h"
#include "midi/common/BandQuery.h"
#include "midi/common/MidiMapperWorker.h"
#include "midi/output/MidiOutput.h"
#include "shared/CoreState.h"

#include <algorithm>

namespace nupo {

bool bandSetupsIdle()
{
    return noSetupSwitchedOn(ONInputEX, MIDIoutONEX);
}

void BandWorker::timerUpdate()
{
    runMapperTick(
        needOffNoteB, [this] { sendMIDIbandData(); }, [this] { mapper.sendMidiShutDown(); });
}

namespace {

// The spectra of one pass: each source's spectrum is taken once, when a setup first asks a band of it,
// and answers every band of every setup on that source for the rest of the pass.
class PassSpectra {
public:
    float band(int source, float lowF, float highF, int mode)
    {
        if (!validBandSource(source))
            return 0.0f;
        BandSpectrum& spectrum = spectra[std::size_t(source)];
        if (!taken[std::size_t(source)]) {
            spectrum = QXFFT::sharedQXFFT().bandSpectrum(source);
            taken[std::size_t(source)] = true;
        }
        return gainedBandValue(source, QXFFT::bandPeakIn(spectrum, lowF, highF, mode).value);
    }

private:
    std::array<BandSpectrum, 10> spectra;
    std::array<bool, 10> taken{};
};

}  // namespace

void BandWorker::sendMIDIbandData()
{
    PassSpectra spectra;
    const int shown = shownBandSetup();
    const bool solo = setSoloBandX != 0;
    const int first = solo ? shown : 0;
    const int last = solo ? shown : maxSetupNumber - 1;
    for (int s = first; s <= last; ++s) {
        if (const double interval = bandSendInterval(SendMIDItimingEX[s]); interval >= 0.0)
            tlongEX[s] = interval;
        if (mtimeatMIDIs() - tsaveEX[s] < tlongEX[s])
            continue;
        if (ONInputEX[s] == 1) {
            BandValuesOf8 values;
            const bool measured = measureBandValues(
                s, values,
                [&spectra](int c, float lo, float hi, int mode) { return spectra.band(c, lo, hi, mode); });
            // Stored at s itself: the shown setup's panel shows them through the display tick.
            if (measured)
                for (std::size_t n = 0; n < bandCount; ++n)
                    bandOutX[n][s] = values[n];
        }
        if (MIDIoutONEX[s] == 1)
            sendMIDInote(s);
        tsaveEX[s] = mtimeatMIDIs();
    }
}

float BandWorker::FFTband(int source, float lowF, float highF, int mode)
{
    if (!validBandSource(source))
        return 0.0f;
    return bandPeakValue(source, lowF, highF, mode);
}

void BandWorker::sendMIDInote(int s)
{
    if (s < 0 || s >= maxSetupNumber)
        return;
    std::array<BandNote, bandCount> notes;
    const float gain = gainNoteX[s];
    for (std::size_t n = 0; n < bandCount; ++n)
        notes[n] = bandNote(bandOutX[n][s], gain);
    if (MIDIoutONEX[s] == 0)
        return;
    const int port = mapper.midiPortReturn(s);
    const bool onOff = NoteOnOffEX[s] != 0;
    if (!onOff && NoteOffOnEX[s] == 0)
        return;
    for (std::size_t n = 0; n < bandCount; ++n) {
        const int channel = MIDIchannelBandX[n][s];
        if (onOff)
            mapper.sendMidiOutOn(notes[n].note, notes[n].velocity, s, channel, port, 0);
        else
            mapper.sendMidiOutOffOn(notes[n].note, notes[n].velocity, s, channel, port, 0, 0);
        BandPorts::noteSent(port, channel);
    }
}

}  // namespace nupo
