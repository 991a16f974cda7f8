#pragma once

#include "document/DocumentSection.h"

#include <array>
#include <optional>

namespace nupo {

// The recorded channels: the five recording buffers up to `maxploop`, with the sampling rate, the replay
// speed (`tlongE`) and the play/record position. Each channel is one block of data: `maxploop` samples as 32-bit little-endian
// integers. A channel whose block does not hold exactly `maxploop` samples refuses the file. Once loaded,
// the waterfall's history starts afresh (`initPositionZ`). Documents only; the preference file does not
// carry a recording.
class RecordingSection : public DocumentSection {
public:
    QString key() const override { return QStringLiteral("Recording"); }
    bool inPreferenceFile() const override { return false; }
    std::optional<PlistDictionary> write() override;
    bool stage(SectionInput& input) override;
    void apply(const DocumentReadContext& context) override;

    static QString channelKey(int channel) { return QStringLiteral("Channel%1").arg(channel); }

private:
    int length = 0;
    int sampleSpeed = 0;
    std::optional<int> replaySpeed;
    int position = 0;
    int start = 0;
    std::array<QByteArray, 5> channels;
    std::array<bool, 5> present{};
};

}  // namespace nupo
