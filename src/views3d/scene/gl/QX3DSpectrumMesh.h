#pragma once

#include "analysis/QX3DSpectrum.h"

#include <array>

namespace nupo {

// The mesh half of the 3D spectrum engine: the height landscape each source is drawn as, with its
// normals, normal segments, texture coordinates, reset shapes, grid size and the engine's one-time GL
// set-up. The heights are a copy of the data mapper's grids taken once per frame (`takeGrids`); every
// array is sized for the largest grid (64) and only the top-left `grid` x `grid` part is used, so changing
// the grid size never allocates. Main thread, with the 3D view's GL context current.
class QX3DSpectrumMesh {
public:
    static constexpr int side = QX3DSpectrum::size;
    using HeightGrid = QX3DSpectrum::HeightGrid;

    static QX3DSpectrumMesh& sharedQX3DSpectrumMesh();

    // Copies every height grid of the data mapper, in one call under its lock.
    void takeGrids();
    // Height grid n: 0..9 `posit`, `positB` .. `positJ`, 10..19 `positX` .. `positXJ`, any other n
    // `posit0`.
    HeightGrid& heights(int n);

    // Face normals of grid n into `faceNorms`.
    void getFaceNorms(int n);
    // Vertex normals from `faceNorms` into `vertNorms`.
    void getVertNorms();
    // Normal segments of grid n into `faceNormSegs`; getFaceNorms(n) must run first.
    void getFaceNormSegs(int n);
    // Texture coordinates for the current `grid`.
    void getTexCoords();
    // Stops the animation, stores a non-zero mode as `resetnMode`, zeroes force and velocity and shapes
    // `posit` by the stored mode (table in the source), its border always flat.
    void resetn(int mode);
    // One-time GL and engine set-up.
    void mainNewave();
    // Wave menu: 1 edit, 2 go, 3 stop, 4 reverse.
    void setMain(int n);

    // Starts the animation.
    void gon();
    // Negates the velocity of every interior vertex and starts the animation if it is not running.
    void reverse();
    // n 0..3: grid 16, 32, 42, 64 (another n keeps it); a shrinking grid is reset to `resetnMode`; texture
    // coordinates follow.
    void setSizen(int n);

    float force[side][side] = {};
    float veloc[side][side] = {};
    float vertNorms[side][side][3] = {};
    float faceNorms[2][side][side][3] = {};
    float faceNormSegs[2][2][side][side][3] = {};
    float positText[side][side] = {};
    float texCoords[side][side][2] = {};

private:
    QX3DSpectrumMesh() = default;

    std::array<HeightGrid, QX3DSpectrum::gridCount> grids_{};
};

// Free functions of the mesh engine.
void edit();
void keyboardn(unsigned char key, int x, int y);

}  // namespace nupo
