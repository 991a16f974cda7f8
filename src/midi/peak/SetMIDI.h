#pragma once

// The peak-to-MIDI mapper: 128 setups (PeakSetupTable.h) that map the frequency F and value V of a
// spectral peak, a band search or a brain-switch level linearly onto notes, velocities, channels,
// program changes, pitch bend and control changes, sent through the MIDI output layer on a worker
// thread with a 0.01 s tick.
//
// The shared instance has no controls: its operations update the table and send, and its control
// updates go nowhere. The panel (a subclass in the user interface) is a further instance that shows
// the current setup `SetupNX`; every setter writes the edited copy of that setup.
//
// The work is done by parts, each with one responsibility, to which the operations forward: the worker
// pass (PeakMidiWorker), editing the setup table (PeakSetupEditor) and the ranges and values
// (PeakValueEditor). Sending, port choice and transport control are shared with the band mapper
// (midi/common/); this file keeps the instances, the start of the worker, the presets and the ports.

#include "midi/common/MidiMapperSends.h"
#include "midi/peak/PeakMidiWorker.h"
#include "midi/peak/PeakSetupEditor.h"
#include "midi/peak/PeakSetupTable.h"
#include "midi/peak/PeakValueEditor.h"
#include "midi/peak/SetMIDIOutlets.h"
#include "platform/appkit/NotificationCenter.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QObject;

namespace nupo {

inline const QString needUpdateInputDataNotification = QStringLiteral("needUpdateInputDataNotification");
inline const QString needUpdateSetupNotification = QStringLiteral("needUpdateSetupNotification");

class SetMIDI : public MidiMapperSends {
public:
    SetMIDI();
    virtual ~SetMIDI();
    SetMIDI(const SetMIDI&) = delete;
    SetMIDI& operator=(const SetMIDI&) = delete;

    static SetMIDI& sharedSetMIDI();
    // How the first one-click preset opens the preferences window on a tab (installed by the menu).
    static void setShowPanelHandler(std::function<void(int tab)> handler);
    // Stops the worker thread and the display timer (tests and shutdown).
    static void stopWorker();
    // Brings a resting worker back to its tick interval: called where a setup is switched on.
    static void wakeWorker();

    // --- Worker -------------------------------------------------------------------------------------
    // On the first run: starts the worker thread (0.01 s tick) and the main-thread display tick
    // (0.1 s). On every run: registers this instance for the two refresh notifications (once).
    void init();
    void timerUpdate() { worker.timerUpdate(); }
    void timerUpdateX() { worker.timerUpdateX(); }
    void doMIDI() { worker.doMIDI(); }
    void sendMIDIData(int setup, int slot) { worker.sendMIDIData(setup, slot); }
    float FFTbandV(int channel, float lowF, float highF, int mode)
    {
        return worker.FFTbandV(channel, lowF, highF, mode);
    }
    float FFTbandF(int channel, float lowF, float highF, int mode)
    {
        return worker.FFTbandF(channel, lowF, highF, mode);
    }
    void setInputFCalc(float f) { values.setInputFCalc(f); }
    void setInputVCalc(float v) { values.setInputVCalc(v); }
    void setInputFSlider_(float f) { values.setInputFSlider_(f); }
    void setInputVSlider_(float v) { values.setInputVSlider_(v); }
    void setInputFSliderX(float f) { values.setInputFSliderX(f); }
    void setInputVSliderX(float v) { values.setInputVSliderX(v); }
    void changeInputFSlider(QObject* sender) { values.changeInputFSlider(sender); }
    void changeInputVSlider(QObject* sender) { values.changeInputVSlider(sender); }
    void needUpdateInputDataQ() { values.needUpdateInputDataQ(); }
    void needUpdateSetupQ();
    double SetMIDItiming(int index) { return values.SetMIDItiming(index); }
    void initTempo() { values.initTempo(); }
    void easyplaySetup(int preset);
    void SimpleSetup(QObject* sender);
    void setSimpleSetup_(int ignored);

    // --- Sending and ports ----------------------------------------------------------------------------
    // The send wrappers are MidiMapperSends'.
    int midiPortReturn(int setup) const;
    void setCoreMIDI();
    void setGetOutMIDIPort();
    void convertPortNameToInt();
    void initPortStr();
    void selectMIDIport(QObject* sender);
    void setMIDIport(int index);
    void setOutMIDIPort(int port);
    void sendMidiShutDown();
    void sendMidiShutDownALL();
    void sendMidiTemporalyOFF();
    void sendMidiBackON();
    void sendsetMIDIRestart();

    // --- Setup table ------------------------------------------------------------------------------------
    void setSetToDefault_(int how) { setups.setSetToDefault_(how); }
    void SetToDefault(QObject* sender) { setups.SetToDefault(sender); }
    void setBrainpeakMIDIOpend_(int value) { setups.setBrainpeakMIDIOpend_(value); }
    void setBrainpeakMIDISetName_(int value) { setups.setBrainpeakMIDISetName_(value); }
    void setGetSetup() { setups.setGetSetup(); }
    void setSetupPopup() { setups.setSetupPopup(); }
    void setSetupPopupX() { setups.setSetupPopupX(); }
    void setOnMarkToPopupStr(int on) { setups.setOnMarkToPopupStr(on); }
    void setSetupN(int n) { setups.setSetupN(n); }
    void selectSetupN(QObject* sender) { setups.selectSetupN(sender); }
    void SetCount(QObject* sender) { setups.SetCount(sender); }
    void setSetCount(int ignored) { setups.setSetCount(ignored); }
    void sendTextSetupNinputField(QObject* sender) { setups.sendTextSetupNinputField(sender); }
    void sendTextSetupNstringField(QObject* sender) { setups.sendTextSetupNstringField(sender); }
    void setMIDIsetupWindow(int n) { setups.setMIDIsetupWindow(n); }
    void setMIDIsetupWindowZ(int n) { setups.setMIDIsetupWindowZ(n); }
    void Set(QObject* sender) { setups.Set(sender); }
    void setSet_(int ignored) { setups.setSet_(ignored); }
    void Cancel(QObject* sender) { setups.Cancel(sender); }
    void setCancel_(int ignored) { setups.setCancel_(ignored); }
    void Solo(QObject* sender) { setups.Solo(sender); }
    void setSolo_(int value) { setups.setSolo_(value); }
    void MIDIoff(QObject* sender) { setups.MIDIoff(sender); }
    void setMIDIoff_(int ignored) { setups.setMIDIoff_(ignored); }
    void ResetMIDI(QObject* sender) { setups.ResetMIDI(sender); }
    void setResetMIDI_(int ignored) { setups.setResetMIDI_(ignored); }
    void setONMIDIout(QObject* sender) { setups.setONMIDIout(sender); }
    void setOFFMIDIout(QObject* sender) { setups.setOFFMIDIout(sender); }
    void setMIDIInstrument(QObject* sender) { setups.setMIDIInstrument(sender); }

    // --- Output, channel, program, instrument -------------------------------------------------------------
    void MIDIoutON(QObject* sender) { setups.MIDIoutON(sender); }
    void setMIDIoutON_(int value) { setups.setMIDIoutON_(value); }
    void setMIDIoutTempON(int value) { setups.setMIDIoutTempON(value); }
    void selectMIDIchannel(QObject* sender) { setups.selectMIDIchannel(sender); }
    void setMIDIchannel(int ignored) { setups.setMIDIchannel(ignored); }
    void SetMIDIchannel(QObject* sender) { setups.SetMIDIchannel(sender); }
    void setSetMIDIchannel_(int ignored) { setups.setSetMIDIchannel_(ignored); }
    void sendTextMIDIchannelField(QObject* sender) { setups.sendTextMIDIchannelField(sender); }
    void selectProgramChange(QObject* sender) { setups.selectProgramChange(sender); }
    void setProgramChange(int ignored) { setups.setProgramChange(ignored); }
    void SetMIDIprogramC(QObject* sender) { setups.SetMIDIprogramC(sender); }
    void setSetMIDIprogramC_(int ignored) { setups.setSetMIDIprogramC_(ignored); }
    void sendTextMIDIprogramchangeField(QObject* sender) { setups.sendTextMIDIprogramchangeField(sender); }
    void setProgramChangeToAllSetup() { setups.setProgramChangeToAllSetup(); }
    void setProgramChangeToAllSetupA() { setups.setProgramChangeToAllSetupA(); }
    void Instrument(QObject* sender) { setups.Instrument(sender); }
    void setInstrument_(int value) { setups.setInstrument_(value); }

    // --- Source ------------------------------------------------------------------------------------------
    void selectBSchannel(QObject* sender) { setups.selectBSchannel(sender); }
    void setBSchannel(int value) { setups.setBSchannel(value); }
    void SetBSCH(QObject* sender) { setups.SetBSCH(sender); }
    void setSetBSCH_(int value) { setups.setSetBSCH_(value); }
    void selectNUPOchannel(QObject* sender) { setups.selectNUPOchannel(sender); }
    void setNUPOchannel(int value) { setups.setNUPOchannel(value); }
    void selectSendMIDItiming(QObject* sender) { setups.selectSendMIDItiming(sender); }
    void setSendMIDItiming(int index) { setups.setSendMIDItiming(index); }

    // --- Check boxes -------------------------------------------------------------------------------------
    void UseQTMIDI(QObject* sender) { setups.UseQTMIDI(sender); }
    void setUseQTMIDI_(int value) { setups.setUseQTMIDI_(value); }
    void Play3Peaks(QObject* sender) { setups.Play3Peaks(sender); }
    void setPlay3Peaks_(int value) { setups.setPlay3Peaks_(value); }
    void ONInput(QObject* sender) { setups.ONInput(sender); }
    void setONInput_(int value) { setups.setONInput_(value); }
    void PlayOnlyNoteChanged(QObject* sender) { setups.PlayOnlyNoteChanged(sender); }
    void setPlayOnlyNoteChanged_(int value) { setups.setPlayOnlyNoteChanged_(value); }
    void NoteOnOff(QObject* sender) { setups.NoteOnOff(sender); }
    void setNoteOnOff_(int value) { setups.setNoteOnOff_(value); }
    void NoteOffOn(QObject* sender) { setups.NoteOffOn(sender); }
    void setNoteOffOn_(int value) { setups.setNoteOffOn_(value); }
    void PeakPower(QObject* sender) { setups.PeakPower(sender); }
    void setPeakPower_(int value) { setups.setPeakPower_(value); }
    void AveragePower(QObject* sender) { setups.AveragePower(sender); }
    void setAveragePower_(int value) { setups.setAveragePower_(value); }
    void SmallWindow(QObject* sender) { setups.SmallWindow(sender); }
    void setSmallWindow_(int value) { setups.setSmallWindow_(value); }

    // Routing: the plain setters store one flag; the paired actions keep F and V in opposite roles.
    void MIDInoteF(QObject* sender) { setups.MIDInoteF(sender); }
    void MIDIvelocityF(QObject* sender) { setups.MIDIvelocityF(sender); }
    void MIDIchannelF(QObject* sender) { setups.MIDIchannelF(sender); }
    void MIDIprogramchangeF(QObject* sender) { setups.MIDIprogramchangeF(sender); }
    void MIDIpitchbendF(QObject* sender) { setups.MIDIpitchbendF(sender); }
    void MIDIcontrolchangeVF(QObject* sender) { setups.MIDIcontrolchangeVF(sender); }
    void MIDIcontrolchangeNF(QObject* sender) { setups.MIDIcontrolchangeNF(sender); }
    void MIDInoteV(QObject* sender) { setups.MIDInoteV(sender); }
    void MIDIvelocityV(QObject* sender) { setups.MIDIvelocityV(sender); }
    void MIDIchannelV(QObject* sender) { setups.MIDIchannelV(sender); }
    void MIDIprogramchangeV(QObject* sender) { setups.MIDIprogramchangeV(sender); }
    void MIDIpitchbendV(QObject* sender) { setups.MIDIpitchbendV(sender); }
    void MIDIcontrolchangeVV(QObject* sender) { setups.MIDIcontrolchangeVV(sender); }
    void MIDIcontrolchangeNV(QObject* sender) { setups.MIDIcontrolchangeNV(sender); }
    void setMIDInoteF_(int value) { setups.setMIDInoteF_(value); }
    void setMIDIvelocityF_(int value) { setups.setMIDIvelocityF_(value); }
    void setMIDIchannelF_(int value) { setups.setMIDIchannelF_(value); }
    void setMIDIprogramchangeF_(int value) { setups.setMIDIprogramchangeF_(value); }
    void setMIDIpitchbendF_(int value) { setups.setMIDIpitchbendF_(value); }
    void setMIDIcontrolchangeVF_(int value) { setups.setMIDIcontrolchangeVF_(value); }
    void setMIDIcontrolchangeNF_(int value) { setups.setMIDIcontrolchangeNF_(value); }
    void setMIDInoteV_(int value) { setups.setMIDInoteV_(value); }
    void setMIDIvelocityV_(int value) { setups.setMIDIvelocityV_(value); }
    void setMIDIchannelV_(int value) { setups.setMIDIchannelV_(value); }
    void setMIDIprogramchangeV_(int value) { setups.setMIDIprogramchangeV_(value); }
    void setMIDIpitchbendV_(int value) { setups.setMIDIpitchbendV_(value); }
    void setMIDIcontrolchangeVV_(int value) { setups.setMIDIcontrolchangeVV_(value); }
    void setMIDIcontrolchangeNV_(int value) { setups.setMIDIcontrolchangeNV_(value); }

    // --- Ranges and values --------------------------------------------------------------------------------
    void changeLowFSlider(QObject* sender) { values.changeLowFSlider(sender); }
    void changeHighFSlider(QObject* sender) { values.changeHighFSlider(sender); }
    void changeLowFNSlider(QObject* sender) { values.changeLowFNSlider(sender); }
    void changeHighFNSlider(QObject* sender) { values.changeHighFNSlider(sender); }
    void changeLowVSlider(QObject* sender) { values.changeLowVSlider(sender); }
    void changeHighVSlider(QObject* sender) { values.changeHighVSlider(sender); }
    void changeLowVNSlider(QObject* sender) { values.changeLowVNSlider(sender); }
    void changeHighVNSlider(QObject* sender) { values.changeHighVNSlider(sender); }
    void changeOutputFSlider(QObject* sender) { values.changeOutputFSlider(sender); }
    void changeOutputVSlider(QObject* sender) { values.changeOutputVSlider(sender); }
    void changeTempoSlider(QObject* sender) { values.changeTempoSlider(sender); }
    void setLowFSlider_(float v) { values.setLowFSlider_(v); }
    void setHighFSlider_(float v) { values.setHighFSlider_(v); }
    void setLowFNSlider_(float v) { values.setLowFNSlider_(v); }
    void setHighFNSlider_(float v) { values.setHighFNSlider_(v); }
    void setLowVSlider_(float v) { values.setLowVSlider_(v); }
    void setHighVSlider_(float v) { values.setHighVSlider_(v); }
    void setLowVNSlider_(float v) { values.setLowVNSlider_(v); }
    void setHighVNSlider_(float v) { values.setHighVNSlider_(v); }
    void setOutputFSlider_(float v) { values.setOutputFSlider_(v); }
    void setOutputVSlider_(float v) { values.setOutputVSlider_(v); }
    void setTempoSlider_(float t) { values.setTempoSlider_(t); }
    void sendTextLowFSliderField(QObject* sender) { values.sendTextLowFSliderField(sender); }
    void sendTextHighFSliderField(QObject* sender) { values.sendTextHighFSliderField(sender); }
    void sendTextLowFNSliderField(QObject* sender) { values.sendTextLowFNSliderField(sender); }
    void sendTextHighFNSliderField(QObject* sender) { values.sendTextHighFNSliderField(sender); }
    void sendTextLowVSliderField(QObject* sender) { values.sendTextLowVSliderField(sender); }
    void sendTextHighVSliderField(QObject* sender) { values.sendTextHighVSliderField(sender); }
    void sendTextLowVNSliderField(QObject* sender) { values.sendTextLowVNSliderField(sender); }
    void sendTextHighVNSliderField(QObject* sender) { values.sendTextHighVNSliderField(sender); }
    void sendTextInputFSliderField(QObject* sender) { values.sendTextInputFSliderField(sender); }
    void sendTextInputVSliderField(QObject* sender) { values.sendTextInputVSliderField(sender); }
    void sendTextOutputFSliderField(QObject* sender) { values.sendTextOutputFSliderField(sender); }
    void sendTextOutputVSliderField(QObject* sender) { values.sendTextOutputVSliderField(sender); }
    void sendTextTempoField(QObject* sender) { values.sendTextTempoField(sender); }
    void selectInputFrequencyRange(QObject* sender) { values.selectInputFrequencyRange(sender); }
    void setInputFrequencyRange_(int tag) { values.setInputFrequencyRange_(tag); }
    void selectUsePeakMode(QObject* sender) { values.selectUsePeakMode(sender); }
    void setUsePeakMode_(int mode) { values.setUsePeakMode_(mode); }
    void reSetsetInputFSlider() { values.reSetsetInputFSlider(); }
    void showSetupValues(int n) { values.showSetupValues(n); }

protected:
    // Control updates; the shared instance has no controls, so they do nothing here.
    virtual void showState(SetMIDIOutlet, double) {}
    virtual void showText(SetMIDIOutlet, const QString&) {}
    virtual void selectItem(SetMIDIOutlet, int) {}
    virtual void setItems(SetMIDIOutlet, const QStringList&) {}
    virtual void replaceItem(SetMIDIOutlet, int, const QString&) {}
    virtual void setLimits(SetMIDIOutlet, double, double) {}
    virtual void setShown(SetMIDIOutlet, bool) {}
    virtual void setFieldFormat(SetMIDIOutlet, int, int) {}
    virtual void setNeedsDisplay() {}
    virtual void smallWindowChanged(int) {}

    // Shows the shown setup's channel without sending (refresh after the worker changed it).
    void showChannelOnly();

private:
    friend class PeakMidiWorker;
    friend class PeakSetupEditor;
    friend class PeakValueEditor;

    // Shows the shown setup's channel on every instance (main thread).
    static void showChannelEverywhere();
    void writePreset(int setup, int dataChannel, float lowF, float highF, int program);

    PeakMidiWorker worker{*this};
    PeakSetupEditor setups{*this};
    PeakValueEditor values{*this};
    ScopedObserver inputDataObserver;
    ScopedObserver setupObserver;
};

}  // namespace nupo
