#include "platform/media/ui/MovieControllerBar.h"

#include "platform/media/MediaPlayer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace nupo {

namespace {

// How often a visible bar reads its player.
constexpr int followIntervalMs = 100;
// Pixels left free at each end of the track, so that the knob fits at both ends.
constexpr int trackInset = 5;
constexpr int trackHeight = 6;
// A Shift-click that moves less than this clears the selection rather than making one.
constexpr int clickSlop = 3;
constexpr int volumeSteps = 100;

QString clockText(double seconds)
{
    const double shown = std::max(0.0, seconds);
    const int tenths = static_cast<int>(std::floor(shown * 10.0 + 1e-6));
    return QStringLiteral("%1:%2.%3")
        .arg(tenths / 600)
        .arg((tenths / 10) % 60, 2, 10, QLatin1Char('0'))
        .arg(tenths % 10);
}

}  // namespace

// --- Time slider ------------------------------------------------------------------------------------------

MovieTimeSlider::MovieTimeSlider(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    setToolTip(
        tr("Click or drag to move through the file.\nShift-drag selects a part of it (Shift-click "
           "clears the selection);\nthe \"Selection\" play mode plays the selection."));
}

QSize MovieTimeSlider::sizeHint() const
{
    return {200, 18};
}

QSize MovieTimeSlider::minimumSizeHint() const
{
    return {60, 18};
}

void MovieTimeSlider::showTimes(double position, double duration, double selectionStart,
                                double selectionLength)
{
    if (position == shownPosition && duration == shownDuration && selectionStart == shownSelectionStart &&
        selectionLength == shownSelectionLength)
        return;
    shownPosition = position;
    shownDuration = duration;
    shownSelectionStart = selectionStart;
    shownSelectionLength = selectionLength;
    update();
}

QRect MovieTimeSlider::track() const
{
    return QRect(trackInset, (height() - trackHeight) / 2, std::max(1, width() - 2 * trackInset),
                 trackHeight);
}

double MovieTimeSlider::timeAt(int x) const
{
    if (shownDuration <= 0.0)
        return 0.0;
    const QRect bar = track();
    const double fraction =
        std::clamp(double(x - bar.left()) / double(std::max(1, bar.width() - 1)), 0.0, 1.0);
    return fraction * shownDuration;
}

int MovieTimeSlider::xOf(double seconds) const
{
    const QRect bar = track();
    if (shownDuration <= 0.0)
        return bar.left();
    const double fraction = std::clamp(seconds / shownDuration, 0.0, 1.0);
    return bar.left() + static_cast<int>(std::lround(fraction * (bar.width() - 1)));
}

void MovieTimeSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    const QRect bar = track();
    painter.setPen(colours.color(QPalette::Mid));
    painter.setBrush(colours.color(QPalette::Base));
    painter.drawRoundedRect(QRectF(bar).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    if (shownDuration <= 0.0)
        return;
    // The part played so far.
    const int at = xOf(shownPosition);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.color(QPalette::Dark));
    painter.drawRect(QRect(QPoint(bar.left() + 1, bar.top() + 1), QPoint(at, bar.bottom() - 1)));
    // The selection, over the whole height of the slider.
    if (shownSelectionLength > 0.0) {
        QColor selection = colours.color(QPalette::Highlight);
        selection.setAlpha(150);
        painter.setBrush(selection);
        const int from = xOf(shownSelectionStart);
        const int to = std::max(from + 2, xOf(shownSelectionStart + shownSelectionLength));
        painter.drawRect(QRect(QPoint(from, 1), QPoint(to, height() - 2)));
    }
    // The position.
    painter.setPen(colours.color(QPalette::Shadow));
    painter.setBrush(colours.color(QPalette::Button));
    painter.drawRoundedRect(QRectF(at - 4, 1.5, 8, height() - 3), 2, 2);
}

void MovieTimeSlider::select(double from, double to)
{
    shownSelectionStart = std::min(from, to);
    shownSelectionLength = std::abs(to - from);
    update();
    emit selectionChanged(shownSelectionStart, shownSelectionLength);
}

void MovieTimeSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || shownDuration <= 0.0) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressX = event->position().toPoint().x();
    moved = false;
    const double time = timeAt(pressX);
    if (event->modifiers() & Qt::ShiftModifier) {
        drag = Drag::Select;
        anchor = time;
        return;
    }
    drag = Drag::Seek;
    shownPosition = time;
    update();
    emit seekRequested(time);
}

void MovieTimeSlider::mouseMoveEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    if (std::abs(x - pressX) >= clickSlop)
        moved = true;
    const double time = timeAt(x);
    if (drag == Drag::Seek) {
        shownPosition = time;
        update();
        emit seekRequested(time);
    } else if (drag == Drag::Select && moved) {
        select(anchor, time);
    }
}

void MovieTimeSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (drag == Drag::Select) {
        const double time = timeAt(event->position().toPoint().x());
        if (moved)
            select(anchor, time);
        else
            select(0.0, 0.0);  // a Shift-click clears the selection
    }
    drag = Drag::None;
}

// --- Bar --------------------------------------------------------------------------------------------------

MovieControllerBar::MovieControllerBar(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(barHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 4, 1);
    layout->setSpacing(4);

    play = new QToolButton(this);
    play->setObjectName(QStringLiteral("controllerPlayButton"));
    play->setAutoRaise(true);
    play->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    play->setToolTip(tr("Play or pause"));
    layout->addWidget(play);

    slider = new MovieTimeSlider(this);
    slider->setObjectName(QStringLiteral("controllerTimeSlider"));
    layout->addWidget(slider, 1);

    time = new QLabel(this);
    time->setObjectName(QStringLiteral("controllerTime"));
    QFont small = time->font();
    small.setPointSizeF(std::max(7.0, small.pointSizeF() - 1.0));
    time->setFont(small);
    layout->addWidget(time);

    auto* speaker = new QLabel(this);
    speaker->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(14, 14));
    layout->addWidget(speaker);
    volume = new QSlider(Qt::Horizontal, this);
    volume->setObjectName(QStringLiteral("controllerVolume"));
    volume->setRange(0, volumeSteps);
    volume->setFixedWidth(64);
    volume->setToolTip(tr("Volume"));
    layout->addWidget(volume);

    follow = new QTimer(this);
    follow->setInterval(followIntervalMs);
    connect(follow, &QTimer::timeout, this, &MovieControllerBar::refresh);
    connect(play, &QToolButton::clicked, this, [this] {
        emit playPauseClicked();
        refresh();
    });
    connect(slider, &MovieTimeSlider::seekRequested, this, &MovieControllerBar::seekRequested);
    connect(slider, &MovieTimeSlider::selectionChanged, this, &MovieControllerBar::selectionChanged);
    connect(volume, &QSlider::valueChanged, this,
            [this](int value) { emit volumeChanged(double(value) / volumeSteps); });
    refresh();
}

void MovieControllerBar::setPlayer(MediaPlayer* player)
{
    shown = player;
    refresh();
}

QString MovieControllerBar::timeText() const
{
    return time->text();
}

void MovieControllerBar::refresh()
{
    const bool open = shown && shown->isOpen();
    const double duration = open ? shown->duration() : 0.0;
    const double position = open ? shown->currentTime() : 0.0;
    const auto [start, length] = open ? shown->selection() : std::pair<double, double>{0.0, 0.0};
    // The slider shows the user's drag until the mouse lets go.
    if (!slider->dragging())
        slider->showTimes(position, duration, start, length);
    const QString text = clockText(position) + QStringLiteral(" / ") + clockText(duration);
    if (time->text() != text)
        time->setText(text);
    const bool playing = open && shown->isPlaying();
    if (playing != showsPause) {
        showsPause = playing;
        play->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    }
    play->setEnabled(open);
    slider->setEnabled(open);
    volume->setEnabled(open);
    if (open && !volume->isSliderDown()) {
        const QSignalBlocker quiet(volume);
        volume->setValue(static_cast<int>(std::lround(shown->volume() * volumeSteps)));
    }
}

void MovieControllerBar::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
    follow->start();
}

void MovieControllerBar::hideEvent(QHideEvent* event)
{
    follow->stop();
    QWidget::hideEvent(event);
}

}  // namespace nupo
