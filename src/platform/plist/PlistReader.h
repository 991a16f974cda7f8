#pragma once

#include "platform/plist/PlistValue.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace nupo {

// Why a property list could not be read: a message and the 1-based line and column where reading stopped
// (line 0 when the file itself could not be opened).
struct PlistError {
    QString message;
    int line = 0;
    int column = 0;

    QString toString() const;
};

// Reads old-style ASCII property lists: dictionaries `{ key = value; }`, arrays `( a, b )`, quoted strings
// with backslash escapes, bare strings, data in angle brackets and `//` or `/* */` comments. Text is taken
// as UTF-8. Any input is safe: malformed text gives an error, never a crash, and nesting deeper than
// maxDepth is refused instead of recursing without bound.
class PlistReader {
public:
    static constexpr int maxDepth = 256;

    static std::optional<PlistValue> parse(const QByteArray& text, PlistError* error = nullptr);
    static std::optional<PlistValue> readFile(const QString& path, PlistError* error = nullptr);
};

}  // namespace nupo
