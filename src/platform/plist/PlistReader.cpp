#include "platform/plist/PlistReader.h"

#include "platform/files/CheckedFile.h"
#include "platform/plist/PlistSyntax.h"

namespace nupo {

namespace {

// Thrown inside the parser, caught at the API boundary.
struct ParseFailure {
    QString message;
    qsizetype position;
};

class Parser {
public:
    Parser(const QString& text, const PlistLimits& limits) : text(text), limits(limits) {}

    PlistValue parseDocument()
    {
        if (!text.isEmpty() && text.front() == QChar(0xFEFF))
            pos = 1;
        skipSpace();
        if (atEnd())
            fail(QStringLiteral("no value in the property list"));
        PlistValue value = parseValue(1);
        skipSpace();
        if (!atEnd())
            fail(QStringLiteral("unexpected text after the value"));
        return value;
    }

    PlistError errorAt(const ParseFailure& failure) const
    {
        PlistError error{readableText(failure.message), 1, 1};
        for (qsizetype i = 0; i < failure.position && i < text.size(); ++i) {
            if (text[i] == u'\n') {
                ++error.line;
                error.column = 1;
            } else {
                ++error.column;
            }
        }
        return error;
    }

private:
    [[noreturn]] void fail(const QString& message) const { throw ParseFailure{message, pos}; }
    [[noreturn]] void failAt(qsizetype position, const QString& message) const
    {
        throw ParseFailure{message, position};
    }

    bool atEnd() const { return pos >= text.size(); }
    QChar peek(qsizetype ahead = 0) const { return pos + ahead < text.size() ? text[pos + ahead] : QChar(); }

    void skipSpace()
    {
        while (!atEnd()) {
            const QChar c = peek();
            if (c.isSpace()) {
                ++pos;
            } else if (c == u'/' && peek(1) == u'/') {
                while (!atEnd() && peek() != u'\n')
                    ++pos;
            } else if (c == u'/' && peek(1) == u'*') {
                const qsizetype start = pos;
                const qsizetype close = text.indexOf(QStringLiteral("*/"), pos + 2);
                if (close < 0)
                    failAt(start, QStringLiteral("comment is not closed"));
                pos = close + 2;
            } else {
                return;
            }
        }
    }

    PlistValue parseValue(int depth)
    {
        if (depth > limits.maxDepth)
            fail(QStringLiteral("values nested deeper than %1 levels").arg(limits.maxDepth));
        if (++values > limits.maxValues)
            fail(QStringLiteral("more than %1 values").arg(limits.maxValues));
        skipSpace();
        if (atEnd())
            fail(QStringLiteral("unexpected end of text, expected a value"));
        const QChar c = peek();
        if (c == u'{')
            return parseDictionary(depth);
        if (c == u'(')
            return parseArray(depth);
        if (c == u'<')
            return parseData();
        if (c == u'"' || c == u'\'' || plistsyntax::isBareCharacter(c))
            return parseString();
        fail(QStringLiteral("unexpected character '%1'").arg(c));
    }

    QString parseString()
    {
        const QChar c = peek();
        if (c == u'"' || c == u'\'')
            return parseQuoted(c);
        const qsizetype start = pos;
        while (!atEnd() && plistsyntax::isBareCharacter(peek()))
            ++pos;
        if (pos == start)
            fail(c.isNull() ? QStringLiteral("unexpected end of text, expected a string")
                            : QStringLiteral("unexpected character '%1', expected a string").arg(c));
        if (pos - start > limits.maxStringLength)
            failAt(start, longString());
        return text.mid(start, pos - start);
    }

    QString parseQuoted(QChar quote)
    {
        const qsizetype start = pos++;
        QString result;
        while (true) {
            if (atEnd())
                failAt(start, QStringLiteral("string is not closed"));
            const QChar c = text[pos++];
            if (c == quote)
                return result;
            if (c == u'\\')
                result.append(parseEscape(start));
            else
                result.append(c);
            if (result.size() > limits.maxStringLength)
                failAt(start, longString());
        }
    }

    // After a backslash: one escaped character (or UTF-16 unit).
    QChar parseEscape(qsizetype stringStart)
    {
        if (atEnd())
            failAt(stringStart, QStringLiteral("string is not closed"));
        const qsizetype escapeStart = pos - 1;
        const QChar c = text[pos++];
        switch (c.unicode()) {
            case 'n':
                return u'\n';
            case 't':
                return u'\t';
            case 'r':
                return u'\r';
            case 'a':
                return QChar(7);
            case 'b':
                return QChar(8);
            case 'f':
                return QChar(12);
            case 'v':
                return QChar(11);
            case 'u':
            case 'U': {
                int code = 0;
                int digits = 0;
                while (digits < 4 && !atEnd() && plistsyntax::hexValue(peek()) >= 0) {
                    code = code * 16 + plistsyntax::hexValue(peek());
                    ++pos;
                    ++digits;
                }
                if (digits == 0)
                    failAt(escapeStart, QStringLiteral("\\u escape without hex digits"));
                return QChar(static_cast<char16_t>(code));
            }
            default:
                break;
        }
        if (c >= u'0' && c <= u'7') {
            int code = c.unicode() - '0';
            for (int digits = 1; digits < 3 && !atEnd() && peek() >= u'0' && peek() <= u'7'; ++digits)
                code = code * 8 + (text[pos++].unicode() - '0');
            if (code > 0xFF)
                failAt(escapeStart, QStringLiteral("octal escape above \\377"));
            return QChar(static_cast<char16_t>(code));
        }
        return c;  // \\, \", \' and any other character stand for themselves
    }

    PlistValue parseData()
    {
        const qsizetype start = pos++;
        QByteArray data;
        int pendingNibble = -1;
        while (true) {
            if (atEnd())
                failAt(start, QStringLiteral("data is not closed with '>'"));
            const QChar c = peek();
            if (c == u'>') {
                if (pendingNibble >= 0)
                    fail(QStringLiteral("odd number of hex digits in data"));
                ++pos;
                return PlistValue::fromData(data);
            }
            if (c.isSpace()) {
                ++pos;
                continue;
            }
            const int nibble = plistsyntax::hexValue(c);
            if (nibble < 0)
                fail(QStringLiteral("unexpected character '%1' in data").arg(c));
            ++pos;
            if (pendingNibble < 0) {
                pendingNibble = nibble;
            } else {
                data.append(static_cast<char>(pendingNibble * 16 + nibble));
                pendingNibble = -1;
            }
        }
    }

    PlistValue parseArray(int depth)
    {
        const qsizetype start = pos++;
        PlistValue::Array array;
        while (true) {
            skipSpace();
            if (atEnd())
                failAt(start, QStringLiteral("array is not closed with ')'"));
            if (peek() == u')') {
                ++pos;
                return PlistValue(std::move(array));
            }
            if (qsizetype(array.size()) == limits.maxArrayEntries)
                fail(QStringLiteral("an array of more than %1 entries").arg(limits.maxArrayEntries));
            array.push_back(parseValue(depth + 1));
            skipSpace();
            if (peek() == u',')
                ++pos;
            else if (!atEnd() && peek() != u')')
                fail(QStringLiteral("expected ',' or ')' after an array element"));
        }
    }

    PlistValue parseDictionary(int depth)
    {
        const qsizetype start = pos++;
        PlistDictionary dictionary;
        qsizetype keys = 0;
        while (true) {
            skipSpace();
            if (atEnd())
                failAt(start, QStringLiteral("dictionary is not closed with '}'"));
            if (peek() == u'}') {
                ++pos;
                return PlistValue(std::move(dictionary));
            }
            if (keys++ == limits.maxDictionaryKeys)
                fail(QStringLiteral("a dictionary of more than %1 keys").arg(limits.maxDictionaryKeys));
            const QString key = parseString();
            skipSpace();
            if (peek() != u'=')
                fail(QStringLiteral("expected '=' after the key \"%1\"").arg(key));
            ++pos;
            PlistValue value = parseValue(depth + 1);
            skipSpace();
            if (peek() != u';')
                fail(QStringLiteral("expected ';' after the value of \"%1\"").arg(key));
            ++pos;
            dictionary.insert(key, std::move(value));
        }
    }

    QString longString() const
    {
        return QStringLiteral("a string of more than %1 characters").arg(limits.maxStringLength);
    }

    const QString& text;
    const PlistLimits& limits;
    qsizetype pos = 0;
    qsizetype values = 0;  // values begun so far
};

}  // namespace

QString readableText(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool control = u < 0x20 || (u >= 0x7F && u < 0xA0) || u == 0x2028 || u == 0x2029;
        if (!control)
            shown += c;
        else if (u < 0x100)
            shown += QStringLiteral("\\x%1").arg(uint(u), 2, 16, QLatin1Char('0'));
        else
            shown += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
    }
    return shown;
}

QString PlistError::toString() const
{
    if (line <= 0)
        return message;
    return QStringLiteral("line %1, column %2: %3").arg(line).arg(column).arg(message);
}

std::optional<PlistValue> PlistReader::parse(const QByteArray& bytes, PlistError* error,
                                             const PlistLimits& limits)
{
    const QString text = QString::fromUtf8(bytes);
    Parser parser(text, limits);
    try {
        return parser.parseDocument();
    } catch (const ParseFailure& failure) {
        if (error)
            *error = parser.errorAt(failure);
    }
    return std::nullopt;
}

std::optional<PlistValue> PlistReader::readFile(const QString& path, PlistError* error)
{
    QByteArray text;
    QString why;
    if (!readRegularFile(path, maxFileBytes, &text, &why)) {
        if (error)
            *error = PlistError{QStringLiteral("cannot open %1: %2").arg(path, why), 0, 0};
        return std::nullopt;
    }
    return parse(text, error);
}

}  // namespace nupo
