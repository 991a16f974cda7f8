#pragma once

#include <QByteArray>
#include <QCommandLineParser>
#include <QList>
#include <QStringList>

namespace nupo {

// The program's command line: --help, --version, --patch-port <port> and at most one file to open at
// start. Arguments are
// taken as the system gives them (bytes), so a file name that is not valid UTF-8 reaches the opener
// unchanged; every argument that is not used is named in a note.
class CommandLine {
public:
    enum class Action { Run, ShowHelp, ShowVersion, Fail };

    // arguments[0] is the program, as in argv.
    explicit CommandLine(const QList<QByteArray>& arguments);
    static QList<QByteArray> fromArgv(int argc, char** argv);

    Action action() const { return what; }
    // The file to open at start as the file system names it; empty when none was given.
    const QByteArray& fileToOpen() const { return file; }
    // The patch interface's port from --patch-port (1..65535), or 0 when not given.
    int patchPort() const { return port; }
    // Lines for the user about arguments that are ignored.
    const QStringList& notes() const { return told; }
    // Why the command line cannot be used (Fail), for standard error.
    QString errorText() const { return error.isEmpty() ? parser.errorText() : error; }
    QString helpText() const { return parser.helpText(); }

private:
    QCommandLineParser parser;
    Action what = Action::Run;
    QByteArray file;
    int port = 0;
    QString error;
    QStringList told;
};

}  // namespace nupo
