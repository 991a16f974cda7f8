#include "views3d/wave/ui/QXnewaveAppController.h"

#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/Drawer.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/appkit/ui/RadioMatrix.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/viewhost/gl/ViewRetirement.h"
#include "platform/viewhost/ui/PlotViewHosting.h"
#include "shared/AnalysisState.h"
#include "shared/BrainBands.h"
#include "shared/BrainSources.h"
#include "shared/CoreState.h"
#include "views3d/QX3DSpectrumGLView.h"
#include "views3d/textures/gl/ImageSources.h"
#include "views3d/wave/gl/QXnewave.h"
#include "views3d/wave/gl/QXnewaveGLView.h"

#include <QSlider>
#include <QStringList>

#include <cmath>
#include <cstdio>

namespace nupo {

namespace {

// The source menu by channel configuration; item i stands for source i.
QStringList sourceItems(int deviceConfig)
{
    if (deviceConfig < 0 || deviceConfig > 3)
        return {"CH 1", "CH 2", "CH 3", "CH 4", "1 Brain Coherence", "2 Brain Coherence"};
    return brainSourceItems(deviceConfig);
}

QXnewave& engine()
{
    return QXnewave::sharedQXnewave();
}

bool validBand(int band)
{
    return band >= 0 && band < QXnewaveAppController::bandCount;
}

void setSliderRange(QObject* object, int minimum, int maximum)
{
    if (auto* slider = qobject_cast<QSlider*>(object))
        slider->setRange(minimum, maximum);
}

}  // namespace

QXnewaveAppController& QXnewaveAppController::sharedQXnewaveAppController()
{
    static QXnewaveAppController* instance = new QXnewaveAppController;  // lives to process end
    return *instance;
}

QXnewaveAppController::QXnewaveAppController()
{
    QObject::connect(&timer, &FrameTimer::timeout, [this] { timerUpdate(); });
    outlet("_glView", [this](QObject* placeholder) { hostView(placeholder); });
    outlet("window", Window);
    outlet("backgroundColorWell", backgroundColorWell);
    outlet("displayHereTextureNumber", displayHereTextureNumber);
    outlet("SoundBrain", SoundBrain);
    outlet("SoundPFC", SoundPFC);
    outlet("setPColorXX", setPColorXX);
    outlet("setFColorXX", setFColorXX);
    outlet("setColorMapXX", setColorMapXX);
    outlet("setDynamicTextureXX", setDynamicTextureXX);
    outlet("setRotateSpeedUpXX", setRotateSpeedUpXX);
    outlet("setRotateSpeedDownXX", setRotateSpeedDownXX);
    outlet("setRotateSpeedLeftXX", setRotateSpeedLeftXX);
    outlet("setRotateSpeedRightXX", setRotateSpeedRightXX);
    outlet("setRunbyBrainswX", setRunbyBrainswX);
    outlet("RunTextureX", RunTextureX);
    outlet("DrawModeX", DrawModeX);
    outlet("TextureModeX", TextureModeX);
    outlet("leftDrawer", drawers_.leftDrawer);
    outlet("bottomDrawer", drawers_.bottomDrawer);
    outlet("upperRightDrawer", drawers_.upperRightDrawer);
    outlet("lowerRightDrawer", drawers_.lowerRightDrawer);
    for (int band = 0; band < bandCount; ++band) {
        const QString slider = QString::fromLatin1(brainBandSliderNames[band]);
        const QString indicator = QString::fromLatin1(brainBandButtonNames[band]);
        outlet("set" + slider, bandSliders[band]);
        outlet("set" + indicator, bandButtons[band]);
        action(slider, [this, band](QObject* sender) { BandSlider(band, sender); });
        action(indicator, [this, band](QObject* sender) { FrameBS(band, sender); });
    }

    action("button", &QXnewaveAppController::button);
    action("selectSoundBrain", &QXnewaveAppController::selectSoundBrain);
    action("selectSoundPFC", &QXnewaveAppController::selectSoundPFC);
    action("setRotateSpeedUpX", &QXnewaveAppController::setRotateSpeedUpX);
    action("setRotateSpeedDownX", &QXnewaveAppController::setRotateSpeedDownX);
    action("setRotateSpeedLeftX", &QXnewaveAppController::setRotateSpeedLeftX);
    action("setRotateSpeedRightX", &QXnewaveAppController::setRotateSpeedRightX);
    action("imagePositionX", &QXnewaveAppController::imagePositionX);
    action("ViewShowBrainSWX", &QXnewaveAppController::ViewShowBrainSWX);
    action("MoveModeX", &QXnewaveAppController::MoveModeX_);
    action("DrawModeX", &QXnewaveAppController::DrawModeX_);
    action("TextureModeX", &QXnewaveAppController::TextureModeX_);
    action("DrawSurfaceLineX", &QXnewaveAppController::DrawSurfaceLineX);
    action("DrawLargeGridX", &QXnewaveAppController::DrawLargeGridX);
    action("TextureEnvX", &QXnewaveAppController::TextureEnvX_);
    action("ReversedX", &QXnewaveAppController::ReversedX);
    action("RunTextureX", &QXnewaveAppController::RunTextureX_);
    action("ResetPositionX", &QXnewaveAppController::ResetPositionX);
    action("setPColorX", &QXnewaveAppController::setPColorX);
    action("setFColorX", &QXnewaveAppController::setFColorX);
    action("setColorMapX", &QXnewaveAppController::setColorMapX);
    action("setDynamicTextureX", &QXnewaveAppController::setDynamicTextureX);
    action("RunbyBrainswX", &QXnewaveAppController::RunbyBrainswX_);
    action("LoadTextuerX", &QXnewaveAppController::LoadTextuerX);
    action("AutoStopX", &QXnewaveAppController::AutoStopX);
    action("changeBackgroundColor", &QXnewaveAppController::changeBackgroundColor);
    // The drawers' buttons.
    const auto drawerAction = [this](const char* name, void (WindowDrawers::*function)(QObject*)) {
        action(QString::fromLatin1(name),
               [this, function](QObject* sender) { (drawers_.*function)(sender); });
    };
    drawerAction("openLeftDrawer", &WindowDrawers::openLeftDrawer);
    drawerAction("closeLeftDrawer", &WindowDrawers::closeLeftDrawer);
    drawerAction("toggleLeftDrawer", &WindowDrawers::toggleLeftDrawer);
    drawerAction("toggleLeftXDrawer", &WindowDrawers::toggleLeftXDrawer);
    drawerAction("openBottomDrawer", &WindowDrawers::openBottomDrawer);
    drawerAction("closeBottomDrawer", &WindowDrawers::closeBottomDrawer);
    drawerAction("toggleBottomDrawer", &WindowDrawers::toggleBottomDrawer);
    drawerAction("openUpperRightDrawer", &WindowDrawers::openUpperRightDrawer);
    drawerAction("closeUpperRightDrawer", &WindowDrawers::closeUpperRightDrawer);
    drawerAction("toggleUpperRightDrawer", &WindowDrawers::toggleUpperRightDrawer);
    drawerAction("openLowerRightDrawer", &WindowDrawers::openLowerRightDrawer);
    drawerAction("closeLowerRightDrawer", &WindowDrawers::closeLowerRightDrawer);
    drawerAction("toggleLowerRightDrawer", &WindowDrawers::toggleLowerRightDrawer);
}

QXnewaveAppController::~QXnewaveAppController()
{
    // First: the view stops drawing and goes once no frame of it is in flight.
    retireViews({_glView.get()}, _glView);
    timer.stop();
    delete host_;
}

void QXnewaveAppController::hostView(QObject* placeholder)
{
    auto* widget = qobject_cast<QWidget*>(placeholder);
    if (!widget)
        return;
    _glView = std::make_unique<QXnewaveGLView>(QRectF(QPointF(0, 0), QSizeF(widget->size())));
    host_ = hostPlotView(widget, *_glView);
}

void QXnewaveAppController::awakeFromNib()
{
    std::printf("awakeFromNib init \n");
    if (!Window)
        Window = nibWindow();
    drawers_.myParentWindow = Window;
    drawers_.awakeFromNib();
    if (_glView)
        _glView->setBackgroundColor(Control::color(backgroundColorWell));
    changeWaveDrawing([] {
        engine().setSpeeddn(2);
        engine().resetdn(1);
        engine().godn();
        engine().stopdn();
    });
    setSoundBrainNumberX = 0;
    setSoundPFCNumberX = 0;
    BSpeakFrequencyZZ = 0;
    maxImageNXopen = maxImageN;
    maxImageNZZ = 1;
    std::printf("awakeFromNib set maxImageNXopen=%d \n", maxImageNXopen);
    bandCodes = {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f};

    PopUpButton::removeAllItems(SoundBrain);
    PopUpButton::addItemsWithTitles(SoundBrain, sourceItems(DeviceConfig.load(std::memory_order_relaxed)));
    PopUpButton::selectItemAtIndex(SoundBrain, setSoundBrainNumberX);
    PopUpButton::removeAllItems(SoundPFC);
    for (int n = 0; n < 9; ++n)
        PopUpButton::addItemWithTitle(SoundPFC, QStringLiteral("BS %1").arg(n));
    PopUpButton::selectItemAtIndex(SoundPFC, setSoundPFCNumberX);
    // The window opens with the sheet standing still and brain control off; "Run by brain" starts it.
    setRunbyBrainswX_(0);

    showTheWindow(Window);
    WindowHandle(Window).setAlphaValue(WnewaveAlphaValue);
    // Only the window's controller ticks: the shared one would have nothing to drive.
    timer.start();
}

void QXnewaveAppController::windowWillClose(QObject* window)
{
    timer.stop();
    NibController::windowWillClose(window);
}

void QXnewaveAppController::windowDidResize(QObject* window)
{
    drawers_.windowDidResize(window);
}

void QXnewaveAppController::timerUpdate()
{
    CubicTunnelControl();
    // The view's set-up loads the wall images: the image sliders follow their number, as the view's
    // frames last showed it.
    if (_glView) {
        const QXnewaveGLView::FrameOwned& shown = _glView->shown();
        if (!shown.processFunc && shown.maxImageNXopen != maxImageNXopen) {
            maxImageNXopen = shown.maxImageNXopen;
            maxImageNZZ = 1;
        }
    }
    if (maxImageNZZ != 0) {
        std::printf("awakeFromNib timerUpdate \n");
        setMaxTextuerSlider(maxImageNXopen);
        maxImageNZZ = 0;
    }
    redisplay();
}

void QXnewaveAppController::showTheWindow(QWidget* window)
{
    WindowHandle handle(window);
    if (!handle.isVisible())
        handle.setFrame(handle.frame(), true, true);
    handle.makeKeyAndOrderFront();
}

void QXnewaveAppController::setWindowAlphaValue(float alpha)
{
    WnewaveAlphaValue = alpha;
}

void QXnewaveAppController::redisplay()
{
    if (_glView)
        _glView->setNeedsDisplay(true);
}

void QXnewaveAppController::button(QObject* sender)
{
    const int t = Control::tag(sender);
    std::printf("Button %d!\n", t);
    if (t >= 0 && t <= 9)
        restartSheet(t);
    else if (t == 10)
        changeWaveDrawing([] { engine().stopdn(); });
    if (_glView)
        _glView->setColor(t);
    if (t == 1 && restartLogo)
        restartLogo();
}

void QXnewaveAppController::selectSoundBrain(QObject*)
{
    const int index = PopUpButton::indexOfSelectedItem(SoundBrain);
    setSoundBrainNumber(index);
}

void QXnewaveAppController::selectSoundPFC(QObject*)
{
    const int index = PopUpButton::indexOfSelectedItem(SoundPFC);
    setSoundPFCNumber(index);
}

void QXnewaveAppController::FrameBS(int band, QObject* sender)
{
    if (!validBand(band))
        return;
    setFrameBS(band, Control::intValue(sender));
    setBandSlider(band, bandCodes[band]);
}

void QXnewaveAppController::setFrameBS(int band, int n)
{
    if (!validBand(band))
        return;
    setBSrhythmStateAllOff();
    Control::setState(bandButtons[band], n);
    bandStates[band] = n;
}

void QXnewaveAppController::setBSrhythmStateAllOff()
{
    for (int band = 0; band < bandCount; ++band) {
        Control::setState(bandButtons[band], 0);
        bandStates[band] = 0;
    }
}

void QXnewaveAppController::BandSlider(int band, QObject* sender)
{
    setBandSlider(band, static_cast<float>(Control::floatValue(sender)));
}

void QXnewaveAppController::setBandSlider(int band, float code)
{
    if (!validBand(band))
        return;
    bandCodes[band] = code;
    CubicTunnelEffect(code);
}

void QXnewaveAppController::CubicTunnelEffect(float code)
{
    if (!(code > -1.0f && code < 20.0f))  // also refuses a value that is not a number
        return;
    const int k = static_cast<int>(code);
    applyTunnelEffect(_glView.get(), k);
    if (k == 19 && _glView) {
        showRotationSliders(0.0f, 10.0f, 10.0f, 0.0f);
        redisplay();
    }
}

void QXnewaveAppController::CubicTunnelControl()
{
    if (RunbyBrainswX == 0)
        return;
    const int source = setSoundBrainNumberX;
    const int brainSwitch = setSoundPFCNumberX;
    if (source < 0 || source >= brainSourceCount || brainSwitch < 0 || brainSwitch > 8)
        return;
    QX3DSpectrumGLView::sharedQX3DSpectrumGLView().waven3DBSQC(source);
    const auto& table = source > 3 ? peakSWcoherenceCount : peakSWfftCount;
    const float f = table[source][brainSwitch][0].peakFrequency.load(std::memory_order_relaxed);
    const int band = brainBandOfFrequency(f);
    if (band != BSpeakFrequencyZZ) {
        setBSrhythmStateAllOff();
        CubicTunnelEffect(bandCodes[band]);
        setFrameBS(band, 1);
    }
    BSpeakFrequencyZZ = band;
}

void QXnewaveAppController::setMaxTextuerSlider(int n)
{
    std::printf("setMaxTextuerSlider = %d\n", n);
    const bool single = n == 1;
    for (QObject* control : {setColorMapXX, setDynamicTextureXX, RunTextureX})
        Control::setHidden(control, single);
    if (single) {
        setSliderRange(setColorMapXX, 0, 1);
        setSliderRange(setDynamicTextureXX, 0, 1);
        Control::setIntValue(displayHereTextureNumber, 1);
    } else {
        setSliderRange(setColorMapXX, 1, n);
        setSliderRange(setDynamicTextureXX, 1, n);
        Control::setIntValue(displayHereTextureNumber, n);
    }
}

void QXnewaveAppController::showRotationSliders(float up, float down, float left, float right)
{
    Control::setFloatValue(setRotateSpeedUpXX, up);
    Control::setFloatValue(setRotateSpeedDownXX, down);
    Control::setFloatValue(setRotateSpeedLeftXX, left);
    Control::setFloatValue(setRotateSpeedRightXX, right);
}

void QXnewaveAppController::setRotateSpeedUpX(QObject* sender)
{
    if (_glView)
        _glView->setRotateSpeedUpXX(static_cast<float>(Control::floatValue(sender)));
    redisplay();
}

void QXnewaveAppController::setRotateSpeedDownX(QObject* sender)
{
    if (_glView)
        _glView->setRotateSpeedDownXX(10.0f - static_cast<float>(Control::floatValue(sender)));
    redisplay();
}

void QXnewaveAppController::setRotateSpeedLeftX(QObject* sender)
{
    if (_glView)
        _glView->setRotateSpeedLeftXX(10.0f - static_cast<float>(Control::floatValue(sender)));
    redisplay();
}

void QXnewaveAppController::setRotateSpeedRightX(QObject* sender)
{
    if (_glView)
        _glView->setRotateSpeedRightXX(static_cast<float>(Control::floatValue(sender)));
    redisplay();
}

void QXnewaveAppController::imagePositionX(QObject* sender)
{
    if (_glView)
        _glView->setimagePositionX(Control::intValue(sender));
}

void QXnewaveAppController::ViewShowBrainSWX(QObject* sender)
{
    if (_glView)
        _glView->setViewShowBrainSWX(Control::intValue(sender));
}

void QXnewaveAppController::MoveModeX_(QObject* sender)
{
    if (_glView)
        _glView->setMoveModeX(RadioMatrix::selectedTag(sender));
}

void QXnewaveAppController::DrawModeX_(QObject* sender)
{
    const int t = RadioMatrix::selectedTag(sender ? sender : DrawModeX);
    if (_glView)
        _glView->setDrawModeX(t);
    if (t == 3)
        RadioMatrix::selectCellWithTag(TextureModeX, 0);
    else if (t == 4)
        RadioMatrix::selectCellWithTag(TextureModeX, 2);
}

void QXnewaveAppController::TextureModeX_(QObject* sender)
{
    const int t = RadioMatrix::selectedTag(sender ? sender : TextureModeX);
    if (_glView)
        _glView->setTextureModeX(t);
    if (t == 0 || t == 1)
        RadioMatrix::selectCellWithTag(DrawModeX, 3);
    else if (t == 2 || t == 3)
        RadioMatrix::selectCellWithTag(DrawModeX, 4);
}

void QXnewaveAppController::DrawSurfaceLineX(QObject* sender)
{
    if (_glView)
        _glView->setDrawSurfaceLineX(Control::intValue(sender));
}

void QXnewaveAppController::DrawLargeGridX(QObject* sender)
{
    if (_glView)
        _glView->setDrawLargeGridX(Control::intValue(sender));
}

void QXnewaveAppController::TextureEnvX_(QObject* sender)
{
    if (_glView)
        _glView->setTextureEnvX(Control::intValue(sender));
}

void QXnewaveAppController::ReversedX(QObject* sender)
{
    if (_glView)
        _glView->setReversedX(Control::intValue(sender));
}

void QXnewaveAppController::RunTextureX_(QObject* sender)
{
    if (_glView)
        _glView->setRunTextureX(Control::intValue(sender));
}

void QXnewaveAppController::ResetPositionX(QObject* sender)
{
    if (_glView)
        _glView->setResetPositionX(Control::intValue(sender));
}

void QXnewaveAppController::setPColorX(QObject* sender)
{
    if (_glView)
        _glView->setPColor_value(static_cast<float>(Control::floatValue(sender)));
    redisplay();
}

void QXnewaveAppController::setFColorX(QObject* sender)
{
    if (_glView)
        _glView->setFColor_value(static_cast<float>(Control::floatValue(sender)));
    redisplay();
}

void QXnewaveAppController::setColorMapX(QObject* sender)
{
    const float value = static_cast<float>(Control::floatValue(sender));
    if (_glView)
        _glView->setColor_Map_value(value);
    Control::setIntValue(displayHereTextureNumber, static_cast<int>(value));
    redisplay();
}

void QXnewaveAppController::setDynamicTextureX(QObject* sender)
{
    const float value = static_cast<float>(Control::floatValue(sender));
    if (_glView)
        _glView->setDynamic_Texture_value(value);
    Control::setIntValue(displayHereTextureNumber, static_cast<int>(value));
    redisplay();
}

void QXnewaveAppController::RunbyBrainswX_(QObject* sender)
{
    setRunbyBrainswX_(Control::intValue(sender));
}

void QXnewaveAppController::setRunbyBrainswX_(int n)
{
    Control::setState(setRunbyBrainswX, n);
    RunbyBrainswX = n;
}

// The images chosen go into this window (not into the 3D scene, as a request of 1 would have them).
void QXnewaveAppController::LoadTextuerX(QObject* sender)
{
    LoadTextuerF = loadIntoAskingWave;
    waveLoadTarget = nibWindow();
    MaxTextureDN = 0;
    if (_glView)
        _glView->setLoadTextuerX(Control::intValue(sender));
}

void QXnewaveAppController::AutoStopX(QObject* sender)
{
    if (_glView)
        _glView->setAutoStopX(Control::intValue(sender));
    showRotationSliders(0.0f, 10.0f, 10.0f, 0.0f);
    redisplay();
}

void QXnewaveAppController::changeBackgroundColor(QObject* sender)
{
    if (_glView)
        _glView->setBackgroundColor(Control::color(sender));
    redisplay();
}

}  // namespace nupo
