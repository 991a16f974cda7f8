#include "views3d/QX3DSpectrumGLView.h"

#include "analysis/QX3DSpectrum.h"
#include "analysis/SetFFTController.h"
#include "platform/appkit/NotificationCenter.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "views3d/SpectrumViewState.h"

#include <cstdio>
#include <initializer_list>

namespace nupo {

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
}

QX3DSpectrumGLView& QX3DSpectrumGLView::sharedQX3DSpectrumGLView()
{
    static QX3DSpectrumGLView* instance = [] {
        setdisplayStateFirstTimeBS = 0;
        return new QX3DSpectrumGLView;  // lives to process end
    }();
    return *instance;
}

void QX3DSpectrumGLView::waven3DBSQC(int n)
{
    if (setPauseX.load(relaxed) != 0 || n < 0 || n > 9)
        return;
    QX3DSpectrum::sharedQX3DSpectrum().waven(oneBrainwave.load(relaxed), towBrainwave.load(relaxed), n + 2,
                                             StartFrequencyXX.load(relaxed),
                                             QX3DSpectrum::Target::RecordsOnly);
}

void QX3DSpectrumGLView::waven3DBS()
{
    QX3DSpectrum::sharedQX3DSpectrum().wavenOnSchedule(oneBrainwave.load(relaxed), towBrainwave.load(relaxed),
                                                       shapeChange.load(relaxed),
                                                       StartFrequencyXX.load(relaxed));
}

// --- View selection and remote commands -----------------------------------------------------------------

void QX3DSpectrumGLView::setDemoNumber(int n)
{
    num = n;
    auto select = [this](int mode, int one, int tow, int shape) {
        viewModeX = mode;
        oneBrainwave.store(one, relaxed);
        towBrainwave.store(tow, relaxed);
        shapeChange.store(shape, relaxed);
    };
    if (n == 0 || n == 1) {
        select(n, 1, 0, n);
        Viwe_Mode_value = 16.0f;
    } else if (n >= 2 && n <= 11) {
        select(n + 2, 0, 0, n);
        Viwe_Mode_value = 0.0f;
    } else if (n == 12) {
        select(2, 0, 0, 0);
    } else if (n == 13) {
        select(3, 0, 1, 0);
    }
    QX3DSpectrum::sharedQX3DSpectrum().initPosition();
    setResetPositionX(0);
    if (setdisplayStateFirstTimeBS == 1)
        setdisplayState(num);
    setdisplayStateFirstTimeBS = 1;
    std::printf("3D setDemoNumber %d\n", n);
}

void QX3DSpectrumGLView::setViewX(int n)
{
    auto select = [this](int mode, int one, int tow, int shape) {
        viewModeX = mode;
        oneBrainwave.store(one, relaxed);
        towBrainwave.store(tow, relaxed);
        shapeChange.store(shape, relaxed);
    };
    if (n == 0 || n == 1)
        select(n, 1, 0, n);
    else if (n == 2)
        select(2, 0, 0, 0);
    else if (n == 3)
        select(3, 0, 1, 0);
    else if (n >= 4 && n <= 11)
        select(n, 0, 0, n - 2);
}

void QX3DSpectrumGLView::setDemoNumberA(int n)
{
    nupo::setDemoNumberA = n;
    setDemoNumberDidChanged = 1;
}

void QX3DSpectrumGLView::setDemoNumberB(int n)
{
    setDemoNumber3B = n;
    setDemoNumber3BDidChanged = 1;
    if (n <= 4)
        setResetPositionX(n);
    else if (n >= 10 && spectrumViewLinks().demoNumberBtoController)
        spectrumViewLinks().demoNumberBtoController(n - 10);
    std::printf("setResetPositionX %d", n);
}

void QX3DSpectrumGLView::setDemoNumber2(int n)
{
    num2 = n;
    std::printf("setDemoNumber %d\n", n);
    if (const int samples = replayRowSpacing(n, SampleSpeed.load(relaxed)); samples >= 0) {
        tploop.store(samples, relaxed);
        tlongE.store(n, relaxed);
    }
    std::printf("tploop %d\n", tploop.load(relaxed));
    setMovieSpeed();
}

void QX3DSpectrumGLView::setMovieSpeed()
{
    ploopZZZ.store(ploop.load(relaxed), relaxed);
    auto& centre = NotificationCenter::defaultCenter();
    if (ploopSyncX.load(relaxed) != 0 && OpenQT.load(relaxed) > 0)
        centre.postNotificationName(setMovieSpeedNotification, this);
    centre.postNotificationName(setTimeSliderNowNotification, this);
}

void QX3DSpectrumGLView::setNUPOchBS(int k, int v)
{
    if (k < 0 || k > 7)
        return;
    auto store = [k, v](std::initializer_list<int> records) {
        for (int r : records)
            brainSWX[r][10 + k].store(static_cast<float>(v), relaxed);
    };
    if (num >= 2 && num <= 11)
        store({num - 2});
    else if (num == 0)
        store({0, 1, 4});
    else if (num == 1)
        store({2, 3, 5});
    else if (num == 12)
        store({0, 1, 2, 4, 6, 7});
    else if (num == 13)
        store({0, 1, 2, 3, 4, 5, 6, 7});
}

void QX3DSpectrumGLView::setResetPositionX(int n)
{
    std::printf("viewModeX = %d\n", viewModeX);
    TopNO = 0;
    if (const auto preset = cameraPreset(n, viewModeX)) {
        cameraTarget = preset->target;
        if (preset->Viwe_Mode_value)
            Viwe_Mode_value = *preset->Viwe_Mode_value;
        if (preset->TopNO)
            TopNO = *preset->TopNO;
    }
    setResetPositionXActive = 1;
}

// --- Display-element table and background -----------------------------------------------------------------

void QX3DSpectrumGLView::initDisplay()
{
    for (auto& row : displayModeX)
        for (int j = 0; j < displayElements; ++j)
            row[j] = (j == 0 || j == 1 || j == 5 || j == 9 || j == 11) ? 1 : 0;
    setBackgroundColorA(3, 1.0f);
    setBackgroundColorA(2, 0.8418369889259338f);
    setBackgroundColorA(1, 0.5591850280761719f);
    setBackgroundColorA(0, 0.5876259803771973f);
    std::printf("initDisplay 3D\n");
}

void QX3DSpectrumGLView::setdisplayState(int r)
{
    const int row = displayRowOf(r);
    if (row < 0 || !spectrumViewLinks().setDisplayElement)
        return;
    for (int j = 0; j < displayElements; ++j)
        spectrumViewLinks().setDisplayElement(j, displayModeX[row][j]);
}

void QX3DSpectrumGLView::didplayMode(int j, int v)
{
    if (j < 0 || j >= displayElements)
        return;
    const int s = shapeChange.load(relaxed);
    if (s == 0 || s == 1) {
        for (auto& row : displayModeX)
            row[j] = v;
    } else if (s >= 2 && s <= 11) {
        displayModeX[s - 2][j] = v;
    }
}

void QX3DSpectrumGLView::setBackgroundColor(const RGBAColor& colour)
{
    if (colour == backgroundColor)
        return;
    backgroundColor = colour;
    colormodeX = 0;
    storeBackgroundColor();
    std::printf("setBackgroundBSColor=%d\n", WinBSColor);
}

void QX3DSpectrumGLView::storeBackgroundColor()
{
    clear_rgbaB[0] = static_cast<float>(backgroundColor.red);
    clear_rgbaB[1] = static_cast<float>(backgroundColor.green);
    clear_rgbaB[2] = static_cast<float>(backgroundColor.blue);
    clear_rgbaB[3] = static_cast<float>(backgroundColor.alpha);
}

void QX3DSpectrumGLView::setBackgroundColorA(int k, float v)
{
    if (k < 0 || k > 3)
        return;
    clear_rgbaB[k] = v;
    std::printf("ColorCH = %d ColorN = %f \n ", k, v);
    if (WinBSColor > 2) {
        backgroundColor = RGBAColor::fromRGBA(clear_rgbaB[0], clear_rgbaB[1], clear_rgbaB[2], clear_rgbaB[3]);
        if (spectrumViewLinks().backgroundColorWell)
            spectrumViewLinks().backgroundColorWell(backgroundColor);
        WinBSColor = 0;
    } else {
        ++WinBSColor;
    }
}

float QX3DSpectrumGLView::getBackgroundColor(int k) const
{
    return k >= 0 && k <= 3 ? clear_rgbaB[k] : 0.0f;
}

void QX3DSpectrumGLView::setColor(int)
{
    colormodeX = 1;
    requestRedisplay();
}

// --- Simple setters -------------------------------------------------------------------------------------

void QX3DSpectrumGLView::setMoveModeX(int v)
{
    if (v >= 0 && v <= 2)
        MoveModeX = v;
}

void QX3DSpectrumGLView::setTextureEnvX(int v)
{
    EnvMode = v;
    EnvModeChanged = 1;
}

void QX3DSpectrumGLView::setimagePositionX(int v)
{
    imagePosition = v;
}

void QX3DSpectrumGLView::setDisplaynX(int mode)
{
    auto apply = [mode] {
        if (spectrumViewLinks().meshDisplayn)
            spectrumViewLinks().meshDisplayn(mode);
    };
    if (!inDrawingContext || !inDrawingContext(apply))
        apply();
}

void QX3DSpectrumGLView::setDrawSurfaceLineX(int)
{
    auto apply = [] {
        if (spectrumViewLinks().meshOther)
            spectrumViewLinks().meshOther(1);
    };
    if (!inDrawingContext || !inDrawingContext(apply))
        apply();
}

QX3DSpectrumGLView* QX3DSpectrumGLView::selectedView()
{
    return viewA3D != 0 ? _gl3View : _glView;
}

void QX3DSpectrumGLView::setDrawModeX(int mode)
{
    displayUnnMode = mode;
    if (mode == 3) {
        textureMode = 0;
        setDisplaynX(3);
    } else if (mode == 4) {
        textureMode = 2;
        setDisplaynX(4);
    }
    std::printf("setDrawModeX =%d \n", mode);
    if (QX3DSpectrumGLView* view = selectedView())
        view->requestRedisplay();
}

void QX3DSpectrumGLView::setTextureModeX(int t)
{
    if (t == 0 || t == 1) {
        textureMode = t;
        setDisplaynX(3);
        displayUnnMode = 3;
    } else if (t == 2 || t == 3) {
        textureMode = t;
        setDisplaynX(4);
        displayUnnMode = 4;
    }
    if (QX3DSpectrumGLView* view = selectedView())
        view->requestRedisplay();
}

void QX3DSpectrumGLView::setDrawLargeGridX(int on)
{
    fftp512Band.store(on != 0 ? 1 : 0, relaxed);
    SetFFTController::sharedSetFFTController().setFFTpoint(on != 0 ? 2 : 1);
}

void QX3DSpectrumGLView::setAuto(float theta, float phi)
{
    sthetaAuto = theta;
    sphiAuto = phi;
}

void QX3DSpectrumGLView::setAutoStopX(int)
{
    setAuto(0.0f, 0.0f);
    RotateSpeedUp_value = RotateSpeedDown_value = RotateSpeedLeft_value = RotateSpeedRight_value = 0.0f;
}

void QX3DSpectrumGLView::setLoadTextuerX(int)
{
    if (spectrumViewLinks().openMediaBrowser)
        spectrumViewLinks().openMediaBrowser();
    else
        std::fprintf(stderr, "Failed to load MainMenuB.nib\n");
}

void QX3DSpectrumGLView::info()
{
    fInfo = !fInfo;
    requestRedisplay();
}

void QX3DSpectrumGLView::setupDrawText()
{
    fDrawHelp = fInfo = fAnimate = true;
    rVel[0] = 0.3f, rVel[1] = 0.1f, rVel[2] = 0.2f;
    rAccel[0] = 0.003f, rAccel[1] = -0.005f, rAccel[2] = 0.004f;
}

// --- Frame steps -------------------------------------------------------------------------------------

void QX3DSpectrumGLView::applyPendingCommands()
{
    if (setDemoNumberDidChanged != 0) {
        const int n = nupo::setDemoNumberA;
        setDemoNumber(n);
        if (spectrumViewLinks().demoNumberAtoController)
            spectrumViewLinks().demoNumberAtoController(n);
        setDemoNumberDidChanged = 0;
    }
    if (setDemoNumber3BDidChanged != 0) {
        setDemoNumberB(setDemoNumber3B);
        setDemoNumber3BDidChanged = 0;
    }
}

bool QX3DSpectrumGLView::applyPointerDrag()
{
    if (mouse_down == 0)
        return false;
    if (mouse_down_count <= 1) {
        downX = static_cast<int>(mouse_pos[0]);
        downY = static_cast<int>(mouse_pos[1]);
    }
    applyDrag(camera, MoveModeX, downX, downY, mouse_pos[0], mouse_pos[1]);
    downX = static_cast<int>(mouse_pos[0]);
    downY = static_cast<int>(mouse_pos[1]);
    return true;
}

void QX3DSpectrumGLView::autoRotate()
{
    if (sthetaAuto == 2.0f)
        camera.stheta += 2.0f;
    else if (sthetaAuto == 1.0f)
        camera.stheta -= 2.0f;
    if (sphiAuto == 2.0f)
        camera.sphi += 2.0f;
    else if (sphiAuto == 1.0f)
        camera.sphi -= 2.0f;
    if (sthetaAuto != 0.0f || sphiAuto != 0.0f)
        return;
    if (RotateSpeedUp_value > 0.0f)
        camera.stheta += RotateSpeedUp_value;
    if (RotateSpeedDown_value > 0.0f)
        camera.stheta -= RotateSpeedDown_value;
    if (RotateSpeedLeft_value > 0.0f)
        camera.sphi += RotateSpeedLeft_value;
    if (RotateSpeedRight_value > 0.0f)
        camera.sphi -= RotateSpeedRight_value;
}

SceneCamera QX3DSpectrumGLView::frameCamera() const
{
    if (setResetPositionXActive != 0 && smozeloopBS <= presetMoveFrames - 1)
        return interpolatedCamera(camera, cameraTarget, smozeloopBS);
    return camera;
}

void QX3DSpectrumGLView::advancePresetMove()
{
    if (setResetPositionXActive == 0)
        return;
    if (smozeloopBS <= presetMoveFrames - 1)
        ++smozeloopBS;
    if (smozeloopBS >= presetMoveFrames) {
        setResetPositionXActive = 0;
        smozeloopBS = 0;
        camera = cameraTarget;
    }
}

// --- Pointer ----------------------------------------------------------------------------------------------

void QX3DSpectrumGLView::mouseDown(double x, double y)
{
    mouse_down = 1;
    mouseDragged(x, y);
    // The press is the drag's anchor even when the pointer moves on before the next frame sees it.
    downX = static_cast<int>(mouse_pos[0]);
    downY = static_cast<int>(mouse_pos[1]);
}

void QX3DSpectrumGLView::mouseDragged(double x, double y)
{
    mouse_pos[0] = static_cast<float>(x);
    mouse_pos[1] = static_cast<float>(-y);
    ++mouse_down_count;
}

void QX3DSpectrumGLView::mouseUp()
{
    mouse_down_count = 0;
    mouse_down = 0;
}

bool QX3DSpectrumGLView::scrollWheel(double dx, double dy, double dz)
{
    if (!scrollAperture(cameraRecord, dx + dy + dz))
        return false;
    requestRedisplay();
    return true;
}

}  // namespace nupo
