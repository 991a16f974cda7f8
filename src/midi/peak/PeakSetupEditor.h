#pragma once

#include "midi/peak/PeakSetupTable.h"
#include "midi/peak/SetMIDIOutlets.h"

class QObject;

namespace nupo {

class SetMIDI;

// Editing the peak setup table: choosing and naming the shown setup, loading a setup into the
// controls, Set and Cancel between the edited and committed copies, the output switch, channel,
// program and instrument, the source, the check boxes and the routing of F and V. Writes the edited
// copy and shows the result on the mapper's controls.
class PeakSetupEditor {
public:
    explicit PeakSetupEditor(SetMIDI& owner) : mapper(owner) {}

    void setSetToDefault_(int how);
    void SetToDefault(QObject* sender);
    void setBrainpeakMIDIOpend_(int value);
    void setBrainpeakMIDISetName_(int value);
    void setGetSetup();
    void setSetupPopup();
    void setSetupPopupX();
    void setOnMarkToPopupStr(int on);
    void setSetupN(int n);
    void selectSetupN(QObject* sender);
    void SetCount(QObject* sender);
    void setSetCount(int ignored);
    void sendTextSetupNinputField(QObject* sender);
    void sendTextSetupNstringField(QObject* sender);
    void setMIDIsetupWindow(int n);
    void setMIDIsetupWindowZ(int n);
    void Set(QObject* sender);
    void setSet_(int ignored);
    void Cancel(QObject* sender);
    void setCancel_(int ignored);
    void Solo(QObject* sender);
    void setSolo_(int value);
    void MIDIoff(QObject* sender);
    void setMIDIoff_(int ignored);
    void ResetMIDI(QObject* sender);
    void setResetMIDI_(int ignored);
    void setONMIDIout(QObject* sender);
    void setOFFMIDIout(QObject* sender);
    void setMIDIInstrument(QObject* sender);
    void MIDIoutON(QObject* sender);
    void setMIDIoutON_(int value);
    void setMIDIoutTempON(int value);
    void selectMIDIchannel(QObject* sender);
    void setMIDIchannel(int ignored);
    void SetMIDIchannel(QObject* sender);
    void setSetMIDIchannel_(int ignored);
    void sendTextMIDIchannelField(QObject* sender);
    void selectProgramChange(QObject* sender);
    void setProgramChange(int ignored);
    void SetMIDIprogramC(QObject* sender);
    void setSetMIDIprogramC_(int ignored);
    void sendTextMIDIprogramchangeField(QObject* sender);
    void setProgramChangeToAllSetup();
    void setProgramChangeToAllSetupA();
    void Instrument(QObject* sender);
    void setInstrument_(int value);
    void selectBSchannel(QObject* sender);
    void setBSchannel(int value);
    void SetBSCH(QObject* sender);
    void setSetBSCH_(int value);
    void selectNUPOchannel(QObject* sender);
    void setNUPOchannel(int value);
    void selectSendMIDItiming(QObject* sender);
    void setSendMIDItiming(int index);
    void UseQTMIDI(QObject* sender);
    void setUseQTMIDI_(int value);
    void Play3Peaks(QObject* sender);
    void setPlay3Peaks_(int value);
    void ONInput(QObject* sender);
    void setONInput_(int value);
    void PlayOnlyNoteChanged(QObject* sender);
    void setPlayOnlyNoteChanged_(int value);
    void NoteOnOff(QObject* sender);
    void setNoteOnOff_(int value);
    void NoteOffOn(QObject* sender);
    void setNoteOffOn_(int value);
    void PeakPower(QObject* sender);
    void setPeakPower_(int value);
    void AveragePower(QObject* sender);
    void setAveragePower_(int value);
    void SmallWindow(QObject* sender);
    void setSmallWindow_(int value);
    void MIDInoteF(QObject* sender);
    void MIDIvelocityF(QObject* sender);
    void MIDInoteV(QObject* sender);
    void MIDIvelocityV(QObject* sender);
    void MIDIcontrolchangeVF(QObject* sender);
    void MIDIcontrolchangeNF(QObject* sender);
    void MIDIcontrolchangeVV(QObject* sender);
    void MIDIcontrolchangeNV(QObject* sender);
    void MIDIchannelF(QObject* sender);
    void MIDIprogramchangeF(QObject* sender);
    void MIDIpitchbendF(QObject* sender);
    void MIDIchannelV(QObject* sender);
    void MIDIprogramchangeV(QObject* sender);
    void MIDIpitchbendV(QObject* sender);
    void setMIDInoteF_(int value);
    void setMIDIvelocityF_(int value);
    void setMIDIchannelF_(int value);
    void setMIDIprogramchangeF_(int value);
    void setMIDIpitchbendF_(int value);
    void setMIDIcontrolchangeVF_(int value);
    void setMIDIcontrolchangeNF_(int value);
    void setMIDInoteV_(int value);
    void setMIDIvelocityV_(int value);
    void setMIDIchannelV_(int value);
    void setMIDIprogramchangeV_(int value);
    void setMIDIpitchbendV_(int value);
    void setMIDIcontrolchangeVV_(int value);
    void setMIDIcontrolchangeNV_(int value);

private:
    using O = SetMIDIOutlet;

    void setFlag(SetupArray<int>& field, SetMIDIOutlet outlet, int value);
    void pairedRouting(int value, void (PeakSetupEditor::*own)(int),
                       void (PeakSetupEditor::*sameRoleOther)(int),
                       void (PeakSetupEditor::*otherRoleOwn)(int),
                       void (PeakSetupEditor::*otherRoleOther)(int));
    void loadSetupIntoPanel(int n, bool committed);

    SetMIDI& mapper;
};

}  // namespace nupo
