#include "views3d/wave/gl/QXnewaveGLView.h"

#include "platform/keyboard/gl/VirtualKeyCodes.h"
#include "views3d/textures/gl/ImageSources.h"
#include "views3d/wave/gl/QXnewave.h"
#include "views3d/wave/gl/WaveFrameRecorder.h"
#include "views3d/wave/gl/WaveWallImages.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

namespace nupo {

namespace {

QXnewave& engine()
{
    return QXnewave::sharedQXnewave();
}

// The engine's display setting changes shading and lighting: the GL calls go to the context the view
// draws with when a host shows it (another view's context may be current, and a host drawing on a thread
// of its own runs them there before the next frame); with no host, at once.
void setEngineDisplay(QXnewaveGLView& view, int mode)
{
    if (!view.performInContext([mode] { engine().setDisplayd(mode); }))
        engine().setDisplayd(mode);
}

// The keys that restart the sheet, in shape order 0..9.
constexpr unsigned short shapeKeys[] = {VirtualKey::Y, VirtualKey::U, VirtualKey::I, VirtualKey::O,
                                        VirtualKey::P, VirtualKey::H, VirtualKey::J, VirtualKey::K,
                                        VirtualKey::L, VirtualKey::M};

constexpr unsigned fourCharCode(const char (&code)[5])
{
    return (static_cast<unsigned>(code[0]) << 24) | (static_cast<unsigned>(code[1]) << 16) |
           (static_cast<unsigned>(code[2]) << 8) | static_cast<unsigned>(code[3]);
}

}  // namespace

void applyTunnelEffect(QXnewaveGLView* view, int code)
{
    if (code <= 9) {
        engine().setSpeeddn(2);
        engine().resetdn(code);
        engine().godn();
        return;
    }
    if (!view)
        return;
    switch (code) {
        case 10:
        case 11:
        case 12:
        case 13:
            view->setTextureModeX(code - 10);
            break;
        case 14:
            view->setRotateSpeedUpXX(10.0f);
            break;
        case 15:
            view->setRotateSpeedDownXX(10.0f);
            break;
        case 16:
            view->setRotateSpeedLeftXX(10.0f);
            break;
        case 17:
            view->setRotateSpeedRightXX(10.0f);
            break;
        case 18:
            view->setResetPositionX(1);
            break;
        case 19:
            view->setAutoStopX(1);
            break;
        default:
            break;
    }
}

QXnewaveGLView& QXnewaveGLView::sharedQXnewaveGLView()
{
    static QXnewaveGLView* instance = new QXnewaveGLView;  // never on screen; lives to process end
    return *instance;
}

QXnewaveGLView::QXnewaveGLView(const QRectF& frame) : OpenGLView(frame) {}

void QXnewaveGLView::prepareOpenGL()
{
    // A new context has none of the one-time state: set it up again in the next frame.
    processFunc = true;
}

void QXnewaveGLView::initGL()
{
    maxImageNXopen = maxImageN;
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    engine().mainNewaved();
    engine().godn();
    // The set-up empties the sprite table; the walls show our own images until the user loads others.
    if (const int loaded = loadWaveWallImages(); loaded > 0)
        maxImageNXopen = loaded;
    std::printf("initGL mainNewaved in GLView maxImageNXopen =%d \n", maxImageNXopen);
    Color_Map_value = 0.0f;
    Dynamic_Texture_value = 0.0f;
    FColor_value = 1.0f;
    PColor_value = 1.0f;
    setDrawModeX(4);
    Yposition = 0.0f;
    Xposition = 0.0f;
    sphi = 90.0f;
    stheta = 45.0f;
    sdepth = 19.75f;
    ImageNXopen = 0;
    viewModeX = 0;
}

void QXnewaveGLView::applyDrag()
{
    auto& input = sys_infoQXnewave;
    const int x = static_cast<int>(input.mouse_pos[0]);
    const int y = static_cast<int>(input.mouse_pos[1]);
    if (input.mouse_down_count <= 1) {
        downX = x;
        downY = y;
    }
    sphi += static_cast<float>(x - downX) * 0.25f;
    stheta += static_cast<float>(downY - y) * 0.25f;
    const float dx = input.mouse_pos[0] - static_cast<float>(downX);
    const float dy = static_cast<float>(downY) - input.mouse_pos[1];
    switch (MoveModeX) {
        case 0:
            sphi += dx * 0.25f;
            stheta += dy * 0.25f;
            break;
        case 1:
            Xposition += dx * 0.25f;
            Yposition += dy * 0.25f;
            break;
        case 2:
            sdepth += dy / 10.0f;
            break;
        default:
            break;
    }
    downX = x;
    downY = y;
    setNeedsDisplay(true);
}

void QXnewaveGLView::applyRotationSpeeds()
{
    if (sthetaAuto != 0.0f || sphiAuto != 0.0f)
        return;
    if (RotateSpeedUp_value > 0.0f)
        stheta += RotateSpeedUp_value;
    if (RotateSpeedDown_value > 0.0f)
        stheta -= RotateSpeedDown_value;
    if (RotateSpeedLeft_value > 0.0f)
        sphi += RotateSpeedLeft_value;
    if (RotateSpeedRight_value > 0.0f)
        sphi -= RotateSpeedRight_value;
}

void QXnewaveGLView::drawRect(const QRectF& rect)
{
    if (processFunc) {
        processFunc = false;
        initGL();
    }
    const double w = rect.width();
    const double h = rect.height();
    if (w != wwdn || h != hhdn) {
        wwdn = static_cast<int>(w);
        hhdn = static_cast<int>(h);
        engine().myReshapeXdn(wwdn, hhdn);
    }
    if (colormodeX == 0)
        glClearColor(backgroundColor.red, backgroundColor.green, backgroundColor.blue, backgroundColor.alpha);
    else
        glClearColor(clear_rgbaNewave[0], clear_rgbaNewave[1], clear_rgbaNewave[2], clear_rgbaNewave[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    if (sys_infoQXnewave.mouse_down)
        applyDrag();
    engine().wavedn();
    applyRotationSpeeds();

    QXnewaveFrame frame;
    frame.displayUndn = sphi;
    frame.sthet = stheta;
    frame.Xposi = Xposition;
    frame.Yposi = Yposition;
    frame.sdept = sdepth;
    frame.DX = downX;
    frame.DY = downY;
    frame.drawS = drawSW;
    frame.displayUnn = displayUnnMode;
    frame.texture = textureMode;
    frame.RunTexture = RunTextureX;
    frame.RunbyBrainsw = RunbyBrainswX;
    frame.Env = EnvMode;
    frame.EnvMode = EnvModeChanged;
    frame.ImageNX = ImageNXopen;
    frame.maxImageNX = maxImageNXopen;
    frame.PColor = PColor_value;
    frame.FColor = FColor_value;
    frame.Color_Map = Color_Map_value;
    frame.Dynamic_Texture = Dynamic_Texture_value;
    // The host binds textures of its own between frames (a new framebuffer after a resize does), so the
    // image the walls showed last is bound again; the tunnel renders another image only when it changes.
    bindWallImage(ImageNXZ);
    WaveFrameRecorder* recorder = WaveFrameRecorder::shared();
    if (recorder)
        recorder->beginFrame(engine(), frame);
    ImageNXopen = engine().displayUndn(frame);
    if (EnvModeChanged == 1)
        EnvModeChanged = 0;
    glFinish();
    if (recorder)
        recorder->endFrame();
}

void QXnewaveGLView::mouseDown(const MouseEvent& event)
{
    sys_infoQXnewave.mouse_down = 1;
    mouseDragged(event);
}

void QXnewaveGLView::mouseDragged(const MouseEvent& event)
{
    sys_infoQXnewave.mouse_down_count += 1;
    sys_infoQXnewave.mouse_pos[0] = static_cast<float>(event.location.x());
    sys_infoQXnewave.mouse_pos[1] = static_cast<float>(-event.location.y());
}

void QXnewaveGLView::mouseUp(const MouseEvent&)
{
    sys_infoQXnewave.mouse_down_count = 0;
    sys_infoQXnewave.mouse_down = 0;
}

void QXnewaveGLView::keyDown(const KeyEvent& event)
{
    getKey(event.keyCode);
}

void QXnewaveGLView::keyUp(const KeyEvent& event)
{
    getKey(event.keyCode);
}

unsigned QXnewaveGLView::getKey(unsigned short keyCode)
{
    std::printf("Key = %x\n", keyCode);
    for (int shape = 0; shape < 10; ++shape) {
        if (shapeKeys[shape] == keyCode) {
            engine().setSpeeddn(2);
            engine().resetdn(shape);
            engine().godn();
            break;
        }
    }
    return fourCharCode("NULL");
}

void QXnewaveGLView::setColor(int n)
{
    if (n < 0 || n >= rgbaColorsNewaveCount)
        return;
    for (int c = 0; c < 4; ++c)
        clear_rgbaNewave[c] = rgba_colorsNewave[n][c];
    setNeedsDisplay(true);
}

void QXnewaveGLView::setimagePositionX(int n)
{
    imagePositionN = n;
}

void QXnewaveGLView::setDisplaydX(int n)
{
    setEngineDisplay(*this, n);
}

void QXnewaveGLView::setDrawModeX(int n)
{
    displayUnnMode = n;
    if (n == 3) {
        textureMode = 0;
        setEngineDisplay(*this, 3);
    } else if (n == 4) {
        textureMode = 2;
        setEngineDisplay(*this, 4);
    }
    setNeedsDisplay(true);
}

void QXnewaveGLView::setTextureModeX(int n)
{
    if (n == 0 || n == 1) {
        textureMode = n;
        setEngineDisplay(*this, 3);
        displayUnnMode = 3;
    } else if (n == 2 || n == 3) {
        textureMode = n;
        setEngineDisplay(*this, 4);
        displayUnnMode = 4;
    }
    setNeedsDisplay(true);
}

void QXnewaveGLView::setDrawSurfaceLineX(int)
{
    engine().setOtherd(1);
}

void QXnewaveGLView::setDrawLargeGridX(int n)
{
    engine().setdSized(n);
    engine().godn();
}

void QXnewaveGLView::setTextureEnvX(int n)
{
    EnvMode = n;
    EnvModeChanged = 1;
}

void QXnewaveGLView::setReversedX(int)
{
    engine().reversed();
}

void QXnewaveGLView::setRotateSpeedUpXX(float value)
{
    RotateSpeedUp_value = value;
    std::printf("RotateSpeedUp_value =%f\n", value);
}

void QXnewaveGLView::setMoveModeX(int n)
{
    if (n >= 0 && n <= 2)
        MoveModeX = n;
}

void QXnewaveGLView::setAutoStopX(int)
{
    RotateSpeedUp_value = 0.0f;
    RotateSpeedDown_value = 0.0f;
    RotateSpeedLeft_value = 0.0f;
    RotateSpeedRight_value = 0.0f;
    sthetaAuto = 0.0f;
    sphiAuto = 0.0f;
}

void QXnewaveGLView::setResetPositionX(int)
{
    if ((gridd == 15 || gridd == 31) && viewModeX == 0) {
        sphi = 90.0f;
        stheta = 45.0f;
        Xposition = 0.0f;
        Yposition = 0.0f;
        sdepth = 20.0f;
    }
}

void QXnewaveGLView::setLoadTextuerX(int)
{
    if (openMediaBrowser)
        openMediaBrowser(*this);
    else
        std::printf("Failed to load MainMenuB.nib\n");
}

void QXnewaveGLView::setBackgroundColor(const RGBAColor& color)
{
    const bool same = color.red == backgroundColor.red && color.green == backgroundColor.green &&
                      color.blue == backgroundColor.blue && color.alpha == backgroundColor.alpha;
    if (same)
        return;
    backgroundColor = color;
    colormodeX = 0;
}

}  // namespace nupo
