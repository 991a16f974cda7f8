#include "plots/frame/ui/ViewFirstSizing.h"

#include <QEvent>
#include <QLayout>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace nupo {

namespace {

int minimumHeight(const QWidget* widget)
{
    return std::max(widget->minimumHeight(), widget->minimumSizeHint().height());
}

}  // namespace

void ViewFirstSizing::attach(QWidget* window, QWidget* view, QScrollArea* controls, double viewShare)
{
    if (!window || !view || !controls || !window->layout())
        return;
    new ViewFirstSizing(window, view, controls, viewShare);
}

ViewFirstSizing::ViewFirstSizing(QWidget* window, QWidget* view, QScrollArea* controls, double viewShare)
    : QObject(window), window_(window), view_(view), controls_(controls), viewShare_(viewShare)
{
    // Short of room, the controls may shrink to what their scroll bar needs: two arrows and the slider.
    const QStyle* style = controls->style();
    const int scrollBar = 2 * style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, controls) +
                          style->pixelMetric(QStyle::PM_ScrollBarSliderMin, nullptr, controls);
    controls->setMinimumHeight(
        std::max(0, std::min(controls->minimumSizeHint().height(), scrollBar + 2 * controls->frameWidth())));
    window->installEventFilter(this);
    fit(window->size());
}

int ViewFirstSizing::controlsHeight(int windowHeight, int others, int viewMinimum, int controlsMinimum,
                                    int controlsNatural, double viewShare)
{
    const int view = std::max(
        viewMinimum, std::min(usableViewHeight, static_cast<int>(std::ceil(windowHeight * viewShare))));
    const int room = windowHeight - others - view;
    return std::max(controlsMinimum, std::min(controlsNatural, room));
}

void ViewFirstSizing::fit(const QSize& windowSize)
{
    if (!window_ || !view_ || !controls_ || !window_->layout())
        return;
    const int windowHeight = windowSize.height();
    // Narrower than its controls, the area scrolls sideways: its scroll bar then comes below the controls
    // (counted in the area's size hint and height) instead of over their last row.
    if (const QWidget* pane = controls_->widget()) {
        const int across =
            windowSize.width() - (window_->width() - controls_->width()) - 2 * controls_->frameWidth();
        controls_->setHorizontalScrollBarPolicy(
            pane->minimumSizeHint().width() > across ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    }
    const int controlsMinimum = controls_->minimumHeight();
    const int viewMinimum = minimumHeight(view_);
    // What the window's layout needs besides the view and the controls: the top row, a menu bar,
    // spacing and margins. None of it grows with the window.
    const int others = window_->layout()->totalMinimumSize().height() - viewMinimum - controlsMinimum;
    int natural = controls_->frameWidth() * 2;
    if (QWidget* pane = controls_->widget())
        natural += pane->sizeHint().height();
    if (controls_->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        natural += controls_->horizontalScrollBar()->sizeHint().height();
    controls_->setMaximumHeight(
        controlsHeight(windowHeight, others, viewMinimum, controlsMinimum, natural, viewShare_));
    // Resized small, the window keeps its view at least its share of its height: it goes no lower than
    // the height where the rest of it, its controls scrolling, leaves the view that share.
    if (viewShare_ > 0.0 && viewShare_ < 1.0) {
        if (minimumHeight_ < 0)
            minimumHeight_ = window_->minimumHeight();  // the window's own (its nib's)
        const int keepingShare =
            static_cast<int>(std::ceil((others + controlsMinimum) / (1.0 - viewShare_)));
        const int least = std::max(minimumHeight_, keepingShare);
        if (window_->minimumHeight() != least)
            window_->setMinimumHeight(least);
    }
}

bool ViewFirstSizing::eventFilter(QObject* watched, QEvent* event)
{
    // The cap is set before the window's layout lays out the new size; a layout request (a menu bar
    // added, the other view shown) may change what the rest of the window needs.
    if (watched == window_ && event->type() == QEvent::Resize)
        fit(static_cast<QResizeEvent*>(event)->size());
    else if (watched == window_ && event->type() == QEvent::LayoutRequest)
        fit(window_->size());
    return QObject::eventFilter(watched, event);
}

}  // namespace nupo
