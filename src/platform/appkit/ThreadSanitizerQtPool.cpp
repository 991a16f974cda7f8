// Built into every program and test under ThreadSanitizer only (see CMakeLists.txt beside this file).
//
// Qt's GUI library splits large image conversions, scalings and raster fills into pieces that it runs
// on QThreadPool::globalInstance() and then waits for on a QSemaphore. Qt's pool and semaphore
// synchronise through futexes, which ThreadSanitizer cannot see: every piece would look like a race
// with the thread that asked for it, inside Qt and in our code that draws into the same image next.
// This definition takes the place of Qt's for the GUI library's calls (the executable's symbol comes
// first), and runs each piece at once on the calling thread; the semaphore is then released before it
// is waited for. Pictures stay the same; our code starts no pool tasks of its own.
#include <QThreadPool>

#include <functional>
#include <utility>

void QThreadPool::start(std::function<void()> functionToRun, int /*priority*/)
{
    if (functionToRun)
        std::move(functionToRun)();
}
