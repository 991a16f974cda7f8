#pragma once

// Small drawings of the 3D band-spectrum scene, in the scene's model coordinates (x 0..64 the history
// rows, y 0..64 the spectrum rows with 0 Hz at 64, z up): hover and peak marks, the ruler's marker cubes,
// double-sided floor quads, the brain-switch window box and a raw-wave trace. Main thread, GL context
// current.

namespace nupo {

// Shape 1: a torus of tube radius size and ring radius size / 2; any other shape: a cube of edge size.
void drawMark(int shape, float sizeX);
// A marker cube at height row: skipped (unless sizeMode is 1) when it lies less than `fDisplayDA` rows
// below the last one drawn; edge 1.0 when sizeMode is non-zero, else 0.5; coloured by colourMode (0
// palette, 1 brightest variants of variantPalette, other: as is).
void drawSolidSphereWithColor(int row, int sizeMode, int colourMode, float palette, float variantPalette);
// A double-sided quad with texture coordinates 0..2: orientation 0 horizontal at height level (corners
// (x, level, y) .. (x + w, level, y + h)), any other orientation vertical in the plane z = level.
void drawFloorX(int orientation, float x, float y, float w, float h, float level);
// A vertical quad in the plane z = 0 from (x, y) to (x + w, y + h), with whatever texture is bound.
void drawFloorA(int textured, float x, float y, float w, float h);
// The four side faces of a box over x 0..64, heights 64 - b .. 64 - a and depth c .. d.
void drawBSA(float a, float b, float c, float d);
// A brain-switch window box: flashing through palette 1 while hits > 0, otherwise glass.
void drawSQBS(int hits, float a, float b, float c, float d);
// The raw-wave trace of channel 0..3 between two tetrahedra (another channel: the tetrahedra only).
void DrawWaveX(int channel);

}  // namespace nupo
