#pragma once

// The brain-note document: every settings section, the recorded channels and the front drawing, in one
// old-style property list. The same sections without the recording form the preference file.
//
// The state a document holds is process-wide, so one document object serves the program: it writes the
// present state into a file and reads a file back into it. A file that cannot be read whole (malformed,
// truncated, values of the wrong type, tables too large, samples that do not match their count) is refused
// with a message naming the file and the place, and nothing already open changes.

#include "document/DocumentSection.h"
#include "platform/plist/PlistReader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace nupo {

class NUPO4DrawDocument {
public:
    // Values of the top-level "Format" key.
    static inline const QString documentFormat = QStringLiteral("NUPO4 brain-note document");
    static inline const QString preferenceFormat = QStringLiteral("NUPO4 preferences");
    static constexpr int formatVersion = 1;
    // Files larger than this are refused before they are read: five full channels take about 40 MB, and
    // a file of this size is parsed in well under a second (what a larger one could hold, data under keys
    // no section reads, took seconds).
    static constexpr qint64 maxFileBytes = qint64(64) << 20;
    // What a document may hold, checked while it is parsed, so that a file made to exhaust the reader is
    // refused at once, whatever its size. Each bound is well above what the sections take: sections nest
    // four levels deep, the longest table is the drawing's 1,000 graphics, names are cut at 1,024
    // characters, and a full document holds a few tens of thousands of values (the recording is in
    // data blocks, bounded by the file's size).
    static constexpr PlistLimits readLimits{.maxDepth = 32,
                                            .maxArrayEntries = 4096,
                                            .maxDictionaryKeys = 4096,
                                            .maxStringLength = 65536,
                                            .maxValues = 262144};

    NUPO4DrawDocument() = default;
    NUPO4DrawDocument(const NUPO4DrawDocument&) = delete;
    NUPO4DrawDocument& operator=(const NUPO4DrawDocument&) = delete;

    // The program's document, holding every section the program registered.
    static NUPO4DrawDocument& sharedNUPO4DrawDocument();

    // Sections are written and read in the order they are added.
    void addSection(std::unique_ptr<DocumentSection> section);
    DocumentSection* section(const QString& key) const;
    // The keys of the sections, in order.
    QStringList sectionKeys() const;

    // Runs the start-up sequence when it has not run yet and says whether it ran (installed by the
    // application; a document opened before start-up runs it from its reader).
    std::function<bool()> runStartUpIfNeeded;
    // Opens the windows a document just read asks for (installed by the user interface).
    std::function<void()> windowSetup;
    // Closes the windows that belong to the document being replaced (installed by the user interface):
    // runs once a document has been found whole, before its sections are applied.
    std::function<void()> closeReplacedWindows;

    // --- Writer: the whole document (or preference file) as text; `startToSaveData` is 1 meanwhile.
    QByteArray dataRepresentation(bool preferenceFile = false);
    // The two halves of dataRepresentation, so that the second can run off the main thread: the state of
    // the program as the document holds it (`startToSaveData` is 1 meanwhile), and its text (any thread).
    PlistDictionary stateRepresentation(bool preferenceFile = false);
    static QByteArray textOf(const PlistDictionary& state);
    // The sections but those named ("Section", or "Section/key" for one key), as text, without raising the
    // save flag: for comparing states.
    QByteArray snapshot(const QStringList& leaveOut);
    // Writes atomically: a temporary file beside the target, flushed to disk, then renamed over it. On
    // failure the old file stays whole and error says why. A path given as bytes is used byte for byte
    // (a file name need not be UTF-8).
    bool writeToFile(const QByteArray& nativePath, bool preferenceFile = false, QString* error = nullptr);
    bool writeToFile(const QString& path, bool preferenceFile = false, QString* error = nullptr);
    // The file half of writeToFile, for text dataRepresentation gave: makes the folder and writes
    // atomically. Touches no state of the program (any thread).
    static bool writeTextToFile(const QByteArray& nativePath, const QByteArray& text, QString* error);

    // --- Readers: `startToOpenData` is 1 while the sections are applied. fileName names the file in
    // messages.
    bool readFromData(const QByteArray& data, const QString& fileName, QString* error = nullptr);
    // Opening a document also removes the temporary files that saves of it killed on the way left.
    bool readFromFile(const QByteArray& nativePath, QString* error = nullptr);
    bool readFromFile(const QString& path, QString* error = nullptr);
    // Reads a preference file: the same sections, no window set-up and no start-up.
    bool openDataForAllPreference(const QString& path, QString* error = nullptr);
    bool loadDataRepresentation(const QByteArray& data, const QString& fileName, bool preferenceFile,
                                QString* error = nullptr);
    // The two halves of reading a file, so that the first can run off the main thread. readParsed reads
    // and parses the file within the document's bounds and touches no state of the program (any thread):
    // the parsed file, or none with the refusal in error. loadParsed checks and applies what it gave.
    static std::optional<PlistValue> readParsed(const QByteArray& nativePath, bool preferenceFile,
                                                QString* error);
    bool loadParsed(const PlistValue& parsed, const QString& fileName, bool preferenceFile,
                    QString* error = nullptr);

    // Opens the windows the document asked for (see windowSetup).
    void windowOpingseting();

private:
    PlistDictionary sectionsNow(bool preferenceFile, const QStringList& leaveOut);
    bool readFile(const QByteArray& nativePath, bool preferenceFile, QString* error);

    std::vector<std::unique_ptr<DocumentSection>> sections;
};

// The preference file: "com.quellbarok.NUPO4.prefs.plist" in $XDG_CONFIG_HOME/NUPO4/ (~/.config when the
// variable is unset or not absolute).
QString defaultPreferenceFilePath();

}  // namespace nupo
