// The end of the program never waits for a picture file: a termination signal during a read that does not
// return (a hung network drive) ends the program at once, the read still blocked.
#include "platform/appkit/TerminationSignals.h"
#include "platform/appkit/ThreadSanitizerBuild.h"
#include "platform/files/CheckedFile.h"
#include "support/TestSupport.h"
#include "views3d/textures/gl/PictureLoader.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <cstdlib>

using namespace nupo;

namespace {

const char* childMode = "NUPO_PICTURE_QUIT_CHILD";
const char* heldName = "held.png";

// While the gate file exists, a read of a file named held.png does not go on: as a drive that does not
// answer.
void holdReadsOfTheHeldPicture(const QByteArray& path)
{
    if (!path.endsWith(heldName))
        return;
    const QByteArray gate = qgetenv(childMode);
    std::printf("reading\n");
    std::fflush(stdout);
    while (QFile::exists(QString::fromLocal8Bit(gate)))
        QThread::msleep(10);
    std::printf("read returned\n");
    std::fflush(stdout);
}

// In the child: a picture load whose read is held, the program ending on a termination signal through
// its own way out, as the program's main does.
TEST(PictureQuit, Child)
{
    const QByteArray gate = qgetenv(childMode);
    if (gate.isEmpty())
        GTEST_SKIP() << "runs only as the child of the signal case";
    quitOnTerminationSignals([] { QCoreApplication::quit(); });
    setReadHookForTests(holdReadsOfTheHeldPicture);
    const QString picture = QFileInfo(QString::fromLocal8Bit(gate)).dir().filePath(heldName);
    PictureLoader::load({picture, picture}, [](PictureLoader::Result) {
        std::printf("loaded\n");
        std::fflush(stdout);
    });
    const int exitCode = QCoreApplication::exec();
    std::printf("left the loop\n");
    std::fflush(stdout);
    if (!PictureLoader::finish()) {
        std::fflush(stdout);
        std::_Exit(exitCode);
    }
    std::printf("the read was waited for\n");
}

}  // namespace

TEST(PictureQuit, ATerminationSignalDuringAHeldReadEndsTheProgramWhileTheReadIsStillHeld)
{
#if defined(NUPO_THREAD_SANITIZER)
    GTEST_SKIP() << "ThreadSanitizer's runtime stops now and then as QProcess starts a child of a "
                    "many-threaded program";
#endif
    const QDir folder(test::tempFolder());
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(folder.filePath(heldName)));
    const QString gate = folder.filePath("gate");
    {
        QFile file(gate);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(childMode, gate);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=PictureQuit.Child"});
    QByteArray said;
    ASSERT_TRUE(test::processEventsUntil([&] {
        said += child.readAllStandardOutput();
        return said.contains("reading\n") || child.state() == QProcess::NotRunning;
    }));
    ASSERT_TRUE(said.contains("reading\n")) << said.toStdString();
    ::kill(pid_t(child.processId()), SIGTERM);
    const bool ended = test::processEventsUntil([&] {
        said += child.readAllStandardOutput();
        return child.state() == QProcess::NotRunning;
    });
    // The gate is still there: the program ended with its read held.
    EXPECT_TRUE(QFile::exists(gate));
    QFile::remove(gate);
    if (!ended)
        child.waitForFinished();
    said += child.readAllStandardOutput();
    EXPECT_TRUE(ended);
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_TRUE(said.contains("left the loop")) << said.toStdString();
    EXPECT_FALSE(said.contains("read returned")) << said.toStdString();
    EXPECT_FALSE(said.contains("waited for")) << said.toStdString();
}
