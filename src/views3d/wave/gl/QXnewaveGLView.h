#pragma once

#include "platform/colour/RGBAColor.h"
#include "platform/viewhost/gl/OpenGLView.h"
#include "views3d/textures/gl/SpritePicture.h"
#include "views3d/textures/gl/ViewSprites.h"

#include <functional>
#include <memory>
#include <optional>

namespace nupo {

class QXnewave;

// Size the wave-surface scene was last reshaped to, pixels.
inline int wwdn = 0;
inline int hhdn = 0;
// Clear colours a colour button can pick, and the one picked.
inline constexpr int rgbaColorsNewaveCount = 4;
inline const float rgba_colorsNewave[rgbaColorsNewaveCount][4] = {
    {0.0f, 0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f, 0.0f}};
inline float clear_rgbaNewave[4] = {0.0f, 0.0f, 0.0f, 0.0f};

class QXnewaveGLView;

// The shared sheet, the tunnel's process-wide settings (the image position, the table colour) and the
// wall images belong to the wave-surface frames, which draw one at a time. Changes to them from outside
// a frame are requests carried out between those frames: at once where no wave-surface frame draws,
// otherwise before the next one (never during one). Any thread.
void changeWaveDrawing(std::function<void()> change);
// Restarts the shared sheet in shape 0..9 at the fastest step, as a request (see above).
void restartSheet(int shape);

// Applies a brain effect code 0..19 as the wave-surface window's brain drive does: 0 to 9 restart the
// shared sheet in that shape; 10 to 13 pick `view`'s texture mode, 14 to 17 spin it, 18 sends it back to
// its start position and 19 stops it (without a view these do nothing).
void applyTunnelEffect(QXnewaveGLView* view, int code);

// What the window's controls set on the view: written on the main thread, read by frames only from the
// copy each frame takes in its synchronisation step.
struct QXnewaveViewSettings {
    // The pointer state the frame turns into camera moves.
    struct InputState {
        int mouse_down = 0;
        float mouse_pos[2] = {0.0f, 0.0f};
        unsigned mouse_down_count = 0;
    } sys_infoQXnewave;

    RGBAColor backgroundColor = RGBAColor::fromRGBA(0.0, 0.0, 0.0, 1.0);
    int colormodeX = 0;
    int MoveModeX = 0;
    float sthetaAuto = 0.0f;
    float sphiAuto = 0.0f;
    int drawSW = 0;
    int displayUnnMode = 0;
    int textureMode = 0;
    int RunTextureX = 0;
    int RunbyBrainswX = 0;
    float RotateSpeedUp_value = 0.0f;
    float RotateSpeedDown_value = 0.0f;
    float RotateSpeedLeft_value = 0.0f;
    float RotateSpeedRight_value = 0.0f;
    int EnvMode = 0;
    int EnvModeChanged = 0;  // one frame applies EnvMode; taking the copy hands the request over
    float PColor_value = 0.0f;
    float FColor_value = 0.0f;
    float Color_Map_value = 0.0f;
    float Dynamic_Texture_value = 0.0f;
};

// The view of the wave-surface window. Each frame it runs its one-time GL set-up if still pending,
// follows size changes, turns a mouse drag into camera moves, steps the shared sheet once, applies the
// rotation speeds and has the tunnel drawn with its camera and texture settings. The shared instance is
// never on screen: its settings reach only the shared engine.
//
// Threads: setters and events run on the main thread and write the settings above (the shared sheet's
// changes go as requests, changeWaveDrawing). A frame (drawRect, possibly on a drawing thread) reads
// only its own copy of the settings, taken in synchronizeFrame while no frame of the view is in flight,
// and the state frames own (camera, image numbers), which the main thread reads through the copy
// shown() that each synchronisation step publishes. Frames call nothing of the window. The pictures the
// walls show are a shared immutable set the step hands over by reference; the frame makes and binds its
// own textures of them in its own context (ViewSprites).
class QXnewaveGLView : public OpenGLView, public QXnewaveViewSettings {
public:
    // What frames own: the camera they move, the image they show and the count of images the walls
    // cycle through, and whether the one-time set-up is still to run.
    struct FrameOwned {
        bool processFunc = true;  // the GL set-up is still to run
        float sphi = 0.0f;
        float stheta = 0.0f;
        float Xposition = 0.0f;
        float Yposition = 0.0f;
        float sdepth = 0.0f;
        int downX = 0;
        int downY = 0;
        int viewModeX = 0;
        int ImageNXopen = 0;
        int maxImageNXopen = 1;
    };

    static QXnewaveGLView& sharedQXnewaveGLView();

    explicit QXnewaveGLView(const QRectF& frame = QRectF());

    // What opening the media browser does (installed by the window layer); without it the view reports
    // "Failed to load MainMenuB.nib".
    static inline std::function<void(QXnewaveGLView& owner)> openMediaBrowser;

    void synchronizeFrame() override;
    void prepareOpenGL() override;
    void drawRect(const QRectF& rect) override;
    void mouseDown(const MouseEvent& event) override;
    void mouseDragged(const MouseEvent& event) override;
    void mouseUp(const MouseEvent& event) override;
    void keyDown(const KeyEvent& event) override;
    void keyUp(const KeyEvent& event) override;

    // Keys Y U I O P H J K L M restart the sheet with shape 0..9; every key is logged.
    unsigned getKey(unsigned short keyCode);
    // Picks clear colour n of `rgba_colorsNewave`; a number outside the table is ignored.
    void setColor(int n);
    void setPColor_value(float value) { PColor_value = value; }
    void setFColor_value(float value) { FColor_value = value; }
    void setColor_Map_value(float value) { Color_Map_value = value; }
    void setDynamic_Texture_value(float value) { Dynamic_Texture_value = value; }
    void setViewShowBrainSWX(int n) { drawSW = n; }
    void setimagePositionX(int n);
    void setDisplaydX(int n);
    // Draw mode 0..4; 3 and 4 also choose the height palette or the fixed image.
    void setDrawModeX(int n);
    // Texture mode 0..3 with the draw mode it needs; another n changes nothing.
    void setTextureModeX(int n);
    void setDrawSurfaceLineX(int n);
    void setDrawLargeGridX(int n);
    void setTextureEnvX(int n);
    void setReversedX(int n);
    void setRunTextureX(int n) { RunTextureX = n; }
    void setRunbyBrainswX(int n) { RunbyBrainswX = n; }
    void setRotateSpeedUpXX(float value);
    void setRotateSpeedDownXX(float value) { RotateSpeedDown_value = value; }
    void setRotateSpeedLeftXX(float value) { RotateSpeedLeft_value = value; }
    void setRotateSpeedRightXX(float value) { RotateSpeedRight_value = value; }
    // 0 rotate, 1 pan, 2 dolly; another n is ignored.
    void setMoveModeX(int n);
    void setAutoStopX(int n);
    // The camera goes back to its start for the 15- and 31-vertex sheets, as the sheet is when the
    // request comes to be carried out in order with the sheet's other changes.
    void setResetPositionX(int n);
    void setLoadTextuerX(int n);
    void setBackgroundColor(const RGBAColor& color);
    // The number of images the walls cycle through (the media browser's count once it loaded a set);
    // the next frame takes it.
    void setMaxImageNXopen(int n);
    // The pictures the walls show from the next frame on, and how many images they cycle through (the
    // media browser's, once a set it loaded is decoded). Until a set is given the view shows the wall
    // images (waveWallPictures), from the frame after they are decoded.
    void showImages(SharedPictureSet set, int count);
    // The set given, or the wall images once taken; main thread.
    const SharedPictureSet& images() const { return images_; }
    // The view's own textures: only where no frame of this view can run.
    const ViewSprites& sprites() const { return sprites_; }

    // The state frames own as the last frame left it, copied in the latest synchronisation step. Main
    // thread.
    const FrameOwned& shown() const { return shown_; }
    // The state frames own, itself: only where no frame of this view can run (a view no host shows, in
    // tests and benches).
    FrameOwned& frameOwned() { return owned_; }

    // Test aid, never set in normal use: runs inside each frame after the sheet's step and before the
    // tunnel draws (with the frame's drawing lock held), e.g. to hold a frame there.
    static inline std::function<void()> midFrameHookForTests;

private:
    struct DrawingRequests;  // touched only between or inside the wave-surface frames

    void initGL();
    void applyDrag();
    void applyRotationSpeeds();

    // Frame side: the copy of the settings, and what frames own.
    QXnewaveViewSettings drawn_;
    FrameOwned owned_;
    int initsRun_ = 0;              // one-time set-ups the frames ran
    int openedImages_ = 1;          // the media browser's image count, as the set-up reads it
    SharedPictureSet drawnImages_;  // the pictures this frame shows, and how many the walls cycle through
    int drawnImageCount_ = 0;
    ViewSprites sprites_{SpriteScene::Wave};  // textures in the context the frames draw with
    // Main thread: the published copy, and what the next synchronisation step hands over.
    FrameOwned shown_;
    int initsApplied_ = 0;  // one-time set-ups whose settings the main side took
    std::optional<int> maxImageNXopenRequest_;
    SharedPictureSet images_;
    int imageCount_ = 0;
    bool imagesGiven_ = false;  // a set was given: the wall images are not taken
    bool wallImagesAsked_ = false;
    const std::shared_ptr<int> alive_ = std::make_shared<int>(0);  // for calls that may come after the view
    const std::shared_ptr<DrawingRequests> requests_;
};

}  // namespace nupo
