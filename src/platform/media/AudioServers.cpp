#include "platform/media/AudioServers.h"

#include <QFile>

#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace nupo {

bool serverListens(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    if (name.isEmpty() || std::size_t(name.size()) >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool listens = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return listens;
}

AudioServerSockets AudioServerSockets::fromEnvironment()
{
    AudioServerSockets sockets;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");

    QString pipewireRuntime = qEnvironmentVariable("PIPEWIRE_RUNTIME_DIR");
    if (pipewireRuntime.isEmpty())
        pipewireRuntime = runtime;
    const QString remote = qEnvironmentVariable("PIPEWIRE_REMOTE", QStringLiteral("pipewire-0"));
    if (remote.startsWith(QLatin1Char('/')))
        sockets.pipewire = remote;
    else if (!pipewireRuntime.isEmpty())
        sockets.pipewire = pipewireRuntime + QLatin1Char('/') + remote;

    if (qEnvironmentVariableIsSet("PULSE_SERVER")) {
        QString server = qEnvironmentVariable("PULSE_SERVER").trimmed();
        if (server.startsWith(QStringLiteral("unix:")))
            server = server.mid(5);
        if (server.startsWith(QLatin1Char('/')) && !server.contains(QLatin1Char(' ')))
            sockets.pulse = server;
        else
            sockets.pulseElsewhere = true;
    } else if (qEnvironmentVariableIsSet("PULSE_RUNTIME_PATH")) {
        sockets.pulse = qEnvironmentVariable("PULSE_RUNTIME_PATH") + QStringLiteral("/native");
    } else if (!runtime.isEmpty()) {
        sockets.pulse = runtime + QStringLiteral("/pulse/native");
    }

    const QString jackServer = qEnvironmentVariable("JACK_DEFAULT_SERVER", QStringLiteral("default"));
    sockets.jack = QStringLiteral("/dev/shm/jack_%1_%2_0").arg(jackServer).arg(getuid());
    return sockets;
}

bool AudioServerSockets::pipewireListens() const
{
    return serverListens(pipewire);
}

bool AudioServerSockets::pulseListens() const
{
    return pulseElsewhere || serverListens(pulse);
}

bool AudioServerSockets::jackListens() const
{
    return serverListens(jack);
}

}  // namespace nupo
