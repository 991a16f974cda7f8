#include "views3d/wave/gl/QXnewaveGLView.h"

#include "platform/keyboard/gl/VirtualKeyCodes.h"
#include "platform/viewhost/gl/DrawingClass.h"
#include "views3d/textures/gl/ImageSources.h"
#include "views3d/textures/gl/ShadowApp.h"
#include "views3d/wave/gl/QXnewave.h"
#include "views3d/wave/gl/WaveFrameRecorder.h"
#include "views3d/wave/gl/WaveWallImages.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <thread>
#include <utility>

namespace nupo {

// Requests for a view's frames that depend on the shared sheet as it is when they are carried out.
struct QXnewaveGLView::DrawingRequests {
    bool resetPosition = false;
};

namespace {

QXnewave& engine()
{
    return QXnewave::sharedQXnewave();
}

// The engine's display setting changes shading and lighting: the GL calls go to the context the view
// draws with when a host shows it (a host drawing on a thread of its own runs them there before the next
// frame). With no context of the view's own, the engine's mode changes between frames, and its shading
// goes to the context current where the call was made: a wave-surface frame on another thread that
// carries out the request keeps its own context's shading.
void setEngineDisplay(QXnewaveGLView& view, int mode)
{
    if (view.performInContext([mode] { engine().setDisplayd(mode); }))
        return;
    const std::thread::id caller = std::this_thread::get_id();
    changeWaveDrawing([mode, caller] {
        if (std::this_thread::get_id() == caller) {
            engine().setDisplayd(mode);
        } else {
            engine().displayModed = mode;
            engine().postRedisplay();
        }
    });
}

// The settings the one-time set-up starts a view with: the fixed image on the walls at full colour.
void applyStartSettings(QXnewaveViewSettings& settings)
{
    settings.Color_Map_value = 0.0f;
    settings.Dynamic_Texture_value = 0.0f;
    settings.FColor_value = 1.0f;
    settings.PColor_value = 1.0f;
    settings.displayUnnMode = 4;  // textured ...
    settings.textureMode = 2;     // ... with the fixed image
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

void changeWaveDrawing(std::function<void()> change)
{
    DrawingClass::runBetweenFrames<QXnewaveGLView>(std::move(change));
}

void restartSheet(int shape)
{
    changeWaveDrawing([shape] {
        engine().setSpeeddn(2);
        engine().resetdn(shape);
        engine().godn();
    });
}

void applyTunnelEffect(QXnewaveGLView* view, int code)
{
    if (code <= 9) {
        restartSheet(code);
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

QXnewaveGLView::QXnewaveGLView(const QRectF& frame)
    : OpenGLView(frame), requests_(std::make_shared<DrawingRequests>())
{
    // A window opened while a set is loaded shows it rather than the wall images.
    if (const SharedPictureSet& loaded = shadow_app.pictures(); loaded && loaded->loaded() > 0)
        showImages(loaded, std::max(1, int(loaded->pictures.size())));
}

void QXnewaveGLView::synchronizeFrame()
{
    // The one-time set-up starts the settings afresh: the main side takes the start settings before the
    // first frame (which runs the set-up), and again after a later set-up for a new context.
    if (initsApplied_ == 0 || initsRun_ > initsApplied_) {
        applyStartSettings(*this);
        initsApplied_ = std::max(initsRun_, 1);
    }
    drawn_ = static_cast<const QXnewaveViewSettings&>(*this);
    EnvModeChanged = 0;  // handed to this frame
    if (!imagesGiven_) {
        if (!wallImagesAsked_) {
            wallImagesAsked_ = true;
            waveWallPictures([this, alive = std::weak_ptr<int>(alive_)] {
                if (alive.lock())
                    setNeedsDisplay(true);
            });
        }
        if (SharedPictureSet wall = waveWallPictures(); wall && wall != images_ && wall->loaded() > 0) {
            images_ = std::move(wall);
            imageCount_ = images_->loaded();
            maxImageNXopenRequest_ = imageCount_;
        }
    }
    drawnImages_ = images_;
    drawnImageCount_ = imageCount_;
    if (maxImageNXopenRequest_) {
        owned_.maxImageNXopen = *maxImageNXopenRequest_;
        maxImageNXopenRequest_.reset();
    }
    openedImages_ = maxImageN;
    shown_ = owned_;
}

void QXnewaveGLView::prepareOpenGL()
{
    // A new context has none of the one-time state: set it up again in the next frame.
    owned_.processFunc = true;
}

void QXnewaveGLView::initGL()
{
    FrameOwned& owned = owned_;
    // The walls cycle through the images of the set the view shows (our own until the user loads others).
    owned.maxImageNXopen = drawnImageCount_ > 0 ? drawnImageCount_ : openedImages_;
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    engine().mainNewaved();  // deletes this view's textures: they are made again below
    engine().godn();
    std::printf("initGL mainNewaved in GLView maxImageNXopen =%d \n", owned.maxImageNXopen);
    applyStartSettings(drawn_);
    engine().setDisplayd(4);
    setNeedsDisplay(true);
    owned.Yposition = 0.0f;
    owned.Xposition = 0.0f;
    owned.sphi = 90.0f;
    owned.stheta = 45.0f;
    owned.sdepth = 19.75f;
    owned.ImageNXopen = 0;
    owned.viewModeX = 0;
    ++initsRun_;
}

void QXnewaveGLView::applyDrag()
{
    const InputState& input = drawn_.sys_infoQXnewave;
    FrameOwned& camera = owned_;
    const int x = static_cast<int>(input.mouse_pos[0]);
    const int y = static_cast<int>(input.mouse_pos[1]);
    if (input.mouse_down_count <= 1) {
        camera.downX = x;
        camera.downY = y;
    }
    camera.sphi += static_cast<float>(x - camera.downX) * 0.25f;
    camera.stheta += static_cast<float>(camera.downY - y) * 0.25f;
    const float dx = input.mouse_pos[0] - static_cast<float>(camera.downX);
    const float dy = static_cast<float>(camera.downY) - input.mouse_pos[1];
    switch (drawn_.MoveModeX) {
        case 0:
            camera.sphi += dx * 0.25f;
            camera.stheta += dy * 0.25f;
            break;
        case 1:
            camera.Xposition += dx * 0.25f;
            camera.Yposition += dy * 0.25f;
            break;
        case 2:
            camera.sdepth += dy / 10.0f;
            break;
        default:
            break;
    }
    camera.downX = x;
    camera.downY = y;
    setNeedsDisplay(true);
}

void QXnewaveGLView::applyRotationSpeeds()
{
    const QXnewaveViewSettings& s = drawn_;
    if (s.sthetaAuto != 0.0f || s.sphiAuto != 0.0f)
        return;
    if (s.RotateSpeedUp_value > 0.0f)
        owned_.stheta += s.RotateSpeedUp_value;
    if (s.RotateSpeedDown_value > 0.0f)
        owned_.stheta -= s.RotateSpeedDown_value;
    if (s.RotateSpeedLeft_value > 0.0f)
        owned_.sphi += s.RotateSpeedLeft_value;
    if (s.RotateSpeedRight_value > 0.0f)
        owned_.sphi -= s.RotateSpeedRight_value;
}

void QXnewaveGLView::drawRect(const QRectF& rect)
{
    FrameOwned& owned = owned_;
    const QXnewaveViewSettings& s = drawn_;
    // A camera reset asked for before this frame (before a pending set-up, which then places the camera).
    if (requests_->resetPosition) {
        requests_->resetPosition = false;
        if (owned.viewModeX == 0) {
            owned.sphi = 90.0f;
            owned.stheta = 45.0f;
            owned.Xposition = 0.0f;
            owned.Yposition = 0.0f;
            owned.sdepth = 20.0f;
        }
    }
    const ViewSprites::Drawing spritesOfThisView(sprites_);
    if (owned.processFunc) {
        owned.processFunc = false;
        initGL();
    }
    // The textures of the set this frame shows, made here in the view's own context.
    if (!sprites_.show(drawnImages_))
        setNeedsDisplay(true);
    const double w = rect.width();
    const double h = rect.height();
    if (w != wwdn || h != hhdn) {
        wwdn = static_cast<int>(w);
        hhdn = static_cast<int>(h);
        engine().myReshapeXdn(wwdn, hhdn);
    }
    if (s.colormodeX == 0)
        glClearColor(s.backgroundColor.red, s.backgroundColor.green, s.backgroundColor.blue,
                     s.backgroundColor.alpha);
    else
        glClearColor(clear_rgbaNewave[0], clear_rgbaNewave[1], clear_rgbaNewave[2], clear_rgbaNewave[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    if (s.sys_infoQXnewave.mouse_down)
        applyDrag();
    engine().wavedn();
    applyRotationSpeeds();
    if (midFrameHookForTests)
        midFrameHookForTests();

    QXnewaveFrame frame;
    frame.displayUndn = owned.sphi;
    frame.sthet = owned.stheta;
    frame.Xposi = owned.Xposition;
    frame.Yposi = owned.Yposition;
    frame.sdept = owned.sdepth;
    frame.DX = owned.downX;
    frame.DY = owned.downY;
    frame.drawS = s.drawSW;
    frame.displayUnn = s.displayUnnMode;
    frame.texture = s.textureMode;
    frame.RunTexture = s.RunTextureX;
    frame.RunbyBrainsw = s.RunbyBrainswX;
    frame.Env = s.EnvMode;
    frame.EnvMode = s.EnvModeChanged;
    frame.ImageNX = owned.ImageNXopen;
    frame.maxImageNX = owned.maxImageNXopen;
    frame.PColor = s.PColor_value;
    frame.FColor = s.FColor_value;
    frame.Color_Map = s.Color_Map_value;
    frame.Dynamic_Texture = s.Dynamic_Texture_value;
    // The host binds textures of its own between frames (a new framebuffer after a resize does), so the
    // image the walls showed last is bound again; the tunnel binds another image only when it changes.
    bindWallImage(ImageNXZ);
    WaveFrameRecorder* recorder = WaveFrameRecorder::shared();
    if (recorder)
        recorder->beginFrame(engine(), frame);
    owned.ImageNXopen = engine().displayUndn(frame);
    drawn_.EnvModeChanged = 0;
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
            restartSheet(shape);
            break;
        }
    }
    return fourCharCode("NULL");
}

void QXnewaveGLView::setColor(int n)
{
    if (n < 0 || n >= rgbaColorsNewaveCount)
        return;
    changeWaveDrawing([n] {
        for (int c = 0; c < 4; ++c)
            clear_rgbaNewave[c] = rgba_colorsNewave[n][c];
    });
    setNeedsDisplay(true);
}

void QXnewaveGLView::setimagePositionX(int n)
{
    changeWaveDrawing([n] { imagePositionN = n; });
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
    changeWaveDrawing([] { engine().setOtherd(1); });
}

void QXnewaveGLView::setDrawLargeGridX(int n)
{
    changeWaveDrawing([n] {
        engine().setdSized(n);
        engine().godn();
    });
}

void QXnewaveGLView::setTextureEnvX(int n)
{
    EnvMode = n;
    EnvModeChanged = 1;
}

void QXnewaveGLView::setReversedX(int)
{
    changeWaveDrawing([] { engine().reversed(); });
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
    // Whether the camera goes back depends on the sheet's side when the sheet's earlier changes are done.
    changeWaveDrawing([requests = requests_] {
        if (gridd == 15 || gridd == 31)
            requests->resetPosition = true;
    });
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

void QXnewaveGLView::showImages(SharedPictureSet set, int count)
{
    images_ = std::move(set);
    imageCount_ = count;
    imagesGiven_ = true;
    maxImageNXopenRequest_ = count;
    setNeedsDisplay(true);
}

void QXnewaveGLView::setMaxImageNXopen(int n)
{
    maxImageNXopenRequest_ = n;
}

}  // namespace nupo
