// Test entry point: a QGuiApplication lives for the whole run so that timers, queued calls and
// (for gl and ui) fonts and windows work as in the program.
#include <QGuiApplication>
#include "support/TestSupport.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    nupo::test::reportCrashes();
    ::testing::InitGoogleTest(&argc, argv);
    // Test discovery runs without the tests' environment: never fall back to a display that may not exist.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    nupo::test::keepLibrariesLoaded();
    return result;
}
