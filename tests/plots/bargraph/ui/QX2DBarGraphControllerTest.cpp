#include <gtest/gtest.h>

#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "plots/bargraph/ui/QX2DBarGraphController.h"
#include "plots/frame/ui/PlotControls.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <QComboBox>
#include <QWidget>

using namespace nupo;
using namespace nupo::PlotControls;

namespace {

QX2DBarGraphController* openWindow()
{
    auto* controller =
        dynamic_cast<QX2DBarGraphController*>(NibLoader::loadNibNamed(QStringLiteral("QX2DBarGraph")));
    if (controller)
        controller->tickTimer().stop();
    return controller;
}

}  // namespace

TEST(QX2DBarGraphController, TickShowsRangesResolutionAndDisplayGains)
{
    DeviceConfig = 3;
    SampleSpeed = 256;
    fftp = 256;
    setGain1Number = 5;
    setGain2Number = 0;
    setGain3Number = 8;
    setGain4Number = 42;  // out of range: gain 1.0
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->windowWidget()->windowTitle(), "Bargraph Window");
    auto* popup = c->windowWidget()->findChild<QComboBox*>("popup");
    ASSERT_EQ(popup->count(), 10);
    EXPECT_EQ(popup->itemText(9), "2 set of LR 2D BarGarph:Mirror");
    c->timerUpdate();
    EXPECT_EQ(text(c->textFezField()), "1.000");
    EXPECT_EQ(text(c->textmaxFField()), "128.000");  // width slider at 0
    EXPECT_EQ(text(c->textmaxVField()), "6.000");
    EXPECT_FLOAT_EQ(displayGainX[0], 1.0f);
    EXPECT_FLOAT_EQ(displayGainX[1], 10.0f);
    EXPECT_FLOAT_EQ(displayGainX[2], 0.1f);
    EXPECT_FLOAT_EQ(displayGainX[3], 1.0f);
    EXPECT_FLOAT_EQ(c->setBar2DGain(1), 0.1f);
    EXPECT_FLOAT_EQ(c->setBar2DGain(9), 1.0f);

    // Logarithmic power forces the height to 8.8 and the amplitude span field to 100.
    LOGpowerONed = 1;
    c->timerUpdate();
    EXPECT_FLOAT_EQ(c->activeView().dBarH(), 10.0f - 8.8f);
    EXPECT_EQ(text(c->textmaxVField()), "100.0");
    EXPECT_NEAR(floatValue(c->windowWidget()->findChild<QWidget*>("DBarHSlider")), 8.8, 0.1);

    // Without it the bars take the height chosen last again (here the nib's 10.0), not 8.8.
    LOGpowerONed = 0;
    c->timerUpdate();
    EXPECT_FLOAT_EQ(c->activeView().dBarH(), 0.0f);
    EXPECT_NEAR(floatValue(c->windowWidget()->findChild<QWidget*>("DBarHSlider")), 10.0, 0.1);
    EXPECT_EQ(text(c->textmaxVField()), "6.000");
}

TEST(QX2DBarGraphController, CursorFieldsSayWhereTheCursorLinesAre)
{
    SampleSpeed = 120;
    fftp = 256;
    LOGpowerONed = 0;
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    c->timerUpdate();
    // The frequency line sits at the slider's share of the width, and the field names that frequency.
    const float percent = c->activeView().dBarF();
    EXPECT_FLOAT_EQ(percent, 50.0f);
    EXPECT_EQ(text(c->textmaxFField()), "60.000");
    EXPECT_EQ(text(c->textcurrentFField()), "30.000");
    EXPECT_FLOAT_EQ(c->activeView().dBarV(), 50.0f);
}

TEST(QX2DBarGraphController, FullViewAndBackKeepTheWindowsFrame)
{
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    QWidget* window = c->windowWidget();
    window->show();
    const QRect normal = window->geometry();
    c->selectX2(1);
    EXPECT_TRUE(c->fullViewActive());
    EXPECT_LE(window->width(), normal.width());            // showing the full view never widens the window
    window->setGeometry(normal.adjusted(0, 0, 300, 100));  // the user enlarges the full view
    c->selectX2(0);
    EXPECT_FALSE(c->fullViewActive());
    EXPECT_EQ(window->geometry(), normal);
}

TEST(QX2DBarGraphController, TheWindowFitsTheSmallestScreenLayout)
{
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    // One cell of the layout for 1024 x 768 screens, less a window manager's title bar and borders and
    // the menu bar.
    const QSize minimum = c->windowWidget()->minimumSizeHint();
    EXPECT_LE(minimum.width(), 512 - 10);
    EXPECT_LE(minimum.height(), (768 - 230) / 2 - 30 - 24);
}

TEST(QX2DBarGraphController, PeakFieldsFollowTheLastViewMode)
{
    DeviceConfig = 3;
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    for (int t = 0; t < 3; ++t)  // the start-of-run commands (mode 0, normal view) run out first
        c->timerUpdate();
    peakFFTX[0] = 1.5f;
    peakFFTX[1] = 2.5f;
    peakFFTX[2] = 3.5f;
    peakFFTX[3] = 4.5f;
    peakFFTY[2] = 10.0f;
    peakFFTY[3] = 12.0f;
    auto* popup = c->windowWidget()->findChild<QComboBox*>("popup");
    popup->setCurrentIndex(6);  // CH 3
    c->select(popup);
    c->timerUpdate();
    EXPECT_EQ(selectCHX, 6);
    EXPECT_EQ(text(c->textPeakV1Field()), "3.500");
    EXPECT_EQ(text(c->textPeakF1Field()), "10.000");
    EXPECT_FALSE(isHidden(c->textPeakV1Field()));
    EXPECT_TRUE(isHidden(c->textPeakV2Field()));
    EXPECT_EQ(c->activeView().viewMode(), 6);

    c->selectX(7);
    EXPECT_TRUE(isHidden(c->textPeakV1Field()));
    EXPECT_FALSE(isHidden(c->textPeakV2Field()));

    // A last view mode outside 0..9 leaves the peak fields as they are.
    selectCHX = 12;
    peakFFTX[2] = 99.0f;
    c->timerUpdate();
    EXPECT_EQ(text(c->textPeakV1Field()), "3.500");
}

TEST(QX2DBarGraphController, CommandsFromTheViewRepeatThreeTimesAndClosingCountsDown)
{
    DeviceConfig = 3;
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    for (int t = 0; t < 4; ++t)
        c->timerUpdate();
    QX2DBarGraphController::sharedQX2DBarGraphController().tickTimer().stop();
    QX2DBarGraphController::sharedQX2DBarGraphController().setDemoNumberAto2DC(8);
    EXPECT_EQ(setDemoNumberBarACount, 3);
    c->timerUpdate();
    auto* popup = c->windowWidget()->findChild<QComboBox*>("popup");
    EXPECT_EQ(popup->currentIndex(), 8);
    c->timerUpdate();
    c->timerUpdate();
    EXPECT_EQ(setDemoNumberBarACount, 0);

    // Alpha entries reach the window; closing does not clamp the open count.
    c->selectX2(6);
    EXPECT_NEAR(WindowHandle(c->windowWidget()).alphaValue(), 0.2, 0.01);
    EXPECT_EQ(selectBCHX, 6);
    Open2DBarGraph = 0;
    WindowHandle(c->windowWidget()).close();
    EXPECT_EQ(Open2DBarGraph, -1);
    EXPECT_EQ(ShowWindowBargraph, 0);
}
