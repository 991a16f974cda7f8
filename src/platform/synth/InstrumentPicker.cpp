#include "platform/synth/InstrumentPicker.h"

#include <mutex>

namespace nupo {

namespace {

std::mutex pickerMutex;
InstrumentPickerFunction& installedPicker()
{
    static InstrumentPickerFunction picker;
    return picker;
}

}  // namespace

void setInstrumentPicker(InstrumentPickerFunction picker)
{
    std::lock_guard lock(pickerMutex);
    installedPicker() = std::move(picker);
}

bool runInstrumentPicker(const QString& prompt, int current, InstrumentChoice& choice)
{
    InstrumentPickerFunction picker;
    {
        std::lock_guard lock(pickerMutex);
        picker = installedPicker();
    }
    return picker && picker(prompt, current, choice);
}

}  // namespace nupo
