// The slow-frame recorder: what a record holds, and that a frame still running is written by the watchdog.
#include "platform/gl/OffscreenGLContext.h"
#include "views3d/wave/gl/QXnewave.h"
#include "views3d/wave/gl/WaveFrameRecorder.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <thread>

using namespace nupo;

namespace {

QString contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

TEST(WaveFrameRecorder, WritesTheTunnelInputsOfFramesOverItsLimit)
{
    OffscreenGLContext context(QSize(64, 48));
    ASSERT_TRUE(context.isValid()) << context.errorString().toStdString();
    QTemporaryDir dir;
    const QString path = dir.filePath("slow.txt");
    QXnewave& wave = QXnewave::sharedQXnewave();
    wave.setdSized(0);
    wave.resetdn(2);  // the spike: 22.5 at (7, 7)
    QXnewaveFrame frame;
    frame.sdept = 19.75f;
    frame.displayUndn = 90.0f;

    {
        WaveFrameRecorder fast(path, 3600.0);  // no frame is that slow
        fast.beginFrame(wave, frame);
        fast.endFrame();
        EXPECT_EQ(fast.recorded(), 0);
    }
    EXPECT_FALSE(QFile::exists(path));

    WaveFrameRecorder recorder(path, 0.0);
    recorder.beginFrame(wave, frame);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1.0f, 2.0f, -3.0f);
    recorder.wall(wave);
    recorder.wall(wave);
    recorder.endFrame();
    EXPECT_EQ(recorder.recorded(), 1);
    const QString text = contents(path);
    EXPECT_TRUE(text.contains("ended after")) << text.toStdString();
    EXPECT_TRUE(text.contains("sdept 19.75"));
    EXPECT_TRUE(text.contains("gridd 15"));
    EXPECT_TRUE(text.contains(" 22.5 "));
    EXPECT_TRUE(text.contains("wall 0: viewport 0 0 64 48"));
    EXPECT_TRUE(text.contains("wall 1:"));
    EXPECT_FALSE(text.contains("wall 2:"));
    EXPECT_TRUE(text.contains("modelview (columns) 1 0 0 0 0 1 0 0 0 0 1 0 1 2 -3 1"));
    EXPECT_TRUE(text.contains("vertex normals"));
}

TEST(WaveFrameRecorder, AFrameThatDoesNotEndIsWrittenWhileItRuns)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("slow.txt");
    WaveFrameRecorder recorder(path, 0.0);
    QXnewaveFrame frame;
    recorder.beginFrame(QXnewave::sharedQXnewave(), frame);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (recorder.recorded() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(recorder.recorded(), 1);
    EXPECT_TRUE(contents(path).contains("still running after"));
    recorder.endFrame();
    EXPECT_EQ(recorder.recorded(), 1);
    EXPECT_TRUE(contents(path).contains("frame ended after"));
}
