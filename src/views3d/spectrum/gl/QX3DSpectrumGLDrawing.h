#pragma once

// The frame cycle of an on-screen 3D band-spectrum view: applies pending commands and pointer drags,
// clears, finds the hot spot under the pointer, has the scene composer draw the whole scene in one call,
// lays the text overlays over it and presents the frame. Turns pointer, wheel and key events into the
// view's camera moves.
//
// A frame draws from its own copy. The synchronisation step (main thread, no frame of this view in
// flight) runs the frame's steps that change the view (pending commands, the one-time view set-up, the
// drag, auto rotation, the preset move) and copies what the frame reads: the scene call's arguments, the
// overlays' selection and camera, the clear colour, the look-at camera, the display options, the
// display-element table and the brain-switch records. The frame (drawRect, on the host's drawing thread
// where it draws on one) then reads only that copy and what is its own: the overlays' textures, the image
// number the composer hands back, the viewport size and the frame rate, which it publishes.

#include "platform/viewhost/gl/OpenGLView.h"
#include "plots/frame/gl/FrameRateFilter.h"
#include "views3d/QX3DSpectrumGLView.h"
#include "views3d/scene/gl/QX3DSpectrumScene.h"
#include "views3d/scene/gl/SceneInputs.h"
#include "views3d/spectrum/gl/SpectrumOverlays.h"
#include "views3d/textures/gl/SpritePicture.h"
#include "views3d/textures/gl/ViewSprites.h"

namespace nupo {

// What one frame of a 3D view draws from.
struct SpectrumFrameCopy {
    SceneFrame scene;           // the composer's arguments with this frame's camera (ImageNX: the frame's)
    OverlaySelection overlays;  // selection, table switch and the camera after this frame's step
    float clearColour[4] = {};  // the view's background, or the stored clear colour
    CameraRecord cameraRecord;  // the look-at camera (the viewport size is the frame's own)
    float worldRotation[4] = {};
    float objectRotation[4] = {};
    bool dragged = false;  // the pointer moved the camera: another frame is due
    SceneInputs inputs;
    SharedPictureSet images;  // the pictures the frame's image modes show
};

class QX3DSpectrumGLDrawing : public OpenGLView {
public:
    // Draws `view`, which must outlive this object; arms the one-time scene set-up for the first frame.
    explicit QX3DSpectrumGLDrawing(QX3DSpectrumGLView& view);
    ~QX3DSpectrumGLDrawing() override;

    QX3DSpectrumGLView& view() { return view_; }
    SpectrumOverlays& overlays() { return overlays_; }
    // The copy the next (or current) frame draws from.
    const SpectrumFrameCopy& frameCopy() const { return copy_; }

    // OpenGLView.
    void synchronizeFrame() override;
    void prepareOpenGL() override;
    void reshape() override;
    void drawRect(const QRectF& rect) override;

    // One frame after the pending commands, drags and clear: the scene call, overlays and finish.
    void drawContent();
    // The one-time scene set-up: its view part runs in the first synchronisation step, its GL part on the
    // first frame.
    void initGL();
    // The one-time GL state (once per context), then the viewport and the overlays' model-view.
    void drawText();
    void drawTextBig() { drawText(); }
    void resizeGL();
    void updateProjection();
    void updateModelView();

    void mouseDown(const MouseEvent& event) override;
    void mouseDragged(const MouseEvent& event) override;
    void mouseUp(const MouseEvent& event) override;
    void rightMouseDragged(const MouseEvent& event) override { mouseDragged(event); }
    void rightMouseUp(const MouseEvent& event) override { mouseUp(event); }
    void otherMouseDragged(const MouseEvent& event) override { mouseDragged(event); }
    void otherMouseUp(const MouseEvent& event) override { mouseUp(event); }
    void scrollWheel(const ScrollEvent& event) override;
    void keyDown(const KeyEvent& event) override;
    void keyUp(const KeyEvent& event) override;

    // The scene composer's call for this frame; returns the image number.
    int drawScene();

    // The pictures the image texture modes show from the next frame on (main thread); until then none.
    void showImages(SharedPictureSet set);
    const SharedPictureSet& images() const { return images_; }
    // The view's own textures: only where no frame of this view can run.
    const ViewSprites& sprites() const { return sprites_; }
    // This view's own frames per second, as its last frame measured them (any thread).
    double framesPerSecond() const { return frameRate_.framesPerSecond(); }

private:
    void initView();
    void copyFrame(const SceneCamera& frameCamera);
    void prepareOpenGLState();
    // The look-at camera with the frame's viewport size.
    CameraRecord frameCameraRecord(const CameraRecord& record) const;

    QX3DSpectrumGLView& view_;
    // Main thread (the synchronisation step):
    bool processFunc_ = true;  // the view part of initGL in the next step
    SharedPictureSet images_;
    // Written by the synchronisation step, read by the frame:
    SpectrumFrameCopy copy_;
    bool glSetUpDue_ = false;  // the GL part of initGL on the next frame (cleared by it)
    int setUpDisplayn_ = 3;    // the mesh mode the set-up leaves (written with glSetUpDue_)
    // The frame's own:
    SpectrumOverlays overlays_;
    ViewSprites sprites_{SpriteScene::Spectrum};  // textures in the context the frames draw with
    ViewFrameRate frameRate_;
    bool fGLInit_ = false;
    float shapeSize_ = 0.0f;  // scene size of the projection (7 once the GL state is set up)
    int imageNumber_ = 0;     // the composer's image number, handed back next frame
    int viewWidth_ = 0;       // the viewport size resizeGL keeps
    int viewHeight_ = 0;
};

// Links the view's mesh settings to the mesh engine, which applies them in the current GL context (the
// shared view has none, so they wait for a drawing's context).
void installMeshLinks();

}  // namespace nupo
