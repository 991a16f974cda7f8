// Test entry point: a QApplication lives for the whole run so that timers, queued calls and
// (for gl and ui) fonts and windows work as in the program.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
