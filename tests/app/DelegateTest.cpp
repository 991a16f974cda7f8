#include <gtest/gtest.h>

#include "app/NUPO4DrawAppDelegate.h"
#include "core/QXInputStream.h"
#include "core/ui/TypeTextHere.h"
#include "shared/CoreState.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMainWindow>
#include <QMenuBar>

#include <sys/stat.h>

#include <cctype>
#include <string>
#include <utility>

using namespace nupo;

namespace {

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

// The refusal of a file is on screen: one alert, in front, naming the file and saying why (the reason
// given with a capital letter, or lower case when it is the system's own words).
void closeRefusalAlert(const QString& path, std::string reason)
{
    SCOPED_TRACE(path.toStdString());
    QList<QMessageBox*> alerts;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
            alerts.append(box);
    ASSERT_EQ(alerts.size(), 1);
    QMessageBox* alert = alerts.front();
    EXPECT_TRUE(alert->text().contains(QFileInfo(path).fileName())) << alert->text().toStdString();
    reason[0] = char(std::toupper(static_cast<unsigned char>(reason[0])));
    EXPECT_TRUE(alert->informativeText().startsWith(QString::fromStdString(reason)))
        << alert->informativeText().toStdString();
    EXPECT_TRUE(alert->informativeText().contains(path));
    alert->close();
    delete alert;
}

}  // namespace

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
        {folder + "/missing.dat", "no such file or folder."},
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
        closeRefusalAlert(path, reason);
    }
    // Recordings that open but hold no recording, and a movie, are refused on screen as well.
    const QString movie = writeFile(folder + "/clip.mov", QByteArray(8192, char(1)));
    const std::pair<QString, std::string> unreadable[] = {
        {writeFile(folder + "/empty.dat", {}), "The file is empty."},
        {writeFile(folder + "/short.dat", QByteArray(1000, char(1))),
         "It is shorter than a recording's 4096-byte header."},
        {writeFile(folder + "/header.dat", QByteArray(4097, char(1))), "It holds a header but no samples."},
        {movie, "Only brain-note documents (.nupo4) and recordings (.dat, .data, .nupo) open."},
    };
    for (const auto& [path, reason] : unreadable) {
        testing::internal::CaptureStdout();
        EXPECT_FALSE(delegate.openFile(path));
        testing::internal::GetCapturedStdout();
        closeRefusalAlert(path, reason);
    }
    EXPECT_EQ(maxploop.load(), 240);

    delegate.applicationWillTerminate(nullptr);
    EXPECT_FALSE(QXInputStream::sharedQXInputStream().isRunning());
}
