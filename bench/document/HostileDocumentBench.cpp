// Not a Google benchmark: the time and peak memory to refuse documents made to exhaust the reader (one
// array of 5,000,001 entries in 10 MB, one of 25,000,001 in 50 MB, a dictionary of 1.5 million unknown
// keys in 21 MB, and data blocks under unknown keys up to the document's size bound). Each case runs in a
// child process of its own, so that its peak resident memory is its own. "document" reads the file as File ▸
// Open does, within the document's bounds; "unbounded" parses it as the reader did before the bounds were
// checked while parsing (the whole file, then the checks).
//
//   bench_hostile_documents [document|unbounded]...   (default: document)
#include "document/CoreDocumentSections.h"
#include "document/NUPO4DrawDocument.h"
#include "document/sections/MidiDocumentCalls.h"
#include "platform/files/CheckedFile.h"
#include "platform/plist/PlistReader.h"
#include "support/TestSupport.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace nupo;

namespace {

class QuietMidiCalls : public MidiDocumentCalls {
public:
    void init() override {}
    void setResetMIDI(int) override {}
    void setBrainpeakMIDIOpend(int) override {}
    void setBrainpeakMIDISetName(int) override {}
    void initTempo() override {}
    void setProgramChangeToAllSetup() override {}
    void convertPortNameToInt() override {}
    void bandInit() override {}
    void bandSetResetMIDI(int) override {}
    void setBrainrhythmMIDIOpend(int) override {}
    void setBrainrhythmMIDISetName(int) override {}
    void bandSetGetOutMIDIPort() override {}
    void bandConvertPortNameToInt() override {}
};

QByteArray oneArray(int entries)
{
    QByteArray text;
    text.reserve(qsizetype(entries) * 2 + 2);
    text += '(';
    for (int i = 1; i < entries; ++i)
        text += "1,";
    return text + "1)";
}

QByteArray unknownKeys(int keys)
{
    QByteArray text = "{ Format = \"NUPO4 brain-note document\"; Version = 1;\n";
    text.reserve(qsizetype(keys) * 14 + 100);
    char line[32];
    for (int i = 0; i < keys; ++i) {
        std::snprintf(line, sizeof line, "k%07d = 1;\n", i);
        text += line;
    }
    return text + "}\n";
}

// Data blocks under keys no section reads, as large as the document's bound allows: the most a document
// of a legal shape makes the reader parse.
QByteArray dataBlocks(qint64 bytes)
{
    QByteArray text = "{ Format = \"NUPO4 brain-note document\"; Version = 1;\n";
    const QByteArray block = "k = <" + QByteArray(3999990, '0') + ">;\n";
    while (text.size() + block.size() + 2 < bytes)
        text += block;
    return text + "}\n";
}

// In the child: reads the file one way and says how long it took, what it said and the memory before.
int readInChild(const QString& path, bool bounded, int pipe)
{
    QuietMidiCalls calls;
    NUPO4DrawDocument document;
    addCoreDocumentSections(document, calls);
    addRecordingSection(document);
    const long before = long(nupo::test::residentMiB() * 1024);
    const auto start = std::chrono::steady_clock::now();
    QString said;
    if (bounded) {
        document.readFromFile(path, &said);
    } else {
        QByteArray data;
        readRegularFile(path, NUPO4DrawDocument::maxFileBytes, &data, &said);
        PlistError error;
        const std::optional<PlistValue> value = PlistReader::parse(data, &error);
        said = value ? QStringLiteral("parsed whole, then refused by the checks") : error.toString();
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const QByteArray line = QByteArray::number(ms, 'f', 1) + ' ' + QByteArray::number(qlonglong(before)) +
                            ' ' + said.left(120).toUtf8();
    return ::write(pipe, line.constData(), std::size_t(line.size())) == line.size() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    QList<bool> modes;
    for (int i = 1; i < argc; ++i)
        modes << (std::strcmp(argv[i], "unbounded") != 0);
    if (modes.isEmpty())
        modes << true;
    QTemporaryDir folder;
    // Each text is made just before its case, so that the children start small.
    const struct {
        const char* name;
        std::function<QByteArray()> make;
    } cases[] = {
        {"one array, 5,000,001 entries", [] { return oneArray(5000001); }},
        {"one array, 25,000,001 entries", [] { return oneArray(25000001); }},
        {"1.5 million unknown keys", [] { return unknownKeys(1500000); }},
        {"data blocks up to the size bound", [] { return dataBlocks(NUPO4DrawDocument::maxFileBytes); }},
    };
    std::printf(
        "| document | size | reader | time | peak RSS (before reading) | said "
        "|\n|---|---|---|---|---|---|\n");
    for (const auto& c : cases) {
        const QString path = folder.filePath(QStringLiteral("hostile.nupo4"));
        qsizetype size = 0;
        {
            const QByteArray text = c.make();
            size = text.size();
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(text) != size)
                return 1;
        }
        for (const bool bounded : modes) {
            int fds[2];
            if (::pipe(fds) != 0)
                return 1;
            std::fflush(stdout);
            const pid_t child = ::fork();
            if (child == 0) {
                ::close(fds[0]);
                ::_exit(readInChild(path, bounded, fds[1]));
            }
            ::close(fds[1]);
            QByteArray said;
            char buffer[512];
            ssize_t got;
            while ((got = ::read(fds[0], buffer, sizeof buffer)) > 0)
                said.append(buffer, got);
            ::close(fds[0]);
            int status = 0;
            rusage usage{};
            ::wait4(child, &status, 0, &usage);
            const QList<QByteArray> parts = said.split(' ');
            std::printf("| %s | %.1f MB | %s | %s ms | %.0f MB (%.0f MB) | %s |\n", c.name,
                        double(size) / (1 << 20), bounded ? "document" : "unbounded",
                        parts.value(0).constData(), double(usage.ru_maxrss) / 1024,
                        parts.value(1).toDouble() / 1024,
                        said.mid(parts.value(0).size() + parts.value(1).size() + 2).constData());
        }
    }
    return 0;
}
