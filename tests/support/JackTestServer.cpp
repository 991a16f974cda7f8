#include "support/JackTestServer.h"

#include <jack/jack.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace nupo::test {

namespace {

void quiet(const char*) {}

}  // namespace

bool waitUntil(const std::function<bool()>& done)
{
    const auto until = std::chrono::steady_clock::now() + jackLiveness;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

bool jackRequired()
{
    const char* value = std::getenv("NUPO_REQUIRE_JACK");
    return value != nullptr && std::string(value) == "1";
}

jack_client_t* openJackClient(const char* name)
{
    jack_set_error_function(quiet);
    jack_set_info_function(quiet);
    return jack_client_open(name, JackOptions(JackNoStartServer | JackUseExactName), nullptr);
}

QString ownJackServerName(const QString& suffix)
{
    const QByteArray shared = qgetenv("NUPO_TEST_JACK_SERVER");
    return (shared.isEmpty() ? QStringLiteral("nupo-test") : QString::fromLocal8Bit(shared)) + suffix;
}

pid_t startQuietProcess(std::vector<std::string> arguments, const std::vector<std::string>& extraEnvironment)
{
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable)
        environment.emplace_back(*variable);
    environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char*> argv, envp;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    const int quietOutput = open("/dev/null", O_WRONLY);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // A test that dies leaves no server of its own running.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        dup2(quietOutput, STDOUT_FILENO);
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(quietOutput);
    return pid < 0 ? -1 : pid;
}

int runQuietProcess(std::vector<std::string> arguments, const std::vector<std::string>& extraEnvironment)
{
    const pid_t pid = startQuietProcess(std::move(arguments), extraEnvironment);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

void endProcess(pid_t& pid, int signal)
{
    if (pid <= 0)
        return;
    ::kill(pid, signal);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

JackServer::~JackServer()
{
    stop();
    if (lock >= 0)
        close(lock);  // lets the next test's server start
}

bool JackServer::start()
{
    if (lock < 0) {
        const QByteArray suite = qgetenv("NUPO_TEST_JACK_SERVER");
        const std::string path = "/tmp/nupo-own-jack-servers-" +
                                 (suite.isEmpty() ? std::string("default") : suite.toStdString()) + ".lock";
        lock = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (lock >= 0)
            flock(lock, LOCK_EX);
    }
    pid = startQuietProcess(
        {"jackd", "-n", name.toStdString(), "--no-realtime", "-d", "dummy", "-r", "48000", "-p", "1024"},
        {"JACK_NO_AUDIO_RESERVATION=1"});
    if (pid < 0)
        return false;
    const bool answers = waitUntil([] {
        jack_client_t* probe = openJackClient("restart test probe");
        if (probe != nullptr)
            jack_client_close(probe);
        return probe != nullptr;
    });
    // A server of that name left running by an earlier run answers too, while ours gave up.
    if (waitpid(pid, nullptr, WNOHANG) != 0) {
        pid = -1;
        return false;
    }
    return answers;
}

void JackServer::kill()
{
    end(SIGKILL);
}

void JackServer::stop()
{
    end(SIGTERM);
}

void JackServer::pause()
{
    if (pid > 0)
        ::kill(pid, SIGSTOP);
}

void JackServer::resume()
{
    if (pid > 0)
        ::kill(pid, SIGCONT);
}

void JackServer::end(int signal)
{
    resume();  // a frozen server takes no signal but SIGKILL
    endProcess(pid, signal);
}

}  // namespace nupo::test
