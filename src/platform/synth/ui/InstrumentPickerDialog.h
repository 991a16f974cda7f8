#pragma once

#include "platform/synth/InstrumentPicker.h"

#include <QDialog>

class QListWidget;

namespace nupo {

// A modal dialog listing the 128 General MIDI instruments under a prompt; OK returns the selected one.
class InstrumentPickerDialog : public QDialog {
    Q_OBJECT
public:
    InstrumentPickerDialog(const QString& prompt, int current, QWidget* parent = nullptr);

    InstrumentChoice choice() const;
    void selectInstrument(int number);

    // Installs this dialog as the program's instrument picker.
    static void install();

private:
    QListWidget* list = nullptr;
};

}  // namespace nupo
