// The waterfall window as a person uses it: opened from the menu while a recording plays, its popups,
// check boxes, drawers, keys and start frequency.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

#include "core/QXSerialPort.h"
#include "core/ui/QXAppController.h"
#include "platform/appkit/ui/Drawer.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "plots/frame/ui/PlotControls.h"
#include "plots/settings/DisplaySettings.h"
#include "plots/waterfall/QX2DSpectrum.h"
#include "plots/waterfall/ui/QX2DSpectrumAppController.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "support/WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace nupo;
using namespace nupo::PlotControls;
using namespace nupo::test;

namespace {

QList<QWidget*> waterfallWindows()
{
    return shownWindowsTitled(QLatin1String("Waterfall Window"));
}

QX2DSpectrumAppController* openWindow()
{
    return openNib<QX2DSpectrumAppController>(QStringLiteral("QX2DSpectrum"));
}

// Pixels coloured above the palette's blue floor (greens, reds, yellows of the surface).
int warmPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += (qGreen(p) > qBlue(p) + 60 || qRed(p) > qBlue(p) + 60) && qRed(p) + qGreen(p) < 480;
        }
    return count;
}

}  // namespace

TEST(QX2DSpectrumWindow, OpensFromTheMenuAndInFrontAndShowsTheDemoRecordingsAlphaRidge)
{
    startWithDemo();
    QXAppController::sharedQXAppController().showQX2DSpectrum(nullptr);
    ASSERT_EQ(waterfallWindows().size(), 1);
    EXPECT_EQ(Open3DWaterFall, 1);
    EXPECT_EQ(ShowWindow3DWaterFall, 1);
    EXPECT_FALSE(WindowHandle(waterfallWindows()[0]).isAtStatusWindowLevel());
    QXAppController::sharedQXAppController().showQX2DSpectrumFront(nullptr);
    ASSERT_EQ(waterfallWindows().size(), 2);
    EXPECT_EQ(Open3DWaterFall, 2);
    int inFront = 0;
    for (QWidget* window : waterfallWindows())
        inFront += WindowHandle(window).isAtStatusWindowLevel();
    EXPECT_EQ(inFront, 1);
    WindowHandle(waterfallWindows().last()).close();

    if (!onScreen())
        GTEST_SKIP() << "no X display: the view draws no frames, and the frames take the rows";
    // The history of CH 1 holds the alpha bursts near 10 Hz as a ridge well above its other columns (0.47 Hz
    // per column at 256 points and 120 samples per second). Each frame takes one row from the analysis of
    // the newest 256 samples (2.1 s), and the demo's bursts swell and fade every 11 s (during the first
    // 5.5 s of each period): on a busy machine frames come slowly and the rows of any stretch may all fall
    // between bursts. So rows are gathered as frames take them, each with the replay position it came at,
    // and only those whose analysed samples lie in a burst are compared, whatever the frame rate.
    ASSERT_TRUE(test::processEventsUntil([] { return ploop.load() > 120 * 3; }));
    setLoopModeX = 1;  // the replay runs on until enough rows have come
    QXAppController::sharedQXAppController().setClear3DWaterFallImage(nullptr);
    const QX2DSpectrum& engine = QX2DSpectrum::sharedQX2DSpectrum();
    constexpr int burstPeriod = 11 * 120;
    const auto inBurst = [](int position) {
        const int phase = position % burstPeriod;
        return phase >= 120 * 2 + 60 && phase <= 120 * 5 + 60;
    };
    constexpr int wanted = 60;
    std::vector<std::array<float, 64>> rowsInBursts;
    std::array<float, 64> latest{};
    ASSERT_TRUE(test::processEventsUntil([&] {
        std::array<float, 64> row;
        std::copy(std::begin(engine.positZ[0]), std::end(engine.positZ[0]), row.begin());
        const bool taken =
            row != latest && std::any_of(row.begin(), row.end(), [](float v) { return v != 0; });
        latest = row;
        if (taken && inBurst(ploop.load()))
            rowsInBursts.push_back(row);
        return int(rowsInBursts.size()) >= wanted;
    }));
    // The picture below shows the history as it stands: no rows after the last one gathered.
    setPauseX = 1;
    setLoopModeX = 0;
    const auto columnMean = [&](int first, int last) {
        double sum = 0.0;
        for (const auto& row : rowsInBursts)
            for (int c = first; c <= last; ++c)
                sum += row[std::size_t(63 - c)];
        return sum / (double(rowsInBursts.size()) * (last - first + 1));
    };
    const double alpha = columnMean(17, 26);  // 8 .. 12 Hz
    const double rest = columnMean(40, 63);   // 19 .. 30 Hz
    EXPECT_GT(alpha, 3.0 * rest) << alpha << " against " << rest;

    // The ridge shows in the picture: the surface's ramp runs from blue (flat) through green and red.
    // Emptying the history (and pausing, so that no new row comes) leaves only the blue floor.
    OpenGLViewHost* host = shownViewHost(waterfallWindows()[0]);
    ASSERT_NE(host, nullptr);
    const QImage withRidge = host->grabFramebuffer();
    QXAppController::sharedQXAppController().setClear3DWaterFallImage(nullptr);
    const QImage cleared = host->grabFramebuffer();
    withRidge.save(QStringLiteral("%1/waterfall-demo.png").arg(test::tempFolder()));
    EXPECT_GT(warmPixels(withRidge), 2000);
    // (The frame's cubes, labels and peak-line bars are coloured too, in both pictures.)
    EXPECT_GT(warmPixels(withRidge), warmPixels(cleared) * 3 / 2 + 1000);
}

TEST(QX2DSpectrumWindow, PopupsAndCheckBoxesSwitchSelectionsAndOverlays)
{
    DeviceConfig = 3;
    resetDisplayModeFlags();
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    c->tickTimer().stop();
    EXPECT_EQ(c->windowWidget()->windowTitle(), "Waterfall Window");
    auto* sourcePopup = child<QComboBox>(*c, "popup");
    ASSERT_EQ(sourcePopup->count(), 12);
    EXPECT_EQ(sourcePopup->itemText(6), "Coherence CH 1 & CH 2");
    EXPECT_EQ(child<QComboBox>(*c, "popup2")->count(), 10);
    EXPECT_EQ(child<QComboBox>(*c, "popup3")->count(), 10);

    // Source: the view shows the selection, the check boxes that source's flags.
    displayMode2DX[5][2] = 1;
    displayMode2DX[5][0] = 0;
    sourcePopup->setCurrentIndex(5);
    c->select(sourcePopup);
    EXPECT_EQ(c->activeView().displaySelection(), 6);
    EXPECT_EQ(selectXCHNXY, 5);
    EXPECT_TRUE(child<QCheckBox>(*c, "setTimeline")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(*c, "setFrequencyline")->isChecked());

    // A check box writes the flag of the source shown, and only of it.
    auto* sphere = child<QCheckBox>(*c, "setTimesphere");
    sphere->setChecked(false);
    c->Timesphere(sphere);
    EXPECT_EQ(displayMode2DX[5][5], 0);
    EXPECT_EQ(displayMode2DX[4][5], 1);
    auto* high = child<QCheckBox>(*c, "setCoherenceHigh");
    high->setChecked(true);
    c->CoherenceHigh(high);
    EXPECT_EQ(displayMode2DX[5][11], 1);
    EXPECT_EQ(c->activeView().coherenceHigh(), 1);

    // View popup: the full view is shown and takes the settings, also the time marks.
    auto* viewPopup = child<QComboBox>(*c, "popup3");
    viewPopup->setCurrentIndex(1);
    c->select3(viewPopup);
    EXPECT_TRUE(c->fullViewActive());
    EXPECT_TRUE(isHidden(child<QWidget>(*c, "_glView")));
    EXPECT_FALSE(isHidden(child<QWidget>(*c, "_gl2View")));
    EXPECT_EQ(c->fullView().displaySelection(), 6);
    c->normalView().setViewX(2);
    c->setTimesphere_(1);
    EXPECT_EQ(displayMode2DX[5][5], 1);
    EXPECT_EQ(displayMode2DX[2][5], 1);
    c->setTimesphere_(0);
    EXPECT_EQ(displayMode2DX[5][5], 0);
    EXPECT_EQ(displayMode2DX[2][5], 1);  // the hidden normal view was not addressed

    // Speed popup: play speed and row pace.
    SampleSpeed = 120;
    auto* speed = child<QComboBox>(*c, "popup2");
    speed->setCurrentIndex(5);
    c->select2(speed);
    EXPECT_EQ(tlongE.load(), 5);
    EXPECT_EQ(tploop.load(), 64);

    // Drawing switches reach the shown view.
    auto* flat = child<QAbstractButton>(*c, "flatCell");
    ASSERT_NE(flat, nullptr);
    flat->setChecked(true);
    c->DrawModeX(child<QWidget>(*c, "drawModeMatrix"));
    EXPECT_EQ(c->fullView().drawMode(), 2);
    c->button(child<QWidget>(*c, "leftButton"));
    EXPECT_FLOAT_EQ(c->fullView().cameraTarget().sphi, 60.25f);

    // The switches that only reach the view: brain-switch marks, face normals, running the colours by
    // brain switches, and the glide to a reset position (whose Front keeps X at 0, unlike the button).
    child<QCheckBox>(*c, "viewShowBrainSWBox")->click();
    EXPECT_EQ(c->fullView().brainSwitchMarks(), 1);
    const int normals = QX2DSpectrum::sharedQX2DSpectrum().drawFaceNormsZ;
    child<QCheckBox>(*c, "drawSurfaceLineBox")->click();
    EXPECT_NE(QX2DSpectrum::sharedQX2DSpectrum().drawFaceNormsZ, normals);
    child<QCheckBox>(*c, "runByBrainBox")->click();
    EXPECT_EQ(c->fullView().runByBrain(), 1);
    auto* reset = child<QComboBox>(*c, "resetPositionPopup");
    ASSERT_EQ(reset->count(), 4);
    reset->setCurrentIndex(1);
    c->ResetPositionX(reset);
    EXPECT_FLOAT_EQ(c->fullView().cameraTarget().stheta, 56.25f);
    reset->setCurrentIndex(0);
    c->ResetPositionX(reset);
    EXPECT_FLOAT_EQ(c->fullView().cameraTarget().Xposition, 0.0f);
    EXPECT_TRUE(c->fullView().presetMoveActive());

    // A source outside the table (a remote or a document) changes no flags.
    c->setshowDisplayall(40);
    c->setDemoNumberA(40);
    EXPECT_EQ(c->fullView().displaySelection(), 6);
    WindowHandle(c->windowWidget()).close();
}

TEST(QX2DSpectrumWindow, StartFrequencyFieldConvertsHertzToTheStartBin)
{
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    c->tickTimer().stop();
    fftp = 256;
    SampleSpeed = 256;
    auto* field = child<QLineEdit>(*c, "displayHereStartFrequency");
    field->setText("100");
    c->sendTextStartFrequencyField(field);
    EXPECT_EQ(c->activeView().startFrequency(), 64);
    EXPECT_EQ(field->text(), "64");
    field->setText("30.7");
    c->sendTextStartFrequencyField(field);
    EXPECT_EQ(c->activeView().startFrequency(), 30);
    EXPECT_EQ(text(c->StartFrequencyField()), "30");
    field->setText("-8");
    c->sendTextStartFrequencyField(field);
    EXPECT_EQ(c->activeView().startFrequency(), 0);
    WindowHandle(c->windowWidget()).close();
}

TEST(QX2DSpectrumWindow, TickShowsFieldsAndStepsTheColourAnimations)
{
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    c->tickTimer().stop();
    ploop = 450075;
    SampleSpeed = 120;
    fftp = 256;
    setColorGainAnimationX = 1;
    ColorGainSliderX = 1.88f;
    setColorOffsetAnimationX = 3;
    ColorOffsetSliderX = 49.0f;
    ColorOffsetSliderXUp = 1;
    startToSaveData = 1;
    c->timerUpdate();
    EXPECT_EQ(text(c->textploopField()), "01:02:30.625");
    EXPECT_EQ(text(c->textFPSField()), QString::number(c->activeView().framesPerSecond(), 'f', 3));
    EXPECT_EQ(text(c->textFezField()), "0.469");
    EXPECT_FLOAT_EQ(ColorGainSliderX, 0.2f);  // keeps stepping while a document is written
    EXPECT_FLOAT_EQ(ColorOffsetSliderX, 50.0f);
    EXPECT_EQ(ColorOffsetSliderXUp, 0);
    // "Waterfallupdate" runs one extra tick.
    NotificationCenter::defaultCenter().postNotificationName(WaterfallupdateNotification);
    EXPECT_FLOAT_EQ(ColorGainSliderX, 0.4f);
    startToSaveData = 0;
    // The speed popup follows the play speed.
    tlongE = 8;
    NotificationCenter::defaultCenter().postNotificationName(setMovieSpeedNotification);
    EXPECT_EQ(child<QComboBox>(*c, "popup2")->currentIndex(), 8);
    WindowHandle(c->windowWidget()).close();
    EXPECT_EQ(Open3DWaterFall, 0);
    EXPECT_EQ(ShowWindow3DWaterFall, 0);
}

TEST(QX2DSpectrumWindow, DrawersOpenOnTheirEdgesWithTheirSizes)
{
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    c->tickTimer().stop();
    QX2DSpectrumController& drawers = c->drawers();
    ASSERT_NE(drawers.leftDrawer, nullptr);
    ASSERT_NE(drawers.bottomDrawer, nullptr);
    ASSERT_NE(drawers.upperRightDrawer, nullptr);
    ASSERT_NE(drawers.lowerRightDrawer, nullptr);
    EXPECT_EQ(drawers.leftDrawer->minContentSize(), QSizeF(230, 230));
    EXPECT_EQ(drawers.leftDrawer->maxContentSize(), QSizeF(300, 300));

    // In the middle of the screen a drawer without room on its side finds none on the other either: every
    // drawer keeps its edge, and the window moves or gives up size to make room.
    test::moveToMiddle(c->windowWidget());
    c->actionNamed("toggleLeftDrawer")(nullptr);
    c->actionNamed("toggleBottomDrawer")(nullptr);
    c->actionNamed("toggleUpperRightDrawer")(nullptr);
    c->actionNamed("toggleLowerRightDrawer")(nullptr);
    test::processEventsUntil([&] { return drawers.lowerRightDrawer->state() == Drawer::State::Open; });
    EXPECT_EQ(drawers.leftDrawer->edge(), Drawer::Edge::Left);
    EXPECT_EQ(drawers.bottomDrawer->edge(), Drawer::Edge::Bottom);
    EXPECT_EQ(drawers.upperRightDrawer->edge(), Drawer::Edge::Right);
    EXPECT_EQ(drawers.lowerRightDrawer->edge(), Drawer::Edge::Right);
    EXPECT_TRUE(drawers.leftDrawer->isVisible());

    // Offsets follow the window's size.
    WindowHandle window(c->windowWidget());
    const QRectF frame = window.frame();
    window.setFrame(QRectF(frame.x(), frame.y(), 700, 601));
    c->windowDidResize(c->windowWidget());
    const double h = window.frame().height();
    const auto half = static_cast<unsigned>(h * 0.5);
    EXPECT_EQ(drawers.bottomDrawer->leadingOffset(), 50.0);
    EXPECT_EQ(drawers.bottomDrawer->trailingOffset(), window.frame().width() - 270.0);
    EXPECT_EQ(drawers.upperRightDrawer->leadingOffset(), 50.0);
    EXPECT_EQ(drawers.upperRightDrawer->trailingOffset(), half);  // both meet on the middle row
    EXPECT_EQ(drawers.lowerRightDrawer->leadingOffset(), half);
    EXPECT_EQ(drawers.lowerRightDrawer->trailingOffset(), unsigned(h - 2.0 * half) + 50.0);
    // 601 points high: 50 and 300 above, 300 and 51 below.
    const auto offsets = QX2DSpectrumController::rightOffsetsFor(601);
    EXPECT_EQ(offsets.upperLeading, 50);
    EXPECT_EQ(offsets.upperTrailing, 300);
    EXPECT_EQ(offsets.lowerLeading, 300);
    EXPECT_EQ(offsets.lowerTrailing, 51);

    // Dragging a right drawer: its depth in tens within 50..250, the other takes the rest of 300.
    drawers.upperRightDrawer->requestContentSize(QSizeF(123, 200));
    EXPECT_EQ(drawers.upperRightDrawer->contentSize().width(), 130);
    EXPECT_EQ(drawers.lowerRightDrawer->contentSize().width(), 170);
    drawers.lowerRightDrawer->requestContentSize(QSizeF(400, 200));
    EXPECT_EQ(drawers.lowerRightDrawer->contentSize().width(), 250);
    EXPECT_EQ(drawers.upperRightDrawer->contentSize().width(), 50);

    // Toggling a closing drawer opens it again.
    drawers.leftDrawer->close();
    c->actionNamed("toggleLeftDrawer")(nullptr);
    EXPECT_TRUE(drawers.leftDrawer->isOpenOrOpening());
    WindowHandle(c->windowWidget()).close();
}

// The Camera drawer's buttons and reset menu name the views they move to: "Above" looks straight down on
// the history (no tilt), "Front" at it from the front and above.
TEST(QX2DSpectrumWindow, CameraButtonsNameTheirViews)
{
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    c->tickTimer().stop();
    QWidget* camera = c->drawers().lowerRightDrawer;
    ASSERT_NE(camera, nullptr);
    const auto button = [&](const QString& title) -> QAbstractButton* {
        for (QAbstractButton* b : camera->findChildren<QAbstractButton*>())
            if (b->text() == title)
                return b;
        return nullptr;
    };
    ASSERT_NE(button("Above"), nullptr);
    ASSERT_NE(button("Front"), nullptr);
    button("Above")->click();
    EXPECT_EQ(c->activeView().cameraTarget().stheta, 0.0f);
    button("Front")->click();
    EXPECT_EQ(c->activeView().cameraTarget().sphi, 90.0f);
    EXPECT_GT(c->activeView().cameraTarget().stheta, 30.0f);
    auto* reset = child<QComboBox>(*c, "resetPositionPopup");
    EXPECT_EQ(reset->itemText(0), "Above");
    EXPECT_EQ(reset->itemText(1), "Front");
    WindowHandle(c->windowWidget()).close();
}

TEST(QX2DSpectrumWindow, KeysTypedIntoTheViewLandInChannelZero)
{
    if (!onScreen())
        GTEST_SKIP() << "no X display";
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    setPauseX = 1;
    ploop = 300;
    OpenGLViewHost* host = shownViewHost(c->windowWidget());
    ASSERT_NE(host, nullptr);
    QTest::keyClick(host, Qt::Key_A, Qt::ShiftModifier);
    EXPECT_EQ(QXSerialPort::sharedQXSerialPort().getIntFromBuffer(0, 300), 1000);
    ploop = 301;
    QTest::keyClick(host, Qt::Key_S);
    EXPECT_EQ(QXSerialPort::sharedQXSerialPort().getIntFromBuffer(0, 301), 1);
    ploop = 302;
    QTest::keyClick(host, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);  // Command and Option
    EXPECT_EQ(QXSerialPort::sharedQXSerialPort().getIntFromBuffer(0, 302), 4002);
    WindowHandle(c->windowWidget()).close();
}
