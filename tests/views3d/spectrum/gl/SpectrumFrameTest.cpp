// One frame of the 3D view drawn offscreen: the clear colour, the overlay pass's layout by selection and
// size, and the texts it draws.
#include "platform/gl/OffscreenGLContext.h"
#include "shared/AnalysisState.h"
#include "views3d/QX3DSpectrumGLView.h"
#include "views3d/SpectrumViewState.h"
#include "views3d/spectrum/SpectrumViewSettings.h"
#include "views3d/spectrum/gl/QX3DSpectrumGLDrawing.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace nupo;

namespace {

class SpectrumFrame : public ::testing::Test {
protected:
    void open(int w, int h)
    {
        context = std::make_unique<OffscreenGLContext>(QSize(w, h));
        ASSERT_TRUE(context->isValid()) << context->errorString().toStdString();
        drawing = std::make_unique<QX3DSpectrumGLDrawing>(view);
        drawing->setFrameSize(QSizeF(w, h));
        drawing->prepareOpenGL();
    }
    // One frame as a host draws it: the synchronisation step, then the frame from its copy.
    QImage frame()
    {
        drawing->synchronizeFrame();
        drawing->drawRect(drawing->bounds());
        return context->readPixels();
    }
    // Where the last pass drew a slot, or (-1, -1).
    QPointF placeOf(const SpectrumOverlays::Slot& slot) const
    {
        for (const auto& p : drawing->overlays().lastPass)
            if (p.texture == slot.get())
                return p.at;
        return QPointF(-1, -1);
    }
    bool drawn(const SpectrumOverlays::Slot& slot) const { return placeOf(slot).x() >= 0; }

    QX3DSpectrumGLView view;
    std::unique_ptr<OffscreenGLContext> context;
    std::unique_ptr<QX3DSpectrumGLDrawing> drawing;
};

}  // namespace

TEST_F(SpectrumFrame, FirstFrameClearsWithTheViewColourAndDrawsLabels)
{
    open(859, 594);
    view.num = 0;  // the first frame selects display mode 0: CH 1, CH 2 and their coherence
    view.setBackgroundColor(RGBAColor::fromRGBA(0.0, 0.0, 1.0, 1.0));
    const QImage image = frame();
    EXPECT_EQ(view.oneBrainwave.load(), 1);
    EXPECT_EQ(view.setResetPositionXActive, 1) << "the first frame starts preset 0";
    // The top-left corner lies outside the scene's tiles and the overlays.
    EXPECT_EQ(qBlue(image.pixel(2, 2)), 255);
    EXPECT_EQ(qRed(image.pixel(2, 2)), 0);
    // "Left" at (W/4 - 20, H - 20): its box and white text make pixels that are not the clear colour.
    const QPointF left = placeOf(drawing->overlays().label(LabelSlot::Left));
    EXPECT_FLOAT_EQ(left.x(), 859.0f / 4.0f - 20.0f);
    EXPECT_FLOAT_EQ(left.y(), 574.0f);
    int bright = 0;
    for (int y = 574; y < 590; ++y)
        for (int x = static_cast<int>(left.x()); x < left.x() + 30; ++x)
            bright += qRed(image.pixel(x, y)) > 100;
    EXPECT_GT(bright, 20);
    // Wider than 800: the peak lines and the band column.
    EXPECT_EQ(placeOf(drawing->overlays().peak[1]), QPointF(459, 10));
    EXPECT_EQ(placeOf(drawing->overlays().label(LabelSlot::Gamma)), QPointF(726, 327));
    const double step = drawing->overlays().label(LabelSlot::Coherence)->frameSize().height() + 1.0;
    EXPECT_NEAR(placeOf(drawing->overlays().label(LabelSlot::BetaH)).y(), 327 + step, 1e-3);
}

TEST_F(SpectrumFrame, NarrowViewsDropPeaksAndBandsButKeepBottomLabels)
{
    open(800, 400);
    view.num = 1;
    frame();
    EXPECT_FALSE(drawn(drawing->overlays().peak[0]));
    EXPECT_FALSE(drawn(drawing->overlays().label(LabelSlot::Gamma)));
    EXPECT_TRUE(drawn(drawing->overlays().label(LabelSlot::Coherence)));
    EXPECT_TRUE(drawing->overlays().peak[0]->string().string().startsWith(QStringLiteral("CH 3")));
}

TEST_F(SpectrumFrame, BrainSwitchTableScalesWithTheView)
{
    open(859, 594);
    view.num = 3;  // CH 2 alone
    view.setBSinfo(1);
    frame();
    const auto& o = drawing->overlays();
    EXPECT_NEAR(placeOf(o.BS[0]).x(), 549.5, 1e-3);
    EXPECT_NEAR(placeOf(o.BS[0]).y(), 55.0, 1e-3);
    EXPECT_EQ(placeOf(o.BSN[0]), QPointF(10, 55));
    const double row = o.BS[0]->frameSize().height() + 2.0;
    EXPECT_NEAR(placeOf(o.BS[8]).y(), 55.0 + row, 1e-3) << "window 8 follows window 0";
    EXPECT_NEAR(placeOf(o.BSN[8]).y(), 55.0 + row, 1e-3);
    EXPECT_EQ(placeOf(o.peak[1]), QPointF(459, 10)) << "a channel's peak line at any width";
    EXPECT_TRUE(o.BSN[9]->string().string().contains(QString::fromUtf8("\u00b5V")));
    // No band legend: no multi-source layout was drawn yet.
    EXPECT_FALSE(drawn(drawing->overlays().label(LabelSlot::AllBand)));
}

TEST_F(SpectrumFrame, FourChannelLabelsShowNearTheFirstPresetOnly)
{
    open(1000, 600);
    view.num = 13;
    frame();
    view.camera = SceneCamera{90.0f, 45.25f, 0.0f, -40.0f, 232.0f};
    view.setResetPositionXActive = 0;
    frame();
    EXPECT_EQ(placeOf(drawing->overlays().label(LabelSlot::Left1)), QPointF(370, 420));
    EXPECT_TRUE(drawn(drawing->overlays().peak[3]));
    view.camera.sphi = 95.5f;
    frame();
    EXPECT_FALSE(drawn(drawing->overlays().label(LabelSlot::Left1)));
    view.camera.sphi = 90.0f;
    view.camera.Yposition = -34.9f;
    frame();
    EXPECT_FALSE(drawn(drawing->overlays().label(LabelSlot::Left1)));
}

TEST_F(SpectrumFrame, PendingCommandsApplyBeforeTheClearAndKeysMoveTheCamera)
{
    open(400, 300);
    frame();
    QX3DSpectrumGLView::sharedQX3DSpectrumGLView().setDemoNumberA(7);
    QX3DSpectrumGLView::sharedQX3DSpectrumGLView().setDemoNumberB(2);
    frame();
    EXPECT_EQ(view.shapeChange.load(), 7);
    EXPECT_EQ(view.cameraTarget, cameraPreset(2, view.viewModeX)->target);

    const SceneCamera before = view.camera;
    drawing->keyDown(KeyEvent{0x7E, 0, {}, false});  // up arrow
    EXPECT_FLOAT_EQ(view.camera.Yposition, before.Yposition + 1.0f);
    drawing->keyDown(KeyEvent{0x7E, 1u << 17, {}, false});  // Shift: closer
    EXPECT_FLOAT_EQ(view.camera.sdepth, before.sdepth - 1.0f);
    drawing->keyDown(KeyEvent{0x28, 1u << 19, {}, false});  // Option-K still sets the axis
    EXPECT_EQ(rotateX, 1);
    drawing->keyDown(KeyEvent{0x7E, (1u << 17) | (1u << 20), {}, false});  // Shift wins over Command
    EXPECT_FLOAT_EQ(view.camera.sdepth, before.sdepth - 2.0f);
}
