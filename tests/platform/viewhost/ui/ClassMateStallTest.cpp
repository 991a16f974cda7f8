#include "platform/viewhost/gl/OpenGLView.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "support/FrameGate.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <atomic>
#include <chrono>
#include <memory>

namespace nupo {
namespace {

// Clears to dark blue; can be held at a gate in the middle of a frame (its class's drawing lock held).
class GatedView : public OpenGLView {
public:
    void drawRect(const QRectF&) override
    {
        glClearColor(0, 0, 0.4f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (held)
            gate->passThrough();
        ++frames;
    }
    void mouseDown(const MouseEvent&) override { ++clicks; }

    const std::shared_ptr<test::FrameGate> gate = std::make_shared<test::FrameGate>();
    std::atomic<bool> held{false};
    std::atomic<int> frames{0};
    int clicks = 0;
};

// A window as the program's 3D windows are: the picture above a button that opens a drawer.
struct PictureWindow {
    GatedView view;  // outlives its host
    QWidget window;
    ThreadedGLViewHost* host = new ThreadedGLViewHost(&view);
    QPushButton* button = new QPushButton(QStringLiteral("Textures"));
    int pressed = 0;

    PictureWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(host, 1);
        layout->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, [this] { ++pressed; });
        window.resize(200, 160);
    }
    ~PictureWindow()
    {
        view.held = false;
        view.gate->open();
        host->waitForFrame();
    }
};

// Near-white pixels in the band across the middle of a picture, where a stall's message goes.
int whiteInMiddleBand(const QImage& picture)
{
    int count = 0;
    for (int y = picture.height() / 2 - 8; y < picture.height() / 2 + 8; ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += qGray(picture.pixel(x, y)) > 200;
    return count;
}

// Two windows showing views of one class (which draw one at a time): one's frame stalls while the
// other's waits for the class's turn behind it. The waiting window says why its picture stands still,
// and its controls and picture take input; the stalled one is paused. Both draw on once the frame ends.
TEST(ClassMateStall, AFrameBehindAStalledFrameOfItsClassSaysSoAndItsWindowKeepsWorking)
{
    if (!OpenGLViewHost::isSupported())
        GTEST_SKIP() << "no OpenGL on this platform; scripts/test.sh runs this test under Xvfb";
    GLRenderThread::setStallTime(std::chrono::hours(1));
    PictureWindow stuck;
    PictureWindow waiting;
    for (PictureWindow* w : {&stuck, &waiting})
        w->window.show();
    ASSERT_TRUE(test::processEventsUntil([&] {
        return stuck.host->framesShown() >= 1 && waiting.host->framesShown() >= 1 &&
               !stuck.host->frameInFlight() && !waiting.host->frameInFlight();
    }));
    if (GLRenderThread::drawingTakesTurns())
        GTEST_SKIP() << "the drawing threads take turns: the other frame would wait for the driver instead";
    EXPECT_EQ(whiteInMiddleBand(waiting.host->grab().toImage()), 0);

    GLRenderThread::setStallTime(std::chrono::milliseconds(150));
    stuck.view.gate->close();
    stuck.view.held = true;
    stuck.view.setNeedsDisplay(true);
    ASSERT_TRUE(stuck.host->startFrameIfDue());
    stuck.view.gate->waitForArrival();
    ASSERT_TRUE(test::processEventsUntil([&] { return stuck.host->frameStalled(); }));
    const int waitingFrames = waiting.view.frames;
    waiting.view.setNeedsDisplay(true);
    ASSERT_TRUE(test::processEventsUntil([&] { return waiting.host->frameInFlight(); }));

    // The waiting frame counts as stalled behind the other, says so over its picture, and its window is
    // not paused.
    EXPECT_TRUE(test::processEventsUntil([&] { return waiting.host->frameWaitsBehindAStall(); }));
    EXPECT_TRUE(waiting.host->frameStalled());
    EXPECT_FALSE(stuck.host->frameWaitsBehindAStall());
    EXPECT_EQ(ThreadedGLViewHost::drawingStateOf(&stuck.window), ThreadedGLViewHost::DrawingState::Stalled);
    EXPECT_EQ(ThreadedGLViewHost::drawingStateOf(&waiting.window), ThreadedGLViewHost::DrawingState::Drawing);
    EXPECT_TRUE(
        test::processEventsUntil([&] { return whiteInMiddleBand(waiting.host->grab().toImage()) > 20; }));
    EXPECT_EQ(waiting.view.frames, waitingFrames);

    QTest::mouseClick(waiting.button, Qt::LeftButton);
    EXPECT_EQ(waiting.pressed, 1);
    QTest::mouseClick(waiting.host, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(waiting.view.clicks, 1);
    // The stalled window takes none.
    QTest::mouseClick(stuck.button, Qt::LeftButton);
    EXPECT_EQ(stuck.pressed, 0);

    // The stalled frame ends: the waiting one draws, the message goes, and both windows answer.
    stuck.view.held = false;
    stuck.view.gate->open();
    EXPECT_TRUE(test::processEventsUntil([&] {
        return waiting.view.frames > waitingFrames && !waiting.host->frameInFlight() &&
               waiting.host->framesShown() == waiting.host->framesFinished();
    }));
    EXPECT_FALSE(waiting.host->frameStalled());
    EXPECT_TRUE(
        test::processEventsUntil([&] { return whiteInMiddleBand(waiting.host->grab().toImage()) == 0; }));
    EXPECT_TRUE(test::processEventsUntil([&] { return !stuck.host->frameInFlight(); }));
    QTest::mouseClick(stuck.button, Qt::LeftButton);
    EXPECT_EQ(stuck.pressed, 1);
    GLRenderThread::setStallTime(std::chrono::seconds(2));
}

}  // namespace
}  // namespace nupo
