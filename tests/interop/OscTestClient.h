#pragma once

// A UDP socket on the loopback address that sends datagrams to a port and reads the answers.

#include <QByteArray>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <optional>

namespace nupo::test {

class OscTestClient {
public:
    OscTestClient()
    {
        fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in self{};
        self.sin_family = AF_INET;
        self.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&self), sizeof self);
    }
    ~OscTestClient() { ::close(fd); }
    OscTestClient(const OscTestClient&) = delete;
    OscTestClient& operator=(const OscTestClient&) = delete;

    bool send(int port, const QByteArray& datagram) const
    {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(std::uint16_t(port));
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return ::sendto(fd, datagram.constData(), std::size_t(datagram.size()), 0,
                        reinterpret_cast<const sockaddr*>(&to), sizeof to) == datagram.size();
    }
    // A datagram that has arrived, without waiting.
    std::optional<QByteArray> receive() const
    {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0)
            return std::nullopt;
        QByteArray bytes(4096, '\0');
        const ssize_t n = ::recv(fd, bytes.data(), std::size_t(bytes.size()), 0);
        if (n < 0)
            return std::nullopt;
        bytes.resize(n);
        return bytes;
    }

private:
    int fd = -1;
};

}  // namespace nupo::test
