#include "ListenerProcess.h"

#include "support/JackTestServer.h"

#include <QFile>

#include <jack/jack.h>

#include <csignal>

namespace nupo::test {

bool Listener::start(jack_client_t* look)
{
    end();
    QFile::remove(countFile);
    pid = startQuietProcess(
        {program.toStdString(), "listen", clientName.toStdString(), countFile.toStdString()}, {});
    return pid > 0 &&
           waitUntil([&] { return notes() == 0 && jack_port_by_name(look, portName()) != nullptr; });
}

long long Listener::notes() const
{
    QFile file(countFile);
    bool read = false;
    const long long count = file.open(QIODevice::ReadOnly) ? file.readAll().toLongLong(&read) : -1;
    return read ? count : -1;
}

bool Listener::connectedTo(jack_client_t* look, const QString& other) const
{
    jack_port_t* listening = jack_port_by_name(look, portName());
    if (listening == nullptr)
        return false;
    bool found = false;
    if (const char** connections = jack_port_get_all_connections(look, listening)) {
        for (const char** name = connections; *name != nullptr; ++name)
            found = found || other == QString::fromUtf8(*name);
        jack_free(connections);
    }
    return found;
}

void Listener::end()
{
    endProcess(pid, SIGTERM);
}

void Listener::kill()
{
    endProcess(pid, SIGKILL);
}

}  // namespace nupo::test
