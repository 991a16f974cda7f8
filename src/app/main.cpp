// nupo4: live EEG analysis and brain-driven media.
#include "app/CommandLine.h"
#include "app/NUPO4DrawAppDelegate.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);  // takes out the arguments meant for Qt
    QApplication::setApplicationName(QStringLiteral("NUPO4"));
    QApplication::setApplicationVersion(QStringLiteral(NUPO_VERSION));
    QApplication::setOrganizationName(QStringLiteral("NUPO4"));

    const nupo::CommandLine commandLine(nupo::CommandLine::fromArgv(argc, argv));
    switch (commandLine.action()) {
        case nupo::CommandLine::Action::ShowHelp:
            std::fputs(commandLine.helpText().toLocal8Bit().constData(), stdout);
            return 0;
        case nupo::CommandLine::Action::ShowVersion:
            std::printf("%s %s\n", qPrintable(QApplication::applicationName()),
                        qPrintable(QApplication::applicationVersion()));
            return 0;
        case nupo::CommandLine::Action::Fail:
            std::fprintf(stderr, "%s\nTry '%s --help' for the options.\n",
                         qPrintable(commandLine.errorText()), argc > 0 ? argv[0] : "nupo4");
            return 1;
        case nupo::CommandLine::Action::Run:
            break;
    }
    for (const QString& note : commandLine.notes())
        std::printf("%s\n", qPrintable(note));
    std::fflush(stdout);

    auto& delegate = nupo::NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    delegate.setNativePathToOpen(commandLine.fileToOpen());

    QObject::connect(&app, &QCoreApplication::aboutToQuit,
                     [&delegate] { delegate.applicationWillTerminate(&delegate); });
    QTimer::singleShot(0, &app, [&delegate] { delegate.applicationDidFinishLaunching(&delegate); });
    return app.exec();
}
