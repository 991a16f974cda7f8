// nupo4: live EEG analysis and brain-driven media.
#include "app/NUPO4DrawAppDelegate.h"

#include <QApplication>
#include <QByteArrayView>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

namespace {

void nameTheApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("NUPO4"));
    QCoreApplication::setApplicationVersion(QStringLiteral(NUPO_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("NUPO4"));
}

void describeOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Live EEG analysis, brainwave displays and brain-driven MIDI, sound and movies."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        QStringLiteral("patch-port"),
        QStringLiteral(
            "Starts the patch interface: Open Sound Control on 127.0.0.1 at this UDP port (off without "
            "it, unless the preference patchInterfacePort names a port)."),
        QStringLiteral("port")));
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QStringLiteral("A brain-note document (.nupo4) or a recording (.dat, .data, .nupo) to open "
                       "and play."),
        QStringLiteral("[file]"));
}

// --help and --version are answered before any window system is needed, so they work without a display.
bool asksForHelpOrVersion(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView argument(argv[i]);
        if (argument == "-h" || argument == "--help" || argument == "-?" || argument == "--help-all" ||
            argument == "-v" || argument == "--version")
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (asksForHelpOrVersion(argc, argv)) {
        QCoreApplication app(argc, argv);
        nameTheApplication();
        QCommandLineParser parser;
        describeOptions(parser);
        parser.process(app);  // prints the help or the version and exits
        return 0;
    }

    QApplication app(argc, argv);
    nameTheApplication();

    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(app);

    auto& delegate = nupo::NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    if (parser.isSet(QStringLiteral("patch-port"))) {
        bool ok = false;
        const int port = parser.value(QStringLiteral("patch-port")).toInt(&ok);
        if (!ok || port < 1 || port > 65535) {
            std::fprintf(stderr, "--patch-port: '%s' is not a port (1..65535).\n",
                         qPrintable(parser.value(QStringLiteral("patch-port"))));
            return 2;
        }
        delegate.setPatchPort(port);
    }
    if (!parser.positionalArguments().isEmpty())
        delegate.setPathToOpen(parser.positionalArguments().constFirst());

    QObject::connect(&app, &QCoreApplication::aboutToQuit,
                     [&delegate] { delegate.applicationWillTerminate(&delegate); });
    QTimer::singleShot(0, &app, [&delegate] { delegate.applicationDidFinishLaunching(&delegate); });
    return app.exec();
}
