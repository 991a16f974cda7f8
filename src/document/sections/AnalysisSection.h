#pragma once

#include "document/DocumentSection.h"

#include <array>
#include <optional>

namespace nupo {

// The analysis settings of the Preferences window: FFT size (`fftp`), the channel gain indices
// `setGain1Number` .. `setGain4Number`, log power, averaging and the mains frequency. Reading hands them to
// the shared `SetFFTController`, so that the transform tables, display gains and panel follow.
class AnalysisSection : public DocumentSection {
public:
    QString key() const override { return QStringLiteral("Analysis"); }
    std::optional<PlistDictionary> write() override;
    bool stage(SectionInput& input) override;
    void apply(const DocumentReadContext& context) override;

private:
    struct Contents {
        std::optional<int> pointIndex;
        std::array<std::optional<int>, 4> gains;
        std::optional<int> logPower;
        std::optional<int> averagingIndex;
        std::optional<int> mains;
    };
    Contents staged;
};

}  // namespace nupo
