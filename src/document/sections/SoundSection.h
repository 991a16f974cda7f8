#pragma once

#include "document/DocumentSection.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace nupo {

// The document's sound-save switch: set when a document read holds sound slots to reopen.
inline int setSoundSetupSaveX = 0;

// The ten sound slots: every element of the thirty slot arrays, the ten tables of sound paths, and the
// block settings `SoundBlockX` and `PlaySoundBlockX`, and the frames of the slot windows
// (`SoundWindowFrameA`), where the reopened windows open. Reading marks the slot tables as valid
// (`firsttimeQXSoundController`); the document's window set-up then reopens the slots that hold sounds
// (SoundOpenFromFileAction).
class SoundSection : public DocumentSection {
public:
    QString key() const override { return QStringLiteral("Sound"); }
    std::optional<PlistDictionary> write() override;
    bool stage(SectionInput& input) override;
    // A document without the section has no sounds: the slot tables start from their defaults, and no
    // slot window reopens.
    bool stageDefaults() override;
    void apply(const DocumentReadContext& context) override;

    // Longest path kept in a path table (the openers hand paths over in a 1024-byte buffer).
    static constexpr int maxPathLength = 1023;
    // The keys of the slot windows' frames: where a window stands is no change of the document.
    static QStringList frameKeys();

private:
    std::vector<std::optional<std::vector<double>>> arrays;
    std::vector<std::optional<std::vector<QString>>> paths;
    std::vector<std::optional<std::vector<double>>> frames;
    std::optional<int> block, playBlock;
    bool defaults = false;  // staged by stageDefaults()
};

}  // namespace nupo
