#pragma once

#include "interop/OscPatchMessage.h"

#include <QHash>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct sockaddr_in;

namespace nupo {

class WorkerThread;

// The patch interface's server: Open Sound Control over UDP, bound to the loopback address only. It
// receives on its own worker thread; every accepted message runs its address's method on the main
// thread, in the order the datagrams arrived. A method's reply (a read) goes back to the sender at the
// same address. Unknown addresses, wrong argument counts and whatever decodePatchDatagram refuses are
// dropped with a line on standard output.
class OscPatchServer {
public:
    using Reply = std::vector<float>;
    using Method = std::function<std::optional<Reply>(const std::vector<double>& values)>;

    OscPatchServer();
    ~OscPatchServer();
    OscPatchServer(const OscPatchServer&) = delete;
    OscPatchServer& operator=(const OscPatchServer&) = delete;

    // Declares an address and the argument counts it takes; before start().
    void addMethod(const QString& address, int minArguments, int maxArguments, Method method);
    QStringList addresses() const;

    // Binds 127.0.0.1:port (0: a free port) and starts receiving. False, with a line on standard output
    // and the reason in why (may be null), when the port cannot be bound or the server runs already.
    bool start(int port, QString* why = nullptr);
    void stop();
    bool isRunning() const;
    // The bound port (0 while stopped).
    int port() const;

    // Datagrams whose method was queued, and datagrams dropped, since the start.
    int acceptedCount() const;
    int droppedCount() const;

    struct Shared;

private:
    std::shared_ptr<Shared> shared;
    std::unique_ptr<WorkerThread> worker;
};

}  // namespace nupo
