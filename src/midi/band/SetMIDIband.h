#pragma once

// The band-to-MIDI mapper: 128 band setups (BandSetupTable.h), each turning the values of eight
// frequency bands of one data source into eight MIDI notes, sent on a worker thread with a 0.01 s tick.
//
// The shared instance has no controls: its operations store into the table and send, and its control
// updates go nowhere. The panel (a subclass in the user interface) is a further instance that shows the
// shown setup `SetupBandNX`; every setter writes the edited copy of that setup.
//
// The specified operations are thin forwarders to the parts that carry them: the worker pass
// (BandWorker), the setup table's editing (BandSetupEditor), the per-band controls of the panel
// (BandFamilies) and the port choice and silencing (BandPorts).

#include "midi/band/BandControls.h"
#include "midi/band/BandFamilies.h"
#include "midi/band/BandPorts.h"
#include "midi/band/BandSetupEditor.h"
#include "midi/band/BandSetupTable.h"
#include "midi/band/BandWorker.h"
#include "midi/common/MidiMapperSends.h"
#include "platform/appkit/NotificationCenter.h"

#include <QString>

#include <functional>

namespace nupo {

inline const QString needUpdateInputBandDataNotification =
    QStringLiteral("needUpdateInputBandDataNotification");

// The eight members of each band family, written once: band n's operations forward to the family's
// operation with n.
#define NUPO_BAND_FAMILY_MEMBERS(n)                                     \
    void changeLowFSlider##n(QObject* sender)                           \
    {                                                                   \
        families.changeEdge(n, false, sender);                          \
    }                                                                   \
    void changeHighFSlider##n(QObject* sender)                          \
    {                                                                   \
        families.changeEdge(n, true, sender);                           \
    }                                                                   \
    void sendTextLowFSliderField##n(QObject* sender)                    \
    {                                                                   \
        families.sendTextEdge(n, false, sender);                        \
    }                                                                   \
    void sendTextHighFSliderField##n(QObject* sender)                   \
    {                                                                   \
        families.sendTextEdge(n, true, sender);                         \
    }                                                                   \
    void setLowFSlider##n##_(float hz)                                  \
    {                                                                   \
        families.setEdge(n, false, hz);                                 \
    }                                                                   \
    void setHighFSlider##n##_(float hz)                                 \
    {                                                                   \
        families.setEdge(n, true, hz);                                  \
    }                                                                   \
    void changebandSlider##n(QObject* sender)                           \
    {                                                                   \
        families.changeBandValue(n, sender);                            \
    }                                                                   \
    void bandSlider##n(float value)                                     \
    {                                                                   \
        families.bandValue(n, value, true);                             \
    }                                                                   \
    void bandSlider##n##X(float value)                                  \
    {                                                                   \
        families.bandValue(n, value, false);                            \
    }                                                                   \
    void selectMIDIchannel##n(QObject* sender)                          \
    {                                                                   \
        families.selectChannel(n, sender);                              \
    }                                                                   \
    void sendTextMIDIchannelField##n(QObject* sender)                   \
    {                                                                   \
        families.sendTextChannel(n, sender);                            \
    }                                                                   \
    void setMIDIchannel##n(int channel)                                 \
    {                                                                   \
        families.setChannel(n, channel);                                \
    }                                                                   \
    void setSetMIDIchannel##n##_(int channel)                           \
    {                                                                   \
        families.stepChannel(n, channel);                               \
    }                                                                   \
    void SetMIDIchannel##n(QObject* sender)                             \
    {                                                                   \
        families.stepChannel(n, sender);                                \
    }                                                                   \
    QObject* LowFSliderField##n() const                                 \
    {                                                                   \
        return textLowFSliderField##n();                                \
    }                                                                   \
    QObject* textLowFSliderField##n() const                             \
    {                                                                   \
        return outletObject(BandOutlet::displayHereLowFSliderBand, n);  \
    }                                                                   \
    QObject* HighFSliderField##n() const                                \
    {                                                                   \
        return textHighFSliderField##n();                               \
    }                                                                   \
    QObject* textHighFSliderField##n() const                            \
    {                                                                   \
        return outletObject(BandOutlet::displayHereHighFSliderBand, n); \
    }                                                                   \
    QObject* bandField##n() const                                       \
    {                                                                   \
        return textbandField##n();                                      \
    }                                                                   \
    QObject* textbandField##n() const                                   \
    {                                                                   \
        return outletObject(BandOutlet::displayHerebandBand, n);        \
    }                                                                   \
    QObject* MIDIchannelField##n() const                                \
    {                                                                   \
        return textMIDIchannelField##n();                               \
    }                                                                   \
    QObject* textMIDIchannelField##n() const                            \
    {                                                                   \
        return outletObject(BandOutlet::displayHereMIDIchannelBand, n); \
    }

class SetMIDIband : public BandControls, public MidiMapperSends {
public:
    SetMIDIband();
    ~SetMIDIband() override;
    SetMIDIband(const SetMIDIband&) = delete;
    SetMIDIband& operator=(const SetMIDIband&) = delete;

    static SetMIDIband& sharedSetMIDIband();
    // Stops the worker thread and the display timer (tests and shutdown).
    static void stopWorker();
    // Brings a resting worker back to its 0.01 s tick; the switches that turn a setup on call it.
    static void wakeWorker();
    // The interval the worker ticks at now: 0.01 s, 0.1 s while it rests, 0 when it is not running.
    static double workerInterval();
    // Queues fn on the worker behind what is queued there; false when it is not running.
    static bool runOnWorker(std::function<void()> fn);

    // --- Worker -----------------------------------------------------------------------------------------
    // On the first run: starts the worker thread (0.01 s tick, resting at 0.1 s while no setup has its
    // input or output on) and the main-thread display tick (0.1 s).
    // On every run: registers this instance for the band display notification (once).
    void init();
    void timerUpdate() { worker.timerUpdate(); }
    void sendMIDIbandData() { worker.sendMIDIbandData(); }
    float FFTband(int source, float lowF, float highF, int mode)
    {
        return worker.FFTband(source, lowF, highF, mode);
    }
    void sendMIDInote(int setup) { worker.sendMIDInote(setup); }
    void timerUpdateX();
    void needUpdateInputBandDataQ() { families.needUpdateInputBandDataQ(); }

    // --- Sending and ports -------------------------------------------------------------------------------
    int midiPortReturn(int setup) const { return ports.midiPortReturn(setup); }
    void setCoreMIDI() { ports.setCoreMIDI(); }
    void setGetOutMIDIPort() { ports.setGetOutMIDIPort(); }
    void convertPortNameToInt() { ports.convertPortNameToInt(); }
    void initPortStr() { ports.initPortStr(); }
    void selectMIDIport(QObject* sender) { ports.selectMIDIport(sender); }
    void setMIDIport(int index) { ports.setMIDIport(index); }
    void setOutMIDIPort(int) {}
    void sendMidiShutDown() { ports.sendMidiShutDown(); }
    // At quit: note-offs only on the channels and ports this mapper has played notes on.
    void silenceSentNotes() { ports.silenceSentNotes(); }
    void sendMidiTemporalyOFF() { ports.sendMidiTemporalyOFF(); }
    void sendMidiBackON()
    {
        ports.sendMidiBackON();
        wakeWorker();
    }
    void sendsetMIDIRestart() { ports.sendsetMIDIRestart(); }

    // --- Setup table ------------------------------------------------------------------------------------
    void setSetToDefault_(int mode) { editor.setSetToDefault(mode); }
    void SetToDefault(QObject* sender);
    void setBrainrhythmMIDIOpend_(int value) { setBrainrhythmMIDIOpend = value; }
    void setBrainrhythmMIDISetName_(int value) { setBrainrhythmMIDISetName = value; }
    void setMIDIsetupWindow(int n) { editor.loadSetup(n, false); }
    void setMIDIsetupWindowZ(int n) { editor.loadSetup(n, true); }
    void setSet_(int) { editor.setSet(); }
    void Set(QObject*) { editor.setSet(); }
    void setCancel_(int) { editor.setCancel(); }
    void Cancel(QObject*) { editor.setCancel(); }
    void setSetupN(int n) { editor.setSetupN(n); }
    void selectSetupN(QObject* sender) { editor.selectSetupN(sender); }
    void SetCount(QObject* sender) { editor.SetCount(sender); }
    void setSetCount(int) { editor.setSetCount(); }
    void setSolo_(int value) { setSoloBandX = value; }
    void Solo(QObject* sender);
    void setMIDIoutON_(int value) { editor.setMIDIoutON(value); }
    void MIDIoutON(QObject* sender);
    void setONInput_(int value) { editor.setONInput(value); }
    void ONInput(QObject* sender);
    void setNoteOnOff_(int value) { editor.setNoteOnOff(value); }
    void setNoteOffOn_(int value) { editor.setNoteOffOn(value); }
    void NoteOnOff(QObject* sender) { editor.NoteOnOff(sender); }
    void NoteOffOn(QObject* sender) { editor.NoteOffOn(sender); }
    void setPeakPower_(int value) { editor.setPeakPower(value); }
    void PeakPower(QObject* sender);
    void setAveragePower_(int value) { editor.setAveragePower(value); }
    void AveragePower(QObject* sender);
    void setCHto1to8_(int) { editor.setChannelsFrom(0); }
    void CHto1to8(QObject*) { editor.setChannelsFrom(0); }
    void setCHto9to16_(int) { editor.setChannelsFrom(8); }
    void CHto9to16(QObject*) { editor.setChannelsFrom(8); }
    void selectSendMIDItiming(QObject* sender) { editor.selectSendMIDItiming(sender); }
    void setSendMIDItiming(int index) { editor.setSendMIDItiming(index); }
    void selectBSchannel(QObject* sender) { editor.selectBSchannel(sender); }
    void setBSchannel(int index) { editor.setBSchannel(index); }
    void setSetBSCH_(int value) { editor.setSetBSCH(value); }
    void SetBSCH(QObject* sender);
    void selectNUPOchannel(QObject* sender) { editor.selectNUPOchannel(sender); }
    void setNUPOchannel(int index) { editor.setNUPOchannel(index); }
    void setUsePeakMode_(int mode) { editor.setUsePeakMode(mode); }
    void selectUsePeakMode(QObject* sender) { editor.selectUsePeakMode(sender); }
    void setSliderFromBS() { editor.setSliderFromBS(); }
    void setMIDIoff_(int);
    void MIDIoff(QObject*) { setMIDIoff_(1); }
    void setResetMIDI_(int);
    void ResetMIDI(QObject*) { setResetMIDI_(1); }
    void setGetSetup() { editor.setGetSetup(); }
    void setSetupPopup() { editor.setSetupPopup(); }
    // The common channel and program steppers change nothing in the table.
    void setSetMIDIchannel_(int) { setNeedsDisplay(); }
    void SetMIDIchannel(QObject*) { setNeedsDisplay(); }
    void setSetMIDIprogramC_(int) { setNeedsDisplay(); }
    void SetMIDIprogramC(QObject*) { setNeedsDisplay(); }
    void setMIDIchannel(int) {}
    void setProgramChange(int) {}

    // --- Panel ------------------------------------------------------------------------------------------
    NUPO_BAND_FAMILY_MEMBERS(1)
    NUPO_BAND_FAMILY_MEMBERS(2)
    NUPO_BAND_FAMILY_MEMBERS(3)
    NUPO_BAND_FAMILY_MEMBERS(4)
    NUPO_BAND_FAMILY_MEMBERS(5)
    NUPO_BAND_FAMILY_MEMBERS(6)
    NUPO_BAND_FAMILY_MEMBERS(7)
    NUPO_BAND_FAMILY_MEMBERS(8)
    void changeGainNoteSlider(QObject* sender) { families.changeGain(sender); }
    void GainNoteSlider_(float gain) { families.setGain(gain); }
    void sendTextSetupNinputField(QObject* sender) { families.sendTextSetupNinputField(sender); }
    void sendTextSetupNstringField(QObject* sender) { families.sendTextSetupNstringField(sender); }
    QObject* NUPOdataChannelField() const { return textNUPOdataChannelField(); }
    QObject* textNUPOdataChannelField() const { return outletObject(BandOutlet::displayHereNUPOdataChannel); }
    QObject* MIDIoutPortField() const { return textMIDIoutPortField(); }
    QObject* textMIDIoutPortField() const { return outletObject(BandOutlet::displayHereMIDIoutPort); }
    QObject* SetupNField() const { return textSetupNField(); }
    QObject* textSetupNField() const { return outletObject(BandOutlet::displayHereSetupN); }
    QObject* SetupNinputField() const { return textSetupNinputField(); }
    QObject* textSetupNinputField() const { return outletObject(BandOutlet::displayHereSetupNinput); }
    QObject* SetupNstringField() const { return textSetupNstringField(); }
    QObject* textSetupNstringField() const { return outletObject(BandOutlet::displayHereSetupNstring); }

    // The awakening of a panel instance: pop-ups filled and selected, the first-awakening work, the
    // shown setup loaded (the panel calls it from its awakeFromNib).
    void awakeFromNibWork() { families.awaken(); }
    BandFamilies& bandFamilies() { return families; }

private:
    BandWorker worker{*this};
    BandSetupEditor editor{*this};
    BandFamilies families{*this};
    BandPorts ports{*this};
    ScopedObserver bandDataObserver;
};

#undef NUPO_BAND_FAMILY_MEMBERS

}  // namespace nupo
