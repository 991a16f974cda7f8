#pragma once

#include "document/DocumentSection.h"

#include <optional>
#include <vector>

namespace nupo {

// The document's sound-save switch: set when a document read holds sound slots to reopen.
inline int setSoundSetupSaveX = 0;

// The ten sound slots: every element of the thirty slot arrays, the ten tables of sound paths, and the
// block settings `SoundBlockX` and `PlaySoundBlockX`. Reading marks the slot tables as valid
// (`firsttimeQXSoundController`); the document's window set-up then reopens the slots that hold sounds
// (SoundOpenFromFileAction).
class SoundSection : public DocumentSection {
public:
    QString key() const override { return QStringLiteral("Sound"); }
    std::optional<PlistDictionary> write() override;
    bool stage(SectionInput& input) override;
    void apply(const DocumentReadContext& context) override;

    // Longest path kept in a path table (the openers hand paths over in a 1024-byte buffer).
    static constexpr int maxPathLength = 1023;

private:
    std::vector<std::optional<std::vector<double>>> arrays;
    std::vector<std::optional<std::vector<QString>>> paths;
    std::optional<int> block, playBlock;
};

}  // namespace nupo
