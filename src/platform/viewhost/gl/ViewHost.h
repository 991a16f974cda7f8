#pragma once

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
    // Makes the host's GL context current, for GL work outside the drawing calls (textures, queries).
    // False when the host has no GL context or it is not ready yet.
    virtual bool makeViewContextCurrent() { return false; }

protected:
    ~ViewHost() = default;
};

}  // namespace nupo
