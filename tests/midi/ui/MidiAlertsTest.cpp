// MIDI out with no MIDI system says so on screen: one alert while the state lasts, shown from the main
// thread's event loop. The JACK server gone and back is said in one alert: the return takes the loss's
// place.
#include "midi/output/MidiOutput.h"
#include "midi/ui/MidiAlerts.h"
#include "midi/ui/SetMIDIPanel.h"
#include "platform/synth/SynthGraph.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>

namespace nupo {
namespace {

std::vector<QMessageBox*> shownAlerts()
{
    std::vector<QMessageBox*> alerts;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            alerts.push_back(box);
    return alerts;
}

TEST(MidiAlertsTest, MidiOutWithoutAMidiSystemIsSaidOnceForAsLongAsThereIsNone)
{
    if (QFileInfo::exists(QStringLiteral("/dev/snd/seq")))
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    qputenv("JACK_DEFAULT_SERVER", "nupo-alert-test-no-server");
    SynthGraph::setAudioOutputEnabled(false);
    installMidiAlerts();
    testing::internal::CaptureStdout();
    // The MIDI panel's first showing (the Preferences window opened) starts MIDI and sends the shown
    // setup's program, its MIDI out off: nothing to say.
    QWidget* panel = SetMIDIPanel::makePanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(runMIDI.load(), 1);
    QApplication::processEvents();
    EXPECT_TRUE(shownAlerts().empty());
    panel->close();
    // Silencing what nothing played, or a panel showing a setup (its program, whether its MIDI out is on
    // or off), is no reason to speak up: only a note played by a setup whose MIDI out is on.
    MidiOutOff(60, 0, 0, 0, 0);
    MidiCprogram(3, 0, 0, 0, 0);
    MidiControlChange(7, 100, 0, 0, 0, 0);
    QApplication::processEvents();
    EXPECT_TRUE(shownAlerts().empty());

    MidiOutOn(60, 100, 0, 0, 0, 0);
    ASSERT_TRUE(test::processEventsUntil([] { return !shownAlerts().empty(); }));
    QApplication::processEvents();
    std::vector<QMessageBox*> alerts = shownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_TRUE(alerts[0]->informativeText().contains(QStringLiteral("no MIDI system")))
        << alerts[0]->informativeText().toStdString();

    // Another problem joins the open alert.
    reportMidiProblem(QStringLiteral("Another problem."));
    ASSERT_TRUE(test::processEventsUntil(
        [&] { return alerts[0]->informativeText().endsWith(QStringLiteral("\n\nAnother problem.")); }));
    alerts[0]->close();

    // Said once while the state lasts: new starts (the panel's first showing, its reset button, a
    // document read) that find no MIDI system either do not say it again, however many notes follow.
    for (int start = 0; start < 3; ++start) {
        disposeMidi();
        mainMidi();
        MidiOutOn(61 + start, 100, 0, 0, 0, 0);
    }
    reportMidiProblem(QStringLiteral("A last problem."));  // what is said after the starts, to wait for
    ASSERT_TRUE(test::processEventsUntil([] { return !shownAlerts().empty(); }));
    alerts = shownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0]->informativeText(), QStringLiteral("A last problem."));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("MIDI out is on, but no MIDI system"), std::string::npos) << out;
    alerts[0]->close();
    disposeMidi();
}

// The JACK server's state as the layer's watch tells it (MidiServerRestartTest has the layer tell it on a
// real server, on one topic): the return takes the loss's place in the open alert and the other problems
// stay; gone again, the loss takes the return's place; told once the alert is closed, it has an alert of
// its own.
TEST(MidiAlertsTest, TheJackServerBackIsSaidWhereItsLossWasSaid)
{
    installMidiAlerts();
    const QString gone = QStringLiteral("The JACK server has gone away: no MIDI is sent.");
    const QString back = QStringLiteral("The JACK server is back: MIDI is sent again.");
    testing::internal::CaptureStdout();
    reportMidiState(midiServerTopic, gone);
    ASSERT_TRUE(test::processEventsUntil([] { return shownAlerts().size() == 1; }));
    const QPointer<QMessageBox> alert = shownAlerts()[0];
    const auto alertReads = [&](const QString& text) {
        return test::processEventsUntil([&] { return alert && alert->informativeText() == text; });
    };
    const auto shown = [&] { return alert ? alert->informativeText().toStdString() : std::string("closed"); };
    const QString another = QStringLiteral("\n\nAnother problem.");
    reportMidiProblem(QStringLiteral("Another problem."));
    reportMidiState(midiServerTopic, back);
    ASSERT_TRUE(alertReads(back + another)) << shown();
    reportMidiState(midiServerTopic, gone);
    ASSERT_TRUE(alertReads(gone + another)) << shown();
    EXPECT_EQ(shownAlerts().size(), 1u);

    alert->close();
    ASSERT_TRUE(test::processEventsUntil([] { return shownAlerts().empty(); }));
    reportMidiState(midiServerTopic, back);
    ASSERT_TRUE(test::processEventsUntil([] { return shownAlerts().size() == 1; }));
    EXPECT_EQ(shownAlerts()[0]->informativeText(), back);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("MIDI is sent again"), std::string::npos) << out;
    shownAlerts()[0]->close();
}

}  // namespace
}  // namespace nupo
