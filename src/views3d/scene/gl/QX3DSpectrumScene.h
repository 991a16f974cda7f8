#pragma once

// The drawing half of the 3D band-spectrum engine: one call draws a whole frame of the scene with the
// current GL context, after running the spectrum data mapper's step for the shown sources. It reads its
// settings from the frame's SceneInputs; frames of the 3D views draw one at a time (their class's drawing
// lock), each on its view's drawing thread.

namespace nupo {

// What the 3D view hands the composer for one frame. The fields keep the names of the composer's
// arguments; those marked "no effect" are accepted and ignored.
struct SceneFrame {
    float displayUnn = 35.0f;   // fan angle of the first set's side tiles (degrees)
    float Viwe_Angle1 = 35.0f;  // fan angle of the second set's side tiles
    float Viwe_Angle2 = 35.0f;  // fan angle of the third set's tiles
    float Viwe_Mode = 0.0f;     // sideways spread of the middle tiles
    int oneBrain = 0;           // non-zero: one set of three tiles only
    int towBrain = 0;           // 0 two sets, non-zero three sets (all ten sources)
    int shapeC = 2;             // 0 set of CH 1 and CH 2, 1 set of CH 3 and CH 4, 2..11 source shapeC - 2
    float sph = 0.0f;           // camera turn (degrees)
    float sthet = 0.0f;         // camera tilt (degrees)
    float Xposi = 0.0f;         // camera pan
    float Yposi = 0.0f;
    float sdept = 100.0f;    // camera distance
    int DX = 0, DY = 0;      // no effect
    int drawS = 0;           // draw each tile's brain-switch surface and marks
    int displayUnnMode = 3;  // mesh mode 0..4 (`displayUnn:`, the 16th argument)
    int texture = 0;         // 0 palette PColor, 1 palette FColor, 2 image Color_Map, 3 image Dynamic_Texture
    int RunTexture = 0;      // non-zero: step the image or palette every frame
    int RunbyBrainsw = 0;    // no effect
    int Env = 0;             // sphere-mapped texture environment on or off
    int EnvModeC = 0;        // non-zero: apply Env at the end of this frame
    int ImageNX = 0;         // current image number
    int maxImageNX = 0;      // number of loaded images
    float PColor = 1.0f;     // palette 0..5 of texture mode 0
    float FColor = 1.0f;     // palette 0..5 of texture mode 1
    float Color_Map = 0.0f;  // image of texture mode 2
    float Dynamic_Texture = 0.0f;  // image of texture mode 3
    int drawM = 1;                 // draw the main surfaces and their elements
    int TopNON = 0;                // top-view variant of the multi-tile layout
    int startFrequency = 0;        // first display row shown
};

class QX3DSpectrumScene {
public:
    static QX3DSpectrumScene& sharedQX3DSpectrumScene();

    // One frame: the data step, then drawFrame.
    int displayUnn(const SceneFrame& frame);
    // The spectrum data mapper's step for the frame's layout and this frame's copy of the grids; the
    // frame cycle runs it before drawing.
    void runDataStep(const SceneFrame& frame);
    // Draws a frame from the grids of the last data step: projection and camera, image or palette, every
    // tile of the layout at its placement, the hover marks and source names at the overview camera, the
    // time row and the texture environment. Returns the image number after this frame's stepping (hand it
    // back as ImageNX next frame).
    int drawFrame(const SceneFrame& frame);

    // timeRec[0] := t, then every entry moves one place up: entry k (k >= 1) holds the value of k - 1
    // calls ago.
    void setupTimeNumber(long t);

    // One tile (0..9, 20, 21; another tile draws nothing) in the frame the composer set up: its surface,
    // brain-switch surface and marks, scene elements, brain-switch windows and peak marks.
    void drawSQ(int tile, int drawS, int displayUnn, int textureMode, int towBrain, int shapeC, int PColor,
                int FColor, int drawM, int startFrequency);

    // Highlights window 0..7 of source 0..9 from the next frame; another window highlights none, another
    // source stops the highlighting. setOffFlashBSdisplay also asks the next tile drawn to show every
    // window of the selected source unhighlighted once. They only store the choice, so they may be called
    // at any time on the main thread.
    void setONFlashBSdisplay(int window, int NUPOchannel);
    void setOffFlashBSdisplay(int window, int NUPOchannel);

    // Applies the flash requests to the brain-switch records as the frame's tiles would, in drawing
    // order: for a frame that draws from a copy of the records (SceneInputs::flashApplied), on the main
    // thread in its synchronisation step.
    static void applyFlashRequests(const SceneFrame& frame);

    // Source 0..9 shown on a tile in a layout; -1 for tiles 20 and 21 and for a tile or layout outside
    // the tables.
    static int sourceOfTile(int tile, int towBrain, int shapeC);
    // Tile of source 0..9 in a single-source view; -1 for another source.
    static int tileOfSource(int source);

private:
    void drawHoverMarks();
};

}  // namespace nupo
