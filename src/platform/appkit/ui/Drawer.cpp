#include "platform/appkit/ui/Drawer.h"

#include <QEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace nupo {

namespace {

// Width of the strip along the outer edge that the user drags to resize the drawer.
constexpr int handleWidth = 6;

}  // namespace

Drawer::Drawer(QWidget* parentWindow, Edge preferredEdge)
    : QWidget(parentWindow, Qt::Tool | Qt::FramelessWindowHint),
      preferredEdge_(preferredEdge),
      edge_(preferredEdge)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setMouseTracking(true);
    setParentWindow(parentWindow);
}

void Drawer::setParentWindow(QWidget* window)
{
    if (parentWindow_)
        parentWindow_->removeEventFilter(this);
    parentWindow_ = window;
    if (parentWidget() != window)
        setParent(window, windowFlags());
    if (window)
        window->installEventFilter(this);
    place();
}

void Drawer::setContentView(QWidget* content)
{
    if (content_ == content)
        return;
    delete content_.data();
    content_ = content;
    if (content) {
        layout()->addWidget(content);
        content->show();
    }
    place();
}

void Drawer::setContentSize(const QSizeF& size)
{
    contentSize_ = limited(size);
    place();
}

void Drawer::setMinContentSize(const QSizeF& size)
{
    minContentSize_ = size;
    contentSize_ = limited(contentSize_);
    place();
}

void Drawer::setMaxContentSize(const QSizeF& size)
{
    maxContentSize_ = size;
    contentSize_ = limited(contentSize_);
    place();
}

void Drawer::setLeadingOffset(double offset)
{
    leadingOffset_ = offset;
    place();
}

void Drawer::setTrailingOffset(double offset)
{
    trailingOffset_ = offset;
    place();
}

QSizeF Drawer::limited(const QSizeF& size) const
{
    // A maximum below the minimum gives way to the minimum.
    const double width = std::max(minContentSize_.width(), std::min(size.width(), maxContentSize_.width()));
    const double height =
        std::max(minContentSize_.height(), std::min(size.height(), maxContentSize_.height()));
    return QSizeF(width, height);
}

void Drawer::open()
{
    openOnEdge(preferredEdge_);
}

Drawer::Edge Drawer::edgeWithRoom(Edge wanted) const
{
    if (!parentWindow_ || !isSideEdge(wanted))
        return wanted;
    const QScreen* screen = parentWindow_->screen();
    if (!screen)
        return wanted;
    const QRect area = screen->availableGeometry();
    const QRect frame = parentWindow_->frameGeometry();
    const int depth = std::max(1, int(std::lround(contentSize_.width())));
    const bool roomLeft = frame.left() - depth >= area.left();
    const bool roomRight = frame.right() + depth <= area.right();
    if (wanted == Edge::Left && !roomLeft && roomRight)
        return Edge::Right;
    if (wanted == Edge::Right && !roomRight && roomLeft)
        return Edge::Left;
    return wanted;
}

void Drawer::openOnEdge(Edge edge)
{
    if (isOpenOrOpening())
        return;
    edge_ = edgeWithRoom(edge);
    setState(State::Opening);
    place();
    if (parentWindow_ && parentWindow_->isVisible())
        show();
    const int generation = ++generation_;
    QTimer::singleShot(0, this, [this, generation] { finishTransition(generation); });
}

void Drawer::close()
{
    if (!isOpenOrOpening())
        return;
    setState(State::Closing);
    const int generation = ++generation_;
    QTimer::singleShot(0, this, [this, generation] { finishTransition(generation); });
}

void Drawer::toggle()
{
    if (isOpenOrOpening())
        close();
    else
        open();
}

void Drawer::finishTransition(int generation)
{
    // A later open or close supersedes this one.
    if (generation != generation_)
        return;
    if (state_ == State::Opening) {
        setState(State::Open);
    } else if (state_ == State::Closing) {
        hide();
        setState(State::Closed);
    }
}

void Drawer::setState(State state)
{
    if (state_ == state)
        return;
    state_ = state;
    emit stateChanged(state);
}

void Drawer::requestContentSize(const QSizeF& size)
{
    const QSizeF wanted = willResize_ ? willResize_(this, size) : size;
    setContentSize(wanted);
}

QRect Drawer::placement() const
{
    if (!parentWindow_)
        return geometry();
    const QRect frame = parentWindow_->frameGeometry();
    const int leading = int(std::lround(leadingOffset_));
    const int trailing = int(std::lround(trailingOffset_));
    switch (edge_) {
        case Edge::Left: {
            const int depth = std::max(1, int(std::lround(contentSize_.width())));
            return QRect(frame.left() - depth, frame.top() + leading, depth,
                         std::max(1, frame.height() - leading - trailing));
        }
        case Edge::Right: {
            const int depth = std::max(1, int(std::lround(contentSize_.width())));
            return QRect(frame.right() + 1, frame.top() + leading, depth,
                         std::max(1, frame.height() - leading - trailing));
        }
        case Edge::Bottom:
            break;
    }
    const int depth = std::max(1, int(std::lround(contentSize_.height())));
    return QRect(frame.left() + leading, frame.bottom() + 1, std::max(1, frame.width() - leading - trailing),
                 depth);
}

void Drawer::place()
{
    // The outer edge keeps a strip free for the resize drag.
    if (layout()) {
        switch (edge_) {
            case Edge::Left:
                layout()->setContentsMargins(handleWidth, 0, 0, 0);
                break;
            case Edge::Right:
                layout()->setContentsMargins(0, 0, handleWidth, 0);
                break;
            case Edge::Bottom:
                layout()->setContentsMargins(0, 0, 0, handleWidth);
                break;
        }
    }
    setGeometry(placement());
}

bool Drawer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWindow_) {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
                place();
                break;
            case QEvent::Show:
                if (isOpenOrOpening()) {
                    place();
                    show();
                }
                break;
            case QEvent::Hide:
                hide();
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool Drawer::onOuterEdge(const QPoint& position) const
{
    switch (edge_) {
        case Edge::Left:
            return position.x() < handleWidth;
        case Edge::Right:
            return position.x() >= width() - handleWidth;
        case Edge::Bottom:
            return position.y() >= height() - handleWidth;
    }
    return false;
}

void Drawer::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && onOuterEdge(event->position().toPoint())) {
        dragging_ = true;
        dragStart_ = event->globalPosition().toPoint();
        sizeAtDragStart_ = contentSize_;
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void Drawer::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_) {
        const bool edgeHover = onOuterEdge(event->position().toPoint());
        setCursor(edgeHover ? (isSideEdge() ? Qt::SizeHorCursor : Qt::SizeVerCursor) : Qt::ArrowCursor);
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint moved = event->globalPosition().toPoint() - dragStart_;
    QSizeF size = sizeAtDragStart_;
    switch (edge_) {
        case Edge::Left:
            size.setWidth(size.width() - moved.x());
            break;
        case Edge::Right:
            size.setWidth(size.width() + moved.x());
            break;
        case Edge::Bottom:
            size.setHeight(size.height() + moved.y());
            break;
    }
    requestContentSize(size);
    event->accept();
}

void Drawer::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragging_ && event->button() == Qt::LeftButton) {
        dragging_ = false;
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

}  // namespace nupo
