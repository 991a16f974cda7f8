#pragma once

#include "platform/appkit/WorkerThread.h"

#include <QEvent>
#include <QImage>
#include <QSize>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

class QObject;

namespace nupo {

class OffscreenGLContext;

// A thread that draws one GL view's frames off the main thread. It owns a context of its own, on a driver
// instance of its own (sharing nothing, so that its drawing never meets another thread's in Mesa), and a
// framebuffer of the frame's size in device pixels with depth and stencil (no multisampling, as in the
// views' surface format). Each frame is drawn there, read back into an image on the thread, and handed
// over: it becomes the newest frame, which the host widget paints like any picture (so the window is
// composed without GL), and the receiver gets a frameReadyEvent(). One frame at a time: while a frame is
// in flight, startFrame refuses. Where no driver instance of its own can be had (no X display) the
// contexts share one; with a software driver (llvmpipe, softpipe), whose contexts of one instance share
// a rasteriser that has crashed with several threads drawing at once, those threads take turns, in the
// order they asked.
//
// The main thread starts frames; it waits for the one in flight only where a test asks for a picture or
// a job in the context at once (the program never does), and never without a bound: a frame that has
// drawn for longer than stallTime() counts as stalled (stuck in the driver, most likely) and is waited for
// no more. Its stall clock runs only while it draws: not while it is queued, waits for its turn or for a lock
// it needs, or makes its framebuffer and view's buffers at a new size (waitOffTheClock), so that a frame
// behind others, or the first after a maximise, has not "stopped responding". A frame waiting behind
// another frame that stalled (for a lock that frame holds: waitBehind) counts as stalled too, for as long
// as it waits there, so that its window is not left frozen without a word. The
// drawing thread never waits for the main thread. Every frame in flight counts in a process-wide tally
// (anyFrameInFlight).
//
// Destroying never waits for a frame: the thread finishes the frame in flight, if any, frees its context
// and ends on its own, and the main thread reaps it once it has ended. A thread whose frame never ends
// (stuck in the driver) is left to itself, with its context and what it shares with this object, which
// stay reachable. What a frame in flight reads and its owner gives up is kept until the frame ends
// (releaseAfterFrame).
//
// Everything but the drawing function runs on the main thread.
class GLRenderThread {
public:
    using Clock = std::chrono::steady_clock;
    struct Frame {
        QImage image;        // in device pixels, top row first; null before the first frame
        quint64 serial = 0;  // counts finished frames from 1
    };

    GLRenderThread(QObject* receiver, const QString& name);
    ~GLRenderThread();  // destroys
    GLRenderThread(const GLRenderThread&) = delete;
    GLRenderThread& operator=(const GLRenderThread&) = delete;

    // Starts the thread and makes its context. A context made before is freed first, with its frames.
    // False when no such context can be made.
    bool create();
    // Leaves the thread to end on its own, without waiting: after the frame in flight (if any) it frees
    // the context and the framebuffers and stops; a frame that never ends keeps it running. The next
    // create makes a new thread.
    void destroy();
    bool isReady() const { return ready_; }

    bool isBusy() const;
    // A frame is in flight and has drawn for longer than stallTime() (waiting not counted), or waits
    // behind a frame that did (see waitBehind).
    bool isStalled() const;
    // The frame in flight counts as stalled because it waits behind a frame that stalled (it has not
    // stalled itself).
    bool isWaitingBehindAStall() const;
    bool isCurrentThread() const;
    // Starts drawing a frame of that size: on the thread, with the context current, the back
    // framebuffer bound and the viewport over it, runs draw. False (nothing started) when not ready or
    // a frame is in flight.
    bool startFrame(QSize devicePixels, std::function<void()> draw);
    // From inside a drawing function, on its thread: runs wait (taking a lock the frame needs, e.g. its
    // class's drawing lock, or remaking the view's buffers at a new size) with the frame's stall clock
    // stopped. Elsewhere it just runs wait.
    static void waitOffTheClock(const std::function<void()>& wait);
    // From inside a drawing function, on its thread: runs wait (taking a lock that another frame holds
    // while it draws) with the frame's stall clock stopped; meanwhile the frame counts as stalled
    // whenever blockerStalled() holds (the frame it waits behind stalled). blockerStalled may be called
    // on any thread, without locks of this object held. Elsewhere it just runs wait.
    static void waitBehind(std::function<bool()> blockerStalled, const std::function<void()>& wait);
    // From inside a drawing function, on its thread: whether that frame has stalled, asked from any
    // thread (false once it has ended). Elsewhere: always false.
    static std::function<bool()> stallProbeOfThisFrame();
    // Waits for the frame in flight (if any) at most that long; true when no frame is in flight.
    bool join(Clock::duration longest);
    // Waits for the frame in flight until it ends or stalls; true when it ended.
    bool joinUnlessStalled();
    // Waits for the frame in flight until it ends or stalls, then runs fn on the thread with the context
    // current and waits for it. False (fn not run) when not ready or the frame stalled.
    bool runInContextNow(const std::function<void()>& fn);
    Frame newestFrame() const;
    // Keeps `kept` until the frame in flight has ended, then releases it on the main thread (posted from
    // the frame's end); with no frame in flight, releases it now. A frame that never ends keeps it for
    // good, reachable.
    void releaseAfterFrame(std::shared_ptr<void> kept);

    // Whether any frame is in flight, stalled ones and those of threads left to themselves included.
    static bool anyFrameInFlight();
    // At the end of the program, once its quit work is done: waits for the frames in flight until they
    // end or stall; with a frame still in flight then (stuck in the driver), ends the process at once with
    // that exit code, standard output and error flushed, rather than run destructors under that thread
    // (the views, the GL objects) or wait for it. Otherwise lets the threads left to end (freeing their
    // contexts) end before the process does.
    static void endAtOnceIfAFrameIsStuck(int exitCode);
    // The threads destroyed but not yet ended and reaped (a test aid).
    static int threadsLeftToEnd();
    // How often the main thread had to wait for a frame still in flight (a measure, and a test aid).
    static int waitsForFrames();
    // How long the main thread has waited for frames in flight, in all.
    static double secondsWaitedForFrames();
    // The event type posted to the receiver when a frame is finished.
    static QEvent::Type frameReadyEvent();
    // Whether the drawing threads of the contexts made so far take turns (see above).
    static bool drawingTakesTurns();

    // How long a frame may draw before it counts as stalled (2 s). Tests change it.
    static Clock::duration stallTime();
    static void setStallTime(Clock::duration time);

    struct Shared;  // what the drawing thread shares with this object

private:
    // Runs fn on the thread and waits for it.
    void runOnThreadAndWait(const std::function<void()>& fn);
    Clock::duration timeUntilStalled() const;
    // The same for the state given.
    static Clock::duration timeUntilStalled(Shared& shared);

    QObject* const receiver_;
    const QString name_;
    std::unique_ptr<WorkerThread> worker_;
    std::shared_ptr<Shared> shared_;
    bool ready_ = false;  // main thread: the context is made
};

}  // namespace nupo
