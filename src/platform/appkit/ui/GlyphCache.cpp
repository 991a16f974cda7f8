#include "platform/appkit/ui/GlyphCache.h"

#include <QGlyphRun>
#include <QPaintDevice>
#include <QTextLayout>

#include <memory>

namespace nupo {

namespace {

// A character that keeps a line left to right and stands alone (no mark joining the one before, no
// control or tab): such a character is placed by its advance alone.
bool placedByAdvance(QChar c)
{
    if (c.isSurrogate() || !c.isPrint() || c.isMark())
        return false;
    switch (c.direction()) {
        case QChar::DirL:
        case QChar::DirEN:
        case QChar::DirES:
        case QChar::DirET:
        case QChar::DirCS:
        case QChar::DirWS:
        case QChar::DirON:
            return true;
        default:
            return false;
    }
}

// The glyph runs of text laid out on one line in font.
QList<QGlyphRun> shaped(const QString& text, const QFont& font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return layout.glyphRuns();
}

}  // namespace

GlyphCache& GlyphCache::of(const QFont& font, const QPaintDevice* device)
{
    struct Entry {
        QFont font;
        int dpiX;
        int dpiY;
        std::unique_ptr<GlyphCache> cache;
    };
    // The fonts of the fields are few; each keeps its cache for the program's life.
    static std::vector<Entry> caches;
    const int dpiX = device ? device->logicalDpiX() : 0;
    const int dpiY = device ? device->logicalDpiY() : 0;
    for (const Entry& entry : caches)
        if (entry.dpiX == dpiX && entry.dpiY == dpiY && entry.font == font)
            return *entry.cache;
    caches.push_back({font, dpiX, dpiY, std::unique_ptr<GlyphCache>(new GlyphCache(font, device))});
    return *caches.back().cache;
}

GlyphCache::GlyphCache(const QFont& font, const QPaintDevice* device)
    : resolved(device ? QFont(font, device) : font),
      fontMetrics(resolved),
      raw(QRawFont::fromFont(resolved)),
      pairTable(tablePairs * tablePairs)
{
}

const GlyphCache::Glyph& GlyphCache::glyph(char16_t c)
{
    if (c < tableSize) {
        Glyph& kept = table[c];
        if (!kept.known)
            kept = learn(c);
        return kept;
    }
    auto found = others.find(c);
    if (found == others.end())
        found = others.insert(c, learn(c));
    return *found;
}

GlyphCache::Glyph GlyphCache::learn(char16_t c) const
{
    Glyph learnt;
    learnt.known = true;
    const QChar character(c);
    if (!placedByAdvance(character) || !raw.isValid())
        return learnt;
    const QList<QGlyphRun> runs = shaped(QString(character), resolved);
    if (runs.size() != 1 || runs[0].glyphIndexes().size() != 1 || runs[0].rawFont() != raw)
        return learnt;
    learnt.index = runs[0].glyphIndexes()[0];
    learnt.advance = fontMetrics.horizontalAdvance(QString(character));
    learnt.drawable = learnt.index != 0;
    return learnt;
}

const GlyphCache::Pair& GlyphCache::pair(char16_t a, char16_t b)
{
    if (a >= firstPrintable && a < tableSize && b >= firstPrintable && b < tableSize) {
        Pair& kept = pairTable[(a - firstPrintable) * tablePairs + (b - firstPrintable)];
        if (kept.state == Pair::Unknown)
            kept = learnPair(a, b);
        return kept;
    }
    const quint32 key = (quint32(a) << 16) | b;
    auto found = otherPairs.find(key);
    if (found == otherPairs.end())
        found = otherPairs.insert(key, learnPair(a, b));
    return *found;
}

GlyphCache::Pair GlyphCache::learnPair(char16_t a, char16_t b)
{
    const Glyph first = glyph(a);
    const Glyph second = glyph(b);
    const QString text = QString(QChar(a)) + QChar(b);
    const QList<QGlyphRun> runs = shaped(text, resolved);
    Pair learnt;
    learnt.state = Pair::Shapes;
    if (runs.size() != 1 || runs[0].glyphIndexes() != QList<quint32>{first.index, second.index})
        return learnt;
    const QList<QPointF> positions = runs[0].positions();
    const qreal step = positions[1].x() - positions[0].x();
    if (positions[1].y() != positions[0].y() || fontMetrics.horizontalAdvance(text) != step + second.advance)
        return learnt;
    learnt.state = Pair::Kerns;
    learnt.kerning = static_cast<float>(step - first.advance);
    return learnt;
}

bool GlyphCache::walk(QStringView text, Line* line, qreal& width)
{
    const qsizetype n = text.size();
    if (line) {
        line->glyphs.resize(n);
        line->positions.resize(n);
    }
    qreal x = 0.0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        const Glyph g = glyph(c);
        if (!g.drawable)
            return false;
        if (i > 0) {
            const Pair& p = pair(text[i - 1].unicode(), c);
            if (p.state != Pair::Kerns)
                return false;
            x += p.kerning;
        }
        if (line) {
            line->glyphs[i] = g.index;
            line->positions[i] = QPointF(x, 0.0);
        }
        x += g.advance;
    }
    width = x;
    return true;
}

bool GlyphCache::layOut(QStringView text, Line& line)
{
    return walk(text, &line, line.width);
}

qreal GlyphCache::advance(QStringView text)
{
    qreal width = 0.0;
    return walk(text, nullptr, width) ? width : fontMetrics.horizontalAdvance(text.toString());
}

}  // namespace nupo
