#pragma once

// The band panel's per-band controls, one family per kind and the band 1..8 as argument: the band edges
// (with the brain-switch link when the setup follows brain switches), the band values and their notes,
// the band channels; the gain, the setup number and name entries, the band display and the panel's
// awakening.

class QObject;

namespace nupo {

class SetMIDIband;

class BandFamilies {
public:
    explicit BandFamilies(SetMIDIband& mapper) : mapper(mapper) {}

    // The user moved an edge slider / typed an edge: the setter, then the brain-switch link.
    void changeEdge(int band, bool upper, QObject* sender);
    void sendTextEdge(int band, bool upper, QObject* sender);
    // Stores an edge of the shown setup and shows it; no range check and no link.
    void setEdge(int band, bool upper, float hz);
    void changeBandValue(int band, QObject* sender);
    // Shows a band value and its note; `store` also writes it into the shown setup.
    void bandValue(int band, float value, bool store);
    void changeGain(QObject* sender);
    void setGain(float gain);
    void selectChannel(int band, QObject* sender);
    void sendTextChannel(int band, QObject* sender);
    // Stores the channel clamped to 0..15 and shows it (1-based in the display field).
    void setChannel(int band, int channel);
    void stepChannel(int band, int channel);
    void stepChannel(int band, QObject* sender);
    void sendTextSetupNinputField(QObject* sender);
    void sendTextSetupNstringField(QObject* sender);
    // The 0.1 s band display: the shown setup's band values, display only.
    void needUpdateInputBandDataQ();
    // The panel's awakening (after init): pop-ups, first-awakening work, the shown setup loaded.
    void awaken();

private:
    void link(int band, bool upper);
    void showNote(int band, float value);

    SetMIDIband& mapper;
};

}  // namespace nupo
