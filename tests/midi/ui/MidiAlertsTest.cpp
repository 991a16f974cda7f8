// MIDI out with no MIDI system says so on screen: one alert, shown from the main thread's event loop.
#include "midi/output/MidiOutput.h"
#include "midi/ui/MidiAlerts.h"
#include "platform/synth/SynthGraph.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

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

TEST(MidiAlertsTest, MidiOutWithoutAMidiSystemShowsOneAlert)
{
    if (QFileInfo::exists(QStringLiteral("/dev/snd/seq")))
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    qputenv("JACK_DEFAULT_SERVER", "nupo-alert-test-no-server");
    SynthGraph::setAudioOutputEnabled(false);
    installMidiAlerts();
    testing::internal::CaptureStdout();
    mainMidi();
    // Silencing what nothing played is no reason to speak up.
    MidiOutOff(60, 0, 0, 0, 0);
    QApplication::processEvents();
    EXPECT_TRUE(shownAlerts().empty());

    MidiOutOn(60, 100, 0, 0, 0, 0);
    MidiCprogram(3, 0, 0, 0, 0);
    ASSERT_TRUE(test::processEventsUntil([] { return !shownAlerts().empty(); }));
    QApplication::processEvents();
    std::vector<QMessageBox*> alerts = shownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_TRUE(alerts[0]->informativeText().contains(QStringLiteral("no MIDI system")))
        << alerts[0]->informativeText().toStdString();

    // A new start says it again, but not while the same alert is still open; another problem joins it.
    disposeMidi();
    mainMidi();
    MidiOutOn(61, 100, 0, 0, 0, 0);
    reportMidiProblem(QStringLiteral("Another problem."));
    ASSERT_TRUE(test::processEventsUntil(
        [&] { return alerts[0]->informativeText().endsWith(QStringLiteral("\n\nAnother problem.")); }));
    EXPECT_EQ(shownAlerts().size(), 1u);
    EXPECT_EQ(alerts[0]->informativeText().count(QStringLiteral("no MIDI system")), 1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("MIDI out is on, but no MIDI system"), std::string::npos) << out;
    alerts[0]->close();
    disposeMidi();
}

}  // namespace
}  // namespace nupo
