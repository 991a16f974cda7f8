#include "plots/rawwave/ui/QXRoundController.h"

#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "platform/viewhost/ui/PlotViewHosting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QWidget>

namespace nupo {

QXRoundController::QXRoundController()
{
    outlet("window", window);
    outlet("qXRoundCustomView", host);
    connect(&timer, &FrameTimer::timeout, this, [this] { roundView.setNeedsDisplay(true); });
}

void QXRoundController::awakeFromNib()
{
    if (!window)
        return;
    window->setWindowFlags(window->windowFlags() | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window->setAttribute(Qt::WA_TranslucentBackground);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSizeF size =
        QXRoundCustomView::sizeForMode(roundView.layout(), screen ? screen->size().width() : 0);
    window->resize(size.toSize());
    if (QXRoundCustomView::isRound(roundView.layout()))
        window->setMask(QRegion(0, 0, window->width(), window->height(), QRegion::Ellipse));
    // It floats in front: it opens clear of the row of buttons that opened it, which stays in reach.
    if (const QWidget* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget())) {
        const QWidget* row =
            button->parentWidget() && !button->parentWidget()->isWindow() ? button->parentWidget() : button;
        WindowPlacement::openClearOf(window, QRect(row->mapToGlobal(QPoint(0, 0)), row->size()));
    }
    if (host) {
        // The view's host widget takes the clicks on the traces: it is watched for the double click too.
        if (QWidget* viewHost = hostPlotView(host, roundView))
            viewHost->installEventFilter(this);
        host->setAttribute(Qt::WA_TranslucentBackground);
        host->installEventFilter(this);
    }
    window->installEventFilter(this);
    timer.start();
}

bool QXRoundController::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick && window) {
        WindowHandle(window).close();
        return true;
    }
    return NibController::eventFilter(watched, event);
}

void QXRoundController::windowWillClose(QObject*)
{
    timer.stop();
}

}  // namespace nupo
