#include "platform/synth/ui/InstrumentPickerDialog.h"

#include "platform/synth/GeneralMidi.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace nupo {

InstrumentPickerDialog::InstrumentPickerDialog(const QString& prompt, int current, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Instrument"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(prompt, this));
    list = new QListWidget(this);
    const QStringList& names = generalMidiProgramNames();
    for (int i = 0; i < names.size(); ++i)
        list->addItem(QStringLiteral("%1 %2").arg(i + 1).arg(names.at(i)));
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(buttons);
    selectInstrument(current);
    resize(320, 420);
}

void InstrumentPickerDialog::selectInstrument(int number)
{
    list->setCurrentRow(qBound(1, number, 128) - 1);
}

InstrumentChoice InstrumentPickerDialog::choice() const
{
    InstrumentChoice chosen;
    chosen.number = qMax(0, list->currentRow()) + 1;
    chosen.name = generalMidiProgramName(chosen.number - 1);
    return chosen;
}

void InstrumentPickerDialog::install()
{
    setInstrumentPicker([](const QString& prompt, int current, InstrumentChoice& choice) {
        InstrumentPickerDialog dialog(prompt, current);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        choice = dialog.choice();
        return true;
    });
}

}  // namespace nupo
