#pragma once

#include "platform/quartz/PainterGraphicsContext.h"

#include <QPainter>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>

namespace nupo {

// Puts a 2D plot view on screen inside a placeholder widget of a nib: the view draws on every paint,
// takes the placeholder's size, and its redraw requests schedule a repaint.
template <class View>
void hostPlotView(QWidget* host, View& view)
{
    if (!host)
        return;
    class Surface : public QWidget {
    public:
        Surface(QWidget* parent, View& v) : QWidget(parent), view(v) {}

    protected:
        void paintEvent(QPaintEvent*) override
        {
            QPainter painter(this);
            PainterGraphicsContext context(painter, height());
            view.setFrame(QRectF(0, 0, width(), height()));
            view.drawRect(context, view.bounds());
        }

    private:
        View& view;
    };
    auto* surface = new Surface(host, view);
    auto* layout = new QVBoxLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(surface);
    view.setFrame(QRectF(0, 0, host->width(), host->height()));
    QPointer<QWidget> target = surface;
    view.setNeedsDisplayHandler([target] {
        if (target)
            target->update();
    });
}

}  // namespace nupo
