#include "views3d/scene/gl/MeshRenderers.h"

#include "platform/gl/ColorTables.h"
#include "platform/gl/GridMesh.h"
#include "plots/frame/gl/FloorNormals.h"
#include "views3d/scene/gl/FacingCull.h"
#include "views3d/scene/gl/Materials.h"
#include "views3d/scene/gl/QX3DSpectrumMesh.h"
#include "views3d/scene/gl/SceneInputs.h"
#include "views3d/textures/gl/EdgeOnGuard.h"

#include <GL/gl.h>

#include <algorithm>
#include <map>
#include <span>
#include <tuple>
#include <vector>

// The renderers' caches are the 3D frames' own and live to process end: a drawing thread left to finish
// its frame as the program ends may still use them.

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
    float offset;  // the colour offset and gain of the display options
    float gain;

    // The colour of a vertex of value v in a column; null when the texture mode sets none.
    const float* of(float v, int column) const
    {
        if (textureMode == 0)
            return colour_CtextureNX(int(v * 10.0f + offset), palette);
        if (textureMode == 1)
            return colour_CBtextureNX(int(float(columns - 1 - column) * gain), shade(v), palette);
        return nullptr;
    }
    void apply(float v, int column) const
    {
        if (textureMode == 0)
            groen_CtextureNX(int(v * 10.0f + offset), palette);
        else if (textureMode == 1)
            groen_CBtextureNX(int(float(columns - 1 - column) * gain), shade(v), palette);
    }
    int shade(float v) const { return direct ? int(v * 20.0f) : 100 - int(v * 10.0f); }
};

// The smooth-shaded surface as vertex arrays: one vertex per grid point with its colour, normal and
// position, row after row, and the strips as the triangles they make. The colour goes in through the colour
// material (front ambient and diffuse), which gives the lit colour that per-vertex material calls give,
// since the tables' ambient and diffuse entries share their RGB and the lit alpha is the diffuse alpha (1).
// Strips drawn under a material with a colour material of its own (the glass presets), and the strip
// beside them, keep the per-vertex calls. With both sides drawn, face culling discards about half the
// triangles; those are left out before the draw.
struct SmoothArrays {
    struct Vertex {
        float colour[4];
        float normal[3];
        float position[3];
    };
    static constexpr int rows = QX3DSpectrumMesh::side;
    Vertex vertices[rows * QX3DSpectrumMesh::side];
    int columns = 0;
    std::vector<GridMesh::Index> pending;
    FacingCull cull;
    bool coloured = false;

    void fill(const HeightGrid& colourGrid, const HeightGrid& heightGrid, const float (&normals)[64][64][3],
              const VertexColour& colour, int columnCount)
    {
        columns = columnCount;
        coloured = colour.textureMode == 0 || colour.textureMode == 1;
        for (int r = 0; r < rows; ++r)
            for (int j = 0; j < columns; ++j) {
                Vertex& v = vertices[r * columns + j];
                if (coloured)
                    std::copy_n(colour.of(colourGrid[r][j], j), 4, v.colour);
                std::copy_n(normals[r][j], 3, v.normal);
                v.position[0] = float(r);
                v.position[1] = float(j);
                v.position[2] = heightGrid[r][j];
            }
        cull.begin();
        if (cull.active())
            cull.project(vertices[0].position, sizeof(Vertex), rows * columns);
    }

    // Adds strips 0 .. count - 1, in their order and winding, to the triangles of the next draw.
    void addStrips(int count, bool swapped)
    {
        // The index lists depend only on the grid's columns; kept from frame to frame.
        static auto& lists = *new std::map<std::tuple<int, int, bool>, std::vector<GridMesh::Index>>;
        auto [at, added] = lists.try_emplace({columns, count, swapped});
        if (added)
            at->second = GridMesh::stripTriangles(columns, 0, count, swapped);
        pending.insert(pending.end(), at->second.begin(), at->second.end());
    }

    // Draws the triangles added since the last draw in one call.
    void draw()
    {
        if (pending.empty())
            return;
        begin();
        const std::span<const GridMesh::Index> kept = cull.keep(pending);
        if (!kept.empty())
            glDrawRangeElements(GL_TRIANGLES, 0, GLuint(rows * columns - 1), GLsizei(kept.size()),
                                GL_UNSIGNED_INT, kept.data());
        end();
        pending.clear();
    }

    // The current colour is left as it was: the per-vertex calls change the material, not the colour, and
    // a glass preset that follows takes its ambient from the current colour.
    GLfloat currentColour[4];

    void begin()
    {
        glGetFloatv(GL_CURRENT_COLOR, currentColour);
        glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, sizeof(Vertex), vertices[0].position);
        glNormalPointer(GL_FLOAT, sizeof(Vertex), vertices[0].normal);
        if (coloured) {
            glEnableClientState(GL_COLOR_ARRAY);
            glColorPointer(4, GL_FLOAT, sizeof(Vertex), vertices[0].colour);
            glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
            glEnable(GL_COLOR_MATERIAL);
        }
    }

    void end()
    {
        if (coloured)
            glDisable(GL_COLOR_MATERIAL);
        glPopClientAttrib();
        glColor4fv(currentColour);
    }
};

// Index lists of an n x n grid, built once per grid side and kept.
struct GridLists {
    std::vector<GridMesh::Index> rowLines, columnLines, strips, swappedStrips;
};

const GridLists& gridLists(int n)
{
    static auto& lists = *new std::map<int, GridLists>;
    auto [at, added] = lists.try_emplace(n);
    if (added) {
        at->second.rowLines = GridMesh::rowLines(n, n);
        at->second.columnLines = GridMesh::columnLines(n, n);
        at->second.strips = GridMesh::stripTriangles(n, 0, n - 1, false);
        at->second.swappedStrips = GridMesh::stripTriangles(n, 0, n - 1, true);
    }
    return at->second;
}

// The n x n vertices (i, j, height) of a grid, row after row, for the line and plain-strip modes; the
// normals and texture coordinates of the textured mode beside them.
struct PlainArrays {
    static constexpr int side = QX3DSpectrumMesh::side;
    float positions[side * side][3];
    float normals[side * side][3];
    float texCoords[side * side][2];

    void fill(const HeightGrid& g, int n)
    {
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                float* p = positions[i * n + j];
                p[0] = float(i);
                p[1] = float(j);
                p[2] = g[i][j];
            }
    }
    void fillSurface(const QX3DSpectrumMesh& m, int n)
    {
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                std::copy_n(m.vertNorms[i][j], 3, normals[i * n + j]);
                std::copy_n(m.texCoords[i][j], 2, texCoords[i * n + j]);
            }
    }
};

// Sets apart the triangles of a textured draw that are seen edge-on (EdgeOnGuard): the others keep their
// order. Grown, never shrunk.
class EdgeOnSplit {
public:
    // The edge-on triangles of `triangles` (indices into the arrays' n x n vertices); none when the bound
    // texture is not filtered anisotropically or no triangle is edge-on, and then others() is not set.
    std::span<const GridMesh::Index> apart(EdgeOnGuard& guard, const PlainArrays& a, int n,
                                           std::span<const GridMesh::Index> triangles)
    {
        lastCount = 0;
        if (triangles.empty() || !guard.begin())
            return {};
        corners_.resize(std::size_t(n * n));
        for (int k = 0; k < n * n; ++k)
            corners_[std::size_t(k)] = guard.place(a.positions[k], a.normals[k], a.texCoords[k]);
        others_.clear();
        edgeOn_.clear();
        const std::size_t count = triangles.size() - triangles.size() % 3;
        for (std::size_t t = 0; t < count; t += 3) {
            const GridMesh::Index* corner = &triangles[t];
            const bool edge =
                EdgeOnGuard::edgeOn(corners_[corner[0]], corners_[corner[1]], corners_[corner[2]]);
            auto& to = edge ? edgeOn_ : others_;
            to.insert(to.end(), corner, corner + 3);
        }
        lastCount = int(edgeOn_.size() / 3);
        return edgeOn_;
    }
    std::span<const GridMesh::Index> others() const { return others_; }
    int lastCount = 0;  // edge-on triangles of the last draw

private:
    std::vector<TexturedCorner> corners_;
    std::vector<GridMesh::Index> others_;
    std::vector<GridMesh::Index> edgeOn_;
};

EdgeOnSplit& edgeOnSplit()
{
    static auto& split = *new EdgeOnSplit;
    return split;
}

PlainArrays& plainArrays()
{
    static auto& arrays = *new PlainArrays;
    return arrays;
}

// The plain arrays' positions as the vertex array for the draws within its scope.
struct PositionsOnly {
    PositionsOnly()
    {
        glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, plainArrays().positions);
    }
    ~PositionsOnly() { glPopClientAttrib(); }
    PositionsOnly(const PositionsOnly&) = delete;
    PositionsOnly& operator=(const PositionsOnly&) = delete;
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
    const DisplaySettingsCopy& display = sceneInputs().display;
    const int bsMaterial = display.setBSMaterialX;
    setMaterial(bsMaterial);
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
    const VertexColour colour{
        textureMode, directShade(N, towBrain, shapeC), textureMode == 0 ? int(PColor) : int(FColor),
        columns,     display.ColorOffsetBSMixSliderX,  display.ColorGainBSMixSliderX};
    constexpr int strips = QX3DSpectrumMesh::side - 1;
    const bool bothSides = display.DrawBothside != 0;
    if (!grids.colour || columns == 0) {
        // No vertex to draw: only the material calls.
        if (!bothSides)
            setMaterial(5);
        if (bothSides)
            setMaterial(5);
        setMaterial(bsMaterial);
        return;
    }

    const auto vertexAt = [&](int r, int j) {
        colour.apply((*grids.colour)[r][j], j);
        glNormal3fv(m.vertNorms[r][j]);
        glVertex3f(float(r), float(j), (*grids.height)[r][j]);
    };
    static auto& arrays = *new SmoothArrays;
    // Whether the material in force tracks the current colour itself (the glass presets do).
    const auto glass = [] { return glIsEnabled(GL_COLOR_MATERIAL) != GL_FALSE; };
    bool perVertexCalls = glass();
    if (!perVertexCalls)
        arrays.fill(*grids.colour, *grids.height, m.vertNorms, colour, columns);
    // Strips drawn from the arrays are gathered and drawn in one call before the first strip that needs
    // the per-vertex calls, so the order of the strips is kept.
    const auto pass = [&](bool swapped) {
        // The last strip of the back pass, and of the front pass when it is the only one, is glass. The
        // strip beside it shares its edge row: drawn the same way, the edge gets the same depths and the
        // glass blends over exactly the pixels it did.
        const bool glassEnd = swapped || !bothSides;
        const int arrayStrips = perVertexCalls ? 0 : (glassEnd ? strips - 2 : strips);
        arrays.addStrips(arrayStrips, swapped);
        for (int i = arrayStrips; i < strips; ++i) {
            arrays.draw();
            if (i == strips - 1 && glassEnd) {
                setMaterial(5);
                perVertexCalls = true;
            }
            strip(i, columns, swapped, vertexAt);
        }
    };
    // With both sides the front pass keeps its material throughout; so does the back pass until its last
    // strip.
    pass(false);
    if (bothSides)
        pass(true);
    arrays.draw();
    // The current normal as the per-vertex calls leave it.
    glNormal3fv(bothSides ? m.vertNorms[strips - 1][columns - 1] : m.vertNorms[strips][columns - 1]);
    setMaterial(bsMaterial);
}

void drawWireframe(int N)
{
    const HeightGrid* g = meshGrid(N);
    const int n = activeGrid();
    glColor3f(1.0f, 1.0f, 1.0f);
    if (!g || n < 2)
        return;
    // The row and column line strips as the separate segments they are made of.
    plainArrays().fill(*g, n);
    const GridLists& lists = gridLists(n);
    const PositionsOnly arrays;
    drawGridElements(GL_LINES, lists.rowLines, n * n);
    drawGridElements(GL_LINES, lists.columnLines, n * n);
}

namespace {

// The strips of the hidden-line mode, without normals, from the plain arrays.
void plainStrips(int n)
{
    drawGridElements(GL_TRIANGLES, gridLists(n).strips, n * n);
}

}  // namespace

namespace {

// The flat-shaded strips as vertex arrays. Each strip has vertices of its own, since a grid point takes
// the normal of the face before it, which differs from strip to strip: vertex k of strip i at
// i * 2n + k, in the strip's order, the first two with the normal current before them.
struct FlatArrays {
    static constexpr int side = QX3DSpectrumMesh::side;
    float positions[(side - 1) * 2 * side][3];
    float normals[(side - 1) * 2 * side][3];

    void fill(const HeightGrid& g, const float (&faceNorms)[2][side][side][3], int n,
              const float* startNormal)
    {
        const float* normal = startNormal;
        for (int i = 0; i < n - 1; ++i) {
            const int base = i * 2 * n;
            for (int k = 0; k < 2 * n; ++k) {
                const int row = i + k % 2, j = k / 2;
                if (j >= 1)
                    normal = faceNorms[k % 2][i][j - 1];
                std::copy_n(normal, 3, normals[base + k]);
                float* p = positions[base + k];
                p[0] = float(row);
                p[1] = float(j);
                p[2] = g[row][j];
            }
        }
    }
};

// Triangles of strips whose vertices run on from strip to strip, 2n to a strip.
const std::vector<GridMesh::Index>& flatStripTriangles(int n)
{
    static auto& lists = *new std::map<int, std::vector<GridMesh::Index>>;
    auto [at, added] = lists.try_emplace(n);
    if (added)
        for (int i = 0; i < n - 1; ++i) {
            const auto base = GridMesh::Index(i * 2 * n);
            // Triangle k of a strip is (k, k + 1, k + 2) for even k and (k + 1, k, k + 2) for odd k.
            for (int k = 0; k + 2 < 2 * n; ++k) {
                const bool odd = k % 2 == 1;
                at->second.insert(at->second.end(),
                                  {base + GridMesh::Index(odd ? k + 1 : k),
                                   base + GridMesh::Index(odd ? k : k + 1), base + GridMesh::Index(k + 2)});
            }
        }
    return at->second;
}

}  // namespace

void drawFlatShaded(int N)
{
    QX3DSpectrumMesh& m = mesh();
    const HeightGrid* g = meshGrid(N);
    const int n = activeGrid();
    glEnable(GL_POLYGON_OFFSET_FILL);
    glColor3f(0.8f, 0.2f, 0.8f);
    if (g && n >= 2) {
        static auto& arrays = *new FlatArrays;
        GLfloat startNormal[3];
        glGetFloatv(GL_CURRENT_NORMAL, startNormal);
        arrays.fill(*g, m.faceNorms, n, startNormal);
        glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, arrays.positions);
        glNormalPointer(GL_FLOAT, 0, arrays.normals);
        drawGridElements(GL_TRIANGLES, flatStripTriangles(n), (n - 1) * 2 * n);
        glPopClientAttrib();
        // The current normal as the strips leave it.
        glNormal3fv(arrays.normals[(n - 1) * 2 * n - 1]);
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
}

void drawHiddenLine(int N)
{
    const HeightGrid* g = meshGrid(N);
    const int n = activeGrid();
    const bool drawn = g && n >= 2;
    if (drawn)
        plainArrays().fill(*g, n);
    const PositionsOnly arrays;
    glEnable(GL_POLYGON_OFFSET_FILL);
    glColor3f(0.8f, 0.2f, 0.8f);
    if (drawn)
        plainStrips(n);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glColor3f(1.0f, 1.0f, 1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    if (drawn)
        plainStrips(n);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

int texturedEdgeOnTriangles()
{
    return edgeOnSplit().lastCount;
}

void drawTextured(int N)
{
    QX3DSpectrumMesh& m = mesh();
    const HeightGrid* g = meshGrid(N);
    const int n = activeGrid();
    glColor3f(1.0f, 1.0f, 1.0f);
    if (!g || n < 2)
        return;
    // The top strips, then the same strips wound the other way for the underside, in one draw; the
    // current normal and texture coordinate are left as the last vertex of the underside leaves them.
    PlainArrays& a = plainArrays();
    a.fill(*g, n);
    a.fillSurface(m, n);
    const GridLists& lists = gridLists(n);
    static auto& bothSides = *new std::vector<GridMesh::Index>;
    bothSides.assign(lists.strips.begin(), lists.strips.end());
    bothSides.insert(bothSides.end(), lists.swappedStrips.begin(), lists.swappedStrips.end());
    static auto& cull = *new FacingCull;
    cull.begin();
    if (cull.active())
        cull.project(a.positions[0], sizeof a.positions[0], n * n);
    std::span<const GridMesh::Index> kept = cull.keep(bothSides);
    // Triangles seen edge-on are drawn after the others, without anisotropic filtering.
    static auto& guard = *new EdgeOnGuard;
    EdgeOnSplit& split = edgeOnSplit();
    const std::span<const GridMesh::Index> edgeOn = split.apart(guard, a, n, kept);
    glEnable(GL_TEXTURE_2D);
    {
        const PositionsOnly arrays;
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glNormalPointer(GL_FLOAT, 0, a.normals);
        glTexCoordPointer(2, GL_FLOAT, 0, a.texCoords);
        const auto draw = [n](std::span<const GridMesh::Index> triangles) {
            if (!triangles.empty())
                glDrawRangeElements(GL_TRIANGLES, 0, GLuint(n * n - 1), GLsizei(triangles.size()),
                                    GL_UNSIGNED_INT, triangles.data());
        };
        if (edgeOn.empty()) {
            draw(kept);
        } else {
            draw(split.others());
            guard.withoutAnisotropy([&] { draw(edgeOn); });
        }
    }
    glDisable(GL_TEXTURE_2D);
    // The last vertex of the underside strips is (n - 2, n - 1).
    glNormal3fv(m.vertNorms[n - 2][n - 1]);
    glTexCoord2fv(m.texCoords[n - 2][n - 1]);
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
