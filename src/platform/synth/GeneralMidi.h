#pragma once

#include <QString>
#include <QStringList>

namespace nupo {

// The 128 General MIDI program names, index = program number 0..127, as the program shows them.
const QStringList& generalMidiProgramNames();

// The name of program 0..127; an empty string outside.
QString generalMidiProgramName(int program);

}  // namespace nupo
