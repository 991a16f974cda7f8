#pragma once

#include "document/DocumentSection.h"

#include <array>
#include <optional>
#include <vector>

namespace nupo {

// The background colours of the raw-wave, bar-graph and waterfall views: four components each (red,
// green, blue, alpha), read from the shared views with `getBackgroundColor:` and written back with
// `setBackgroundColorA:ColorV:`, which hands the colour to the windows' next nib load.
class DisplayColorSection : public DocumentSection {
public:
    QString key() const override { return QStringLiteral("DisplayColor"); }
    std::optional<PlistDictionary> write() override { return getNUPO4DisplayColor(); }
    bool stage(SectionInput& input) override;
    void apply(const DocumentReadContext&) override { putNUPO4DisplayColor(); }

    PlistDictionary getNUPO4DisplayColor() const;
    void putNUPO4DisplayColor();

private:
    std::array<std::optional<std::vector<double>>, 3> staged;
};

}  // namespace nupo
