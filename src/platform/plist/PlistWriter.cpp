#include "platform/plist/PlistWriter.h"

#include "platform/plist/PlistSyntax.h"

#include <QSaveFile>

#include <algorithm>

namespace nupo {

namespace {

constexpr int indentWidth = 4;

void appendIndent(QByteArray& out, int level)
{
    out.append(level * indentWidth, ' ');
}

void appendQuoted(QByteArray& out, const QString& s)
{
    static const char hexDigits[] = "0123456789abcdef";
    out.append('"');
    for (QChar c : s) {
        const char16_t u = c.unicode();
        switch (u) {
            case '"':
                out.append("\\\"");
                continue;
            case '\\':
                out.append("\\\\");
                continue;
            case '\n':
                out.append("\\n");
                continue;
            case '\t':
                out.append("\\t");
                continue;
            case '\r':
                out.append("\\r");
                continue;
            default:
                break;
        }
        if (u >= 0x20 && u < 0x7F) {
            out.append(static_cast<char>(u));
        } else if (u < 0x20 || u == 0x7F) {
            out.append('\\');
            out.append(static_cast<char>('0' + ((u >> 6) & 7)));
            out.append(static_cast<char>('0' + ((u >> 3) & 7)));
            out.append(static_cast<char>('0' + (u & 7)));
        } else {
            out.append("\\U");
            for (int shift = 12; shift >= 0; shift -= 4)
                out.append(hexDigits[(u >> shift) & 0xF]);
        }
    }
    out.append('"');
}

void appendString(QByteArray& out, const QString& s)
{
    if (plistsyntax::canBeBare(s)) {
        // Bare strings are ASCII; most are short numbers, copied without a temporary array.
        char ascii[64];
        if (s.size() > qsizetype(sizeof ascii)) {
            out.append(s.toLatin1());
            return;
        }
        std::transform(s.begin(), s.end(), ascii, [](QChar c) { return char(c.unicode()); });
        out.append(ascii, s.size());
    } else {
        appendQuoted(out, s);
    }
}

void appendData(QByteArray& out, const QByteArray& data)
{
    // Groups of four bytes, as eight hex digits each.
    const QByteArray hex = data.toHex();
    out.append('<');
    for (qsizetype i = 0; i < hex.size(); i += 8) {
        if (i > 0)
            out.append(' ');
        out.append(hex.constData() + i, std::min<qsizetype>(8, hex.size() - i));
    }
    out.append('>');
}

void appendValue(QByteArray& out, const PlistValue& value, int level);

void appendArray(QByteArray& out, const PlistValue::Array& array, int level)
{
    if (array.empty()) {
        out.append("()");
        return;
    }
    out.append("(\n");
    for (std::size_t i = 0; i < array.size(); ++i) {
        appendIndent(out, level + 1);
        appendValue(out, array[i], level + 1);
        out.append(i + 1 < array.size() ? ",\n" : "\n");
    }
    appendIndent(out, level);
    out.append(')');
}

void appendDictionary(QByteArray& out, const PlistDictionary& dictionary, int level)
{
    if (dictionary.isEmpty()) {
        out.append("{}");
        return;
    }
    out.append("{\n");
    for (const auto& [key, value] : dictionary) {
        appendIndent(out, level + 1);
        appendString(out, key);
        out.append(" = ");
        appendValue(out, value, level + 1);
        out.append(";\n");
    }
    appendIndent(out, level);
    out.append('}');
}

void appendValue(QByteArray& out, const PlistValue& value, int level)
{
    switch (value.type()) {
        case PlistValue::Type::String:
            appendString(out, value.toString());
            break;
        case PlistValue::Type::Data:
            appendData(out, value.toData());
            break;
        case PlistValue::Type::Array:
            appendArray(out, value.toArray(), level);
            break;
        case PlistValue::Type::Dictionary:
            appendDictionary(out, value.toDictionary(), level);
            break;
    }
}

}  // namespace

QByteArray PlistWriter::write(const PlistValue& value)
{
    QByteArray out;
    appendValue(out, value, 0);
    out.append('\n');
    return out;
}

bool PlistWriter::writeFile(const QString& path, const PlistValue& value, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(write(value)) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

}  // namespace nupo
