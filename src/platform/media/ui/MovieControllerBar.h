#pragma once

// The controller bar under a movie or sound: play/pause, a time slider that shows the position and seeks
// when clicked or dragged, the time, and the volume. Shift-dragging on the time slider selects a part of
// the file (shown on the slider); a Shift-click without a drag clears it. The bar reads the player it is
// given and tells its owner what the user asks for through its signals; it changes nothing by itself.

#include <QWidget>

class QLabel;
class QSlider;
class QTimer;
class QToolButton;

namespace nupo {

class MediaPlayer;

// The time slider of the bar: the whole file from left to right, the part played so far, the selection
// and the position.
class MovieTimeSlider : public QWidget {
    Q_OBJECT
public:
    explicit MovieTimeSlider(QWidget* parent = nullptr);

    // What the slider shows (seconds). A length of 0 shows an empty slider that takes no clicks.
    void showTimes(double position, double duration, double selectionStart, double selectionLength);
    double position() const { return shownPosition; }
    double selectionStart() const { return shownSelectionStart; }
    double selectionLength() const { return shownSelectionLength; }
    // The time under x (held to the file), and the x of a time: for callers that drive it like a user.
    double timeAt(int x) const;
    bool dragging() const { return drag != Drag::None; }
    int xOf(double seconds) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void seekRequested(double seconds);
    void selectionChanged(double start, double length);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect track() const;
    void select(double from, double to);

    double shownPosition = 0.0;
    double shownDuration = 0.0;
    double shownSelectionStart = 0.0;
    double shownSelectionLength = 0.0;
    enum class Drag { None, Seek, Select } drag = Drag::None;
    double anchor = 0.0;  // where a selection drag began (seconds)
    int pressX = 0;
    bool moved = false;
};

class MovieControllerBar : public QWidget {
    Q_OBJECT
public:
    explicit MovieControllerBar(QWidget* parent = nullptr);

    // The player shown (null: an empty bar). The bar follows it while it is visible.
    void setPlayer(MediaPlayer* player);
    MediaPlayer* player() const { return shown; }
    // Reads the player again now.
    void refresh();

    QToolButton* playButton() const { return play; }
    MovieTimeSlider* timeSlider() const { return slider; }
    QSlider* volumeSlider() const { return volume; }
    QString timeText() const;

    // The bar's height.
    static constexpr int barHeight = 26;

signals:
    void playPauseClicked();
    void seekRequested(double seconds);
    void selectionChanged(double start, double length);
    // 0 (silent) .. 1 (full).
    void volumeChanged(double level);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    MediaPlayer* shown = nullptr;
    QToolButton* play = nullptr;
    MovieTimeSlider* slider = nullptr;
    QLabel* time = nullptr;
    QSlider* volume = nullptr;
    QTimer* follow = nullptr;
    bool showsPause = false;
};

}  // namespace nupo
