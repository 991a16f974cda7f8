#pragma once

#include <functional>
#include <mutex>
#include <typeinfo>
#include <utility>

namespace nupo {

// What the views of one class share (their class's engines, shared sheets and histories, process-wide
// drawing settings) is drawn by one frame at a time: each frame of a view of that class holds the class's
// drawing lock while it draws, on its own drawing thread.
//
// Changes that belong inside that shared drawing state (clearing a history, resetting a sheet) are
// requests carried out between the class's frames: runBetweenFrames runs one at once where no frame of
// the class is drawing (the lock is free, taken without waiting), and otherwise queues it; queued requests
// run in the order they came, before the next frame of the class draws (on its drawing thread, under the
// lock) or on the main thread's next beat where the lock is free then. A request therefore touches only
// drawing state, never a widget. The main thread never waits for the lock.
class DrawingClass {
public:
    // The class's drawing lock (lives to process end: a thread left to a stuck frame may still hold it).
    static std::mutex& lockOf(const std::type_info& type);

    // Runs fn now, where no frame of a view of that class is drawing and nothing is queued before it, or
    // queues it for the next moment between the class's frames (see above). Any thread.
    static void runBetweenFrames(const std::type_info& type, std::function<void()> fn);
    template <class View>
    static void runBetweenFrames(std::function<void()> fn)
    {
        runBetweenFrames(typeid(View), std::move(fn));
    }

    // The requests queued for that class, run in order; the caller holds the class's lock (a frame
    // before it draws).
    static void runQueuedLocked(const std::type_info& type);
    // Runs the queued requests of every class whose lock is free now (taken without waiting). Main
    // thread, on each beat.
    static void runQueuedWhereIdle();
};

}  // namespace nupo
