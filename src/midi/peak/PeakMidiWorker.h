#pragma once

namespace nupo {

class SetMIDI;

enum class PeakMeasure { F, V };

// True when no setup measures or sends: a pass then only keeps its clocks, and a shutdown sends nothing.
bool peakSetupsIdle();

// Maps a measured F or V of setup s (a non-finite value keeps the stored input) into its output range.
void mapPeakInput(int s, PeakMeasure measure, float value);

// The peak mapper's worker pass: on every due tick it measures each setup's peaks, maps them and sends
// the notes and messages the setup's routing asks for. Runs on the worker thread, except where the
// panel sends a setup's messages itself.
class PeakMidiWorker {
public:
    explicit PeakMidiWorker(SetMIDI& owner) : mapper(owner) {}

    void timerUpdate();
    void timerUpdateX();
    void doMIDI();
    void sendMIDIData(int setup, int slot);
    float FFTbandV(int channel, float lowF, float highF, int mode);
    float FFTbandF(int channel, float lowF, float highF, int mode);

private:
    using Measure = PeakMeasure;

    void sendSetupChannel(int setup, int channel);

    SetMIDI& mapper;
};

}  // namespace nupo
