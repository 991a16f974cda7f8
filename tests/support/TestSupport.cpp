#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <dlfcn.h>
#include <execinfo.h>
#include <link.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace nupo::test {

QString tempFolder()
{
    static std::vector<std::unique_ptr<QTemporaryDir>> folders;
    folders.push_back(std::make_unique<QTemporaryDir>());
    return folders.back()->path();
}

QString sourcePath(const QString& relative)
{
    return QDir(QStringLiteral(NUPO_SOURCE_DIR)).filePath(relative);
}

bool processEventsUntil(const std::function<bool()>& done)
{
    QElapsedTimer guard;
    guard.start();
    while (!done()) {
        if (guard.elapsed() > 60000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

void keepLibrariesLoaded()
{
    // The names are gathered first and opened after: opening a library while the loader's list is held
    // deadlocks with a thread that opens one meanwhile (ThreadSanitizer's dlopen walks the list too).
    // Nothing is allocated or freed while the list is held either: ThreadSanitizer takes its own lock to
    // do that, which a thread reporting a race holds while it waits for the loader's list to symbolise.
    std::string names;
    names.reserve(std::size_t(1) << 20);
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* gathered) {
            auto& all = *static_cast<std::string*>(gathered);
            const std::size_t length = info->dlpi_name ? std::strlen(info->dlpi_name) : 0;
            if (length > 0 && all.size() + length + 1 <= all.capacity())
                all.append(info->dlpi_name, length + 1);  // with its terminating zero
            return 0;
        },
        &names);
    for (std::size_t at = 0; at < names.size(); at += std::strlen(names.c_str() + at) + 1)
        dlopen(names.c_str() + at, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool builtForSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool builtForSanitizer = true;
#else
constexpr bool builtForSanitizer = false;
#endif
#else
constexpr bool builtForSanitizer = false;
#endif

const int fatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGILL, SIGFPE};

void writeError(const char* text)
{
    ssize_t ignored = write(STDERR_FILENO, text, strlen(text));
    (void)ignored;
}

// Runs on the crashing thread with only async-signal-safe calls: fork and exec gdb on this process, or
// print this thread's frames; then die of the same signal.
void onFatalSignal(int signal)
{
    writeError("\n*** fatal signal: stacks of every thread follow ***\n");
    char pid[16];
    std::snprintf(pid, sizeof pid, "%d", int(getpid()));
    const pid_t child = fork();
    if (child == 0) {
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execlp("gdb", "gdb", "-p", pid, "-batch", "-nx", "-ex", "thread apply all bt 40", nullptr);
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        void* frames[64];
        backtrace_symbols_fd(frames, backtrace(frames, 64), STDERR_FILENO);
    }
    ::signal(signal, SIG_DFL);
    raise(signal);
}

}  // namespace

bool underSanitizer()
{
    return builtForSanitizer;
}

void reportCrashes()
{
    if (builtForSanitizer)
        return;
    void* warmUp[1];
    backtrace(warmUp, 1);                                // loads the unwinder now, not inside the handler
    prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY, 0, 0, 0);  // lets gdb attach where ptrace is restricted
    for (const int signal : fatalSignals)
        ::signal(signal, onFatalSignal);
}

double residentMiB()
{
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

int threadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

int openFileCount()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot).size());
}

}  // namespace nupo::test
