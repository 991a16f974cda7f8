#pragma once

#include <QString>

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

typedef struct _jack_client jack_client_t;

namespace nupo::test {

// Liveness bound for a server to start or for a watch to notice; never a speed requirement.
inline constexpr auto jackLiveness = std::chrono::seconds(30);

// Polls done() until it holds (true) or the liveness bound passes (false).
bool waitUntil(const std::function<bool()>& done);

// Whether the environment asks for JACK (NUPO_REQUIRE_JACK=1, set by scripts/test.sh): a test that
// cannot reach or start a server then fails instead of skipping.
bool jackRequired();

// A JACK client of the test's own on the server JACK_DEFAULT_SERVER names (nullptr when none answers);
// the name exactly as given.
jack_client_t* openJackClient(const char* name);

// The name for a JACK server of a test's own: the shared test server's name with this suffix.
QString ownJackServerName(const QString& suffix);

// Starts a program with fork and exec (QProcess's way of starting a process does not run under
// ThreadSanitizer), its standard output dropped, with this process's environment plus `extraEnvironment`
// ("NAME=value"). The process id, or -1.
pid_t startQuietProcess(std::vector<std::string> arguments, const std::vector<std::string>& extraEnvironment);
// Runs a program so and waits until it ends: its exit status, or -1 when it did not run or end normally.
int runQuietProcess(std::vector<std::string> arguments,
                    const std::vector<std::string>& extraEnvironment = {});
// Sends the signal to a process started so and waits until it has ended; pid becomes -1.
void endProcess(pid_t& pid, int signal);

// A jackd of the test's own (dummy driver), for tests that kill it: the shared test server must not be
// killed. Started with startQuietProcess; clients reach it once JACK_DEFAULT_SERVER names it. One such
// server at a time in a suite: the first start waits until no other test process holds one (servers
// starting at once share JACK's registry, and a client opened meanwhile may find none), and the object
// holds it to its end.
class JackServer {
public:
    explicit JackServer(QString name) : name(std::move(name)) {}
    ~JackServer();
    JackServer(const JackServer&) = delete;
    JackServer& operator=(const JackServer&) = delete;

    // Starts the server and waits until it answers.
    bool start();
    // Dies as a crashed server does: no goodbye to its clients.
    void kill();
    // A clean stop frees the server's entry in JACK's registry.
    void stop();
    // Freezes the server (SIGSTOP), as a server that stops answering; resume() lets it run on.
    void pause();
    void resume();

private:
    void end(int signal);

    QString name;
    pid_t pid = -1;
    int lock = -1;  // the suite's lock on servers of a test's own, once taken
};

}  // namespace nupo::test
