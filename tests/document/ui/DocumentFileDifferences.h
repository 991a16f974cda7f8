#pragma once

// Where two saved documents differ, key by key, for tests that save a document twice.
#include "platform/plist/PlistReader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QStringList>

namespace nupo::test {

// Every place where two property lists differ: "Section/key[index]: first | second".
inline void differences(const PlistValue& a, const PlistValue& b, const QString& place, QStringList& out)
{
    if (a.type() != b.type()) {
        out << place + ": of another type";
    } else if (a.isDictionary()) {
        const PlistDictionary& da = a.toDictionary();
        const PlistDictionary& db = b.toDictionary();
        QStringList keys = da.keys();
        for (const QString& key : db.keys())
            if (!keys.contains(key))
                keys << key;
        for (const QString& key : keys) {
            const QString inner = place.isEmpty() ? key : place + "/" + key;
            if (!da.contains(key) || !db.contains(key))
                out << inner + (da.contains(key) ? ": dropped" : ": added");
            else
                differences(*da.find(key), *db.find(key), inner, out);
        }
    } else if (a.isArray()) {
        const auto& xa = a.toArray();
        const auto& xb = b.toArray();
        if (xa.size() != xb.size())
            out << place + QStringLiteral(": %1 items, then %2").arg(xa.size()).arg(xb.size());
        for (std::size_t i = 0; i < std::min(xa.size(), xb.size()); ++i)
            differences(xa[i], xb[i], place + QStringLiteral("[%1]").arg(i), out);
    } else if (!(a == b)) {
        out << place + ": " + a.toString().left(80) + " | " + b.toString().left(80);
    }
}

inline QStringList fileDifferences(const QString& first, const QString& second)
{
    const auto read = [](const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const std::optional<PlistValue> value = PlistReader::parse(file.readAll());
        EXPECT_TRUE(value) << path.toStdString();
        return value.value_or(PlistValue());
    };
    QStringList out;
    differences(read(first), read(second), {}, out);
    // Where the playing recording stands moves on between the saves.
    out.removeIf([](const QString& line) { return line.startsWith("Recording/ploop:"); });
    return out;
}

}  // namespace nupo::test
