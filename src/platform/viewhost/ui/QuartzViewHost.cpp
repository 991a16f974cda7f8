#include "platform/viewhost/ui/QuartzViewHost.h"

#include "platform/quartz/gl/PainterGraphicsContext.h"
#include "platform/viewhost/ui/FrameRateLog.h"

#include <QPainter>

namespace nupo {

QuartzViewHost::QuartzViewHost(QuartzView* view, QWidget* parent) : ViewHostWidget(view, parent) {}

void QuartzViewHost::paintEvent(QPaintEvent*)
{
    if (!view_)
        return;
    QPainter painter(this);
    PainterGraphicsContext context(painter, height());
    // Always the whole bounds: the views scale their drawing to the rectangle they are given.
    view_->drawRect(context, view_->bounds());
    view_->didDisplay();
    FrameRateLog::frameDrawn(this);
}

void QuartzViewHost::resizeEvent(QResizeEvent*)
{
    if (view_)
        view_->setFrameSize(QSizeF(size()));
}

}  // namespace nupo
