#pragma once

// Generated damage for any document: truncated, mutated and random files. None may crash the reader;
// a refused one must name the file and leave the open document (its snapshot) as it was.

#include "document/NUPO4DrawDocument.h"
#include "shared/CoreState.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace nupo::test {

// Reads one damaged text. before is the open document's snapshot; it is taken again only after a read
// that was taken, since a refused one must leave it as it was.
inline void readDamaged(NUPO4DrawDocument& document, const QByteArray& text, QByteArray& before, int* refused)
{
    QString error;
    if (document.readFromData(text, "damaged.nupo4", &error)) {
        before = document.snapshot({});
        return;
    }
    ++*refused;
    ASSERT_TRUE(error.startsWith("Cannot open damaged.nupo4: ") ||
                error.startsWith("damaged.nupo4 is not a NUPO4 brain-note document ("))
        << error.toStdString();
    ASSERT_FALSE(error.contains(QChar(0)));
    ASSERT_EQ(document.snapshot({}), before) << error.toStdString();
    ASSERT_EQ(startToOpenData.load(), 0);
}

// Reads a few thousand damaged variants of valid; returns how many were refused and counts the cases.
inline int readGeneratedDamage(NUPO4DrawDocument& document, const QByteArray& valid, quint32 seed, int* cases)
{
    QRandomGenerator random(seed);
    int refused = 0;
    QByteArray before = document.snapshot({});
    // Truncated at 1200 points spread over the whole text: as many cases for a large document as for a
    // small one.
    constexpr int truncations = 1200;
    for (int k = 0; k < truncations; ++k, ++*cases)
        readDamaged(document, valid.left(valid.size() * k / truncations), before, &refused);
    // Mutated: bytes replaced by syntax characters, digits and letters, deleted or doubled.
    static const char alphabet[] = "{}();=,<>\"'/*\\0123456789-.eE abcXYZ\n";
    for (int k = 0; k < 3000; ++k, ++*cases) {
        QByteArray text = valid;
        for (int m = 1 + int(random.bounded(4)); m > 0; --m) {
            const qsizetype at = random.bounded(int(text.size()));
            switch (random.bounded(3)) {
                case 0:
                    text[at] = alphabet[random.bounded(int(sizeof alphabet - 1))];
                    break;
                case 1:
                    text.remove(at, 1 + random.bounded(20));
                    break;
                default:
                    text.insert(at, text.mid(at, 1 + random.bounded(40)));
            }
        }
        readDamaged(document, text, before, &refused);
    }
    // Random bytes.
    for (int k = 0; k < 300; ++k, ++*cases) {
        QByteArray text(int(random.bounded(400)), '\0');
        for (char& c : text)
            c = char(random.bounded(256));
        readDamaged(document, text, before, &refused);
    }
    return refused;
}

}  // namespace nupo::test
