#pragma once

#include <QString>

#include <functional>

namespace nupo::test {

// A fresh, empty folder under the system temp folder, removed when the process ends.
QString tempFolder();

// Path of a file in the source tree (resources, test data).
QString sourcePath(const QString& relative);

// Runs the calling thread's event loop until done() holds. Returns false if it still does not hold after a
// minute: a guard that keeps a broken build from hanging the run, not a speed check.
bool processEventsUntil(const std::function<bool()>& done);

// Keeps every shared library loaded now in memory to the end of the process, so that a leak report at
// exit can still name the library that allocated (one unloaded by then shows as an unknown module,
// which no suppression can name). Called by the test mains once the tests have run.
void keepLibrariesLoaded();

// On a fatal signal (segfault, abort, bus error, illegal instruction), prints the stack of every thread
// to stderr before the process dies, so that a crash seen once in a loaded run can be traced: through gdb
// when it is installed, else the crashing thread's frames. Not installed under a sanitizer, which
// reports crashes itself. Called first by the test mains.
void reportCrashes();

// Whether the tests are built for AddressSanitizer or ThreadSanitizer (whose bookkeeping takes memory).
bool underSanitizer();

// What the process holds now, read from /proc: resident memory in MiB (0 where it cannot be read), its
// threads and its open file descriptors. For benchmarks that watch memory and threads over many rounds.
double residentMiB();
int threadCount();
int openFileCount();

}  // namespace nupo::test
