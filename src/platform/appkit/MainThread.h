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

// True on the thread that owns the QCoreApplication.
bool isMainThread();

// Marks an object of the main thread whose timer events run a job that touches no view and nothing a
// view's drawing reads (such as the windows' shared beat, which skips the ticks of windows still
// drawing): its timer events need not wait for frames drawn on other threads. Main thread only.
void markIndependentOfDrawing(QObject* object);
bool isIndependentOfDrawing(const QObject* object);

// Waits, on the main thread, for the frames drawn on other threads, within a bound: for such a job
// before it touches what the views draw from. True when no frame is drawing now (one whose window
// stopped waiting for it, as stuck, aside): false, the job leaves what the views draw from as it is
// this time. True until the drawing side has set how to wait (setDrawingWait).
[[nodiscard]] bool waitForDrawing();
void setDrawingWait(std::function<bool()> wait);

}  // namespace nupo
