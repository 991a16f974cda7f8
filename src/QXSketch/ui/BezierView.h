#pragma once

#include "platform/appkit/ui/NibController.h"

#include <array>

class QCheckBox;
class QProgressBar;
class QLabel;
class QTimer;
class QWidget;

namespace nupo {

// The brain-switch mixer window ("Brain-Switch Mixer", nib "BezierView"): for the chosen source, the
// eight brain-switch windows with their band and Hz range, a level meter each and a switch that shows or
// hides the window. Every 0.3 s it refreshes the source's brain-switch records through the 3D view's
// refresh entry and shows their levels; changing a switch posts "WaterfallBSupdate".
class BezierView : public NibController {
    Q_OBJECT
public:
    BezierView();

    // Opens the mixer, or brings the open one to the front.
    static void showBezierView(QObject* owner);

    void awakeFromNib() override;
    void windowWillClose(QObject* window) override;

    // Actions.
    void selectSource(QObject* sender);
    void changeSwitch(QObject* sender);

    // The timer's step: refresh, then show the levels.
    void timerTick();

    int source() const { return source_; }
    // Level meter k (1..8) as shown, 0..100 (level × 10); -1 out of range.
    int shownLevel(int window) const;
    QCheckBox* switchBox(int window) const;

private:
    void showSwitches();

    int source_ = 0;
    QTimer* timer = nullptr;
    QObject* sourcePopup = nullptr;
    QWidget* switchArea = nullptr;
    std::array<QProgressBar*, 8> meters{};
    std::array<QCheckBox*, 8> switches{};
    std::array<QLabel*, 8> ranges{};
};

}  // namespace nupo
