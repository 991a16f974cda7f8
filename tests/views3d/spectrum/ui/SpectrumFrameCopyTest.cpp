// The 3D view's frames draw from their own copy: what the window changes while a frame draws on the view's
// thread does not reach that frame's picture and shows in the next; and the window's events, run while its
// frames draw, leave the frames alone (the sanitizer builds check that nothing is shared unguarded).
#include <gtest/gtest.h>

#include "platform/appkit/ui/WindowHandle.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "support/FrameGate.h"
#include "support/WindowTestSupport.h"
#include "views3d/SpectrumViewState.h"
#include "views3d/scene/gl/QX3DSpectrumScene.h"
#include "views3d/spectrum/gl/QX3DSpectrumGLDrawing.h"
#include "views3d/spectrum/ui/QX3DSpectrumAppController.h"

#include <QApplication>
#include <QComboBox>

#include <condition_variable>
#include <memory>
#include <mutex>

using namespace nupo;
using namespace nupo::test;

namespace {

class Gate : public test::FrameGate {
public:
    Gate() : FrameGate(false) {}
};

class SpectrumFrameCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!onScreen() || !OpenGLViewHost::isSupported())
            GTEST_SKIP() << "no X display: the view draws no frames";
    }
    void TearDown() override { ThreadedGLViewHost::setFrameHookForTests({}); }

    // Waits until no frame is in flight and the last one is on screen.
    static void settle(ThreadedGLViewHost& host)
    {
        ASSERT_TRUE(processEventsUntil(
            [&] { return !host.frameInFlight() && host.framesShown() == host.framesFinished(); }));
    }
    // The picture of one more frame, as the window shows it.
    static QImage nextPicture(ThreadedGLViewHost& host, OpenGLView& view)
    {
        settle(host);
        const quint64 before = host.framesFinished();
        view.setNeedsDisplay(true);
        EXPECT_TRUE(processEventsUntil([&] {
            host.startFrameIfDue();
            return host.framesFinished() > before;
        }));
        settle(host);
        return host.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(SpectrumFrameCopy, AChangeWhileAFrameIsHeldShowsInTheNextFrameOnly)
{
    ThreadedGLViewHost::setFrameHookForTests({});
    setPauseX = 1;  // no data step: the picture depends on the settings alone
    QX3DSpectrumGLView view;
    view.num = 2;  // CH 1 alone
    view.setBackgroundColor(RGBAColor::fromRGBA(0.0, 0.0, 1.0, 1.0));
    QX3DSpectrumGLDrawing drawing(view);
    ThreadedGLViewHost host(&drawing);
    host.resize(400, 300);
    host.show();
    ASSERT_TRUE(processEventsUntil([&] { return host.framesShown() >= 1; }));
    // The first frames run the one-time set-up and its ten-frame camera move; then the picture stands.
    QImage before = nextPicture(host, drawing);
    for (QImage again = nextPicture(host, drawing); again != before; again = nextPicture(host, drawing))
        before = again;

    // The next frame is held once its copy is taken; meanwhile the window changes the background, the
    // display mode, the camera, the display options and the scene elements.
    auto gate = std::make_shared<Gate>();
    ThreadedGLViewHost::setFrameHookForTests([gate](const ThreadedGLViewHost&) -> std::function<void()> {
        return [gate] { gate->passThrough(); };
    });
    settle(host);
    const quint64 finished = host.framesFinished();
    drawing.setNeedsDisplay(true);
    ASSERT_TRUE(host.startFrameIfDue());
    ThreadedGLViewHost::setFrameHookForTests({});
    gate->waitForArrival();
    const int material = setBSMaterialX;
    const float offset = ColorOffsetBSMixSliderX;
    view.setBackgroundColor(RGBAColor::fromRGBA(1.0, 0.0, 0.0, 1.0));
    view.setDemoNumber(3);
    view.camera.sdepth += 40.0f;
    setBSMaterialX = 7;
    ColorOffsetBSMixSliderX = 90.0f;
    displayModeX[0][0] = displayModeX[0][0] == 0 ? 1 : 0;
    gate->open();
    ASSERT_TRUE(processEventsUntil([&] { return host.framesFinished() > finished; }));
    settle(host);
    const QImage held = host.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(held == before) << "the held frame draws from the copy taken before the changes";

    const QImage next = nextPicture(host, drawing);
    EXPECT_EQ(qRed(next.pixel(2, 2)), 255) << "the next frame clears with the new background";
    EXPECT_EQ(qBlue(next.pixel(2, 2)), 0);
    setBSMaterialX = material;
    ColorOffsetBSMixSliderX = offset;
    displayModeX[0][0] = 1;
    setPauseX = 0;
}

// The events of the window and of the parts that steer it, each run while a frame of the window's view
// draws on its thread.
TEST_F(SpectrumFrameCopy, WindowEventsRunWhileFramesDraw)
{
    OpenGLViewHost::setPlotDrawing(OpenGLViewHost::Drawing::OnOwnThread);
    startWithDemo();
    auto* c = openNib<QX3DSpectrumAppController>(QStringLiteral("QX3DSpectrum"));
    ASSERT_NE(c, nullptr);
    moveToMiddle(c->windowWidget());
    auto* host =
        qobject_cast<ThreadedGLViewHost*>(c->windowWidget()->findChildren<ThreadedGLViewHost*>().value(0));
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(processEventsUntil([&] { return host->framesShown() >= 3; }));
    auto* modes = child<QComboBox>(*c, "popup");
    QX3DSpectrumGLView& shared = QX3DSpectrumGLView::sharedQX3DSpectrumGLView();

    // Runs an event once the visible view's frame is drawing.
    auto whileDrawing = [&](const std::function<void()>& event) {
        ASSERT_TRUE(processEventsUntil([&] {
            for (ThreadedGLViewHost* h : c->windowWidget()->findChildren<ThreadedGLViewHost*>())
                if (h->isVisible() && h->frameInFlight())
                    return true;
            return false;
        }));
        event();
    };
    for (int round = 0; round < 3; ++round) {
        for (int mode : {0, 2, 7, 12, 13, 3})
            whileDrawing([&] {
                modes->setCurrentIndex(mode);
                c->select(modes);
            });
        for (int preset = 0; preset <= 4; ++preset)
            whileDrawing([&] { c->visibleView()->setResetPositionX(preset); });
        whileDrawing([&] {
            setBSPeakSizeX = round % 4;
            setBSMaterialX = 3 + round;
            setBSTopMaterialX = 2 + round;
            setPeakWFMaterialX = 4;
            DrawBothside = round % 2;
            ColorGainBSMixSliderX = 1.0f + float(round);
        });
        whileDrawing([&] { c->setshowBSinfo(round % 2); });
        whileDrawing([&] {
            for (int k = 1; k <= 8; ++k)
                c->setshowBS(k, (k + round) % 2);
        });
        whileDrawing([&] { c->setDisplayElement(round % 12, round % 2); });
        whileDrawing([&] {
            for (int w = 0; w < 8; ++w)
                brainSWX[1][34 + w] = float(4 + w + round);  // a brain-switch window's bounds
        });
        whileDrawing([&] { QX3DSpectrumScene::sharedQX3DSpectrumScene().setONFlashBSdisplay(round, 1); });
        whileDrawing([&] { shared.setDemoNumberA(round % 2 == 0 ? 13 : 3); });
        whileDrawing([&] { shared.setDemoNumberB(round); });
        whileDrawing([&] { c->timerUpdate(); });
        whileDrawing([&] {
            c->visibleView()->mouseDown(100, 100);
            c->visibleView()->mouseDragged(120, 90);
            c->visibleView()->mouseUp();
        });
        whileDrawing([&] { c->visibleView()->scrollWheel(0.0, 2.0, 0.0); });
        whileDrawing([&] { c->visibleDrawing()->keyDown(KeyEvent{0x28, 0, {}, false}); });
        whileDrawing([&] { c->selectX3(round % 2); });
    }
    // A second window of the kind while the first one draws.
    whileDrawing(
        [&] { EXPECT_NE(openNib<QX3DSpectrumAppController>(QStringLiteral("QX3DSpectrum")), nullptr); });
    letItRun(300);
    // The windows close while their frames draw; the frames end.
    whileDrawing([] {
        for (QWidget* window : shownWindowsTitled(QLatin1String("WaterfallBS Window")))
            WindowHandle(window).close();
    });
    EXPECT_TRUE(processEventsUntil([] { return !GLRenderThread::anyFrameInFlight(); }));
    QX3DSpectrumScene::sharedQX3DSpectrumScene().setOffFlashBSdisplay(-1, 10);
    setBSMaterialX = 3;
    setBSTopMaterialX = 2;
    setPeakWFMaterialX = 2;
    DrawBothside = 1;
    ColorGainBSMixSliderX = 1.88f;
}

}  // namespace
