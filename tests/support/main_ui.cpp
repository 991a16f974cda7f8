// Test entry point: a QApplication lives for the whole run so that timers, queued calls and
// (for gl and ui) fonts and windows work as in the program.
#include "app/Wiring.h"
#include "midi/band/SetMIDIband.h"
#include "midi/peak/SetMIDI.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv)
{
    nupo::test::reportCrashes();
    ::testing::InitGoogleTest(&argc, argv);
    // Test discovery runs without the tests' environment: never fall back to a display that may not exist.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform turns to GLX when an X display is there (as under xvfb-run), and composing
    // a GL widget of a window through it crashes Qt 6.4: windows with GL views show no GL here (the
    // WINDOW tests draw them on the display).
    // (The placement tests give the platform a screen of their own: "offscreen:configfile=…".)
    if (qgetenv("QT_QPA_PLATFORM").startsWith("offscreen"))
        qunsetenv("DISPLAY");
    QApplication app(argc, argv);
    nupo::installLinks();
    const int result = RUN_ALL_TESTS();
    // As the program does at its end, the MIDI mappers' workers stop before the process's statics (the
    // FFT tables they read among them) are destroyed.
    nupo::SetMIDI::stopWorker();
    nupo::SetMIDIband::stopWorker();
    nupo::test::keepLibrariesLoaded();
    return result;
}
