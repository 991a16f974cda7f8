#include "platform/appkit/ui/WindowHandle.h"

#include "platform/appkit/ui/WindowPlacement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWindow>

#include <algorithm>
#include <cstdlib>

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

// Moves a frame whose top-left corner lies on (or within a few pixels of) that of another shown window
// of the program by one cascade step at a time, inwards from the area's edges, until it stands apart.
QRect offStackedSpots(QRect target, const QRect& area, const QWidget* window)
{
    constexpr int near = 4;
    QList<QPoint> corners;
    for (QWidget* other : QApplication::topLevelWidgets())
        if (other != window && other->isVisible() && other->windowType() == Qt::Window)
            corners << WindowHandle::toQt(WindowHandle(other).frame()).toRect().topLeft();
    const auto stacked = [&](const QRect& r) {
        return std::any_of(corners.begin(), corners.end(), [&](const QPoint& c) {
            return std::abs(c.x() - r.left()) <= near && std::abs(c.y() - r.top()) <= near;
        });
    };
    const int step = WindowPlacement::cascadeStep;
    // Towards the side with more room, so that the frame stays whole in the area as long as it can.
    const int dx = target.center().x() > area.center().x() ? -step : step;
    const int dy = target.center().y() > area.center().y() ? -step : step;
    for (int tries = 0; tries < 32 && stacked(target); ++tries) {
        target.translate(dx, dy);
        target.moveLeft(
            std::clamp(target.left(), area.left(), std::max(area.left(), area.right() + 1 - target.width())));
        target.moveTop(
            std::clamp(target.top(), area.top(), std::max(area.top(), area.bottom() + 1 - target.height())));
    }
    return target;
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
    Qt::WindowFlags flags = window_->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    // A window already on the display is told in place: setting a widget's flags would make its window
    // anew, hidden, and shown again it would move by its title bar's height.
    if (QWindow* shown = window_->windowHandle(); shown && window_->testAttribute(Qt::WA_WState_Created)) {
        window_->overrideWindowFlags(flags);
        shown->setFlags(flags);
        return;
    }
    window_->setWindowFlags(flags);
}

bool WindowHandle::isAtStatusWindowLevel() const
{
    return window_ && window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

std::optional<QRectF> WindowHandle::frameToKeep() const
{
    if (!isVisible() || WindowPlacement::isSettling(window_))
        return std::nullopt;
    const QRectF shown = frame();
    // Nor is the point a window reads as while the display makes it anew (a window manager remapping it).
    if (shown.width() <= 1 || shown.height() <= 1)
        return std::nullopt;
    return shown;
}

void WindowHandle::storeShownFrame(float (&stored)[4]) const
{
    const std::optional<QRectF> shown = frameToKeep();
    if (!shown)
        return;
    stored[0] = float(shown->x());
    stored[1] = float(shown->y());
    stored[2] = float(shown->width());
    stored[3] = float(shown->height());
}

QRectF WindowHandle::frame() const
{
    if (!window_)
        return {};
    // Until the window manager has framed the window (and always without one) its frame geometry is the
    // client area alone: the frame is then the client area with the decoration that setFrame allows for,
    // so that a frame read back is the frame set and a stored window reopens where it was.
    QRect frame = window_->frameGeometry();
    if (frame == window_->geometry())
        frame = frame.marginsAdded(WindowPlacement::decorationOf(window_));
    return fromQt(QRectF(frame));
}

void WindowHandle::setFrame(const QRectF& frame, bool, bool)
{
    if (!window_ || !frame.isValid())
        return;
    // The frame includes the decoration (title bar, borders); the client area is what remains.
    const QMargins decoration = WindowPlacement::decorationOf(window_);
    QRect target = toQt(frame).toRect();
    // A frame the user chose (stored in a document) that lies on the screen comes back as it was.
    const bool chosen = WindowPlacement::keepsChosenFrame(window_);
    // A frame saved on a larger screen (or laid out for one) opens where it can be seen, and one that
    // would cover a window others are kept clear of (the Control Panel, the tool palette) opens beside
    // it. What the caller stores is left as it is.
    const QRect area = WindowPlacement::availableArea(window_);
    if (!area.isEmpty() && !(chosen && area.contains(target))) {
        // A window its nib made smaller than its layout would like may keep that size (a frame saved
        // from it comes back as it was).
        const QSize least =
            WindowPlacement::leastFrameSize(window_).boundedTo(WindowPlacement::frameOf(window_).size());
        target.setSize(target.size().boundedTo(area.size()).expandedTo(least));
        target.moveLeft(
            std::clamp(target.left(), area.left(), std::max(area.left(), area.right() + 1 - target.width())));
        target.moveTop(
            std::clamp(target.top(), area.top(), std::max(area.top(), area.bottom() + 1 - target.height())));
        if (const auto spot = WindowPlacement::clearSpot(target, least, area,
                                                         WindowPlacement::keptClearFrames(window_.data())))
            target = *spot;
        // Stored frames moved in from beyond the screen's edge would come to rest on one spot.
        if (chosen)
            target = offStackedSpots(target, area, window_.data());
    }
    const QSize client(qMax(1, target.width() - decoration.left() - decoration.right()),
                       qMax(1, target.height() - decoration.top() - decoration.bottom()));
    if (!window_->testAttribute(Qt::WA_WState_Created) && WindowPlacement::windowManagerRuns()) {
        // Not yet made on the display, with a window manager: Qt asks it to put the frame's corner there.
        window_->resize(client);
        window_->move(target.topLeft());
    } else {
        // Made already (framed, or hidden again), or with no window manager: placed by its client area,
        // which lands where asked whether or not a window manager frames it, inside the frame that
        // frame() reads back; a stored window reopens where it was instead of one title bar higher
        // each time.
        window_->setGeometry(QRect(target.topLeft() + QPoint(decoration.left(), decoration.top()), client));
    }
    WindowPlacement::keepOnScreen(window_);
    WindowPlacement::noteSpot(window_, target.topLeft(), window_->size());
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

bool WindowHandle::isMaximised() const
{
    return window_ && (window_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
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
