#include "views3d/spectrum/gl/QX3DSpectrumGLDrawing.h"

#include "platform/keyboard/gl/VirtualKeyCodes.h"
#include "plots/settings/DisplaySettings.h"
#include "views3d/SpectrumViewState.h"
#include "views3d/scene/gl/Materials.h"
#include "views3d/scene/gl/MeshControl.h"
#include "views3d/scene/gl/QX3DSpectrumMesh.h"
#include "views3d/scene/gl/SceneState.h"
#include "views3d/spectrum/gl/SpectrumKeys.h"
#include "views3d/textures/gl/CurrentGLContext.h"
#include "views3d/textures/gl/ImageSources.h"
#include "views3d/textures/gl/ShadowApp.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdio>

namespace nupo {

void installMeshLinks()
{
    auto& links = spectrumViewLinks();
    links.meshDisplayn = [](int mode) {
        if (currentGLContext())
            setDisplayn(mode);
    };
    links.meshOther = [](int n) {
        if (currentGLContext())
            setOther(n);
    };
}

QX3DSpectrumGLDrawing::QX3DSpectrumGLDrawing(QX3DSpectrumGLView& view) : view_(view)
{
    view_.Viwe_Angle1_value = 35.0f;
    view_.Viwe_Angle2_value = 35.0f;
    view_.redisplay = [this] { setNeedsDisplay(true); };
    view_.inDrawingContext = [this](std::function<void()> fn) { return performInContext(std::move(fn)); };
    // A window opened while a set is loaded shows it.
    images_ = shadow_appAX.pictures();
}

QX3DSpectrumGLDrawing::~QX3DSpectrumGLDrawing()
{
    view_.redisplay = nullptr;
    view_.inDrawingContext = nullptr;
}

// --- The synchronisation step (main thread, no frame of this view in flight) ---------------------------

void QX3DSpectrumGLDrawing::synchronizeFrame()
{
    view_.applyPendingCommands();
    if (processFunc_) {
        initView();
        processFunc_ = false;
        glSetUpDue_ = true;
    }
    const bool dragged = view_.applyPointerDrag();
    view_.autoRotate();
    const SceneCamera camera = view_.frameCamera();
    view_.advancePresetMove();
    copyFrame(camera);
    copy_.dragged = dragged;
    view_.rRot[0] = view_.rRot[1] = view_.rRot[2] = 0.0f;  // as the frame's model-view leaves them
    if (view_.EnvModeChanged == 1)
        view_.EnvModeChanged = 0;  // the composer sees it once
}

void QX3DSpectrumGLDrawing::copyFrame(const SceneCamera& camera)
{
    const QX3DSpectrumGLView& v = view_;
    SceneFrame& frame = copy_.scene;
    frame.displayUnn = v.Viwe_Angle_value;
    frame.Viwe_Angle1 = v.Viwe_Angle1_value;
    frame.Viwe_Angle2 = v.Viwe_Angle2_value;
    frame.Viwe_Mode = v.Viwe_Mode_value;
    frame.oneBrain = v.oneBrainwave.load(std::memory_order_relaxed);
    frame.towBrain = v.towBrainwave.load(std::memory_order_relaxed);
    frame.shapeC = v.shapeChange.load(std::memory_order_relaxed);
    frame.sph = camera.sphi;
    frame.sthet = camera.stheta;
    frame.Xposi = camera.Xposition;
    frame.Yposi = camera.Yposition;
    frame.sdept = camera.sdepth;
    frame.DX = v.downX;
    frame.DY = v.downY;
    frame.drawS = v.drawSW;
    frame.displayUnnMode = v.displayUnnMode;
    frame.texture = v.textureMode;
    frame.RunTexture = v.RunTextureX;
    frame.RunbyBrainsw = v.RunbyBrainswX;
    frame.Env = v.EnvMode;
    frame.EnvModeC = v.EnvModeChanged;
    frame.maxImageNX = v.maxImageNXopen;
    frame.PColor = v.PColor_value;
    frame.FColor = v.FColor_value;
    frame.Color_Map = v.Color_Map_value;
    frame.Dynamic_Texture = v.Dynamic_Texture_value;
    frame.drawM = v.drawSWMain;
    frame.TopNON = v.TopNO;
    frame.startFrequency = v.StartFrequencyXX.load(std::memory_order_relaxed);

    copy_.overlays =
        OverlaySelection{frame.oneBrain, frame.towBrain, frame.shapeC, v.setshowBSinfoX, v.camera};
    if (v.colormodeX == 0) {
        const RGBAColor& c = v.backgroundColor;
        const float colour[4] = {float(c.red), float(c.green), float(c.blue), float(c.alpha)};
        std::copy(colour, colour + 4, copy_.clearColour);
    } else {
        std::copy(clear_rgbaB, clear_rgbaB + 4, copy_.clearColour);
    }
    copy_.cameraRecord = v.cameraRecord;
    std::copy(v.worldRotation, v.worldRotation + 4, copy_.worldRotation);
    std::copy(v.objectRotation, v.objectRotation + 4, copy_.objectRotation);

    // The flash requests change the shared brain-switch records here, before they are copied.
    QX3DSpectrumScene::applyFlashRequests(frame);
    copy_.inputs.capture();
    copy_.inputs.flashApplied = true;
    copy_.images = images_;
}

void QX3DSpectrumGLDrawing::showImages(SharedPictureSet set)
{
    images_ = std::move(set);
    setNeedsDisplay(true);
}

void QX3DSpectrumGLDrawing::initView()
{
    view_.maxImageNXopen = maxImageN;
    view_.setViewShowBrainSWX(1);
    view_.setViewShowMainX(1);
    view_.setResetPositionX(0);
    QX3DSpectrumGLView* target = view_.viewA3D != 0 ? view_._gl3View : view_._glView;
    if (!target)
        target = &view_;
    target->setDrawModeX(3);
    target->setTextureModeX(target->setUpTextureMode);
    view_.Viwe_Mode_value = 16.0f;
    view_.FColor_value = 1.0f;
    view_.PColor_value = 1.0f;
    // Smooth shading, or the textured mesh of the image modes a reopened window asks for.
    setUpDisplayn_ = view_.setUpTextureMode >= 2 ? 4 : 3;
    view_.displayUnnMode = setUpDisplayn_;
    view_.Dynamic_Texture_value = 0.0f;
    view_.Color_Map_value = 0.0f;
    view_.Viwe_Angle_value = 35.0f;
    tploopsave = 0;
    tsaveE = 0.0;
    view_.setDemoNumber(view_.num);
}

// --- The frame (the drawing thread where the host draws on one) ----------------------------------------

void QX3DSpectrumGLDrawing::prepareOpenGL()
{
    // A new context: the textures of the old one are gone, and the GL state is set up again.
    overlays_.reset();
    fGLInit_ = false;
}

void QX3DSpectrumGLDrawing::reshape()
{
    overlays_.updateInfoString(bounds().width(), bounds().height());
}

void QX3DSpectrumGLDrawing::drawRect(const QRectF& rect)
{
    const int w = static_cast<int>(rect.width());
    const int h = static_cast<int>(rect.height());
    myReshapeXn(w, h);
    glShadeModel(GL_SMOOTH);
    glViewport(0, 0, static_cast<int>(bounds().width()), static_cast<int>(bounds().height()));
    const ScopedSceneInputs inputs(copy_.inputs);
    const ViewSprites::Drawing spritesOfThisView(sprites_);
    if (glSetUpDue_) {
        initGL();
        glSetUpDue_ = false;
    }
    // The textures of the set this frame shows, made here in the view's own context; the image shown
    // last is bound again (the overlays bind textures of their own), as the composer binds another
    // only when it changes.
    if (!sprites_.show(copy_.images))
        setNeedsDisplay(true);
    if (copy_.scene.texture == 2 || copy_.scene.texture == 3)
        sprites_.bind(ImageNZ);
    FPSXXnewwave.store(frameRate_.measure(), std::memory_order_relaxed);
    const float* c = copy_.clearColour;
    glClearColor(c[0], c[1], c[2], c[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (copy_.dragged)
        setNeedsDisplay(true);
    copy_.inputs.show4sphere = hotSpotAt(copy_.scene.DX, -copy_.scene.DY, w, h);
    drawContent();
}

void QX3DSpectrumGLDrawing::drawContent()
{
    const ScopedSceneInputs inputs(copy_.inputs);
    imageNumber_ = drawScene();

    glPushMatrix();
    const float W = static_cast<float>(viewWidth_);
    const float H = static_cast<float>(viewHeight_);
    const int bsMaterial = copy_.inputs.display.setBSMaterialX;
    auto pass = [&] {
        setMaterial(8);
        drawText();
        overlays_.drawInfo(copy_.overlays, W > 0 ? W : static_cast<float>(bounds().width()),
                           H > 0 ? H : static_cast<float>(bounds().height()));
        setMaterial(bsMaterial);
    };
    const int one = copy_.overlays.oneBrainwave;
    const int tow = copy_.overlays.towBrainwave;
    const int s = copy_.overlays.shapeChange;
    if (one == 0) {
        if (copy_.overlays.setshowBSinfoX != 0 && s >= 2 && s <= 11) {
            if (s <= 5)
                overlays_.updateBSString(s - 2);
            else
                overlays_.updateBSCString(s - 2);
            overlays_.updateBSNString(copy_.inputs.brainSWX[s - 2], s);
        }
        if (s >= 2 && s <= 5)
            overlays_.updatePeak1String(s - 2);
        pass();
    }
    if (one == 1) {
        if (s == 0) {
            overlays_.updatePeak0String(0);
            overlays_.updatePeak1String(1);
        } else if (s == 1) {
            overlays_.updatePeak0String(2);
            overlays_.updatePeak1String(3);
        }
        overlays_.updateBrainString();
        pass();
    }
    if (tow == 0 && one == 0 && s == 0) {
        overlays_.updatePeak3String();
        overlays_.updateBrainString();
        pass();
    }
    if (tow == 1) {
        overlays_.updatePeak4String();
        overlays_.updateBrainString();
        pass();
    }
    glPopMatrix();
    glFinish();
}

void QX3DSpectrumGLDrawing::initGL()
{
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    QX3DSpectrumMesh& mesh = QX3DSpectrumMesh::sharedQX3DSpectrumMesh();
    mesh.mainNewave();
    mesh.gon();
    // The view set-up's draw and texture modes, in the context current now.
    setDisplayn(setUpDisplayn_);
    imageNumber_ = 0;
    drawText();
    std::printf("initGL 3D\n");
}

void QX3DSpectrumGLDrawing::prepareOpenGLState()
{
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glPolygonOffset(1.0f, 1.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    shapeSize_ = 7.0f;
}

void QX3DSpectrumGLDrawing::drawText()
{
    if (!fGLInit_) {
        prepareOpenGLState();
        fGLInit_ = true;
    }
    resizeGL();
    updateModelView();
}

void QX3DSpectrumGLDrawing::resizeGL()
{
    const int width = static_cast<int>(bounds().width());
    const int height = static_cast<int>(bounds().height());
    if (width != viewWidth_ || height != viewHeight_) {
        viewWidth_ = width;
        viewHeight_ = height;
        glViewport(0, 0, width, height);
    }
}

CameraRecord QX3DSpectrumGLDrawing::frameCameraRecord(const CameraRecord& record) const
{
    CameraRecord c = record;
    c.viewWidth = viewWidth_;
    c.viewHeight = viewHeight_;
    return c;
}

void QX3DSpectrumGLDrawing::updateProjection()
{
    // The projection matrix belongs to the context the view draws with (on the drawing thread, before
    // the next frame, where the host draws on one), from the look-at camera as it is now.
    performInContext([this, record = view_.cameraRecord] {
        const CameraRecord camera = frameCameraRecord(record);
        const Frustum f = projectionFrustum(camera, shapeSize_);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(f.left, f.right, f.bottom, f.top, f.zNear, f.zFar);
        overlays_.updateCameraString(camera);
    });
}

void QX3DSpectrumGLDrawing::updateModelView()
{
    const CameraRecord c = frameCameraRecord(copy_.cameraRecord);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // A camera record with no direction or no up vector (the record starts all zero) looks nowhere.
    const bool looks = (c.viewDir.x != 0.0 || c.viewDir.y != 0.0 || c.viewDir.z != 0.0) &&
                       (c.viewUp.x != 0.0 || c.viewUp.y != 0.0 || c.viewUp.z != 0.0);
    if (looks)
        gluLookAt(c.viewPos.x, c.viewPos.y, c.viewPos.z, c.viewPos.x + c.viewDir.x, c.viewPos.y + c.viewDir.y,
                  c.viewPos.z + c.viewDir.z, c.viewUp.x, c.viewUp.y, c.viewUp.z);
    for (const float* r : {copy_.worldRotation, copy_.objectRotation})
        if (r[0] != 0.0f)
            glRotatef(r[0], r[1], r[2], r[3]);
    overlays_.updateCameraString(c);
}

void QX3DSpectrumGLDrawing::mouseDown(const MouseEvent& event)
{
    view_.mouseDown(event.location.x(), event.location.y());
}

void QX3DSpectrumGLDrawing::mouseDragged(const MouseEvent& event)
{
    view_.mouseDragged(event.location.x(), event.location.y());
}

void QX3DSpectrumGLDrawing::mouseUp(const MouseEvent&)
{
    view_.mouseUp();
}

void QX3DSpectrumGLDrawing::scrollWheel(const ScrollEvent& event)
{
    if (view_.scrollWheel(event.deltaX, event.deltaY, event.deltaZ))
        updateProjection();
}

namespace {
void logModifiers(unsigned flags)
{
    if (flags & ModifierFlag::Command)
        std::printf("NSCommandKeyMask = %d\n", 1);
    if (flags & ModifierFlag::Control)
        std::printf("NSControlKeyMask = %d\n", 1);
    if (flags & ModifierFlag::Option)
        std::printf("NSAlternateKeyMask = %d\n", 1);
    if (flags & ModifierFlag::Shift)
        std::printf("NSShiftKeyMask = %d\n", 1);
}
}  // namespace

void QX3DSpectrumGLDrawing::keyDown(const KeyEvent& event)
{
    logModifiers(event.modifierFlags);
    const unsigned mask = decisiveModifier(event.modifierFlags);
    std::printf("Key = %x", event.keyCode);
    applyKey(view_.camera, rotateX, event.keyCode, mask == ModifierFlag::Shift);
}

void QX3DSpectrumGLDrawing::keyUp(const KeyEvent& event)
{
    logModifiers(event.modifierFlags);
}

}  // namespace nupo
