#pragma once

// The peak-to-MIDI and band-to-MIDI sections. Both write and read the edited copies of the setups (the
// committed copies stay as they are) and make the mappers' calls in the order the mappers expect.

#include "document/sections/FieldTable.h"
#include "document/sections/MidiDocumentCalls.h"

namespace nupo {

// Saved only while the peak setups are in use (`setBrainpeakMIDIOpend`).
class PeakMidiSection : public DocumentSection {
public:
    explicit PeakMidiSection(MidiDocumentCalls& calls = MidiDocumentCalls::sharedCalls());

    QString key() const override { return QStringLiteral("BrainPeakMIDI"); }
    std::optional<PlistDictionary> write() override;
    bool stage(SectionInput& input) override;
    void apply(const DocumentReadContext& context) override;

private:
    MidiDocumentCalls& calls;
    SetupFields setups;
    ScalarFields scalars;
};

// Always saved, with the process's opened flag; read only when that flag was set in the file.
class BandMidiSection : public DocumentSection {
public:
    explicit BandMidiSection(MidiDocumentCalls& calls = MidiDocumentCalls::sharedCalls());

    QString key() const override { return QStringLiteral("BrainRhythmMIDI"); }
    std::optional<PlistDictionary> write() override;
    bool stage(SectionInput& input) override;
    void apply(const DocumentReadContext& context) override;

private:
    MidiDocumentCalls& calls;
    SetupFields setups;
    ScalarFields scalars;
    int storedOpened = 0;
};

}  // namespace nupo
