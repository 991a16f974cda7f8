// MIDI out with no MIDI system says so on screen: one alert while the state lasts, shown from the main
// thread's event loop. The JACK server gone and back is said in one alert: the return takes the loss's
// place.
#include "midi/output/MidiOutput.h"
#include "midi/ui/MidiAlerts.h"
#include "midi/ui/SetMIDIPanel.h"
#include "platform/synth/SynthGraph.h"
#include "support/JackTestServer.h"
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

TEST(MidiAlertsTest, TheJackServerBackIsSaidWhereItsLossWasSaid)
{
    const QString name = test::ownJackServerName(QStringLiteral("-alerts"));
    qputenv("JACK_DEFAULT_SERVER", name.toLocal8Bit());
    SynthGraph::setAudioOutputEnabled(false);
    test::JackServer server(name);
    if (!server.start()) {
        if (test::jackRequired())
            FAIL() << "the JACK dummy server " << name.toStdString() << " did not start";
        GTEST_SKIP() << "jackd could not start a server";
    }
    installMidiAlerts();
    struct Ending {
        ~Ending() { disposeMidi(); }  // the watch ends before the test's server goes
    } ending;
    mainMidi();
    ASSERT_FALSE(midiClientName().isEmpty());
    const auto oneAlertSays = [](const QString& text) {
        return test::processEventsUntil([&] {
            const std::vector<QMessageBox*> alerts = shownAlerts();
            return alerts.size() == 1 && alerts[0]->informativeText().contains(text);
        });
    };
    const QString gone = QStringLiteral("no MIDI is sent");
    const QString back = QStringLiteral("MIDI is sent again");

    // Gone: said; another problem joins the alert; back: the return takes the loss's place, the other
    // problem stays.
    server.kill();
    ASSERT_TRUE(oneAlertSays(gone));
    const QPointer<QMessageBox> alert = shownAlerts()[0];
    reportMidiProblem(QStringLiteral("Another problem."));
    ASSERT_TRUE(oneAlertSays(QStringLiteral("Another problem.")));
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(oneAlertSays(back));
    ASSERT_FALSE(alert.isNull());
    EXPECT_EQ(shownAlerts()[0], alert.data());
    EXPECT_FALSE(alert->informativeText().contains(gone)) << alert->informativeText().toStdString();
    EXPECT_TRUE(alert->informativeText().startsWith(QStringLiteral("The JACK server is back")))
        << alert->informativeText().toStdString();
    EXPECT_TRUE(alert->informativeText().endsWith(QStringLiteral("\n\nAnother problem.")))
        << alert->informativeText().toStdString();
    alert->close();
    ASSERT_TRUE(test::processEventsUntil([] { return shownAlerts().empty(); }));
    // Our client goes with its server at the end, as in the other tests that stop a server.
    server.stop();
    ASSERT_TRUE(test::waitUntil([] { return midiServerLost(); }));
}

// The same, told by the layer as the watch tells it (a second death of a server would leave libjack a
// client it cannot close): gone again while the alert says it is back, and back once the alert is closed.
TEST(MidiAlertsTest, AStateSaidAgainTakesItsPlaceOrHasAnAlertOfItsOwn)
{
    installMidiAlerts();
    const QString gone = QStringLiteral("The JACK server has gone away: no MIDI is sent.");
    const QString back = QStringLiteral("The JACK server is back: MIDI is sent again.");
    testing::internal::CaptureStdout();
    reportMidiState(midiServerTopic, gone);
    ASSERT_TRUE(test::processEventsUntil([] { return shownAlerts().size() == 1; }));
    const QPointer<QMessageBox> alert = shownAlerts()[0];
    reportMidiProblem(QStringLiteral("Another problem."));
    reportMidiState(midiServerTopic, back);
    reportMidiState(midiServerTopic, gone);
    const QString expected = gone + QStringLiteral("\n\nAnother problem.");
    ASSERT_TRUE(test::processEventsUntil([&] { return alert && alert->informativeText() == expected; }))
        << (alert ? alert->informativeText().toStdString() : std::string("closed"));
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
