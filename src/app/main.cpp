// nupo4: live EEG analysis and brain-driven media.
#include "app/CommandLine.h"
#include "app/NUPO4DrawAppDelegate.h"
#include "app/Wiring.h"
#include "document/ui/NUPO4DocumentController.h"
#include "platform/appkit/MemoryReturn.h"
#include "platform/appkit/TerminationSignals.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "views3d/textures/gl/PictureLoader.h"

#include <QApplication>
#include <QByteArrayView>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

void nameTheApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("NUPO4"));
    QCoreApplication::setApplicationVersion(QStringLiteral(NUPO_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("NUPO4"));
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

// Answers help, version and a wrong option; the exit code when the program ends here.
std::optional<int> answered(const nupo::CommandLine& commandLine, const char* program)
{
    switch (commandLine.action()) {
        case nupo::CommandLine::Action::ShowHelp:
            std::fputs(commandLine.helpText().toLocal8Bit().constData(), stdout);
            return 0;
        case nupo::CommandLine::Action::ShowVersion:
            std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                        qPrintable(QCoreApplication::applicationVersion()));
            return 0;
        case nupo::CommandLine::Action::Fail:
            std::fprintf(stderr, "%s\nTry '%s --help' for the options.\n",
                         qPrintable(commandLine.errorText()), program);
            return 1;
        case nupo::CommandLine::Action::Run:
            break;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv)
{
    // Line by line, also into a file or a pipe, so that what was printed survives the program being killed.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    nupo::giveLargeBuffersBackToTheSystem();
    const char* program = argc > 0 ? argv[0] : "nupo4";
    if (asksForHelpOrVersion(argc, argv)) {
        QCoreApplication app(argc, argv);
        nameTheApplication();
        const nupo::CommandLine commandLine(nupo::CommandLine::fromArgv(argc, argv));
        return answered(commandLine, program).value_or(0);
    }

    QApplication app(argc, argv);  // takes out the arguments meant for Qt
    nameTheApplication();
    const nupo::CommandLine commandLine(nupo::CommandLine::fromArgv(argc, argv));
    if (const std::optional<int> exitCode = answered(commandLine, program))
        return *exitCode;
    for (const QString& note : commandLine.notes())
        std::printf("%s\n", qPrintable(note));
    std::fflush(stdout);

    nupo::installLinks();
    auto& delegate = nupo::NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    delegate.setNativePathToOpen(commandLine.fileToOpen());
    delegate.setPatchPort(commandLine.patchPort());

    // The plot windows' GL views draw on threads of their own, in parallel with each other and with the
    // main thread's own windows.
    nupo::OpenGLViewHost::setPlotDrawing(nupo::OpenGLViewHost::Drawing::OnOwnThread);

    // Only where a test asks for them.
    nupo::ThreadedGLViewHost::stallFramesFromEnvironment();
    nupo::ThreadedGLViewHost::slowFramesFromEnvironment();

    QObject::connect(&app, &QCoreApplication::aboutToQuit,
                     [&delegate] { delegate.applicationWillTerminate(&delegate); });
    // `kill <pid>` and Ctrl+C end the program through its own way out (the MIDI notes sounding are
    // switched off); nothing is asked, as nobody may be there to answer.
    nupo::quitOnTerminationSignals(
        [] { nupo::NUPO4DocumentController::sharedNUPO4DocumentController().quit(); });
    nupo::endAtOnceWhenTheDisplayIsLost();
    QTimer::singleShot(0, &app, [&delegate] {
        delegate.applicationDidFinishLaunching(&delegate);
        // The first GL context loads the GL driver, which takes a good part of a second: done once the
        // first windows are up, rather than when the user opens the first GL window.
        QTimer::singleShot(0, [] { nupo::OpenGLViewHost::isSupported(); });
    });
    const int exitCode = app.exec();
    // A picture still being read (a hung drive) is not waited for past a short bound: the process then
    // ends at once, without running destructors under the read.
    const bool picturesFinished = nupo::PictureLoader::finish();
    nupo::GLRenderThread::endAtOnceIfAFrameIsStuck(exitCode);
    if (!picturesFinished) {
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(exitCode);
    }
    return exitCode;
}
