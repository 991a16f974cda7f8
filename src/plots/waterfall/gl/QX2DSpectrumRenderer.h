#pragma once

namespace nupo {

// Material preset of the overlays and mark-size selector of the panels; nothing changes them.
inline int setPeakWFMaterialXZ = 2;
inline int setPeakWFSizeXZ = 0;

// The drawing half of the 2D spectrum engine: draws the history grids of QX2DSpectrum with whatever GL
// context is current. Each frame has two steps: on the main thread, in the view's synchronisation step,
// advanceFrame takes a history row when one is due and steps the colour schemes, the view takes the
// frame's copy (WaterfallFrame) and finishFrame pushes the frame's time stamp; then, on the frame's
// thread, drawFrame sets up the camera and draws one or two panels from that copy. A panel (drawSQZ) is
// the source's surface in one of four modes, its frame overlays, peak marks and, in the two-panel
// selections, the horizontal peak line. The drawing functions read the copy of the frame being drawn
// (drawnWaterfallFrame). Model space: x the history row (0 newest), y the grid column (display column c
// at gridZ − 1 − c, so 0 Hz lies at the high y), z the height.
class QX2DSpectrumRenderer {
public:
    static QX2DSpectrumRenderer& sharedQX2DSpectrumRenderer();

    // The frame's part of the one-time set-up: GL state of the window (depth, culling, colour material,
    // light 0), the colour tables, smooth lit shading.
    void setUpDrawing();
    // The main thread's part: grid size 64, the histories emptied.
    void setUpHistory();
    // Both (a caller that draws on the main thread).
    void mainNewaveZ();

    // The main thread's step of a frame: a history row for selection oneBrain when one is due, and the
    // colour schemes of the frame (animated when RunTexture is on, else those of PColor and FColor).
    struct Palettes {
        int PColor = 0, FColor = 0;
    };
    Palettes advanceFrame(int oneBrain, int shapeC, int startFrequency, int Coherencehigh, int texture,
                          int RunTexture, float PColor, float FColor);
    // After the frame's copy was taken: the frame's time stamp, unless paused.
    void finishFrame();
    // Draws the frame from its copy: camera, then the panels of its selection.
    void drawFrame();

    // The overlay-flag record and the channel of a source's panel, in one panel or in a two-panel
    // selection; {-1, -1} for another source.
    struct PanelPlace {
        int record;
        int channel;
    };
    static PanelPlace panelPlace(int source, bool twoPanels);

    // One panel of source s (0..9): surface by mode u (0 wireframe, 1 hidden line, 2 flat, 3 smooth,
    // other none), overlays of the selection's flags, peak marks, peak line.
    void drawSQZ(int s, int drawS, int displayUnn, int textureMode, int towBrain, int PColor, int FColor,
                 int startFrequency, int Coherencehigh);

    // Grid size: 0 → 16 columns, 1 → 32, 2 → 42, 3 → 64; another n keeps it. Recomputes the texture
    // coordinates either way.
    void setSizenZ(int n);
    void getTexCoordsZ();
    // Face normals of the two triangles of every cell of height grid k (0..19; another k leaves them),
    // and the vertex normals from them. The vertex normals test the rows against the column count, so
    // the rows from gridZ − 1 on take only the faces of the row above them.
    void getFaceNormsZ(int k);
    void getVertNormsZ();

    // Surfaces of height grid n (0..19; 30 in the smooth renderer is the priming strip).
    void drawSmoothShadedZ(int n, int textureMode, int towBrain, int PColor, int FColor, int Coherencehigh);
    void drawWireframeZ(int n);
    void drawFlatShadedZ(int n);
    void drawHiddenLineZ(int n);

    // Colour-scheme numbers of the last frame advanced (main thread).
    int PColor_valueY = 0;
    int FColor_valueY = 0;
    float aspectZ = 1.5f;
    float zNearZ = 1.0f;
    float zFarZ = 1000.0f;

private:
    QX2DSpectrumRenderer() = default;

    void takeRowIfDue(int oneBrain, int shapeC, int startFrequency, int Coherencehigh);

    int drawnGeneration_ = -1;  // the history generation of the last frame drawn
    void drawOverlays(int record, int channel, int textureMode, int PColor, int FColor, int startFrequency,
                      int Coherencehigh, int towBrain, int s);
    void drawPeakMarks(int channel, int textureMode, int palette, int startFrequency);
    // The 127 strips over neighbouring rows as `primitive` (a GL primitive), with or without face normals.
    void drawStrips(int n, unsigned primitive, bool normals);
};

// Shading: 0, 1 flat unlit; 2 flat lit; 3, 4 smooth lit; other values change nothing.
void setDisplaynZ(int mode);
// Divides v by s; divides v by its length.
void scalDivZ(float v[3], float s);
void normZ(float v[3]);
// Stores the view's size in pixels for the text (font sizes, label spacing).
void myReshapeXnZ(int width, int height);

}  // namespace nupo
