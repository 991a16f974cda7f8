#pragma once

#include "platform/viewhost/ViewEventForwarder.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace nupo {

class ViewObject;

// The event half of a host widget: forwards mouse, wheel and key events of `Widget` to the hosted view
// through ViewEventForwarder, passes keys the view does not know on to the widget, and keeps Tab for
// the view instead of moving the focus. With no view, mouse and wheel events are dropped.
template <class Widget>
class ViewEventHost : public Widget {
public:
    using Widget::Widget;

protected:
    // The view events go to, or null.
    virtual ViewObject* hostedView() const = 0;

    void mousePressEvent(QMouseEvent* event) override
    {
        if (ViewObject* view = hostedView())
            ViewEventForwarder::mousePress(*view, *event, this->height(), 1);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (ViewObject* view = hostedView())
            ViewEventForwarder::mousePress(*view, *event, this->height(), 2);
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (ViewObject* view = hostedView())
            ViewEventForwarder::mouseMove(*view, *event, this->height());
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (ViewObject* view = hostedView())
            ViewEventForwarder::mouseRelease(*view, *event, this->height());
    }
    void wheelEvent(QWheelEvent* event) override
    {
        if (ViewObject* view = hostedView())
            ViewEventForwarder::wheel(*view, *event);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        ViewObject* view = hostedView();
        if (!view || !ViewEventForwarder::keyPress(*view, *event))
            Widget::keyPressEvent(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override
    {
        ViewObject* view = hostedView();
        if (!view || !ViewEventForwarder::keyRelease(*view, *event))
            Widget::keyReleaseEvent(event);
    }
    // Tab is a key for the view, not a focus move.
    bool focusNextPrevChild(bool) override { return false; }
};

}  // namespace nupo
