#pragma once

// Decoding and encoding of the patch interface's Open Sound Control messages: an address and a list of
// numbers. Nothing else is accepted: bundles, strings, blobs and other argument kinds are refused.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

namespace nupo {

// The largest datagram accepted (a patch message is well under it).
inline constexpr std::size_t maxPatchDatagramSize = 1024;
// The most arguments a patch message carries.
inline constexpr int maxPatchArguments = 4;

struct PatchMessage {
    QString address;
    std::vector<double> values;  // int32, float32, double and int64 arguments, every one finite
};

// A datagram read as a patch message, or, in `error`, why it was refused ("oversized", "malformed", a
// bundle, an argument of another kind, too many arguments, a value that is not finite).
std::optional<PatchMessage> decodePatchDatagram(const char* data, std::size_t size, QString* error = nullptr);

// The datagram of a message whose values are sent as float32 (how patch outputs are read back). Empty for
// an address that is not an OSC address ("/…").
QByteArray encodePatchMessage(const QString& address, const std::vector<float>& values);

}  // namespace nupo
