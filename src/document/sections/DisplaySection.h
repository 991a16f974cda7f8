#pragma once

#include "document/sections/FieldTable.h"

namespace nupo {

// The display settings of every graph window (the Display tab) and the waterfall's overlay flags
// `displayMode2DX` (twelve rows of twelve flags).
class DisplaySection : public DocumentSection {
public:
    DisplaySection();

    QString key() const override { return QStringLiteral("Display"); }
    std::optional<PlistDictionary> write() override;
    bool stage(SectionInput& input) override;
    void apply(const DocumentReadContext& context) override;

private:
    ScalarFields scalars;
    std::optional<std::vector<std::vector<double>>> overlayFlags;
    bool gridColoursGiven = false;
};

}  // namespace nupo
