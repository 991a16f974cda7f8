#include "midi/common/MidiSetupOutputs.h"

#include "midi/output/MidiOutput.h"

#include <algorithm>
#include <utility>

namespace nupo {

MidiSetupOutputs::MidiSetupOutputs(Arrays arrays, ShownPort shownPort, NotesOff notesOff)
    : arrays(arrays), shownPort(shownPort), notesOff(std::move(notesOff))
{
}

int MidiSetupOutputs::midiPortReturn(int setup) const
{
    if (!validSetup(setup))
        return 0;
    const int port = arrays.port[setup];
    return port >= 0 && port < findPortCountE ? port : 0;
}

QStringList MidiSetupOutputs::listPortNames()
{
    strMIDIport.fill(QStringLiteral("NUPO"));
    const QStringList names = listMidiDestinations();
    int synthDevices = 0;
    QStringList shown;
    for (int i = 0; i < names.size(); ++i) {
        QString name = names.at(i);
        if (name == QStringLiteral("DLSMusicDevice"))
            name = QStringLiteral("%1:%2").arg(name).arg(++synthDevices);
        if (i < maxMidiPortNames)
            strMIDIport[i] = name;
        shown.append(name);
    }
    return shown;
}

void MidiSetupOutputs::convertPortNameToInt() const
{
    const int count = findPortCountE;
    for (int s = 0; s < maxSetupNumber; ++s) {
        const auto found = std::find(strMIDIport.begin(), strMIDIport.end(), arrays.portName[s]);
        if (found != strMIDIport.end())
            arrays.port[s] = int(found - strMIDIport.begin());
        else
            arrays.port[s] = count > 0 ? count - 1 : 0;
    }
}

void MidiSetupOutputs::clearStartPorts() const
{
    for (int s = 0; s < 8; ++s)
        arrays.port[s] = 0;
}

void MidiSetupOutputs::initPortStr() const
{
    strMIDIport.fill(QStringLiteral("NUPO"));
    arrays.portName.fill(QStringLiteral("NUPO"));
    arrays.committedPortName.fill(QStringLiteral("NUPO"));
}

void MidiSetupOutputs::shutDownEnabled() const
{
    for (int s = 0; s < maxSetupNumber; ++s)
        if (arrays.outputOn[s] == 1)
            notesOff(s, midiPortReturn(s));
}

void MidiSetupOutputs::shutDownShown(int shown) const
{
    if (!validSetup(shown))
        return;
    if (shownPort == ShownPort::returned) {
        notesOff(shown, midiPortReturn(shown));
        return;
    }
    const int port = arrays.port[shown];
    if (port >= 0 && port < findPortCountE)
        notesOff(shown, port);
}

void MidiSetupOutputs::shutDown(int shown) const
{
    shutDownEnabled();
    shutDownShown(shown);
}

void MidiSetupOutputs::switchOffTemporarily(int shown) const
{
    for (int s = 0; s < maxSetupNumber; ++s) {
        arrays.savedOutputOn[s] = arrays.outputOn[s].load();
        if (arrays.outputOn[s] == 1)
            notesOff(s, midiPortReturn(s));
    }
    shutDownShown(shown);
    for (auto& on : arrays.outputOn)
        on = 0;
}

void MidiSetupOutputs::switchBackOn() const
{
    for (int s = 0; s < maxSetupNumber; ++s)
        if (arrays.savedOutputOn[s] == 1)
            arrays.outputOn[s] = 1;
}

void allNotesOffOnChannel(int setup, int channel, int port, int useQT)
{
    for (int note = 0; note < 128; ++note)
        MidiOutOff(note, setup, channel, port, useQT);
}

}  // namespace nupo
