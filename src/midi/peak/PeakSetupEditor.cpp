#include "midi/peak/PeakSetupEditor.h"

#include "midi/common/SenderValue.h"
#include "midi/output/MidiSynth.h"
#include "midi/output/QXMidiPort.h"
#include "midi/peak/SetMIDI.h"

#include <algorithm>

namespace nupo {

namespace {

// The longest instrument name the panel shows.
constexpr int instrumentTextLength = 119;

}  // namespace

void PeakSetupEditor::setSetToDefault_(int how)
{
    SetupNX = 0;
    if (setBrainpeakMIDISetName == 0 && how == 1 && setBrainpeakMIDIOpend == 0) {
        setGetSetup();
        setBrainpeakMIDIOpend = 1;
    }
    if (setBrainpeakMIDIOpend == 0) {
        writePeakSetupDefaults();
        // The setups carry their numbers as names from the start, so that the panel's first opening,
        // which names them so, changes nothing.
        if (setBrainpeakMIDISetName == 0)
            setGetSetup();
        // Setup 1 starts mapped, as choosing its source mode leaves it: the F input onto its output, the
        // V input at 50 and onto its output.
        mapPeakInput(0, PeakMeasure::F, InputFX[0]);
        mapPeakInput(0, PeakMeasure::V, 50.0f);
    }
    setMIDIsetupWindow(0);
}

void PeakSetupEditor::SetToDefault(QObject* sender)
{
    setSetToDefault_(senderIntValue(sender));
}

void PeakSetupEditor::setBrainpeakMIDIOpend_(int value)
{
    setBrainpeakMIDIOpend = value;
    itsOpend = value;
}

void PeakSetupEditor::setBrainpeakMIDISetName_(int value)
{
    setBrainpeakMIDISetName = value;
}

void PeakSetupEditor::setGetSetup()
{
    for (int k = 0; k < maxSetupNumber; ++k)
        strX[k] = QString::number(k + 1);
    setSetupPopup();
}

void PeakSetupEditor::setSetupPopup()
{
    mapper.setItems(O::popupSetupN, QStringList(strX.begin(), strX.end()));
    mapper.selectItem(O::popupSetupN, shownPeakSetup());
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::setSetupPopupX()
{
    SetupPopupShownX = 0;
}

void PeakSetupEditor::setOnMarkToPopupStr(int on)
{
    const QString mark = QStringLiteral("ON:");
    const QString name = strX[shownPeakSetup()];
    const bool marked = name.size() > 3 && name.startsWith(mark);
    QString renamed = name;
    if (on != 0 && !marked)
        renamed = mark + name;
    else if (on == 0 && marked)
        renamed = name.mid(3);
    strX[shownPeakSetup()] = renamed.left(maxSetupNameLength + 3);
    setSetupPopup();
}

void PeakSetupEditor::setSetupN(int n)
{
    n = std::clamp(n, 0, maxSetupNumber - 1);
    SetupNX = n;
    setMIDIoff_(1);
    mapper.selectItem(O::popupSetupN, n);
    setMIDIsetupWindow(n);
    const QString shown = QString::number(n + 1);
    mapper.showText(O::displayHereSetupN, shown);
    mapper.showText(O::displayHereSetupNinput, shown);
    mapper.showText(O::displayHereSetupNstring, shown);
    mapper.showState(O::setSetCountX, n);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::selectSetupN(QObject* sender)
{
    mapper.showText(O::displayHereSetupNstring, senderSelectedTitle(sender));
    SetupNX = std::clamp(senderSelectedIndex(sender), 0, maxSetupNumber - 1);
    setSetupN(SetupNX);
}

void PeakSetupEditor::SetCount(QObject* sender)
{
    SetupNX = std::clamp(senderIntValue(sender), 0, maxSetupNumber - 1);
    setSetCount(0);
}

void PeakSetupEditor::setSetCount(int)
{
    setSetupN(SetupNX);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::sendTextSetupNinputField(QObject* sender)
{
    const int k = std::clamp(senderIntValue(sender), 1, maxSetupNumber);
    const QString shown = QString::number(k);
    mapper.showText(O::displayHereSetupNinput, shown);
    SetupNX = k - 1;
    mapper.selectItem(O::popupSetupN, k - 1);
    mapper.showState(O::setSetCountX, k - 1);
    setMIDIsetupWindow(k - 1);
    mapper.showText(O::displayHereSetupNstring, shown);
    mapper.showText(O::displayHereSetupN, shown);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::sendTextSetupNstringField(QObject* sender)
{
    const QString name = storedSetupName(senderSelectedTitle(sender));
    mapper.showText(O::displayHereSetupNstring, name);
    mapper.replaceItem(O::popupSetupN, shownPeakSetup(), name);
    mapper.selectItem(O::popupSetupN, shownPeakSetup());
    strX[shownPeakSetup()] = name;
    setSetupPopup();
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::loadSetupIntoPanel(int n, bool committed)
{
    if (!validSetup(n))
        return;
    auto pick = [committed, n](const SetupArray<int>& x, const SetupArray<int>& xz) {
        return committed ? xz[n].load() : x[n].load();
    };
    if (committed) {
        setNUPOchannel(NUPOchannelXZ[n]);
        mapper.setMIDIport(MIDIportXZ[n]);
        setMIDIchannel(0);
        setProgramChange(0);
        setBSchannel(BSchannelXZ[n]);
        setMIDIoutON_(MIDIoutONXZ[n]);
    } else {
        // The edited copy is shown as it stands: a coherence pair's source mode is not forced here.
        mapper.selectItem(O::popupNUPOchannel, NUPOchannelX[n]);
        mapper.setMIDIport(mapper.midiPortReturn(n));
        setBSchannel(BSchannelX[n]);
        setMIDIoutON_(MIDIoutONX[n]);
        if (MIDIoutONX[n] == 0)
            setMIDIchannel(0);
    }
    setUseQTMIDI_(pick(UseQTMIDIX, UseQTMIDIXZ));
    setPlay3Peaks_(pick(Play3PeaksX, Play3PeaksXZ));
    setNoteOnOff_(pick(NoteOnOffX, NoteOnOffXZ));
    setNoteOffOn_(pick(NoteOffOnX, NoteOffOnXZ));
    setONInput_(pick(ONInputX, ONInputXZ));
    setPlayOnlyNoteChanged_(pick(PlayOnlyNoteChangedX, PlayOnlyNoteChangedXZ));
    if (committed) {
        setPeakPower_(PeakPowerXZ[n]);
        setAveragePower_(AveragePowerXZ[n]);
    } else {
        // Both boxes as stored: their setters would pair them.
        mapper.showState(O::setPeakPower, PeakPowerX[n]);
        mapper.showState(O::setAveragePower, AveragePowerX[n]);
    }
    setSendMIDItiming(pick(SendMIDItimingX, SendMIDItimingXZ));
    setMIDInoteF_(pick(MIDInoteFX, MIDInoteFXZ));
    setMIDIvelocityF_(pick(MIDIvelocityFX, MIDIvelocityFXZ));
    setMIDIchannelF_(pick(MIDIchannelFX, MIDIchannelFXZ));
    setMIDIprogramchangeF_(pick(MIDIprogramchangeFX, MIDIprogramchangeFXZ));
    setMIDIpitchbendF_(pick(MIDIpitchbendFX, MIDIpitchbendFXZ));
    setMIDIcontrolchangeVF_(pick(MIDIcontrolchangeVFX, MIDIcontrolchangeVFXZ));
    setMIDIcontrolchangeNF_(pick(MIDIcontrolchangeNFX, MIDIcontrolchangeNFXZ));
    setMIDInoteV_(pick(MIDInoteVX, MIDInoteVXZ));
    setMIDIvelocityV_(pick(MIDIvelocityVX, MIDIvelocityVXZ));
    setMIDIchannelV_(pick(MIDIchannelVX, MIDIchannelVXZ));
    setMIDIprogramchangeV_(pick(MIDIprogramchangeVX, MIDIprogramchangeVXZ));
    setMIDIpitchbendV_(pick(MIDIpitchbendVX, MIDIpitchbendVXZ));
    setMIDIcontrolchangeVV_(pick(MIDIcontrolchangeVVX, MIDIcontrolchangeVVXZ));
    setMIDIcontrolchangeNV_(pick(MIDIcontrolchangeNVX, MIDIcontrolchangeNVXZ));
    if (committed) {
        // Cancel puts the committed values back through the setters.
        mapper.setLowFSlider_(LowFXZ[n]);
        mapper.setHighFSlider_(HighFXZ[n]);
        mapper.setLowFNSlider_(LowFNXZ[n]);
        mapper.setHighFNSlider_(HighFNXZ[n]);
        mapper.setLowVSlider_(LowVXZ[n]);
        mapper.setHighVSlider_(HighVXZ[n]);
        mapper.setLowVNSlider_(LowVNXZ[n]);
        mapper.setHighVNSlider_(HighVNXZ[n]);
        mapper.setInputFSlider_(InputFXZ[n]);
        mapper.setInputVSlider_(InputVXZ[n]);
        mapper.setInputFrequencyRange_(InputFrequencyRangeXZ[n]);
        mapper.setUsePeakMode_(UsePeakModeXZ[n]);
    } else {
        // Showing a setup changes none of its values: the ranges, inputs, outputs and source mode are
        // shown as stored, not put through the setters (which remap the outputs and start V at 50).
        mapper.showSetupValues(n);
        mapper.showText(O::displayHereNUPOdataChannel, dataChannelText(NUPOchannelX[n]));
    }
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::setMIDIsetupWindow(int n)
{
    loadSetupIntoPanel(n, false);
}

void PeakSetupEditor::setMIDIsetupWindowZ(int n)
{
    loadSetupIntoPanel(n, true);
}

void PeakSetupEditor::Set(QObject*)
{
    setSet_(0);
}

void PeakSetupEditor::setSet_(int)
{
    const int s = shownPeakSetup();
    commitPeakSetup(s, mapper.midiPortReturn(s));
    setMIDIsetupWindow(s);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::Cancel(QObject*)
{
    setCancel_(0);
}

void PeakSetupEditor::setCancel_(int)
{
    const int s = shownPeakSetup();
    revertPeakSetup(s);
    setMIDIsetupWindowZ(s);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::Solo(QObject* sender)
{
    setSolo_(senderIntValue(sender));
}

void PeakSetupEditor::setSolo_(int value)
{
    setSoloX = value;
    if (value != 0)
        setMIDIoff_(1);
}

void PeakSetupEditor::MIDIoff(QObject* sender)
{
    setMIDIoff_(senderIntValue(sender));
}

void PeakSetupEditor::setMIDIoff_(int)
{
    mapper.sendMidiShutDown();
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::ResetMIDI(QObject* sender)
{
    setResetMIDI_(senderIntValue(sender));
}

void PeakSetupEditor::setResetMIDI_(int)
{
    mapper.sendsetMIDIRestart();
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::setONMIDIout(QObject*)
{
    mapper.sendMidiBackON();
}

void PeakSetupEditor::setOFFMIDIout(QObject*)
{
    mapper.sendMidiTemporalyOFF();
}

void PeakSetupEditor::setMIDIInstrument(QObject*)
{
    setProgramChangeToAllSetupA();
}

void PeakSetupEditor::MIDIoutON(QObject* sender)
{
    setMIDIoutON_(senderIntValue(sender));
}

void PeakSetupEditor::setMIDIoutON_(int value)
{
    mapper.showState(O::setMIDIoutON, value);
    MIDIoutONX[shownPeakSetup()] = value;
    SetMIDI::wakeWorker();
    if (value == 0)
        setMIDIoff_(1);
    else
        setMIDIchannel(0);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::setMIDIoutTempON(int value)
{
    const int s = shownPeakSetup();
    if (value == 0) {
        MIDIoutTempOX = MIDIoutONX[s].load();
        if (MIDIoutONX[s] != 0)
            setMIDIoff_(1);
    } else {
        MIDIoutONX[s] = MIDIoutTempOX.load();
        SetMIDI::wakeWorker();
    }
    mapper.showState(O::setMIDIoutON, MIDIoutONX[s]);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::selectMIDIchannel(QObject* sender)
{
    mapper.showText(O::displayHereMIDIchannel, senderSelectedTitle(sender));
    MIDIchannelX[shownPeakSetup()] = std::clamp(senderSelectedIndex(sender), 0, 15);
    setMIDIchannel(0);
}

void PeakSetupEditor::setMIDIchannel(int)
{
    mapper.showChannelOnly();
    setProgramChange(0);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::SetMIDIchannel(QObject* sender)
{
    setMIDIoutTempON(0);
    MIDIchannelX[shownPeakSetup()] = std::clamp(senderIntValue(sender), 0, 15);
    setSetMIDIchannel_(0);
    setMIDIoutTempON(1);
}

void PeakSetupEditor::setSetMIDIchannel_(int)
{
    setMIDIchannel(0);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::sendTextMIDIchannelField(QObject* sender)
{
    const int shown = std::clamp(senderIntValue(sender), 1, 16);
    mapper.showText(O::displayHereMIDIchannel, QString::number(shown));
    MIDIchannelX[shownPeakSetup()] = shown - 1;
    mapper.selectItem(O::popupMIDIchannel, shown - 1);
    mapper.showState(O::setSetMIDIchannel, shown - 1);
    setMIDIchannel(0);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::selectProgramChange(QObject* sender)
{
    mapper.showText(O::displayHereInstrument, senderSelectedTitle(sender));
    ProgramChangeXXX[shownPeakSetup()] = std::clamp(senderSelectedIndex(sender), 0, 127);
    setProgramChange(0);
}

void PeakSetupEditor::setProgramChange(int)
{
    setMIDIoutTempON(0);
    const int s = shownPeakSetup();
    const int program = ProgramChangeXXX[s];
    mapper.selectItem(O::popupProgramChange, program);
    mapper.showText(O::displayHereMIDIprogramchange, QString::number(program));
    mapper.showState(O::setSetMIDIprogramC, program);
    mapper.sendMidiCprogram(program, s, MIDIchannelX[s], mapper.midiPortReturn(s), 1);
    setMIDIoutTempON(1);
}

void PeakSetupEditor::SetMIDIprogramC(QObject* sender)
{
    ProgramChangeXXX[shownPeakSetup()] = std::clamp(senderIntValue(sender), 0, 127);
    setSetMIDIprogramC_(0);
}

void PeakSetupEditor::setSetMIDIprogramC_(int)
{
    setProgramChange(0);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::sendTextMIDIprogramchangeField(QObject* sender)
{
    const int program = std::clamp(senderIntValue(sender), 0, 127);
    mapper.showText(O::displayHereMIDIprogramchange, QString::number(program));
    ProgramChangeXXX[shownPeakSetup()] = program;
    mapper.selectItem(O::popupProgramChange, program);
    mapper.showState(O::setSetMIDIprogramC, program);
    setProgramChange(0);
    mapper.showText(O::displayHereInstrument, QStringLiteral(": "));
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::setProgramChangeToAllSetup()
{
    for (int n = 0; n < maxSetupNumber; ++n) {
        if (MIDIoutONX[n] != 1)
            continue;
        setSetupN(n);
        mapper.sendMidiCprogram(ProgramChangeXXX[n], n, MIDIchannelX[n], mapper.midiPortReturn(n), 0);
        mapper.sendMidiOutOnOff(60, 60, n, MIDIchannelX[n], mapper.midiPortReturn(n), 60, 0);
    }
}

void PeakSetupEditor::setProgramChangeToAllSetupA()
{
    setProgramChangeToAllSetup();
}

void PeakSetupEditor::Instrument(QObject* sender)
{
    setInstrument_(senderIntValue(sender));
}

void PeakSetupEditor::setInstrument_(int value)
{
    mapper.showState(O::setInstrument, value);
    const int s = shownPeakSetup();
    // The picker starts on the program the panel shows for the setup.
    bool chosen = false;
    const int program =
        QXMidiPort::sharedQXMidiPort().setInstrumentN(MIDIchannelX[s], ProgramChangeXXX[s], &chosen);
    const int channel = MIDIchannelX[s] >= 0 && MIDIchannelX[s] < synthChannels ? MIDIchannelX[s].load() : 0;
    const QString name = (QStringLiteral(": ") + mProgramText[channel]).left(instrumentTextLength);
    mapper.showText(O::displayHereInstrument, name);
    // A cancelled pick leaves the setup's instrument and program change as they were.
    if (!chosen) {
        mapper.setNeedsDisplay();
        return;
    }
    InstrumentNumber = std::clamp(program, 0, 127);
    ProgramChangeXXX[s] = InstrumentNumber.load();
    setProgramChange(0);
    mapper.showText(O::displayHereInstrument, name);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::selectBSchannel(QObject* sender)
{
    const int slot = std::clamp(senderSelectedIndex(sender), 0, 8);
    BSchannelX[shownPeakSetup()] = slot;
    setBSchannel(slot);
}

void PeakSetupEditor::setBSchannel(int value)
{
    mapper.selectItem(O::popupBSchannel, value);
    mapper.showState(O::setSetBSCH, value);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::SetBSCH(QObject* sender)
{
    const int slot = std::clamp(senderIntValue(sender), 0, 8);
    BSchannelX[shownPeakSetup()] = slot;
    setSetBSCH_(slot);
}

void PeakSetupEditor::setSetBSCH_(int value)
{
    setBSchannel(value);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::selectNUPOchannel(QObject* sender)
{
    mapper.showText(O::displayHereNUPOdataChannel, senderSelectedTitle(sender));
    const int channel = senderSelectedIndex(sender);
    NUPOchannelX[shownPeakSetup()] = channel;
    NUPOchannelXP = channel;
    setNUPOchannel(channel);
}

void PeakSetupEditor::setNUPOchannel(int value)
{
    mapper.selectItem(O::popupNUPOchannel, value);
    if (value > 3)
        mapper.setUsePeakMode_(3);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::selectSendMIDItiming(QObject* sender)
{
    const int index = senderSelectedIndex(sender);
    SendMIDItimingX[shownPeakSetup()] = index;
    tlongX[shownPeakSetup()] = mapper.SetMIDItiming(index);
    setSendMIDItiming(index);
}

void PeakSetupEditor::setSendMIDItiming(int index)
{
    static const int tempos[13] = {480, 480, 240, 120, 110, 100, 90, 80, 70, 60, 30, 20, 15};
    mapper.selectItem(O::popupSendMIDItiming, index);
    if (index >= 0 && index <= 12) {
        mapper.showState(O::setTempoSlider, tempos[index]);
        mapper.showText(O::displayHereTempo,
                        index == 0 ? QStringLiteral("max") : QString::number(tempos[index]));
    } else if (index == 13) {
        const float tempo = TempoX[shownPeakSetup()];
        mapper.showState(O::setTempoSlider, tempo);
        mapper.showText(O::displayHereTempo, QString::number(tempo));
    }
    mapper.setFieldFormat(O::TempoField, 3, 3);
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::setFlag(SetupArray<int>& field, SetMIDIOutlet outlet, int value)
{
    mapper.showState(outlet, value);
    field[shownPeakSetup()] = value;
    SetMIDI::wakeWorker();
    mapper.setNeedsDisplay();
}

void PeakSetupEditor::UseQTMIDI(QObject* sender)
{
    setUseQTMIDI_(senderIntValue(sender));
}

void PeakSetupEditor::setUseQTMIDI_(int value)
{
    setFlag(UseQTMIDIX, O::setUseQTMIDI, value);
}

void PeakSetupEditor::Play3Peaks(QObject* sender)
{
    setPlay3Peaks_(senderIntValue(sender));
}

void PeakSetupEditor::setPlay3Peaks_(int value)
{
    setMIDIoff_(1);
    setFlag(Play3PeaksX, O::setPlay3Peaks, value);
}

void PeakSetupEditor::ONInput(QObject* sender)
{
    setONInput_(senderIntValue(sender));
}

void PeakSetupEditor::setONInput_(int value)
{
    setFlag(ONInputX, O::setONInput, value);
}

void PeakSetupEditor::PlayOnlyNoteChanged(QObject* sender)
{
    setPlayOnlyNoteChanged_(senderIntValue(sender));
}

void PeakSetupEditor::setPlayOnlyNoteChanged_(int value)
{
    setFlag(PlayOnlyNoteChangedX, O::setPlayOnlyNoteChanged, value);
}

void PeakSetupEditor::NoteOnOff(QObject* sender)
{
    const int value = senderIntValue(sender);
    setNoteOnOff_(value);
    setNoteOffOn_(value == 0 ? 1 : 0);
}

void PeakSetupEditor::setNoteOnOff_(int value)
{
    setFlag(NoteOnOffX, O::setNoteOnOff, value);
}

void PeakSetupEditor::NoteOffOn(QObject* sender)
{
    const int value = senderIntValue(sender);
    setNoteOffOn_(value);
    setNoteOnOff_(value == 0 ? 1 : 0);
}

void PeakSetupEditor::setNoteOffOn_(int value)
{
    setFlag(NoteOffOnX, O::setNoteOffOn, value);
}

void PeakSetupEditor::PeakPower(QObject* sender)
{
    setPeakPower_(senderIntValue(sender));
}

void PeakSetupEditor::setPeakPower_(int value)
{
    setFlag(PeakPowerX, O::setPeakPower, value);
    const int opposite = value != 0 ? 0 : 1;
    AveragePowerX[shownPeakSetup()] = opposite;
    mapper.showState(O::setAveragePower, opposite);
}

void PeakSetupEditor::AveragePower(QObject* sender)
{
    setAveragePower_(senderIntValue(sender));
}

void PeakSetupEditor::setAveragePower_(int value)
{
    setFlag(AveragePowerX, O::setAveragePower, value);
    const int opposite = value != 0 ? 0 : 1;
    PeakPowerX[shownPeakSetup()] = opposite;
    mapper.showState(O::setPeakPower, opposite);
}

void PeakSetupEditor::SmallWindow(QObject* sender)
{
    setSmallWindow_(senderIntValue(sender));
}

void PeakSetupEditor::setSmallWindow_(int value)
{
    mapper.showState(O::setSmallWindow, value);
    mapper.smallWindowChanged(value);
}

void PeakSetupEditor::MIDInoteF(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &PeakSetupEditor::setMIDInoteF_, &PeakSetupEditor::setMIDInoteV_,
                  &PeakSetupEditor::setMIDIvelocityF_, &PeakSetupEditor::setMIDIvelocityV_);
}

void PeakSetupEditor::MIDIvelocityF(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &PeakSetupEditor::setMIDIvelocityF_,
                  &PeakSetupEditor::setMIDIvelocityV_, &PeakSetupEditor::setMIDInoteF_,
                  &PeakSetupEditor::setMIDInoteV_);
}

void PeakSetupEditor::MIDInoteV(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &PeakSetupEditor::setMIDInoteV_, &PeakSetupEditor::setMIDInoteF_,
                  &PeakSetupEditor::setMIDIvelocityV_, &PeakSetupEditor::setMIDIvelocityF_);
}

void PeakSetupEditor::MIDIvelocityV(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &PeakSetupEditor::setMIDIvelocityV_,
                  &PeakSetupEditor::setMIDIvelocityF_, &PeakSetupEditor::setMIDInoteV_,
                  &PeakSetupEditor::setMIDInoteF_);
}

void PeakSetupEditor::MIDIcontrolchangeVF(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &PeakSetupEditor::setMIDIcontrolchangeVF_,
                  &PeakSetupEditor::setMIDIcontrolchangeVV_, &PeakSetupEditor::setMIDIcontrolchangeNF_,
                  &PeakSetupEditor::setMIDIcontrolchangeNV_);
}

void PeakSetupEditor::MIDIcontrolchangeNF(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &PeakSetupEditor::setMIDIcontrolchangeNF_,
                  &PeakSetupEditor::setMIDIcontrolchangeNV_, &PeakSetupEditor::setMIDIcontrolchangeVF_,
                  &PeakSetupEditor::setMIDIcontrolchangeVV_);
}

void PeakSetupEditor::MIDIcontrolchangeVV(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &PeakSetupEditor::setMIDIcontrolchangeVV_,
                  &PeakSetupEditor::setMIDIcontrolchangeVF_, &PeakSetupEditor::setMIDIcontrolchangeNV_,
                  &PeakSetupEditor::setMIDIcontrolchangeNF_);
}

void PeakSetupEditor::MIDIcontrolchangeNV(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &PeakSetupEditor::setMIDIcontrolchangeNV_,
                  &PeakSetupEditor::setMIDIcontrolchangeNF_, &PeakSetupEditor::setMIDIcontrolchangeVV_,
                  &PeakSetupEditor::setMIDIcontrolchangeVF_);
}

void PeakSetupEditor::MIDIchannelF(QObject* sender)
{
    setMIDIchannelF_(senderIntValue(sender));
}

void PeakSetupEditor::MIDIprogramchangeF(QObject* sender)
{
    setMIDIprogramchangeF_(senderIntValue(sender));
}

void PeakSetupEditor::MIDIpitchbendF(QObject* sender)
{
    setMIDIpitchbendF_(senderIntValue(sender));
}

void PeakSetupEditor::MIDIchannelV(QObject* sender)
{
    setMIDIchannelV_(senderIntValue(sender));
}

void PeakSetupEditor::MIDIprogramchangeV(QObject* sender)
{
    setMIDIprogramchangeV_(senderIntValue(sender));
}

void PeakSetupEditor::MIDIpitchbendV(QObject* sender)
{
    setMIDIpitchbendV_(senderIntValue(sender));
}

void PeakSetupEditor::setMIDInoteF_(int v)
{
    setFlag(MIDInoteFX, O::setMIDInoteF, v);
}

void PeakSetupEditor::setMIDIvelocityF_(int v)
{
    setFlag(MIDIvelocityFX, O::setMIDIvelocityF, v);
}

void PeakSetupEditor::setMIDIchannelF_(int v)
{
    setFlag(MIDIchannelFX, O::setMIDIchannelF, v);
}

void PeakSetupEditor::setMIDIprogramchangeF_(int v)
{
    setFlag(MIDIprogramchangeFX, O::setMIDIprogramchangeF, v);
}

void PeakSetupEditor::setMIDIpitchbendF_(int v)
{
    setFlag(MIDIpitchbendFX, O::setMIDIpitchbendF, v);
}

void PeakSetupEditor::setMIDIcontrolchangeVF_(int v)
{
    setFlag(MIDIcontrolchangeVFX, O::setMIDIcontrolchangeVF, v);
}

void PeakSetupEditor::setMIDIcontrolchangeNF_(int v)
{
    setFlag(MIDIcontrolchangeNFX, O::setMIDIcontrolchangeNF, v);
}

void PeakSetupEditor::setMIDInoteV_(int v)
{
    setFlag(MIDInoteVX, O::setMIDInoteV, v);
}

void PeakSetupEditor::setMIDIvelocityV_(int v)
{
    setFlag(MIDIvelocityVX, O::setMIDIvelocityV, v);
}

void PeakSetupEditor::setMIDIchannelV_(int v)
{
    setFlag(MIDIchannelVX, O::setMIDIchannelV, v);
}

void PeakSetupEditor::setMIDIprogramchangeV_(int v)
{
    setFlag(MIDIprogramchangeVX, O::setMIDIprogramchangeV, v);
}

void PeakSetupEditor::setMIDIpitchbendV_(int v)
{
    setFlag(MIDIpitchbendVX, O::setMIDIpitchbendV, v);
}

void PeakSetupEditor::setMIDIcontrolchangeVV_(int v)
{
    setFlag(MIDIcontrolchangeVVX, O::setMIDIcontrolchangeVV, v);
}

void PeakSetupEditor::setMIDIcontrolchangeNV_(int v)
{
    setFlag(MIDIcontrolchangeNVX, O::setMIDIcontrolchangeNV, v);
}

void PeakSetupEditor::pairedRouting(int value, void (PeakSetupEditor::*own)(int),
                                    void (PeakSetupEditor::*sameRoleOther)(int),
                                    void (PeakSetupEditor::*otherRoleOwn)(int),
                                    void (PeakSetupEditor::*otherRoleOther)(int))
{
    (this->*own)(value);
    if (value != 1)
        return;
    (this->*sameRoleOther)(0);
    (this->*otherRoleOwn)(0);
    (this->*otherRoleOther)(1);
}

}  // namespace nupo
