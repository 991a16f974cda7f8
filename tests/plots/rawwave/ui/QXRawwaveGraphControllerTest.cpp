#include <gtest/gtest.h>

#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "plots/frame/ui/PlotControls.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/rawwave/ui/QXRawwaveGraphController.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLayout>
#include <QScrollBar>
#include <QWidget>

using namespace nupo;
using namespace nupo::PlotControls;

namespace {

QXRawwaveGraphController* openWindow()
{
    auto* controller =
        dynamic_cast<QXRawwaveGraphController*>(NibLoader::loadNibNamed(QStringLiteral("QXRawwaveGraph")));
    if (controller)
        controller->tickTimer().stop();  // the tests tick by hand
    return controller;
}

QWidget* child(QXRawwaveGraphController* c, const char* name)
{
    return c->windowWidget()->findChild<QWidget*>(QString::fromLatin1(name));
}

}  // namespace

TEST(QXRawwaveGraphController, TickFillsTheInformationFields)
{
    DeviceConfig = 3;
    SampleSpeed = 120;
    fftp = 256;
    setGain1Number = 5;
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->windowWidget()->windowTitle(), "Rawwave Window");
    EXPECT_EQ(OpenRawwave, 1);
    EXPECT_EQ(ShowWindowRawwave, 1);
    ARawwavePP = 12.5;
    BRawwavePP = 3.25;
    ploop = 432000;
    c->timerUpdate();
    EXPECT_EQ(text(c->textploopField()), "01:00:00.000");
    EXPECT_EQ(text(c->textFFTpointField()), "256");
    EXPECT_EQ(text(c->textSampleSpeedField()), "120");
    EXPECT_EQ(text(c->textppPowerLField()), "12.500");
    EXPECT_EQ(text(c->textppPowerRField()), "3.250");
    // The window's own view's frame rate (see PlotFrameRates).
    EXPECT_EQ(text(c->textFPSField()), QString::number(c->activeView().framesPerSecond(), 'f', 3));
    // Height slider at 10 with gain index 5 (G = 1): ((10 - 10) x 20 + 6) x 1; time span 256 / 120 / 2.
    EXPECT_EQ(text(c->textmaxVField()), "6.000");
    EXPECT_EQ(text(c->textcurrentVField()), "3.000");
    EXPECT_EQ(text(c->textmaxFField()), "1.067");

    ploop = 119;
    auto* second = openWindow();
    ASSERT_NE(second, nullptr);
    c->timerUpdate();
    EXPECT_EQ(text(c->textploopField()), "00:00:00.991");
    EXPECT_EQ(text(c->textFPSField()), QString::number(c->activeView().framesPerSecond(), 'f', 3));

    // Closing both leaves no window counted and names the saved frames by the count.
    WindowHandle(second->windowWidget()).close();
    WindowHandle(c->windowWidget()).close();
    EXPECT_EQ(OpenRawwave, 0);
    EXPECT_EQ(ShowWindowRawwave, 0);
    EXPECT_EQ(FrameUsingName[1], "RawwaveGraph 1");
    EXPECT_EQ(FrameUsingName[0], "RawwaveGraph 0");
}

TEST(QXRawwaveGraphController, QueuedViewModesRepeatAndTheSuppressFlagDropsThem)
{
    DeviceConfig = 3;
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    auto* popup = qobject_cast<QComboBox*>(child(c, "popup"));
    ASSERT_EQ(popup->count(), 7);
    EXPECT_EQ(popup->itemText(6), "2 set of LR Raw wave");

    // A document that started the application: the first tick drops the start-of-run commands.
    windowColorRawNOX = 1;
    c->timerUpdate();
    EXPECT_EQ(setDemoNumberRawACount, 0);
    EXPECT_EQ(windowColorRawNOX, 0);

    QXRawwaveGraphController::sharedQXRawwaveGraphController().tickTimer().stop();
    QXRawwaveGraphController::sharedQXRawwaveGraphController().setDemoNumberAtoRawC(4);
    c->timerUpdate();
    EXPECT_EQ(popup->currentIndex(), 4);
    EXPECT_EQ(c->channelMode(), 2);
    EXPECT_FALSE(child(c, "V2Slider")->isHidden());
    EXPECT_TRUE(child(c, "VSlider")->isHidden());
    EXPECT_TRUE(child(c, "displayLtext")->isHidden());
    EXPECT_EQ(selectCHXX, 4);
    for (int t = 0; t < 6; ++t)
        c->timerUpdate();
    EXPECT_EQ(setDemoNumberRawACount, 0);

    // Two-trace mode brings the level slider and the captions back.
    c->selectX(1);
    EXPECT_FALSE(child(c, "VSlider")->isHidden());
    EXPECT_FALSE(child(c, "displayLtext")->isHidden());
    testing::internal::CaptureStdout();
    c->selectX(9);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Invalid item"), std::string::npos);
    EXPECT_EQ(c->channelMode(), 2);
}

TEST(QXRawwaveGraphController, ViewEntriesSwitchViewsAndAnimateTransparency)
{
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    WindowHandle window(c->windowWidget());
    c->selectX2(3);
    EXPECT_NEAR(window.alphaValue(), 0.8, 0.01);
    EXPECT_EQ(selectBCHXX, 3);

    WRawAlphaValue = 0.5f;
    delta = 0.01f;
    c->selectX2(9);
    EXPECT_EQ(c->alphaAnimation(), 3);
    c->timerUpdate();
    EXPECT_NEAR(window.alphaValue(), 0.5, 0.01);
    c->timerUpdate();
    EXPECT_NEAR(window.alphaValue(), 0.51, 0.01);
    c->selectX2(10);
    const double kept = window.alphaValue();
    c->timerUpdate();
    EXPECT_DOUBLE_EQ(window.alphaValue(), kept);

    // The full view takes the window below the popups, the controls making way; the normal view
    // comes back with them.
    c->windowWidget()->show();
    c->windowWidget()->layout()->activate();
    const int normalHeight = child(c, "qXRawwaveGraphView")->height();
    const QSize windowSize = c->windowWidget()->size();
    c->selectX2(1);
    EXPECT_TRUE(c->fullViewActive());
    EXPECT_EQ(viewAX, 1);
    EXPECT_TRUE(child(c, "qXRawwaveGraphView")->isHidden());
    EXPECT_FALSE(child(c, "bMRawwaveGraphView")->isHidden());
    EXPECT_TRUE(child(c, "gridSlider")->isHidden());
    EXPECT_TRUE(child(c, "controlsScroll")->isHidden());
    c->windowWidget()->layout()->activate();
    EXPECT_EQ(c->windowWidget()->size(), windowSize);
    EXPECT_GT(child(c, "bMRawwaveGraphView")->height(), normalHeight + 100);
    c->selectX2(0);
    EXPECT_FALSE(c->fullViewActive());
    EXPECT_FALSE(child(c, "gridSlider")->isHidden());
    EXPECT_FALSE(child(c, "controlsScroll")->isHidden());
}

TEST(QXRawwaveGraphController, GainAndAmplitudeOutOfRange)
{
    QXRawwaveGraphController& shared = QXRawwaveGraphController::sharedQXRawwaveGraphController();
    setGain2Number = 0;
    setGain3Number = 12;
    EXPECT_FLOAT_EQ(shared.setRawWaveGain(1), 0.1f);
    EXPECT_FLOAT_EQ(shared.setRawWaveGain(2), 1.0f);
    EXPECT_FLOAT_EQ(shared.setRawWaveGain(4), 1.0f);
    EXPECT_FLOAT_EQ(shared.setRawWaveGain(-1), 1.0f);
    ERawwavePP = 7.0;
    EXPECT_FLOAT_EQ(shared.setRawWavePP(3), 7.0f);
    EXPECT_FLOAT_EQ(shared.setRawWavePP(4), 0.0f);
    // The shared controller has no window: its tick and actions touch only process-wide state.
    shared.setWindowColorValue();
    shared.timerUpdate();
    shared.select(nullptr);
    shared.changeRawwaveVSlider(nullptr);
    EXPECT_EQ(setDemoNumberRawCCount, 2);
}

TEST(QXRawwaveGraphController, StartUpColourAndOneChannelLayoutAndTheTrace)
{
    DeviceConfig = 0;
    fftp = 256;
    QXRawwaveGraphView::sharedQXRawwaveGraphView().initDisplay();
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    auto* popup = qobject_cast<QComboBox*>(child(c, "popup"));
    EXPECT_EQ(popup->currentIndex(), 2);
    EXPECT_EQ(popup->currentText(), "CH 1");
    EXPECT_EQ(windowColor, RGBAColor::fromRGBA(0.821112f, 0.875f, 0.787908f, 1.0f));
    ASSERT_TRUE(c->activeView().background());
    EXPECT_EQ(*c->activeView().background(), windowColor);
    EXPECT_EQ(GridColorY[0], 1.0f);

    // The window shows the background and the coloured trace on its centre row.
    c->windowWidget()->resize(760, 700);
    QWidget* host = child(c, "qXRawwaveGraphView");
    const QImage image = host->grab().toImage();
    ASSERT_FALSE(image.isNull());
    const QColor background = QColor::fromRgbF(0.821112f, 0.875f, 0.787908f);
    int differing = 0;
    for (int x = 5; x < image.width() - 5; x += 3) {
        const QColor pixel = image.pixelColor(x, image.height() / 2);
        if (std::abs(pixel.red() - background.red()) > 40 ||
            std::abs(pixel.green() - background.green()) > 40)
            ++differing;
    }
    EXPECT_GT(differing, 10);
}

TEST(QXRawwaveGraphController, ColourCommandsBringTheSharedWindowColour)
{
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    for (int t = 0; t < 3; ++t)
        c->timerUpdate();
    windowColor = RGBAColor::fromRGBA(0.1, 0.2, 0.3, 1.0);
    QXRawwaveGraphController::sharedQXRawwaveGraphController().tickTimer().stop();
    QXRawwaveGraphController::sharedQXRawwaveGraphController().setWindowColorValue();
    c->timerUpdate();
    ASSERT_TRUE(c->activeView().background());
    EXPECT_NEAR(c->activeView().background()->green, 0.2, 1e-6);
    EXPECT_EQ(setDemoNumberRawCCount, 2);

    // The background well's own action ends a document's suppression.
    windowColorRawNOX = 1;
    c->changeBackgroundColor(nullptr);
    EXPECT_EQ(windowColorRawNOX, 0);
}

TEST(QXRawwaveGraphController, TheWindowFitsTheSmallestScreenLayoutAndItsControlsScroll)
{
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    // One cell of the layout for 1024 x 768 screens, less a window manager's title bar and borders and
    // the menu bar.
    const QSize minimum = c->windowWidget()->minimumSizeHint();
    EXPECT_LE(minimum.width(), 512 - 10);
    EXPECT_LE(minimum.height(), (768 - 230) / 2 - 30 - 24);
    // At the nib's size every control shows without scrolling.
    QWidget* window = c->windowWidget();
    window->show();
    auto* scroll = window->findChild<QAbstractScrollArea*>("controlsScroll");
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0);
}
