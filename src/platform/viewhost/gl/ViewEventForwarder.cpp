#include "platform/viewhost/gl/ViewEventForwarder.h"

#include "platform/keyboard/gl/KeyTranslator.h"
#include "platform/viewhost/gl/ViewObject.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace nupo {

namespace {

MouseEvent viewMouseEvent(const QMouseEvent& event, double height, int clickCount)
{
    MouseEvent result;
    result.location = QPointF(event.position().x(), height - event.position().y());
    result.clickCount = clickCount;
    result.modifierFlags = KeyTranslator::modifierFlags(event.modifiers());
    return result;
}

using MouseHandler = void (ViewObject::*)(const MouseEvent&);

// Sends the event to the left-button, right-button or other-button handler by the button that changed.
void sendByButton(ViewObject& view, Qt::MouseButton button, const MouseEvent& mouse, MouseHandler left,
                  MouseHandler right, MouseHandler other)
{
    switch (button) {
        case Qt::LeftButton:
            (view.*left)(mouse);
            break;
        case Qt::RightButton:
            (view.*right)(mouse);
            break;
        default:
            (view.*other)(mouse);
            break;
    }
}

}  // namespace

void ViewEventForwarder::mousePress(ViewObject& view, const QMouseEvent& event, double height, int clickCount)
{
    sendByButton(view, event.button(), viewMouseEvent(event, height, clickCount), &ViewObject::mouseDown,
                 &ViewObject::rightMouseDown, &ViewObject::otherMouseDown);
}

void ViewEventForwarder::mouseMove(ViewObject& view, const QMouseEvent& event, double height)
{
    const MouseEvent mouse = viewMouseEvent(event, height, 1);
    if (event.buttons().testFlag(Qt::LeftButton))
        view.mouseDragged(mouse);
    else if (event.buttons().testFlag(Qt::RightButton))
        view.rightMouseDragged(mouse);
    else if (event.buttons() != Qt::NoButton)
        view.otherMouseDragged(mouse);
}

void ViewEventForwarder::mouseRelease(ViewObject& view, const QMouseEvent& event, double height)
{
    sendByButton(view, event.button(), viewMouseEvent(event, height, 1), &ViewObject::mouseUp,
                 &ViewObject::rightMouseUp, &ViewObject::otherMouseUp);
}

void ViewEventForwarder::wheel(ViewObject& view, const QWheelEvent& event)
{
    // Qt counts a wheel notch as 120 eighths of a degree.
    ScrollEvent scroll;
    scroll.deltaX = event.angleDelta().x() / 120.0;
    scroll.deltaY = event.angleDelta().y() / 120.0;
    scroll.modifierFlags = KeyTranslator::modifierFlags(event.modifiers());
    if (scroll.deltaX != 0.0 || scroll.deltaY != 0.0)
        view.scrollWheel(scroll);
}

bool ViewEventForwarder::keyPress(ViewObject& view, const QKeyEvent& event)
{
    if (KeyTranslator::isModifierKey(event.key()))
        return false;
    const std::optional<KeyEvent> key = KeyTranslator::translate(event);
    if (!key)
        return false;
    view.keyDown(*key);
    return true;
}

bool ViewEventForwarder::keyRelease(ViewObject& view, const QKeyEvent& event)
{
    if (KeyTranslator::isModifierKey(event.key()))
        return false;
    const std::optional<KeyEvent> key = KeyTranslator::translate(event);
    if (!key)
        return false;
    // Held keys repeat as key-downs only; the key-up comes once, when the key is let go.
    if (!event.isAutoRepeat())
        view.keyUp(*key);
    return true;
}

}  // namespace nupo
