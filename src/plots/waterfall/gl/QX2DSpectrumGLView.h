#pragma once

#include "platform/colour/RGBAColor.h"
#include "platform/viewhost/gl/OpenGLView.h"
#include "plots/frame/gl/FrameRateFilter.h"

#include <functional>
#include <memory>
#include <optional>

namespace nupo {

struct WaterfallFrame;

// Background colour components of the 2D views (red, green, blue, alpha) and the writes counted since
// the colour was last built.
inline float clear_rgbaA[4] = {0.0f, 0.0f, 0.0f, 0.0f};
inline int WinColor = 0;
// Key code of the last key press.
inline int cInt = 0;
// Display selection and camera preset waiting for the next redraw of a shown view.
inline int setDemoNumber2DA = 0;
inline int setDemoNumber2DDidChanged = 0;
inline int setDemoNumber2B = 0;
inline int setDemoNumber2BDidChanged = 0;
// 0 until the first setDemoNumber after the shared view was made.
inline int setdisplayStateFirstTime = 0;
// Frame of the running camera preset move (0..9).
inline int smozeloop = 0;

// One reading of a 2D view's own frame rate at its frame; returns the smoothed rate.
double displayFPSnewwaveZ(ViewFrameRate& rate);

// The 2D spectrum view of the "Waterfall Window": owns the camera (turn, tilt, pan, distance), turns
// mouse drags and arrow keys into camera moves, moves the camera to four presets over ten frames,
// records key presses as markers in channel 0 of the recording, keeps the per-selection overlay flags,
// and for each frame hands its whole state to the engine.
//
// Everything here is main-thread state, the camera and its preset moves included: the frame's
// synchronisation step (main thread) applies what waits for the frame (remote commands, the first
// frame's set-up, the mouse drag, the preset move's step), has the engine take a history row, and takes
// the frame's copy (WaterfallFrame); drawRect, on the drawing thread, draws only from that copy.
//
// The shared instance draws nothing: it serves start-up (initDisplay), documents and remote commands,
// which wait in process-wide variables for the next frame of a shown view.
class QX2DSpectrumGLView : public OpenGLView {
public:
    explicit QX2DSpectrumGLView(const QRectF& frame = QRectF());
    ~QX2DSpectrumGLView() override;

    static QX2DSpectrumGLView& sharedQX2DSpectrumGLView();

    // Default overlay flags and background colour.
    void initDisplay();

    void synchronizeFrame() override;
    void drawRect(const QRectF& rect) override;
    void mouseDown(const MouseEvent& event) override;
    void mouseDragged(const MouseEvent& event) override;
    void mouseUp(const MouseEvent& event) override;
    void keyDown(const KeyEvent& event) override;

    // Colour.
    void setBackgroundColorA(int component, float value);
    float getBackgroundColor(int component) const;
    void setBackgroundColor(const RGBAColor& colour);
    // Writes the view's background into the stored colour (which documents save).
    void storeBackgroundColor();

    // Settings forwarded by the window.
    void setDrawModeX(int n);
    void setTextureModeX(int n);
    void setDrawSurfaceLineX(int n);
    void setDrawLargeGridX(int n);
    void setRunTextureX(int n) { RunTextureX = n; }
    void setRunbyBrainswX(int n) { RunbyBrainswX = n; }
    void setViewShowBrainSWX(int n) { drawSW = n; }
    void setPColor_value(float v) { PColor_value = v; }
    void setFColor_value(float v) { FColor_value = v; }
    void StartFrequecy(int n) { StartFrequencyXX = n; }
    void setviewA2D(int n) { viewA2D = n; }
    void setViewX(int n);
    void didplayMode(int k, int state);

    // Display selection, camera and speed.
    void setDemoNumber(int n);
    void setdisplayState(int n);
    void setDemoNumberA(int n);
    void setDemoNumberB(int n);
    void setPositionZ(int n);
    void setResetPositionX(int n);
    void setDemoNumber2(int n);
    void setMovieSpeed();
    // Unless paused, a history row for every source (selections 3, 4, 7, 5, 6, 8, 9, 10, 11, 12) with
    // this view's start frequency and coherence-high flag.
    void DisplayUpdataWaterfall();
    void getKey(unsigned short code, unsigned mask);

    // The companions that take the draw-mode / texture-mode hand-over (normal and full view of the
    // window); either may be null.
    void setCompanions(QX2DSpectrumGLView* normal, QX2DSpectrumGLView* full);
    // Where setdisplayState sends the overlay states (k 0..9, state): the window's controller, which
    // shows them in its check boxes. The shared view has none.
    void setDisplayStateReceiver(std::function<void(int, int)> receiver)
    {
        displayStateReceiver = std::move(receiver);
    }

    struct Camera {
        float sphi = 0.0f, stheta = 0.0f, Xposition = 0.0f, Yposition = 0.0f, sdepth = 0.0f;
    };
    Camera camera() const { return {sphi, stheta, Xposition, Yposition, sdepth}; }
    Camera cameraTarget() const { return {sphiA, sthetaA, XpositionA, YpositionA, sdepthA}; }
    // The camera the next frame is drawn with (a preset move in progress interpolates).
    Camera drawingCamera() const;
    int displaySelection() const { return oneBrainwave; }
    int source() const { return shapeChange; }
    int drawMode() const { return displayUnnMode; }
    int textureModeValue() const { return textureMode; }
    int startFrequency() const { return StartFrequencyXX; }
    int coherenceHigh() const { return Chigh; }
    int brainSwitchMarks() const { return drawSW; }
    int runByBrain() const { return RunbyBrainswX; }
    bool presetMoveActive() const { return setResetPositionXActive != 0; }
    bool needsInitGL() const { return processFunc; }
    const std::optional<RGBAColor>& background() const { return backgroundColor; }
    // This view's own frames per second, as its last frame measured them.
    double framesPerSecond() const { return frameRate_.framesPerSecond(); }

private:
    // The first frame's set-up of the view's and the engine's state (the GL part is the frame's).
    void setUpState();
    void applyDrawMode(int n, bool forward);
    void applyTextureMode(int n, bool forward);
    QX2DSpectrumGLView* companion() const { return viewA2D != 0 ? _gl2View : _glView; }
    void loadPreset(int n, bool reset);

    bool processFunc = true;
    ViewFrameRate frameRate_;
    std::optional<RGBAColor> backgroundColor;
    QX2DSpectrumGLView* _glView = nullptr;
    QX2DSpectrumGLView* _gl2View = nullptr;
    std::function<void(int, int)> displayStateReceiver;
    int colormodeX = 0;
    struct {
        int mouse_down = 0;
        float mouse_pos[2] = {0.0f, 0.0f};
        unsigned mouse_down_count = 0;
    } sys_infoQXDrawernewave;
    float Viwe_Angle_value = 0.0f, Viwe_Mode_value = 0.0f;  // the panels' angle and offset: always 0
    int shapeChange = 0;
    int oneBrainwave = 0;
    float sphi = 0.0f, stheta = 0.0f, Xposition = 0.0f, Yposition = 0.0f, sdepth = 0.0f;
    int downX = 0, downY = 0;
    int drawSW = 0;
    int displayUnnMode = 0;
    int textureMode = 0;
    int RunTextureX = 0;
    int RunbyBrainswX = 0;
    int num = 0;
    int positionZX = 0;
    float PColor_value = 0.0f, FColor_value = 0.0f;
    float sphiA = 0.0f, sthetaA = 0.0f, XpositionA = 0.0f, YpositionA = 0.0f, sdepthA = 0.0f;
    int setResetPositionXActive = 0;
    int viewA2D = 0;
    int StartFrequencyXX = 0;
    int Chigh = 0;
    // Shading set by the texture mode, applied by the next frame.
    bool shadingPending = false;
    // The copy the next frame draws from (written only while no frame of the view is in flight).
    std::unique_ptr<WaterfallFrame> frame_;
};

}  // namespace nupo
