#pragma once

#include "platform/colour/RGBAColor.h"
#include "views3d/spectrum/SpectrumCamera.h"
#include "views3d/spectrum/SpectrumViewSettings.h"

#include <atomic>
#include <functional>

namespace nupo {

// The 3D band-spectrum view: its settings, remote commands, camera and the brain-switch refresh entry.
// This object holds the state; a drawing object (QX3DSpectrumGLDrawing) draws it in a window, and the
// window controller sends it the settings of its controls.
//
// The shared instance never draws and is used from any thread (MIDI threads, the live-reading thread,
// the players' timers) for waven3DBSQC, so the fields that entry reads are atomics. Everything else runs
// on the main thread: an on-screen view's frames draw from a copy of its fields that the drawing object
// takes in their synchronisation step.
class QX3DSpectrumGLView {
public:
    static QX3DSpectrumGLView& sharedQX3DSpectrumGLView();

    QX3DSpectrumGLView() = default;
    QX3DSpectrumGLView(const QX3DSpectrumGLView&) = delete;
    QX3DSpectrumGLView& operator=(const QX3DSpectrumGLView&) = delete;

    // Refreshes the 64-row spectrum and the brain-switch hit records of source n (0..9) through the data
    // mapper, with shape code n + 2 and this view's flags and start frequency; does nothing while the
    // transport is paused or for another n. The grids the 3D window shows are left as they are.
    void waven3DBSQC(int n);
    // Refreshes this view's own selection: while recording once `tploop` samples have passed since
    // `tploopBB` (only with port 1 open and not paused; `tploopBB` follows `ploop` either way), while
    // playing whenever not paused.
    void waven3DBS();

    // --- View selection and remote commands --------------------------------------------------------
    // Display mode 0..13 (the window's display-mode menu); clears the 3D history and starts preset 0.
    void setDemoNumber(int n);
    // The selection of the ViewX radio matrix.
    void setViewX(int n);
    // Pending commands that the on-screen view applies on its next frame.
    void setDemoNumberA(int n);
    void setDemoNumberB(int n);
    // Play speed 0..9.
    void setDemoNumber2(int n);
    void setMovieSpeed();
    // Display state v of brain-switch window k (0..7) of the sources the selection shows.
    void setNUPOchBS(int k, int v);
    // Camera preset n (0..4) for the current layout; starts the ten-frame move.
    void setResetPositionX(int n);

    // --- Display-element table and background ------------------------------------------------------
    void initDisplay();
    void setdisplayState(int row);
    void didplayMode(int element, int v);
    void setBackgroundColor(const RGBAColor& colour);
    // Writes the view's background into the stored colour (which documents save).
    void storeBackgroundColor();
    // Component k 0..3 (red, green, blue, alpha) of the stored colour; other k are ignored (0.0 read).
    void setBackgroundColorA(int k, float v);
    float getBackgroundColor(int k) const;
    void setColor(int);

    // --- Simple setters, stored for the next frame ---------------------------------------------------
    void setViewAngleXX(float v) { Viwe_Angle_value = v; }
    void setViewAngleXX1(float v) { Viwe_Angle1_value = v; }
    void setViewAngleXX2(float v) { Viwe_Angle2_value = v; }
    void setViewModeXX(float v) { Viwe_Mode_value = v; }
    void setRotateSpeedUpXX(float v) { RotateSpeedUp_value = v; }
    void setRotateSpeedDownXX(float v) { RotateSpeedDown_value = v; }
    void setRotateSpeedLeftXX(float v) { RotateSpeedLeft_value = v; }
    void setRotateSpeedRightXX(float v) { RotateSpeedRight_value = v; }
    void setPColor_value(float v) { PColor_value = v; }
    void setFColor_value(float v) { FColor_value = v; }
    void setColor_Map_value(float v) { Color_Map_value = v; }
    void setDynamic_Texture_value(float v) { Dynamic_Texture_value = v; }
    void setViewShowBrainSWX(int v) { drawSW = v; }
    void setViewShowMainX(int v) { drawSWMain = v; }
    void setMoveModeX(int v);
    void setRunTextureX(int v) { RunTextureX = v; }
    void setRunbyBrainswX(int v) { RunbyBrainswX = v; }
    void setTextureEnvX(int v);
    void setBSinfo(int v) { setshowBSinfoX = v; }
    void StartFrequecy(int n) { StartFrequencyXX.store(n, std::memory_order_relaxed); }
    void setviewA3D(int v) { viewA3D = v; }
    void setimagePositionX(int v);
    void setDisplaynX(int mode);
    void setDrawSurfaceLineX(int);
    void setDrawModeX(int mode);
    void setTextureModeX(int mode);
    void setDrawLargeGridX(int on);
    void setAutoUpX(int) { setAuto(2.0f, 0.0f); }
    void setAutoDownX(int) { setAuto(1.0f, 0.0f); }
    void setAutoLeftX(int) { setAuto(0.0f, 2.0f); }
    void setAutoRightX(int) { setAuto(0.0f, 1.0f); }
    void setAutoStopX(int);
    void setLoadTextuerX(int);
    void animate() { fAnimate = !fAnimate; }
    void info();
    void setupDrawText();

    // --- Frame steps that need no GL (the drawing object's synchronisation step runs them in this order,
    // on the main thread) ------------------------------------------------------------------------------
    // Pending view command, then pending camera command.
    void applyPendingCommands();
    // A left-button drag since the last frame; true when the camera moved (a redisplay is due).
    bool applyPointerDrag();
    // Auto rotation and the continuous rotation speeds.
    void autoRotate();
    // The camera to draw this frame: the current one, or the preset move's step.
    SceneCamera frameCamera() const;
    // After the scene call: steps a running preset move (the camera rests on the target after ten frames).
    void advancePresetMove();

    // --- Pointer and keys ---------------------------------------------------------------------------
    // Positions in view coordinates, origin bottom left.
    void mouseDown(double x, double y);
    void mouseDragged(double x, double y);
    void mouseUp();
    // The wheel; true when the aperture changed.
    bool scrollWheel(double dx, double dy, double dz);

    // Where redraw requests go (the drawing object installs it); none for the shared instance.
    std::function<void()> redisplay;
    void requestRedisplay()
    {
        if (redisplay)
            redisplay();
    }
    // Runs GL work in the context this view draws with (the drawing object installs it; where the view
    // draws on a thread of its own, before its next frame); false when that context is not ready. Without
    // it, the mesh settings reach the engine through the shared links at once.
    std::function<bool(std::function<void()>)> inDrawingContext;
    // The views that setDrawModeX and setTextureModeX redraw: _gl3View when viewA3D is set, else _glView.
    QX3DSpectrumGLView* _glView = nullptr;
    QX3DSpectrumGLView* _gl3View = nullptr;

    // --- Fields -------------------------------------------------------------------------------------
    // View selection and start frequency (all 0 in the shared instance; read by waven3DBSQC from any
    // thread).
    std::atomic<int> oneBrainwave{0};
    std::atomic<int> towBrainwave{0};
    std::atomic<int> shapeChange{0};
    std::atomic<int> StartFrequencyXX{0};

    int num = 0;
    int num2 = 0;
    int viewModeX = 0;

    RGBAColor backgroundColor = RGBAColor::fromRGBA(0.0, 0.0, 0.0, 0.0);
    int colormodeX = 0;
    int viewA3D = 0;

    // Left-button input.
    int mouse_down = 0;
    float mouse_pos[2] = {0.0f, 0.0f};  // y negated
    unsigned mouse_down_count = 0;

    SceneCamera camera;        // sphi, stheta, Xposition, Yposition, sdepth
    SceneCamera cameraTarget;  // sphiA .. sdepthA
    int setResetPositionXActive = 0;
    float sthetaAuto = 0.0f, sphiAuto = 0.0f;
    float RotateSpeedUp_value = 0.0f, RotateSpeedDown_value = 0.0f, RotateSpeedLeft_value = 0.0f,
          RotateSpeedRight_value = 0.0f;
    int downX = 0, downY = 0;
    int MoveModeX = 0;

    float Viwe_Angle_value = 0.0f, Viwe_Angle1_value = 0.0f, Viwe_Angle2_value = 0.0f, Viwe_Mode_value = 0.0f;
    int drawSW = 0, drawSWMain = 0, displayUnnMode = 0, textureMode = 0, RunTextureX = 0, RunbyBrainswX = 0;
    // The texture mode the view's one-time set-up leaves it in: 0 (palette), or the image mode a window
    // opened again to show loaded images asks for.
    int setUpTextureMode = 0;
    // (The composer's image number, the scene size of the projection and the viewport size are the
    // drawing's frames' own.)
    int EnvMode = 0, EnvModeChanged = 0, maxImageNXopen = 0, TopNO = 0;
    float PColor_value = 0.0f, FColor_value = 0.0f, Color_Map_value = 0.0f, Dynamic_Texture_value = 0.0f;
    int setshowBSinfoX = 0;

    // The look-at camera of the overlays and the trackball rotations.
    CameraRecord cameraRecord;
    float worldRotation[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float objectRotation[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float rRot[3] = {0.0f, 0.0f, 0.0f};
    float rVel[3] = {0.0f, 0.0f, 0.0f};
    float rAccel[3] = {0.0f, 0.0f, 0.0f};
    bool fAnimate = false, fInfo = false, fDrawHelp = false, fDrawCaps = false;

private:
    void setAuto(float theta, float phi);
    QX3DSpectrumGLView* selectedView();
};

}  // namespace nupo
