#include "views3d/scene/QX3DSpectrumMesh.h"

#include "views3d/scene/ColorTables.h"
#include "views3d/scene/MeshControl.h"
#include "views3d/scene/MeshNormals.h"
#include "views3d/textures/ShadowApp.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <numbers>

namespace nupo {

namespace {

int activeGrid()
{
    return grid.load(std::memory_order_relaxed);
}

// Height of vertex (i, j) in reset shape `mode` on a g-vertex grid; false (height untouched) for a mode
// that has no shape.
bool resetHeight(int mode, int i, int j, int g, float& height)
{
    const float G = static_cast<float>(g);
    const bool inCentre = g / 3 < i && i < (2 * g) / 3 && g / 3 < j && j < (2 * g) / 3;
    switch (mode) {
        case 1:
            height = 0.0f;
            return true;
        case 2:
            height = i == g / 2 && j == g / 2 ? 1.5f * G : 0.0f;
            return true;
        case 3:
            height = i + j == g - 1 || i + j == g - 2 ? G / 6.0f : 0.0f;
            return true;
        case 4:
            height = i == 1 ? 0.25f * G : 0.0f;
            return true;
        case 5:
            height = inCentre ? 0.0f : 0.25f * G;
            return true;
        case 6:
            height = inCentre ? 0.25f * G : 0.0f;
            return true;
        case 7:
            height = i + j >= g - 2 ? G / 6.0f : 0.0f;
            return true;
        case 8:
            height = i > (3 * g) / 4 && j > (3 * g) / 4 ? 0.25f * G : 0.0f;
            return true;
        case 9:
        case 10: {
            const double waves = mode == 9 ? std::numbers::pi : 2.0 * std::numbers::pi;
            const double si = std::sin(waves * static_cast<float>(i / G));
            const double sj = std::sin(waves * static_cast<float>(j / G));
            height = static_cast<float>((si + sj) * G / 6.0);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

QX3DSpectrumMesh& QX3DSpectrumMesh::sharedQX3DSpectrumMesh()
{
    static QX3DSpectrumMesh* instance = new QX3DSpectrumMesh;
    return *instance;
}

void QX3DSpectrumMesh::takeGrids()
{
    QX3DSpectrum::sharedQX3DSpectrum().readGrids(
        [this](const auto& grids) { std::copy(grids.begin(), grids.end(), grids_.begin()); });
}

QX3DSpectrumMesh::HeightGrid& QX3DSpectrumMesh::heights(int n)
{
    return n >= 0 && n < QX3DSpectrum::baseGrid ? grids_[n] : grids_[QX3DSpectrum::baseGrid];
}

void QX3DSpectrumMesh::getFaceNorms(int n)
{
    const int g = activeGrid();
    getFaceNormsOf(heights(n), g, g, faceNorms);
}

void QX3DSpectrumMesh::getVertNorms()
{
    const int g = activeGrid();
    getVertNormsOf(faceNorms, g, g, vertNorms);
}

void QX3DSpectrumMesh::getFaceNormSegs(int n)
{
    const int g = activeGrid();
    getFaceNormSegsOf(heights(n), g, g, faceNorms, faceNormSegs);
}

void QX3DSpectrumMesh::getTexCoords()
{
    const int g = activeGrid();
    getTexCoordsOf(g, g, texCoords);
}

void QX3DSpectrumMesh::resetn(int mode)
{
    // Shapes: 1 flat; 2 one spike of 1.5 G in the middle; 3 a ridge G / 6 along the anti-diagonal; 4 row 1
    // at G / 4; 5 a plateau G / 4 with a hole in the central third; 6 a block G / 4 in the central third;
    // 7 G / 6 beyond the anti-diagonal; 8 a block G / 4 in the far quarter; 9 one half sine wave each way;
    // 10 one full sine wave each way. Other modes leave the heights.
    if (waving)
        waving = 0;
    if (mode != 0)
        resetnMode = mode;
    const int g = activeGrid();
    HeightGrid& posit = grids_[0];
    for (int i = 0; i < g; ++i) {
        for (int j = 0; j < g; ++j) {
            veloc[i][j] = 0.0f;
            force[i][j] = 0.0f;
            resetHeight(resetnMode, i, j, g, posit[i][j]);
            if (i == 0 || j == 0 || i == g - 1 || j == g - 1)
                posit[i][j] = 0.0f;
        }
    }
    postRedisplay();
}

void QX3DSpectrumMesh::mainNewave()
{
    AppInitAX();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glPolygonOffset(1.0f, 1.0f);
    glEnable(GL_CULL_FACE);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_DIFFUSE);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glEnable(GL_LIGHT0);
    reInitColorX();
    setSizen(3);
    dt = 0.004f;
    setDisplayn(3);
    resetn(1);
}

void QX3DSpectrumMesh::setMain(int n)
{
    switch (n) {
        case 1:
            waving = 0;
            editing = 1;
            break;
        case 2:
            gon();
            break;
        case 3:
            waving = 0;
            break;
        case 4:
            reverse();
            break;
        default:
            break;
    }
}

void QX3DSpectrumMesh::gon()
{
    waving = 1;
    editing = 0;
}

void QX3DSpectrumMesh::reverse()
{
    const int g = activeGrid();
    for (int i = 1; i < g - 1; ++i)
        for (int j = 1; j < g - 1; ++j)
            veloc[i][j] = -veloc[i][j];
    if (waving == 0)
        gon();
}

void QX3DSpectrumMesh::setSizen(int n)
{
    static constexpr int sizes[] = {16, 32, 42, 64};
    const int old = activeGrid();
    if (n >= 0 && n < 4)
        grid.store(sizes[n], std::memory_order_relaxed);
    if (old > activeGrid())
        resetn(resetnMode);
    getTexCoords();
    postRedisplay();
}

void edit()
{
    QX3DSpectrumMesh::sharedQX3DSpectrumMesh().setMain(1);
}

void keyboardn(unsigned char, int, int)
{
    postRedisplay();
}

}  // namespace nupo
