#include "midi/MidiPortList.h"

#include "midi/MidiOutput.h"

namespace nupo {

QStringList listPortNames()
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
            strMIDIport[std::size_t(i)] = name;
        shown.append(name);
    }
    return shown;
}

}  // namespace nupo
