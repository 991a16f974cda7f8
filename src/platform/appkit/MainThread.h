#pragma once

#include <QEvent>

#include <functional>

class QObject;

namespace nupo {

// Queues fn to run on the main (GUI) thread's event loop. Safe from any thread; when called on the main
// thread it still queues (it never runs fn re-entrantly). Dropped if the application is gone.
void performOnMainThread(std::function<void()> fn);

// Posts event to receiver, an object of the main thread, from any thread (Qt takes the event). Every
// post from other threads to the main thread goes through here, one at a time.
void postToMainThread(QObject* receiver, QEvent* event);

// The type of event, delivered on the main thread, read under the lock that postToMainThread posts
// under. An object that other threads post to reads its events' types through this, so that what the
// posting thread wrote before the post (the event itself among it) is seen to happen before the read,
// also by ThreadSanitizer, which cannot see Qt's event queue.
QEvent::Type handedOverEventType(const QEvent* event);

// Whether an event's receiver is a widget (or, with windowsToo, a window), read under the same lock: a
// receiver another thread made and then posted to (a main-thread receiver made on first use) is seen
// whole. Filters that see every event of the application ask this before they read an event.
bool handedOverToWidget(const QObject* receiver, bool windowsToo = false);

// True on the thread that owns the QCoreApplication.
bool isMainThread();

}  // namespace nupo
