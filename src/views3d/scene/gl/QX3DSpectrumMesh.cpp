#include "views3d/scene/gl/QX3DSpectrumMesh.h"

#include "platform/gl/ColorTables.h"
#include "platform/gl/MeshNormals.h"
#include "platform/gl/MeshShading.h"
#include "views3d/scene/gl/MeshControl.h"
#include "views3d/scene/gl/MeshShapes.h"
#include "views3d/textures/gl/ShadowApp.h"

#include <GL/gl.h>

#include <cstdio>

namespace nupo {

namespace {

int activeGrid()
{
    return grid.load(std::memory_order_relaxed);
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
    // The shapes are those of MeshShapes.h with quarter 0.25 G and sixth G / 6.
    if (waving)
        waving = 0;
    if (mode != 0)
        resetnMode = mode;
    const int g = activeGrid();
    const float quarter = 0.25f * static_cast<float>(g);
    const float sixth = static_cast<float>(g) / 6.0f;
    HeightGrid& posit = grids_[0];
    for (int i = 0; i < g; ++i) {
        for (int j = 0; j < g; ++j) {
            veloc[i][j] = 0.0f;
            force[i][j] = 0.0f;
            meshShapeHeight(resetnMode, i, j, g, quarter, sixth, posit[i][j]);
            if (i == 0 || j == 0 || i == g - 1 || j == g - 1)
                posit[i][j] = 0.0f;
        }
    }
    postRedisplay();
}

void QX3DSpectrumMesh::mainNewave()
{
    AppInitAX();
    setUpMeshRendering(lightPosition);
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
