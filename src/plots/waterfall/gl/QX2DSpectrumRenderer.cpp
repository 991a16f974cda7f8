#include "plots/waterfall/gl/QX2DSpectrumRenderer.h"

#include "platform/gl/ColorTables.h"
#include "platform/gl/Glut.h"
#include "platform/gl/GridMesh.h"
#include "platform/gl/MeshNormals.h"
#include "platform/gl/MeshShading.h"
#include "platform/gl/VectorMath.h"
#include "plots/settings/DisplaySettings.h"
#include "plots/waterfall/QX2DSpectrum.h"
#include "plots/waterfall/gl/QX2DSpectrumOverlays.h"
#include "plots/waterfall/gl/QX2DSpectrumPeakLine.h"
#include "plots/waterfall/gl/WaterfallColours.h"
#include "plots/waterfall/gl/WaterfallFrame.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <vector>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

QX2DSpectrum& model()
{
    return QX2DSpectrum::sharedQX2DSpectrum();
}

const WaterfallFrame& frame()
{
    return drawnWaterfallFrame();
}

const DisplaySettingsCopy& settings()
{
    return frame().display;
}

// The columns the frame draws.
int columnsInUse()
{
    return std::clamp(frame().columns, 1, waterfallColumns);
}

// Coherence grids: sources C, F..J and their counterparts in the second set.
bool coherenceGrid(int n)
{
    const int source = n >= 10 ? n - 10 : n;
    return QX2DSpectrum::isCoherenceSource(source);
}

// Panel record (row of displayMode2DX) and channel of a source, for one panel and for the two-panel
// selections.
using PanelPlace = QX2DSpectrumRenderer::PanelPlace;
constexpr PanelPlace singlePanel[waterfallSources] = {{2, 0}, {3, 1}, {6, 4}, {4, 2},  {5, 3},
                                                      {7, 5}, {8, 6}, {9, 7}, {10, 8}, {11, 9}};
constexpr PanelPlace pairedPanel[waterfallSources] = {{0, 0}, {0, 1}, {4, 0}, {1, 2}, {1, 3},
                                                      {5, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 0}};

// The (SampleSpeed, fftp) pairs with a bin width of 0.46875 Hz, the scale of the peak line's stripes.
bool peakLineScale(int rate, int points)
{
    return (rate == 120 && points == 256) || (rate == 240 && points == 512) ||
           (rate == 480 && points == 1024) || (rate == 960 && points == 2048) ||
           (rate == 1920 && points == 4096);
}

// A history grid as one vertex array (vertex (i, j) at (i, j, height)) and the index lists that draw it,
// kept for the column count in use.
struct GridArrays {
    int columns = 0;
    std::vector<float> positions;
    std::vector<GridMesh::Index> rowLines, columnLines, triangles, outlines;

    void load(const QX2DSpectrum::FloatGrid& grid, int g)
    {
        constexpr int rows = QX2DSpectrum::rows;
        if (g != columns) {
            columns = g;
            rowLines = GridMesh::rowLines(rows, g);
            columnLines = GridMesh::columnLines(rows, g);
            triangles = GridMesh::stripTriangles(g, 0, rows - 1, false);
            outlines = GridMesh::stripOutlines(g, 0, rows - 1);
        }
        positions.resize(static_cast<std::size_t>(rows) * g * 3);
        float* p = positions.data();
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < g; ++j) {
                *p++ = static_cast<float>(i);
                *p++ = static_cast<float>(j);
                *p++ = grid[i][j];
            }
        glVertexPointer(3, GL_FLOAT, 0, positions.data());
    }
    int vertexCount() const { return QX2DSpectrum::rows * columns; }

    // The vertex normals of the grid loaded last, in the order of its vertices, as the normal array.
    std::vector<float> normals;
    void loadNormals(const QX2DSpectrum& engine)
    {
        normals.resize(positions.size());
        float* n = normals.data();
        for (int i = 0; i < QX2DSpectrum::rows; ++i)
            for (int j = 0; j < columns; ++j)
                for (int c = 0; c < 3; ++c)
                    *n++ = engine.vertNormsZ[i][j][c];
        glNormalPointer(GL_FLOAT, 0, normals.data());
    }
};

GridArrays& gridArrays()
{
    static GridArrays arrays;  // main thread only, like the GL context
    return arrays;
}

// Client vertex array on for the life of the object; the caller's state is restored after.
class VertexArrayScope {
public:
    VertexArrayScope()
    {
        glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
        glEnableClientState(GL_VERTEX_ARRAY);
    }
    ~VertexArrayScope() { glPopClientAttrib(); }
    VertexArrayScope(const VertexArrayScope&) = delete;
    VertexArrayScope& operator=(const VertexArrayScope&) = delete;
};

}  // namespace

QX2DSpectrumRenderer& QX2DSpectrumRenderer::sharedQX2DSpectrumRenderer()
{
    static QX2DSpectrumRenderer* instance = new QX2DSpectrumRenderer;  // lives to process end
    return *instance;
}

void setDisplaynZ(int mode)
{
    applyMeshShading(mode);
}

void scalDivZ(float v[3], float s)
{
    scalDiv(v, s);
}

void normZ(float v[3])
{
    norm(v);
}

void myReshapeXnZ(int width, int height)
{
    xsizeZ = width;
    ysizeZ = height;
}

void QX2DSpectrumRenderer::setUpDrawing()
{
    setUpMeshRendering(model().lightPositionZ);
    setColorXZ();
    reInitColorXZZ();
    reInitColorX();
    setDisplaynZ(3);
}

void QX2DSpectrumRenderer::setUpHistory()
{
    setSizenZ(3);
    model().initPositionZ();
}

void QX2DSpectrumRenderer::mainNewaveZ()
{
    setUpDrawing();
    setUpHistory();
}

void QX2DSpectrumRenderer::setSizenZ(int n)
{
    static constexpr int sizes[4] = {16, 32, 42, 64};
    if (n >= 0 && n < 4)
        gridZ = sizes[n];
    getTexCoordsZ();
}

void QX2DSpectrumRenderer::getTexCoordsZ()
{
    getTexCoordsOf(QX2DSpectrum::rows, std::clamp(gridZ, 1, waterfallColumns), model().texCoordsZ);
}

void QX2DSpectrumRenderer::getFaceNormsZ(int k)
{
    if (const QX2DSpectrum::FloatGrid* grid = frame().heightGrid(k))
        getFaceNormsOf(*grid, QX2DSpectrum::rows, columnsInUse(), model().faceNormsZ);
}

void QX2DSpectrumRenderer::getVertNormsZ()
{
    const int g = columnsInUse();
    getVertNormsOf(model().faceNormsZ, QX2DSpectrum::rows, g, model().vertNormsZ, g - 1);
}

void QX2DSpectrumRenderer::drawSmoothShadedZ(int n, int textureMode, int, int PColor, int FColor,
                                             int Coherencehigh)
{
    QX2DSpectrum& engine = model();
    const int g = columnsInUse();
    const QX2DSpectrum::FloatGrid* grid = frame().heightGrid(n);
    const bool coherence = coherenceGrid(n);
    const bool invertedRamp = coherence && n < 10 && Coherencehigh == 1;
    const float offset = settings().ColorOffsetSliderX;
    const double gain = settings().ColorGainSliderX;
    const auto vertex = [&](int r, int j) {
        const float v = (*grid)[r][j];
        if (textureMode == 0) {
            const double index = invertedRamp ? (10.0 - v) * 20.0 + offset : v * 10.0 + offset;
            groen_CtextureNXZ(colourIndexOf(index), PColor);
        } else if (textureMode == 1) {
            const int shade = coherence ? colourIndexOf(v * 20.0) : 100 - colourIndexOf(v * 10.0);
            groen_CBtextureNXZ(colourIndexOf((g - 1 - j) * gain), shade, FColor);
        }
        glNormal3fv(engine.vertNormsZ[r][j]);
        glVertex3f(static_cast<float>(r), static_cast<float>(j), v);
    };

    setMaterial2D(settings().setMaterialX);
    if (n == 30) {
        // A strip along one line: it covers no area.
        glBegin(GL_TRIANGLE_STRIP);
        for (int j = 0; j < g; ++j) {
            groen_textureNXZ(0);
            glNormal3fv(engine.vertNormsZ[0][0]);
            glVertex3f(0.0f, static_cast<float>(j), 0.0f);
        }
        glEnd();
        grid = nullptr;
    }
    for (int i = 0; i < QX2DSpectrum::rows - 1; ++i) {
        if (settings().Draw2DBothside == 0 && i == QX2DSpectrum::rows - 2)
            setMaterial2D(5);
        glBegin(GL_TRIANGLE_STRIP);
        if (grid)
            for (int j = 0; j < g; ++j) {
                vertex(i, j);
                vertex(i + 1, j);
            }
        glEnd();
    }
    if (settings().Draw2DBothside != 0) {
        for (int i = 0; i < QX2DSpectrum::rows - 1; ++i) {
            if (i == QX2DSpectrum::rows - 2)
                setMaterial2D(5);
            glBegin(GL_TRIANGLE_STRIP);
            if (grid)
                for (int j = 0; j < g; ++j) {
                    vertex(i + 1, j);
                    vertex(i, j);
                }
            glEnd();
        }
    }
    setMaterial2D(settings().setMaterialX);
}

void QX2DSpectrumRenderer::drawWireframeZ(int n)
{
    const QX2DSpectrum::FloatGrid* grid = frame().heightGrid(n);
    glColor3f(1.0f, 1.0f, 1.0f);
    if (!grid)
        return;
    // Each row as a line strip, then each column.
    VertexArrayScope scope;
    GridArrays& arrays = gridArrays();
    arrays.load(*grid, columnsInUse());
    drawGridElements(GL_LINES, arrays.rowLines, arrays.vertexCount());
    drawGridElements(GL_LINES, arrays.columnLines, arrays.vertexCount());
}

void QX2DSpectrumRenderer::drawStrips(int n, unsigned primitive, bool normals)
{
    QX2DSpectrum& engine = model();
    const QX2DSpectrum::FloatGrid* grid = frame().heightGrid(n);
    const int g = columnsInUse();
    for (int i = 0; i < QX2DSpectrum::rows - 1; ++i) {
        glBegin(primitive);
        if (grid) {
            const QX2DSpectrum::FloatGrid& p = *grid;
            // The first pair has no face of its own: it takes the normal of the first triangle it
            // belongs to, rather than whatever normal earlier drawing left current.
            if (normals && g > 1)
                glNormal3fv(engine.faceNormsZ[0][i][0]);
            glVertex3f(static_cast<float>(i), 0.0f, p[i][0]);
            glVertex3f(static_cast<float>(i + 1), 0.0f, p[i + 1][0]);
            for (int j = 1; j < g; ++j) {
                if (normals)
                    glNormal3fv(engine.faceNormsZ[0][i][j - 1]);
                glVertex3f(static_cast<float>(i), static_cast<float>(j), p[i][j]);
                if (normals)
                    glNormal3fv(engine.faceNormsZ[1][i][j - 1]);
                glVertex3f(static_cast<float>(i + 1), static_cast<float>(j), p[i + 1][j]);
            }
        }
        glEnd();
    }
}

void QX2DSpectrumRenderer::drawFlatShadedZ(int n)
{
    glEnable(GL_POLYGON_OFFSET_FILL);
    glColor3f(0.8f, 0.2f, 0.8f);
    drawStrips(n, GL_TRIANGLE_STRIP, true);
    glDisable(GL_POLYGON_OFFSET_FILL);
}

void QX2DSpectrumRenderer::drawHiddenLineZ(int n)
{
    const QX2DSpectrum::FloatGrid* grid = frame().heightGrid(n);
    VertexArrayScope scope;
    GridArrays& arrays = gridArrays();
    if (grid)
        arrays.load(*grid, columnsInUse());
    glEnable(GL_POLYGON_OFFSET_FILL);
    glColor3f(0.8f, 0.2f, 0.8f);
    if (grid) {
        // Lit, the fill shows the surface's own vertex normals (refreshed for this grid just before).
        arrays.loadNormals(model());
        glEnableClientState(GL_NORMAL_ARRAY);
        drawGridElements(GL_TRIANGLES, arrays.triangles, arrays.vertexCount());
        glDisableClientState(GL_NORMAL_ARRAY);
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
    glColor3f(1.0f, 1.0f, 1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    // The outlines of the strips' triangles, drawn as lines once each: the strips' own vertex order
    // traced as line strips gives the edges along the history and the diagonals, and one line per row
    // the edges across it. Outlining every triangle in line mode draws each inner edge twice and costs
    // three times as long on a software renderer.
    // The lines are white whatever the lighting: lit, they would take the material and the leftover
    // normal and show as dark as the fill they outline.
    if (grid) {
        glPushAttrib(GL_ENABLE_BIT);
        glDisable(GL_LIGHTING);
        drawGridElements(GL_LINES, arrays.outlines, arrays.vertexCount());
        drawGridElements(GL_LINES, arrays.rowLines, arrays.vertexCount());
        glPopAttrib();
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void QX2DSpectrumRenderer::drawOverlays(int record, int channel, int t, int p, int f, int sf, int h, int w,
                                        int s)
{
    QX2DSpectrumOverlays& overlays = QX2DSpectrumOverlays::sharedQX2DSpectrumOverlays();
    const auto flag = [record](int k) { return frame().flag(record, k) != 0; };
    const auto flat = [&](int element, float z) {
        overlays.drawSQflatZ(element, 0, t, 0.0f, 0.0f, z, p, f, channel, sf, h);
    };
    const int thinLine = flag(FlagTransparentTimeLine) ? 14 : 4;
    if (channel <= 3) {
        if (flag(FlagTimeLine))
            for (int z = 0; z <= 20; z += 2)
                flat(z % 10 == 0 ? 3 : thinLine, static_cast<float>(z));
        if (flag(FlagTimeLevel)) {
            if (w == 0)
                flat(13, 21.0f);
            else if (s == 0 || s == 3)
                flat(213, 21.0f);
            else if (s == 1 || s == 4)
                flat(113, 21.0f);
        }
        if (flag(FlagTimeSphere))
            for (int z = 0; z <= 20; z += 2)
                flat(z % 10 == 0 ? 23 : 24, static_cast<float>(z));
        if (flag(FlagFrequencyLine))
            flat(5, 0.0f);
        if (flag(FlagFrequencyLevel))
            flat(15, 0.0f);
        if (flag(FlagFrequencyLine)) {
            flat(6, 10.0f);
            flat(6, 20.0f);
        }
        return;
    }
    const float k = h == 0 ? 1.25f : 2.5f;
    if (flag(FlagTimeLine))
        for (int step = 0; step <= 4; ++step)
            flat(step % 2 == 0 ? 3 : thinLine, k * step);
    if (flag(FlagTimeSphere))
        for (int step = 0; step <= 4; ++step)
            flat(step % 2 == 0 ? 23 : 24, k * step);
    if (flag(FlagTimeLevel))
        flat(13, h == 0 ? 6.0f : 12.0f);
    if (flag(FlagFrequencyLine))
        flat(5, 0.0f);
    if (flag(FlagFrequencyLevel))
        flat(15, 0.0f);
    if (flag(FlagFrequencyLine)) {
        flat(6, h == 0 ? 2.5f : 10.0f);
        flat(6, 5.0f);
    }
    if (flag(FlagPowerLabel))
        flat(h == 0 ? 21 : 22, 10.0f);
}

void QX2DSpectrumRenderer::drawPeakMarks(int channel, int t, int q, int sf)
{
    QX2DSpectrumOverlays& overlays = QX2DSpectrumOverlays::sharedQX2DSpectrumOverlays();
    static constexpr float sizes[5] = {2.0f, 1.5f, 1.0f, 2.0f, 2.0f};
    float m = 1.0f;
    if (settings().setPeakSizeX >= 0 && settings().setPeakSizeX <= 4)
        m = sizes[settings().setPeakSizeX];
    else if (setPeakWFSizeXZ >= 0 && setPeakWFSizeXZ <= 4)
        m = sizes[setPeakWFSizeXZ];
    const int peaks = std::min(settings().setPeakModeX, 3);
    for (int i = 0; i < QX2DSpectrum::rows; ++i)
        for (int k = 0; k < peaks; ++k) {
            const PeakRecord record = frame().peak(channel, i, k);
            const float v = record.value2;
            const float y = static_cast<float>(63 - record.bin + sf);
            const float x = static_cast<float>(record.row);
            if (!(v > 0.2f && y > -1.0f && y <= 64.0f))
                continue;
            if (t == 0)
                groen_CtextureNXZ(colourIndexOf(v * 5.0 + settings().ColorOffsetSliderX), q);
            else if (t == 1)
                groen_CBtextureNXZ(colourIndexOf(y * static_cast<double>(settings().ColorGainSliderX)), 100,
                                   q);
            glTranslatef(x, y, v);
            overlays.drawMark(settings().ShowText, k == 0 ? m : (k == 1 ? m * 0.8f : m * 0.6f));
            glTranslatef(-x, -y, -v);
            if (k == 0) {
                glTranslatef(x, 0.0f, v);
                if (settings().ShowPeakLine != 0)
                    overlays.drawSQflatZ(16, 0, t, 0.0f, 0.0f, 0.0f, q, q, channel, sf, 0);
                glTranslatef(-x, 0.0f, -v);
            }
        }
}

void QX2DSpectrumRenderer::drawSQZ(int s, int, int u, int t, int w, int p, int f, int sf, int h)
{
    if (s < 0 || s >= waterfallSources) {
        // No record belongs to such a source: nothing is drawn.
        setMaterial2D(settings().setMaterialX);
        return;
    }
    int q = 0;
    if (t == 0 || t == 1) {
        q = (t == 0 ? p : f) + 1;
        if (q > 5)
            q = 1;
    }
    const PanelPlace place = panelPlace(s, w != 0);
    const int c = place.channel;

    if (u == 3)
        drawSmoothShadedZ(30, t, w, p, f, h);
    // The wireframe takes no normals, flat shading only the face normals.
    if (u >= 1 && u <= 3)
        getFaceNormsZ(s);
    if (u == 1 || u == 3)
        getVertNormsZ();
    switch (u) {
        case 0:
            drawWireframeZ(s);
            break;
        case 1:
            drawHiddenLineZ(s);
            break;
        case 2:
            drawFlatShadedZ(s);
            break;
        case 3:
            drawSmoothShadedZ(s, t, w, p, f, h);
            break;
        default:
            break;
    }

    setMaterial2D(setPeakWFMaterialXZ);
    drawOverlays(place.record, c, t, p, f, sf, h, w, s);

    setMaterial2D(settings().setTopMaterialX);
    if (settings().setPeakModeX > 0 && (s == 0 || s == 1 || s == 3 || s == 4))
        drawPeakMarks(c, t, q, sf);

    const int rate = SampleSpeed.load(relaxed);
    const int points = fftp.load(relaxed);
    if (sf == 0 && (fftp512Band.load(relaxed) != 0 || peakLineScale(rate, points)))
        QX2DSpectrumPeakLine::sharedQX2DSpectrumPeakLine().DrawHorizontalLine(c, w, t, p, f);

    if (c <= 3) {
        QX2DSpectrumOverlays& overlays = QX2DSpectrumOverlays::sharedQX2DSpectrumOverlays();
        const auto flat = [&](int element, float z) {
            overlays.drawSQflatZ(element, 0, t, 0.0f, 0.0f, z, p, f, c, sf, h);
        };
        const int record = place.record;
        if (frame().flag(record, FlagPowerPeakFlat) != 0)
            flat(1, frame().peak(c, 0, 0).value2);
        if (frame().flag(record, FlagPowerFlatMark5) != 0)
            flat(1, 5.0f);
        if (frame().flag(record, FlagPowerFlatMark10) != 0)
            flat(1, 10.0f);
        if (frame().flag(record, FlagPowerLabel) != 0)
            flat(11, 10.0f);
    }
    setMaterial2D(settings().setMaterialX);
}

void QX2DSpectrumRenderer::takeRowIfDue(int oneBrain, int shapeC, int startFrequency, int Coherencehigh)
{
    const int position = ploop.load(relaxed);
    const bool paused = setPauseX.load(relaxed) != 0;
    if (setRecX.load(relaxed) != 0) {
        if (position - tploopAA.load(relaxed) < tploop.load(relaxed))
            return;
        if (openPort.load(relaxed) != 0 && !paused)
            model().wavenZ(oneBrain, shapeC, startFrequency, Coherencehigh);
        tploopAA.store(position, relaxed);
    } else if (!paused) {
        model().wavenZ(oneBrain, shapeC, startFrequency, Coherencehigh);
    }
}

QX2DSpectrumRenderer::Palettes QX2DSpectrumRenderer::advanceFrame(int oneBrain, int shapeC,
                                                                  int startFrequency, int Coherencehigh,
                                                                  int texture, int RunTexture, float PColor,
                                                                  float FColor)
{
    takeRowIfDue(oneBrain, shapeC, startFrequency, Coherencehigh);
    if (RunTexture != 0) {
        if (texture == 0 && ++PColor_valueY > 5)
            PColor_valueY = 0;
        else if (texture == 1 && ++FColor_valueY > 5)
            FColor_valueY = 0;
    } else {
        PColor_valueY = colourIndexOf(PColor);
        FColor_valueY = colourIndexOf(FColor);
    }
    return {PColor_valueY, FColor_valueY};
}

void QX2DSpectrumRenderer::finishFrame()
{
    if (setPauseX.load(relaxed) == 0)
        model().setupTimeNumberZ(ploop.load(relaxed));
}

void QX2DSpectrumRenderer::drawFrame()
{
    const WaterfallFrame& f = frame();
    if (f.historyGeneration != drawnGeneration_) {
        QX2DSpectrumPeakLine::restartScale();
        drawnGeneration_ = f.historyGeneration;
    }
    const float a = f.panelAngle, m = f.panelOffset;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(64.0, aspectZ, zNearZ, zFarZ);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(f.Xposi, 0.0f, 0.0f);
    glTranslatef(0.0f, f.Yposi, 0.0f);
    glTranslatef(0.0f, 0.0f, -f.sdept);
    glRotatef(-f.sthet, 1.0f, 0.0f, 0.0f);
    glRotatef(f.sph, 0.0f, 0.0f, 1.0f);
    const float half = static_cast<float>((f.columns + 1) / 2 - 1);
    glTranslatef(-half, -half, 0.0f);

    const QX2DSpectrum::Selection chosen = QX2DSpectrum::sourcesOfSelection(f.oneBrain);
    const auto panel = [&](int source, int flag) {
        drawSQZ(source, f.drawS, f.displayUnn, f.texture, flag, f.PColor, f.FColor, f.startFrequency,
                f.Coherencehigh);
    };
    if (chosen.count == 2) {
        glTranslatef(0.0f, 34.0f, 0.0f);
        glRotatef(a, 0.0f, 0.0f, 1.0f);
        glTranslatef(-m, 0.0f, 0.0f);
        panel(chosen.sources[0], 1);
        glTranslatef(m, 0.0f, 0.0f);
        glRotatef(-a, 0.0f, 0.0f, 1.0f);
        glTranslatef(0.0f, -34.0f, 0.0f);

        glTranslatef(0.0f, -40.0f, 0.0f);
        glRotatef(-a, 0.0f, 0.0f, 1.0f);
        glTranslatef(-m, 0.0f, 0.0f);
        panel(chosen.sources[1], 1);
        glTranslatef(m, 0.0f, 0.0f);
        glRotatef(a, 0.0f, 0.0f, 1.0f);
        glTranslatef(0.0f, 40.0f, 0.0f);
    } else if (chosen.count == 1) {
        glTranslatef(-2.0f * m, 0.0f, 0.0f);
        panel(chosen.sources[0], 0);
        glTranslatef(2.0f * m, 0.0f, 0.0f);
    }
    glTranslatef(0.0f, -f.Yposi, 0.0f);
    glTranslatef(-f.Xposi, 0.0f, 0.0f);
    glutSwapBuffers();
}

QX2DSpectrumRenderer::PanelPlace QX2DSpectrumRenderer::panelPlace(int source, bool twoPanels)
{
    if (source < 0 || source >= waterfallSources)
        return {-1, -1};
    return twoPanels ? pairedPanel[source] : singlePanel[source];
}

}  // namespace nupo
