#pragma once

// What every document fuzz target checks of one input: the reader reads it or refuses it; a refused file
// leaves the open document as it was, names the file and leaves no read under way; whatever it reads,
// writing and reading it again gives the same state.

#include "FuzzSupport.h"

#include "document/NUPO4DrawDocument.h"
#include "shared/CoreState.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// The state of the document as the last input left it: a refused input must leave it so. Kept between
// inputs, since only a read that succeeds changes it.
inline QByteArray& lastDocumentState(nupo::NUPO4DrawDocument& doc)
{
    static QByteArray state = doc.snapshot({});
    return state;
}

// True when the input was read (and read back the same).
inline bool checkDocumentRead(nupo::NUPO4DrawDocument& doc, const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    QByteArray& before = lastDocumentState(doc);
    QString error;
    if (!doc.readFromData(text, QStringLiteral("fuzz.nupo4"), &error)) {
        // Text that is no document of ours is refused before any section sees it; a refusal from a
        // section must have changed nothing either.
        const bool notADocument = error.startsWith(QStringLiteral("fuzz.nupo4 is not a "));
        FUZZ_CHECK(notADocument || error.startsWith(QStringLiteral("Cannot open fuzz.nupo4: ")));
        FUZZ_CHECK(!error.contains(QChar(0)));
        if (!notADocument)
            FUZZ_CHECK(doc.snapshot({}) == before);
        FUZZ_CHECK(nupo::startToOpenData.load() == 0);
        return false;
    }
    const QByteArray read = doc.snapshot({});
    FUZZ_CHECK(doc.readFromData(doc.dataRepresentation(), QStringLiteral("again"), &error));
    before = doc.snapshot({});
    FUZZ_CHECK(before == read);
    return true;
}
