#pragma once

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace nupo {

class ViewObject;

// Turns Qt input events of a host widget into the view object's handlers: mouse locations unflipped
// over the widget's height, the left button as mouse, the right as right mouse and any other as other
// mouse; key codes and modifier flags translated to the classic values.
class ViewEventForwarder {
public:
    static void mousePress(ViewObject& view, const QMouseEvent& event, double height, int clickCount);
    static void mouseMove(ViewObject& view, const QMouseEvent& event, double height);
    static void mouseRelease(ViewObject& view, const QMouseEvent& event, double height);
    static void wheel(ViewObject& view, const QWheelEvent& event);
    // Return false when the key is not one the views know (or only a modifier), so that the widget can
    // pass the event on.
    static bool keyPress(ViewObject& view, const QKeyEvent& event);
    static bool keyRelease(ViewObject& view, const QKeyEvent& event);
};

}  // namespace nupo
