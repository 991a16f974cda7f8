#pragma once

#include <QString>

#include <sys/types.h>

namespace nupo::test {

// A pulseaudio of the test's own with a null sink, its socket and state in a folder of its own.
class PulseServer {
public:
    explicit PulseServer(QString folder) : folder(std::move(folder)) {}
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    // Why a test cannot run on one here (empty when it can): no pulseaudio, or a sound card that sound
    // would reach without any server.
    static QString unavailableReason();

    QString socket() const { return folder + QStringLiteral("/native"); }

    // Makes this process reach this server only: none of the desktop's sound servers.
    void useOnlyThis() const;

    // Starts the server and waits until it answers.
    bool start();

    // Dies as a crashed server does: no goodbye to its clients, its socket left behind.
    void kill();

    // Whether the server answers and has `count` playback streams. Asked by pactl, out of this process:
    // libpulse's threads share lock-free lists that ThreadSanitizer cannot follow.
    bool hasStreams(int count) const;

private:
    QString folder;
    pid_t pid = -1;
};

}  // namespace nupo::test
