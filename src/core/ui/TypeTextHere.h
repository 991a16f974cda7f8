#pragma once

#include "platform/appkit/NotificationCenter.h"
#include "platform/appkit/ui/NibController.h"

#include <QPointer>

class QAbstractButton;
class QLabel;
class QSlider;
class QTimer;

namespace nupo {

// The "Control Panel": the transport of the recording (record, play, pause, go to beginning, loop, the
// time slider and the time display). It is the main window; the main menu sits on it.
//
// The transport itself is Transport (core/Transport.h), so every instance acts on the same process-wide
// state: the shared instance (no window) serves the menu and other callers, the nib instance shows it and
// refreshes its controls on its 0.3 s timer.
class TypeTextHere : public NibController {
public:
    TypeTextHere();
    ~TypeTextHere() override;

    static TypeTextHere& sharedTypeTextHere();

    // Transport actions (sender ignored; nullptr is fine).
    void setPlay(QObject* sender);
    void setRec(QObject* sender);
    void setPause(QObject* sender);
    void setGotoBeginning(QObject* sender);
    void setLoopMode(QObject* sender);    // from a check box: its state; otherwise toggles
    void setTimeSlider(QObject* sender);  // from a slider: jumps to its value

    // Play mode from the current position; the menu's play runs this too.
    void SetselectsetPlay();
    // The 0.3 s tick: silences MIDI after the replay paused at the end, then refreshes the controls.
    void timerUpdate(QObject* sender);

    // Movie notifications (posted only while the movie follows the recording).
    void setPlayMovie();
    void setPauseMovie();
    void setToCurrentTimeMovie();
    void PauseAnyway();
    // At the end of the recording: wrap in loop mode, else pause (called from the replay thread).
    void gotoStartWhenLoopmodeAndEnd();

    void awakeFromNib() override;

    // The text of the time display at a sample position.
    static QString timeText(int samplepoint);

private:
    void transportPaused();
    void refreshControls();
    void moveTimeSlider(int samplepoint);

    // Outlets.
    QAbstractButton* playButton = nullptr;
    QAbstractButton* recordButton = nullptr;
    QAbstractButton* pauseButton = nullptr;
    QAbstractButton* gotoBeginningButton = nullptr;
    QAbstractButton* loopModeButton = nullptr;
    QSlider* timeSlider = nullptr;
    QLabel* timeField = nullptr;
    QLabel* lengthField = nullptr;
    QLabel* modeField = nullptr;
    QLabel* speedField = nullptr;

    QTimer* timer = nullptr;
    std::vector<ScopedObserver> observers;
};

}  // namespace nupo
