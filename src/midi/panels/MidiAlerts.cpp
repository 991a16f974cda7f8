#include "midi/panels/MidiAlerts.h"

#include "midi/output/MidiOutput.h"
#include "platform/appkit/MainThread.h"
#include "platform/appkit/ui/AlertPanel.h"

#include <QMessageBox>
#include <QPointer>

#include <map>

namespace nupo {

namespace {

void showMidiAlert(const QString& message)
{
    // The same problem said again while its alert is still open does not stack a second one.
    static auto* open = new std::map<QString, QPointer<QMessageBox>>;  // main thread
    if (QMessageBox* shown = (*open)[message]; shown != nullptr && shown->isVisible())
        return;
    (*open)[message] = AlertPanel::show(QStringLiteral("MIDI"), message);
}

}  // namespace

void installMidiAlerts()
{
    setMidiAlertHandler(
        [](const QString& message) { performOnMainThread([message] { showMidiAlert(message); }); });
}

}  // namespace nupo
