// The 3D band-spectrum window as a person uses it: opened from the menu while the demo recording plays,
// its menus, buttons, check boxes, drawers, pointer and keys; the shared controller's tick with the
// commands other parts leave; closing the window while a texture reload and a command are pending.
#include <gtest/gtest.h>

#include "core/ui/QXAppController.h"
#include "platform/appkit/NotificationCenter.h"
#include "platform/appkit/ui/Drawer.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "plots/frame/ui/PlotControls.h"
#include "plots/settings/DisplaySettings.h"
#include "plots/settings/ui/SetDisplay.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "support/WindowTestSupport.h"
#include "views3d/SpectrumViewState.h"
#include "views3d/spectrum/SpectrumCamera.h"
#include "views3d/spectrum/gl/QX3DSpectrumGLDrawing.h"
#include "views3d/spectrum/ui/QX3DSpectrumAppController.h"
#include "views3d/spectrum/ui/Spectrum3DWindowState.h"
#include "views3d/textures/gl/ImageSources.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QSlider>
#include <QTest>

using namespace nupo;
using namespace nupo::PlotControls;
using namespace nupo::test;

namespace {

QList<QWidget*> spectrumWindows()
{
    return shownWindowsTitled(QLatin1String("WaterfallBS Window"));
}

QX3DSpectrumAppController* openWindow()
{
    return openNib<QX3DSpectrumAppController>(QStringLiteral("QX3DSpectrum"));
}

int differingPixels(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

}  // namespace

TEST(QX3DSpectrumWindow, OpensFromTheMenuNormalAndInFrontShowingTheReplay)
{
    startWithDemo();
    QXAppController::sharedQXAppController().showFFTPanel(nullptr);
    ASSERT_EQ(spectrumWindows().size(), 1);
    EXPECT_EQ(Open3DWaterFallBS, 1);
    EXPECT_EQ(ShowWindow3DWaterFallBS, 1);
    EXPECT_FALSE(WindowHandle(spectrumWindows()[0]).isAtStatusWindowLevel());
    QXAppController::sharedQXAppController().showFFTPanelFront(nullptr);
    ASSERT_EQ(spectrumWindows().size(), 2);
    int inFront = 0;
    for (QWidget* window : spectrumWindows())
        inFront += WindowHandle(window).isAtStatusWindowLevel();
    EXPECT_EQ(inFront, 1);
    WindowHandle(spectrumWindows().last()).close();
    letItRun(100);
    EXPECT_EQ(Open3DWaterFallBS, 1);

    if (!onScreen())
        GTEST_SKIP() << "no X display: the view draws no frames";
    OpenGLViewHost* host = shownViewHost(spectrumWindows()[0]);
    ASSERT_NE(host, nullptr);
    letItRun(2500);
    const QImage first = host->grabFramebuffer();
    letItRun(2500);
    const QImage second = host->grabFramebuffer();
    first.save(QStringLiteral("%1/spectrum3d-demo.png").arg(test::tempFolder()));
    EXPECT_GT(ploop.load(), 120 * 4);
    EXPECT_GT(FPSXXnewwave, 1.0);
    EXPECT_GT(differingPixels(first, second), 500) << "the replay moves the picture";
}

TEST(QX3DSpectrumWindow, SharedTickAppliesRemoteCommandsForTheirCounts)
{
    QX3DSpectrumAppController& shared = QX3DSpectrumAppController::sharedQX3DSpectrumAppController();
    shared.tickTimer().stop();
    // The start-up counts apply display mode 0, view entry 0 and the window colour first.
    shared.timerUpdate();
    EXPECT_EQ(spectrum3DWindowState.viewMode.count, 4);
    EXPECT_EQ(setDemoNumber3DCCount, 2);

    shared.setDemoNumberAto3DBSC(7);
    for (int tick = 0; tick < 5; ++tick) {
        selectXCHNX = 0;
        shared.timerUpdate();
        EXPECT_EQ(selectXCHNX, 7) << tick;
    }
    selectXCHNX = 0;
    shared.timerUpdate();
    EXPECT_EQ(selectXCHNX, 0) << "five ticks only";
    EXPECT_EQ(spectrum3DWindowState.viewMode.count, 0);

    // A document read drops every pending command, once.
    shared.setDemoNumberAto3DBSC(9);
    shared.setDemoNumberBto3DBSC(3);
    shared.setWindowColorValue();
    windowColor3DNOX = 1;
    shared.timerUpdate();
    EXPECT_EQ(selectXCHNX, 0);
    EXPECT_EQ(windowColor3DNOX, 0);
    EXPECT_EQ(spectrum3DWindowState.viewEntry.count, 0);
    EXPECT_EQ(windowColor3DChangedX, 0);

    // The colour animations step on the shared tick too.
    setColorGainBSMixAnimationX = 1;
    ColorGainBSMixSliderX = 1.88f;
    shared.timerUpdate();
    EXPECT_FLOAT_EQ(ColorGainBSMixSliderX, 0.2f);
}

TEST(QX3DSpectrumWindow, ControlsReachTheVisibleView)
{
    DeviceConfig = 3;
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    c->tickTimer().stop();
    EXPECT_EQ(c->windowWidget()->windowTitle(), "WaterfallBS Window");
    auto* modes = child<QComboBox>(*c, "popup");
    ASSERT_EQ(modes->count(), 14);
    EXPECT_EQ(modes->itemText(13), "2 set of LR Brain & Coherence");
    EXPECT_EQ(child<QComboBox>(*c, "popup2")->count(), 10);
    EXPECT_EQ(child<QComboBox>(*c, "popup3")->count(), 10);
    // Without a colour handed over or set before, the view starts from the colour well's colour in the
    // nib; with one set (a document's), from that one.
    EXPECT_NEAR(c->visibleView()->backgroundColor.blue, 0.8418, 1e-3);
    for (int k = 0; k < 4; ++k)
        QX3DSpectrumGLView::sharedQX3DSpectrumGLView().setBackgroundColorA(
            k, k == 3 ? 1.0f : 0.25f * float(k + 1));
    auto* again = openWindow();
    ASSERT_NE(again, nullptr);
    again->tickTimer().stop();
    EXPECT_FLOAT_EQ(again->visibleView()->backgroundColor.red, 0.25f);
    EXPECT_FLOAT_EQ(again->visibleView()->backgroundColor.blue, 0.75f);
    again->windowWidget()->close();

    // A single source: its brain-switch boxes show, the flat-power box hides.
    modes->setCurrentIndex(4);
    c->select(modes);
    EXPECT_EQ(c->visibleView()->shapeChange.load(), 4);
    EXPECT_FALSE(isHidden(child<QCheckBox>(*c, "setshowBS3")));
    EXPECT_TRUE(isHidden(child<QCheckBox>(*c, "setFFTflatPower")));
    // The brain-note window selects CH 3: all eight switches of source 2 and row 2's elements.
    displayModeX[2][2] = 1;
    for (int e = 10; e <= 17; ++e)
        brainSWX[2][e] = 0.0f;
    NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("didchangeSelectCH3DovozOzuz"));
    for (int e = 10; e <= 17; ++e)
        EXPECT_EQ(brainSWX[2][e].load(), 1.0f) << e;
    EXPECT_TRUE(child<QCheckBox>(*c, "setshowBS8")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(*c, "setTimeline")->isChecked());
    NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("didchangeSelectCH4DovozOzuz"));
    EXPECT_EQ(brainSWX[3][10].load(), 0.0f) << "the menu does not show CH 4";

    // Multi-source modes: the flat-power box takes row 0 for modes 12 and 13.
    displayModeX[0][11] = 0;
    c->selectX(13);
    EXPECT_FALSE(isHidden(child<QCheckBox>(*c, "setFFTflatPower")));
    EXPECT_FALSE(child<QCheckBox>(*c, "setFFTflatPower")->isChecked());
    EXPECT_TRUE(isHidden(child<QCheckBox>(*c, "setshowBS3")));
    c->setshowBSall(1);  // menu on a multi-source mode: source 9
    EXPECT_EQ(brainSWX[9][14].load(), 1.0f);

    // Camera-preset buttons and the view/alpha menu.
    c->visibleView()->setDemoNumber(3);
    c->button(child<QWidget>(*c, "presetButton3"));
    EXPECT_EQ(c->visibleView()->cameraTarget, cameraPreset(3, 5)->target);
    c->selectX3(5);
    EXPECT_NEAR(WindowHandle(c->windowWidget()).alphaValue(), 0.4, 0.01);
    EXPECT_EQ(c->alphaAnimation(), 0);
    c->selectX3(1);
    EXPECT_EQ(c->viewA3DValue(), 1);
    EXPECT_TRUE(isHidden(child<QWidget>(*c, "_glView")));
    EXPECT_EQ(c->visibleView(), c->fullView3D());
    c->selectX3(11);  // logged as invalid, the selection still refreshed
    EXPECT_EQ(c->visibleView()->num, c->popupSelection());
    c->selectX3(0);

    // Sliders, with the reversed down and left speeds.
    auto* down = child<QSlider>(*c, "setRotateSpeedDownXX");
    down->setValue(300);  // 3.0 of 0..10
    c->setRotateSpeedDownX(down);
    EXPECT_FLOAT_EQ(c->visibleView()->RotateSpeedDown_value, 7.0f);
    c->AutoStopX(nullptr);
    EXPECT_EQ(c->visibleView()->RotateSpeedDown_value, 0.0f);
    EXPECT_EQ(down->value(), 1000);

    // Textures: one image hides the sliders, five show them with range 1..5.
    c->setMaxTextuerSlider(1);
    EXPECT_TRUE(isHidden(child<QSlider>(*c, "setColorMapXX")));
    EXPECT_TRUE(isHidden(child<QWidget>(*c, "setColorMapXXLabel")));
    c->setMaxTextuerSlider(5);
    EXPECT_FALSE(isHidden(child<QSlider>(*c, "setColorMapXX")));
    EXPECT_EQ(child<QSlider>(*c, "setColorMapXX")->property("maxValue").toDouble(), 5.0);
    EXPECT_EQ(text(child<QObject>(*c, "displayHereTextureNumber")), "5");

    // Start frequency at 256 points and 120 samples per second.
    fftp = 256;
    SampleSpeed = 120;
    auto* field = child<QLineEdit>(*c, "StartFrequencyField");
    for (auto [typed, row, shown] :
         {std::tuple{"10", 21, "10"}, {"40", 64, "29"}, {"-3", 0, "0"}, {"2000", 64, "29"}}) {
        field->setText(QString::fromLatin1(typed));
        c->sendTextStartFrequencyField(field);
        EXPECT_EQ(c->visibleView()->StartFrequencyXX.load(), row) << typed;
        EXPECT_EQ(field->text().toStdString(), shown) << typed;
    }

    // Opacity animation 1.0 .. 0.0: the value one step past a bound reaches the window kept in 0..1.
    c->selectX3(7);
    W3DAlphaValue = 1.0f;
    delta3D = 0.01f;
    c->timerUpdate();
    EXPECT_FLOAT_EQ(W3DAlphaValue, 1.01f);
    c->timerUpdate();
    EXPECT_NEAR(WindowHandle(c->windowWidget()).alphaValue(), 1.0, 1e-6);
    EXPECT_FLOAT_EQ(delta3D, -0.01f);
    c->selectX3(2);
    // The Display tab's 3D transparency field reaches the window's state.
    windowAlphaOf3DSpectrum(0.5f);
    EXPECT_FLOAT_EQ(W3DAlphaValue, 0.5f);

    // The tick's fields.
    ploop = 450075;
    FPSXXnewwave = 30.0;
    c->timerUpdate();
    EXPECT_EQ(text(c->textploopField()), "01:02:30.625");
    EXPECT_EQ(text(c->textFezField()), "0.469");
    WindowHandle(c->windowWidget()).close();
}

TEST(QX3DSpectrumWindow, AQueuedDisplayModeReachesTheMenuAndThePicture)
{
    DeviceConfig = 1;
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    c->tickTimer().stop();
    for (int tick = 0; tick < 6; ++tick)  // past the start-up counts
        c->timerUpdate();
    QX3DSpectrumGLView* view = c->visibleView();
    ASSERT_NE(view, nullptr);
    // The window set its view up again after the view had applied a remote mode (as when a drawing's
    // rectangle chose a channel before the window opened): the queued command brings both back together.
    view->setDemoNumber(0);
    c->setDemoNumberAto3DBSC(3);
    c->timerUpdate();
    EXPECT_EQ(child<QComboBox>(*c, "popup")->currentIndex(), 3);
    EXPECT_EQ(view->num, 3);
    WindowHandle(c->windowWidget()).close();
}

TEST(QX3DSpectrumWindow, DrawersOpenOnTheirEdgesAndShareTheRightWidth)
{
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    QX3DSpectrumController& drawers = c->drawerController();
    ASSERT_NE(drawers.leftDrawer, nullptr);
    EXPECT_EQ(drawers.leftDrawer->maxContentSize(), QSizeF(300, 300));
    // In the middle of the screen a drawer without room on its side finds none on the other either: every
    // drawer keeps its edge, and the window moves or gives up size to make room.
    test::moveToMiddle(c->windowWidget());
    c->actionNamed("toggleLeftDrawer")(nullptr);
    c->actionNamed("toggleBottomDrawer")(nullptr);
    c->actionNamed("toggleUpperRightDrawer")(nullptr);
    test::processEventsUntil([&] { return drawers.upperRightDrawer->state() == Drawer::State::Open; });
    EXPECT_EQ(drawers.leftDrawer->state(), Drawer::State::Open);
    EXPECT_EQ(drawers.leftDrawer->edge(), Drawer::Edge::Left);
    EXPECT_EQ(drawers.bottomDrawer->edge(), Drawer::Edge::Bottom);
    EXPECT_EQ(drawers.upperRightDrawer->edge(), Drawer::Edge::Right);
    const QRect window = c->windowWidget()->frameGeometry();
    EXPECT_LE(drawers.leftDrawer->placement().right(), window.left() + 1);
    EXPECT_GE(drawers.upperRightDrawer->placement().left(), window.right() - 1);
    // Toggling a drawer that is closing opens it again.
    drawers.toggleLeftDrawer(nullptr);
    EXPECT_EQ(drawers.leftDrawer->state(), Drawer::State::Closing);
    drawers.toggleLeftDrawer(nullptr);
    EXPECT_TRUE(drawers.leftDrawer->isOpenOrOpening());

    for (auto [asked, got, other] :
         {std::tuple{123.0, 130.0, 170.0}, {20.0, 50.0, 250.0}, {400.0, 250.0, 50.0}}) {
        const QSizeF size = drawers.drawerWillResizeContents(drawers.upperRightDrawer, QSizeF(asked, 200));
        EXPECT_EQ(size, QSizeF(got, 200));
        EXPECT_EQ(drawers.lowerRightDrawer->contentSize().width(), other) << asked;
    }
    // The right drawers' offsets follow the window's height.
    const double h = WindowHandle(c->windowWidget()).frame().height();
    EXPECT_EQ(drawers.upperRightDrawer->trailingOffset(), h - static_cast<unsigned>(h / 2));
    EXPECT_EQ(drawers.lowerRightDrawer->leadingOffset(), static_cast<unsigned>(h / 2));
    WindowHandle(c->windowWidget()).close();
}

TEST(QX3DSpectrumWindow, ClosingDuringATextureReloadAndAPendingCommandLeavesNothingDangling)
{
    const std::size_t observersBefore = NotificationCenter::defaultCenter().observerCount();
    showFFTPanelFront = 1;  // in front, and kept across the reload
    QPointer<QX3DSpectrumAppController> c = openWindow();
    ASSERT_TRUE(c);
    c->selectX3(1);  // full view, kept across the reload
    c->setDemoNumberAto3DBSC(5);
    c->LoadTextuerX(nullptr);  // closes the window and asks for the media browser
    EXPECT_EQ(reloadTexture, 10);
    EXPECT_EQ(showFFTPanelFront.load(), 1);
    EXPECT_EQ(viewA3DX, 1);
    EXPECT_EQ(LoadTextuerF, 1);
    EXPECT_EQ(Open3DWaterFallBS, 0);
    EXPECT_TRUE(spectrumWindows().isEmpty());
    test::processEventsUntil([&] { return c.isNull(); });
    ASSERT_TRUE(c.isNull()) << "the controller goes once its window is released";
    EXPECT_EQ(NotificationCenter::defaultCenter().observerCount(), observersBefore);

    // Whatever arrives now reaches no torn-down window.
    NotificationCenter::defaultCenter().postNotificationName(WaterfallBSupdateNotification);
    NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("didchangeSelectCH1DovozOzuz"));
    QX3DSpectrumAppController::sharedQX3DSpectrumAppController().timerUpdate();
    EXPECT_EQ(selectXCHNX, 5) << "the shared tick took the pending command";

    // The reloaded window comes back in the full view with image textures, and the cycle ends.
    auto* again = openWindow();
    ASSERT_NE(again, nullptr);
    again->tickTimer().stop();
    EXPECT_EQ(again->viewA3DValue(), 1);
    EXPECT_TRUE(WindowHandle(again->windowWidget()).isAtStatusWindowLevel());
    EXPECT_EQ(reloadTexture, 2);
    EXPECT_EQ(again->fullView3D()->textureMode, 2);
    again->timerUpdate();
    EXPECT_EQ(reloadTexture, 0);
    EXPECT_EQ(QX3DSpectrumGLView::sharedQX3DSpectrumGLView().displayUnnMode, 4);
    WindowHandle(again->windowWidget()).close();
}

TEST(QX3DSpectrumWindow, DragsTurnPanAndDollyAndKeysMoveTheCamera)
{
    if (!onScreen())
        GTEST_SKIP() << "no X display";
    auto* c = openWindow();
    ASSERT_NE(c, nullptr);
    OpenGLViewHost* host = shownViewHost(c->windowWidget());
    ASSERT_NE(host, nullptr);
    QX3DSpectrumGLView& view = *c->visibleView();
    // The opening preset move runs ten frames, however long a slow build takes to draw them.
    const auto opening = cameraPreset(0, view.viewModeX);
    ASSERT_TRUE(opening);
    ASSERT_TRUE(test::processEventsUntil(
        [&] { return view.setResetPositionXActive == 0 && view.camera == opening->target; }));
    const SceneCamera start = view.camera;
    const QPoint centre = host->rect().center();
    QTest::mousePress(host, Qt::LeftButton, {}, centre);
    QMouseEvent move(QEvent::MouseMove, centre + QPoint(40, -20), host->mapToGlobal(centre + QPoint(40, -20)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(host, &move);
    letItRun(200);
    QTest::mouseRelease(host, Qt::LeftButton, {}, centre + QPoint(40, -20));
    EXPECT_FLOAT_EQ(view.camera.sphi, start.sphi + 10.0f);
    EXPECT_FLOAT_EQ(view.camera.stheta, start.stheta + 5.0f);

    view.setMoveModeX(2);
    const float depth = view.camera.sdepth;
    QTest::mousePress(host, Qt::LeftButton, {}, centre);
    QMouseEvent pull(QEvent::MouseMove, centre + QPoint(0, 50), host->mapToGlobal(centre + QPoint(0, 50)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(host, &pull);
    letItRun(200);
    QTest::mouseRelease(host, Qt::LeftButton, {}, centre + QPoint(0, 50));
    EXPECT_FLOAT_EQ(view.camera.sdepth, depth - 5.0f);

    host->setFocus();
    const float y = view.camera.Yposition;
    QTest::keyClick(host, Qt::Key_Up);
    EXPECT_FLOAT_EQ(view.camera.Yposition, y + 1.0f);
    QTest::keyClick(host, Qt::Key_Period);
    EXPECT_FLOAT_EQ(view.camera.sdepth, depth - 4.0f);

    const double aperture = view.cameraRecord.aperture;
    QWheelEvent wheel(QPointF(centre), host->mapToGlobal(QPointF(centre)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(host, &wheel);
    EXPECT_NE(view.cameraRecord.aperture, aperture);
    WindowHandle(c->windowWidget()).close();
}
