// The wave surface drawn on threads of its own while the window's events come: a change of the shared
// sheet asked for while a frame draws waits for the frame to end and shows in the next one, and every
// event of the window may come while frames of two (then three) wave surfaces draw. Run under
// ThreadSanitizer, the second test shows that no event writes what a frame reads meanwhile. Needs an X
// display (scripts/test.sh gives one).
#include "platform/colour/RGBAColor.h"
#include "platform/keyboard/gl/VirtualKeyCodes.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "support/FrameGate.h"
#include "support/TestSupport.h"
#include "views3d/wave/gl/QXnewave.h"
#include "views3d/wave/gl/QXnewaveGLView.h"

#include <gtest/gtest.h>
#include <QApplication>

#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

namespace nupo {
namespace {

QXnewave& engine()
{
    return QXnewave::sharedQXnewave();
}

using Gate = test::FrameGate;

// A sum over the sheet's heights, as a frame sees them.
double sheetSum()
{
    double sum = 0.0;
    for (int i = 0; i < QXnewave::side; ++i)
        for (int j = 0; j < QXnewave::side; ++j)
            sum += engine().positd[i][j] * (1.0 + i + QXnewave::side * j);
    return sum;
}

// Pixels whose colours differ by more than `tolerance` in a channel (the software rasteriser may draw a
// few pixels of the far, tiny triangles differently from one frame to the next).
int differingPixels(const QImage& a, const QImage& b, int tolerance = 0)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size())
        return x.width() * x.height();
    int count = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            count += std::abs(qRed(p) - qRed(q)) > tolerance || std::abs(qGreen(p) - qGreen(q)) > tolerance ||
                     std::abs(qBlue(p) - qBlue(q)) > tolerance;
        }
    return count;
}

int distinctColours(const QImage& image)
{
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

// A wave surface on a drawing thread of its own, as a window shows it.
struct ShownWave {
    explicit ShownWave(QSize size)
    {
        host.resize(size);
        host.show();
    }
    bool idle() const { return !host.frameInFlight() && host.framesShown() == host.framesFinished(); }

    QXnewaveGLView view{QRectF(0, 0, 120, 90)};
    ThreadedGLViewHost host{&view};
};

class WaveFrames : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!OpenGLViewHost::isSupported())
            GTEST_SKIP() << "no OpenGL on the '" << QApplication::platformName().toStdString()
                         << "' platform; scripts/test.sh runs this test under Xvfb";
    }
    void TearDown() override { QXnewaveGLView::midFrameHookForTests = {}; }

    // Waits until the surfaces have shown their first frames with their wall images (decoded on the
    // picture worker, taken by the view in a synchronisation step) and none is in flight.
    static void waitUntilIdle(const std::vector<ShownWave*>& waves)
    {
        std::vector<quint64> taken(waves.size(), 0);
        ASSERT_TRUE(test::processEventsUntil([&] {
            bool ready = true;
            for (std::size_t n = 0; n < waves.size(); ++n) {
                ShownWave* wave = waves[n];
                if (wave->view.images() && taken[n] == 0)
                    taken[n] = wave->host.framesFinished() + 1;  // the frame that took them, at the latest
                if (taken[n] == 0 || wave->host.framesShown() <= taken[n]) {
                    wave->view.setNeedsDisplay(true);
                    ready = false;
                } else if (!wave->idle()) {
                    ready = false;
                }
            }
            return ready;
        }));
    }
};

TEST_F(WaveFrames, AShapeAskedForWhileAFrameDrawsWaitsForItAndShowsInTheNextFrame)
{
    ShownWave wave(QSize(120, 90));
    waitUntilIdle({&wave});
    // A still sheet in shape 3: its frames are all alike.
    changeWaveDrawing([] { engine().resetdn(3); });
    const QImage still = wave.host.grabFramebuffer();
    EXPECT_EQ(differingPixels(still, wave.host.grabFramebuffer()), 0);
    EXPECT_GT(distinctColours(still), 20) << "a drawn picture";

    // The next frame is held after the sheet's step, before the tunnel draws it.
    ASSERT_TRUE(test::processEventsUntil([&] { return wave.idle(); }));
    const QImage stillShown = wave.host.grab().toImage();  // as the window shows the still sheet
    const auto gate = std::make_shared<Gate>();
    gate->close();
    double sumBefore = 0.0;
    double sumAfter = 0.0;
    int shapeAfter = -1;
    QXnewaveGLView::midFrameHookForTests = [&, gate] {
        sumBefore = sheetSum();
        gate->passThrough();
        sumAfter = sheetSum();
        shapeAfter = engine().resetdnModed;
    };
    const quint64 finished = wave.host.framesFinished();
    wave.view.setNeedsDisplay(true);
    ASSERT_TRUE(test::processEventsUntil([&] { return gate->arrivals() == 1; }));

    // Key I asks for shape 2 while that frame draws; the shape buttons and the brain drive ask so too.
    KeyEvent key;
    key.keyCode = VirtualKey::I;
    wave.view.keyDown(key);
    gate->open();
    ASSERT_TRUE(
        test::processEventsUntil([&] { return wave.host.framesFinished() > finished && wave.idle(); }));
    QXnewaveGLView::midFrameHookForTests = {};
    EXPECT_EQ(sumAfter, sumBefore) << "the held frame's sheet changed under it";
    EXPECT_EQ(shapeAfter, 3);
    // The window shows the held frame's picture (unless a frame came after it): the old shape.
    if (wave.host.framesFinished() == finished + 1) {
        const QImage held = wave.host.grab().toImage();
        EXPECT_LT(differingPixels(held, stillShown, 8), held.width() * held.height() / 500)
            << "the held frame's picture";
    }

    const QImage next = wave.host.grabFramebuffer();
    EXPECT_EQ(engine().resetdnModed, 2);
    EXPECT_EQ(engine().wavingd, 1);
    EXPECT_GT(differingPixels(next, still, 8), next.width() * next.height() / 50) << "the new shape shows";
}

// Every event of the wave-surface window, with values that change each round.
void driveEvents(QXnewaveGLView& view, int round)
{
    KeyEvent key;
    key.keyCode = round % 2 ? VirtualKey::K : VirtualKey::U;
    view.keyDown(key);
    view.keyUp(key);
    MouseEvent mouse;
    mouse.location = QPointF(10 + round % 7, 20 + round % 5);
    view.mouseDown(mouse);
    mouse.location += QPointF(3, -2);
    view.mouseDragged(mouse);
    if (round % 3 == 0)
        view.mouseUp(mouse);
    view.setMoveModeX(round % 3);
    view.setColor(round % 5);
    view.setPColor_value(static_cast<float>(round % 6));
    view.setFColor_value(static_cast<float>(round % 5));
    view.setColor_Map_value(static_cast<float>(round % 4));
    view.setDynamic_Texture_value(static_cast<float>(round % 3));
    view.setViewShowBrainSWX(round % 2);
    view.setimagePositionX(round % 2);
    view.setDisplaydX(3 + round % 2);
    view.setDrawModeX(round % 5);
    view.setTextureModeX(round % 4);
    if (round % 4 == 0)
        view.setDrawSurfaceLineX(1);
    view.setDrawLargeGridX(round % 4 == 1 ? 1 : 0);
    view.setTextureEnvX(round % 2);
    if (round % 5 == 0)
        view.setReversedX(1);
    view.setRunTextureX(round % 2);
    view.setRunbyBrainswX(round % 2);
    view.setRotateSpeedUpXX(static_cast<float>(round % 3));
    view.setRotateSpeedDownXX(static_cast<float>(round % 2));
    view.setRotateSpeedLeftXX(static_cast<float>(round % 4));
    view.setRotateSpeedRightXX(1.0f);
    if (round % 6 == 0)
        view.setAutoStopX(1);
    view.setResetPositionX(1);
    view.setBackgroundColor(RGBAColor::fromRGBA(0.1 * (round % 3), 0.0, 0.2, 1.0));
    view.setMaxImageNXopen(1 + round % 3);
    for (int code = 0; code < 20; code += 3)
        applyTunnelEffect(&view, (code + round) % 20);
    // What the media browser and a new window of the kind send.
    QXnewaveGLView::sharedQXnewaveGLView().setDisplaydX(4);
    changeWaveDrawing([] {
        engine().setSpeeddn(2);
        engine().resetdn(1);
        engine().godn();
        engine().stopdn();
    });
    restartSheet(round % 10);
    changeWaveDrawing([] { engine().setSpeeddn(0); });
}

TEST_F(WaveFrames, EveryEventOfTheWindowMayComeWhileFramesDraw)
{
    ShownWave first(QSize(120, 90));
    ShownWave second(QSize(100, 80));
    std::unique_ptr<ShownWave> third;
    std::vector<ShownWave*> waves{&first, &second};
    waitUntilIdle(waves);

    const auto gate = std::make_shared<Gate>();
    QXnewaveGLView::midFrameHookForTests = [gate] { gate->passThrough(); };
    for (int round = 0; round < 24; ++round) {
        // Even rounds hold the first frame inside its drawing while the events come (the others wait
        // for its lock); odd rounds let the frames run beside the events.
        const bool held = round % 2 == 0;
        if (held)
            gate->close();
        std::vector<quint64> finished;
        for (ShownWave* wave : waves) {
            finished.push_back(wave->host.framesFinished());
            wave->view.setNeedsDisplay(true);
            wave->host.startFrameIfDue();
        }
        if (held) {
            ASSERT_TRUE(test::processEventsUntil([&] { return gate->arrivals() >= 1; }));
        }
        for (ShownWave* wave : waves)
            driveEvents(wave->view, round);
        if (round == 9) {  // another wave surface opens while the others draw
            third = std::make_unique<ShownWave>(QSize(110, 70));
            waves.push_back(third.get());
        }
        gate->open();
        // A drag keeps asking for frames: each surface draws on, at least one frame more.
        ASSERT_TRUE(test::processEventsUntil([&] {
            for (size_t n = 0; n < finished.size(); ++n)
                if (waves[n]->host.framesFinished() <= finished[n])
                    return false;
            return true;
        })) << round;
    }
    MouseEvent up;
    for (ShownWave* wave : waves)
        wave->view.mouseUp(up);
    waitUntilIdle(waves);
    QXnewaveGLView::midFrameHookForTests = {};

    // Settled on one state (the camera back at its start, the first image on every wall, no
    // environment map, a sheet standing still), each surface draws its picture.
    changeWaveDrawing([] {
        engine().setdSized(0);
        engine().resetdn(2);
    });
    for (ShownWave* wave : waves) {
        wave->view.setimagePositionX(0);
        wave->view.setRunTextureX(0);
        wave->view.setColor_Map_value(0.0f);
        wave->view.setDrawModeX(4);
        wave->view.setAutoStopX(1);
        wave->view.setTextureEnvX(0);
        wave->view.setResetPositionX(1);
        wave->host.grabFramebuffer();  // the last one with the environment map
        const QImage picture = wave->host.grabFramebuffer();
        EXPECT_GT(distinctColours(picture), 20);
        EXPECT_EQ(wave->view.shown().maxImageNXopen, 1 + 23 % 3);
        EXPECT_FALSE(wave->view.shown().processFunc);
    }
}

}  // namespace
}  // namespace nupo
