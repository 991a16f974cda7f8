#pragma once

// The frame cycle of an on-screen 3D band-spectrum view: applies pending commands and pointer drags,
// clears, finds the hot spot under the pointer, has the scene composer draw the whole scene in one call,
// lays the text overlays over it and presents the frame. Turns pointer, wheel and key events into the
// view's camera moves. Main thread, with the hosting widget's GL context current.

#include "platform/viewhost/gl/OpenGLView.h"
#include "plots/frame/gl/FrameRateFilter.h"
#include "views3d/QX3DSpectrumGLView.h"
#include "views3d/spectrum/gl/SpectrumOverlays.h"

namespace nupo {

class QX3DSpectrumGLDrawing : public OpenGLView {
public:
    // Draws `view`, which must outlive this object; arms the one-time scene set-up for the first frame.
    explicit QX3DSpectrumGLDrawing(QX3DSpectrumGLView& view);
    ~QX3DSpectrumGLDrawing() override;

    QX3DSpectrumGLView& view() { return view_; }
    SpectrumOverlays& overlays() { return overlays_; }

    // OpenGLView.
    void prepareOpenGL() override;
    void reshape() override;
    void drawRect(const QRectF& rect) override;

    // One frame after the pending commands, drags and clear: the scene call, overlays and finish.
    void drawContent();
    // One-time scene set-up (runs on the first frame).
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

    // The scene composer's call for this frame (the camera given); returns the image number.
    int drawScene(const SceneCamera& camera);

private:
    void prepareOpenGLState();

    QX3DSpectrumGLView& view_;
    SpectrumOverlays overlays_;
    FrameRateFilter fps_;
    bool processFunc_ = true;  // initGL on the next frame
    bool fGLInit_ = false;
};

// Links the view's mesh settings to the mesh engine, which applies them in the current GL context (the
// shared view has none, so they wait for a drawing's context).
void installMeshLinks();

}  // namespace nupo
