#include "plots/waterfall/ui/QX2DSpectrumAppController.h"

#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/Drawer.h"
#include "plots/frame/ui/PlotControls.h"
#include "plots/settings/DisplaySettings.h"
#include "plots/waterfall/WaterfallState.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <QComboBox>
#include <QWidget>

#include <algorithm>

namespace nupo {

namespace {

using namespace PlotControls;

constexpr auto relaxed = std::memory_order_relaxed;

const QStringList sourceEntries[4] = {
    {"-", "--", "CH 1", "---", "CH 1 Play only", "---", "---", "---"},
    {"LR Brain", "LR Brain Play only", "CH 1 (L)", "CH 2 (R)", "CH 1 (L) Play only", "CH 2 (R) Play only",
     "Coherence", "Coherence Play only"},
    {"LR Brain", "-", "CH 1", "CH 2", "CH 3", "--", "Coherence", "---"},
    {"1 LR Brain (CH 1 & CH 2)", "2 LR Brain (CH 3 & CH 4)", "CH 1", "CH 2", "CH 3", "CH 4",
     "Coherence CH 1 & CH 2", "Coherence CH 3 & CH 4", "Coherence CH 1 & CH 3", "Coherence CH 2 & CH 4",
     "Coherence CH 1 & CH 4", "Coherence CH 2 & CH 3"}};

const QStringList speedEntries = {"X 0.25", "X 0.5", "X 1", "X 1.25", "X 1.67",
                                  "X 2",    "X 2.5", "X 5", "X 10",   "X 20"};

}  // namespace

QX2DSpectrumAppController::QX2DSpectrumAppController()
    : PlotGraphWindowController(waterfallWindowState, 60.0f, QStringLiteral("_glView"),
                                QStringLiteral("_gl2View"))
{
    outlet("popup3", popup3);
    outlet("FezField", FezField);
    outlet("displayHereFez", displayHereFez);
    outlet("StartFrequencyField", StartFrequencyLabel);
    outlet("displayHereStartFrequency", displayHereStartFrequency);
    outlet("setFrequencyline", setFrequencyline);
    outlet("setFrequencylaval", setFrequencylaval);
    outlet("setTimeline", setTimeline);
    outlet("setTransparentTimeline", setTransparentTimeline);
    outlet("setTimelaval", setTimelaval);
    outlet("setTimesphere", setTimesphere);
    outlet("setPowerflatmark5", setPowerflatmark5);
    outlet("setPowerflatmark10", setPowerflatmark10);
    outlet("setPowerPeakflat", setPowerPeakflat);
    outlet("setPowerlabel", setPowerlabel);
    outlet("setFFT512Band", setFFT512Band);
    outlet("setCoherenceHigh", setCoherenceHigh);
    outlet("leftDrawer", drawers_.leftDrawer);
    outlet("bottomDrawer", drawers_.bottomDrawer);
    outlet("upperRightDrawer", drawers_.upperRightDrawer);
    outlet("lowerRightDrawer", drawers_.lowerRightDrawer);

    // The frame's select2 is the view popup's action; here the view popup is select3 and select2 the
    // play speed.
    action("select", &QX2DSpectrumAppController::select);
    action("select2", &QX2DSpectrumAppController::select2);
    action("select3", &QX2DSpectrumAppController::select3);
    action("Frequencyline", &QX2DSpectrumAppController::Frequencyline);
    action("Frequencylaval", &QX2DSpectrumAppController::Frequencylaval);
    action("Timeline", &QX2DSpectrumAppController::Timeline);
    action("TransparentTimeline", &QX2DSpectrumAppController::TransparentTimeline);
    action("Timelaval", &QX2DSpectrumAppController::Timelaval);
    action("Timesphere", &QX2DSpectrumAppController::Timesphere);
    action("Powerflatmark5", &QX2DSpectrumAppController::Powerflatmark5);
    action("Powerflatmark10", &QX2DSpectrumAppController::Powerflatmark10);
    action("PowerPeakflat", &QX2DSpectrumAppController::PowerPeakflat);
    action("Powerlabel", &QX2DSpectrumAppController::Powerlabel);
    action("CoherenceHigh", &QX2DSpectrumAppController::CoherenceHigh);
    action("sendTextStartFrequencyField", &QX2DSpectrumAppController::sendTextStartFrequencyField);
    action("button", &QX2DSpectrumAppController::button);
    action("ViewShowBrainSWX", &QX2DSpectrumAppController::ViewShowBrainSWX);
    action("DrawSurfaceLineX", &QX2DSpectrumAppController::DrawSurfaceLineX);
    action("DrawLargeGridX", &QX2DSpectrumAppController::DrawLargeGridX);
    action("RunTextureX", &QX2DSpectrumAppController::RunTextureX);
    action("RunbyBrainswX", &QX2DSpectrumAppController::RunbyBrainswX);
    action("ResetPositionX", &QX2DSpectrumAppController::ResetPositionX);
    action("DrawModeX", &QX2DSpectrumAppController::DrawModeX);
    action("TextureModeX", &QX2DSpectrumAppController::TextureModeX);
    action("setPColorX", &QX2DSpectrumAppController::setPColorX);
    action("setFColorX", &QX2DSpectrumAppController::setFColorX);

    using Drawers = WindowDrawers;
    const auto drawerAction = [this](const char* name, void (Drawers::*function)(QObject*)) {
        action(QString::fromLatin1(name),
               [this, function](QObject* sender) { (drawers_.*function)(sender); });
    };
    drawerAction("openLeftDrawer", &Drawers::openLeftDrawer);
    drawerAction("closeLeftDrawer", &Drawers::closeLeftDrawer);
    drawerAction("toggleLeftDrawer", &Drawers::toggleLeftDrawer);
    drawerAction("toggleLeftXDrawer", &Drawers::toggleLeftXDrawer);
    drawerAction("openBottomDrawer", &Drawers::openBottomDrawer);
    drawerAction("closeBottomDrawer", &Drawers::closeBottomDrawer);
    drawerAction("toggleBottomDrawer", &Drawers::toggleBottomDrawer);
    drawerAction("openUpperRightDrawer", &Drawers::openUpperRightDrawer);
    drawerAction("closeUpperRightDrawer", &Drawers::closeUpperRightDrawer);
    drawerAction("toggleUpperRightDrawer", &Drawers::toggleUpperRightDrawer);
    drawerAction("openLowerRightDrawer", &Drawers::openLowerRightDrawer);
    drawerAction("closeLowerRightDrawer", &Drawers::closeLowerRightDrawer);
    drawerAction("toggleLowerRightDrawer", &Drawers::toggleLowerRightDrawer);
}

QX2DSpectrumAppController::~QX2DSpectrumAppController()
{
    retireGraphViews();
    // A window closed in full view leaves the next one in the normal view.
    if (viewA == 1)
        setViewMode(0);
    viewA = 0;
    AlphaAnime = 0;
}

QStringList QX2DSpectrumAppController::viewModeTitles(int deviceConfig)
{
    return sourceEntries[std::clamp(deviceConfig, 0, 3)];
}

QX2DSpectrumAppController& QX2DSpectrumAppController::sharedQX2DSpectrumAppController()
{
    static QX2DSpectrumAppController* instance = new QX2DSpectrumAppController;  // lives to process end
    return *instance;
}

void QX2DSpectrumAppController::graphicChangedX(QObject*)
{
    timerUpdate();
}

void QX2DSpectrumAppController::setMovieSpeedQ(QObject*)
{
    setSpeedPopupMenu(tlongE.load(relaxed));
}

void QX2DSpectrumAppController::setSpeedPopupMenu(int index)
{
    selectItem(popup2, index);
}

void QX2DSpectrumAppController::select(QObject* sender)
{
    const int index = selectedIndex(controlOf(sender, popup));
    selectX(index);
    setshowDisplayall(index);
}

void QX2DSpectrumAppController::selectX(int source)
{
    selectItem(popup, source);
    popupselectX = source;
    takeViewMode(source);
    setActiveViewMode(source);
}

void QX2DSpectrumAppController::select2(QObject* sender)
{
    const int index = selectedIndex(controlOf(sender, popup2));
    activeView().setDemoNumber2(index);
    activeView().setNeedsDisplay(true);
    selectItem(popup2, index);
}

void QX2DSpectrumAppController::select3(QObject* sender)
{
    selectX3(selectedIndex(controlOf(sender, popup3)));
}

void QX2DSpectrumAppController::selectX2(int entry)
{
    PlotGraphWindowController::selectX2(entry);
    if (entry == 0 || entry == 1)
        QX2DSpectrumGLView::sharedQX2DSpectrumGLView().setviewA2D(entry);
}

void QX2DSpectrumAppController::setDemoNumberB(int entry)
{
    selectX3(entry);
    state.viewEntry.didChange = 1;
}

void QX2DSpectrumAppController::activeViewChanged()
{
    // The draw-mode hand-over of the views goes to the view that is shown.
    normal->setviewA2D(viewA);
    full->setviewA2D(viewA);
}

void QX2DSpectrumAppController::setshowDisplayall(int source)
{
    if (source < 0 || source >= waterfallSelections)
        return;
    for (int k = 0; k < waterfallFlagCount; ++k)
        setOverlayFlag(k, displayMode2DX[source][k]);
}

void QX2DSpectrumAppController::showOverlay(QObject* box, int k, int state)
{
    setIntValue(box, state);
    activeView().didplayMode(k, state);
}

void QX2DSpectrumAppController::setFrequencyline_(int state)
{
    showOverlay(setFrequencyline, FlagFrequencyLine, state);
    activeView().setNeedsDisplay(true);
}
void QX2DSpectrumAppController::setFrequencylaval_(int state)
{
    showOverlay(setFrequencylaval, FlagFrequencyLevel, state);
}
void QX2DSpectrumAppController::setTimeline_(int state)
{
    showOverlay(setTimeline, FlagTimeLine, state);
}
void QX2DSpectrumAppController::setTransparentTimeline_(int state)
{
    showOverlay(setTransparentTimeline, FlagTransparentTimeLine, state);
}
void QX2DSpectrumAppController::setTimelaval_(int state)
{
    showOverlay(setTimelaval, FlagTimeLevel, state);
}
// The shown view, whichever it is: in the full view the normal view is hidden.
void QX2DSpectrumAppController::setTimesphere_(int state)
{
    showOverlay(setTimesphere, FlagTimeSphere, state);
}
void QX2DSpectrumAppController::setPowerflatmark5_(int state)
{
    showOverlay(setPowerflatmark5, FlagPowerFlatMark5, state);
}
void QX2DSpectrumAppController::setPowerflatmark10_(int state)
{
    showOverlay(setPowerflatmark10, FlagPowerFlatMark10, state);
}
void QX2DSpectrumAppController::setPowerPeakflat_(int state)
{
    showOverlay(setPowerPeakflat, FlagPowerPeakFlat, state);
}
void QX2DSpectrumAppController::setPowerlabel_(int state)
{
    showOverlay(setPowerlabel, FlagPowerLabel, state);
}
void QX2DSpectrumAppController::setCoherenceHigh_(int state)
{
    showOverlay(setCoherenceHigh, FlagCoherenceHigh, state);
    setDisplayModeFlag(popupselectX, FlagCoherenceHigh, state);
}

void QX2DSpectrumAppController::setOverlayFlag(int k, int state)
{
    using Setter = void (QX2DSpectrumAppController::*)(int);
    static constexpr Setter setters[waterfallFlagCount] = {
        &QX2DSpectrumAppController::setFrequencyline_,
        &QX2DSpectrumAppController::setFrequencylaval_,
        &QX2DSpectrumAppController::setTimeline_,
        &QX2DSpectrumAppController::setTransparentTimeline_,
        &QX2DSpectrumAppController::setTimelaval_,
        &QX2DSpectrumAppController::setTimesphere_,
        &QX2DSpectrumAppController::setPowerflatmark5_,
        &QX2DSpectrumAppController::setPowerflatmark10_,
        &QX2DSpectrumAppController::setPowerPeakflat_,
        &QX2DSpectrumAppController::setPowerlabel_,
        nullptr,
        &QX2DSpectrumAppController::setCoherenceHigh_};
    if (k >= 0 && k < waterfallFlagCount && setters[k])
        (this->*setters[k])(state);
}

void QX2DSpectrumAppController::Frequencyline(QObject* sender)
{
    setFrequencyline_(intValue(controlOf(sender, setFrequencyline)));
}
void QX2DSpectrumAppController::Frequencylaval(QObject* sender)
{
    setFrequencylaval_(intValue(controlOf(sender, setFrequencylaval)));
}
void QX2DSpectrumAppController::Timeline(QObject* sender)
{
    setTimeline_(intValue(controlOf(sender, setTimeline)));
}
void QX2DSpectrumAppController::TransparentTimeline(QObject* sender)
{
    setTransparentTimeline_(intValue(controlOf(sender, setTransparentTimeline)));
}
void QX2DSpectrumAppController::Timelaval(QObject* sender)
{
    setTimelaval_(intValue(controlOf(sender, setTimelaval)));
}
void QX2DSpectrumAppController::Timesphere(QObject* sender)
{
    setTimesphere_(intValue(controlOf(sender, setTimesphere)));
}
void QX2DSpectrumAppController::Powerflatmark5(QObject* sender)
{
    setPowerflatmark5_(intValue(controlOf(sender, setPowerflatmark5)));
}
void QX2DSpectrumAppController::Powerflatmark10(QObject* sender)
{
    setPowerflatmark10_(intValue(controlOf(sender, setPowerflatmark10)));
}
void QX2DSpectrumAppController::PowerPeakflat(QObject* sender)
{
    setPowerPeakflat_(intValue(controlOf(sender, setPowerPeakflat)));
}
void QX2DSpectrumAppController::Powerlabel(QObject* sender)
{
    setPowerlabel_(intValue(controlOf(sender, setPowerlabel)));
}
void QX2DSpectrumAppController::CoherenceHigh(QObject* sender)
{
    setCoherenceHigh_(intValue(controlOf(sender, setCoherenceHigh)));
}

void QX2DSpectrumAppController::sendTextStartFrequencyField(QObject* sender)
{
    const StartFrequency start =
        startFrequencyFromField(floatValue(controlOf(sender, displayHereStartFrequency)), fftp.load(relaxed),
                                SampleSpeed.load(relaxed));
    activeView().StartFrequecy(start.bin);
    setField(displayHereStartFrequency, QString::number(static_cast<int>(start.value)));
}

void QX2DSpectrumAppController::button(QObject* sender)
{
    activeView().setPositionZ(Control::tag(sender));
}

void QX2DSpectrumAppController::ViewShowBrainSWX(QObject* sender)
{
    activeView().setViewShowBrainSWX(intValue(sender));
}
void QX2DSpectrumAppController::DrawSurfaceLineX(QObject* sender)
{
    activeView().setDrawSurfaceLineX(intValue(sender));
}
void QX2DSpectrumAppController::DrawLargeGridX(QObject* sender)
{
    activeView().setDrawLargeGridX(intValue(controlOf(sender, setFFT512Band)));
}
void QX2DSpectrumAppController::RunTextureX(QObject* sender)
{
    activeView().setRunTextureX(intValue(sender));
}
void QX2DSpectrumAppController::RunbyBrainswX(QObject* sender)
{
    activeView().setRunbyBrainswX(intValue(sender));
}
void QX2DSpectrumAppController::ResetPositionX(QObject* sender)
{
    activeView().setResetPositionX(intValue(sender));
}
void QX2DSpectrumAppController::DrawModeX(QObject* sender)
{
    activeView().setDrawModeX(selectedTag(sender));
}
void QX2DSpectrumAppController::TextureModeX(QObject* sender)
{
    activeView().setTextureModeX(selectedTag(sender));
}
void QX2DSpectrumAppController::setPColorX(QObject* sender)
{
    activeView().setPColor_value(floatValue(sender));
    activeView().setNeedsDisplay(true);
}
void QX2DSpectrumAppController::setFColorX(QObject* sender)
{
    activeView().setFColor_value(floatValue(sender));
    activeView().setNeedsDisplay(true);
}

void QX2DSpectrumAppController::pushControlsToActiveView()
{
    pushWellColoursToActiveView();
}

void QX2DSpectrumAppController::refreshInformationFields()
{
    timerStamp(ploop.load(relaxed));
    const int points = fftp.load(relaxed);
    const int rate = SampleSpeed.load(relaxed);
    setField(displayHereFFTpoint, QString::number(points));
    setField(displayHereSampleSpeed, QString::number(rate));
    setField(displayHereFPS, activeView().framesPerSecond(), 3);
    setField(displayHereFez, static_cast<double>(rate) / (points > 0 ? points : 1), 3);
}

void QX2DSpectrumAppController::markActiveViewForRedraw()
{
    // Not while a document is being written; the colour animations step either way.
    if (startToSaveData.load(relaxed) == 0)
        activeView().setNeedsDisplay(true);
    stepColourGainAnimation(setColorGainAnimationX, ColorGainSliderX, ColorGainSliderXUp);
    stepColourOffsetAnimation(setColorOffsetAnimationX, ColorOffsetSliderX, ColorOffsetSliderXUp);
}

void QX2DSpectrumAppController::awakeFromNib()
{
    takeNibColours(window);
    hostViews();
    for (QX2DSpectrumGLView* view : {normal.get(), full.get()}) {
        view->setCompanions(normal.get(), full.get());
        // The view shows a source's stored flags in this window's check boxes.
        view->setDisplayStateReceiver([this](int k, int state) { setOverlayFlag(k, state); });
    }
    ++Open3DWaterFall;
    updateObserver = ScopedObserver(WaterfallupdateNotification, nullptr,
                                    [this](const Notification&) { graphicChangedX(); });
    if (needUpdateColorC > 0) {
        setWellColour(backgroundColorWell, bkColorC);
        needUpdateColorC = 0;
    }
    showViewsByMode();

    const int channels = fillViewModePopup(sourceEntries);
    if (channels == 0) {
        selectItem(popup, 2);
        setActiveViewMode(2);
        selectX(2);
    }
    setItems(popup2, speedEntries);
    selectItem(popup2, tlongE.load(relaxed));
    setItems(popup3, viewEntryTitles());

    if (windowColor2DDidChanged != 0) {
        setWellColour(backgroundColorWell, windowColor);
        windowColor2DDidChanged = 0;
    }
    pushControlsToActiveView();
    finishWindowSetUp(showQX2DSpectrumFront);
    // The shown view takes the keys typed into the window.
    if (QWidget* shown = viewA == 1 ? fullHost : normalHost)
        if (auto* host = shown->findChild<QWidget*>())
            host->setFocus();

    if (Open3DWaterFall <= 1) {
        restoreLastView(selectXCHNXY);
        setshowDisplayall(selectXCHNXY);
        setIntValue(setFFT512Band, fftp512Band.load(relaxed));
        setIntValue(setCoherenceHigh, displayModeFlag(selectXCHNXY, FlagCoherenceHigh));
    } else {
        keepOwnView(popupselectX);
    }
    drawers_.myParentWindow = window;
    drawers_.awakeFromNib();
    speedObserver =
        ScopedObserver(setMovieSpeedNotification, nullptr, [this](const Notification&) { setMovieSpeedQ(); });
}

void QX2DSpectrumAppController::windowDidResize(QObject* window)
{
    PlotGraphWindowController::windowDidResize(window);
    drawers_.windowDidResize(window);
}

void QX2DSpectrumAppController::windowWillClose(QObject* sender)
{
    PlotGraphWindowController::windowWillClose(sender);
    waterfallWindowState.windowClosed(false);
    timer.stop();
    updateObserver = ScopedObserver();
    speedObserver = ScopedObserver();
}

}  // namespace nupo
