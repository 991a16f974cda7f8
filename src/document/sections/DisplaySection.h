#pragma once

#include "document/sections/FieldTable.h"

#include <array>

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
    std::array<std::optional<int>, 4> animations;  // the colour animations
    std::array<bool, 2> gridsGiven{};              // the file holds the bar-graph / raw-wave grid colour
    bool gridSwitchGiven = false;                  // the file holds the bar-graph grid switch
};

}  // namespace nupo
