// Test entry point for tests that open GL windows: a QApplication on the X display when there is one
// (xvfb-run provides it under scripts/test.sh), offscreen otherwise.
#include "app/Wiring.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv)
{
    nupo::test::reportCrashes();
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    QApplication app(argc, argv);
    nupo::installLinks();
    const int result = RUN_ALL_TESTS();
    nupo::test::keepLibrariesLoaded();
    return result;
}
