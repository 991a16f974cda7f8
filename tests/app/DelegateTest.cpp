#include <gtest/gtest.h>

#include "app/NUPO4DrawAppDelegate.h"
#include "core/QXInputStream.h"
#include "core/ui/TypeTextHere.h"
#include "shared/CoreState.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>

using namespace nupo;

TEST(AppDelegate, StartsOnceWithTheControlPanelAndPlaysTheFileGiven)
{
    const QString path = test::tempFolder() + "/given.dat";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096 + 2 * 240, char(0x02)));
    file.close();

    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    delegate.setPathToOpen(path);
    testing::internal::CaptureStdout();
    delegate.applicationDidFinishLaunching(nullptr);
    testing::internal::GetCapturedStdout();

    ASSERT_NE(delegate.mainWindow(), nullptr);
    EXPECT_EQ(delegate.mainWindow()->windowTitle(), "Control Panel");
    EXPECT_GE(delegate.mainWindow()->menuBar()->actions().size(), 5);
    EXPECT_EQ(applicationisOpened.load(), 1);
    EXPECT_TRUE(QXInputStream::sharedQXInputStream().isRunning());
    EXPECT_EQ(maxploop.load(), 240);
    EXPECT_EQ(setRecX.load(), 0);
    EXPECT_EQ(setPauseX.load(), 0);

    // A second start-up changes nothing; other files are refused with a message.
    delegate.initAPstart(nullptr);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(delegate.openFile(test::tempFolder() + "/missing.dat"));
    EXPECT_FALSE(delegate.openFile(test::sourcePath("CMakeLists.txt")));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Cannot open"), std::string::npos);
    EXPECT_EQ(maxploop.load(), 240);

    delegate.applicationWillTerminate(nullptr);
    EXPECT_FALSE(QXInputStream::sharedQXInputStream().isRunning());
}
