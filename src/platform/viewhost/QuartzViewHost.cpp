#include "platform/viewhost/QuartzViewHost.h"

#include "platform/quartz/PainterGraphicsContext.h"
#include "platform/viewhost/QuartzView.h"
#include "platform/viewhost/ViewEventForwarder.h"

#include <QKeyEvent>
#include <QPainter>

namespace nupo {

QuartzViewHost::QuartzViewHost(QuartzView* view, QWidget* parent) : QWidget(parent), view_(view)
{
    setFocusPolicy(Qt::StrongFocus);
    if (view_)
        view_->attachHost(this);
}

QuartzViewHost::~QuartzViewHost()
{
    if (view_)
        view_->detachHost(this);
}

QSize QuartzViewHost::sizeHint() const
{
    if (view_ && !view_->frame().isEmpty())
        return view_->frame().size().toSize();
    return QWidget::sizeHint();
}

void QuartzViewHost::viewNeedsDisplay()
{
    update();
}

void QuartzViewHost::viewDetached(ViewObject* view)
{
    if (view == view_)
        view_ = nullptr;
    update();
}

void QuartzViewHost::paintEvent(QPaintEvent*)
{
    if (!view_)
        return;
    QPainter painter(this);
    PainterGraphicsContext context(painter, height());
    // Always the whole bounds: the views scale their drawing to the rectangle they are given.
    view_->drawRect(context, view_->bounds());
    view_->didDisplay();
}

void QuartzViewHost::resizeEvent(QResizeEvent*)
{
    if (view_)
        view_->setFrameSize(QSizeF(size()));
}

void QuartzViewHost::mousePressEvent(QMouseEvent* event)
{
    if (view_)
        ViewEventForwarder::mousePress(*view_, *event, height(), 1);
}

void QuartzViewHost::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (view_)
        ViewEventForwarder::mousePress(*view_, *event, height(), 2);
}

void QuartzViewHost::mouseMoveEvent(QMouseEvent* event)
{
    if (view_)
        ViewEventForwarder::mouseMove(*view_, *event, height());
}

void QuartzViewHost::mouseReleaseEvent(QMouseEvent* event)
{
    if (view_)
        ViewEventForwarder::mouseRelease(*view_, *event, height());
}

void QuartzViewHost::wheelEvent(QWheelEvent* event)
{
    if (view_)
        ViewEventForwarder::wheel(*view_, *event);
}

void QuartzViewHost::keyPressEvent(QKeyEvent* event)
{
    if (!view_ || !ViewEventForwarder::keyPress(*view_, *event))
        QWidget::keyPressEvent(event);
}

void QuartzViewHost::keyReleaseEvent(QKeyEvent* event)
{
    if (!view_ || !ViewEventForwarder::keyRelease(*view_, *event))
        QWidget::keyReleaseEvent(event);
}

bool QuartzViewHost::focusNextPrevChild(bool)
{
    // Tab is a key for the view, not a focus move.
    return false;
}

}  // namespace nupo
