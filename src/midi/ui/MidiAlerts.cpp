#include "midi/ui/MidiAlerts.h"

#include "midi/output/MidiOutput.h"
#include "platform/appkit/MainThread.h"
#include "platform/appkit/ui/AlertPanel.h"

#include <QMessageBox>
#include <QPointer>

namespace nupo {

namespace {

void showMidiAlert(const QString& message)
{
    // One alert at a time: a problem said while it is open joins it, and one said again is not repeated.
    static auto* open = new QPointer<QMessageBox>;  // main thread
    if (QMessageBox* shown = *open; shown != nullptr && shown->isVisible()) {
        if (!shown->informativeText().contains(message))
            shown->setInformativeText(shown->informativeText() + QStringLiteral("\n\n") + message);
        return;
    }
    *open = AlertPanel::show(QStringLiteral("MIDI"), message);
}

}  // namespace

void installMidiAlerts()
{
    setMidiAlertHandler(
        [](const QString& message) { performOnMainThread([message] { showMidiAlert(message); }); });
}

}  // namespace nupo
