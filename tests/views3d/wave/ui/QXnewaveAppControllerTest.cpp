// The wave-surface window's controller: the brain drive, the effect codes, the shape buttons and the
// window's set-up from its nib.
#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "plots/settings/ui/SetDisplay.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "tools/gl/QXorvellogoGLView.h"
#include "views3d/textures/gl/ImageSources.h"
#include "views3d/wave/gl/QXnewave.h"
#include "views3d/wave/gl/QXnewaveGLView.h"
#include "views3d/wave/ui/QXnewaveAppController.h"

#include <gtest/gtest.h>
#include <QSlider>
#include <QWidget>

#include <cmath>

using namespace nupo;

namespace {

class WaveController : public ::testing::Test {
protected:
    void SetUp() override
    {
        setPauseX = 1;  // keeps the refresh entry from overwriting the switch records planted here
        wave.setdSized(0);
    }
    void peak(int source, int brainSwitch, float hz)
    {
        auto& table = source > 3 ? peakSWcoherenceCount : peakSWfftCount;
        table[source][brainSwitch][0].peakFrequency.store(hz);
    }
    int lit() const
    {
        int band = -1;
        for (int b = 0; b < QXnewaveAppController::bandCount; ++b)
            if (controller.bandStates[b])
                band = band == -1 ? b : 99;
        return band;
    }

    QXnewave& wave = QXnewave::sharedQXnewave();
    QXnewaveAppController& controller = QXnewaveAppController::sharedQXnewaveAppController();
};

}  // namespace

TEST_F(WaveController, BrainDriveAppliesTheBandsCodeWhenTheBandChanges)
{
    controller.setRunbyBrainswX_(1);
    controller.setSoundBrainNumber(2);
    controller.setSoundPFCNumber(3);
    peak(2, 3, 10.0f);  // Alpha: code 4
    controller.CubicTunnelControl();
    EXPECT_EQ(controller.BSpeakFrequencyZZ, 3);
    EXPECT_EQ(wave.resetdnModed, 4);
    EXPECT_EQ(wave.wavingd, 1);
    EXPECT_EQ(lit(), 3);

    // The same band again sends nothing.
    wave.stopdn();
    peak(2, 3, 11.9f);
    controller.CubicTunnelControl();
    EXPECT_EQ(wave.wavingd, 0);

    peak(2, 3, 35.0f);  // Gamma: code 8
    controller.CubicTunnelControl();
    EXPECT_EQ(wave.resetdnModed, 8);
    EXPECT_EQ(lit(), 7);
    peak(2, 3, 40.0f);  // back to Eye: code 1, only Eye lit
    controller.CubicTunnelControl();
    EXPECT_EQ(wave.resetdnModed, 1);
    EXPECT_EQ(lit(), 0);

    // Coherence sources read their own table at their own number.
    controller.setSoundBrainNumber(7);
    peak(7, 3, 2.0f);
    controller.CubicTunnelControl();
    EXPECT_EQ(controller.BSpeakFrequencyZZ, 1);
    EXPECT_EQ(wave.resetdnModed, 2);

    // A source or switch number from outside the tables does nothing; neither does brain control off.
    controller.setSoundBrainNumber(12);
    controller.CubicTunnelControl();
    EXPECT_EQ(controller.BSpeakFrequencyZZ, 1);
    controller.setSoundBrainNumber(2);
    controller.setSoundPFCNumber(9);
    controller.CubicTunnelControl();
    EXPECT_EQ(controller.BSpeakFrequencyZZ, 1);
    controller.setSoundPFCNumber(3);
    controller.setRunbyBrainswX_(0);
    peak(2, 3, 5.0f);
    controller.CubicTunnelControl();
    EXPECT_EQ(controller.BSpeakFrequencyZZ, 1);
}

TEST_F(WaveController, EffectCodesAndShapeButtons)
{
    controller.CubicTunnelEffect(9.9f);
    EXPECT_EQ(wave.resetdnModed, 9);
    EXPECT_FLOAT_EQ(dtd, 0.008f);
    wave.resetdn(1);
    for (float code : {20.0f, -1.0f, 1e9f, std::nanf("")}) {
        controller.CubicTunnelEffect(code);
        EXPECT_EQ(wave.resetdnModed, 1) << code;
    }
    // A band's code is stored and applied at once, even with brain control off; a band outside the
    // table is ignored.
    controller.setBandSlider(5, 3.0f);
    EXPECT_EQ(controller.bandCodes[5], 3.0f);
    EXPECT_EQ(wave.resetdnModed, 3);
    controller.setBandSlider(8, 6.0f);
    controller.FrameBS(-1, nullptr);
    EXPECT_EQ(wave.resetdnModed, 3);

    // Tag 10 stops; tag 1 reshapes and restarts the about window's logo.
    const unsigned restarts = logoAnimation().restarts;
    QObject stop;
    stop.setProperty("tag", 10);
    wave.godn();
    controller.button(&stop);
    EXPECT_EQ(wave.wavingd, 0);
    QObject flat;
    flat.setProperty("tag", 1);
    logoAnimation().progress = 0.0;
    controller.button(&flat);
    EXPECT_EQ(wave.wavingd, 1);
    EXPECT_EQ(logoAnimation().restarts, restarts + 1);
    EXPECT_EQ(logoAnimation().progress, 1.0);
}

TEST_F(WaveController, WindowSetUpFromItsNib)
{
    DeviceConfig = 3;
    maxImageN = 1;
    WnewaveAlphaValue = 0.75f;
    auto* window = dynamic_cast<QXnewaveAppController*>(NibLoader::loadNibNamed(QStringLiteral("QXnewave")));
    ASSERT_NE(window, nullptr);
    QWidget* root = window->nibWindow();
    ASSERT_NE(root, nullptr);
    ASSERT_NE(window->glView(), nullptr);
    EXPECT_NEAR(WindowHandle(root).alphaValue(), 0.75, 0.01);
    // Shape 1 (flat).
    EXPECT_EQ(wave.resetdnModed, 1);

    auto* sources = root->findChild<QObject*>("SoundBrain");
    EXPECT_EQ(PopUpButton::numberOfItems(sources), 10);
    EXPECT_EQ(PopUpButton::titleOfSelectedItem(sources), "CH 1");
    auto* switches = root->findChild<QObject*>("SoundPFC");
    EXPECT_EQ(PopUpButton::numberOfItems(switches), 9);

    // The window opens standing still, brain control off.
    EXPECT_EQ(window->RunbyBrainswX, 0);
    EXPECT_EQ(Control::intValue(root->findChild<QObject*>("setRunbyBrainswX")), 0);

    // One image: the image sliders and the stepping button are hidden, the number field shows 1.
    window->timerUpdate();
    EXPECT_EQ(window->maxImageNZZ, 0);
    auto* colorMap = root->findChild<QWidget*>("setColorMapXX");
    ASSERT_NE(colorMap, nullptr);
    EXPECT_TRUE(colorMap->isHidden());
    EXPECT_TRUE(root->findChild<QWidget*>("RunTextureX")->isHidden());
    EXPECT_EQ(Control::intValue(root->findChild<QObject*>("displayHereTextureNumber")), 1);
    window->setMaxTextuerSlider(6);
    EXPECT_FALSE(colorMap->isHidden());
    EXPECT_EQ(Control::intValue(root->findChild<QObject*>("displayHereTextureNumber")), 6);
    // Once the view has set up and loaded its wall images, the sliders follow their number.
    // The sliders read what the view's frames last showed, published as each frame starts.
    QXnewaveGLView& view = *window->glView();
    view.setMaxImageNXopen(4);
    view.synchronizeFrame();
    window->timerUpdate();
    EXPECT_EQ(Control::intValue(root->findChild<QObject*>("displayHereTextureNumber")), 6) << "not set up";
    view.frameOwned().processFunc = false;  // as the set-up frame leaves it (no frame draws here)
    window->timerUpdate();
    EXPECT_EQ(window->maxImageNXopen, 1) << "the set-up is not shown before the next frame starts";
    view.synchronizeFrame();
    window->timerUpdate();
    EXPECT_EQ(window->maxImageNXopen, 4);
    EXPECT_EQ(Control::intValue(root->findChild<QObject*>("displayHereTextureNumber")), 4);
    EXPECT_EQ(qobject_cast<QSlider*>(colorMap)->maximum(), 4);
    view.frameOwned().processFunc = true;

    // Clicking a band indicator applies its code once and lights it alone.
    auto* theta = root->findChild<QObject*>("setFrameThetaBS");
    Control::setState(theta, 1);
    window->FrameBS(2, theta);
    EXPECT_EQ(window->bandStates[2], 1);
    EXPECT_EQ(wave.resetdnModed, 3);

    // Code 19 stops the rotation and resets the rotation sliders to 0, 10, 10, 0.
    window->glView()->setRotateSpeedUpXX(4.0f);
    window->CubicTunnelEffect(19.0f);
    EXPECT_EQ(window->glView()->RotateSpeedUp_value, 0.0f);
    EXPECT_NEAR(Control::floatValue(root->findChild<QObject*>("setRotateSpeedUpXX")), 0.0, 1e-6);
    EXPECT_NEAR(Control::floatValue(root->findChild<QObject*>("setRotateSpeedDownXX")), 10.0, 1e-6);
    EXPECT_NEAR(Control::floatValue(root->findChild<QObject*>("setRotateSpeedLeftXX")), 10.0, 1e-6);
    EXPECT_NEAR(Control::floatValue(root->findChild<QObject*>("setRotateSpeedRightXX")), 0.0, 1e-6);
    // The down slider is reversed: at 7 the view turns down by 3 a frame.
    auto* down = root->findChild<QObject*>("setRotateSpeedDownXX");
    Control::setFloatValue(down, 7.0);
    window->setRotateSpeedDownX(down);
    EXPECT_NEAR(window->glView()->RotateSpeedDown_value, 3.0f, 1e-5);
    // Codes 10..13 choose the texture mode.
    window->CubicTunnelEffect(11.0f);
    EXPECT_EQ(window->glView()->textureMode, 1);
    EXPECT_EQ(window->glView()->displayUnnMode, 3);

    // The transparency field of the display settings reaches the next opening.
    ASSERT_TRUE(windowAlphaOfWaveSurface);
    windowAlphaOfWaveSurface(0.5f);
    EXPECT_FLOAT_EQ(WnewaveAlphaValue, 0.5f);
    WindowHandle(root).close();
}
