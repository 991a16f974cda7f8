// Frames/s: each plot window shows the rate of its own view's frames, with two windows of each kind open,
// whatever the other window of its kind draws.
#include <gtest/gtest.h>

#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/gl/OffscreenGLContext.h"
#include "platform/quartz/gl/RecordingGraphicsContext.h"
#include "plots/bargraph/ui/QX2DBarGraphController.h"
#include "plots/frame/ui/PlotControls.h"
#include "plots/rawwave/ui/QXRawwaveGraphController.h"
#include "plots/waterfall/ui/QX2DSpectrumAppController.h"

#include <QString>

#include <functional>

using namespace nupo;

namespace {

template <class Controller>
Controller* openWindow(const char* nib)
{
    auto* controller = dynamic_cast<Controller*>(NibLoader::loadNibNamed(QString::fromLatin1(nib)));
    if (controller)
        controller->tickTimer().stop();  // the test draws and ticks by hand
    return controller;
}

// Draws one window's view until it has measured a rate, then ticks both windows: the one drawn shows its
// own view's rate, the other (whose view drew nothing) none; both views' rates stay their own.
template <class Controller>
void expectOwnRates(const char* nib, const std::function<void(Controller&)>& drawFrame, int decimals)
{
    Controller* drawn = openWindow<Controller>(nib);
    Controller* idle = openWindow<Controller>(nib);
    ASSERT_NE(drawn, nullptr) << nib;
    ASSERT_NE(idle, nullptr) << nib;
    for (int frame = 0; frame < 10000 && drawn->activeView().framesPerSecond() <= 1.0; ++frame)
        drawFrame(*drawn);
    const double rate = drawn->activeView().framesPerSecond();
    EXPECT_GT(rate, 1.0) << nib;
    EXPECT_EQ(idle->activeView().framesPerSecond(), 0.0) << nib;
    drawn->timerUpdate();
    idle->timerUpdate();
    EXPECT_EQ(PlotControls::text(drawn->textFPSField()), QString::number(rate, 'f', decimals)) << nib;
    EXPECT_EQ(PlotControls::text(idle->textFPSField()), QString::number(0.0, 'f', decimals)) << nib;
    WindowHandle(idle->windowWidget()).close();
    WindowHandle(drawn->windowWidget()).close();
}

}  // namespace

TEST(PlotFrameRates, EachRawWaveAndBarGraphWindowShowsItsOwnViewsRate)
{
    expectOwnRates<QXRawwaveGraphController>(
        "QXRawwaveGraph",
        [](QXRawwaveGraphController& c) {
            RecordingGraphicsContext context;
            c.activeView().drawRect(context, c.activeView().bounds());
        },
        3);
    expectOwnRates<QX2DBarGraphController>(
        "QX2DBarGraph",
        [](QX2DBarGraphController& c) {
            RecordingGraphicsContext context;
            c.activeView().drawRect(context, c.activeView().bounds());
        },
        3);
}

TEST(PlotFrameRates, EachWaterfallWindowShowsItsOwnViewsRate)
{
    OffscreenGLContext context(QSize(160, 120));
    if (!context.isValid())
        GTEST_SKIP() << context.errorString().toStdString();
    expectOwnRates<QX2DSpectrumAppController>(
        "QX2DSpectrum",
        [](QX2DSpectrumAppController& c) {
            c.activeView().synchronizeFrame();
            c.activeView().drawRect(c.activeView().bounds());
        },
        3);
}
