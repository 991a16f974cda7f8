#include <gtest/gtest.h>

#include "QXDrawerSound/player/SoundSlotTables.h"
#include "QXSketch/gl/NUPO4Drawing.h"
#include "QXSketch/gl/NUPO4GraphicView.h"
#include "QXSketch/gl/SketchState.h"
#include "QXSketch/ui/BezierView.h"
#include "QXSketch/ui/NUPO4DrawWindowController.h"
#include "QXSketch/ui/NUPO4ToolPalette.h"
#include "analysis/BrainSwitch.h"
#include "core/ui/QXAppController.h"
#include "platform/appkit/MainThread.h"
#include "platform/appkit/NotificationCenter.h"
#include "platform/appkit/ui/ColorWell.h"
#include "platform/appkit/ui/NibLoader.h"
#include "plots/frame/gl/PlotWindowState.h"
#include "plots/frame/ui/PlotControls.h"
#include "plots/frame/ui/PlotWindowController.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"
#include "support/TestSupport.h"
#include "views3d/spectrum/SpectrumViewSettings.h"
#include "views3d/spectrum/ui/Spectrum3DWindowState.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <memory>

using namespace nupo;

namespace {

template <class T>
T* load(const QString& nib)
{
    return qobject_cast<T*>(NibLoader::loadNibNamed(nib));
}

template <class T>
T* child(QObject* controller, const QString& name)
{
    auto* c = qobject_cast<NibController*>(controller);
    return c && c->nibWindow() ? c->nibWindow()->findChild<T*>(name) : nullptr;
}

// Picks an item as a person does (the popup's action follows `activated`).
void choose(QComboBox* popup, int index)
{
    popup->setCurrentIndex(index);
    emit popup->activated(index);
}

void closeAll()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        w->close();
    QApplication::processEvents();
}

}  // namespace

TEST(ToolPalette, ChoosesTheCanvasToolAndStaysOne)
{
    auto* palette = load<NUPO4ToolPalette>("NUPO4ToolPalette");
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette->nibWindow()->windowTitle(), "Tools");
    auto* rectangle = child<QRadioButton>(palette, "tool1");
    ASSERT_NE(rectangle, nullptr);
    rectangle->click();
    EXPECT_EQ(currentDrawingTool, DrawingTool::Rectangle);
    child<QRadioButton>(palette, "tool5")->click();
    EXPECT_EQ(currentDrawingTool, DrawingTool::SpectrumView3D);

    NUPO4ToolPalette::showToolPalette(nullptr);
    QApplication::processEvents();
    int shown = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        shown += w->isVisible() && w->windowTitle() == "Tools";
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(NUPO4ToolPalette::openToolPalette(), palette);
    currentDrawingTool = DrawingTool::Select;
    closeAll();
}

TEST(DrawWindow, OpensFromTheMenuAsTheFrontDrawing)
{
    firstTimeRunAplication = 1;
    firsttimeQXSoundController = 0;
    PlaymodeA.fill(0);
    QXAppController::sharedQXAppController().actionNamed("showDrawWindow")(nullptr);
    // The first drawing window of the run set the sound slots' tables to their defaults again.
    EXPECT_EQ(PlaymodeA[3], 1);
    PlaymodeA.fill(0);
    QXAppController::sharedQXAppController().actionNamed("showDrawWindow")(nullptr);
    EXPECT_EQ(PlaymodeA[3], 0);
    QApplication::processEvents();
    int shown = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        shown += w->isVisible() && w->windowTitle() == "Brain-Note Drawing";
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(firstTimeRunAplication.load(), 0);
    EXPECT_NE(NUPO4Drawing::frontDrawing(), nullptr);
    closeAll();
}

TEST(DrawWindow, FirstOfTheRunKeepsASoundBankOpenedBeforeIt)
{
    // A bank opened from the media browser has filled the tables; the first drawing window must not
    // empty them, or the next save loses the bank that is playing.
    firstTimeRunAplication = 1;
    firsttimeQXSoundController = 1;
    SendSoundstr[0] = QStringLiteral("/sounds/a.wav");
    RowsCountA[0] = 1;
    PlaymodeA.fill(0);
    QXAppController::sharedQXAppController().actionNamed("showDrawWindow")(nullptr);
    EXPECT_EQ(firstTimeRunAplication.load(), 0);
    EXPECT_EQ(SendSoundstr[0], QStringLiteral("/sounds/a.wav"));
    EXPECT_EQ(RowsCountA[0], 1);
    EXPECT_EQ(PlaymodeA[3], 0);
    closeAll();
    initSoundTables();
}

TEST(DrawWindow, SourcePopupTellsTheThreeDWindowAndEditsReachTheCanvas)
{
    auto* controller = load<NUPO4DrawWindowController>("NUPO4DrawWindow");
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(NUPO4Drawing::frontDrawing(), &controller->drawing());
    ASSERT_NE(controller->canvasWidget(), nullptr);
    EXPECT_EQ(controller->canvasWidget()->size(), QSize(1000, 600));

    QStringList posted;
    ScopedObserver observer(QString(), nullptr, [&](const Notification& n) {
        if (n.name.startsWith("didchange") && isMainThread())
            posted << n.name;
    });
    auto* popup = child<QComboBox>(controller, "sourcePopup");
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(popup->count(), 10);
    choose(popup, 6);
    choose(popup, 3);
    EXPECT_EQ(posted, QStringList({"didchangeSelectCoherence13DovozOzuz", "didchangeSelectCH4DovozOzuz"}));
    EXPECT_EQ(controller->canvas().source(), 4);

    // A rectangle, recoloured through the well, with Undo and Redo buttons following the stack.
    controller->drawing().addGraphic(std::make_unique<NUPO4Rectangle>(QRectF(10, 10, 50, 50)));
    auto* well = child<ColorWell>(controller, "fillColorWell");
    auto* undo = child<QPushButton>(controller, "undoButton");
    auto* redo = child<QPushButton>(controller, "redoButton");
    ASSERT_TRUE(well && undo && redo);
    EXPECT_TRUE(well->isEnabled());
    well->setColor(RGBAColor::fromRGBA(0, 0.5, 0, 1));
    windowColor3DChangedX = 0;
    controller->changeFillColor(well);
    EXPECT_EQ(windowColor3DChangedX, 1);  // the 3D window takes the colour up
    EXPECT_EQ(controller->drawing().graphic(0)->fillColor(), RGBAColor::fromRGBA(0, 0.5, 0, 1));
    EXPECT_EQ(windowColor, RGBAColor::fromRGBA(0, 0.5, 0, 1));
    undo->click();
    EXPECT_NE(controller->drawing().graphic(0)->fillColor(), RGBAColor::fromRGBA(0, 0.5, 0, 1));
    EXPECT_TRUE(redo->isEnabled());
    redo->click();
    EXPECT_EQ(controller->drawing().graphic(0)->fillColor(), RGBAColor::fromRGBA(0, 0.5, 0, 1));
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_TRUE(child<QLabel>(controller, "statusField")->text().contains("Rectangle at x 10, y 10"));

    // The status tick keeps the rectangles on the brain switches only while asked to.
    initbrainSWX();
    AlwaysUpdateBSX = 0;
    controller->statusTick();
    EXPECT_EQ(controller->drawing().graphic(0)->bounds(), QRectF(10, 10, 50, 50));
    AlwaysUpdateBSX = 1;
    controller->statusTick();
    const BrainSwitchWindow w = brainSwitchWindow(3, 8);
    const BSrectangleFrame f = BSrectangleFrameFor(w.lowValue, w.highValue, w.lowHz, w.highHz);
    EXPECT_EQ(controller->drawing().graphic(0)->bounds(), QRectF(f.x, f.y, f.width, f.height));
    AlwaysUpdateBSX = 0;
    closeAll();
    QApplication::processEvents();
}

TEST(DrawWindow, ContextMenuSetsTheGraphicsBrainChannelAndViewForTheThreeDView)
{
    DeviceConfig = 1;  // two channels
    auto* controller = load<NUPO4DrawWindowController>("NUPO4DrawWindow");
    ASSERT_NE(controller, nullptr);
    controller->drawing().addGraphic(std::make_unique<NUPO4Rectangle>(QRectF(100, 100, 50, 50)));
    controller->drawing().select(-1);
    EXPECT_EQ(controller->graphicMenu(QPointF(10, 10)), nullptr) << "no graphic there";

    std::unique_ptr<QMenu> menu(controller->graphicMenu(QPointF(120, 120)));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(controller->drawing().selectedIndex(), 0) << "the graphic under the pointer is selected";
    auto entry = [&](const QString& submenu, const QString& text) -> QAction* {
        for (QAction* a : menu->actions())
            if (a->text() == submenu && a->menu())
                for (QAction* e : a->menu()->actions())
                    if (e->text() == QString(text).replace('&', "&&"))  // shown as a plain "&"
                        return e;
        return nullptr;
    };
    // Each Brain Channel entry names the display mode its number selects in the 3D window; a mode its
    // menu shows only as a dash is named as with four channels.
    QAction* channel = entry("Brain Channel", "5: CH 2 (R) Play only");
    QAction* view = entry("View", "Mode 3");
    ASSERT_TRUE(channel && view);
    ASSERT_TRUE(entry("Brain Channel", "1: LR Brain & Coherence Play only"));
    EXPECT_TRUE(entry("Brain Channel", "1: LR Brain & Coherence Play only")->isChecked());
    EXPECT_TRUE(entry("Brain Channel", "3: CH 2 (R)"));
    EXPECT_TRUE(entry("Brain Channel", "8: Coherence CH1 & CH3"));
    EXPECT_TRUE(entry("Brain Channel", "10: Coherence CH1 & CH4"));
    setDemoNumberDidChanged = 0;
    channel->trigger();
    EXPECT_EQ(controller->drawing().graphic(0)->brainChannel(), 5);
    EXPECT_EQ(nupo::setDemoNumberA, 5);
    EXPECT_EQ(setDemoNumberDidChanged, 1);
    view->trigger();
    EXPECT_EQ(setDemoNumber3B, 3);
    EXPECT_EQ(controller->drawing().graphic(0)->view(), 3);
    controller->undoEdit(nullptr);
    EXPECT_EQ(controller->drawing().graphic(0)->view(), 0);
    menu.reset();  // a child of the canvas, which closing the window deletes

    // A raw-wave placeholder names the raw-wave window's modes; it has none past 6.
    controller->drawing().addGraphic(NUPO4Graphic::make(GraphicKind::RawwaveView, QRectF(300, 100, 50, 50)));
    menu.reset(controller->graphicMenu(QPointF(320, 120)));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(entry("Brain Channel", "3: CH 2 (R)"));
    EXPECT_TRUE(entry("Brain Channel", "6: 2 set of LR Raw wave"));
    EXPECT_TRUE(entry("Brain Channel", "7: no display mode"));
    menu.reset();
    closeAll();
    QApplication::processEvents();
}

TEST(DrawWindow, RawWaveAndBarGraphColourControlsShowThePaletteTheCanvasSet)
{
    auto* raw = dynamic_cast<PlotWindowController*>(NibLoader::loadNibNamed("QXRawwaveGraph"));
    auto* bar = dynamic_cast<PlotWindowController*>(NibLoader::loadNibNamed("QX2DBarGraph"));
    ASSERT_TRUE(raw && bar);
    for (PlotWindowController* c : {raw, bar}) {
        c->tickTimer().stop();
        for (int tick = 0; tick < 6; ++tick)  // past the view commands queued at start-up
            c->timerUpdate();
        EXPECT_EQ(PlotControls::selectedTag(child<QGroupBox>(c, "colorStyleMatrix")), 0) << "Blue-red";
    }
    // The canvas builds the trace palettes with the second style ("Red-blue") when it is made.
    ASSERT_NE(load<NUPO4DrawWindowController>("NUPO4DrawWindow"), nullptr);
    for (PlotWindowController* c : {raw, bar}) {
        c->timerUpdate();
        EXPECT_EQ(PlotControls::selectedTag(child<QGroupBox>(c, "colorStyleMatrix")), 1);
    }
    closeAll();
}

TEST(BezierView, RefreshesEveryThirdOfASecondAndShowsTheLevels)
{
    setPauseX = 1;  // the refresh entry then keeps the records as written here
    auto* mixer = load<BezierView>("BezierView");
    ASSERT_NE(mixer, nullptr);
    EXPECT_EQ(mixer->nibWindow()->windowTitle(), "Brain-Switch Mixer");
    auto* timer = mixer->findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 300);
    EXPECT_TRUE(timer->isActive());

    peakSWfftCount[0][4][0].level.store(7.3f);
    peakSWcoherenceCount[5][2][0].level.store(2.0f);
    ASSERT_TRUE(test::processEventsUntil([&] { return mixer->shownLevel(4) == 73; }));
    EXPECT_EQ(mixer->shownLevel(2), 0);
    choose(child<QComboBox>(mixer, "sourcePopup"), 5);
    EXPECT_EQ(mixer->source(), 5);
    EXPECT_EQ(mixer->shownLevel(2), 20);
    EXPECT_EQ(mixer->shownLevel(9), -1);

    // A switch turned off is stored and posted.
    initbrainSWX();
    int updates = 0;
    ScopedObserver observer(WaterfallBSupdateNotification, nullptr, [&](const Notification&) { ++updates; });
    mixer->selectSource(nullptr);
    QCheckBox* alpha = mixer->switchBox(4);
    ASSERT_NE(alpha, nullptr);
    EXPECT_TRUE(alpha->isChecked());
    alpha->click();
    EXPECT_EQ(brainSwitchState(5, 4), 0);
    EXPECT_EQ(updates, 1);
    setPauseX = 0;
    closeAll();
}
