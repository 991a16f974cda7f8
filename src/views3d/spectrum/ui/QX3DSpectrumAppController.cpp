#include "views3d/spectrum/ui/QX3DSpectrumAppController.h"

#include "analysis/SetFFTController.h"
#include "platform/appkit/ui/Drawer.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/viewhost/gl/ViewRetirement.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"
#include "platform/viewhost/ui/PlotViewHosting.h"
#include "plots/frame/gl/PlotDrawing.h"
#include "plots/frame/ui/PlotControls.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "views3d/SpectrumViewState.h"
#include "views3d/spectrum/gl/QX3DSpectrumGLDrawing.h"
#include "views3d/spectrum/ui/Spectrum3DWindowState.h"
#include "views3d/textures/gl/ImageSources.h"

#include <QComboBox>
#include <QWidget>

#include <cstdio>

#include <algorithm>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// The display-element toggles, by element: the action's and check box's names.
const char* const elementNames[12] = {
    "Frequencyline",  "Frequencylaval",  "Timeline",      "TransparentTimeline", "Timelaval", "Timesphere",
    "Powerflatmark5", "Powerflatmark10", "PowerPeakflat", "Powerlabel",          "BSlaval",   "FFTflatPower"};

// The display-mode menus by channel count (DeviceConfig 0..3).
const QStringList fullList = {"1 LR Brain & Coherence",
                              "2 LR Brain & Coherence",
                              "CH 1",
                              "CH 2",
                              "CH 3",
                              "CH 4",
                              "Coherence CH1 & CH2",
                              "Coherence CH3 & CH4",
                              "Coherence CH1 & CH3",
                              "Coherence CH2 & CH4",
                              "Coherence CH1 & CH4",
                              "Coherence CH2 & CH3",
                              "1 LR Brain, Heart & Coherence",
                              "2 set of LR Brain & Coherence"};
const QStringList displayModeLists[4] = {
    {"-", "--", "CH 1", "---", "CH 1 Play only", "---", "---", "---", "---", "---"},
    {"LR Brain & Coherence", "LR Brain & Coherence Play only", "CH 1 (L)", "CH 2 (R)", "CH 1 (L) Play only",
     "CH 2 (R) Play only", "Coherence", "Coherence Play only", "----", "----"},
    {"LR Brain & Coherence", "-", "CH 1", "CH 2", "CH 3", "--", "Coherence CH1 & CH2", "---",
     "Coherence CH1 & CH3", "-----", "------", "Coherence CH2 & CH3", "LR Brain, Heart & Coherence",
     "------"},
    fullList};

const QStringList speedItems = {"X 0.25", "X 0.5", "X 1", "X 1.25", "X 1.67",
                                "X 2",    "X 2.5", "X 5", "X 10",   "X 20"};

}  // namespace

QX3DSpectrumAppController::QX3DSpectrumAppController() : PlotWindowController(spectrum3DWindowState, 60.0f)
{
    outlet("_glView", viewPlaceholders[0]);
    outlet("_gl3View", viewPlaceholders[1]);
    outlet("popup3", popup3);
    outlet("displayHereTextureNumber", displayHereTextureNumber);
    outlet("DrawModeX", DrawModeX);
    outlet("TextureModeX", TextureModeX);
    outlet("setViewAngleXX", setViewAngleXX);
    outlet("setViewAngleXX1", setViewAngleXX1);
    outlet("setViewAngleXX2", setViewAngleXX2);
    outlet("setViewModeXX", setViewModeXX);
    outlet("setRotateSpeedUpXX", setRotateSpeedUpXX);
    outlet("setRotateSpeedDownXX", setRotateSpeedDownXX);
    outlet("setRotateSpeedLeftXX", setRotateSpeedLeftXX);
    outlet("setRotateSpeedRightXX", setRotateSpeedRightXX);
    outlet("setPColorXX", setPColorXX);
    outlet("setFColorXX", setFColorXX);
    outlet("setColorMapXX", setColorMapXX);
    outlet("setDynamicTextureXX", setDynamicTextureXX);
    outlet("FezField", FezField);
    outlet("displayHereFez", displayHereFez);
    outlet("StartFrequencyField", StartFrequencyField);
    outlet("displayHereStartFrequency", displayHereStartFrequency);
    outlet("setshowBSall", setshowBSallBox);
    outlet("setshowBSinfo", setshowBSinfoBox);
    outlet("brainSwitchNote", brainSwitchNote);
    outlet("setFFT512Band", setFFT512Band);
    outlet("leftDrawer", leftDrawer);
    outlet("bottomDrawer", bottomDrawer);
    outlet("upperRightDrawer", upperRightDrawer);
    outlet("lowerRightDrawer", lowerRightDrawer);
    for (int k = 1; k <= 8; ++k) {
        outlet(QStringLiteral("setshowBS%1").arg(k), setshowBSBox[k - 1]);
        action(QStringLiteral("showBS%1").arg(k), [this, k](QObject* sender) { showBS(k, sender); });
    }
    for (int e = 0; e < 12; ++e) {
        outlet(QStringLiteral("set%1").arg(elementNames[e]), elementBox[e]);
        action(QString::fromLatin1(elementNames[e]),
               [this, e](QObject* sender) { displayElement(e, sender); });
    }

    action("select", &QX3DSpectrumAppController::select);
    action("select2", &QX3DSpectrumAppController::select2);
    action("select3", &QX3DSpectrumAppController::select3);
    action("setViewAngleX", &QX3DSpectrumAppController::setViewAngleX);
    action("setViewAngleX1", &QX3DSpectrumAppController::setViewAngleX1);
    action("setViewAngleX2", &QX3DSpectrumAppController::setViewAngleX2);
    action("setViewModeX", &QX3DSpectrumAppController::setViewModeX);
    action("setRotateSpeedUpX", &QX3DSpectrumAppController::setRotateSpeedUpX);
    action("setRotateSpeedDownX", &QX3DSpectrumAppController::setRotateSpeedDownX);
    action("setRotateSpeedLeftX", &QX3DSpectrumAppController::setRotateSpeedLeftX);
    action("setRotateSpeedRightX", &QX3DSpectrumAppController::setRotateSpeedRightX);
    action("setPColorX", &QX3DSpectrumAppController::setPColorX);
    action("setFColorX", &QX3DSpectrumAppController::setFColorX);
    action("setColorMapX", &QX3DSpectrumAppController::setColorMapX);
    action("setDynamicTextureX", &QX3DSpectrumAppController::setDynamicTextureX);
    action("ViewX", &QX3DSpectrumAppController::ViewX);
    action("MoveModeX", &QX3DSpectrumAppController::MoveModeX);
    action("DrawModeX", &QX3DSpectrumAppController::DrawModeX_);
    action("TextureModeX", &QX3DSpectrumAppController::TextureModeX_);
    action("AutoStopX", &QX3DSpectrumAppController::AutoStopX);
    action("ResetPositionX", &QX3DSpectrumAppController::ResetPositionX);
    action("button", &QX3DSpectrumAppController::button);
    action("changeBackgroundColor", &QX3DSpectrumAppController::changeBackgroundColor);
    action("LoadTextuerX", &QX3DSpectrumAppController::LoadTextuerX);
    action("sendTextStartFrequencyField", &QX3DSpectrumAppController::sendTextStartFrequencyField);
    action("showBSall", &QX3DSpectrumAppController::showBSall);
    action("showBSinfo", &QX3DSpectrumAppController::showBSinfo);
    action("copy", &QX3DSpectrumAppController::copy);
    const std::pair<const char*, void (QX3DSpectrumGLView::*)(int)> forwarded[] = {
        {"imagePositionX", &QX3DSpectrumGLView::setimagePositionX},
        {"ViewShowBrainSWX", &QX3DSpectrumGLView::setViewShowBrainSWX},
        {"ViewShowMainX", &QX3DSpectrumGLView::setViewShowMainX},
        {"DrawSurfaceLineX", &QX3DSpectrumGLView::setDrawSurfaceLineX},
        {"DrawLargeGridX", &QX3DSpectrumGLView::setDrawLargeGridX},
        {"TextureEnvX", &QX3DSpectrumGLView::setTextureEnvX},
        {"RunTextureX", &QX3DSpectrumGLView::setRunTextureX},
        {"RunbyBrainswX", &QX3DSpectrumGLView::setRunbyBrainswX},
        {"AutoUpX", &QX3DSpectrumGLView::setAutoUpX},
        {"AutoDownX", &QX3DSpectrumGLView::setAutoDownX},
        {"AutoLeftX", &QX3DSpectrumGLView::setAutoLeftX},
        {"AutoRightX", &QX3DSpectrumGLView::setAutoRightX}};
    for (const auto& [name, setter] : forwarded)
        action(QString::fromLatin1(name),
               [this, setter = setter](QObject* sender) { sendInt(sender, setter); });
    const std::pair<const char*, void (WindowDrawers::*)(QObject*)> drawerActions[] = {
        {"openLeftDrawer", &WindowDrawers::openLeftDrawer},
        {"closeLeftDrawer", &WindowDrawers::closeLeftDrawer},
        {"toggleLeftDrawer", &WindowDrawers::toggleLeftDrawer},
        {"toggleLeftXDrawer", &WindowDrawers::toggleLeftXDrawer},
        {"openBottomDrawer", &WindowDrawers::openBottomDrawer},
        {"closeBottomDrawer", &WindowDrawers::closeBottomDrawer},
        {"toggleBottomDrawer", &WindowDrawers::toggleBottomDrawer},
        {"openUpperRightDrawer", &WindowDrawers::openUpperRightDrawer},
        {"closeUpperRightDrawer", &WindowDrawers::closeUpperRightDrawer},
        {"toggleUpperRightDrawer", &WindowDrawers::toggleUpperRightDrawer},
        {"openLowerRightDrawer", &WindowDrawers::openLowerRightDrawer},
        {"closeLowerRightDrawer", &WindowDrawers::closeLowerRightDrawer},
        {"toggleLowerRightDrawer", &WindowDrawers::toggleLowerRightDrawer}};
    for (const auto& [name, op] : drawerActions)
        action(QString::fromLatin1(name), [this, op = op](QObject* sender) { (drawers.*op)(sender); });

    setshowBSallX = 0;
    showBSX.fill(0);
    std::printf("init\n");
}

QX3DSpectrumAppController::~QX3DSpectrumAppController()
{
    // First: the drawings stop drawing and go, with the views they draw, once no frame of theirs is in
    // flight (each drawing goes before its view).
    retireViews({drawings[0].get(), drawings[1].get()}, drawings[0], drawings[1], views[0], views[1]);
    timer.stop();
    observers.clear();
}

QStringList QX3DSpectrumAppController::viewModeTitles(int deviceConfig)
{
    return deviceConfig >= 0 && deviceConfig <= 3 ? displayModeLists[deviceConfig] : fullList;
}

QX3DSpectrumAppController& QX3DSpectrumAppController::sharedQX3DSpectrumAppController()
{
    static QX3DSpectrumAppController* instance = new QX3DSpectrumAppController;  // lives to process end
    return *instance;
}

// --- Views ------------------------------------------------------------------------------------------------

QX3DSpectrumGLView* QX3DSpectrumAppController::visibleView()
{
    return views[viewA == 1 ? 1 : 0].get();
}

QX3DSpectrumGLDrawing* QX3DSpectrumAppController::visibleDrawing()
{
    return drawings[viewA == 1 ? 1 : 0].get();
}

void QX3DSpectrumAppController::forEachVisible(const std::function<void(QX3DSpectrumGLView&)>& f)
{
    if (QX3DSpectrumGLView* view = visibleView())
        f(*view);
}

void QX3DSpectrumAppController::showViewsByMode()
{
    PlotControls::setHidden(viewPlaceholders[1], viewA != 1);
    PlotControls::setHidden(viewPlaceholders[0], viewA == 1);
}

void QX3DSpectrumAppController::markActiveViewForRedraw()
{
    // Step 13 of the tick, then the colour animations.
    if (startToSaveData.load(relaxed) == 0)
        if (QX3DSpectrumGLView* view = visibleView())
            view->requestRedisplay();
    stepColorGainBSMixAnimation();
    stepColorOffsetBSMixAnimation();
}

void QX3DSpectrumAppController::applyBackgroundToActiveView(const RGBAColor& colour)
{
    forEachVisible([&](QX3DSpectrumGLView& v) { v.setBackgroundColor(colour); });
}

void QX3DSpectrumAppController::storeBackground()
{
    forEachVisible([](QX3DSpectrumGLView& v) { v.storeBackgroundColor(); });
}

void QX3DSpectrumAppController::refreshInformationFields()
{
    if (maxImageNZ != 0) {
        setMaxTextuerSlider(maxImageNXopen);
        maxImageNZ = 0;
        std::printf("setMaxTextuerSlider=%d \n", maxImageNXopen);
    }
    if (reloadTexture == 2) {
        QX3DSpectrumGLView& shared = QX3DSpectrumGLView::sharedQX3DSpectrumGLView();
        shared.setTextureModeX(3);
        shared.setTextureModeX(2);
        shared.setDrawModeX(4);
        std::printf("reloadTexture timerUpdate=%d \n", reloadTexture);
        reloadTexture = 0;
    }
    timerStamp(ploop.load(relaxed));
    const int points = fftp.load(relaxed);
    const int rate = SampleSpeed.load(relaxed);
    setField(displayHereFFTpoint, QString::number(points));
    setField(displayHereSampleSpeed, QString::number(rate));
    if (QX3DSpectrumGLDrawing* drawing = visibleDrawing())
        setField(displayHereFPS, static_cast<float>(drawing->framesPerSecond()), 3);
    setField(displayHereFez, points > 0 ? static_cast<float>(rate) / static_cast<float>(points) : 0.0f, 3);
}

// --- Life cycle -------------------------------------------------------------------------------------------

void QX3DSpectrumAppController::awakeFromNib()
{
    Open3DWaterFallBS += 1;
    std::printf("Open3DWaterFallBS=%d\n", Open3DWaterFallBS);
    if (reloadTexture == 10)
        viewA = viewA3DX;
    elementX[11] = 1;
    PlotControls::takeNibColours(window);
    // The background well starts on the background in use (a document's, or the one set at start), which
    // the views take from it below, rather than on the nib's; before any is set (all zero), the nib's.
    {
        const QX3DSpectrumGLView& shared = QX3DSpectrumGLView::sharedQX3DSpectrumGLView();
        const RGBAColor inUse =
            RGBAColor::fromRGBA(shared.getBackgroundColor(0), shared.getBackgroundColor(1),
                                shared.getBackgroundColor(2), shared.getBackgroundColor(3));
        if (inUse.red != 0 || inUse.green != 0 || inUse.blue != 0 || inUse.alpha != 0)
            PlotControls::setWellColour(backgroundColorWell, inUse);
    }
    observers.emplace_back(WaterfallBSupdateNotification, nullptr,
                           [this](const Notification&) { graphicChangedX(); });
    if (needUpdateColorD > 0) {
        PlotControls::setWellColour(backgroundColorWell, bkColorD);
        needUpdateColorD = 0;
    }

    // The two views, each drawn by its own host in its placeholder.
    for (int i = 0; i < 2; ++i) {
        views[i] = std::make_unique<QX3DSpectrumGLView>();
        drawings[i] = std::make_unique<QX3DSpectrumGLDrawing>(*views[i]);
        hosts[i] = hostPlotView(viewPlaceholders[i], *drawings[i]);
    }
    for (auto& view : views) {
        view->_glView = views[0].get();
        view->_gl3View = views[1].get();
        view->viewA3D = viewA;
    }
    showViewsByMode();

    maxImageNXopen = maxImageN;
    maxImageNZ = 1;
    setDisplayModeList();
    PlotControls::setItems(popup2, speedItems);
    PlotControls::selectItem(popup2, tlongE.load(relaxed));
    PlotControls::setItems(popup3, viewEntryTitles());

    if (windowColor3DDidChanged != 0) {
        PlotControls::setWellColour(backgroundColorWell, windowColor);
        windowColor3DDidChanged = 0;
    }
    forEachVisible(
        [&](QX3DSpectrumGLView& v) { v.setBackgroundColor(PlotControls::wellColour(backgroundColorWell)); });

    const int config = DeviceConfig.load(relaxed);
    if (config == 0)
        selectX(2);
    else
        setBrainSwitchBoxesHidden(true);
    if (config >= 0 && config <= 3) {
        setSliderHidden(setViewAngleXX, config == 0);
        setSliderHidden(setViewAngleXX1, config < 3);
        setSliderHidden(setViewAngleXX2, config < 2);
    }
    forEachVisible([](QX3DSpectrumGLView& v) { v.setupDrawText(); });

    drawers.myParentWindow = window;
    drawers.leftDrawer = leftDrawer;
    drawers.bottomDrawer = bottomDrawer;
    drawers.upperRightDrawer = upperRightDrawer;
    drawers.lowerRightDrawer = lowerRightDrawer;
    drawers.awakeFromNib();
    finishWindowSetUp(showFFTPanelFront);
    drawers.windowDidResize(window);

    for (int k = 0; k < 10; ++k)
        observers.emplace_back(didchangeSelectNotifications[std::size_t(k)], nullptr,
                               [this, k](const Notification&) { didchangeSelect(k); });

    if (Open3DWaterFallBS <= 1) {
        forEachVisible([](QX3DSpectrumGLView& v) { v.setDemoNumber(selectXCHNX); });
        alphaZ = selectBXCHNX;
        selectX(selectXCHNX);
        PlotControls::selectItem(popup, selectXCHNX);
        std::printf("reloadTexture==10 =%d \n", reloadTexture);
        if (viewA3DXX != 0)
            selectX3(1);
        if (alphaZ > 1)
            selectX3(alphaZ);
        setBSButtonFromBSarray();
        PlotControls::setIntValue(setFFT512Band, fftp512Band.load(relaxed));
    }
    if (reloadTexture > 9) {
        QX3DSpectrumGLView::sharedQX3DSpectrumGLView().setDrawModeX(4);
        std::printf("reloadTexture awakeFromNib =%d \n", reloadTexture);
        PlotControls::selectTag(DrawModeX, 4);
        PlotControls::selectTag(TextureModeX, 2);
        // The views' set-up, on their first frame, leaves them in the image mode the controls show.
        for (auto& view : views) {
            view->setUpTextureMode = 2;
            view->setTextureModeX(2);
        }
        reloadTexture = 2;
    }
    observers.emplace_back(setMovieSpeedNotification, nullptr,
                           [this](const Notification&) { setMovieSpeedQ(); });
}

void QX3DSpectrumAppController::setSliderHidden(QObject* slider, bool hidden)
{
    PlotControls::setHidden(slider, hidden);
    if (slider && window)
        PlotControls::setHidden(window->findChild<QObject*>(slider->objectName() + QStringLiteral("Label")),
                                hidden);
}

void QX3DSpectrumAppController::setDisplayModeList()
{
    PlotControls::setItems(popup, fullList);
    const int config = DeviceConfig.load(relaxed);
    if (config < 0 || config > 3)
        return;
    PlotControls::setItems(popup, displayModeLists[config]);
    if (config == 0) {
        PlotControls::selectItem(popup, 2);
        forEachVisible([](QX3DSpectrumGLView& v) { v.setDemoNumber(2); });
        selectX(2);
    }
}

void QX3DSpectrumAppController::windowWillClose(QObject* sender)
{
    PlotWindowController::windowWillClose(sender);
    ShowWindow3DWaterFallBS = 0;
    Open3DWaterFallBS -= 1;
    std::printf("Open3DWaterFallBS=%d\n", Open3DWaterFallBS);
    // Tear-down: back to the normal view, no animation, no observers, no tick. The object itself lives
    // on until the window is released, so an operation that closed the window may go on using it.
    if (viewA != 0)
        selectX3(0);
    std::printf("dealloc\n");
    viewA = 0;
    AlphaAnime = 0;
    observers.clear();
    timer.stop();
    tornDown = true;
}

void QX3DSpectrumAppController::windowDidResize(QObject* sender)
{
    PlotWindowController::windowDidResize(sender);
    drawers.windowDidResize(sender);
}

// --- Operations other parts send --------------------------------------------------------------------------

void QX3DSpectrumAppController::setBackgroundColorWellA(const RGBAColor& colour)
{
    PlotWindowController::setBackgroundColorWellA(colour);
}

void QX3DSpectrumAppController::setDemoNumberB(int n)
{
    selectX3(n);
    state.viewEntry.didChange = 1;
}

void QX3DSpectrumAppController::setGetMaxOpen()
{
    maxImageNXopen = maxImageN;
    maxImageNZ = 1;
    std::printf("setGetMaxOpen=%d \n", maxImageNXopen);
}

void QX3DSpectrumAppController::BrainCHX(int v)
{
    BrainCHBSX = v;
}
void QX3DSpectrumAppController::XpositionX(int v)
{
    XpositionBSX = v;
}
void QX3DSpectrumAppController::YpositionX(int v)
{
    YpositionBSX = v;
}
void QX3DSpectrumAppController::WsizeX(int v)
{
    WsizeBSX = v;
}
void QX3DSpectrumAppController::HsizeX(int v)
{
    HsizeBSX = v;
}
void QX3DSpectrumAppController::inputRX(double v)
{
    inputRBSX = v;
}
void QX3DSpectrumAppController::inputRY(double v)
{
    inputRBSY = v;
}
void QX3DSpectrumAppController::inputRZ(double v)
{
    inputRBSZ = v;
}

void QX3DSpectrumAppController::graphicChangedX()
{
    if (!tornDown)
        timerUpdate();
}

void QX3DSpectrumAppController::setMovieSpeedQ()
{
    setSpeedPopupMenu(tlongE.load(relaxed));
}

void QX3DSpectrumAppController::didchangeSelect(int source)
{
    if (source < 0 || source > 9)
        return;
    if (PlotControls::selectedIndex(popup) == source + 2)
        setAllBSButton(source);
}

}  // namespace nupo
