#include <gtest/gtest.h>

#include "app/NUPO4DrawAppDelegate.h"
#include "core/QXInputStream.h"
#include "core/ui/TypeTextHere.h"
#include "shared/CoreState.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>

#include <sys/stat.h>

#include <string>
#include <utility>

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

    // A second start-up changes nothing; other files are refused with what is wrong with which file.
    delegate.initAPstart(nullptr);
    const QString folder = test::tempFolder();
    ASSERT_TRUE(QDir(folder).mkdir("folder.dat"));
    ASSERT_EQ(mkfifo(QFile::encodeName(folder + "/pipe.dat").constData(), 0600), 0);
    const std::pair<QString, std::string> refused[] = {
        {folder + "/missing.dat", "No such file or directory."},
        {folder + "/folder.dat", "it is a folder, not a file."},
        {folder + "/pipe.dat", "it is a FIFO (named pipe), not a file."},
        {test::sourcePath("CMakeLists.txt"),
         "only brain-note documents (.nupo4) and recordings (.dat, .data, .nupo) open."},
    };
    for (const auto& [path, reason] : refused) {
        testing::internal::CaptureStdout();
        EXPECT_FALSE(delegate.openFile(path));
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "Cannot open " + path.toStdString() + ": " + reason + "\n");
    }
    EXPECT_EQ(maxploop.load(), 240);

    delegate.applicationWillTerminate(nullptr);
    EXPECT_FALSE(QXInputStream::sharedQXInputStream().isRunning());
}
