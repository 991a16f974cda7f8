#pragma once

#include "platform/viewhost/gl/OpenGLView.h"
#include "platform/viewhost/ui/ViewHostWidget.h"

#include <QImage>
#include <QOpenGLWidget>

#include <functional>
#include <memory>
#include <vector>

namespace nupo {

class GLRenderThread;

// The widget that shows a GL view in a compatibility-profile context with a depth buffer: runs the
// view's prepareOpenGL when the context is ready, setFrameSize and reshape on resizes and drawRect for
// each frame, and forwards mouse, wheel and key events. The host does not own the view; either may be
// destroyed first.
//
// Drawing happens on the main thread in paintGL, or, for a host made with Drawing::OnOwnThread, on a
// GLRenderThread of the host's own: on each beat of the frame timers, once the windows' ticks have run,
// every such host whose view asked to be drawn (or was resized) and whose thread is idle starts a frame
// there (prepareOpenGL once per context, setFrameSize and reshape after a resize, queued context work,
// drawRect, didDisplay); a host still drawing skips the beat and so drops its own frame. The finished
// frame is copied into the widget's framebuffer by paintGL. The hosts' threads draw one frame at a time
// among themselves (views of one class share engines and state, and llvmpipe is not safe with contexts of
// one share group drawing at once), in parallel with the main thread's own windows and composition.
// The main thread never touches a view while its frame is in flight: the event join
// (GLRenderThread::setEventJoin) waits for the frames before any event but painting, and the host waits
// for its frame before it forgets its view or goes.
class OpenGLViewHost : public ViewHostWidget<QOpenGLWidget, OpenGLView> {
    Q_OBJECT
public:
    enum class Drawing { OnMainThread, OnOwnThread };

    explicit OpenGLViewHost(OpenGLView* view, QWidget* parent = nullptr,
                            Drawing drawing = Drawing::OnMainThread);
    ~OpenGLViewHost() override;

    // Whether the window system can give GL views a context at all (not so on the offscreen platform
    // without a display). Tried once.
    static bool isSupported();

    // How the plot windows' hosts draw (hostPlotView); on the main thread unless the program sets
    // otherwise at start-up (or the environment has NUPO_GL_THREADS=1). Setting OnOwnThread also
    // installs the event join.
    static Drawing plotDrawing();
    static void setPlotDrawing(Drawing drawing);

    Drawing drawing() const { return renderer_ ? Drawing::OnOwnThread : Drawing::OnMainThread; }
    // The view drawn now: with its own thread, after the frame in flight (a fresh frame is drawn there
    // and waited for). Hides QOpenGLWidget's, which would only copy the last finished frame.
    QImage grabFramebuffer();
    // With its own thread: waits for the frame in flight, if any.
    void waitForFrame();
    // Starts a frame on the host's thread if one is due and the thread is idle; true when started.
    bool startFrameIfDue();
    // With its own thread: how many frames it has finished and shown since its context was made (0
    // without a thread), and whether a frame is in flight.
    quint64 framesFinished() const;
    quint64 framesShown() const { return shownSerial_; }
    bool frameInFlight() const;

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    bool event(QEvent* event) override;

private:
    bool makeViewContextCurrent() override;
    bool performInViewContext(std::function<void()> fn) override;
    void viewNeedsDisplay() override;
    void viewDetached(ViewObject* view) override;

    bool startFrame();
    void scheduleStart();
    void drawFrameOnThread(QSizeF size, bool resized, const std::vector<std::function<void()>>& work);
    void showNewestFrame();
    void freeReadBuffer();

    bool prepared_ = false;  // with its own thread: touched only while no frame is in flight
    std::unique_ptr<GLRenderThread> renderer_;
    // Main thread only:
    bool redrawRequested_ = true;
    bool resized_ = true;
    bool kickQueued_ = false;
    std::vector<std::function<void()>> contextWork_;
    unsigned readBuffer_ = 0;  // framebuffer object in the widget's context, to read finished frames
    quint64 shownSerial_ = 0;
};

}  // namespace nupo
