#include "app/CommandLine.h"

#include "shared/Utilities.h"

#include <QFile>

namespace nupo {

CommandLine::CommandLine(const QList<QByteArray>& arguments)
{
    parser.setApplicationDescription(
        QStringLiteral("Live EEG analysis, brainwave displays and brain-driven MIDI, sound and movies."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption patchPort(
        QStringLiteral("patch-port"),
        QStringLiteral(
            "Starts the patch interface: Open Sound Control on 127.0.0.1 at this UDP port (off without "
            "it, unless the preference patchInterfacePort names a port)."),
        QStringLiteral("port"));
    parser.addOption(patchPort);
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QStringLiteral(
            "A brain-note document (.nupo4) or a recording (.dat, .data, .nupo) to open and play."),
        QStringLiteral("[file]"));

    QStringList decoded;
    decoded.reserve(arguments.size());
    for (const QByteArray& argument : arguments)
        decoded.append(QFile::decodeName(argument));
    if (!parser.parse(decoded)) {
        what = Action::Fail;
        return;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        what = Action::ShowHelp;
        return;
    }
    if (parser.isSet(version)) {
        what = Action::ShowVersion;
        return;
    }
    if (parser.isSet(patchPort)) {
        bool ok = false;
        const QString value = parser.value(patchPort);
        port = value.toInt(&ok);
        if (!ok || port < 1 || port > 65535) {
            port = 0;
            error = QStringLiteral("--patch-port: '%1' is not a port (1..65535).").arg(value);
            what = Action::Fail;
            return;
        }
    }

    // The parser sees decoded text, which loses bytes that are not UTF-8. Its positional arguments come in
    // the order of the command line, so each is matched to the next argument that decodes to it, whose
    // bytes are the name as the file system holds it.
    qsizetype next = 1;
    for (const QString& positional : parser.positionalArguments()) {
        while (next < decoded.size() && decoded[next] != positional)
            ++next;
        const QByteArray raw = next < arguments.size() ? arguments[next++] : QFile::encodeName(positional);
        if (raw.isEmpty())
            told.append(QStringLiteral("Ignoring an empty argument: it names no file."));
        else if (file.isEmpty())
            file = raw;
        else
            told.append(QStringLiteral("Only one file opens at start; ignoring %1.").arg(displayPath(raw)));
    }
}

QList<QByteArray> CommandLine::fromArgv(int argc, char** argv)
{
    QList<QByteArray> arguments;
    for (int i = 0; i < argc && argv[i]; ++i)
        arguments.append(QByteArray(argv[i]));
    return arguments;
}

}  // namespace nupo
