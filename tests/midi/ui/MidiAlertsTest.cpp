// MIDI out with no MIDI system says so on screen: one alert while the state lasts, shown from the main
// thread's event loop. The JACK server gone and back is said in one alert: the return takes the loss's
// place. After a restart of a real server, the alert names no destination that is reached.
#include "../ListenerProcess.h"
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
#include <QTemporaryDir>

#include <jack/jack.h>

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

// On a JACK dummy server of the test's own, killed and started again while notes go to a listening
// program and to our own destination "NUPO": the listener, not back yet, cannot be reached and the alert
// says so; once it is back and reached, that line gives way to one saying MIDI is sent to it again. Our
// own port is never named.
TEST(MidiAlertsTest, AfterARestartTheAlertNamesNoDestinationThatIsReached)
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
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    test::Listener listener(NUPO_MIDI_INSTANCE, folder.filePath(QStringLiteral("notes")));
    jack_client_t* look = test::openJackClient("alerts test look");
    ASSERT_NE(look, nullptr);
    ASSERT_TRUE(listener.start(look));
    struct Ending {
        ~Ending() { disposeMidi(); }
    } ending;
    mainMidi();
    const QStringList names = listMidiDestinations();
    const int listenerPort = int(names.indexOf(QString::fromUtf8(listener.portName())));
    const int ownPort = int(names.indexOf(QStringLiteral("NUPO")));
    ASSERT_GE(listenerPort, 0) << names.join(", ").toStdString();
    ASSERT_GE(ownPort, 0) << names.join(", ").toStdString();
    int note = 0;
    const auto play = [&](int port) { MidiOutOn(40 + (++note % 40), 100, 0, 0, port, 0); };
    ASSERT_TRUE(test::waitUntil([&] {
        play(listenerPort);
        play(ownPort);
        return listener.notes() > 0;
    }));

    server.kill();
    ASSERT_TRUE(test::waitUntil([&] {
        play(listenerPort);
        play(ownPort);
        return midiServerLost();
    }));
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(test::waitUntil([&] {
        play(ownPort);
        return !midiServerLost();
    }));
    const auto alertText = [] {
        const std::vector<QMessageBox*> alerts = shownAlerts();
        return alerts.size() == 1 ? alerts[0]->informativeText() : QString();
    };
    const QString unreachable = QStringLiteral("cannot reach \u201crestart listener:in\u201d");
    const QString reachedAgain = QStringLiteral("MIDI is sent again to \u201crestart listener:in\u201d");
    play(listenerPort);  // its program is not back yet
    ASSERT_TRUE(test::processEventsUntil([&] { return alertText().contains(unreachable); }))
        << alertText().toStdString();

    look = test::openJackClient("alerts test look");
    ASSERT_NE(look, nullptr);
    ASSERT_TRUE(listener.start(look));
    ASSERT_TRUE(test::waitUntil([&] {
        play(listenerPort);
        play(ownPort);
        return listener.notes() > 0;
    }));
    ASSERT_TRUE(test::processEventsUntil([&] { return alertText().contains(reachedAgain); }))
        << alertText().toStdString();
    const QString text = alertText();
    EXPECT_TRUE(text.contains(QStringLiteral("The JACK server is back"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("cannot reach"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("\u201cNUPO\u201d"))) << text.toStdString();
    shownAlerts()[0]->close();
    // Our client goes with its server at the end.
    server.stop();
    ASSERT_TRUE(test::waitUntil([] { return midiServerLost(); }));
}

}  // namespace
}  // namespace nupo
