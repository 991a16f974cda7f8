// Test entry point: a QCoreApplication lives for the whole run so that timers, queued calls and
// (for gl and ui) fonts and windows work as in the program.
#include <QCoreApplication>
#include "support/TestSupport.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    nupo::test::reportCrashes();
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    nupo::test::keepLibrariesLoaded();
    return result;
}
