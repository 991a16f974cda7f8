#pragma once

#include <QString>

#include <functional>

namespace nupo {

// The choice made in an instrument picker: a General MIDI instrument number 1..128 and its name.
struct InstrumentChoice {
    int number = 1;
    QString name;
};

// Shows an instrument picker with a prompt, starting at `current` (1..128). Returns true with the
// choice when the user picked one, false when the picker was cancelled or none can be shown.
using InstrumentPickerFunction = std::function<bool(const QString& prompt, int current, InstrumentChoice&)>;

// The user interface installs the dialog here; without one every pick counts as cancelled.
void setInstrumentPicker(InstrumentPickerFunction picker);
bool runInstrumentPicker(const QString& prompt, int current, InstrumentChoice& choice);

}  // namespace nupo
