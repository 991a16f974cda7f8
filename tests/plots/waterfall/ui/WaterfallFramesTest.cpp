// The waterfall's frames drawn on a thread of their own draw from the copy their synchronisation step
// took: what the window's events change while a frame draws (history cleared, display settings, source,
// overlay flags, camera, a second window) reaches the next frame, never the one in flight; and the first
// frame's set-up shows the overlay flags in the window's check boxes from the main thread.
#include <gtest/gtest.h>

#include "core/ui/QXAppController.h"
#include "core/ui/TypeTextHere.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/keyboard/gl/VirtualKeyCodes.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "plots/frame/ui/PlotControls.h"
#include "plots/settings/DisplaySettings.h"
#include "plots/settings/ui/SetDisplay.h"
#include "plots/waterfall/QX2DSpectrum.h"
#include "plots/waterfall/gl/QX2DSpectrumGLView.h"
#include "plots/waterfall/gl/WaterfallWindowState.h"
#include "plots/waterfall/ui/QX2DSpectrumAppController.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "support/FrameGate.h"
#include "support/WindowTestSupport.h"

#include <QApplication>
#include <QThread>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <vector>

using namespace nupo;
using namespace nupo::test;

namespace {

class Gate : public test::FrameGate {
public:
    Gate() : FrameGate(false) {}
};

void settle(ThreadedGLViewHost& host)
{
    ASSERT_TRUE(processEventsUntil(
        [&] { return !host.frameInFlight() && host.framesShown() == host.framesFinished(); }));
}

// The picture the host shows now.
QImage shown(ThreadedGLViewHost& host)
{
    return host.grab().toImage();
}

// A history that draws: a ridge moving across the rows of sources A and B, peaks in CH 1 and CH 2.
void fillHistory()
{
    QX2DSpectrum& model = QX2DSpectrum::sharedQX2DSpectrum();
    for (int source : {0, 1})
        for (int r = 0; r < 128; ++r)
            for (int c = 0; c < 64; ++c) {
                const float v = 6.0f + 5.0f * std::sin(r * 0.1f + c * 0.25f + source);
                (*model.heightGrid(source))[r][c] = v;
                (*model.linearGrid(source))[r][63 - c] = v;
            }
    for (int b = 0; b < 2; ++b)
        for (int r = 0; r < 128; ++r)
            PeakfftPower[b][r][0].store({6.0f, 10.0f, 21, r, 6.0f});
}

struct Fixture : ::testing::Test {
    void TearDown() override
    {
        ThreadedGLViewHost::setFrameHookForTests({});
        ThreadedGLViewHost::setSlowFramesForTests(std::chrono::milliseconds(0));
    }
};

using WaterfallFrames = Fixture;

TEST_F(WaterfallFrames, AFrameDrawsTheCopyTakenAsItStartedWhateverChangesMeanwhile)
{
    if (!onScreen())
        GTEST_SKIP() << "no X display: GL views draw no frames";
    QX2DSpectrumGLView::sharedQX2DSpectrumGLView().initDisplay();
    setPauseX = 1;  // no new rows, no new time stamps: the same inputs draw the same picture
    setRecX = 0;
    QX2DSpectrumGLView view;
    view.setBackgroundColor(bkColorC);
    ThreadedGLViewHost host(&view);
    host.resize(420, 300);
    host.show();
    ASSERT_TRUE(processEventsUntil([&] { return host.framesShown() >= 1; }));
    settle(host);
    fillHistory();  // after the first frame's set-up, which empties the history
    Draw2DBothside = 1;
    ShowHorizontalLine = 1;
    setPeakModeX = 1;
    view.setDemoNumber(0);  // CH 1 over CH 2, with the peak line
    while (view.presetMoveActive())
        host.grabFramebuffer();
    host.grabFramebuffer();  // the light, which a frame places for the next, follows the camera
    const QImage before = host.grabFramebuffer();
    ASSERT_EQ(host.grabFramebuffer(), before) << "the picture should stand still";
    const QImage picture = shown(host);

    Gate gate;
    ThreadedGLViewHost::setFrameHookForTests(
        [&](const ThreadedGLViewHost&) { return std::function<void()>([&] { gate.passThrough(); }); });
    view.setNeedsDisplay(true);
    ASSERT_TRUE(host.startFrameIfDue());
    gate.waitForArrival();
    ThreadedGLViewHost::setFrameHookForTests({});
    // Each event the window may have meanwhile.
    QX2DSpectrum::sharedQX2DSpectrum().initPositionZ();  // Clear Waterfall History, Go to Beginning
    SetDisplay& display = SetDisplay::sharedSetDisplay();
    display.setDraw2DBothside_(0);
    display.setPeakMode_(3);
    display.setShowHorizontalLine_(0);
    display.setColorOffsetSlider_(90.0f);
    display.setColorGainSlider_(4.0f);
    view.setDemoNumber(2);  // the Source menu: CH 1 alone
    view.didplayMode(FlagTimeLine, 1);
    view.getKey(VirtualKey::RightArrow, 0);
    view.setPositionZ(3);
    view.setBackgroundColor(RGBAColor::fromRGBA(1.0, 0.0, 0.0, 1.0));
    selectXCHNXY = 5;
    gate.open();
    settle(host);
    EXPECT_EQ(shown(host), picture);

    // The next frame draws what changed.
    EXPECT_NE(host.grabFramebuffer(), before);
    EXPECT_EQ(view.displaySelection(), 3);
}

TEST_F(WaterfallFrames, TheFirstFramesSetUpShowsTheOverlayFlagsFromTheMainThread)
{
    if (!onScreen())
        GTEST_SKIP() << "no X display: GL views draw no frames";
    QX2DSpectrumGLView::sharedQX2DSpectrumGLView().initDisplay();
    setDisplayModeFlag(4, FlagTimeLine, 1);
    QX2DSpectrumGLView view;
    std::vector<std::pair<int, int>> shownFlags;
    std::vector<QThread*> threads;
    view.setDisplayStateReceiver([&](int k, int state) {
        shownFlags.emplace_back(k, state);
        threads.push_back(QThread::currentThread());
    });
    view.setDemoNumber(4);  // as the window does before it shows the view: shows nothing yet
    EXPECT_TRUE(shownFlags.empty());
    ThreadedGLViewHost host(&view);
    host.resize(200, 150);
    host.show();
    ASSERT_TRUE(processEventsUntil([&] { return host.framesShown() >= 1; }));
    ASSERT_EQ(shownFlags.size(), 10u);
    EXPECT_EQ(shownFlags[FlagTimeLine], std::make_pair(int(FlagTimeLine), 1));
    for (QThread* thread : threads)
        EXPECT_EQ(thread, QThread::currentThread());
    EXPECT_EQ(view.displaySelection(), 5);
}

// Each event of the window while a frame draws. Frames are slowed, so that the events fall inside them;
// under ThreadSanitizer any state that an event writes and a frame reads is reported.
TEST_F(WaterfallFrames, EventsWhileFramesDrawLeaveThemTheirCopy)
{
    if (!onScreen())
        GTEST_SKIP() << "no X display: GL views draw no frames";
    OpenGLViewHost::setPlotDrawing(OpenGLViewHost::Drawing::OnOwnThread);
    startWithDemo();
    auto& app = QXAppController::sharedQXAppController();
    auto* controller = openNib<QX2DSpectrumAppController>(QStringLiteral("QX2DSpectrum"));
    ASSERT_NE(controller, nullptr);
    QWidget* window = controller->windowWidget();
    ThreadedGLViewHost* host = nullptr;
    ASSERT_TRUE(processEventsUntil([&] {
        for (auto* candidate : window->findChildren<ThreadedGLViewHost*>())
            if (candidate->isVisible())
                host = candidate;
        return host && host->framesFinished() >= 2;
    }));

    // Slow frames, each of which says it started (without ordering anything for ThreadSanitizer).
    std::atomic<int> started{0};
    ThreadedGLViewHost::setSlowFramesForTests(std::chrono::milliseconds(30));
    ThreadedGLViewHost::setFrameHookForTests([&](const ThreadedGLViewHost&) {
        return std::function<void()>([&] { started.fetch_add(1, std::memory_order_relaxed); });
    });
    SetDisplay& display = SetDisplay::sharedSetDisplay();
    const std::vector<std::function<void()>> events = {
        [&] { app.setClear3DWaterFallImage(nullptr); },
        [&] { TypeTextHere::sharedTypeTextHere().setGotoBeginning(nullptr); },
        [&] { display.setALLstate(); },
        [&] { display.setDraw2DBothside_(Draw2DBothside == 0 ? 1 : 0); },
        [&] { display.setPeakMode_((setPeakModeX + 1) % 4); },
        [&] { display.setShowHorizontalLine_(ShowHorizontalLine == 0 ? 1 : 0); },
        [&] { display.setHorizontalLineMode_((setHorizontalLineModeX + 1) % 4); },
        [&] { display.setColorOffsetSlider_(ColorOffsetSliderX > 50 ? 20.0f : 80.0f); },
        [&] { display.setColorGainSlider_(ColorGainSliderX > 2 ? 1.0f : 3.0f); },
        [&] { display.setPeakWFMode_((setPeakWFModeX + 1) % 4); },
        [&] { display.set2DMaterial((setMaterialX + 1) % 12); },
        [&] { controller->selectX((selectXCHNXY + 1) % 12); },
        [&] { controller->setshowDisplayall(selectXCHNXY); },
        [&] {
            controller->setOverlayFlag(FlagTimeLine, displayModeFlag(selectXCHNXY, FlagTimeLine) ? 0 : 1);
        },
        [&] { controller->activeView().setPositionZ(2); },
        [&] { controller->activeView().getKey(VirtualKey::LeftArrow, 0); },
        [&] { app.showQX2DSpectrum(nullptr); },  // a second window of the kind
    };
    for (int round = 0; round < 3; ++round)
        for (const auto& event : events) {
            const int before = started.load(std::memory_order_relaxed);
            controller->activeView().setNeedsDisplay(true);
            ASSERT_TRUE(processEventsUntil([&] {
                host->startFrameIfDue();
                return started.load(std::memory_order_relaxed) > before;
            }));
            event();
            settle(*host);
        }
    ThreadedGLViewHost::setFrameHookForTests({});
    ThreadedGLViewHost::setSlowFramesForTests(std::chrono::milliseconds(0));
    const quint64 frames = host->framesFinished();
    ASSERT_TRUE(processEventsUntil([&] { return host->framesFinished() >= frames + 3; }));
    for (QWidget* shownWindow : shownWindowsTitled(QLatin1String("Waterfall Window")))
        WindowHandle(shownWindow).close();
    EXPECT_TRUE(processEventsUntil([] { return GLRenderThread::threadsLeftToEnd() == 0; }));
}

}  // namespace
