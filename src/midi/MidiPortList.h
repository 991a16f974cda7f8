#pragma once

#include <QStringList>

namespace nupo {

// Lists the MIDI destinations into the shared port names `strMIDIport` (entries not filled hold
// "NUPO"; every "DLSMusicDevice" gets a running number) and returns the names in destination order, as
// a port pop-up shows them.
QStringList listPortNames();

}  // namespace nupo
