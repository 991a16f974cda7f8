#include "core/QXSerialPort.h"
#include "platform/appkit/NotificationCenter.h"
#include "platform/gl/OffscreenGLContext.h"
#include "platform/keyboard/gl/VirtualKeyCodes.h"
#include "plots/waterfall/QX2DSpectrum.h"
#include "plots/waterfall/gl/QX2DSpectrumGLView.h"
#include "plots/waterfall/gl/WaterfallWindowState.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <gtest/gtest.h>

#include <vector>

namespace nupo {
namespace {

using Camera = QX2DSpectrumGLView::Camera;

void expectCamera(const Camera& c, float sphi, float stheta, float x, float y, float depth)
{
    EXPECT_FLOAT_EQ(c.sphi, sphi);
    EXPECT_FLOAT_EQ(c.stheta, stheta);
    EXPECT_FLOAT_EQ(c.Xposition, x);
    EXPECT_FLOAT_EQ(c.Yposition, y);
    EXPECT_FLOAT_EQ(c.sdepth, depth);
}

class WaterfallView : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(context.isValid()) << context.errorString().toStdString();
        context.makeCurrent();
        setPauseX = 1;  // no rows: the tests look at the view
    }
    void frame()
    {
        view.synchronizeFrame();
        view.drawRect(view.bounds());
    }

    OffscreenGLContext context{QSize(400, 300)};
    QX2DSpectrumGLView view{QRectF(0, 0, 400, 300)};
};

TEST_F(WaterfallView, FirstFrameSetsUpAndClearsWithTheBackground)
{
    QX2DSpectrumGLView::sharedQX2DSpectrumGLView().initDisplay();
    EXPECT_EQ(displayMode2DX[7][5], 1);
    EXPECT_EQ(displayMode2DX[7][2], 0);
    EXPECT_EQ(bkColorC, RGBAColor::fromRGBA(0.543744, 0.652981, 0.897959, 1.0));
    EXPECT_EQ(needUpdateColorC, 1);
    view.setBackgroundColor(bkColorC);
    EXPECT_TRUE(view.needsInitGL());
    frame();
    EXPECT_FALSE(view.needsInitGL());
    EXPECT_EQ(view.drawMode(), 3);
    EXPECT_EQ(view.displaySelection(), 1);
    EXPECT_EQ(gridZ, 64);
    const QImage image = context.readPixels();
    const QRgb corner = image.pixel(0, 0);  // a corner shows the background
    EXPECT_NEAR(qRed(corner), 139, 1);
    EXPECT_NEAR(qGreen(corner), 166, 1);
    EXPECT_NEAR(qBlue(corner), 229, 1);
}

TEST_F(WaterfallView, PresetMovesTakeTenFrames)
{
    // initGL moves from the zero camera to preset 1 of the first selection (CH 1 over CH 2).
    frame();
    EXPECT_TRUE(view.presetMoveActive());
    for (int f = 1; f < 10; ++f)
        frame();
    expectCamera(view.camera(), 90, 44.5f, -2, -3, 123.75f);
    EXPECT_FALSE(view.presetMoveActive());

    view.setPositionZ(3);
    expectCamera(view.drawingCamera(), 90, 44.5f, -2, -3, 123.75f);
    frame();
    frame();
    view.setPositionZ(2);  // new targets; the move still ends ten frames after it began
    expectCamera(view.cameraTarget(), 60.25f, 52.25f, -6, 6, 106.75f);
    EXPECT_FLOAT_EQ(view.drawingCamera().sphi, 90 + (60.25f - 90) / 10 * 2);
    for (int f = 2; f < 10; ++f)
        frame();
    expectCamera(view.camera(), 60.25f, 52.25f, -6, 6, 106.75f);

    // One-panel selections have presets of their own; the reset presets differ in 0 and 1.
    view.setDemoNumber(4);
    expectCamera(view.cameraTarget(), 60.25f, 52.25f, 2, 6, 78.75f);
    view.setDemoNumber(0);
    view.setResetPositionX(1);
    expectCamera(view.cameraTarget(), 90, 44.5f, -2, -3, 115.75f);
    view.setPositionZ(1);
    expectCamera(view.cameraTarget(), 90, 44.5f, -2, -3, 123.75f);
    view.setPositionZ(9);  // keeps the targets
    expectCamera(view.cameraTarget(), 90, 44.5f, -2, -3, 123.75f);
}

TEST_F(WaterfallView, KeysMoveTheCameraAndLeaveMarkersInChannelZero)
{
    using namespace ModifierFlag;
    QXSerialPort& port = QXSerialPort::sharedQXSerialPort();
    ploop = 700;
    view.keyDown({VirtualKey::A, Shift | Command, "A", false});
    EXPECT_EQ(port.getIntFromBuffer(0, 700), 1000);
    ploop = 701;
    view.keyDown({VirtualKey::A, Command | Option, "a", false});
    EXPECT_EQ(port.getIntFromBuffer(0, 701), 4000);
    ploop = 702;
    view.keyDown({VirtualKey::S, 0, "s", false});
    EXPECT_EQ(port.getIntFromBuffer(0, 702), 1);
    EXPECT_EQ(cInt, 1);

    const Camera before = view.camera();
    view.keyDown({VirtualKey::RightArrow, 0, "", false});
    view.keyDown({VirtualKey::UpArrow, 0, "", false});
    view.keyDown({VirtualKey::DownArrow, Shift, "", false});
    EXPECT_FLOAT_EQ(view.camera().Xposition, before.Xposition + 1);
    EXPECT_FLOAT_EQ(view.camera().Yposition, before.Yposition + 1);
    EXPECT_FLOAT_EQ(view.camera().sdepth, before.sdepth + 1);
    EXPECT_EQ(port.getIntFromBuffer(0, 702), 1000 + VirtualKey::DownArrow);
}

TEST_F(WaterfallView, MouseDragsTurnAndTilt)
{
    frame();
    const Camera before = view.camera();
    view.mouseDown({QPointF(100, 100), 1, 0});
    frame();
    view.mouseDragged({QPointF(140, 120), 1, 0});
    frame();
    view.mouseUp({QPointF(140, 120), 1, 0});
    EXPECT_FLOAT_EQ(view.camera().sphi, before.sphi + 40 * 0.25f);
    EXPECT_FLOAT_EQ(view.camera().stheta, before.stheta + 20 * 0.25f);  // dragging up tilts up
    frame();
    EXPECT_FLOAT_EQ(view.camera().sphi, before.sphi + 10);
}

TEST_F(WaterfallView, SpeedSetsTheRowPaceAndTellsTheTransport)
{
    int sliderPosts = 0;
    ScopedObserver observer(setTimeSliderNowNotification, nullptr,
                            [&](const Notification&) { ++sliderPosts; });
    SampleSpeed = 240;
    ploop = 900;
    view.setDemoNumber2(7);
    EXPECT_EQ(tploop.load(), 256);
    EXPECT_EQ(tlongE.load(), 7);
    EXPECT_EQ(ploopZZZ.load(), 900);
    view.setDemoNumber2(3);
    EXPECT_EQ(tploop.load(), 32);
    view.setDemoNumber2(10);  // changes neither, still posts
    EXPECT_EQ(tploop.load(), 32);
    EXPECT_EQ(tlongE.load(), 3);
    EXPECT_EQ(sliderPosts, 3);
}

TEST_F(WaterfallView, DrawModeHandOverGoesOneHopBetweenCompanions)
{
    QX2DSpectrumGLView other;
    view.setCompanions(&other, &other);
    other.setCompanions(&view, &view);
    other.setTextureModeX(1);
    view.setDrawModeX(0);
    view.setDrawModeX(3);  // companion gets texture mode 0, and does not answer back
    EXPECT_EQ(view.drawMode(), 3);
    EXPECT_EQ(other.textureModeValue(), 0);
    view.setTextureModeX(1);
    EXPECT_EQ(view.textureModeValue(), 1);
    EXPECT_EQ(other.drawMode(), 3);
    EXPECT_EQ(other.textureModeValue(), 0);
    view.setTextureModeX(5);  // outside 0 and 1: nothing
    EXPECT_EQ(view.textureModeValue(), 1);

    // A view that is its own companion.
    view.setCompanions(&view, &view);
    view.setDrawModeX(3);
    EXPECT_EQ(view.textureModeValue(), 0);
}

TEST_F(WaterfallView, SelectionsAndOverlayFlagsStayInsideTheTable)
{
    resetDisplayModeFlags();
    std::vector<std::pair<int, int>> sent;
    view.setDisplayStateReceiver([&](int k, int state) { sent.emplace_back(k, state); });
    view.setDemoNumber(4);  // the first after creation sends nothing
    EXPECT_TRUE(sent.empty());
    view.setDemoNumber(6);
    ASSERT_EQ(sent.size(), 10u);
    EXPECT_EQ(sent[5], std::make_pair(5, 1));
    EXPECT_EQ(sent[2], std::make_pair(2, 0));
    EXPECT_EQ(view.displaySelection(), 7);
    EXPECT_EQ(view.source(), 6);

    sent.clear();
    view.setDemoNumber(57);  // from a remote or a document: no row 57
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(view.displaySelection(), 7);
    EXPECT_EQ(view.source(), 6);

    view.didplayMode(2, 1);
    EXPECT_EQ(displayMode2DX[6][2], 1);
    view.didplayMode(11, 1);
    EXPECT_EQ(view.coherenceHigh(), 1);
    EXPECT_EQ(displayMode2DX[6][11], 1);
    view.didplayMode(12, 1);
    view.didplayMode(-3, 1);
    EXPECT_EQ(displayMode2DX[7][0], 1);  // nothing beyond row 6 changed
}

TEST_F(WaterfallView, RemoteCommandsWaitForTheNextFrame)
{
    QX2DSpectrumGLView& shared = QX2DSpectrumGLView::sharedQX2DSpectrumGLView();
    shared.setDemoNumberA(8);
    EXPECT_EQ(view.source(), 0);
    frame();
    EXPECT_EQ(view.source(), 8);
    EXPECT_EQ(setDemoNumber3DCA, 8);  // queued for the window controller
    EXPECT_EQ(setDemoNumber3DACount, 3);

    shared.setDemoNumberB(12);  // view/transparency entry 2 for the controller, no camera move
    EXPECT_EQ(setDemoNumber3DCB, 2);
    shared.setDemoNumberB(5);  // only recorded
    EXPECT_EQ(setDemoNumber2B, 5);
    EXPECT_EQ(setDemoNumber2BDidChanged, 1);
    frame();
    EXPECT_EQ(setDemoNumber2BDidChanged, 0);

    // Four background component writes publish one colour to the window.
    for (int k = 3; k >= 0; --k)
        shared.setBackgroundColorA(k, 0.25f * k);
    EXPECT_EQ(bkColorC, RGBAColor::fromRGBA(0.0, 0.25, 0.5, 0.75));
    EXPECT_FLOAT_EQ(shared.getBackgroundColor(2), 0.5f);
    shared.setBackgroundColorA(9, 1.0f);
    EXPECT_FLOAT_EQ(shared.getBackgroundColor(9), 0.0f);
}

TEST_F(WaterfallView, DisplayUpdateGivesEverySourceARowUnlessPaused)
{
    QX2DSpectrum& engine = QX2DSpectrum::sharedQX2DSpectrum();
    engine.initPositionZ();
    PeakfftPower[2][0][0].value.store(6.0f);  // channel peaks scroll once per row of their source
    setPauseX = 1;
    view.DisplayUpdataWaterfall();
    EXPECT_EQ(PeakfftPower[2][1][0].value.load(), 0.0f);
    setPauseX = 0;
    view.DisplayUpdataWaterfall();
    for (int block = 0; block < 4; ++block)
        EXPECT_EQ(PeakfftPower[block][1][0].row.load(), 1) << block;  // every channel took one row
    EXPECT_EQ(PeakfftPower[2][1][0].value.load(), 6.0f);
    EXPECT_EQ(PeakfftPower[2][2][0].value.load(), 0.0f);
    EXPECT_EQ(PeakfftPower[4][1][0].row.load(), 0);  // blocks beyond the channels stay
}

TEST_F(WaterfallView, LargeGridSwitchesTheLayoutAndTheFftSize)
{
    view.setDrawLargeGridX(1);
    EXPECT_EQ(fftp512Band.load(), 1);
    EXPECT_EQ(fftp.load(), 512);
    view.setDrawLargeGridX(0);
    EXPECT_EQ(fftp512Band.load(), 0);
    EXPECT_EQ(fftp.load(), 256);
    const int faceLines = QX2DSpectrum::sharedQX2DSpectrum().drawFaceNormsZ;
    view.setDrawSurfaceLineX(0);
    EXPECT_NE(QX2DSpectrum::sharedQX2DSpectrum().drawFaceNormsZ, faceLines);
}

}  // namespace
}  // namespace nupo
