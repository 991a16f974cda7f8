#pragma once

#include <QChar>
#include <QString>

// Character classes shared by the property-list reader and writer.
namespace nupo::plistsyntax {

// Characters a string may consist of without quotes.
inline bool isBareCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
           u == '$' || u == '+' || u == '/' || u == ':' || u == '.' || u == '-';
}

inline int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// True when the string reads back unchanged without quotes (a bare "//" or "/*" would start a comment).
inline bool canBeBare(const QString& s)
{
    if (s.isEmpty() || s.contains(QLatin1String("//")) || s.contains(QLatin1String("/*")))
        return false;
    for (QChar c : s) {
        if (!isBareCharacter(c))
            return false;
    }
    return true;
}

}  // namespace nupo::plistsyntax
