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

bool pipewireServerListens()
{
    QString runtime = qEnvironmentVariable("PIPEWIRE_RUNTIME_DIR");
    if (runtime.isEmpty())
        runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        return false;
    const QString remote = qEnvironmentVariable("PIPEWIRE_REMOTE", QStringLiteral("pipewire-0"));
    return serverListens(remote.startsWith(QLatin1Char('/')) ? remote : runtime + QLatin1Char('/') + remote);
}

bool pulseServerListens()
{
    if (qEnvironmentVariableIsSet("PULSE_SERVER")) {
        QString server = qEnvironmentVariable("PULSE_SERVER").trimmed();
        if (server.startsWith(QStringLiteral("unix:")))
            server = server.mid(5);
        if (!server.startsWith(QLatin1Char('/')) || server.contains(QLatin1Char(' ')))
            return true;
        return serverListens(server);
    }
    QString runtime = qEnvironmentVariable("PULSE_RUNTIME_PATH");
    if (runtime.isEmpty()) {
        runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (runtime.isEmpty())
            return false;
        runtime += QStringLiteral("/pulse");
    }
    return serverListens(runtime + QStringLiteral("/native"));
}

}  // namespace nupo
