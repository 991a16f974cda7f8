#include "views3d/spectrum/gl/QX3DSpectrumGLDrawing.h"

#include "platform/keyboard/gl/VirtualKeyCodes.h"
#include "plots/settings/DisplaySettings.h"
#include "views3d/SpectrumViewState.h"
#include "views3d/scene/gl/Materials.h"
#include "views3d/scene/gl/MeshControl.h"
#include "views3d/scene/gl/QX3DSpectrumMesh.h"
#include "views3d/spectrum/gl/SpectrumKeys.h"
#include "views3d/textures/gl/CurrentGLContext.h"
#include "views3d/textures/gl/ImageSources.h"

#include <GL/gl.h>
#include <GL/glu.h>

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
}

QX3DSpectrumGLDrawing::~QX3DSpectrumGLDrawing()
{
    view_.redisplay = nullptr;
}

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
    view_.applyPendingCommands();
    glShadeModel(GL_SMOOTH);
    glViewport(0, 0, static_cast<int>(bounds().width()), static_cast<int>(bounds().height()));
    if (processFunc_) {
        initGL();
        processFunc_ = false;
    }
    FPSXXnewwave = fps_.update();
    if (view_.colormodeX == 0) {
        const RGBAColor& c = view_.backgroundColor;
        glClearColor(c.red, c.green, c.blue, c.alpha);
    } else {
        glClearColor(clear_rgbaB[0], clear_rgbaB[1], clear_rgbaB[2], clear_rgbaB[3]);
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (view_.applyPointerDrag())
        setNeedsDisplay(true);
    view_.updateHotSpot(w, h);
    drawContent();
}

void QX3DSpectrumGLDrawing::drawContent()
{
    view_.autoRotate();
    view_.ImageNXopen = drawScene(view_.frameCamera());
    view_.advancePresetMove();
    if (view_.EnvModeChanged == 1)
        view_.EnvModeChanged = 0;

    glPushMatrix();
    const float W = static_cast<float>(view_.cameraRecord.viewWidth);
    const float H = static_cast<float>(view_.cameraRecord.viewHeight);
    auto pass = [&] {
        setMaterial(8);
        drawText();
        overlays_.drawInfo(view_, W > 0 ? W : static_cast<float>(bounds().width()),
                           H > 0 ? H : static_cast<float>(bounds().height()));
        setMaterial(setBSMaterialX);
    };
    const int one = view_.oneBrainwave.load(std::memory_order_relaxed);
    const int tow = view_.towBrainwave.load(std::memory_order_relaxed);
    const int s = view_.shapeChange.load(std::memory_order_relaxed);
    if (one == 0) {
        if (view_.setshowBSinfoX != 0 && s >= 2 && s <= 11) {
            if (s <= 5)
                overlays_.updateBSString(s - 2);
            else
                overlays_.updateBSCString(s - 2);
            overlays_.updateBSNString(s - 2, s);
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
    view_.maxImageNXopen = maxImageN;
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    QX3DSpectrumMesh& mesh = QX3DSpectrumMesh::sharedQX3DSpectrumMesh();
    mesh.mainNewave();
    mesh.gon();
    view_.setViewShowBrainSWX(1);
    view_.setViewShowMainX(1);
    view_.setResetPositionX(0);
    QX3DSpectrumGLView* target = view_.viewA3D != 0 ? view_._gl3View : view_._glView;
    if (!target)
        target = &view_;
    target->setDrawModeX(3);
    target->setTextureModeX(0);
    view_.Viwe_Mode_value = 16.0f;
    view_.FColor_value = 1.0f;
    view_.PColor_value = 1.0f;
    view_.displayUnnMode = 3;
    view_.Dynamic_Texture_value = 0.0f;
    view_.Color_Map_value = 0.0f;
    view_.Viwe_Angle_value = 35.0f;
    tploopsave = 0;
    tsaveE = 0.0;
    view_.ImageNXopen = 0;
    view_.setDemoNumber(view_.num);
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
    view_.shapeSize = 7.0f;
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
    CameraRecord& camera = view_.cameraRecord;
    const int width = static_cast<int>(bounds().width());
    const int height = static_cast<int>(bounds().height());
    if (width != camera.viewWidth || height != camera.viewHeight) {
        camera.viewWidth = width;
        camera.viewHeight = height;
        glViewport(0, 0, width, height);
    }
}

void QX3DSpectrumGLDrawing::updateProjection()
{
    // The projection matrix belongs to the context the view draws with (on the drawing thread, before
    // the next frame, where the host draws on one).
    performInContext([this] {
        const Frustum f = projectionFrustum(view_.cameraRecord, view_.shapeSize);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(f.left, f.right, f.bottom, f.top, f.zNear, f.zFar);
        overlays_.updateCameraString(view_.cameraRecord);
    });
}

void QX3DSpectrumGLDrawing::updateModelView()
{
    const CameraRecord& c = view_.cameraRecord;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // A camera record with no direction or no up vector (the record starts all zero) looks nowhere.
    const bool looks = (c.viewDir.x != 0.0 || c.viewDir.y != 0.0 || c.viewDir.z != 0.0) &&
                       (c.viewUp.x != 0.0 || c.viewUp.y != 0.0 || c.viewUp.z != 0.0);
    if (looks)
        gluLookAt(c.viewPos.x, c.viewPos.y, c.viewPos.z, c.viewPos.x + c.viewDir.x, c.viewPos.y + c.viewDir.y,
                  c.viewPos.z + c.viewDir.z, c.viewUp.x, c.viewUp.y, c.viewUp.z);
    for (const float* r : {view_.worldRotation, view_.objectRotation})
        if (r[0] != 0.0f)
            glRotatef(r[0], r[1], r[2], r[3]);
    view_.rRot[0] = view_.rRot[1] = view_.rRot[2] = 0.0f;
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
