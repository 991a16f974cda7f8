#pragma once

// The running half of the band mapper: the 0.01 s worker tick, one pass over the band setups that
// measures their bands and sends their notes, and the pause while a document is written or read.

namespace nupo {

class SetMIDIband;

// True while no band setup has its input or output on: a pass then only takes its setups' times, sending
// nothing and changing no band value, so the worker may rest.
bool bandSetupsIdle();

class BandWorker {
public:
    explicit BandWorker(SetMIDIband& mapper) : mapper(mapper) {}

    // The tick: a pass, or, while a document or preference file is saved or opened, one shutdown.
    void timerUpdate();
    // One pass over setups 0..127 (or the shown setup alone while solo is on), each when due.
    void sendMIDIbandData();
    // One band of the FFT band source: the band query of the analysis, divided by the display gain for
    // the channels 0..3; 0 for a source outside 0..9.
    float FFTband(int source, float lowF, float highF, int mode);
    // The eight notes of a setup from its band values and gain, by its note mode.
    void sendMIDInote(int s);

private:
    SetMIDIband& mapper;
};

}  // namespace nupo
