#pragma once

#include "platform/viewhost/gl/ViewObject.h"

#include <functional>

namespace nupo {

// A view that draws with legacy OpenGL. The host makes the view's context current before each call and
// presents the frame after drawRect returns.
class OpenGLView : public ViewObject {
public:
    using ViewObject::ViewObject;

    // One-time GL state, when the context is first ready (again if the host gets a new context).
    virtual void prepareOpenGL() {}
    // After the frame size changed (setFrameSize has run); the viewport already covers the view.
    virtual void reshape() {}
    // Draws one frame over the bounds.
    virtual void drawRect(const QRectF& rect) = 0;
    // The frame's synchronisation step: on the main thread, just before each frame starts, while no
    // frame of this view is in flight. Copies what the coming frame reads (settings, flags, history rows,
    // texts) into state that only frames use, so that prepareOpenGL, reshape and drawRect read nothing
    // that the main thread may write meanwhile. Keep it short: the main thread runs it on every frame.
    virtual void synchronizeFrame() {}

    // Makes the hosting widget's context current outside the calls above; false when no host shows the
    // view or its context is not ready. Main thread, or the drawing thread during the calls above (where
    // the context is current already: true, and the host is not asked).
    bool makeCurrentContext();
    // GL work outside the drawing calls that must reach the context the view draws with (bindings,
    // enables, matrices): runs fn at once in the host's context, or, where the host draws on a thread of
    // its own, on that thread before the next frame (at once when called there during a frame). False
    // (fn not run) when no host shows the view or its context is not ready.
    bool performInContext(std::function<void()> fn);

    // Set by a host that draws the view on a thread of its own, on that thread, around the calls above:
    // the view's context is current there, so the two functions above need not reach the host (which
    // belongs to the main thread and may go while the frame is drawn).
    class DrawingOnThisThread {
    public:
        explicit DrawingOnThisThread(OpenGLView& view);
        ~DrawingOnThisThread();
        DrawingOnThisThread(const DrawingOnThisThread&) = delete;
        DrawingOnThisThread& operator=(const DrawingOnThisThread&) = delete;

    private:
        OpenGLView* previous_;
    };
};

}  // namespace nupo
