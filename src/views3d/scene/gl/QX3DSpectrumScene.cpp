#include "views3d/scene/gl/QX3DSpectrumScene.h"

#include "analysis/QX3DSpectrum.h"
#include "analysis/SpectrumMath.h"
#include "platform/gl/ColorTables.h"
#include "platform/gl/Glut.h"
#include "platform/gl/MeshShading.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "views3d/SpectrumViewState.h"
#include "views3d/scene/gl/FlatElements.h"
#include "views3d/scene/gl/Materials.h"
#include "views3d/scene/gl/MeshControl.h"
#include "views3d/scene/gl/MeshRenderers.h"
#include "views3d/scene/gl/QX3DSpectrumMesh.h"
#include "views3d/scene/gl/SceneDecorations.h"
#include "views3d/scene/gl/SceneInputs.h"
#include "views3d/scene/gl/SceneState.h"
#include "views3d/scene/gl/SceneText.h"
#include "views3d/textures/gl/ShadowApp.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace nupo {

namespace {

constexpr int flatPowerTileA = 20;
constexpr int flatPowerTileB = 21;
constexpr int windowsShown = 8;  // brain-switch windows 0..7 of a record
constexpr int stateWord = 10;    // words of a `brainSWX` record: display states of windows 0..7
constexpr int lowValueWord = 18;
constexpr int highValueWord = 26;
constexpr int lowHzWord = 34;
constexpr int highHzWord = 42;

bool isChannelSource(int s)
{
    return s >= 0 && s < 4;
}

int wrapPalette(float& palette)
{
    palette += 1.0f;
    if (palette > 5.0f)
        palette = 0.0f;
    return int(palette);
}

// Mark size of the size settings 0..4; another value gives `otherwise`.
float markSize(int setting, float otherwise)
{
    static constexpr float sizes[5] = {2.0f, 1.5f, 1.0f, 2.0f, 2.0f};
    return setting >= 0 && setting < 5 ? sizes[setting] : otherwise;
}

constexpr float markScale[3] = {1.0f, 0.8f, 0.6f};

// Rows per hertz of the spectrum rows: (fftp div 128) / (`SampleSpeed` / 128); 0 without a rate.
float spectrumRowsPerHertz()
{
    const int rate = SampleSpeed.load(std::memory_order_relaxed);
    if (rate <= 0)
        return 0.0f;
    return float(fftp.load(std::memory_order_relaxed) / 128) / (float(rate) * 0.5f / 64.0f);
}

void translate(float x, float y, float z)
{
    glTranslatef(x, y, z);
}

void rotate(float degrees)
{
    glRotatef(degrees, 0.0f, 0.0f, 1.0f);
}

// Colour of a mark by texture mode: 0 entry `valueIndex` of palette p, 1 the brightest variant of entry
// `rowIndex`; other modes keep the material.
void markColour(int textureMode, int valueIndex, int rowIndex, int p)
{
    if (textureMode == 0)
        groen_CtextureNX(valueIndex, p);
    else if (textureMode == 1)
        groen_CBtextureNX(rowIndex, 100, p);
}

// The records the frame draws from; the flash requests write the shared ones (main thread, or the one
// thread of an engine test).
int brainState(int source, int window)
{
    return int(sceneInputs().brainSWX[source][stateWord + window]);
}

void setBrainState(int source, int window, int state)
{
    brainSWX[source][stateWord + window].store(float(state), std::memory_order_relaxed);
}

float brainWord(int source, int word, int window)
{
    return sceneInputs().brainSWX[source][word + window];
}

// The scene elements switched on in a source's row `e` of the display-element table; flat(kind, z) draws
// one. A channel tile spans heights 0..20, a coherence tile 0..5.
template <class Flat>
void drawElements(int s, const int* e, Flat&& flat)
{
    const int thin = e[3] != 0 ? FlatKind::wideTimeFrame : FlatKind::thinTimeFrame;
    if (isChannelSource(s)) {
        if (e[0] != 0)
            flat(FlatKind::frequencyLineWide, 0.0f);
        if (e[1] != 0)
            flat(FlatKind::frequencyLabels, 0.0f);
        if (e[0] != 0) {
            flat(FlatKind::frequencyLineThin, 10.0f);
            flat(FlatKind::frequencyLineThin, 20.0f);
        }
        for (int z = 0; z <= 20; z += 2) {
            const bool main = z % 10 == 0;
            if (e[2] != 0)
                flat(main ? FlatKind::timeFrame : thin, float(z));
        }
        if (e[4] != 0)
            flat(FlatKind::timeLabels, 21.0f);
        for (int z = 0; z <= 20; z += 2)
            if (e[5] != 0)
                flat(z % 10 == 0 ? FlatKind::timeMarkers : FlatKind::smallTimeMarkers, float(z));
        if (e[9] != 0)
            flat(FlatKind::powerNumbers, 10.0f);
        return;
    }
    for (int k = 0; k <= 4; ++k)
        if (e[2] != 0)
            flat(k % 2 == 0 ? FlatKind::timeFrame : thin, 1.25f * float(k));
    for (int k = 0; k <= 4; ++k)
        if (e[5] != 0)
            flat(k % 2 == 0 ? FlatKind::timeMarkers : FlatKind::smallTimeMarkers, 1.25f * float(k));
    if (e[4] != 0)
        flat(FlatKind::timeLabels, 6.0f);
    if (e[0] != 0)
        flat(FlatKind::frequencyLineWide, 0.0f);
    if (e[1] != 0)
        flat(FlatKind::frequencyLabels, 0.0f);
    if (e[0] != 0) {
        flat(FlatKind::frequencyLineThin, 2.5f);
        flat(FlatKind::frequencyLineThin, 5.0f);
    }
    if (e[9] != 0)
        flat(FlatKind::coherenceNumbers, 10.0f);
}

}  // namespace

QX3DSpectrumScene& QX3DSpectrumScene::sharedQX3DSpectrumScene()
{
    static QX3DSpectrumScene* instance = new QX3DSpectrumScene;  // lives to process end
    return *instance;
}

int QX3DSpectrumScene::sourceOfTile(int tile, int towBrain, int shapeC)
{
    if (tile < 0 || tile > 9)
        return -1;
    if (shapeC >= 2 && shapeC <= 11)
        return shapeC - 2;
    static constexpr int twoSets[10] = {0, 1, 4, 6, 7, 2, 6, 7, 8, 9};
    static constexpr int threeSets[10] = {0, 1, 4, 2, 3, 5, 6, 7, 8, 9};
    static constexpr int secondSet[10] = {2, 3, 5, 2, 3, 5, 6, 7, 8, 9};
    if (shapeC == 0)
        return towBrain == 0 ? twoSets[tile] : threeSets[tile];
    if (shapeC == 1)
        return secondSet[tile];
    return -1;
}

int QX3DSpectrumScene::tileOfSource(int source)
{
    return QX3DSpectrum::gridOfSource(source);
}

void QX3DSpectrumScene::setupTimeNumber(long t)
{
    timeRec[0].store(int(t), std::memory_order_relaxed);
    for (int k = 64; k >= 0; --k)
        timeRec[k + 1].store(timeRec[k].load(std::memory_order_relaxed), std::memory_order_relaxed);
}

void QX3DSpectrumScene::setONFlashBSdisplay(int window, int NUPOchannel)
{
    BSCHXX = window >= 0 && window < windowsShown ? window : -1;
    BrainCHXX = NUPOchannel >= 0 && NUPOchannel < brainSourceCount ? NUPOchannel : brainSourceCount;
    OffFlashBS = 0;
}

void QX3DSpectrumScene::setOffFlashBSdisplay(int window, int NUPOchannel)
{
    setONFlashBSdisplay(window, NUPOchannel);
    OffFlashBS = 1;
}

void QX3DSpectrumScene::runDataStep(const SceneFrame& f)
{
    QX3DSpectrum::sharedQX3DSpectrum().wavenOnSchedule(f.oneBrain, f.towBrain, f.shapeC, f.startFrequency);
    QX3DSpectrumMesh::sharedQX3DSpectrumMesh().takeGrids();
}

int QX3DSpectrumScene::displayUnn(const SceneFrame& f)
{
    runDataStep(f);
    return drawFrame(f);
}

namespace {

// One step of a tile's placement in the scene's frame: a translation, or a turn about z.
struct PlacementStep {
    enum Kind { Translate, Rotate } kind;
    float x, y, z;  // a turn: x degrees
};

PlacementStep move(float x, float y, float z)
{
    return {PlacementStep::Translate, x, y, z};
}

PlacementStep turn(float degrees)
{
    return {PlacementStep::Rotate, degrees, 0.0f, 0.0f};
}

// A tile of a layout: where it goes, what it draws, and whether it takes the next image or palette.
struct TilePlacement {
    int tile;
    int drawS;     // brain-switch surface and marks
    int towBrain;  // layout argument handed to the tile
    bool advance;  // steps the image or palette first
    PlacementStep steps[6];
    int count;

    void add(PlacementStep step) { steps[count++] = step; }
};

// The tiles of the frame's layout in drawing order, each placed from the camera's frame.
struct LayoutPlacements {
    TilePlacement tiles[12];
    int count = 0;
    bool multiTile = false;  // the sets with their side tiles (the hover marks' layouts)

    TilePlacement& add(int tile, int drawS, int towBrain, bool advance)
    {
        tiles[count] = {tile, drawS, towBrain, advance, {}, 0};
        return tiles[count++];
    }
};

LayoutPlacements layoutPlacements(const SceneFrame& f)
{
    LayoutPlacements l;
    const float M = f.Viwe_Mode;
    if (f.shapeC >= 2 && f.shapeC <= 11 && f.towBrain == 0) {
        // One source.
        l.add(QX3DSpectrumScene::tileOfSource(f.shapeC - 2), f.drawS, 0, true)
            .add(move(-2.0f * M, 0.0f, 0.0f));
        return l;
    }
    // The sets: the first set's fan, its middle tile with the flat power views or the third set's
    // outer tiles beside it, then the second set and the third set's fan.
    const float a = f.displayUnn, A1 = f.Viwe_Angle1, A2 = f.Viwe_Angle2;
    const bool top = f.TopNON != 0;
    const float m = top ? 2.0f * M : M;
    const float x0 = top ? -20.0f : 0.0f, z0 = top ? 0.0f : 20.0f;
    const float z2 = top ? 0.0f : -55.0f;
    const float xB = top ? 60.0f : 0.0f, zB = top ? 0.0f : 110.0f;
    const float z5 = top ? 0.0f : 75.0f;
    const float yC = top ? 80.0f : 60.0f, zC = top ? 0.0f : 47.0f;
    const int drawS = f.drawS, tow = f.towBrain;

    const float shiftY = a / 3.0f + (a - 35.0f) / 20.0f;
    TilePlacement& t0 = l.add(0, drawS, tow, true);
    t0.add(move(x0, 32.0f, z0));
    t0.add(turn(a));
    t0.add(move(a, -shiftY, 0.0f));
    TilePlacement& t1 = l.add(1, drawS, tow, true);
    t1.add(move(x0, -32.0f, z0));
    t1.add(turn(-a));

    const auto middle = [&](TilePlacement& t) {
        t.add(move(0.0f, 0.0f, z2));
        t.add(move(-2.0f * m, 0.0f, 0.0f));
        return &t;
    };
    middle(l.add(2, drawS, tow, true));
    const auto besideMiddle = [&](int tile, int tileDrawS, int tileTow, float y) {
        middle(l.add(tile, tileDrawS, tileTow, false))->add(move(0.0f, y, 0.0f));
    };
    if (f.oneBrain != 0 || f.towBrain == 0) {
        if (sceneInputs().displayModeX[0][11] != 0) {
            besideMiddle(flatPowerTileA, 0, tow, 70.0f);
            besideMiddle(flatPowerTileB, 0, tow, -70.0f);
        }
    } else {
        besideMiddle(8, 1, 1, 110.0f);
        besideMiddle(9, 1, 1, -110.0f);
    }
    if (f.oneBrain != 0)
        return l;

    l.multiTile = true;
    TilePlacement& t3 = l.add(3, drawS, tow, true);
    t3.add(move(0.0f, 0.0f, zB));
    t3.add(move(xB, 32.0f, 0.0f));
    t3.add(turn(A1));
    t3.add(move(A1 / 0.95f, -A1 / 3.5f, 0.0f));
    t3.add(move(m, 0.0f, 0.0f));
    TilePlacement& t4 = l.add(4, drawS, tow, true);
    t4.add(move(0.0f, 0.0f, zB));
    t4.add(move(xB, -32.0f, 0.0f));
    t4.add(turn(-A1));
    t4.add(move(m, 0.0f, 0.0f));
    TilePlacement& t5 = l.add(5, drawS, tow, true);
    t5.add(move(0.0f, 0.0f, z5));
    t5.add(move(2.0f * m, 0.0f, 0.0f));
    if (f.towBrain == 0)
        return l;
    TilePlacement& t6 = l.add(6, drawS, tow, true);
    t6.add(move(0.0f, 0.0f, zC));
    t6.add(move(0.0f, yC, 0.0f));
    t6.add(turn(A2));
    t6.add(move(A2 / 0.95f + m, 45.0f - A2 / 3.5f, 0.0f));
    TilePlacement& t7 = l.add(7, drawS, tow, true);
    t7.add(move(0.0f, 0.0f, zC));
    t7.add(move(0.0f, -yC, 0.0f));
    t7.add(turn(-A2));
    t7.add(move(m, -45.0f, 0.0f));
    return l;
}

void apply(const TilePlacement& t)
{
    for (int k = 0; k < t.count; ++k) {
        const PlacementStep& step = t.steps[k];
        if (step.kind == PlacementStep::Translate)
            translate(step.x, step.y, step.z);
        else
            rotate(step.x);
    }
}

}  // namespace

int QX3DSpectrumScene::drawFrame(const SceneFrame& f)
{
    // Projection and camera.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(64.0, aspect, zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    translate(f.Xposi, 0.0f, 0.0f);
    translate(0.0f, f.Yposi, 0.0f);
    translate(0.0f, 0.0f, -f.sdept);
    glRotatef(-f.sthet, 1.0f, 0.0f, 0.0f);
    const SceneInputs& inputs = sceneInputs();
    const int imagePosition = inputs.imagePosition;
    if (inputs.rotateX == 1) {
        if (ChangeTorotateX != 0) {
            sphiZ = f.sph;
            ChangeTorotateX = 0;
        }
        glRotatef(f.sph, 0.0f, 1.0f, 0.0f);
    } else {
        ChangeTorotateX = 1;
        rotate(f.sph);
    }
    const int h = (grid.load(std::memory_order_relaxed) + 1) / 2 - 1;
    translate(float(-h), float(-h), 0.0f);

    // Image or palette of this frame.
    const bool images = f.texture == 2 || f.texture == 3;
    const int max = f.maxImageNX;
    int n = f.ImageNX;
    if (f.RunTexture != 0) {
        ++n;
        if (images && n > max - 1)
            n = 0;
        if (f.texture == 0)
            wrapPalette(PColor_valueYM);
        else if (f.texture == 1)
            wrapPalette(FColor_valueYM);
    } else if (images) {
        n = std::min(int(f.texture == 2 ? f.Color_Map : f.Dynamic_Texture), max - 1);
    } else if (f.texture == 0) {
        PColor_valueYM = f.PColor;
    } else if (f.texture == 1) {
        FColor_valueYM = f.FColor;
    }
    if (images) {
        // With no image loaded nothing is made current.
        n = max > 0 ? std::clamp(n, 0, max - 1) : 0;
        if (max > 0 && n != ImageNZ)
            useImageAX(n);
        if (max > 0)
            ImageNZ = n;
    }

    // Every tile of the layout, each with its own image or palette when asked.
    const auto advance = [&] {
        if (imagePosition == 0)
            return;
        ++n;
        if (images) {
            if (n > max - 1)
                n = 0;
            if (max > 0)
                useImageAX(n);
        } else if (f.texture == 0) {
            wrapPalette(PColor_valueYM);
        } else if (f.texture == 1) {
            wrapPalette(FColor_valueYM);
        }
    };
    const LayoutPlacements layout = layoutPlacements(f);
    for (int k = 0; k < layout.count; ++k) {
        const TilePlacement& t = layout.tiles[k];
        if (t.advance)
            advance();
        glPushMatrix();
        apply(t);
        drawSQ(t.tile, t.drawS, f.displayUnnMode, f.texture, t.towBrain, f.shapeC, int(PColor_valueYM),
               int(FColor_valueYM), f.drawM, f.startFrequency);
        glPopMatrix();
    }

    // Hover marks and source names at the overview camera.
    const bool overview = f.sph >= 85.0f && f.sph <= 95.0f && f.sthet >= 40.25f && f.sthet <= 50.25f &&
                          f.Xposi >= -5.0f && f.Xposi <= 5.0f && f.Yposi >= -45.0f && f.Yposi <= -35.0f;
    if (layout.multiTile && overview)
        drawHoverMarks();

    // End of frame.
    translate(0.0f, -f.Yposi, 0.0f);
    translate(-f.Xposi, 0.0f, 0.0f);
    if (setPauseX.load(std::memory_order_relaxed) == 0)
        setupTimeNumber(ploop.load(std::memory_order_relaxed));
    glutSwapBuffers();
    if (f.EnvModeC != 0) {
        applySphereMapping(f.Env != 0);
    }
    return n;
}

void QX3DSpectrumScene::drawHoverMarks()
{
    struct Label {
        float x, y, z;
        int source;
        bool ownZoneOnly;  // drawn only when the pointer is on this very zone, not on the centre
    };
    struct Group {
        float x, y, z;
        Label labels[5];
        int count;
    };
    static const Group groups[4] = {
        {25,
         30,
         0,
         {{-70, 30, 50, 4, false},
          {-70, 30, 120, 0, false},
          {-70, -10, 120, 1, false},
          {-70, 100, 20, 8, false},
          {-70, -40, 20, 9, false}},
         5},
        {85, 30, 80, {{-70, 30, 20, 5, false}, {-70, 60, 50, 2, false}, {-70, -40, 50, 3, false}}, 3},
        {65, 130, 60, {{-60, 30, 40, 6, false}, {-60, -40, 20, 0, true}, {-60, -30, 70, 2, true}}, 3},
        {65, -70, 60, {{-60, 40, 40, 7, false}, {-60, 60, 20, 1, true}, {-60, 50, 70, 3, true}}, 3},
    };
    const SceneInputs& inputs = sceneInputs();
    const int show4sphere = inputs.show4sphere;
    for (int zone = 1; zone <= 4; ++zone) {
        if (show4sphere != zone && show4sphere != 5)
            continue;
        const Group& g = groups[zone - 1];
        translate(g.x, g.y, g.z);
        setMaterial(8);
        drawMark(inputs.display.ShowTextBSMix, 30.0f);
        setMaterial(2);
        for (int k = 0; k < g.count; ++k) {
            const Label& l = g.labels[k];
            if (!l.ownZoneOnly || show4sphere == zone)
                labelSphereBig(l.x, l.y, l.z, l.source);
        }
        translate(-g.x, -g.y, -g.z);
    }
    setMaterial(inputs.display.setBSMaterialX);
}

namespace {

// What the parts of a tile share.
struct Tile {
    int tile;
    int source;  // 0..9; -1 on a flat power tile
    bool flatPower;
    bool channel;
    int mode;         // mesh mode
    int textureMode;  // 0, 1: palettes; 2, 3: images
    int towBrain;
    int shapeC;
    int PColor, FColor;
    int palette;  // palette of the marks' colours
    int startFrequency;

    void flat(int kind, float z) const
    {
        drawSQflat(kind, 0, textureMode, 0.0f, 0.0f, z, float(PColor), float(FColor), source < 0 ? 0 : source,
                   startFrequency);
    }
};

// The surface of grid slot n in the mesh mode, with its normals.
void drawSurface(const Tile& t, int n)
{
    QX3DSpectrumMesh& mesh = QX3DSpectrumMesh::sharedQX3DSpectrumMesh();
    glPushMatrix();
    setMaterial(sceneInputs().display.setBSMaterialX);
    mesh.getFaceNorms(n);
    mesh.getVertNorms();
    switch (t.mode) {
        case 0:
            drawWireframe(n);
            break;
        case 1:
            drawHiddenLine(n);
            break;
        case 2:
            drawFlatShaded(n);
            break;
        case 3:
            drawSmoothShaded(n, t.textureMode, t.towBrain, t.shapeC, float(t.PColor), float(t.FColor));
            break;
        case 4:
            drawTextured(n);
            break;
        default:
            break;
    }
    if (drawFaceNorms != 0) {
        mesh.getFaceNormSegs(n);
        drawFaceNormals();
    }
    glPopMatrix();
}

// A mark at (x, y, z) of the tile's frame, coloured by its value and row in the tile's texture mode.
void drawColouredMark(const Tile& t, float x, float y, float z, int valueIndex, int rowIndex, float size)
{
    markColour(t.textureMode, valueIndex, rowIndex, t.palette);
    translate(x, y, z);
    drawMark(sceneInputs().display.ShowTextBSMix, size);
    translate(-x, -y, -z);
}

// The brain-switch surface beside the main one with the hit marks over it. Returns the size of the
// marks.
float drawBrainSwitchSurface(const Tile& t)
{
    const bool side64 = grid.load(std::memory_order_relaxed) == 64;
    const DisplaySettingsCopy display = sceneInputs().display;
    if (side64)
        translate(70.0f, 0.0f, 0.0f);
    setMaterial(display.setBSMaterialX);
    drawSurface(t, t.tile + 10);
    const float u = markSize(display.setBSPeakSizeX, 1.0f);
    setMaterial(display.setBSTopMaterialX);
    if (!t.flatPower) {
        auto& table = t.channel ? peakSWfftCount[t.source] : peakSWcoherenceCount[t.source];
        for (int w = 0; w <= 8; ++w) {
            for (int k = 0; k < 3 && display.setBSPeakModeX > k; ++k) {
                const BrainSwitchRecord r = table[w][k].load();
                if (r.count > 0.2f)
                    drawColouredMark(t, float(r.column), float(63 - r.row), r.count,
                                     int(r.count * 5.0f + display.ColorOffsetBSMixSliderX),
                                     int(float(r.row) * display.ColorGainBSMixSliderX), u * markScale[k]);
            }
        }
    }
    if (side64)
        translate(-70.0f, 0.0f, 0.0f);
    setMaterial(display.setBSMaterialX);
    return u;
}

// Applies the flash requests to the windows' display states.
void applyFlashing(int s)
{
    // Read once: the canvas may set a new request while the frame draws.
    const int source = BrainCHXX.load(std::memory_order_relaxed);
    const int window = BSCHXX.load(std::memory_order_relaxed);
    if (s == source) {
        for (int w = 0; w < windowsShown; ++w)
            setBrainState(s, w, 1);
        if (window >= 0 && window < windowsShown)
            setBrainState(s, window, 2);
    }
    if (OffFlashBS.load(std::memory_order_relaxed) != 0 && source >= 0 && source < brainSourceCount) {
        for (int w = 0; w < windowsShown; ++w)
            setBrainState(source, w, 1);
        OffFlashBS.store(0, std::memory_order_relaxed);
    }
}

// The boxes of the shown brain-switch windows over the spectrum (single-source views).
void drawBrainSwitchWindows(const Tile& t)
{
    const int s = t.source;
    const float gain = t.channel ? displayGainOfChannel(s) : 0.5f;
    const float q = spectrumRowsPerHertz();
    const float f0 = q > 0.0f ? float(t.startFrequency) / q : 0.0f;
    const bool band512 = fftp512Band.load(std::memory_order_relaxed) != 0;
    for (int w = 0; w < windowsShown; ++w) {
        const int state = brainState(s, w);
        if (state <= 0)
            continue;
        const float lowHz = brainWord(s, lowHzWord, w), highHz = brainWord(s, highHzWord, w);
        const float r1 = q * (lowHz - f0), r2 = q * (highHz - f0);
        if (r1 < 0.0f)
            continue;
        float x1, x2;
        if (band512) {
            x1 = frequencyAjustForDisplay(float(covFFT512BandFtoN(lowHz)));
            x2 = frequencyAjustForDisplay(float(covFFT512BandFtoN(highHz)));
        } else {
            x1 = frequencyAjustForDisplay(r1);
            x2 = frequencyAjustForDisplay(r2);
        }
        drawSQBS(state == 2 ? 2 : 0, x1, x2, gain * brainWord(s, lowValueWord, w),
                 gain * brainWord(s, highValueWord, w));
    }
}

// Peak marks of the spectrum history, of the size `u` the brain-switch marks left.
void drawPeakMarks(const Tile& t, float u)
{
    const DisplaySettingsCopy display = sceneInputs().display;
    setMaterial(display.setPeakWFMaterialX);
    u = markSize(display.setPeakWFSizeX, u);
    const bool peakTile = t.tile == 0 || t.tile == 1 || t.tile == 3 || t.tile == 4 || t.tile == 5;
    if (display.setPeakWFModeX <= 0 || !(peakTile || (t.shapeC >= 2 && t.shapeC <= 5)) || t.source >= 8)
        return;
    for (int h = t.shapeC <= 1 ? 1 : 0; h < 64; ++h) {
        for (int k = 0; k < 3 && display.setPeakWFModeX > k; ++k) {
            const PeakRecord r = PeakfftPowerFV[t.source][h][k].load();
            const int y = 63 - r.bin + t.startFrequency;
            if (r.value > 0.2f && y > -1 && y <= 64)
                drawColouredMark(t, float(r.row), float(y), r.value,
                                 int(r.value * 5.0f + display.ColorOffsetBSMixSliderX),
                                 int(float(y) * display.ColorGainBSMixSliderX), u * markScale[k]);
        }
    }
}

// Level planes of a channel and the level frame over the brain-switch surface.
void drawLevelPlanes(const Tile& t, const int* e, int drawS)
{
    if (t.channel) {
        if (e[8] != 0)
            t.flat(FlatKind::levelPlane,
                   PeakfftPowerFV[t.source][0][0].value.load(std::memory_order_relaxed));
        if (e[6] != 0)
            t.flat(FlatKind::levelPlane, 5.0f);
        if (e[7] != 0)
            t.flat(FlatKind::levelPlane, 10.0f);
    }
    if (drawS != 0 && e[10] != 0) {
        setMaterial(8);
        translate(70.0f, 0.0f, 0.0f);
        t.flat(FlatKind::companionFrame, 10.0f);
        translate(-70.0f, 0.0f, 0.0f);
    }
}

}  // namespace

void QX3DSpectrumScene::applyFlashRequests(const SceneFrame& frame)
{
    const LayoutPlacements layout = layoutPlacements(frame);
    for (int k = 0; k < layout.count; ++k) {
        const TilePlacement& t = layout.tiles[k];
        const int s = sourceOfTile(t.tile, t.towBrain, frame.shapeC);
        if (t.tile != flatPowerTileA && t.tile != flatPowerTileB && s >= 0)
            applyFlashing(s);
    }
}

void QX3DSpectrumScene::drawSQ(int tile, int drawS, int mode, int textureMode, int towBrain, int shapeC,
                               int PColor, int FColor, int drawM, int startFrequency)
{
    const bool flatPower = tile == flatPowerTileA || tile == flatPowerTileB;
    const int s = sourceOfTile(tile, towBrain, shapeC);
    if (!flatPower && s < 0)
        return;
    int p = textureMode == 0 ? PColor + 1 : textureMode == 1 ? FColor + 1 : 0;
    if (p > 5)
        p = 1;
    const Tile t{tile,   s,      flatPower, isChannelSource(s), mode, textureMode, towBrain, shapeC,
                 PColor, FColor, p,         startFrequency};

    if (drawM != 0) {
        if (mode == 3)
            drawSmoothShaded(MeshGrid::zeroAreaStrip, textureMode, towBrain, shapeC, float(PColor),
                             float(FColor));
        drawSurface(t, tile);
    }
    const float u = drawS != 0 ? drawBrainSwitchSurface(t) : 1.0f;
    t.flat(FlatKind::blankLabel, 10.0f);  // every tile draws it
    if (flatPower)
        return;
    const int* e = sceneInputs().displayModeX[s];
    if (drawM != 0)
        drawElements(s, e, [&](int kind, float z) { t.flat(kind, z); });
    if (!sceneInputs().flashApplied)
        applyFlashing(s);
    if (shapeC >= 2)
        drawBrainSwitchWindows(t);
    drawPeakMarks(t, u);
    drawLevelPlanes(t, e, drawS);
    setMaterial(sceneInputs().display.setBSMaterialX);
}

}  // namespace nupo
