#include "platform/viewhost/ViewEventForwarder.h"

#include "platform/keyboard/KeyTranslator.h"
#include "platform/viewhost/ViewObject.h"

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

}  // namespace

void ViewEventForwarder::mousePress(ViewObject& view, const QMouseEvent& event, double height, int clickCount)
{
    const MouseEvent mouse = viewMouseEvent(event, height, clickCount);
    switch (event.button()) {
        case Qt::LeftButton:
            view.mouseDown(mouse);
            break;
        case Qt::RightButton:
            view.rightMouseDown(mouse);
            break;
        default:
            view.otherMouseDown(mouse);
            break;
    }
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
    const MouseEvent mouse = viewMouseEvent(event, height, 1);
    switch (event.button()) {
        case Qt::LeftButton:
            view.mouseUp(mouse);
            break;
        case Qt::RightButton:
            view.rightMouseUp(mouse);
            break;
        default:
            view.otherMouseUp(mouse);
            break;
    }
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
