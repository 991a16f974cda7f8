#include "SceneTestSupport.h"
#include "platform/gl/ColorTables.h"
#include "plots/settings/DisplaySettings.h"
#include "views3d/scene/gl/QX3DSpectrumScene.h"
#include "views3d/scene/gl/SceneState.h"

#include <QDir>

using namespace nupo;
using namespace nupo::scenetest;

namespace {

QX3DSpectrumScene& scene()
{
    return QX3DSpectrumScene::sharedQX3DSpectrumScene();
}

// Levels of CH 1..CH 4; the coherence pairs stay at 0. In palette 1 they are cyan, green, red and yellow,
// the pairs blue.
constexpr std::array<double, 4> levels = {3.0, 6.0, 13.0, 17.0};
enum Hue { Pair, Ch1, Ch2, Ch3, Ch4, HueCount };

std::vector<std::array<float, 3>> hueColours()
{
    std::vector<std::array<float, 3>> colours;
    for (double v : {0.0, levels[0], levels[1], levels[2], levels[3]}) {
        const float* c = difmatAX1[ColorTableDetail::entry(int(float(v) * 10.0f + ColorOffsetBSMixSliderX))];
        colours.push_back({c[0], c[1], c[2]});
    }
    return colours;
}

struct HueArea {
    int pixels = 0;
    double x = 0, y = 0;  // centroid, window coordinates
};

std::array<HueArea, HueCount> hueAreas(const QImage& image)
{
    const auto colours = hueColours();
    std::array<HueArea, HueCount> areas{};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int hue = nearestHue(image.pixel(x, y), colours);
            if (hue < 0)
                continue;
            HueArea& a = areas[std::size_t(hue)];
            ++a.pixels;
            a.x += x;
            a.y += image.height() - 1 - y;
        }
    for (HueArea& a : areas)
        if (a.pixels > 0) {
            a.x /= a.pixels;
            a.y /= a.pixels;
        }
    return areas;
}

class SceneComposer : public SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        elementsOff();
        setBSMaterialX = 1;  // no specular highlight: lit surfaces keep their hue
        setRecX = 0;         // playing: a data step every frame
        setPauseX = 0;
    }

    // The top-view camera presets of the layouts.
    static SceneFrame topView(int oneBrain, int towBrain, int shapeC)
    {
        SceneFrame f;
        f.oneBrain = oneBrain;
        f.towBrain = towBrain;
        f.shapeC = shapeC;
        f.sph = 90.0f;
        f.sthet = 0.0f;
        f.PColor = 1.0f;
        f.texture = 0;
        f.displayUnnMode = 3;
        if (shapeC >= 2 && towBrain == 0) {
            f.Yposi = -36.0f;
            f.sdept = 128.3f;
            f.Viwe_Mode = 0.0f;
        } else if (oneBrain != 0) {
            f.Yposi = -38.0f;
            f.sdept = 155.1f;
            f.Viwe_Mode = 16.0f;
        } else {
            f.Yposi = -36.0f;
            f.sdept = 432.1f;
            f.Viwe_Mode = 40.0f;
            f.TopNON = 1;
        }
        return f;
    }

    QImage drawLayout(const SceneFrame& f, const char* name)
    {
        fillLayout(levels, f.oneBrain, f.towBrain, f.shapeC);
        scene().displayUnn(f);
        QImage image = pixels();
        if (qEnvironmentVariableIsSet("NUPO_SCENE_IMAGES"))
            image.save(QDir(qEnvironmentVariable("NUPO_SCENE_IMAGES")).filePath(QString(name) + ".png"));
        return image;
    }
};

constexpr int shown = 400;  // pixels of a hue that count as a tile shown
constexpr int absent = 40;  // at most this many: not shown (edges blend)

}  // namespace

TEST_F(SceneComposer, OneSourceDrawsItsTileInTheMiddle)
{
    const QImage image = drawLayout(topView(0, 0, 3), "one-source");  // CH 2
    const auto areas = hueAreas(image);
    EXPECT_GT(areas[Ch2].pixels, 20000);
    for (Hue other : {Pair, Ch1, Ch3, Ch4})
        EXPECT_LT(areas[other].pixels, absent) << other;
    EXPECT_NEAR(areas[Ch2].x, 320.0, 40.0);
}

TEST_F(SceneComposer, OneSetShowsTwoChannelsAndTheirPair)
{
    displayModeX[0][11] = 1;
    const QImage image = drawLayout(topView(1, 0, 0), "one-set-12");
    auto areas = hueAreas(image);
    for (Hue hue : {Pair, Ch1, Ch2})
        EXPECT_GT(areas[hue].pixels, shown) << hue;
    for (Hue hue : {Ch3, Ch4})
        EXPECT_LT(areas[hue].pixels, absent) << hue;

    // CH 3 and CH 4 take the first set's tiles; without element 11 the flat power views are gone.
    displayModeX[0][11] = 0;
    const QImage second = drawLayout(topView(1, 0, 1), "one-set-34");
    const auto areas34 = hueAreas(second);
    for (Hue hue : {Pair, Ch3, Ch4})
        EXPECT_GT(areas34[hue].pixels, shown) << hue;
    for (Hue hue : {Ch1, Ch2})
        EXPECT_LT(areas34[hue].pixels, absent) << hue;
}

TEST_F(SceneComposer, TwoSetsShowCh3OnTileFiveAndNoCh4)
{
    const QImage image = drawLayout(topView(0, 0, 0), "two-sets");
    const auto areas = hueAreas(image);
    for (Hue hue : {Pair, Ch1, Ch2, Ch3})
        EXPECT_GT(areas[hue].pixels, shown) << hue;
    EXPECT_LT(areas[Ch4].pixels, absent);
    // The second set stands beyond the first, tile 5 in the middle; CH 1 left of CH 2.
    EXPECT_NEAR(areas[Ch3].x, 320.0, 10.0);
    EXPECT_GT(areas[Ch3].y, areas[Ch1].y + 80.0);
    EXPECT_LT(areas[Ch1].x + 60.0, areas[Ch2].x);

    // Element 11 of row 0 adds the flat power views beside tile 2, coloured like CH 1 and CH 2.
    displayModeX[0][11] = 1;
    const auto withFlat = hueAreas(drawLayout(topView(0, 0, 0), "two-sets-flat"));
    EXPECT_GT(withFlat[Ch1].pixels, areas[Ch1].pixels + shown);
    EXPECT_GT(withFlat[Ch2].pixels, areas[Ch2].pixels + shown);
    EXPECT_LT(withFlat[Ch1].y, areas[Ch1].y);
}

TEST_F(SceneComposer, ThreeSetsShowEveryChannel)
{
    const QImage image = drawLayout(topView(0, 1, 0), "three-sets");
    const auto areas = hueAreas(image);
    for (Hue hue : {Pair, Ch1, Ch2, Ch3, Ch4})
        EXPECT_GT(areas[hue].pixels, shown) << hue;
    // CH 3 and CH 4 now take the second set's side tiles, beyond CH 1 and CH 2 and further apart.
    EXPECT_GT(areas[Ch3].y, areas[Ch1].y + 80.0);
    EXPECT_GT(areas[Ch4].y, areas[Ch2].y + 80.0);
    EXPECT_GT(areas[Ch4].x - areas[Ch3].x, areas[Ch2].x - areas[Ch1].x + 40.0);
    // Tiles 2, 8, 9 and the brain-switch surfaces of 8 and 9 are five blue squares below them.
    EXPECT_GT(areas[Pair].pixels, 8 * 2500);
}

TEST_F(SceneComposer, TimeRowsRecordUnpausedFramesNewestFirst)
{
    for (auto& t : timeRec)
        t = 0;
    scene().setupTimeNumber(5);
    scene().setupTimeNumber(9);
    EXPECT_EQ(timeRec[0], 9);
    EXPECT_EQ(timeRec[1], 9);
    EXPECT_EQ(timeRec[2], 5);
    EXPECT_EQ(timeRec[3], 0);

    SceneFrame f = topView(0, 0, 2);
    ploop = 700;
    scene().displayUnn(f);
    EXPECT_EQ(timeRec[0], 700);
    EXPECT_EQ(timeRec[3], 5);
    setPauseX = 1;  // a paused frame records nothing
    ploop = 800;
    scene().displayUnn(f);
    EXPECT_EQ(timeRec[0], 700);
    EXPECT_EQ(timeRec[1], 700);
}

TEST_F(SceneComposer, RecordingThrottlesTheDataStepAndFollowsThePositionWithThePortClosed)
{
    fillLayout(levels, 0, 0, 2);  // CH 1 shown at level 3
    const SceneFrame f = topView(0, 0, 2);
    setRecX = 1;
    openPort = 0;
    tploop = 4;
    tploopBB = 100;
    ploop = 103;  // too early: nothing moves
    scene().displayUnn(f);
    EXPECT_EQ(tploopBB, 100);
    ploop = 104;  // due, but the port is closed: no step, the position is still taken
    QXFFT::sharedQXFFT().putcomplexDoubleToBuffer(0, 5, {9.0, 0.0});
    scene().displayUnn(f);
    EXPECT_EQ(tploopBB, 104);
    EXPECT_FLOAT_EQ(QX3DSpectrum::sharedQX3DSpectrum().heightGrid(0)[0][58], 3.0f);
    openPort = 1;
    ploop = 107;
    scene().displayUnn(f);
    EXPECT_FLOAT_EQ(QX3DSpectrum::sharedQX3DSpectrum().heightGrid(0)[0][58], 3.0f);
    ploop = 108;
    scene().displayUnn(f);
    EXPECT_FLOAT_EQ(QX3DSpectrum::sharedQX3DSpectrum().heightGrid(0)[0][58], 9.0f);
    EXPECT_EQ(tploopBB, 108);
}

TEST_F(SceneComposer, ImagesAndPalettesStepWrapAndClamp)
{
    SceneFrame f = topView(0, 0, 2);
    f.texture = 2;
    f.maxImageNX = 3;
    f.Color_Map = 7.0f;  // clamped to the last image
    EXPECT_EQ(scene().displayUnn(f), 2);
    EXPECT_EQ(ImageNZ, 2);
    f.RunTexture = 1;
    f.ImageNX = 2;  // steps past the last image back to 0
    EXPECT_EQ(scene().displayUnn(f), 0);
    EXPECT_EQ(ImageNZ, 0);
    f.maxImageNX = 0;  // nothing loaded: no image made current
    f.ImageNX = 5;
    EXPECT_EQ(scene().displayUnn(f), 0);
    EXPECT_EQ(ImageNZ, 0);

    // Each of the six tiles of the two-set layout takes the next palette, wrapping 5 -> 0.
    SceneFrame sets = topView(0, 0, 0);
    sets.texture = 0;
    sets.PColor = 2.0f;
    sets.ImageNX = 10;
    imagePosition = 1;
    EXPECT_EQ(scene().displayUnn(sets), 16);
    EXPECT_FLOAT_EQ(PColor_valueYM, 2.0f);  // 3, 4, 5, 0, 1, 2
    sets.RunTexture = 1;
    sets.texture = 1;
    FColor_valueYM = 5.0f;
    scene().displayUnn(sets);
    EXPECT_FLOAT_EQ(FColor_valueYM, 0.0f);  // 0 for the frame, then six tiles: 1 .. 5, 0
}

TEST_F(SceneComposer, HoverMarksOnlyAtTheOverviewCameraOfTheSets)
{
    SceneFrame f = topView(0, 0, 0);
    f.TopNON = 0;
    f.sph = 90.0f;
    f.sthet = 45.25f;
    f.Xposi = 0.0f;
    f.Yposi = -40.0f;
    f.sdept = 232.1f;
    f.Viwe_Mode = 16.0f;
    const auto draw = [&](int zone, const SceneFrame& frame) {
        show4sphere = zone;
        fillLayout(levels, frame.oneBrain, frame.towBrain, frame.shapeC);
        scene().displayUnn(frame);
        return pixels();
    };
    const QImage none = draw(0, f);
    const QImage all = draw(5, f);
    EXPECT_GT(differingPixels(none, all), 5000);
    const QImage zone1 = draw(1, f);
    EXPECT_GT(differingPixels(none, zone1), 500);
    EXPECT_GT(differingPixels(all, zone1), 500);

    f.sph = 84.9f;  // off the preset: no marks
    EXPECT_EQ(differingPixels(draw(0, f), draw(5, f)), 0);
    SceneFrame oneSet = f;
    oneSet.sph = 90.0f;
    oneSet.oneBrain = 1;
    EXPECT_EQ(differingPixels(draw(0, oneSet), draw(5, oneSet)), 0);
}

TEST_F(SceneComposer, CameraTurnAndTextureEnvironment)
{
    SceneFrame f = topView(0, 0, 2);
    rotateX = 1;
    ChangeTorotateX = 1;
    f.sph = 33.0f;
    scene().displayUnn(f);
    EXPECT_FLOAT_EQ(sphiZ, 33.0f);
    EXPECT_EQ(ChangeTorotateX, 0);
    rotateX = 0;
    scene().displayUnn(f);
    EXPECT_EQ(ChangeTorotateX, 1);

    f.EnvModeC = 1;
    f.Env = 1;
    scene().displayUnn(f);
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_DECAL);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    f.EnvModeC = 0;
    f.Env = 0;  // not applied without EnvModeC
    scene().displayUnn(f);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_T));
    f.EnvModeC = 1;
    scene().displayUnn(f);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
}

// The image modes draw the textured mesh mode, which takes grids 0..19 only: the sources' tiles carry
// whatever texture is current (none before any image is loaded), and the flat power views, which show
// nothing but the colour of the power, are left out; the palette modes draw them.
TEST_F(SceneComposer, ImageModesTextureTheSourceTilesAndLeaveOutTheFlatPowerViews)
{
    SceneFrame f = topView(1, 0, 0);  // seen from the front and above, the flat views in front
    f.sthet = 45.25f;
    f.Yposi = -40.0f;
    f.sdept = 230.0f;
    displayModeX[0][11] = 0;
    const QImage tilesOnly = drawLayout(f, "image-modes-palette-tiles");
    displayModeX[0][11] = 1;
    const QImage palette = drawLayout(f, "image-modes-palette-flat");

    // The pixels of CH 1, CH 2 and their pair, and those the flat power views add beside the pair.
    std::vector<QPoint> tilePixels, flatPixels;
    for (int y = 0; y < palette.height(); ++y)
        for (int x = 0; x < palette.width(); ++x) {
            if (!isBackground(tilesOnly.pixel(x, y)))
                tilePixels.push_back({x, y});
            else if (!isBackground(palette.pixel(x, y)))
                flatPixels.push_back({x, y});
        }
    ASSERT_GT(tilePixels.size(), 3u * 2500u);
    ASSERT_GT(flatPixels.size(), 2u * 2500u);

    // What a surface shows where the tiles stand, and how much of the flat views' place is drawn on.
    struct Picture {
        std::size_t tilesDrawn = 0, tilesBlue = 0, tilesYellow = 0, flatDrawn = 0;
    };
    const auto drawImageMode = [&](int texture, const char* name) {
        f.texture = texture;  // as the window's image modes set it: the textured mesh mode
        f.displayUnnMode = 4;
        setDisplayn(4);
        const QImage image = drawLayout(f, name);
        Picture p;
        for (const QPoint& at : tilePixels) {
            const QRgb c = image.pixel(at);
            if (isBackground(c))
                continue;
            ++p.tilesDrawn;
            p.tilesBlue += qBlue(c) > qGreen(c);
            p.tilesYellow += qBlue(c) * 4 < qGreen(c);
        }
        for (const QPoint& at : flatPixels)
            p.flatDrawn += !isBackground(image.pixel(at));
        return p;
    };

    // No image loaded (none made current): plain surfaces in the material's blue.
    glBindTexture(GL_TEXTURE_2D, 0);
    for (int texture : {2, 3}) {
        const Picture p = drawImageMode(texture, texture == 2 ? "image-mode-none" : "moving-mode-none");
        EXPECT_GT(p.tilesDrawn, tilePixels.size() * 9 / 10) << texture;
        EXPECT_GT(p.tilesBlue, p.tilesDrawn * 9 / 10) << texture;
        EXPECT_LT(p.flatDrawn, flatPixels.size() / 100) << texture;
    }

    // A yellow image current: the tiles take it (blue gone), the flat views' place stays empty.
    GLuint yellow = 0;
    glGenTextures(1, &yellow);
    glBindTexture(GL_TEXTURE_2D, yellow);
    const GLubyte texels[4][4] = {
        {255, 255, 0, 255}, {255, 255, 0, 255}, {255, 255, 0, 255}, {255, 255, 0, 255}};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    for (int texture : {2, 3}) {
        const Picture p = drawImageMode(texture, texture == 2 ? "image-mode-yellow" : "moving-mode-yellow");
        EXPECT_GT(p.tilesDrawn, tilePixels.size() * 9 / 10) << texture;
        EXPECT_GT(p.tilesYellow, p.tilesDrawn * 9 / 10) << texture;
        EXPECT_LT(p.flatDrawn, flatPixels.size() / 100) << texture;
    }
    glDeleteTextures(1, &yellow);

    // Back in a palette mode the flat power views are there again.
    f.texture = 0;
    f.displayUnnMode = 3;
    setDisplayn(3);
    const QImage again = drawLayout(f, "image-modes-palette-again");
    std::size_t flatDrawn = 0;
    for (const QPoint& at : flatPixels)
        flatDrawn += !isBackground(again.pixel(at));
    EXPECT_GT(flatDrawn, flatPixels.size() * 9 / 10);
}
