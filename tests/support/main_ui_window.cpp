// Test entry point for tests that open GL windows: a QApplication on the X display when there is one
// (xvfb-run provides it under scripts/test.sh), offscreen otherwise.
#include "app/Wiring.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QApplication>

#include <chrono>
#include <optional>
#include <thread>

// Last: its macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xlib.h>

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

// Waits until the X display takes a connection. A virtual display that many tests connect to at once
// may refuse one for a moment, and Qt ends the program when its first connection fails. Gives up after
// some tries and leaves it to Qt to say why.
void awaitDisplay()
{
    for (int tries = 0; tries < 100; ++tries) {
        if (Display* display = XOpenDisplay(nullptr)) {
            XCloseDisplay(display);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

}  // namespace nupo::test

int main(int argc, char** argv)
{
    nupo::test::reportCrashes();
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        nupo::test::awaitDisplay();
    std::optional<QApplication> app(std::in_place, argc, argv);
    nupo::installLinks();
    const int result = RUN_ALL_TESTS();
    nupo::test::keepLibrariesLoaded();
    nupo::test::closeApplication(app);
    return result;
}
