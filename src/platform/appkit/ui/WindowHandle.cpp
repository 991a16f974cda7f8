#include "platform/appkit/ui/WindowHandle.h"

#include "platform/appkit/ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

namespace nupo {

namespace {

// Height of the primary screen: the line that unflipped coordinates mirror about.
double primaryScreenBottom()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0.0;
    const QRect geometry = screen->geometry();
    return geometry.y() + geometry.height();
}

}  // namespace

QRectF WindowHandle::toQt(const QRectF& unflipped)
{
    const double top = primaryScreenBottom() - (unflipped.y() + unflipped.height());
    return QRectF(unflipped.x(), top, unflipped.width(), unflipped.height());
}

QRectF WindowHandle::fromQt(const QRectF& qtRect)
{
    const double bottom = primaryScreenBottom() - (qtRect.y() + qtRect.height());
    return QRectF(qtRect.x(), bottom, qtRect.width(), qtRect.height());
}

void WindowHandle::setAlphaValue(double alpha)
{
    if (window_)
        window_->setWindowOpacity(qBound(0.0, alpha, 1.0));
}

double WindowHandle::alphaValue() const
{
    return window_ ? window_->windowOpacity() : 0.0;
}

void WindowHandle::setStatusWindowLevel(bool on)
{
    if (!window_ || isAtStatusWindowLevel() == on)
        return;
    // Changing window flags hides a window; show it again if it was on screen.
    const bool wasVisible = window_->isVisible();
    window_->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (wasVisible)
        window_->show();
}

bool WindowHandle::isAtStatusWindowLevel() const
{
    return window_ && window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

QRectF WindowHandle::frame() const
{
    if (!window_)
        return {};
    return fromQt(QRectF(window_->frameGeometry()));
}

void WindowHandle::setFrame(const QRectF& frame, bool, bool)
{
    if (!window_ || !frame.isValid())
        return;
    // The frame includes the decoration (title bar, borders); the client area is what remains.
    const QMargins decoration = WindowPlacement::decorationOf(window_);
    const QRect target = toQt(frame).toRect();
    window_->resize(qMax(1, target.width() - decoration.left() - decoration.right()),
                    qMax(1, target.height() - decoration.top() - decoration.bottom()));
    window_->move(target.topLeft());
    // A frame saved on a larger screen (or laid out for one) still opens where it can be seen.
    WindowPlacement::keepOnScreen(window_);
}

void WindowHandle::saveFrameUsingName(const QString& name) const
{
    if (!window_ || name.isEmpty())
        return;
    const QRectF f = frame();
    QSettings settings;
    settings.setValue(QStringLiteral("WindowFrames/") + name,
                      QStringLiteral("%1 %2 %3 %4").arg(f.x()).arg(f.y()).arg(f.width()).arg(f.height()));
}

bool WindowHandle::isVisible() const
{
    return window_ && window_->isVisible();
}

void WindowHandle::makeKeyAndOrderFront()
{
    if (!window_)
        return;
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void WindowHandle::close()
{
    if (window_)
        window_->close();
}

}  // namespace nupo
