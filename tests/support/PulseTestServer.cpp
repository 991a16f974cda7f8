#include "support/PulseTestServer.h"

#include "support/JackTestServer.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <signal.h>

namespace nupo::test {

PulseServer::~PulseServer()
{
    endProcess(pid, SIGTERM);
}

QString PulseServer::unavailableReason()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty())
        return QStringLiteral("pulseaudio is not installed");
    if (!QDir(QStringLiteral("/dev/snd")).entryList({QStringLiteral("pcmC*D*p")}, QDir::System).isEmpty())
        return QStringLiteral(
            "this machine has a sound card, which the synthesiser plays on without a server");
    return {};
}

void PulseServer::useOnlyThis() const
{
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder + QStringLiteral("/none")));
    qunsetenv("PIPEWIRE_RUNTIME_DIR");
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket()));
}

bool PulseServer::start()
{
    const std::string dir = folder.toStdString();
    pid = startQuietProcess(
        {"pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "--use-pid-file=no",
         "--system=no", "-n", "--log-target=file:" + dir + "/log", "--load=module-null-sink",
         "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket().toStdString()},
        {"HOME=" + dir, "PULSE_RUNTIME_PATH=" + dir, "XDG_RUNTIME_DIR=" + dir, "XDG_CONFIG_HOME=" + dir});
    return pid > 0 && waitUntil([this] {
               return runQuietProcess({"pactl", "--server=unix:" + socket().toStdString(), "info"}) == 0;
           });
}

void PulseServer::kill()
{
    endProcess(pid, SIGKILL);
}

bool PulseServer::hasStreams(int count) const
{
    const std::string script =
        "out=$(pactl --server=unix:" + socket().toStdString() +
        " list short sink-inputs) && test \"$(printf '%s' \"$out\" | grep -c .)\" -eq " +
        std::to_string(count);
    return runQuietProcess({"sh", "-c", script}) == 0;
}

}  // namespace nupo::test
