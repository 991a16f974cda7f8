#pragma once

#include "platform/appkit/NotificationCenter.h"
#include "platform/appkit/ui/NibController.h"

class QComboBox;
class QLabel;

namespace nupo {

// The device and port panel (a tab of the preferences window): the sampling rate and the number of EEG
// channels. Creating the shared instance (at start-up) starts the acquisition threads.
class SetPortView : public NibController {
public:
    SetPortView();

    static SetPortView& sharedSetPortView();
    // A new panel widget loaded from the nib "SetPortView" (null when the nib cannot be loaded).
    static QWidget* makePanel();

    // Sampling rates offered, in menu order.
    static const std::vector<int>& sampleSpeedChoices();

    // Actions.
    void setSampleSpeed(QObject* sender);   // from the rate popup
    void setDeviceConfig(QObject* sender);  // from the channel popup: index = channels - 1

    // Takes a sampling rate: `SampleSpeed`, the recording row spacing `tploop` and normal replay speed.
    static void setSampleSpeedTo(int samplesPerSecond);

    void awakeFromNib() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The popups show the rate and the channel count as they stand.
    void showSettings();
    // Runs on the acquisition thread that posted new samples.
    void needUpdateDataBuffer();

    QComboBox* sampleSpeedPopup = nullptr;
    QComboBox* deviceConfigPopup = nullptr;
    QLabel* portStatusField = nullptr;
    ScopedObserver dataObserver;
};

}  // namespace nupo
