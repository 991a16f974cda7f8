#include "analysis/ui/SetFFTPanel.h"

#include "analysis/SetFFTController.h"
#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/appkit/ui/RadioMatrix.h"
#include "shared/AnalysisState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>

namespace nupo {

SetFFTPanel::SetFFTPanel()
{
    outlet("fftPointMatrix", fftPointMatrix);
    outlet("gain1Popup", gainPopup[0]);
    outlet("gain2Popup", gainPopup[1]);
    outlet("gain3Popup", gainPopup[2]);
    outlet("gain4Popup", gainPopup[3]);
    outlet("logPowerCheck", logPowerCheck);
    outlet("averagingPopup", averagingPopup);
    outlet("mainsPopup", mainsPopup);
    action("setFFTpoint", &SetFFTPanel::setFFTpoint);
    action("setGain1", &SetFFTPanel::setGain1);
    action("setGain2", &SetFFTPanel::setGain2);
    action("setGain3", &SetFFTPanel::setGain3);
    action("setGain4", &SetFFTPanel::setGain4);
    action("setLOGpower", &SetFFTPanel::setLOGpower);
    action("setAveraging", &SetFFTPanel::setAveraging);
    action("setMainsFrequency", &SetFFTPanel::setMainsFrequency);
}

QWidget* SetFFTPanel::makePanel()
{
    NibController* controller = NibLoader::loadNibNamed(QStringLiteral("SetFFTPanel"));
    return controller ? controller->nibWindow() : nullptr;
}

void SetFFTPanel::awakeFromNib()
{
    connect(&SetFFTController::sharedSetFFTController(), &SetFFTController::settingsChanged, this,
            &SetFFTPanel::updateControls);
    updateControls();
}

void SetFFTPanel::updateControls()
{
    RadioMatrix::selectCellWithTag(fftPointMatrix, SetFFTController::fftPointIndex());
    for (int c = 0; c < 4; ++c)
        PopUpButton::selectItemAtIndex(gainPopup[c], SetFFTController::gainNumber(c));
    Control::setState(logPowerCheck, LOGpowerONed.load() != 0 ? 1 : 0);
    PopUpButton::selectItemAtIndex(averagingPopup, SetFFTController::averagingIndex());
    PopUpButton::selectItemAtIndex(mainsPopup, mainsFrequencyX.load() == 50 ? 0 : 1);
}

void SetFFTPanel::setFFTpoint(QObject* sender)
{
    const int tag = RadioMatrix::selectedTag(sender);
    if (tag >= 0)
        SetFFTController::sharedSetFFTController().setFFTpoint(tag);
}

void SetFFTPanel::setGain(int channel, QObject* sender)
{
    const int index = PopUpButton::indexOfSelectedItem(sender);
    if (index >= 0)
        SetFFTController::sharedSetFFTController().setGainNumber(channel, index);
}

void SetFFTPanel::setGain1(QObject* sender)
{
    setGain(0, sender);
}

void SetFFTPanel::setGain2(QObject* sender)
{
    setGain(1, sender);
}

void SetFFTPanel::setGain3(QObject* sender)
{
    setGain(2, sender);
}

void SetFFTPanel::setGain4(QObject* sender)
{
    setGain(3, sender);
}

void SetFFTPanel::setLOGpower(QObject* sender)
{
    if (sender)
        SetFFTController::sharedSetFFTController().setLOGpowerON(Control::state(sender));
}

void SetFFTPanel::setAveraging(QObject* sender)
{
    const int index = PopUpButton::indexOfSelectedItem(sender);
    if (index >= 0)
        SetFFTController::sharedSetFFTController().setAveragingIndex(index);
}

void SetFFTPanel::setMainsFrequency(QObject* sender)
{
    const int index = PopUpButton::indexOfSelectedItem(sender);
    if (index == 0 || index == 1)
        SetFFTController::sharedSetFFTController().setMainsFrequency(index == 0 ? 50 : 60);
}

}  // namespace nupo
