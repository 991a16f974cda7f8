#include "document/NUPO4DrawDocument.h"

#include "midi/common/MidiMapperWorker.h"
#include "platform/files/CheckedFile.h"
#include "platform/plist/PlistReader.h"
#include "platform/plist/PlistWriter.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// Raises the save or open flag for the length of a scope. The MIDI mappers pause while it is up; those
// whose workers rest are told, so that they pause too and see what the document wrote at once.
class FlagRaised {
public:
    explicit FlagRaised(std::atomic<int>& flag) : flag(flag)
    {
        flag.store(1, relaxed);
        MidiMapperWorker::documentFlagRaised();
    }
    ~FlagRaised()
    {
        flag.store(0, relaxed);
        MidiMapperWorker::documentFlagLowered();
    }

private:
    std::atomic<int>& flag;
};

QString refusal(const QString& fileName, const QString& why)
{
    return QStringLiteral("Cannot open %1: %2").arg(fileName, why);
}

// Text that is no property list of ours is named as such, with where reading stopped.
QString notOurs(const QString& fileName, bool preferenceFile, const QString& why)
{
    const QString kind =
        preferenceFile ? QStringLiteral("NUPO4 preference file") : NUPO4DrawDocument::documentFormat;
    return QStringLiteral("%1 is not a %2 (%3)").arg(fileName, kind, readableText(why));
}

// The text parsed within the document's bounds, or none with the refusal in error.
std::optional<PlistValue> parseText(const QByteArray& data, const QString& fileName, bool preferenceFile,
                                    QString* error)
{
    PlistError parseError;
    std::optional<PlistValue> parsed = PlistReader::parse(data, &parseError, NUPO4DrawDocument::readLimits);
    if (!parsed && error)
        *error = notOurs(fileName, preferenceFile, parseError.toString());
    return parsed;
}

}  // namespace

NUPO4DrawDocument& NUPO4DrawDocument::sharedNUPO4DrawDocument()
{
    static NUPO4DrawDocument* instance = new NUPO4DrawDocument;  // lives to process end
    return *instance;
}

void NUPO4DrawDocument::addSection(std::unique_ptr<DocumentSection> section)
{
    sections.push_back(std::move(section));
}

DocumentSection* NUPO4DrawDocument::section(const QString& key) const
{
    for (const auto& s : sections)
        if (s->key() == key)
            return s.get();
    return nullptr;
}

QStringList NUPO4DrawDocument::sectionKeys() const
{
    QStringList keys;
    for (const auto& s : sections)
        keys << s->key();
    return keys;
}

QByteArray NUPO4DrawDocument::dataRepresentation(bool preferenceFile)
{
    FlagRaised saving(startToSaveData);
    return PlistWriter::write(sectionsNow(preferenceFile, {}));
}

PlistDictionary NUPO4DrawDocument::stateRepresentation(bool preferenceFile)
{
    FlagRaised saving(startToSaveData);
    return sectionsNow(preferenceFile, {});
}

QByteArray NUPO4DrawDocument::textOf(const PlistDictionary& state)
{
    return PlistWriter::write(state);
}

QByteArray NUPO4DrawDocument::snapshot(const QStringList& leaveOut)
{
    return PlistWriter::write(sectionsNow(false, leaveOut));
}

PlistDictionary NUPO4DrawDocument::sectionsNow(bool preferenceFile, const QStringList& leaveOut)
{
    PlistDictionary top;
    top.insert(QStringLiteral("Format"), preferenceFile ? preferenceFormat : documentFormat);
    top.insert(QStringLiteral("Version"), integerValue(formatVersion));
    for (const auto& s : sections) {
        if ((preferenceFile && !s->inPreferenceFile()) || leaveOut.contains(s->key()))
            continue;
        if (std::optional<PlistDictionary> written = s->write()) {
            const QString prefix = s->key() + QLatin1Char('/');
            for (const QString& entry : leaveOut)
                if (entry.startsWith(prefix))
                    written->remove(entry.mid(prefix.size()));
            top.insert(s->key(), std::move(*written));
        }
    }
    return top;
}

bool NUPO4DrawDocument::writeToFile(const QString& path, bool preferenceFile, QString* error)
{
    return writeToFile(QFile::encodeName(path), preferenceFile, error);
}

bool NUPO4DrawDocument::writeToFile(const QByteArray& nativePath, bool preferenceFile, QString* error)
{
    return writeTextToFile(nativePath, dataRepresentation(preferenceFile), error);
}

bool NUPO4DrawDocument::writeTextToFile(const QByteArray& nativePath, const QByteArray& text, QString* error)
{
    const QByteArray path = absoluteNativePath(nativePath);
    const auto failed = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("Cannot save %1: %2").arg(displayPath(path), why);
        return false;
    };
    const QByteArray folder = path.left(std::max<qsizetype>(path.lastIndexOf('/'), 1));
    if (!makeFolders(folder))
        return failed(QStringLiteral("cannot create the folder %1").arg(displayPath(folder)));
    QString why;
    if (!writeFileAtomically(path, text, &why))
        return failed(why);
    return true;
}

bool NUPO4DrawDocument::readFromData(const QByteArray& data, const QString& fileName, QString* error)
{
    return loadDataRepresentation(data, fileName, false, error);
}

bool NUPO4DrawDocument::readFromFile(const QString& path, QString* error)
{
    return readFile(QFile::encodeName(path), false, error);
}

bool NUPO4DrawDocument::readFromFile(const QByteArray& nativePath, QString* error)
{
    return readFile(nativePath, false, error);
}

bool NUPO4DrawDocument::openDataForAllPreference(const QString& path, QString* error)
{
    return readFile(QFile::encodeName(path), true, error);
}

bool NUPO4DrawDocument::readFile(const QByteArray& path, bool preferenceFile, QString* error)
{
    const std::optional<PlistValue> parsed = readParsed(path, preferenceFile, error);
    return parsed && loadParsed(*parsed, displayPath(path), preferenceFile, error);
}

std::optional<PlistValue> NUPO4DrawDocument::readParsed(const QByteArray& path, bool preferenceFile,
                                                        QString* error)
{
    // A FIFO or a device would block the program or feed it without end: only a regular file of a
    // document's size is read.
    QByteArray data;
    QString why;
    if (!readRegularFile(path, maxFileBytes, &data, &why)) {
        if (error)
            *error = refusal(displayPath(path), why);
        return std::nullopt;
    }
    removeStaleSaveFiles(path);
    return parseText(data, displayPath(path), preferenceFile, error);
}

bool NUPO4DrawDocument::loadDataRepresentation(const QByteArray& data, const QString& fileName,
                                               bool preferenceFile, QString* error)
{
    const std::optional<PlistValue> parsed = parseText(data, fileName, preferenceFile, error);
    return parsed && loadParsed(*parsed, fileName, preferenceFile, error);
}

bool NUPO4DrawDocument::loadParsed(const PlistValue& parsed, const QString& fileName, bool preferenceFile,
                                   QString* error)
{
    const auto refuse = [&](const QString& why) {
        if (error)
            *error = refusal(fileName, readableText(why));
        return false;
    };
    const auto notOurs = [&](const QString& why) {
        if (error)
            *error = nupo::notOurs(fileName, preferenceFile, why);
        return false;
    };
    if (!parsed.isDictionary())
        return notOurs(QStringLiteral("it is not a dictionary of sections"));
    const PlistDictionary& top = parsed.toDictionary();
    const QString format = top.value(QStringLiteral("Format")).toString();
    const QString expected = preferenceFile ? preferenceFormat : documentFormat;
    if (format != expected)
        return notOurs(format.isEmpty() ? QStringLiteral("it names no Format")
                                        : QStringLiteral("its Format is \"%1\"").arg(format.left(60)));
    const std::optional<double> version =
        SectionInput::parseNumber(top.value(QStringLiteral("Version")), 0, 1e9);
    if (!version || *version > formatVersion)
        return refuse(QStringLiteral("Version %1 is not one this program reads")
                          .arg(top.value(QStringLiteral("Version")).toString().left(20)));

    // Every section stages first: a refused file changes nothing.
    std::vector<DocumentSection*> staged;
    for (const auto& s : sections) {
        if (preferenceFile && !s->inPreferenceFile())
            continue;
        const PlistValue* value = top.find(s->key());
        if (!value) {
            if (!preferenceFile && s->stageDefaults())
                staged.push_back(s.get());
            continue;
        }
        if (!value->isDictionary())
            return refuse(QStringLiteral("section %1 is not a dictionary").arg(s->key()));
        SectionInput input(value->toDictionary(), s->key());
        if (!s->stage(input) || input.failed())
            return refuse(input.failed() ? input.problem()
                                         : QStringLiteral("section %1 could not be read").arg(s->key()));
        staged.push_back(s.get());
    }

    if (!preferenceFile && closeReplacedWindows)
        closeReplacedWindows();
    DocumentReadContext context;
    context.isPreferenceFile = preferenceFile;
    {
        FlagRaised opening(startToOpenData);
        if (!preferenceFile && runStartUpIfNeeded)
            context.startedApplication = runStartUpIfNeeded();
        for (DocumentSection* s : staged)
            s->apply(context);
    }
    if (!preferenceFile)
        windowOpingseting();
    return true;
}

void NUPO4DrawDocument::windowOpingseting()
{
    if (windowSetup)
        windowSetup();
}

QString defaultPreferenceFilePath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/NUPO4/com.quellbarok.NUPO4.prefs.plist");
}

}  // namespace nupo
