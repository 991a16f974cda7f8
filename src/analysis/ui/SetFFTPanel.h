#pragma once

#include "platform/appkit/ui/NibController.h"

class QCheckBox;
class QComboBox;
class QGroupBox;

namespace nupo {

// The analysis tab of the preferences window (nib "SetFFTPanel"): FFT size, the four channel gains, log
// power, averaging and mains frequency. Its actions go to the shared SetFFTController; it follows the
// controller's settingsChanged, so a size switched by a spectrum view shows here too.
class SetFFTPanel : public NibController {
public:
    SetFFTPanel();

    // A new panel widget loaded from its nib (null when the nib cannot be loaded).
    static QWidget* makePanel();

    // Actions.
    void setFFTpoint(QObject* sender);  // radio matrix, tags 0..6
    void setGain1(QObject* sender);     // gain popups, index 0..8
    void setGain2(QObject* sender);
    void setGain3(QObject* sender);
    void setGain4(QObject* sender);
    void setLOGpower(QObject* sender);
    void setAveraging(QObject* sender);
    void setMainsFrequency(QObject* sender);  // index 0: 50 Hz, 1: 60 Hz

    void awakeFromNib() override;
    // Shows the current settings.
    void updateControls();

private:
    void setGain(int channel, QObject* sender);

    QGroupBox* fftPointMatrix = nullptr;
    QComboBox* gainPopup[4] = {};
    QCheckBox* logPowerCheck = nullptr;
    QComboBox* averagingPopup = nullptr;
    QComboBox* mainsPopup = nullptr;
};

}  // namespace nupo
