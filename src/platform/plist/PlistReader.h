#pragma once

#include "platform/plist/PlistValue.h"

#include <QByteArray>
#include <QString>

#include <limits>
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

// Text from a file made fit for a message: every control character (a zero byte of binary content, a
// line break, an escape) shown as \xNN or \uNNNN, so that a message stays one readable line.
QString readableText(const QString& text);

// What one property list may hold, checked while it is read, so that text made to exhaust the reader is
// refused as soon as it passes a bound, before it costs more time or memory: the nesting depth, the
// entries of one array, the keys of one dictionary, the characters of one string and the values in all.
struct PlistLimits {
    static constexpr qsizetype unbounded = std::numeric_limits<qsizetype>::max();

    int maxDepth = 256;
    qsizetype maxArrayEntries = unbounded;
    qsizetype maxDictionaryKeys = unbounded;
    qsizetype maxStringLength = unbounded;
    qsizetype maxValues = unbounded;
};

// Reads old-style ASCII property lists: dictionaries `{ key = value; }`, arrays `( a, b )`, quoted strings
// with backslash escapes, bare strings, data in angle brackets and `//` or `/* */` comments. Text is taken
// as UTF-8. Any input is safe: malformed text gives an error, never a crash, and nesting deeper than
// maxDepth is refused instead of recursing without bound; what passes the limits given is refused where
// it passes them.
class PlistReader {
public:
    static constexpr int maxDepth = PlistLimits{}.maxDepth;
    // readFile refuses a larger file (and anything but a regular file).
    static constexpr qint64 maxFileBytes = qint64(256) << 20;

    static std::optional<PlistValue> parse(const QByteArray& text, PlistError* error = nullptr,
                                           const PlistLimits& limits = {});
    static std::optional<PlistValue> readFile(const QString& path, PlistError* error = nullptr);
};

}  // namespace nupo
