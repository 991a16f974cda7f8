#include "midi/band/BandPorts.h"

#include "midi/MidiOutput.h"
#include "midi/MidiPortList.h"
#include "midi/SenderValue.h"
#include "midi/band/SetMIDIband.h"

#include <algorithm>
#include <bitset>

namespace nupo {

namespace {

// Note-offs on the eight band channels of a setup, skipping (port, channel) pairs already silenced.
class Silencer {
public:
    void setup(int s)
    {
        const int port = BandPorts::midiPortReturn(s);
        for (std::size_t n = 0; n < bandCount; ++n) {
            const int channel = std::clamp(MIDIchannelBandX[n][s].load(), 0, 15);
            const std::size_t cell = std::size_t(std::clamp(port, 0, maxMidiDestinations - 1) * 16 + channel);
            if (done.test(cell))
                continue;
            done.set(cell);
            for (int note = 0; note < 128; ++note)
                MidiOutOff(note, s, channel, port, 0);
        }
    }

private:
    std::bitset<maxMidiDestinations * 16> done;
};

}  // namespace

int BandPorts::midiPortReturn(int setup)
{
    if (setup < 0 || setup >= maxSetupNumber)
        return 0;
    const int port = MIDIportEX[setup];
    return port >= 0 && port < findPortCountE ? port : 0;
}

void BandPorts::setCoreMIDI()
{
    mainMidi();
}

void BandPorts::setGetOutMIDIPort()
{
    mapper.setItems(BandOutlet::popupMIDIport, 0, listPortNames());
}

void BandPorts::convertPortNameToInt()
{
    setGetOutMIDIPort();
    const int count = findPortCountE;
    for (int s = 0; s < maxSetupNumber; ++s) {
        const auto found = std::find(strMIDIport.begin(), strMIDIport.end(), MIDIportEXstr[s]);
        if (found != strMIDIport.end())
            MIDIportEX[s] = int(found - strMIDIport.begin());
        else
            MIDIportEX[s] = count > 0 ? count - 1 : 0;
    }
}

void BandPorts::initPortStr()
{
    strMIDIport.fill(QStringLiteral("NUPO"));
    MIDIportEXstr.fill(QStringLiteral("NUPO"));
    MIDIportEXstrZ.fill(QStringLiteral("NUPO"));
}

void BandPorts::selectMIDIport(QObject* sender)
{
    const int s = shownBandSetup();
    const int index = senderSelectedIndex(sender);
    MIDIportEXstr[s] = storedBandSetupName(senderSelectedTitle(sender));
    MIDIportEX[s] = index;
    setMIDIport(index);
}

void BandPorts::setMIDIport(int index)
{
    mapper.setMIDIoff_(1);
    mapper.selectItem(BandOutlet::popupMIDIport, 0, index);
    mapper.showText(BandOutlet::displayHereMIDIoutPort, 0, MIDIportEXstr[shownBandSetup()]);
    mapper.setOutMIDIPort(midiPortReturn(shownBandSetup()));
    mapper.setNeedsDisplay();
}

void BandPorts::sendMidiShutDown()
{
    Silencer silencer;
    for (int s = 0; s < maxSetupNumber; ++s)
        if (MIDIoutONEX[s] == 1)
            silencer.setup(s);
    silencer.setup(shownBandSetup());
}

void BandPorts::sendMidiTemporalyOFF()
{
    Silencer silencer;
    for (int s = 0; s < maxSetupNumber; ++s) {
        MIDIoutONXTempBand[s] = MIDIoutONEX[s].load();
        if (MIDIoutONEX[s] == 1)
            silencer.setup(s);
    }
    silencer.setup(shownBandSetup());
    for (auto& on : MIDIoutONEX)
        on = 0;
}

void BandPorts::sendMidiBackON()
{
    for (int s = 0; s < maxSetupNumber; ++s)
        if (MIDIoutONXTempBand[s] == 1)
            MIDIoutONEX[s] = 1;
}

void BandPorts::sendsetMIDIRestart()
{
    setMIDIRestart();
    disposeMidi();
    setCoreMIDI();
    setGetOutMIDIPort();
    convertPortNameToInt();
    setMIDIport(midiPortReturn(shownBandSetup()));
}

}  // namespace nupo
