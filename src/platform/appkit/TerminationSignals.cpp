#include "platform/appkit/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QtGlobal>

#include <fcntl.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace nupo {

namespace {

// The signal handler may only do what is safe in a handler: it writes a byte to a pipe that the main
// thread watches, and on a second signal restores the default action and raises the signal again.
int signalPipe[2] = {-1, -1};
std::atomic<bool> signalled{false};

std::function<void()>& quitAction()
{
    static auto* action = new std::function<void()>;  // main thread; lives to process end
    return *action;
}

extern "C" void onTerminationSignal(int number)
{
    if (signalled.exchange(true)) {
        std::signal(number, SIG_DFL);
        std::raise(number);
        return;
    }
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

void handle(int number)
{
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(number, &action, nullptr);
}

bool watchingMessages = false;
QtMessageHandler previousMessageHandler = nullptr;

void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (previousMessageHandler)
        previousMessageHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    if (message.startsWith(QLatin1String("The X11 connection broke"))) {
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(1);
    }
}

bool startedIgnored(int number)
{
    struct sigaction current {};
    return ::sigaction(number, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

}  // namespace

void quitOnTerminationSignals(std::function<void()> quit)
{
    quitAction() = std::move(quit);
    if (signalPipe[0] >= 0)
        return;
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char bytes[16];
        while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        if (const std::function<void()>& quit = quitAction())
            quit();
        else
            QCoreApplication::quit();
    });
    handle(SIGTERM);
    // Started in the background of a shell, the program keeps ignoring Ctrl+C as its shell meant, and
    // started with nohup it keeps ignoring the terminal going.
    if (!startedIgnored(SIGINT))
        handle(SIGINT);
    if (!startedIgnored(SIGHUP))
        handle(SIGHUP);
}

void endAtOnceWhenTheDisplayIsLost()
{
    if (watchingMessages)
        return;
    watchingMessages = true;
    previousMessageHandler = qInstallMessageHandler(onMessage);
}

}  // namespace nupo
