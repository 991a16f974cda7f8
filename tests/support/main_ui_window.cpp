// Test entry point for tests that open GL windows: a QApplication on the X display when there is one
// (xvfb-run provides it under scripts/test.sh), offscreen otherwise.
#include "app/Wiring.h"
#include "midi/band/SetMIDIband.h"
#include "midi/peak/SetMIDI.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QApplication>

#include <optional>

namespace nupo::test {

__attribute__((noinline)) void destroy(std::optional<QApplication>& app)
{
    app.reset();
}

// Closes the application and with it the X connection, where Qt frees the events that its xcb reader
// thread read before it ended. Qt's threads are detached and it sees the end under its own lock, so
// ThreadSanitizer sees no hand-over from that thread; tests/sanitizers/tsan.supp names this function.
__attribute__((noinline)) void closeApplication(std::optional<QApplication>& app)
{
    destroy(app);
}

}  // namespace nupo::test

int main(int argc, char** argv)
{
    nupo::test::reportCrashes();
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    std::optional<QApplication> app(std::in_place, argc, argv);
    nupo::installLinks();
    const int result = RUN_ALL_TESTS();
    // As the program does at its end, the MIDI mappers' workers stop before the process's statics (the
    // FFT tables they read among them) are destroyed.
    nupo::SetMIDI::stopWorker();
    nupo::SetMIDIband::stopWorker();
    // As the program does at its end: frames still in flight finish and their threads end (a frame stuck
    // in the driver ends the process at once), so that no frame is drawing, with the driver compiling
    // its shaders, while the libraries' destructors run. A window test that closed its windows last
    // crashed in the driver at exit under load.
    nupo::GLRenderThread::endAtOnceIfAFrameIsStuck(result);
    nupo::test::keepLibrariesLoaded();
    nupo::test::closeApplication(app);
    return result;
}
