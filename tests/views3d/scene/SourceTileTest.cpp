#include "SceneTestSupport.h"
#include "analysis/BrainSwitch.h"
#include "plots/settings/DisplaySettings.h"
#include "views3d/scene/gl/QX3DSpectrumScene.h"
#include "views3d/scene/gl/SceneState.h"

#include <GL/glu.h>

using namespace nupo;
using namespace nupo::scenetest;

namespace {

QX3DSpectrumScene& scene()
{
    return QX3DSpectrumScene::sharedQX3DSpectrumScene();
}

// The tile drawn straight into a camera that looks down on it from above, the tile filling the middle.
class SourceTile : public SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        elementsOff();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(64.0, 1.5, 1.0, 1000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(-32.0f, -32.0f, -90.0f);
        glRotatef(-20.0f, 1.0f, 0.0f, 0.0f);
    }

    // Tile of source s in its single-source view.
    QImage drawSource(int s, int mode = 3, int drawS = 0)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        scene().drawSQ(QX3DSpectrumScene::tileOfSource(s), drawS, mode, 0, 0, s + 2, 1, 1, 1, 0);
        return pixels();
    }

    std::vector<Primitive> primitivesOf(int tile, int drawS, int mode, int shapeC)
    {
        return feedback([&] { scene().drawSQ(tile, drawS, mode, 0, 0, shapeC, 1, 1, 1, 0); });
    }

    static void setState(int s, int w, int state) { brainSWX[s][10 + w] = float(state); }
    static int state(int s, int w) { return int(brainSWX[s][10 + w].load()); }
};

}  // namespace

TEST(SourceTileTable, SourcesOfTheTilesInEachLayout)
{
    const int twoSets[10] = {0, 1, 4, 6, 7, 2, 6, 7, 8, 9};
    const int threeSets[10] = {0, 1, 4, 2, 3, 5, 6, 7, 8, 9};
    const int secondSet[10] = {2, 3, 5, 2, 3, 5, 6, 7, 8, 9};
    for (int t = 0; t < 10; ++t) {
        EXPECT_EQ(QX3DSpectrumScene::sourceOfTile(t, 0, 0), twoSets[t]) << t;
        EXPECT_EQ(QX3DSpectrumScene::sourceOfTile(t, 1, 0), threeSets[t]) << t;
        EXPECT_EQ(QX3DSpectrumScene::sourceOfTile(t, 0, 1), secondSet[t]) << t;
        EXPECT_EQ(QX3DSpectrumScene::sourceOfTile(t, 1, 7), 5) << t;  // one source: every tile shows it
    }
    for (int t : {-1, 10, 20, 21, 30})
        EXPECT_EQ(QX3DSpectrumScene::sourceOfTile(t, 0, 0), -1) << t;
    EXPECT_EQ(QX3DSpectrumScene::sourceOfTile(0, 0, 12), -1);
    EXPECT_EQ(QX3DSpectrumScene::sourceOfTile(0, 0, -1), -1);

    const int tiles[10] = {0, 1, 3, 4, 2, 5, 6, 7, 8, 9};
    for (int s = 0; s < 10; ++s)
        EXPECT_EQ(QX3DSpectrumScene::tileOfSource(s), tiles[s]);
    EXPECT_EQ(QX3DSpectrumScene::tileOfSource(10), -1);

    // The data mapper fills each drawn tile's grid with the source the tile is labelled with.
    for (auto [oneBrain, towBrain, shapeC] : {std::tuple{1, 0, 0}, {1, 0, 1}, {0, 0, 0}, {0, 1, 0}})
        for (const auto& gs : QX3DSpectrum::layoutSources(oneBrain, towBrain, shapeC))
            EXPECT_EQ(QX3DSpectrumScene::sourceOfTile(gs.grid, towBrain, shapeC), gs.source);
}

TEST_F(SourceTile, FlashSwitchesHighlightOneWindowAndNeverTouchTheBounds)
{
    for (int w = 0; w < 8; ++w)
        setState(2, w, w == 5 ? 0 : 2);
    for (int k = 18; k < 50; ++k)
        brainSWX[2][k] = float(k);
    scene().setONFlashBSdisplay(3, 2);
    drawSource(2);
    for (int w = 0; w < 8; ++w)
        EXPECT_EQ(state(2, w), w == 3 ? 2 : 1) << w;

    // Window 8 or -1 selects nothing: every window shown, no word beyond the states written.
    for (int window : {8, 9, 40, -1}) {
        scene().setONFlashBSdisplay(window, 2);
        drawSource(2);
        for (int w = 0; w < 8; ++w)
            EXPECT_EQ(state(2, w), 1) << window;
        for (int k = 18; k < 50; ++k)
            EXPECT_EQ(brainSWX[2][k], float(k)) << window;
    }

    // Another source stops the highlighting and leaves the states as they were.
    scene().setONFlashBSdisplay(4, 2);
    drawSource(2);
    scene().setONFlashBSdisplay(4, 11);
    drawSource(2);
    EXPECT_EQ(state(2, 4), 2);
    EXPECT_EQ(BrainCHXX, 10);

    // An off request is consumed by the next tile drawn, whichever it is.
    scene().setOffFlashBSdisplay(4, 2);
    EXPECT_EQ(OffFlashBS, 1);
    drawSource(0);
    EXPECT_EQ(OffFlashBS, 0);
    EXPECT_EQ(state(2, 4), 1);
    drawSource(2);  // highlighted again on the next frame
    EXPECT_EQ(state(2, 4), 2);
}

TEST_F(SourceTile, BrainSwitchBoxesInSingleSourceViews)
{
    SampleSpeed = 128;
    fftp = 256;
    fftp512Band = 0;
    // Window 0 of CH 1: 4..8 Hz, levels 1..3.
    brainSWX[0][18] = 1.0f;
    brainSWX[0][26] = 3.0f;
    brainSWX[0][34] = 4.0f;
    brainSWX[0][42] = 8.0f;
    setState(0, 0, 0);
    const QImage off = drawSource(0, 5);
    setState(0, 0, 1);
    const QImage shown = drawSource(0, 5);
    EXPECT_GT(differingPixels(off, shown), 500);
    setState(0, 0, 2);  // flashing: another look
    const QImage flashing = drawSource(0, 5);
    EXPECT_GT(differingPixels(shown, flashing), 500);
    const int flash = flushC2;
    drawSource(0, 5);
    EXPECT_EQ(flushC2, (flash + 1) % 65);

    // A window below the start frequency draws no box; nor does a multi-tile view.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setState(0, 0, 1);
    scene().drawSQ(0, 0, 5, 0, 0, 2, 1, 1, 1, 20);  // start row 20 = 10 Hz
    EXPECT_EQ(differingPixels(off, pixels()), 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene().drawSQ(0, 0, 5, 0, 0, 0, 1, 1, 1, 0);
    EXPECT_EQ(differingPixels(off, pixels()), 0);
}

TEST_F(SourceTile, BrainSwitchBoxesAreTranslucentGlass)
{
    // The eight default windows of CH 1 tile its whole spectrum; spectra and surfaces off, only the boxes
    // (and the blank label) are drawn. A box face adds the glass's emission and faint grey light, its
    // ambient taken from the current colour, which the label leaves black: overlapping faces stay a
    // translucent reddish grey, never an opaque amber or white slab.
    SampleSpeed = 128;
    fftp = 256;
    fftp512Band = 0;
    initbrainSWX();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene().drawSQ(QX3DSpectrumScene::tileOfSource(0), 0, 3, 0, 0, 2, 1, 1, 0, 0);
    const QImage image = pixels();
    int covered = 0, bright = 0, greenish = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (isBackground(p))
                continue;
            ++covered;
            bright += qGreen(p) >= 250;
            greenish += qGreen(p) > qRed(p);
        }
    EXPECT_GT(covered, 20000);
    EXPECT_EQ(bright, 0) << "saturated box faces";
    EXPECT_LT(greenish, covered / 100) << "the glass is reddish: its emission leads in red";
    initbrainSWX();
    for (int s = 0; s < brainSourceCount; ++s)
        for (int w = 0; w < 8; ++w)
            setState(s, w, 0);
}

TEST_F(SourceTile, HitMarksAboveTheThresholdAndPerMode)
{
    // A cube is six quads, fed back as twelve triangles; the blank label and mode 5 draw no polygon.
    const auto cubes = [&](int source) {
        return countOf(primitivesOf(QX3DSpectrumScene::tileOfSource(source), 1, 5, source + 2),
                       GL_POLYGON_TOKEN);
    };
    glDisable(GL_CULL_FACE);
    ShowTextBSMix = 0;
    grid = 64;
    const int surfaceOnly = cubes(1);
    peakSWfftCount[1][4][0].store({5.0f, 10.0f, 20, 19, 0.2f});  // exactly 0.2: no mark
    EXPECT_EQ(cubes(1), surfaceOnly);
    peakSWfftCount[1][4][0].store({5.0f, 10.0f, 20, 19, 0.3f});
    peakSWfftCount[1][4][1].store({5.0f, 10.0f, 22, 19, 0.5f});
    peakSWfftCount[1][4][2].store({5.0f, 10.0f, 24, 19, 0.7f});
    setBSPeakModeX = 1;
    EXPECT_EQ(cubes(1), surfaceOnly + 12);
    setBSPeakModeX = 3;
    EXPECT_EQ(cubes(1), surfaceOnly + 36);
    setBSPeakModeX = 0;
    EXPECT_EQ(cubes(1), surfaceOnly);
    // Coherence sources read their own table.
    setBSPeakModeX = 1;
    peakSWcoherenceCount[6][0][0].store({5.0f, 10.0f, 20, 19, 2.0f});
    EXPECT_EQ(cubes(6), surfaceOnly + 12);
}

TEST_F(SourceTile, PeakMarksSkipTheNewestRowInMultiTileViews)
{
    glDisable(GL_CULL_FACE);
    ShowTextBSMix = 0;
    setPeakWFModeX = 1;
    PeakfftPowerFV[0][0][0].store({4.0f, 10.0f, 10, 0, 4.0f});
    PeakfftPowerFV[0][5][0].store({4.0f, 10.0f, 10, 5, 4.0f});
    PeakfftPowerFV[0][6][0].store({0.2f, 10.0f, 10, 6, 0.2f});  // too low
    PeakfftPowerFV[0][7][0].store({4.0f, 10.0f, 70, 7, 4.0f});  // row 70: y = -7, off the tile
    const int single = countOf(primitivesOf(0, 0, 5, 2), GL_POLYGON_TOKEN);
    const int sets = countOf(primitivesOf(0, 0, 5, 0), GL_POLYGON_TOKEN);
    EXPECT_EQ(single, 24);
    EXPECT_EQ(sets, 12);
    setPeakWFModeX = 0;
    EXPECT_EQ(countOf(primitivesOf(0, 0, 5, 2), GL_POLYGON_TOKEN), 0);
    // Tiles 2 and 6..9 of the sets carry no peak marks.
    setPeakWFModeX = 1;
    EXPECT_EQ(countOf(primitivesOf(2, 0, 5, 0), GL_POLYGON_TOKEN), 0);
}

TEST_F(SourceTile, EachElementDrawsOnItsTile)
{
    SampleSpeed = 128;
    fftp = 256;
    PeakfftPowerFV[0][0][0].store({7.0f, 10.0f, 10, 0, 7.0f});
    const auto changes = [&](int source, int e, int drawS) {
        const QImage without = drawSource(source, 3, drawS);
        displayModeX[source][e] = 1;
        const QImage with = drawSource(source, 3, drawS);
        displayModeX[source][e] = 0;
        return differingPixels(without, with);
    };
    for (int e = 0; e <= 10; ++e) {
        if (e != 3) {
            EXPECT_GT(changes(0, e, e == 10 ? 1 : 0), 40) << "channel element " << e;
        }
    }
    displayModeX[0][2] = 1;  // the thin time frames become wide strips
    EXPECT_GT(changes(0, 3, 0), 40);
    displayModeX[0][2] = 0;

    for (int e : {0, 1, 2, 4, 5, 9})
        EXPECT_GT(changes(4, e, 0), 40) << "coherence element " << e;
    for (int e : {6, 7, 8})  // no level planes over a coherence tile
        EXPECT_EQ(changes(4, e, 0), 0) << "coherence element " << e;

    // Mesh mode 5 draws no surface but still the elements; a tile outside the tables draws nothing.
    displayModeX[0][5] = 1;
    const QImage markersOnly = drawSource(0, 5);
    int lit = 0;
    for (int y = 0; y < markersOnly.height(); ++y)
        for (int x = 0; x < markersOnly.width(); ++x)
            lit += !isBackground(markersOnly.pixel(x, y));
    EXPECT_GT(lit, 100);
    for (int tile : {-1, 10, 19, 22})
        EXPECT_TRUE(primitivesOf(tile, 1, 3, 0).empty()) << tile;
    EXPECT_TRUE(primitivesOf(0, 1, 3, 12).empty());
}
