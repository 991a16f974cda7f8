// nupo4: live EEG analysis and brain-driven media.
#include "app/NUPO4DrawAppDelegate.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("NUPO4"));
    QApplication::setApplicationVersion(QStringLiteral(NUPO_VERSION));
    QApplication::setOrganizationName(QStringLiteral("NUPO4"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Live EEG analysis, brainwave displays and brain-driven MIDI, sound and movies."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A recording (.dat, .data, .nupo) to open and play."),
                                 QStringLiteral("[file]"));
    parser.process(app);

    auto& delegate = nupo::NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    if (!parser.positionalArguments().isEmpty())
        delegate.setPathToOpen(parser.positionalArguments().constFirst());

    QObject::connect(&app, &QCoreApplication::aboutToQuit,
                     [&delegate] { delegate.applicationWillTerminate(&delegate); });
    QTimer::singleShot(0, &app, [&delegate] { delegate.applicationDidFinishLaunching(&delegate); });
    return app.exec();
}
