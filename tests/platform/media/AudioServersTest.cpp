#include "platform/media/AudioServers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace nupo {
namespace {

// A local socket at path; listening, or left behind as a server that died leaves it.
int bindSocket(const QString& path, bool listening)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return -1;
    if (listening)
        ::listen(fd, 4);
    return fd;
}

class AudioServers : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        for (const char* name :
             {"PULSE_SERVER", "PULSE_RUNTIME_PATH", "PIPEWIRE_RUNTIME_DIR", "PIPEWIRE_REMOTE"})
            qunsetenv(name);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder.path()));
    }

    QTemporaryDir folder{QDir::tempPath() + QStringLiteral("/nupo-servers-XXXXXX")};
};

TEST_F(AudioServers, OnlyASocketThatAnswersCountsAsAServer)
{
    const QString path = folder.filePath(QStringLiteral("live"));
    const QString stale = folder.filePath(QStringLiteral("stale"));
    const int live = bindSocket(path, true);
    const int dead = bindSocket(stale, false);
    ASSERT_GE(live, 0);
    ASSERT_GE(dead, 0);
    EXPECT_TRUE(serverListens(path));
    EXPECT_FALSE(serverListens(stale)) << "a socket file with no server behind it";
    EXPECT_FALSE(serverListens(folder.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(serverListens(QString()));
    EXPECT_FALSE(serverListens(QStringLiteral("/") + QString(200, QLatin1Char('x')))) << "too long a path";
    ::close(live);
    ::close(dead);
}

TEST_F(AudioServers, PulseServerIsLookedForWhereTheEnvironmentPointsAndInTheRuntimeFolder)
{
    EXPECT_FALSE(AudioServerSockets::fromEnvironment().pulseListens());
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("pulse")));
    const int usual = bindSocket(folder.filePath(QStringLiteral("pulse/native")), true);
    ASSERT_GE(usual, 0);
    EXPECT_TRUE(AudioServerSockets::fromEnvironment().pulseListens());

    // PULSE_SERVER names the server, with or without "unix:"; a dead one is not there.
    const QString other = folder.filePath(QStringLiteral("other"));
    qputenv("PULSE_SERVER", QFile::encodeName(other));
    EXPECT_FALSE(AudioServerSockets::fromEnvironment().pulseListens());
    const int named = bindSocket(other, true);
    ASSERT_GE(named, 0);
    EXPECT_TRUE(AudioServerSockets::fromEnvironment().pulseListens());
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(other));
    EXPECT_TRUE(AudioServerSockets::fromEnvironment().pulseListens());
    ::close(named);
    EXPECT_FALSE(AudioServerSockets::fromEnvironment().pulseListens());
    // A network address cannot be told without connecting: it counts as there.
    qputenv("PULSE_SERVER", "tcp:localhost:4713");
    EXPECT_TRUE(AudioServerSockets::fromEnvironment().pulseListens());

    // PULSE_RUNTIME_PATH in place of XDG_RUNTIME_DIR/pulse.
    qunsetenv("PULSE_SERVER");
    qputenv("PULSE_RUNTIME_PATH", QFile::encodeName(folder.filePath(QStringLiteral("elsewhere"))));
    EXPECT_FALSE(AudioServerSockets::fromEnvironment().pulseListens());
    ::close(usual);
}

TEST_F(AudioServers, PipewireServerIsLookedForInItsRuntimeFolder)
{
    EXPECT_FALSE(AudioServerSockets::fromEnvironment().pipewireListens());
    const int server = bindSocket(folder.filePath(QStringLiteral("pipewire-0")), true);
    ASSERT_GE(server, 0);
    EXPECT_TRUE(AudioServerSockets::fromEnvironment().pipewireListens());
    qputenv("PIPEWIRE_REMOTE", "pipewire-1");
    EXPECT_FALSE(AudioServerSockets::fromEnvironment().pipewireListens());
    qputenv("PIPEWIRE_REMOTE", QFile::encodeName(folder.filePath(QStringLiteral("pipewire-0"))));
    EXPECT_TRUE(AudioServerSockets::fromEnvironment().pipewireListens());
    qunsetenv("PIPEWIRE_REMOTE");
    qputenv("PIPEWIRE_RUNTIME_DIR", QFile::encodeName(folder.filePath(QStringLiteral("elsewhere"))));
    EXPECT_FALSE(AudioServerSockets::fromEnvironment().pipewireListens());
    ::close(server);
}

TEST_F(AudioServers, JackServerIsLookedForUnderItsName)
{
    qputenv("JACK_DEFAULT_SERVER", "nupo-servers-test");
    const AudioServerSockets sockets = AudioServerSockets::fromEnvironment();
    EXPECT_TRUE(sockets.jack.endsWith(QStringLiteral("/jack_nupo-servers-test_%1_0").arg(getuid())))
        << sockets.jack.toStdString();
    EXPECT_FALSE(sockets.jackListens());
}

}  // namespace
}  // namespace nupo
