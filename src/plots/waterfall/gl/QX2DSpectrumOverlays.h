#pragma once

namespace nupo {

class TextSpacing;

// Spacing state of the frequency labels and axis cubes (the frames' own): the minimum distance between
// two of them in model units, and the y of the last label and cube drawn in the current pass.
inline float fDisplayD = 4.0f;
inline float izz = 64.0f;
inline float izzzy = 64.0f;
// Position of the window's light, set by the horizontal peak line (the frames' own). Its own variable:
// the 3D spectrum's scene places its light from one of its own.
inline float waterfallLightPosition[4] = {0.0f, 0.0f, 1.0f, 1.0f};

// A two-sided rectangle: in the x-y plane at depth z (orientation ≠ 0) or in the x-z plane at height z.
void drawFloorXZ(int orientation, float x, float y, float width, float height, float z);
// The floor rectangle in the x-y plane at z = 0 (textureFlag has no effect).
void drawFloorAZ(int textureFlag, float x, float y, float width, float height);

// The frame around a waterfall panel of the 2D spectrum window: floor, edge strips, cubes, the value
// labels of the height axis, the frequency axis with its labels, peak marks, the key markers typed into
// the recording and the clock times of the history rows. Model space: x over the 128 history rows (0
// the newest), y over the 64 frequency rows (64 at 0 Hz), z the height. Every element leaves the
// model-view matrix as it found it and the material at the user's preset. It draws from the frame's
// copy (drawnWaterfallFrame): settings, time stamps, key markers.
class QX2DSpectrumOverlays {
public:
    static QX2DSpectrumOverlays& sharedQX2DSpectrumOverlays();

    // One frame element e translated by (x, y, z); see the element list in the source.
    void drawSQflatZ(int element, int NuA, int textureMode, float x, float y, float z, int palette,
                     int shadePalette, int channel, int startFrequency, int Coherencehigh);

    // One pass of frequency labels down the frequency axis at x = −3.
    void drawFrequencyLabelZ(int points, int band512, int textureMode, int palette, int shadePalette,
                             int startFrequency);
    // One label at y, if the spacing rule lets it.
    void drawCharInFFTZ(int label, int y, int textureMode, float palette, float shadePalette,
                        int startFrequency);
    // The frequency axis bar with a cube at each band edge (line mode ≠ 0: wide bar, every edge cube and
    // the tick cubes).
    void drawFrequencyLineY(int points, int band512, int textureMode, int lineMode, float palette,
                            float shadePalette, int startFrequency);
    // The axis bar alone.
    void drawFrequencyLineX(int points, int band512, int textureMode, int lineMode, float palette,
                            float shadePalette, int startFrequency);
    // One axis cube at (0, y, 0), if the spacing rule lets it (big cubes always).
    void drawSolidSphereWithColorY(int y, int big, int textureMode, float palette, float shadePalette);

    // A peak mark at the origin: shape 1 a torus, another shape a cube.
    void drawMark(int shape, float size);
    // A level mark at (x + 0.3, y): shape 1 the mark `ShowText` chooses, else a cube.
    void drawHorizontalLevelMark(float size, float x, float y, int shape);

    // The key marker of sample ploop − back as one character (Times Roman 24).
    void printTimeRecZ(float x, float y, int back);
    // The clock time of the frame drawn 8 × i frames ago.
    void printTimeXRecZ(float x, float y, int i, TextSpacing* spacing = nullptr);

    // Marks the light's place (draws nothing); leaves the colour yellow, lighting and 2D texturing on.
    void drawLightLocationA();

private:
    QX2DSpectrumOverlays() = default;

    void timeLabels(float yBase, float ySlope);
    void keyMarkers();
};

}  // namespace nupo
