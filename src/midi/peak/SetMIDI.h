#pragma once

// The peak-to-MIDI mapper: 128 setups (PeakSetupTable.h) that map the frequency F and value V of a
// spectral peak, a band search or a brain-switch level linearly onto notes, velocities, channels,
// program changes, pitch bend and control changes, sent through the MIDI output layer on a worker
// thread with a 0.01 s tick.
//
// The shared instance has no controls: its operations update the table and send, and its control
// updates go nowhere. The panel (a subclass in the user interface) is a further instance that shows
// the current setup `SetupNX`; every setter writes the edited copy of that setup.

#include "midi/common/MidiMapperSends.h"
#include "midi/peak/PeakSetupTable.h"
#include "platform/appkit/NotificationCenter.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QObject;

namespace nupo {

inline const QString needUpdateInputDataNotification = QStringLiteral("needUpdateInputDataNotification");
inline const QString needUpdateSetupNotification = QStringLiteral("needUpdateSetupNotification");

// The outlets of the panel, in declared order; edit fields pair with display fields (displayHere...).
#define NUPO_SETMIDI_FIELD_PAIRS(X)                                                                    \
    X(LowFSlider)                                                                                      \
    X(HighFSlider)                                                                                     \
    X(LowFNSlider)                                                                                     \
    X(HighFNSlider)                                                                                    \
    X(LowVSlider)                                                                                      \
    X(HighVSlider)                                                                                     \
    X(LowVNSlider) X(HighVNSlider) X(InputFSlider) X(InputVSlider) X(OutputFSlider) X(OutputVSlider)   \
        X(MIDIchannel) X(MIDIprogramchange) X(MaxInput) X(Name) X(MiniInput) X(InputName) X(InputUnit) \
            X(MaxFInput) X(MiniFInput) X(Instrument) X(NUPOdataChannel) X(MIDIoutPort) X(SetupN)       \
                X(SetupNinput) X(SetupNstring) X(Tempo)

#define NUPO_SETMIDI_CONTROLS(X)                                                                            \
    X(setResetMIDI)                                                                                         \
    X(setMIDIoff)                                                                                           \
    X(setSetToDefault)                                                                                      \
    X(setCancel)                                                                                            \
    X(setSet)                                                                                               \
    X(setSolo)                                                                                              \
    X(setPeakPower) X(setAveragePower) X(setMIDIoutON) X(setUseQTMIDI) X(setPlay3Peaks) X(setNoteOnOff)     \
        X(setNoteOffOn) X(setONInput) X(setPlayOnlyNoteChanged) X(setInstrument) X(setSmallWindow)          \
            X(setSetCountX) X(setSetMIDIchannel) X(setSetMIDIprogramC) X(setSetBSCH) X(setMIDInoteF)        \
                X(setMIDIvelocityF) X(setMIDIchannelF) X(setMIDIprogramchangeF) X(setMIDIpitchbendF)        \
                    X(setMIDIcontrolchangeVF) X(setMIDIcontrolchangeNF) X(setMIDInoteV) X(setMIDIvelocityV) \
                        X(setMIDIchannelV) X(setMIDIprogramchangeV) X(setMIDIpitchbendV)                    \
                            X(setMIDIcontrolchangeVV) X(setMIDIcontrolchangeNV) X(popupMIDIport)            \
                                X(popupMIDIchannel) X(popupProgramChange) X(popupBSchannel)                 \
                                    X(popupNUPOchannel) X(popupSetupN) X(popupSendMIDItiming)               \
                                        X(setLowFSlider) X(setHighFSlider) X(setLowFNSlider)                \
                                            X(setHighFNSlider) X(setLowVSlider) X(setHighVSlider)           \
                                                X(setLowVNSlider) X(setHighVNSlider) X(setInputFSlider)     \
                                                    X(setInputVSlider) X(setOutputFSlider)                  \
                                                        X(setOutputVSlider) X(setTempoSlider)               \
                                                            X(setInputFrequencyRange) X(setUsePeakMode)     \
                                                                X(setSimpleSetup)

#define NUPO_SETMIDI_ENUM_CONTROL(name) name,
#define NUPO_SETMIDI_ENUM_PAIR(name) name##Field, displayHere##name,
enum class SetMIDIOutlet {
    NUPO_SETMIDI_CONTROLS(NUPO_SETMIDI_ENUM_CONTROL) NUPO_SETMIDI_FIELD_PAIRS(NUPO_SETMIDI_ENUM_PAIR) count
};
#undef NUPO_SETMIDI_ENUM_CONTROL
#undef NUPO_SETMIDI_ENUM_PAIR

// The object name of an outlet in the panel's nib.
QString setMIDIOutletName(SetMIDIOutlet outlet);

// The text shown for a data channel 0..9 ("CH 1" for any other value).
QString dataChannelText(int channel);
// The data-channel popup's items for a channel configuration (number of EEG channels - 1).
QStringList dataChannelItems(int deviceConfig);
// The timing popup's items, index = timing index 0..13.
QStringList timingItems();

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

    // --- Worker -------------------------------------------------------------------------------------
    // On the first run: starts the worker thread (0.01 s tick) and the main-thread display tick
    // (0.1 s). On every run: registers this instance for the two refresh notifications (once).
    void init();
    void timerUpdate();
    void timerUpdateX();
    void doMIDI();
    void sendMIDIData(int setup, int slot);
    float FFTbandV(int channel, float lowF, float highF, int mode);
    float FFTbandF(int channel, float lowF, float highF, int mode);
    void setInputFCalc(float f);
    void setInputVCalc(float v);
    void setInputFSlider_(float f);
    void setInputVSlider_(float v);
    void setInputFSliderX(float f);
    void setInputVSliderX(float v);
    void changeInputFSlider(QObject* sender);
    void changeInputVSlider(QObject* sender);
    void needUpdateInputDataQ();
    void needUpdateSetupQ();
    double SetMIDItiming(int index);
    void initTempo();
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

    // --- Output, channel, program, instrument -------------------------------------------------------------
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

    // --- Source ------------------------------------------------------------------------------------------
    void selectBSchannel(QObject* sender);
    void setBSchannel(int value);
    void SetBSCH(QObject* sender);
    void setSetBSCH_(int value);
    void selectNUPOchannel(QObject* sender);
    void setNUPOchannel(int value);
    void selectSendMIDItiming(QObject* sender);
    void setSendMIDItiming(int index);

    // --- Check boxes -------------------------------------------------------------------------------------
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

    // Routing: the plain setters store one flag; the paired actions keep F and V in opposite roles.
    void MIDInoteF(QObject* sender);
    void MIDIvelocityF(QObject* sender);
    void MIDIchannelF(QObject* sender);
    void MIDIprogramchangeF(QObject* sender);
    void MIDIpitchbendF(QObject* sender);
    void MIDIcontrolchangeVF(QObject* sender);
    void MIDIcontrolchangeNF(QObject* sender);
    void MIDInoteV(QObject* sender);
    void MIDIvelocityV(QObject* sender);
    void MIDIchannelV(QObject* sender);
    void MIDIprogramchangeV(QObject* sender);
    void MIDIpitchbendV(QObject* sender);
    void MIDIcontrolchangeVV(QObject* sender);
    void MIDIcontrolchangeNV(QObject* sender);
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

    // --- Ranges and values --------------------------------------------------------------------------------
    void changeLowFSlider(QObject* sender);
    void changeHighFSlider(QObject* sender);
    void changeLowFNSlider(QObject* sender);
    void changeHighFNSlider(QObject* sender);
    void changeLowVSlider(QObject* sender);
    void changeHighVSlider(QObject* sender);
    void changeLowVNSlider(QObject* sender);
    void changeHighVNSlider(QObject* sender);
    void changeOutputFSlider(QObject* sender);
    void changeOutputVSlider(QObject* sender);
    void changeTempoSlider(QObject* sender);
    void setLowFSlider_(float v);
    void setHighFSlider_(float v);
    void setLowFNSlider_(float v);
    void setHighFNSlider_(float v);
    void setLowVSlider_(float v);
    void setHighVSlider_(float v);
    void setLowVNSlider_(float v);
    void setHighVNSlider_(float v);
    void setOutputFSlider_(float v);
    void setOutputVSlider_(float v);
    void setTempoSlider_(float t);
    void sendTextLowFSliderField(QObject* sender);
    void sendTextHighFSliderField(QObject* sender);
    void sendTextLowFNSliderField(QObject* sender);
    void sendTextHighFNSliderField(QObject* sender);
    void sendTextLowVSliderField(QObject* sender);
    void sendTextHighVSliderField(QObject* sender);
    void sendTextLowVNSliderField(QObject* sender);
    void sendTextHighVNSliderField(QObject* sender);
    void sendTextInputFSliderField(QObject* sender);
    void sendTextInputVSliderField(QObject* sender);
    void sendTextOutputFSliderField(QObject* sender);
    void sendTextOutputVSliderField(QObject* sender);
    void sendTextTempoField(QObject* sender);
    void selectInputFrequencyRange(QObject* sender);
    void setInputFrequencyRange_(int tag);
    void selectUsePeakMode(QObject* sender);
    void setUsePeakMode_(int mode);
    void reSetsetInputFSlider();

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

    // Fills the popups as the panel's nib load does (lists, then the current setup's selections).
    void fillPanelLists();
    // The first-open protocol and the final loading of the current setup.
    void firstOpen();
    // Shows the shown setup's channel without sending (refresh after the worker changed it).
    void showChannelOnly();

private:
    enum class Measure { F, V };
    struct RangeSetter;

    void showNumber(SetMIDIOutlet outlet, double value);
    void mapInput(int setup, Measure measure, float value);
    void showInput(Measure measure, float input, float output);
    void inputSlider(Measure measure, float value);
    void setRangeEnd(const RangeSetter& setter, float value);
    void setOutputSlider(Measure measure, float value);
    void setFlag(SetupArray<int>& field, SetMIDIOutlet outlet, int value);
    void pairedRouting(int value, void (SetMIDI::*own)(int), void (SetMIDI::*sameRoleOther)(int),
                       void (SetMIDI::*otherRoleOwn)(int), void (SetMIDI::*otherRoleOther)(int));
    void measure(int setup, int peak);
    void sendSetupChannel(int setup, int channel);
    void writePreset(int setup, int dataChannel, float lowF, float highF, int program);
    void loadSetupIntoPanel(int n, bool committed);
    void setRangeFromText(const RangeSetter& setter, QObject* sender, bool freeBand);

    ScopedObserver inputDataObserver;
    ScopedObserver setupObserver;
};

}  // namespace nupo
