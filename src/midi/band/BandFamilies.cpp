#include "midi/band/BandFamilies.h"

#include "midi/band/BrainSwitchLink.h"
#include "midi/band/SetMIDIband.h"
#include "midi/common/DataChannels.h"
#include "midi/common/LinearMap.h"
#include "midi/common/SenderValue.h"
#include "shared/CoreState.h"

#include <algorithm>

namespace nupo {

namespace {

using O = BandOutlet;

bool validBand(int band)
{
    return band >= 1 && band <= bandCount;
}

std::size_t indexOf(int band)
{
    return std::size_t(band - 1);
}

QString formatted(double value)
{
    return QString::number(value, 'f', 3);
}

}  // namespace

void BandFamilies::changeEdge(int band, bool upper, QObject* sender)
{
    setEdge(band, upper, senderFloatValue(sender));
    link(band, upper);
}

void BandFamilies::sendTextEdge(int band, bool upper, QObject* sender)
{
    const float hz = senderFloatValue(sender);
    mapper.showText(upper ? O::displayHereHighFSliderBand : O::displayHereLowFSliderBand, band,
                    formatted(hz));
    setEdge(band, upper, hz);
    link(band, upper);
    mapper.setNeedsDisplay();
}

void BandFamilies::setEdge(int band, bool upper, float hz)
{
    if (!validBand(band))
        return;
    const int s = shownBandSetup();
    mapper.showState(upper ? O::setHighFSliderBand : O::setLowFSliderBand, band, hz);
    SetupArray<float>& edge = (upper ? HighFbandX : LowFbandX)[indexOf(band)];
    edge[s] = hz;
    mapper.showText(upper ? O::displayHereHighFSliderBand : O::displayHereLowFSliderBand, band,
                    formatted(edge[s]));
    mapper.setFieldFormat(upper ? O::HighFSliderFieldBand : O::LowFSliderFieldBand, band);
    mapper.setNeedsDisplay();
}

void BandFamilies::link(int band, bool upper)
{
    const int s = shownBandSetup();
    if (!validBand(band) || UsePeakModeEX[s] == 0)
        return;
    linkBandEdge(NUPOchannelEX[s], band, upper, (upper ? HighFbandX : LowFbandX)[indexOf(band)][s]);
}

void BandFamilies::changeBandValue(int band, QObject* sender)
{
    bandValue(band, senderFloatValue(sender), true);
}

void BandFamilies::showNote(int band, float value)
{
    const float product = value * gainNoteX[shownBandSetup()];
    mapper.showText(O::bandNoteFieldBand, band, QString::number(truncatedValue(product)));
}

void BandFamilies::bandValue(int band, float value, bool store)
{
    if (!validBand(band))
        return;
    const int s = shownBandSetup();
    mapper.showState(O::BScountLevelBand, band, value);
    if (store)
        bandOutX[indexOf(band)][s] = value;
    const float shown = store ? bandOutX[indexOf(band)][s].load() : value;
    mapper.showText(O::displayHerebandBand, band, formatted(shown));
    mapper.setFieldFormat(O::bandFieldBand, band);
    showNote(band, shown);
    mapper.setNeedsDisplay();
}

void BandFamilies::changeGain(QObject* sender)
{
    setGain(senderFloatValue(sender));
}

void BandFamilies::setGain(float gain)
{
    const int s = shownBandSetup();
    mapper.showState(O::GainNoteSlider, 0, gain);
    gainNoteX[s] = gain;
    for (int b = 1; b <= bandCount; ++b)
        showNote(b, bandOutX[indexOf(b)][s]);
    mapper.setNeedsDisplay();
}

void BandFamilies::selectChannel(int band, QObject* sender)
{
    setChannel(band, senderSelectedIndex(sender));
}

void BandFamilies::sendTextChannel(int band, QObject* sender)
{
    const int typed = senderIntValue(sender);
    setChannel(band, typed <= 0 ? 0 : typed - 1);  // typed 1-based
    mapper.setNeedsDisplay();
}

void BandFamilies::setChannel(int band, int channel)
{
    if (!validBand(band))
        return;
    channel = std::clamp(channel, 0, 15);
    MIDIchannelBandX[indexOf(band)][shownBandSetup()] = channel;
    mapper.selectItem(O::popupMIDIchannelBand, band, channel);
    mapper.showText(O::displayHereMIDIchannelBand, band, QString::number(channel + 1));
    mapper.showState(O::setSetMIDIchannelBand, band, channel);
    mapper.setNeedsDisplay();
}

void BandFamilies::stepChannel(int band, int channel)
{
    setChannel(band, channel);
    mapper.setNeedsDisplay();
}

void BandFamilies::stepChannel(int band, QObject* sender)
{
    stepChannel(band, senderIntValue(sender));
}

void BandFamilies::sendTextSetupNinputField(QObject* sender)
{
    const int number = std::clamp(senderIntValue(sender), 1, maxSetupNumber);
    const QString shown = QString::number(number);
    mapper.showText(O::displayHereSetupNinput, 0, shown);
    SetupBandNX = number - 1;
    mapper.selectItem(O::popupSetupN, 0, number - 1);
    mapper.showState(O::setSetCountX, 0, number - 1);
    mapper.setMIDIsetupWindow(number - 1);
    mapper.showText(O::displayHereSetupNstring, 0, shown);
    mapper.showText(O::displayHereSetupN, 0, QString::number(SetupBandNX + 1));
    mapper.setNeedsDisplay();
}

void BandFamilies::sendTextSetupNstringField(QObject* sender)
{
    const int s = shownBandSetup();
    const QString name = storedBandSetupName(senderSelectedTitle(sender));
    mapper.showText(O::displayHereSetupNstring, 0, name);
    mapper.replaceItem(O::popupSetupN, 0, s, name);
    mapper.selectItem(O::popupSetupN, 0, s);
    strEX[std::size_t(s)] = name;
    mapper.setSetupPopup();
    mapper.setNeedsDisplay();
}

void BandFamilies::needUpdateInputBandDataQ()
{
    const int s = shownBandSetup();
    for (int b = 1; b <= bandCount; ++b)
        bandValue(b, bandOutX[indexOf(b)][s], false);
    mapper.setNeedsDisplay();
}

void BandFamilies::awaken()
{
    const int s = shownBandSetup();
    QStringList ports;
    for (int i = 1; i <= 12; ++i)
        ports.append(QStringLiteral("MIDI port %1").arg(i));
    mapper.setItems(O::popupMIDIport, 0, ports);
    mapper.setItems(
        O::popupSendMIDItiming, 0,
        {"realtime", "every 0.1 second", "every 0.2 second", "every 0.5 second", "every 1 second"});
    mapper.selectItem(O::popupSendMIDItiming, 0, SendMIDItimingEX[s]);
    QStringList channels;
    for (int c = 1; c <= 16; ++c)
        channels.append(QString::number(c));
    for (int b = 1; b <= bandCount; ++b) {
        mapper.setItems(O::popupMIDIchannelBand, b, channels);
        mapper.selectItem(O::popupMIDIchannelBand, b, MIDIchannelBandX[indexOf(b)][s]);
    }
    mapper.setItems(O::popupBSchannel, 0, channels.mid(0, 8));
    mapper.selectItem(O::popupBSchannel, 0, BSchannelEX[s]);
    mapper.setItems(O::popupNUPOchannel, 0, dataChannelItems(DeviceConfig));
    mapper.selectItem(O::popupNUPOchannel, 0, NUPOchannelEX[s]);
    if (itsOpendE == 0) {
        mapper.setSetToDefault_(1);
        if (itsOpend == 0)
            mapper.setResetMIDI_(1);
        itsOpendE = 1;
    }
    mapper.setSetupPopup();
    mapper.selectItem(O::popupSetupN, 0, shownBandSetup());
    mapper.setGetOutMIDIPort();
    mapper.setMIDIsetupWindow(shownBandSetup());
}

}  // namespace nupo
