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

protected:
    ~ViewHost() = default;
};

}  // namespace nupo
