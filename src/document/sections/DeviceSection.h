#pragma once

#include "document/DocumentSection.h"

#include <optional>

namespace nupo {

// The Device tab's channel configuration `DeviceConfig`: the number of EEG channels less one (0..3).
// Another value, or one that is not a whole number, is refused: a channel count cannot be guessed.
class DeviceSection : public DocumentSection {
public:
    QString key() const override { return QStringLiteral("Device"); }
    std::optional<PlistDictionary> write() override;
    bool stage(SectionInput& input) override;
    void apply(const DocumentReadContext& context) override;

private:
    std::optional<int> staged;
};

}  // namespace nupo
