#pragma once

#include <functional>

class QEvent;
class QObject;

namespace nupo {

// Queues fn to run on the main (GUI) thread's event loop. Safe from any thread; when called on the main
// thread it still queues (it never runs fn re-entrantly). Dropped if the application is gone.
void performOnMainThread(std::function<void()> fn);

// Posts event to receiver, an object of the main thread, from any thread (Qt takes the event). Every
// post from other threads to the main thread goes through here, one at a time.
void postToMainThread(QObject* receiver, QEvent* event);

// True on the thread that owns the QCoreApplication.
bool isMainThread();

}  // namespace nupo
