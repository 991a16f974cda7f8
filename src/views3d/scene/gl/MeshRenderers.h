#pragma once

// The five mesh modes of the 3D spectrum landscape and the face-normal overlay. Each draws one height grid
// of the mesh, chosen by its grid number, as immediate-mode primitives in grid coordinates: vertex (i, j)
// at x = i (history row), y = j (column), z = its height. The caller places the mesh, sets the material and
// computes the normals first. Main thread, GL context current.

namespace nupo {

class QX3DSpectrumMesh;

namespace MeshGrid {
inline constexpr int zeroAreaStrip = 30;  // smooth shaded: one zero-area strip, then empty strips
inline constexpr int firstFlat = 20;      // 20..27: colour of grid N - 20 over the base grid's heights
inline constexpr int lastFlat = 27;
}  // namespace MeshGrid

// Mode 3: smooth shaded, coloured per vertex by textureMode (0 height with palette PColor, 1 column with
// palette FColor shaded by height, other: the material as set), with the underside while `DrawBothside`.
void drawSmoothShaded(int N, int textureMode, int towBrain, int shapeC, float PColor, float FColor);
// Mode 0: white row and column lines.
void drawWireframe(int N);
// Mode 1: a filled surface pushed back by the polygon offset, with white lines over it.
void drawHiddenLine(int N);
// Mode 2: flat shaded by the face normals.
void drawFlatShaded(int N);
// Mode 4: textured with whatever 2D texture is bound, both sides; the triangles seen edge-on
// (EdgeOnGuard) after the others, without anisotropic filtering.
void drawTextured(int N);
// How many triangles the last textured draw set apart as seen edge-on.
int texturedEdgeOnTriangles();
// Normal segments of the grid last given to getFaceNormSegs, as white lines.
void drawFaceNormals();
// The same for the flat floor mesh.
void drawFaceNormalsAX();

// Shade rule of the column colouring (textureMode 1): true when grid N's shade grows with the height,
// false when it is inverted.
bool directShade(int N, int towBrain, int shapeC);

}  // namespace nupo
