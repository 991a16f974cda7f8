#pragma once

// The peak-to-MIDI and band-to-MIDI sections. Both write and read the edited copies of the setups (the
// committed copies stay as they are) and make the mappers' calls in the order the mappers expect.

#include "document/sections/FieldTable.h"
#include "document/sections/MidiDocumentCalls.h"

namespace nupo {

// Whether the setups a section writes are the user's: read from a file, or changed since the panel was
// first opened. Opening the panel marks the setups as in use (`setBrainpeakMIDIOpend`,
// `setBrainrhythmMIDIOpend`) but changes none of them; a document saved then must be the one saved
// before. What the setups held while they were not in use is kept as the untouched setups, and setups
// in use that still hold exactly that (values the mappers measure aside) are not the user's.
class HeldSetups {
public:
    explicit HeldSetups(QStringList measured) : measured(std::move(measured)) {}

    // The setups written now (in use or not); true when they are the user's.
    bool held(bool inUse, const PlistDictionary& written);
    // A file's setups were read: they are the user's from now on.
    void readFromFile() { fromFile = true; }
    const QStringList& measuredKeys() const { return measured; }

private:
    bool same(const PlistDictionary& a, const PlistDictionary& b) const;

    QStringList measured;
    std::optional<PlistDictionary> untouched;
    bool fromFile = false;
};

// Saved only while the peak setups are in use (`setBrainpeakMIDIOpend`) and the user's (HeldSetups).
class PeakMidiSection : public DocumentSection {
public:
    explicit PeakMidiSection(MidiDocumentCalls& calls = MidiDocumentCalls::sharedCalls());
    // Keys of the values the mapper measures as it runs: no setting of the user.
    static QStringList measuredKeys();

    QString key() const override { return QStringLiteral("BrainPeakMIDI"); }
    std::optional<PlistDictionary> write() override;
    bool stage(SectionInput& input) override;
    void apply(const DocumentReadContext& context) override;

private:
    MidiDocumentCalls& calls;
    SetupFields setups;
    ScalarFields scalars;
    HeldSetups held{measuredKeys()};
};

// Always saved, with an opened flag that is set while the setups are in use and the user's
// (HeldSetups); read only when that flag was set in the file.
class BandMidiSection : public DocumentSection {
public:
    explicit BandMidiSection(MidiDocumentCalls& calls = MidiDocumentCalls::sharedCalls());
    // Keys of the values the mapper measures as it runs: no setting of the user.
    static QStringList measuredKeys();

    QString key() const override { return QStringLiteral("BrainRhythmMIDI"); }
    std::optional<PlistDictionary> write() override;
    bool stage(SectionInput& input) override;
    void apply(const DocumentReadContext& context) override;

private:
    MidiDocumentCalls& calls;
    SetupFields setups;
    ScalarFields scalars;
    HeldSetups held{measuredKeys()};
    int storedOpened = 0;
};

}  // namespace nupo
