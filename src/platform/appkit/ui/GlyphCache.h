#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QStringView>

#include <array>
#include <cstdint>
#include <vector>

class QPaintDevice;

namespace nupo {

// The glyphs and advances of one font's characters as the text layout shapes them, kept so that a
// short line of text that changes all the time (a value field's number) can be measured and drawn
// without being shaped again. A character is kept when the font itself has a glyph for it (no
// fallback font) and it cannot turn the line right to left. Each pair of neighbouring characters is
// shaped once as well, which gives its kerning; a text holding a pair that shapes otherwise (a
// ligature) is left to the text layout, so what the cache gives is what the text layout gives.
class GlyphCache {
public:
    // The cache of font as drawn on device (made on first use and kept).
    static GlyphCache& of(const QFont& font, const QPaintDevice* device);

    // Glyphs of a text on one baseline, the pen starting at x = 0.
    struct Line {
        QList<quint32> glyphs;
        QList<QPointF> positions;
        qreal width = 0.0;
    };
    // Lays text out from the cache; false (line left unspecified) when it needs the text layout.
    bool layOut(QStringView text, Line& line);
    // The advance of text as the text layout measures it: the cached sum where that is exact, else
    // measured.
    qreal advance(QStringView text);

    const QFont& font() const { return resolved; }
    const QRawFont& rawFont() const { return raw; }
    const QFontMetricsF& metrics() const { return fontMetrics; }

private:
    GlyphCache(const QFont& font, const QPaintDevice* device);

    struct Glyph {
        quint32 index = 0;
        qreal advance = 0.0;
        bool known = false;     // learnt from the text layout
        bool drawable = false;  // the font's own glyph, shaped alone the same as in a line
    };
    struct Pair {
        enum : std::uint8_t { Unknown, Kerns, Shapes } state = Unknown;
        float kerning = 0.0f;  // added to the first one's advance (a multiple of 1/64: exact)
    };

    const Glyph& glyph(char16_t c);
    Glyph learn(char16_t c) const;
    const Pair& pair(char16_t a, char16_t b);
    Pair learnPair(char16_t a, char16_t b);
    // Places text's glyphs into line (when given) and sums their advances; false when text needs
    // the text layout.
    bool walk(QStringView text, Line* line, qreal& width);

    QFont resolved;
    QFontMetricsF fontMetrics;
    QRawFont raw;
    static constexpr int tableSize = 128;  // characters below this are kept in tables
    static constexpr int firstPrintable = 32;
    static constexpr int tablePairs = tableSize - firstPrintable;  // per row of the pairs' table
    std::array<Glyph, tableSize> table{};
    std::vector<Pair> pairTable;
    QHash<char16_t, Glyph> others;
    QHash<quint32, Pair> otherPairs;
};

}  // namespace nupo
