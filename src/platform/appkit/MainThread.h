#pragma once

#include <functional>

namespace nupo {

// Queues fn to run on the main (GUI) thread's event loop. Safe from any thread; when called on the main
// thread it still queues (it never runs fn re-entrantly). Dropped if the application is gone.
void performOnMainThread(std::function<void()> fn);

// True on the thread that owns the QCoreApplication.
bool isMainThread();

}  // namespace nupo
