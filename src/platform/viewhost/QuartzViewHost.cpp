#include "platform/viewhost/QuartzViewHost.h"

#include "platform/quartz/PainterGraphicsContext.h"
#include "platform/viewhost/QuartzView.h"

#include <QPainter>

namespace nupo {

QuartzViewHost::QuartzViewHost(QuartzView* view, QWidget* parent) : ViewEventHost(parent), view_(view)
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

ViewObject* QuartzViewHost::hostedView() const
{
    return view_;
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

}  // namespace nupo
