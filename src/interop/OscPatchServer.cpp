#include "interop/OscPatchServer.h"

#include "platform/appkit/MainThread.h"
#include "platform/appkit/WorkerThread.h"

#include <QSocketNotifier>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace nupo {

namespace {

void report(const QString& line)
{
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

// Drops are logged one by one at first; a flood of them only every thousandth time.
constexpr int dropsLoggedSingly = 20;
constexpr int dropLogInterval = 1000;

}  // namespace

struct OscPatchServer::Shared {
    struct Entry {
        int minArguments = 0;
        int maxArguments = 0;
        Method method;
    };

    mutable std::mutex mutex;
    QHash<QString, Entry> methods;  // guarded by mutex
    int fd = -1;
    int boundPort = 0;
    std::atomic<bool> alive{false};
    std::atomic<int> accepted{0};
    std::atomic<int> dropped{0};
    QSocketNotifier* notifier = nullptr;  // on the worker thread

    ~Shared()
    {
        if (fd >= 0)
            ::close(fd);
    }

    void drop(const QString& why)
    {
        const int n = dropped.fetch_add(1) + 1;
        if (n <= dropsLoggedSingly || n % dropLogInterval == 0)
            report(QStringLiteral("Patch interface: message dropped: %1%2")
                       .arg(why, n > dropsLoggedSingly ? QStringLiteral(" (%1 dropped so far)").arg(n)
                                                       : QString()));
    }

    void receivePending(const std::shared_ptr<Shared>& self)
    {
        char buffer[maxPatchDatagramSize + 1];
        for (;;) {
            sockaddr_in sender{};
            socklen_t senderSize = sizeof sender;
            const ssize_t n = ::recvfrom(fd, buffer, sizeof buffer, MSG_DONTWAIT | MSG_TRUNC,
                                         reinterpret_cast<sockaddr*>(&sender), &senderSize);
            if (n < 0)
                return;  // nothing more waiting
            handle(self, buffer, std::size_t(n), sender);
        }
    }

    void handle(const std::shared_ptr<Shared>& self, const char* data, std::size_t size,
                const sockaddr_in& sender)
    {
        QString error;
        // A datagram longer than the buffer arrives cut; its real size (MSG_TRUNC) refuses it.
        std::optional<PatchMessage> message = decodePatchDatagram(data, size, &error);
        if (!message) {
            drop(error);
            return;
        }
        Method method;
        {
            const std::lock_guard lock(mutex);
            const auto it = methods.constFind(message->address);
            if (it == methods.constEnd()) {
                drop(QStringLiteral("unknown address %1").arg(message->address.left(64)));
                return;
            }
            const int argc = int(message->values.size());
            if (argc < it->minArguments || argc > it->maxArguments) {
                drop(QStringLiteral("%1 takes %2..%3 arguments, not %4")
                         .arg(message->address)
                         .arg(it->minArguments)
                         .arg(it->maxArguments)
                         .arg(argc));
                return;
            }
            method = it->method;
        }
        accepted.fetch_add(1);
        performOnMainThread([self, method, message = std::move(*message), sender] {
            if (!self->alive.load())
                return;
            const std::optional<Reply> reply = method(message.values);
            if (!reply)
                return;
            const QByteArray bytes = encodePatchMessage(message.address, *reply);
            ::sendto(self->fd, bytes.constData(), std::size_t(bytes.size()), 0,
                     reinterpret_cast<const sockaddr*>(&sender), sizeof sender);
        });
    }
};

OscPatchServer::OscPatchServer() : shared(std::make_shared<Shared>()) {}

OscPatchServer::~OscPatchServer()
{
    stop();
}

void OscPatchServer::addMethod(const QString& address, int minArguments, int maxArguments, Method method)
{
    const std::lock_guard lock(shared->mutex);
    shared->methods.insert(address, {minArguments, maxArguments, std::move(method)});
}

QStringList OscPatchServer::addresses() const
{
    const std::lock_guard lock(shared->mutex);
    QStringList list = shared->methods.keys();
    list.sort();
    return list;
}

bool OscPatchServer::start(int port, QString* why)
{
    const auto refuse = [why](const QString& reason) {
        report(QStringLiteral("Patch interface: %1; not started.").arg(reason));
        if (why)
            *why = reason;
        return false;
    };
    if (isRunning())
        return refuse(QStringLiteral("already running on port %1").arg(shared->boundPort));
    if (port < 0 || port > 65535)
        return refuse(QStringLiteral("port %1 out of range (1..65535)").arg(port));
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(std::uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        const QString error = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        return refuse(QStringLiteral("cannot listen on 127.0.0.1 port %1: %2").arg(port).arg(error));
    }
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);

    auto fresh = std::make_shared<Shared>();
    {
        const std::lock_guard lock(shared->mutex);
        fresh->methods = shared->methods;
    }
    fresh->fd = fd;
    fresh->boundPort = ntohs(address.sin_port);
    fresh->alive.store(true);
    shared = fresh;

    worker = std::make_unique<WorkerThread>(QStringLiteral("Patch interface"));
    worker->start();
    worker->runOnThread([s = shared] {
        s->notifier = new QSocketNotifier(qintptr(s->fd), QSocketNotifier::Read);
        QObject::connect(s->notifier, &QSocketNotifier::activated, [weak = std::weak_ptr<Shared>(s)] {
            if (auto self = weak.lock())
                self->receivePending(self);
        });
    });
    report(
        QStringLiteral("Patch interface: Open Sound Control on 127.0.0.1 port %1.").arg(shared->boundPort));
    return true;
}

void OscPatchServer::stop()
{
    if (!worker)
        return;
    shared->alive.store(false);
    worker->runOnThread([s = shared] {
        delete s->notifier;
        s->notifier = nullptr;
    });
    worker->stop();
    worker.reset();
    // A fresh, stopped state keeps the methods; the old one closes its socket once no queued call holds it.
    auto fresh = std::make_shared<Shared>();
    {
        const std::lock_guard lock(shared->mutex);
        fresh->methods = shared->methods;
    }
    shared = fresh;
}

bool OscPatchServer::isRunning() const
{
    return worker != nullptr;
}

int OscPatchServer::port() const
{
    return shared->boundPort;
}

int OscPatchServer::acceptedCount() const
{
    return shared->accepted.load();
}

int OscPatchServer::droppedCount() const
{
    return shared->dropped.load();
}

}  // namespace nupo
