#pragma once

#include "platform/plist/PlistValue.h"

#include <QByteArray>
#include <QString>

namespace nupo {

// Writes old-style ASCII property lists that PlistReader reads back to the same value: one dictionary
// entry or array element per line, indented by four spaces, dictionary keys in their stored order.
// Strings are quoted only when they must be; characters outside printable ASCII become escapes, so the
// output is plain ASCII.
class PlistWriter {
public:
    static QByteArray write(const PlistValue& value);
    // Replaces the file at path only once the whole text is written; on failure the old file stays.
    static bool writeFile(const QString& path, const PlistValue& value, QString* error = nullptr);
};

}  // namespace nupo
