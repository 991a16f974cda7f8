#include "views3d/scene/MeshRenderers.h"

#include "plots/settings/DisplaySettings.h"
#include "views3d/scene/ColorTables.h"
#include "views3d/scene/Materials.h"
#include "views3d/scene/MeshNormals.h"
#include "views3d/scene/QX3DSpectrumMesh.h"

#include <GL/gl.h>

#include <algorithm>

namespace nupo {

namespace {

using HeightGrid = QX3DSpectrumMesh::HeightGrid;

QX3DSpectrumMesh& mesh()
{
    return QX3DSpectrumMesh::sharedQX3DSpectrumMesh();
}

// The grid side in use, kept within the arrays.
int activeGrid()
{
    return std::clamp(grid.load(std::memory_order_relaxed), 0, QX3DSpectrumMesh::side);
}

// The grid of number 0..19; null for another number.
const HeightGrid* meshGrid(int N)
{
    return N >= 0 && N < QX3DSpectrum::baseGrid ? &mesh().heights(N) : nullptr;
}

// Colour and height grids of the smooth-shaded renderer: 0..19 their own grid for both, 20..27 the colour
// of grid N - 20 over the base grid.
struct SmoothGrids {
    const HeightGrid* colour = nullptr;
    const HeightGrid* height = nullptr;
};

SmoothGrids smoothGrids(int N)
{
    if (N >= MeshGrid::firstFlat && N <= MeshGrid::lastFlat)
        return {&mesh().heights(N - MeshGrid::firstFlat), &mesh().heights(QX3DSpectrum::baseGrid)};
    const HeightGrid* g = meshGrid(N);
    return {g, g};
}

// Per-vertex colouring of the smooth-shaded renderer.
struct VertexColour {
    int textureMode;
    bool direct;
    int palette;
    int columns;

    void apply(float v, int column) const
    {
        if (textureMode == 0) {
            groen_CtextureNX(int(v * 10.0f + ColorOffsetBSMixSliderX), palette);
        } else if (textureMode == 1) {
            const int shade = direct ? int(v * 20.0f) : 100 - int(v * 10.0f);
            groen_CBtextureNX(int(float(columns - 1 - column) * ColorGainBSMixSliderX), shade, palette);
        }
    }
};

// A strip of rows i and i + 1 (or i + 1 and i when swapped), columns 0 .. columns - 1, of a plain grid.
template <class Emit>
void strip(int i, int columns, bool swapped, Emit&& vertexAt)
{
    glBegin(GL_TRIANGLE_STRIP);
    for (int j = 0; j < columns; ++j) {
        vertexAt(swapped ? i + 1 : i, j);
        vertexAt(swapped ? i : i + 1, j);
    }
    glEnd();
}

}  // namespace

bool directShade(int N, int towBrain, int shapeC)
{
    switch (N) {
        case 0:
        case 20:
            return shapeC == 6 || shapeC == 7;
        case 2:
        case 12:
        case 22:
            return true;
        case 3:
        case 4:
        case 23:
        case 24:
            return towBrain == 0;
        default:
            break;
    }
    if ((N >= 5 && N <= 9) || (N >= 15 && N <= 19) || (N >= 25 && N <= 27))
        return towBrain != 0;
    return false;
}

void drawSmoothShaded(int N, int textureMode, int towBrain, int shapeC, float PColor, float FColor)
{
    QX3DSpectrumMesh& m = mesh();
    const int columns = activeGrid();
    setMaterial(setBSMaterialX);
    if (N == MeshGrid::zeroAreaStrip) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int k = 0; k < columns; ++k) {
            groen_textureNX(0);
            glNormal3fv(m.vertNorms[0][0]);
            glVertex3f(0.0f, float(k), 0.0f);
        }
        glEnd();
    }
    const SmoothGrids grids = smoothGrids(N);
    const VertexColour colour{textureMode, directShade(N, towBrain, shapeC),
                              textureMode == 0 ? int(PColor) : int(FColor), columns};
    const auto vertexAt = [&](int r, int j) {
        const float v = (*grids.colour)[r][j];
        colour.apply(v, j);
        glNormal3fv(m.vertNorms[r][j]);
        glVertex3f(float(r), float(j), (*grids.height)[r][j]);
    };
    constexpr int strips = QX3DSpectrumMesh::side - 1;
    const bool bothSides = DrawBothside != 0;
    for (int i = 0; i < strips; ++i) {
        if (!bothSides && i == strips - 1)
            setMaterial(5);
        if (grids.colour)
            strip(i, columns, false, vertexAt);
    }
    if (bothSides) {
        for (int i = 0; i < strips; ++i) {
            if (i == strips - 1)
                setMaterial(5);
            if (grids.colour)
                strip(i, columns, true, vertexAt);
        }
    }
    setMaterial(setBSMaterialX);
}

void drawWireframe(int N)
{
    const HeightGrid* g = meshGrid(N);
    const int n = activeGrid();
    glColor3f(1.0f, 1.0f, 1.0f);
    if (!g)
        return;
    for (int i = 0; i < n; ++i) {
        glBegin(GL_LINE_STRIP);
        for (int j = 0; j < n; ++j)
            glVertex3f(float(i), float(j), (*g)[i][j]);
        glEnd();
    }
    for (int j = 0; j < n; ++j) {
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i < n; ++i)
            glVertex3f(float(i), float(j), (*g)[i][j]);
        glEnd();
    }
}

namespace {

// The strips of the flat-shaded and hidden-line modes, without normals.
void plainStrips(const HeightGrid& g, int n)
{
    for (int i = 0; i < n - 1; ++i)
        strip(i, n, false, [&](int r, int j) { glVertex3f(float(r), float(j), g[r][j]); });
}

}  // namespace

void drawFlatShaded(int N)
{
    QX3DSpectrumMesh& m = mesh();
    const HeightGrid* g = meshGrid(N);
    const int n = activeGrid();
    glEnable(GL_POLYGON_OFFSET_FILL);
    glColor3f(0.8f, 0.2f, 0.8f);
    for (int i = 0; g && i < n - 1; ++i) {
        glBegin(GL_TRIANGLE_STRIP);
        glVertex3f(float(i), 0.0f, (*g)[i][0]);
        glVertex3f(float(i + 1), 0.0f, (*g)[i + 1][0]);
        for (int j = 1; j < n; ++j) {
            glNormal3fv(m.faceNorms[0][i][j - 1]);
            glVertex3f(float(i), float(j), (*g)[i][j]);
            glNormal3fv(m.faceNorms[1][i][j - 1]);
            glVertex3f(float(i + 1), float(j), (*g)[i + 1][j]);
        }
        glEnd();
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
}

void drawHiddenLine(int N)
{
    const HeightGrid* g = meshGrid(N);
    const int n = activeGrid();
    glEnable(GL_POLYGON_OFFSET_FILL);
    glColor3f(0.8f, 0.2f, 0.8f);
    if (g)
        plainStrips(*g, n);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glColor3f(1.0f, 1.0f, 1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    if (g)
        plainStrips(*g, n);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void drawTextured(int N)
{
    QX3DSpectrumMesh& m = mesh();
    const HeightGrid* g = meshGrid(N);
    const int n = activeGrid();
    const auto vertexAt = [&](int r, int j) {
        glNormal3fv(m.vertNorms[r][j]);
        glTexCoord2fv(m.texCoords[r][j]);
        glVertex3f(float(r), float(j), (*g)[r][j]);
    };
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    for (int i = 0; g && i < n - 1; ++i)
        strip(i, n, false, vertexAt);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    for (int i = 0; g && i < n - 1; ++i)
        strip(i, n, true, vertexAt);
    glDisable(GL_TEXTURE_2D);
}

namespace {

template <class Segments>
void normalSegments(const Segments& s, int n)
{
    glColor3f(1.0f, 1.0f, 1.0f);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            for (int t = 0; t < 2; ++t) {
                glBegin(GL_LINES);
                glVertex3fv(s[t][0][i][j]);
                glVertex3fv(s[t][1][i][j]);
                glEnd();
            }
        }
    }
}

}  // namespace

void drawFaceNormals()
{
    normalSegments(mesh().faceNormSegs, activeGrid());
}

void drawFaceNormalsAX()
{
    normalSegments(faceNormSegsAX, QX3DSpectrumMesh::side);
}

}  // namespace nupo
