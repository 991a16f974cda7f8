#pragma once

// What every document fuzz target checks of one input: the reader reads it or refuses it; a refused file
// leaves the open document as it was, names the file and leaves no read under way; whatever it reads,
// writing and reading it again gives the same state.

#include "FuzzSupport.h"

#include "document/NUPO4DrawDocument.h"
#include "platform/plist/PlistReader.h"
#include "shared/CoreState.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

// The sections a text holds; empty when it is no dictionary. Reading it can change only those, so only
// they are compared: the document's other sections (the large MIDI tables, say) are not written out for
// every input.
inline QStringList sectionsLeftOut(const nupo::NUPO4DrawDocument& doc, const QByteArray& text)
{
    QStringList absent = doc.sectionKeys();
    const std::optional<nupo::PlistValue> parsed = nupo::PlistReader::parse(text);
    if (!parsed || !parsed->isDictionary())
        return absent;
    const nupo::PlistDictionary& top = parsed->toDictionary();
    absent.removeIf([&top](const QString& key) { return top.find(key) != nullptr; });
    return absent;
}

// True when the input was read (and read back the same).
inline bool checkDocumentRead(nupo::NUPO4DrawDocument& doc, const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList leftOut = sectionsLeftOut(doc, text);
    const bool holdsSections = leftOut.size() < doc.sectionKeys().size();
    const QByteArray before = holdsSections ? doc.snapshot(leftOut) : QByteArray();
    QString error;
    if (!doc.readFromData(text, QStringLiteral("fuzz.nupo4"), &error)) {
        // Text that is no document of ours is refused before any section sees it; a refusal from a
        // section must have changed nothing either.
        const bool notADocument = error.startsWith(QStringLiteral("fuzz.nupo4 is not a "));
        FUZZ_CHECK(notADocument || error.startsWith(QStringLiteral("Cannot open fuzz.nupo4: ")));
        FUZZ_CHECK(!error.contains(QChar(0)));
        if (holdsSections)
            FUZZ_CHECK(doc.snapshot(leftOut) == before);
        FUZZ_CHECK(nupo::startToOpenData.load() == 0);
        return false;
    }
    // The sections read, written and read again, give the same state.
    const QByteArray read = doc.snapshot(leftOut);
    FUZZ_CHECK(doc.readFromData(read, QStringLiteral("again"), &error));
    FUZZ_CHECK(doc.snapshot(leftOut) == read);
    return true;
}
