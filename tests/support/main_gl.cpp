// Test entry point: a QGuiApplication lives for the whole run so that timers, queued calls and
// (for gl and ui) fonts and windows work as in the program.
#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
