#include "midi/band/BandSetupEditor.h"

#include "analysis/BrainSwitch.h"
#include "midi/band/SetMIDIband.h"
#include "midi/common/DataChannels.h"
#include "midi/common/SenderValue.h"

#include <algorithm>

namespace nupo {

namespace {

using O = BandOutlet;

int clampedSetup(int n)
{
    return std::clamp(n, 0, maxSetupNumber - 1);
}

}  // namespace

void BandSetupEditor::setSetToDefault(int mode)
{
    if (setBrainrhythmMIDISetName == 0 && mode == 1 && setBrainrhythmMIDIOpend == 0) {
        setGetSetup();
        setBrainrhythmMIDIOpend = 1;
    }
    if (setBrainrhythmMIDIOpend == 0) {
        writeBandSetupDefaults();
        // The setups carry their numbers as names from the start, so that the panel's first opening,
        // which names them so, changes nothing.
        if (setBrainrhythmMIDISetName == 0)
            setGetSetup();
    }
    loadSetup(shownBandSetup(), false);
}

void BandSetupEditor::loadSetup(int n, bool committed)
{
    n = clampedSetup(n);
    auto pick = [committed, n](const SetupArray<int>& x, const SetupArray<int>& xz) {
        return committed ? xz[n].load() : x[n].load();
    };
    // The edited copy is shown as it stands: a coherence pair's band source, the power pair and the band
    // edges, which the band source's setter would take from the committed copy or the brain switches,
    // stay as stored.
    if (committed)
        mapper.setNUPOchannel(NUPOchannelEXZ[n]);
    else
        mapper.selectItem(O::popupNUPOchannel, 0, NUPOchannelEX[n]);
    mapper.setMIDIport(committed ? MIDIportEXZ[n].load() : mapper.midiPortReturn(n));
    mapper.setBSchannel(pick(BSchannelEX, BSchannelEXZ));
    mapper.setMIDIoutON_(pick(MIDIoutONEX, MIDIoutONEXZ));
    mapper.setNoteOnOff_(pick(NoteOnOffEX, NoteOnOffEXZ));
    mapper.setNoteOffOn_(pick(NoteOffOnEX, NoteOffOnEXZ));
    if (committed) {
        mapper.setPeakPower_(PeakPowerEXZ[n]);
        mapper.setAveragePower_(AveragePowerEXZ[n]);
    } else {
        mapper.showState(O::setPeakPower, 0, PeakPowerEX[n]);
        mapper.showState(O::setAveragePower, 0, AveragePowerEX[n]);
    }
    mapper.setONInput_(pick(ONInputEX, ONInputEXZ));
    mapper.setSendMIDItiming(pick(SendMIDItimingEX, SendMIDItimingEXZ));
    BandFamilies& families = mapper.bandFamilies();
    for (int b = 1; b <= bandCount; ++b)
        families.setChannel(
            b, pick(MIDIchannelBandX[std::size_t(b - 1)], MIDIchannelBandXZ[std::size_t(b - 1)]));
    families.setGain(committed ? gainNoteXZ[n].load() : gainNoteX[n].load());
    for (std::size_t i = 0; i < bandCount; ++i) {
        families.setEdge(int(i) + 1, false, committed ? LowFbandXZ[i][n].load() : LowFbandX[i][n].load());
        families.setEdge(int(i) + 1, true, committed ? HighFbandXZ[i][n].load() : HighFbandX[i][n].load());
    }
    for (std::size_t i = 0; i < bandCount; ++i)
        families.bandValue(int(i) + 1, committed ? bandOutXZ[i][n].load() : bandOutX[i][n].load(), true);
    if (committed) {
        mapper.setUsePeakMode_(UsePeakModeEXZ[n]);
    } else {
        showUsePeakMode(UsePeakModeEX[n]);
        mapper.showText(O::displayHereNUPOdataChannel, 0, dataChannelText(NUPOchannelEX[n]));
    }
    mapper.setNeedsDisplay();
}

void BandSetupEditor::setSet()
{
    const int s = shownBandSetup();
    commitBandSetup(s, mapper.midiPortReturn(s));
    mapper.setNeedsDisplay();
}

void BandSetupEditor::setCancel()
{
    const int s = shownBandSetup();
    revertBandSetup(s);
    loadSetup(s, false);
    mapper.setNeedsDisplay();
}

void BandSetupEditor::setSetupN(int n)
{
    n = clampedSetup(n);
    SetupBandNX = n;
    mapper.setMIDIoff_(1);
    mapper.selectItem(O::popupSetupN, 0, n);
    loadSetup(n, false);
    const QString number = QString::number(n + 1);
    mapper.showText(O::displayHereSetupN, 0, number);
    mapper.showText(O::displayHereSetupNinput, 0, number);
    mapper.showText(O::displayHereSetupNstring, 0, number);
    mapper.showState(O::setSetCountX, 0, n);
    mapper.setNeedsDisplay();
}

void BandSetupEditor::selectSetupN(QObject* sender)
{
    setSetupN(clampedSetup(senderSelectedIndex(sender)));
}

void BandSetupEditor::SetCount(QObject* sender)
{
    SetupBandNX = clampedSetup(senderIntValue(sender));
    setSetCount();
}

void BandSetupEditor::setSetCount()
{
    setSetupN(SetupBandNX);
    mapper.setNeedsDisplay();
}

void BandSetupEditor::setMIDIoutON(int value)
{
    mapper.showState(O::setMIDIoutON, 0, value);
    MIDIoutONEX[shownBandSetup()] = value;
    SetMIDIband::wakeWorker();
    if (value == 0)
        mapper.setMIDIoff_(1);
    mapper.setNeedsDisplay();
}

void BandSetupEditor::setONInput(int value)
{
    mapper.showState(O::setONInput, 0, value);
    ONInputEX[shownBandSetup()] = value;
    SetMIDIband::wakeWorker();
    mapper.setNeedsDisplay();
}

void BandSetupEditor::setNoteOnOff(int value)
{
    mapper.showState(O::setNoteOnOff, 0, value);
    NoteOnOffEX[shownBandSetup()] = value;
    mapper.setNeedsDisplay();
}

void BandSetupEditor::setNoteOffOn(int value)
{
    mapper.showState(O::setNoteOffOn, 0, value);
    NoteOffOnEX[shownBandSetup()] = value;
    mapper.setNeedsDisplay();
}

void BandSetupEditor::NoteOnOff(QObject* sender)
{
    const int value = senderIntValue(sender);
    setNoteOnOff(value);
    setNoteOffOn(value == 0 ? 1 : 0);
}

void BandSetupEditor::NoteOffOn(QObject* sender)
{
    const int value = senderIntValue(sender);
    setNoteOffOn(value);
    setNoteOnOff(value == 0 ? 1 : 0);
}

void BandSetupEditor::setPeakPower(int value)
{
    choosePower(value, value == 0 ? 1 : 0);
}

void BandSetupEditor::setAveragePower(int value)
{
    choosePower(value == 0 ? 1 : 0, value);
}

void BandSetupEditor::choosePower(int peak, int average)
{
    const int s = shownBandSetup();
    mapper.showState(O::setPeakPower, 0, peak);
    PeakPowerEX[s] = peak;
    mapper.showState(O::setAveragePower, 0, average);
    AveragePowerEX[s] = average;
    mapper.setNeedsDisplay();
}

void BandSetupEditor::setChannelsFrom(int first)
{
    for (int b = 1; b <= bandCount; ++b)
        mapper.bandFamilies().setChannel(b, first + b - 1);
    mapper.setNeedsDisplay();
}

void BandSetupEditor::selectSendMIDItiming(QObject* sender)
{
    const int index = senderSelectedIndex(sender);
    SendMIDItimingEX[shownBandSetup()] = index;
    setSendMIDItiming(index);
}

void BandSetupEditor::setSendMIDItiming(int index)
{
    mapper.selectItem(O::popupSendMIDItiming, 0, index);
    mapper.setNeedsDisplay();
}

void BandSetupEditor::selectBSchannel(QObject* sender)
{
    setBSchannel(senderSelectedIndex(sender));
}

void BandSetupEditor::setBSchannel(int index)
{
    BSchannelEX[shownBandSetup()] = index;
    mapper.selectItem(O::popupBSchannel, 0, index);
    mapper.showState(O::setSetBSCH, 0, index);
    mapper.setNeedsDisplay();
}

void BandSetupEditor::setSetBSCH(int value)
{
    setBSchannel(value);
    mapper.setNeedsDisplay();
}

void BandSetupEditor::selectNUPOchannel(QObject* sender)
{
    const int index = senderSelectedIndex(sender);
    mapper.showText(O::displayHereNUPOdataChannel, 0, senderSelectedTitle(sender));
    NUPOchannelEX[shownBandSetup()] = index;
    setNUPOchannel(index);
}

void BandSetupEditor::setNUPOchannel(int index)
{
    mapper.selectItem(O::popupNUPOchannel, 0, index);
    if (index > 3)
        setUsePeakMode(1);
    mapper.setNeedsDisplay();
}

void BandSetupEditor::setUsePeakMode(int mode)
{
    const int s = shownBandSetup();
    UsePeakModeEX[s] = mode;
    showUsePeakMode(mode);
    if (mode == 0) {
        for (std::size_t i = 0; i < bandCount; ++i) {
            mapper.bandFamilies().setEdge(int(i) + 1, false, LowFbandXZ[i][s]);
            mapper.bandFamilies().setEdge(int(i) + 1, true, HighFbandXZ[i][s]);
        }
    } else if (mode == 1) {
        commitBandEdges(s);
        setSliderFromBS();
    }
    mapper.setNeedsDisplay();
}

void BandSetupEditor::showUsePeakMode(int mode)
{
    mapper.selectItem(O::setUsePeakMode, 0, mode);
    if (mode == 0 || mode == 1) {
        for (int b = 1; b <= bandCount; ++b)
            mapper.setShown(O::BSTextBand, b, mode == 1);
    }
}

void BandSetupEditor::selectUsePeakMode(QObject* sender)
{
    setUsePeakMode(senderSelectedTag(sender));
}

void BandSetupEditor::setSliderFromBS()
{
    const int source = NUPOchannelEX[shownBandSetup()];
    if (source < 0 || source > 9)
        return;
    for (int b = 1; b <= bandCount; ++b) {
        const BrainSwitchWindow window = brainSwitchWindow(source, b);
        mapper.bandFamilies().setEdge(b, false, window.lowHz);
        mapper.bandFamilies().setEdge(b, true, window.highHz);
    }
}

void BandSetupEditor::setGetSetup()
{
    for (int s = 0; s < maxSetupNumber; ++s)
        strEX[std::size_t(s)] = QString::number(s + 1);
    setSetupPopup();
}

void BandSetupEditor::setSetupPopup()
{
    mapper.setItems(O::popupSetupN, 0, QStringList(strEX.begin(), strEX.end()));
    mapper.selectItem(O::popupSetupN, 0, shownBandSetup());
    mapper.setNeedsDisplay();
}

}  // namespace nupo
