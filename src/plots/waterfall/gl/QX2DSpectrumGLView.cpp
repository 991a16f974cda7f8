#include "plots/waterfall/gl/QX2DSpectrumGLView.h"

#include "analysis/SetFFTController.h"
#include "core/QXSerialPort.h"
#include "platform/appkit/NotificationCenter.h"
#include "platform/keyboard/gl/VirtualKeyCodes.h"
#include "plots/waterfall/QX2DSpectrum.h"
#include "plots/waterfall/gl/QX2DSpectrumRenderer.h"
#include "plots/waterfall/gl/WaterfallFrame.h"
#include "plots/waterfall/gl/WaterfallKeyMarkers.h"
#include "plots/waterfall/gl/WaterfallWindowState.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <GL/gl.h>

#include <algorithm>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

using Camera = QX2DSpectrumGLView::Camera;

// Camera presets 0..3: for the two-panel selections and for the others, as setPositionZ and as
// setResetPositionX set them.
constexpr Camera positionPresets[4][2] = {{{90, 0, -2, -19, 136.75f}, {90, 0, -2, -32, 126.75f}},
                                          {{90, 44.5f, -2, -3, 123.75f}, {90, 56.25f, 2, -2, 80.75f}},
                                          {{60.25f, 52.25f, -6, 6, 106.75f}, {60.25f, 52.25f, 2, 6, 78.75f}},
                                          {{122.25f, 52.75f, 8, 4, 110.75f}, {123, 51.75f, -2, 6, 78.75f}}};
constexpr Camera resetPresets[2][2] = {{{90, 0, 0, -19, 136.75f}, {90, 0, 0, -32, 126.75f}},
                                       {{90, 44.5f, -2, -3, 115.75f}, {90, 56.25f, 2, -2, 80.75f}}};

float towards(float from, float to, int step)
{
    return from + (to - from) / 10.0f * static_cast<float>(step);
}

}  // namespace

double displayFPSnewwaveZ(ViewFrameRate& rate)
{
    return rate.measure();
}

QX2DSpectrumGLView::QX2DSpectrumGLView(const QRectF& frame)
    : OpenGLView(frame), frame_(std::make_unique<WaterfallFrame>())
{
    setdisplayStateFirstTime = 0;
}

QX2DSpectrumGLView::~QX2DSpectrumGLView() = default;

QX2DSpectrumGLView& QX2DSpectrumGLView::sharedQX2DSpectrumGLView()
{
    static QX2DSpectrumGLView* instance = new QX2DSpectrumGLView;  // lives to process end
    return *instance;
}

void QX2DSpectrumGLView::initDisplay()
{
    resetDisplayModeFlags();
    setBackgroundColorA(3, 1.0f);
    setBackgroundColorA(2, 0.897959f);
    setBackgroundColorA(1, 0.652981f);
    setBackgroundColorA(0, 0.543744f);
}

void QX2DSpectrumGLView::setCompanions(QX2DSpectrumGLView* normal, QX2DSpectrumGLView* full)
{
    _glView = normal;
    _gl2View = full;
}

void QX2DSpectrumGLView::setUpState()
{
    QX2DSpectrumRenderer::sharedQX2DSpectrumRenderer().setUpHistory();
    QX2DSpectrum::sharedQX2DSpectrum().gonZ();
    positionZX = 1;
    setPositionZ(1);
    setTextureModeX(0);
    oneBrainwave = 1;
    drawSW = 0;
    displayUnnMode = 3;
    PColor_value = FColor_value = 1.0f;
    setDemoNumber(num);
}

QX2DSpectrumGLView::Camera QX2DSpectrumGLView::drawingCamera() const
{
    if (setResetPositionXActive == 0 || smozeloop > 9)
        return camera();
    return {towards(sphi, sphiA, smozeloop), towards(stheta, sthetaA, smozeloop),
            towards(Xposition, XpositionA, smozeloop), towards(Yposition, YpositionA, smozeloop),
            towards(sdepth, sdepthA, smozeloop)};
}

void QX2DSpectrumGLView::synchronizeFrame()
{
    // Remote commands wait for the next frame of a shown view.
    if (setDemoNumber2DDidChanged != 0) {
        setDemoNumber(setDemoNumber2DA);
        waterfallWindowState.queueViewMode(setDemoNumber2DA);
        setDemoNumber2DDidChanged = 0;
    }
    if (setDemoNumber2BDidChanged != 0) {
        setDemoNumberB(setDemoNumber2B);
        setDemoNumber2BDidChanged = 0;
    }
    // The first frame's set-up: the state here (it may show overlay flags in the window's check boxes),
    // the GL state on the frame.
    frame_->setUp = processFunc;
    if (processFunc) {
        setUpState();
        processFunc = false;
        shadingPending = false;  // the set-up sets the shading
    }
    frame_->shading = shadingPending;
    shadingPending = false;

    auto& mouse = sys_infoQXDrawernewave;
    if (mouse.mouse_down != 0) {
        if (mouse.mouse_down_count <= 1) {
            downX = static_cast<int>(mouse.mouse_pos[0]);
            downY = static_cast<int>(mouse.mouse_pos[1]);
        }
        sphi += (mouse.mouse_pos[0] - static_cast<float>(downX)) * 0.25f;
        stheta += (static_cast<float>(downY) - mouse.mouse_pos[1]) * 0.25f;
        downX = static_cast<int>(mouse.mouse_pos[0]);
        downY = static_cast<int>(mouse.mouse_pos[1]);
        setNeedsDisplay(true);
    }

    QX2DSpectrumRenderer& renderer = QX2DSpectrumRenderer::sharedQX2DSpectrumRenderer();
    const QX2DSpectrumRenderer::Palettes palettes =
        renderer.advanceFrame(oneBrainwave, shapeChange, StartFrequencyXX, Chigh, textureMode, RunTextureX,
                              PColor_value, FColor_value);

    WaterfallFrame& f = *frame_;
    const bool ownBackground = colormodeX == 0 && backgroundColor;
    const float clear[4] = {ownBackground ? backgroundColor->red : clear_rgbaA[0],
                            ownBackground ? backgroundColor->green : clear_rgbaA[1],
                            ownBackground ? backgroundColor->blue : clear_rgbaA[2],
                            ownBackground ? backgroundColor->alpha : clear_rgbaA[3]};
    std::copy(std::begin(clear), std::end(clear), f.clearColour);
    f.panelAngle = Viwe_Angle_value;
    f.panelOffset = Viwe_Mode_value;
    f.oneBrain = oneBrainwave;
    const Camera view = drawingCamera();
    f.sph = view.sphi;
    f.sthet = view.stheta;
    f.Xposi = view.Xposition;
    f.Yposi = view.Yposition;
    f.sdept = view.sdepth;
    f.drawS = drawSW;
    f.displayUnn = displayUnnMode;
    f.texture = textureMode;
    f.PColor = palettes.PColor;
    f.FColor = palettes.FColor;
    f.startFrequency = StartFrequencyXX;
    f.Coherencehigh = Chigh;
    const QX2DSpectrum::Selection chosen = QX2DSpectrum::sourcesOfSelection(oneBrainwave);
    int channels[2] = {-1, -1};
    for (int i = 0; i < chosen.count; ++i)
        channels[i] = QX2DSpectrumRenderer::panelPlace(chosen.sources[i], chosen.count == 2).channel;
    f.takeShared(chosen.sources, channels);

    if (setResetPositionXActive != 0 && ++smozeloop >= 10) {
        setResetPositionXActive = 0;
        smozeloop = 0;
        sphi = sphiA;
        stheta = sthetaA;
        Xposition = XpositionA;
        Yposition = YpositionA;
        sdepth = sdepthA;
    }
    renderer.finishFrame();
}

void QX2DSpectrumGLView::drawRect(const QRectF& rect)
{
    const WaterfallFrame& f = *frame_;
    const WaterfallFrameScope scope(f);
    myReshapeXnZ(static_cast<int>(rect.width()), static_cast<int>(rect.height()));
    // The host has set the viewport to the whole view in device pixels.
    glShadeModel(GL_SMOOTH);
    if (f.setUp) {
        glEnable(GL_DEPTH_TEST);
        glShadeModel(GL_SMOOTH);
        QX2DSpectrumRenderer::sharedQX2DSpectrumRenderer().setUpDrawing();
    }
    if (f.shading)
        setDisplaynZ(3);
    FPSXXnewwaveZ.store(displayFPSnewwaveZ(frameRate_), relaxed);

    glClearColor(f.clearColour[0], f.clearColour[1], f.clearColour[2], f.clearColour[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    QX2DSpectrumRenderer::sharedQX2DSpectrumRenderer().drawFrame();
    glFinish();
}

void QX2DSpectrumGLView::mouseDown(const MouseEvent& event)
{
    sys_infoQXDrawernewave.mouse_down = 1;
    mouseDragged(event);
}

void QX2DSpectrumGLView::mouseDragged(const MouseEvent& event)
{
    auto& mouse = sys_infoQXDrawernewave;
    ++mouse.mouse_down_count;
    mouse.mouse_pos[0] = static_cast<float>(event.location.x());
    mouse.mouse_pos[1] = static_cast<float>(-event.location.y());
    setNeedsDisplay(true);
}

void QX2DSpectrumGLView::mouseUp(const MouseEvent&)
{
    sys_infoQXDrawernewave.mouse_down_count = 0;
    sys_infoQXDrawernewave.mouse_down = 0;
}

void QX2DSpectrumGLView::keyDown(const KeyEvent& event)
{
    const KeyMarkerModifier modifier = keyMarkerModifier(event.modifierFlags);
    getKey(event.keyCode, modifier.mask);
    QXSerialPort::sharedQXSerialPort().putIntToBuffer(0, ploop.load(relaxed), modifier.code + cInt);
    setNeedsDisplay(true);
}

void QX2DSpectrumGLView::getKey(unsigned short code, unsigned mask)
{
    cInt = code;
    if (mask == ModifierFlag::Shift) {
        if (code == VirtualKey::DownArrow)
            sdepth += 1.0f;
        else if (code == VirtualKey::UpArrow)
            sdepth -= 1.0f;
        return;
    }
    switch (code) {
        case VirtualKey::RightArrow:
            Xposition += 1.0f;
            break;
        case VirtualKey::LeftArrow:
            Xposition -= 1.0f;
            break;
        case VirtualKey::UpArrow:
            Yposition += 1.0f;
            break;
        case VirtualKey::DownArrow:
            Yposition -= 1.0f;
            break;
        default:
            break;
    }
}

void QX2DSpectrumGLView::setBackgroundColorA(int component, float value)
{
    if (component < 0 || component > 3)
        return;
    clear_rgbaA[component] = value;
    if (WinColor > 2) {
        backgroundColor = RGBAColor::fromRGBA(clear_rgbaA[0], clear_rgbaA[1], clear_rgbaA[2], clear_rgbaA[3]);
        waterfallWindowState.handBackgroundColour(*backgroundColor);
        WinColor = 0;
    } else {
        ++WinColor;
    }
}

float QX2DSpectrumGLView::getBackgroundColor(int component) const
{
    return component >= 0 && component <= 3 ? clear_rgbaA[component] : 0.0f;
}

void QX2DSpectrumGLView::setBackgroundColor(const RGBAColor& colour)
{
    if (backgroundColor && *backgroundColor == colour)
        return;
    backgroundColor = colour;
    colormodeX = 0;
    storeBackgroundColor();
}

void QX2DSpectrumGLView::storeBackgroundColor()
{
    if (!backgroundColor)
        return;
    clear_rgbaA[0] = backgroundColor->red;
    clear_rgbaA[1] = backgroundColor->green;
    clear_rgbaA[2] = backgroundColor->blue;
    clear_rgbaA[3] = backgroundColor->alpha;
}

// The draw and texture modes hand over to the companion one hop only: a companion that is the sender
// itself, or whose own companion is the sender, would otherwise bounce the call back without end.
void QX2DSpectrumGLView::setDrawModeX(int n)
{
    applyDrawMode(n, true);
}

void QX2DSpectrumGLView::setTextureModeX(int n)
{
    applyTextureMode(n, true);
}

void QX2DSpectrumGLView::applyDrawMode(int n, bool forward)
{
    displayUnnMode = n;
    if (n != 3)
        return;
    if (QX2DSpectrumGLView* other = companion(); other && forward) {
        other->applyTextureMode(0, false);
        other->setNeedsDisplay(true);
    }
}

void QX2DSpectrumGLView::applyTextureMode(int n, bool forward)
{
    if (n == 0 || n == 1) {
        textureMode = n;
        shadingPending = true;
        displayUnnMode = 3;
        if (QX2DSpectrumGLView* other = companion(); other && forward)
            other->applyDrawMode(3, false);
    }
    if (QX2DSpectrumGLView* other = companion())
        other->setNeedsDisplay(true);
}

void QX2DSpectrumGLView::setDrawSurfaceLineX(int)
{
    setOtherZ(1);
}

void QX2DSpectrumGLView::setDrawLargeGridX(int n)
{
    fftp512Band.store(n != 0 ? 1 : 0, relaxed);
    SetFFTController::sharedSetFFTController().setFFTpoint(n != 0 ? 2 : 1);
}

void QX2DSpectrumGLView::setViewX(int n)
{
    if (n >= 0 && n < waterfallSelections)
        shapeChange = n;
}

void QX2DSpectrumGLView::didplayMode(int k, int state)
{
    if (k == FlagCoherenceHigh)
        Chigh = state;
    setDisplayModeFlag(shapeChange, k, state);
}

void QX2DSpectrumGLView::setDemoNumber(int n)
{
    num = n;
    if (n >= 0 && n < waterfallSelections)
        oneBrainwave = n + 1;
    setViewX(n);
    setPositionZ(positionZX);
    if (setdisplayStateFirstTime == 1)
        setdisplayState(n);
    setdisplayStateFirstTime = 1;
}

void QX2DSpectrumGLView::setdisplayState(int n)
{
    if (n < 0 || n >= waterfallSelections || !displayStateReceiver)
        return;
    for (int k = 0; k <= FlagPowerLabel; ++k)
        displayStateReceiver(k, displayMode2DX[n][k]);
}

void QX2DSpectrumGLView::setDemoNumberA(int n)
{
    setDemoNumber2DA = n;
    setDemoNumber2DDidChanged = 1;
}

void QX2DSpectrumGLView::setDemoNumberB(int n)
{
    setDemoNumber2B = n;
    setDemoNumber2BDidChanged = 1;
    if (n <= 3)
        setResetPositionX(n);
    else if (n >= 10)
        waterfallWindowState.queueViewEntry(n - 10);
}

void QX2DSpectrumGLView::loadPreset(int n, bool reset)
{
    positionZX = n;
    if (n >= 0 && n <= 3) {
        const int layout = (oneBrainwave == 1 || oneBrainwave == 2) ? 0 : 1;
        const Camera& target = reset && n <= 1 ? resetPresets[n][layout] : positionPresets[n][layout];
        sphiA = target.sphi;
        sthetaA = target.stheta;
        XpositionA = target.Xposition;
        YpositionA = target.Yposition;
        sdepthA = target.sdepth;
    }
    setResetPositionXActive = 1;
}

void QX2DSpectrumGLView::setPositionZ(int n)
{
    loadPreset(n, false);
}

void QX2DSpectrumGLView::setResetPositionX(int n)
{
    loadPreset(n, true);
}

void QX2DSpectrumGLView::setDemoNumber2(int n)
{
    if (const int samples = replayRowSpacing(n, SampleSpeed.load(relaxed)); samples >= 0) {
        tploop.store(samples, relaxed);
        tlongE.store(n, relaxed);
    }
    setMovieSpeed();
}

void QX2DSpectrumGLView::DisplayUpdataWaterfall()
{
    if (setPauseX.load(relaxed) != 0)
        return;
    for (int selection : {3, 4, 7, 5, 6, 8, 9, 10, 11, 12})
        QX2DSpectrum::sharedQX2DSpectrum().wavenZ(selection, shapeChange, StartFrequencyXX, Chigh);
}

void QX2DSpectrumGLView::setMovieSpeed()
{
    ploopZZZ.store(ploop.load(relaxed), relaxed);
    NotificationCenter& centre = NotificationCenter::defaultCenter();
    if (ploopSyncX.load(relaxed) != 0 && OpenQT.load(relaxed) > 0)
        centre.postNotificationName(setMovieSpeedNotification, this);
    centre.postNotificationName(setTimeSliderNowNotification, this);
}

}  // namespace nupo
