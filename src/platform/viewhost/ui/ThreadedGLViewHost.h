#pragma once

#include "platform/viewhost/gl/OpenGLView.h"
#include "platform/viewhost/ui/ViewHostWidget.h"

#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace nupo {

class GLRenderThread;

// The widget that shows a GL view drawn on a GLRenderThread of the host's own: on each beat of the frame
// timers, once the windows' ticks have run, every such host whose view asked to be drawn (or was
// resized) and whose thread is idle starts a frame: on the main thread the view's synchronisation step
// (synchronizeFrame, and setFrameSize after a resize), then on the thread prepareOpenGL once per context,
// reshape after a resize, queued context work, drawRect and didDisplay. A host still drawing, or whose
// last frame is not on screen yet, skips the beat and so drops its own frame. The finished frame comes
// back as a picture, which the widget paints: the window holds no GL widget, so Qt composes it without
// GL. Until a frame of a new size is there, the last picture is painted stretched over the widget. A frame refers to the view and to state it shares with the host, never to the host itself: the host
// may go at once, its thread finishing the frame on its own. The view goes first through
// ViewObject::retire, which keeps it (and what its frames read) until the host's frame in flight has
// ended; a view destroyed or moved without retiring is waited for, within the stall bound. Events and
// the windows' ticks go on beside the frames in flight, which draw from the copy their synchronisation
// step took (changes that belong inside the drawing state are requests between frames: DrawingClass).
// A frame that stalls (GLRenderThread::isStalled) pauses its window: the last picture stays, with a
// message over it, and its input is dropped (PausedWindowInput) until the frame ends. A frame waiting for
// its class's turn behind a frame of the class that stalled shows a message of its own over its last
// picture for as long; its window's input goes on. Mouse, wheel and key
// events go to the view as with OpenGLViewHost. The host does not own the view.
class ThreadedGLViewHost : public ViewHostWidget<QWidget, OpenGLView> {
    Q_OBJECT
public:
    explicit ThreadedGLViewHost(OpenGLView* view, QWidget* parent = nullptr);
    ~ThreadedGLViewHost() override;

    // Test aids, never called by the program (which waits for no frame): the view drawn now, a fresh
    // frame drawn on the thread after the one in flight and waited for, within the stall bound; and fn run
    // on the drawing thread with the view's context current after the frame in flight, waited for within
    // that bound (false, fn not run, when the context is not ready or the frame stalled). GL work the
    // program needs in a view's context goes there as a request before its next frame (performInContext).
    QImage grabFramebuffer();
    bool runInViewContextNow(const std::function<void()>& fn);
    // Waits for the frame in flight, if any, until it ends or stalls; true when none is in flight.
    bool waitForFrame();
    // Starts a frame on the host's thread if one is due and the thread is idle; true when started.
    bool startFrameIfDue();
    // How many frames the thread has finished and the widget has shown since its context was made, and
    // whether a frame is in flight.
    quint64 framesFinished() const;
    quint64 framesShown() const { return shownSerial_; }
    bool frameInFlight() const;
    // Whether a frame is in flight of a view shown in window, or of a view of the same class (views of
    // one class share their engines and state). With no window, whether any frame is in flight.
    static bool drawingViewsOf(const QWidget* window);
    // As drawingViewsOf, and whether a frame of a view shown in window stalled while drawing (the
    // window is paused: its input is dropped).
    enum class DrawingState { Idle, Drawing, Stalled };
    static DrawingState drawingStateOf(const QWidget* window);
    // The frame in flight stalled, while drawing or waiting behind a frame of its class that did.
    bool frameStalled() const;
    // It stalled only as it waits behind a frame of another view of its class that stalled.
    bool frameWaitsBehindAStall() const;
    // The message a paused window shows over its last picture, and the one shown over the picture of a
    // window whose frame waits behind another's stalled frame.
    static QString stalledMessage();
    static QString waitingMessage();

    // Test aid, never set in normal use: called on the main thread as each frame starts; what it
    // returns (if anything) runs on the drawing thread, with the class's turn taken, before the view
    // draws, e.g. to hold a frame as a driver stuck in it would.
    using FrameHook = std::function<std::function<void()>(const ThreadedGLViewHost&)>;
    static void setFrameHookForTests(FrameHook hook);
    // Sets that hook from the environment, where a test that starts the program asks for it:
    // NUPO_TEST_STALL_WINDOW names (part of) a window title whose views' frames, from the fourth one on,
    // never end.
    static void stallFramesFromEnvironment();
    // Test aid, never set in normal use: every frame waits that long on its drawing thread before the
    // view draws (after the synchronisation step), so that frames outlast the main thread's bound and
    // events and closes meet frames in flight. NUPO_TEST_SLOW_FRAMES=<milliseconds> in the environment
    // sets it for a program a test starts (read at start).
    static void setSlowFramesForTests(std::chrono::milliseconds delay);
    static void slowFramesFromEnvironment();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool makeViewContextCurrent() override;
    bool performInViewContext(std::function<void()> fn) override;
    void viewNeedsDisplay() override;
    void viewDetached(ViewObject* view) override;
    void retireView(ViewObject* view, std::shared_ptr<void> kept) override;

    struct FrameState;

    bool ensureContext();
    bool startFrame();
    void scheduleStart();

    std::unique_ptr<GLRenderThread> renderer_;
    std::shared_ptr<FrameState> frameState_;  // one per context; shared with the frames drawn in it
    // Main thread only:
    bool redrawRequested_ = true;
    bool resized_ = true;
    bool kickQueued_ = false;
    QTimer* stallWatch_ = nullptr;  // fires when the frame in flight would count as stalled
    std::vector<std::function<void()>> contextWork_;
    quint64 shownSerial_ = 0;
    bool messageShown_ = false;  // the last paint showed a stall's message
};

}  // namespace nupo
