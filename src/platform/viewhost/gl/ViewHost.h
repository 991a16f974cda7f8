#pragma once

#include <functional>
#include <memory>

namespace nupo {

class ViewObject;

// What a view object sees of the widget that shows it. Implemented by the host widgets; called on the
// main thread only.
class ViewHost {
public:
    // The view asks to be drawn again; the host schedules a repaint.
    virtual void viewNeedsDisplay() = 0;
    // The view is going away or moving to another host; the host must forget it.
    virtual void viewDetached(ViewObject* view) = 0;
    // The view retires (ViewObject::retire): the host forgets it at once and starts no frame of it any
    // more. `kept` (the view and what its frames read) is released on the main thread once no frame of
    // the host is in flight: at once here, where frames are drawn on the calling thread.
    virtual void retireView(ViewObject* view, std::shared_ptr<void> kept)
    {
        viewDetached(view);
        kept.reset();
    }
    // Makes the host's GL context current, for GL work outside the drawing calls (textures, queries).
    // False when the host has no GL context or it is not ready yet.
    virtual bool makeViewContextCurrent() { return false; }
    // Runs fn for GL work outside the drawing calls in the context the view draws with: at once (with
    // the host's context current) where the host draws on the calling thread, or on the drawing thread
    // just before the next frame (which it asks for) where the host draws on a thread of its own. False,
    // and fn dropped, when the host has no GL context or it is not ready yet.
    virtual bool performInViewContext(std::function<void()> fn)
    {
        if (!makeViewContextCurrent())
            return false;
        fn();
        return true;
    }

protected:
    ~ViewHost() = default;
};

}  // namespace nupo
