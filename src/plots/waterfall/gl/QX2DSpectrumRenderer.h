#pragma once

namespace nupo {

// Material preset of the overlays and mark-size selector of the panels; nothing changes them.
inline int setPeakWFMaterialXZ = 2;
inline int setPeakWFSizeXZ = 0;

// The drawing half of the 2D spectrum engine: draws the history grids of QX2DSpectrum with whatever GL
// context is current. Once per frame the view calls displayUnnZ, which takes a history row when one is
// due, sets up the camera and draws one or two panels; a panel (drawSQZ) is the source's surface in
// one of four modes, its frame overlays, peak marks and, in the two-panel selections, the horizontal
// peak line. Model space: x the history row (0 newest), y the grid column (display column c at
// gridZ − 1 − c, so 0 Hz lies at the high y), z the height.
class QX2DSpectrumRenderer {
public:
    static QX2DSpectrumRenderer& sharedQX2DSpectrumRenderer();

    // One-time GL state of the window (depth, culling, colour material, light 0), the colour tables,
    // grid size 64, smooth lit shading; empties the histories.
    void mainNewaveZ();

    // The display entry; the arguments named in the comments are used, the others are ignored.
    void displayUnnZ(float panelAngle, float Viwe_Angle1, float Viwe_Angle2, float panelOffset, int oneBrain,
                     int towBrain, int shapeC, float sph, float sthet, float Xposi, float Yposi, float sdept,
                     int DX, int DY, int drawS, int displayUnn, int texture, int RunTexture, int RunbyBrainsw,
                     float PColor, float FColor, int startFrequency, int Coherencehigh);

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

    // Colour-scheme numbers handed to the panels (animated when RunTexture is on).
    int PColor_valueY = 0;
    int FColor_valueY = 0;
    float aspectZ = 1.5f;
    float zNearZ = 1.0f;
    float zFarZ = 1000.0f;

private:
    QX2DSpectrumRenderer() = default;

    void takeRowIfDue(int oneBrain, int shapeC, int startFrequency, int Coherencehigh);
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
