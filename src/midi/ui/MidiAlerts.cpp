#include "midi/ui/MidiAlerts.h"

#include "midi/output/MidiOutput.h"
#include "platform/appkit/MainThread.h"
#include "platform/appkit/ui/AlertPanel.h"

#include <QHash>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

namespace nupo {

namespace {

// The alert on screen and what each topic said last in it (main thread).
struct OpenAlert {
    QPointer<QMessageBox> box;
    QHash<QString, QString> saidByTopic;
};

OpenAlert& openAlert()
{
    static auto* open = new OpenAlert;  // main thread, lives to process end
    return *open;
}

void showMidiAlert(const QString& message, const QString& topic)
{
    // One alert at a time: a problem said while it is open joins it, and one said again is not repeated.
    // A state said again on its topic (the JACK server back after it went) replaces what it said there.
    OpenAlert& open = openAlert();
    if (QMessageBox* shown = open.box; shown != nullptr && shown->isVisible()) {
        QStringList paragraphs = shown->informativeText().split(QStringLiteral("\n\n"));
        qsizetype earlier = -1;
        if (const auto said = open.saidByTopic.constFind(topic); said != open.saidByTopic.constEnd())
            earlier = paragraphs.indexOf(*said);
        if (earlier >= 0)
            paragraphs[earlier] = message;
        else if (!paragraphs.contains(message))
            paragraphs.append(message);
        shown->setInformativeText(paragraphs.join(QStringLiteral("\n\n")));
    } else {
        open.box = AlertPanel::show(QStringLiteral("MIDI"), message);
        open.saidByTopic.clear();
    }
    if (!topic.isEmpty())
        open.saidByTopic.insert(topic, message);
}

}  // namespace

void installMidiAlerts()
{
    setMidiAlertHandler([](const QString& message, const QString& topic) {
        performOnMainThread([message, topic] { showMidiAlert(message, topic); });
    });
}

}  // namespace nupo
