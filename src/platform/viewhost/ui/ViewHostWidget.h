#pragma once

#include "platform/viewhost/gl/ViewEventForwarder.h"
#include "platform/viewhost/gl/ViewHost.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSize>
#include <QWheelEvent>

namespace nupo {

// What the widgets hosting a view object share, over their Qt widget class: they attach to the view
// (without owning it; either may be destroyed first), size to its frame, repaint when it asks, forget
// it when it goes, and forward mouse, wheel and key events to it through ViewEventForwarder. Keys the
// view does not know go on to the widget; Tab stays with the view instead of moving the focus. With no
// view, mouse and wheel events are dropped.
template <class Widget, class View>
class ViewHostWidget : public Widget, protected ViewHost {
public:
    View* view() const { return view_; }

    QSize sizeHint() const override
    {
        if (view_ && !view_->frame().isEmpty())
            return view_->frame().size().toSize();
        return Widget::sizeHint();
    }

protected:
    ViewHostWidget(View* view, QWidget* parent) : Widget(parent), view_(view)
    {
        this->setFocusPolicy(Qt::StrongFocus);
        if (view_)
            view_->attachHost(this);
    }
    ~ViewHostWidget() override
    {
        if (view_)
            view_->detachHost(this);
    }

    void viewNeedsDisplay() override { this->update(); }
    void viewDetached(ViewObject* view) override
    {
        if (view == view_)
            view_ = nullptr;
        this->update();
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (view_)
            ViewEventForwarder::mousePress(*view_, *event, this->height(), 1);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (view_)
            ViewEventForwarder::mousePress(*view_, *event, this->height(), 2);
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (view_)
            ViewEventForwarder::mouseMove(*view_, *event, this->height());
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (view_)
            ViewEventForwarder::mouseRelease(*view_, *event, this->height());
    }
    void wheelEvent(QWheelEvent* event) override
    {
        if (view_)
            ViewEventForwarder::wheel(*view_, *event);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (!view_ || !ViewEventForwarder::keyPress(*view_, *event))
            Widget::keyPressEvent(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override
    {
        if (!view_ || !ViewEventForwarder::keyRelease(*view_, *event))
            Widget::keyReleaseEvent(event);
    }
    bool focusNextPrevChild(bool) override { return false; }

    View* view_;
};

}  // namespace nupo
