#pragma once

#include "platform/appkit/WorkerThread.h"

#include <QEvent>
#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class QObject;
class QSurfaceFormat;

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
// The main thread starts frames and may wait for the one in flight (join); the drawing thread never
// waits for the main thread, so a join always ends. Every GL window drawn this way counts in a
// process-wide tally of frames in flight, so that waitForAll can join them all, e.g. before the main
// thread touches views that may be drawing (see setEventJoin).
//
// Everything but the drawing function runs on the main thread.
class GLRenderThread {
public:
    struct Frame {
        QImage image;        // in device pixels, top row first; null before the first frame
        quint64 serial = 0;  // counts finished frames from 1
    };

    GLRenderThread(QObject* receiver, const QString& name);
    ~GLRenderThread();  // joins and frees the GL objects on the thread
    GLRenderThread(const GLRenderThread&) = delete;
    GLRenderThread& operator=(const GLRenderThread&) = delete;

    // Starts the thread and makes its context in that format. A context made before is freed first,
    // with its frames. False when no such context can be made.
    bool create(const QSurfaceFormat& format);
    // Joins, then frees the context and the framebuffers on the thread and stops it.
    void destroy();
    bool isReady() const { return ready_; }

    bool isBusy() const { return busy_.load(std::memory_order_acquire); }
    bool isCurrentThread() const { return worker_.isCurrentThread(); }
    // Starts drawing a frame of that size: on the thread, with the context current, the back
    // framebuffer bound and the viewport over it, runs draw. False (nothing started) when not ready or
    // a frame is in flight.
    bool startFrame(QSize devicePixels, std::function<void()> draw);
    // Waits until the frame in flight (if any) is finished.
    void join();
    // Waits for the frame in flight, then runs fn on the thread with the context current and waits for
    // it. False (fn not run) when not ready.
    bool runInContextNow(const std::function<void()>& fn);
    Frame newestFrame() const;

    // Waits for every frame in flight of every render thread.
    static void waitForAll();
    // How often the main thread had to wait for a frame still in flight (a measure, and a test aid).
    static int waitsForFrames();
    // How long the main thread has waited for frames in flight, in all.
    static double secondsWaitedForFrames();
    // The event type posted to the receiver when a frame is finished.
    static QEvent::Type frameReadyEvent();
    // Makes the main thread join every frame in flight before it delivers any event other than painting
    // (paint, update requests, finished frames) and the timer events of objects marked independent of
    // drawing (markIndependentOfDrawing): the handlers of all other events (input, other timers, queued
    // calls, window changes) then always find the views idle. On, it stays on for the process, except
    // where a test takes it off again. On, waitForDrawing() waits for the frames as well.
    static void setEventJoin(bool on);
    // Whether the drawing threads of the contexts made so far take turns (see above).
    static bool drawingTakesTurns();

private:
    void drawFrame(QSize size, const std::function<void()>& draw);  // on the thread
    // Runs fn on the thread and waits for it.
    void runOnThreadAndWait(const std::function<void()>& fn);

    QObject* const receiver_;
    WorkerThread worker_;
    std::unique_ptr<OffscreenGLContext> context_;  // made, used and freed on the thread
    bool takesTurns_ = false;                      // thread only: its driver instance is shared
    bool ready_ = false;                           // main thread: the context is made
    bool opaque_ = true;                           // the format has no alpha: frames read opaque

    mutable std::mutex mutex_;
    std::condition_variable finished_;
    std::atomic<bool> busy_{false};  // written under mutex_
    Frame newest_;                   // guarded by mutex_
};

}  // namespace nupo
