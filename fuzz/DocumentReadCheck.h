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

// True when the input was read (and read back the same).
inline bool checkDocumentRead(nupo::NUPO4DrawDocument& doc, const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray before = doc.snapshot({});
    QString error;
    if (!doc.readFromData(text, QStringLiteral("fuzz.nupo4"), &error)) {
        FUZZ_CHECK(error.startsWith(QStringLiteral("Cannot open fuzz.nupo4: ")));
        FUZZ_CHECK(doc.snapshot({}) == before);
        FUZZ_CHECK(nupo::startToOpenData.load() == 0);
        return false;
    }
    const QByteArray read = doc.snapshot({});
    FUZZ_CHECK(doc.readFromData(doc.dataRepresentation(), QStringLiteral("again"), &error));
    FUZZ_CHECK(doc.snapshot({}) == read);
    return true;
}
