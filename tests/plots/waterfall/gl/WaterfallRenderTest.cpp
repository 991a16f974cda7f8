#include "analysis/QXFFT.h"
#include "platform/gl/OffscreenGLContext.h"
#include "plots/settings/DisplaySettings.h"
#include "plots/waterfall/QX2DSpectrum.h"
#include "plots/waterfall/WaterfallState.h"
#include "plots/waterfall/gl/QX2DSpectrumOverlays.h"
#include "plots/waterfall/gl/QX2DSpectrumPeakLine.h"
#include "plots/waterfall/gl/QX2DSpectrumRenderer.h"
#include "plots/waterfall/gl/WaterfallColours.h"
#include "plots/waterfall/gl/WaterfallFrame.h"
#include "plots/waterfall/gl/WaterfallText.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nupo {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 160;
const QRgb kBlack = qRgb(0, 0, 0);

QX2DSpectrum& model()
{
    return QX2DSpectrum::sharedQX2DSpectrum();
}
QX2DSpectrumRenderer& renderer()
{
    return QX2DSpectrumRenderer::sharedQX2DSpectrumRenderer();
}

// The engine's GL state in an offscreen context, with an orthographic camera looking down the z axis
// onto `width` × `height` model units from the origin (20 pixels per unit for 16 × 8).
class WaterfallRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(context.isValid()) << context.errorString().toStdString();
        context.makeCurrent();
        renderer().mainNewaveZ();
    }

    QImage draw(const std::function<void()>& scene, float width = 16, float height = 8,
                bool fromBelow = false)
    {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, width, 0, height, -100, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        if (fromBelow) {  // turned over about the x axis: y runs down the image
            glTranslatef(0, height, 0);
            glRotatef(180, 1, 0, 0);
        }
        const WaterfallFrameScope scope(take());
        scene();
        return context.readPixels();
    }

    // The frame's copy of sources A and B, CH 1 and CH 2 and of the settings, as a view's
    // synchronisation step takes it.
    const WaterfallFrame& take()
    {
        frame->takeShared({0, 1}, {0, 1});
        return *frame;
    }
    // The normals of height grid n, from the copy.
    void normalsOf(int n)
    {
        const WaterfallFrameScope scope(take());
        renderer().getFaceNormsZ(n);
        renderer().getVertNormsZ();
    }

    // Pixel at model point (x, y) of the default 16 × 8 view.
    static QRgb at(const QImage& image, float x, float y)
    {
        return image.pixel(int(x * 20), kHeight - 1 - int(y * 20));
    }
    // Whether any pixel within one pixel of the model point has the colour.
    static bool near(const QImage& image, float x, float y, QRgb colour)
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (image.pixel(int(x * 20) + dx, kHeight - 1 - int(y * 20) + dy) == colour)
                    return true;
        return false;
    }
    static int changedPixels(const QImage& a, const QImage& b)
    {
        int changed = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                changed += a.pixel(x, y) != b.pixel(x, y);
        return changed;
    }

    OffscreenGLContext context{QSize(kWidth, kHeight)};
    std::unique_ptr<WaterfallFrame> frame = std::make_unique<WaterfallFrame>();
};

int nonBlack(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xffffff) != 0;
    return count;
}

TEST_F(WaterfallRender, WireframeDrawsWhiteLinesAlongRowsAndColumns)
{
    setDisplaynZ(0);  // unlit: the current colour shows as it is
    const QImage image = draw([] { renderer().drawWireframeZ(0); });
    EXPECT_TRUE(near(image, 2.0f, 3.5f, qRgb(255, 255, 255)));  // along row 2
    EXPECT_TRUE(near(image, 4.5f, 5.0f, qRgb(255, 255, 255)));  // along column 5
    EXPECT_EQ(at(image, 4.5f, 3.5f), kBlack);                   // inside a cell
    // A grid number with no grid draws nothing, and leaves the colour white.
    const QImage none = draw([] { renderer().drawWireframeZ(25); });
    EXPECT_EQ(nonBlack(none), 0);
}

TEST_F(WaterfallRender, FlatAndHiddenLineFillCellsAndHiddenLineOutlinesThem)
{
    setDisplaynZ(0);
    const QImage flat = draw([] { renderer().drawFlatShadedZ(0); });
    EXPECT_EQ(at(flat, 4.5f, 3.5f), qRgb(204, 51, 204));
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));

    const QImage hidden = draw([] { renderer().drawHiddenLineZ(0); });
    EXPECT_EQ(at(hidden, 4.5f, 3.6f), qRgb(204, 51, 204));
    EXPECT_TRUE(near(hidden, 4.5f, 3.0f, qRgb(255, 255, 255)));  // the outline along column 3
    GLint modes[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    // The last strip covers rows 126 and 127; nothing lies beyond row 127.
    const QImage whole = draw([] { renderer().drawFlatShadedZ(0); }, 130, 66);
    EXPECT_NE(whole.pixel(int(126.5 * kWidth / 130.0), kHeight / 2), kBlack);
    EXPECT_EQ(whole.pixel(int(128.5 * kWidth / 130.0), kHeight / 2), kBlack);
}

TEST_F(WaterfallRender, HiddenLineFillIsLitByTheSurfaceNotByALeftoverNormal)
{
    // The window draws with smooth shading and lighting on, and the preset leaves colour material off:
    // the fill shows the lit material, so it needs the surface's own normals. A normal left behind by
    // earlier drawing (here one facing away from the light) must not turn it black.
    setDisplaynZ(3);
    model().initPositionZ();
    normalsOf(0);
    const auto scene = [](void (QX2DSpectrumRenderer::*mesh)(int)) {
        return [mesh] {
            setMaterial2D(3);
            glNormal3f(0, 0, -1);
            (renderer().*mesh)(0);
        };
    };
    const QImage flat = draw(scene(&QX2DSpectrumRenderer::drawFlatShadedZ));
    const QImage hidden = draw(scene(&QX2DSpectrumRenderer::drawHiddenLineZ));
    for (const float x : {0.5f, 4.5f, 12.5f}) {
        SCOPED_TRACE(x);
        // A flat grid has one normal everywhere: both fills light alike, the first cell of each strip
        // (whose first two corners have no face of their own) included.
        EXPECT_NE(at(hidden, x, 3.6f), kBlack);
        EXPECT_EQ(at(hidden, x, 3.6f), at(flat, x, 3.6f));
        EXPECT_EQ(at(hidden, x, 0.15f), at(flat, x, 0.15f));
        EXPECT_TRUE(near(hidden, x, 3.0f, qRgb(255, 255, 255)));  // the outlines stay white when lit
    }
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    setDisplaynZ(0);
}

TEST_F(WaterfallRender, EachSurfaceModeTakesTheNormalsOfItsOwnGrid)
{
    // A ridge along the history in source A's grid, a flat grid for source B. A panel of A must light
    // the ridge from A's normals whatever grid's normals were computed last (a wireframe panel computes
    // none, so they may be another source's).
    model().initPositionZ();
    QX2DSpectrum::FloatGrid& ridge = *model().heightGrid(0);
    QX2DSpectrum::FloatGrid& flat = *model().heightGrid(1);
    for (int r = 0; r < 128; ++r)
        for (int j = 0; j < 64; ++j) {
            ridge[r][j] = j >= 6 && j < 10 ? 3.0f * static_cast<float>(j - 5) : 0.0f;
            flat[r][j] = 0.0f;
        }
    for (int k = 0; k < waterfallFlagCount; ++k)
        setDisplayModeFlag(2, k, 0);  // the single panel of source A: no overlays
    setPeakModeX = 0;
    setMaterialX = 3;
    Draw2DBothside = 1;
    setDisplaynZ(3);
    const auto panel = [](int mode, int normalsOf) {
        return [mode, normalsOf] {
            renderer().getFaceNormsZ(normalsOf);
            renderer().getVertNormsZ();
            renderer().drawSQZ(0, 0, mode, 0, 0, 1, 1, 1, 0);
        };
    };
    for (int mode : {0, 1, 2, 3}) {
        SCOPED_TRACE(mode);
        draw(panel(mode, 0), 16, 16);  // the panel places the light for the next frame
        const QImage own = draw(panel(mode, 0), 16, 16);
        EXPECT_GT(nonBlack(own), 0);
        EXPECT_EQ(changedPixels(own, draw(panel(mode, 1), 16, 16)), 0);
    }
    setDisplaynZ(0);
}

TEST_F(WaterfallRender, SmoothSurfaceIsColouredByHeightAndSeenFromBelowOnlyWithTheBackPass)
{
    model().initPositionZ();
    for (int r = 0; r < 128; ++r)
        for (int j = 8; j < 12; ++j)
            model().positZ[r][j] = 8.0f;  // a ridge along the history
    normalsOf(0);
    setMaterialX = 3;
    Draw2DBothside = 1;
    const auto surface = [] { renderer().drawSmoothShadedZ(0, 0, 0, 1, 1, 0); };
    const QImage above = draw(surface, 16, 16);
    const QRgb flatColour = above.pixel(int(4.5 * 20), kHeight - 1 - int(2.5 * 10));
    const QRgb ridgeColour = above.pixel(int(4.5 * 20), kHeight - 1 - int(9.5 * 10));
    EXPECT_NE(flatColour, kBlack);
    EXPECT_NE(ridgeColour, kBlack);
    EXPECT_NE(flatColour, ridgeColour);  // index 35 against 115 of the palette

    EXPECT_GT(nonBlack(draw(surface, 16, 16, true)), kWidth * kHeight / 2);
    Draw2DBothside = 0;
    EXPECT_EQ(nonBlack(draw(surface, 16, 16, true)), 0);  // only front faces: culled from below

    // Texture mode 2: no colour per vertex, so the palettes make no difference; mode 0 follows them.
    Draw2DBothside = 1;
    const QImage plain1 = draw([] { renderer().drawSmoothShadedZ(0, 2, 0, 1, 1, 0); }, 16, 16);
    const QImage plain3 = draw([] { renderer().drawSmoothShadedZ(0, 2, 0, 3, 3, 0); }, 16, 16);
    EXPECT_EQ(changedPixels(plain1, plain3), 0);
    const QImage ramp3 = draw([] { renderer().drawSmoothShadedZ(0, 0, 0, 3, 3, 0); }, 16, 16);
    EXPECT_GT(changedPixels(above, ramp3), kWidth * kHeight / 2);
}

TEST_F(WaterfallRender, OverlayElementsDrawAndLeaveMatrixAndMaterialAsFound)
{
    setMaterialX = 3;
    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    QX2DSpectrumOverlays& overlays = QX2DSpectrumOverlays::sharedQX2DSpectrumOverlays();
    const QImage nothing = draw([&] { overlays.drawSQflatZ(2, 0, 0, 3, 2, 1, 1, 1, 0, 0, 0); }, 130, 66);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(nonBlack(nothing), 0);
    EXPECT_EQ(std::vector<float>(before, before + 16), std::vector<float>(after, after + 16));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));  // preset 8 was undone by preset 3

    // The floor covers the 128 × 64 grid.
    const QImage floor = draw([&] { overlays.drawSQflatZ(1, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0); }, 130, 66);
    EXPECT_NE(floor.pixel(kWidth / 2, kHeight / 2), kBlack);
    EXPECT_EQ(floor.pixel(kWidth - 2, kHeight / 2), kBlack);
}

TEST_F(WaterfallRender, FrequencyLabelPassKeepsItsSpacing)
{
    fftp512Band = 0;
    fftp = 256;
    SampleSpeed = 120;
    xsizeZ = 1000;
    QX2DSpectrumOverlays& overlays = QX2DSpectrumOverlays::sharedQX2DSpectrumOverlays();
    const QImage labels = draw(
        [&] {
            glTranslatef(20, 0, 0);  // the labels stand at x = -3
            overlays.drawFrequencyLabelZ(256, 0, 0, 1, 1, 0);
        },
        130, 66);
    EXPECT_FLOAT_EQ(fDisplayD, 6.0f);  // the two-panel source (popup index 0)
    EXPECT_FLOAT_EQ(izz, 70.0f);
    EXPECT_GT(nonBlack(labels), 0);
    xsizeZ = 600;
    overlays.drawFrequencyLineY(256, 0, 0, 0, 1, 1, 0);
    EXPECT_FLOAT_EQ(fDisplayD, 12.0f);  // doubled below 700 pixels
    EXPECT_FLOAT_EQ(izzzy, 76.0f);
}

// The characters a scene draws, counted in GL feedback mode (one bitmap token per glyph drawn at a
// valid raster position); -1 when the feedback cannot be read.
int glyphsDrawn(const std::function<void()>& scene)
{
    std::vector<GLfloat> feedback(1 << 20);
    glFeedbackBuffer(GLsizei(feedback.size()), GL_3D, feedback.data());
    glRenderMode(GL_FEEDBACK);
    scene();
    const GLint used = glRenderMode(GL_RENDER);
    int glyphs = 0;
    for (GLint i = 0; i < used;) {
        switch (GLint(feedback[std::size_t(i++)])) {
            case GL_BITMAP_TOKEN:
                ++glyphs;
                i += 3;
                break;
            case GL_POINT_TOKEN:
            case GL_DRAW_PIXEL_TOKEN:
            case GL_COPY_PIXEL_TOKEN:
                i += 3;
                break;
            case GL_LINE_TOKEN:
            case GL_LINE_RESET_TOKEN:
                i += 6;
                break;
            case GL_POLYGON_TOKEN:
                i += 1 + 3 * GLint(feedback[std::size_t(i)]);
                break;
            case GL_PASS_THROUGH_TOKEN:
                i += 1;
                break;
            default:
                return -1;
        }
    }
    return used < 0 ? -1 : glyphs;
}

// Every band caption of the peak line and every clock time of the history rows is drawn where it
// stands, also where neighbours write over one another in a small picture; the three value texts of
// the height axis stand at their three heights instead of at one point.
TEST_F(WaterfallRender, CaptionsAndClockTimesAreAllDrawnAndValueTextsStandAtTheirHeights)
{
    const QImage probe = draw([] {
        glColor3f(1, 1, 1);
        outputSZ(1.0f, 1.0f, "Eye");
    });
    if (nonBlack(probe) == 0)
        GTEST_SKIP() << "no GL text fonts here";

    // The peak line's captions in a picture 320 pixels across 140 model units: the captions of the
    // neighbouring columns 62 and 63 (Gamma, ACnoise) lie less than a pixel apart.
    fftp512Band = 0;
    fftp = 256;
    setHorizontalLineModeX = 1;
    ShowHorizontalLine = 1;
    QX2DSpectrumPeakLine& line = QX2DSpectrumPeakLine::sharedQX2DSpectrumPeakLine();
    std::size_t expected = 0;
    for (int label = 0; label <= 8; ++label)
        expected += 2 * labelfftBigXText(label, 0).size();  // a lower and an upper caption each
    expected +=
        labelfftBigXText(12, 0).size() + labelfftBigXText(13, 0).size() + labelfftBigXText(22, 0).size();
    int glyphs = -1;
    draw(
        [&] {
            glTranslatef(70, 70, 0);
            glyphs = glyphsDrawn([&] { line.DrawHorizontalLine(0, 1, 0, 1, 1); });
        },
        140, 140);
    EXPECT_EQ(glyphs, int(expected));

    // The 17 clock times of element 213, 8 rows apart: about 18 pixels apart here, each some 60 wide.
    QX2DSpectrumOverlays& overlays = QX2DSpectrumOverlays::sharedQX2DSpectrumOverlays();
    SampleSpeed = 120;
    for (int k = 0; k < 130; ++k)
        timeRecZ[k] = 120 * 60 + 7 * k;
    xsizeZ = 320;
    draw([&] { glyphs = glyphsDrawn([&] { overlays.drawSQflatZ(213, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0); }); }, 140,
         100);
    EXPECT_EQ(glyphs, 17 * int(std::string("00:01:00.000").size()));

    // Seen from the side (z up the picture), the labels 20, 21 and 22 at z = -10, 0 and +10, in black on
    // white.
    LOGpowerONed = 0;
    xsizeZ = 1000;
    const QImage values = draw([&] {
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glTranslatef(4, 4, 0);
        glRotatef(-90, 1, 0, 0);
        glScalef(1, 1, 0.3f);
        for (int k = 0; k < 3; ++k)
            labelfftBigZ(0, 0, -10.0f + 10.0f * k, 20 + k, 0);
    });
    int bands = 0;
    bool inText = false;
    for (int y = 0; y < values.height(); ++y) {
        bool text = false;
        for (int x = 0; x < values.width() && !text; ++x)
            text = (values.pixel(x, y) & 0xffffff) != 0xffffff;
        bands += text && !inText;
        inText = text;
    }
    EXPECT_EQ(bands, 3) << "the value texts share their place";
}

TEST_F(WaterfallRender, PeakLineLightsTheBandOfTheTopPeakAndScalesItsBars)
{
    EXPECT_EQ(QX2DSpectrumPeakLine::bandOfFrequency(1.0f, false), 0);
    EXPECT_EQ(QX2DSpectrumPeakLine::bandOfFrequency(4.0f, false), 1);
    EXPECT_EQ(QX2DSpectrumPeakLine::bandOfFrequency(42.0f, false), 0);
    EXPECT_EQ(QX2DSpectrumPeakLine::bandOfFrequency(20.0f, true), 6);
    EXPECT_EQ(QX2DSpectrumPeakLine::bandOfFrequency(17.0f, false), 5);

    model().initPositionZ();
    fftp512Band = 0;
    fftp = 256;
    model().complexDataA3B[0][10] = 30.0;
    model().complexDataB3B[0][10] = 5.0;
    PeakfftPower[0][0][0].store({10.0f, 10.0f, 21, 0, 10.0f});
    PeakfftPower[1][0][0].store({5.0f, 6.0f, 13, 0, 0.0f});
    QX2DSpectrumPeakLine& line = QX2DSpectrumPeakLine::sharedQX2DSpectrumPeakLine();
    setHorizontalLineModeX = 1;
    ShowHorizontalLine = 1;
    const QImage bars = draw(
        [&] {
            glTranslatef(40, 10, 0);
            line.DrawHorizontalLine(1, 1, 0, 1, 1);
            line.DrawHorizontalLine(0, 1, 0, 1, 1);
        },
        130, 66);
    EXPECT_EQ(peakFA, 2);  // 6 Hz: theta
    EXPECT_EQ(peakFB, 3);  // 10 Hz: alpha
    EXPECT_EQ(peakAmpLR[0], 10.0f);
    EXPECT_EQ(peakAmpLR[1], 0.01f);  // a top-peak value of 0 is read as 0.01
    EXPECT_GT(nonBlack(bars), 0);
    // Relative: 2 × 30 / max(10, 0.01) × 20 = 120; real time 60.
    std::optional<WaterfallFrameScope> scope(take());
    EXPECT_FLOAT_EQ(line.columnHeight(0, 10, 1, false, 0), 120.0f);
    EXPECT_FLOAT_EQ(line.columnHeight(0, 10, 0, false, 0), 60.0f);
    // Averaged: nothing is added until 2 × fftp samples have passed.
    EXPECT_FLOAT_EQ(line.columnHeight(0, 10, 2, false, 512), 60.0f);
    EXPECT_EQ(countloop[0][10], 0);
    EXPECT_FLOAT_EQ(line.columnHeight(0, 10, 2, false, 513), 60.0f);
    model().complexDataA3B[0][10] = 10.0;
    EXPECT_FLOAT_EQ(line.columnHeight(0, 10, 2, false, 513), 60.0f);  // the frame's copy: still 30
    scope.reset();
    scope.emplace(take());
    EXPECT_FLOAT_EQ(line.columnHeight(0, 10, 2, false, 513),
                    140.0f / 3);  // (60 + 60 + 20) / 3  // (60 + 20) / 2
    EXPECT_FLOAT_EQ(line.columnHeight(0, 10, 2, true, 513), 140.0f / 3);  // paused: the frozen average
    EXPECT_EQ(countloop[0][10], 3);
    scope.reset();

    // Without the two-panel flag only the light is set.
    const QImage single = draw([&] { line.DrawHorizontalLine(0, 0, 0, 1, 1); }, 130, 66);
    EXPECT_EQ(nonBlack(single), 0);
    EXPECT_EQ(waterfallLightPosition[2], 70.0f);
}

TEST_F(WaterfallRender, DisplayEntryTakesRowsAtTheTransportsPace)
{
    QXFFT::sharedQXFFT();
    model().initPositionZ();
    const auto frame = [] {
        renderer().advanceFrame(3, 2, 0, 0, 0, 0, 1, 1);
        renderer().finishFrame();
    };
    // Record mode with the port open: a row once tploop samples have passed.
    setRecX = 1;
    openPort = 1;
    setPauseX = 0;
    tploop = 4;
    tploopAA = 100;
    PeakfftPower[0][0][0].value.store(7.0f);  // moves down one row per row taken
    ploop = 103;
    frame();
    EXPECT_EQ(tploopAA.load(), 100);
    EXPECT_EQ(PeakfftPower[0][1][0].value.load(), 0.0f);
    ploop = 110;
    frame();
    EXPECT_EQ(tploopAA.load(), 110);
    EXPECT_EQ(PeakfftPower[0][1][0].value.load(), 7.0f);
    // Port closed: no row, but the position is followed.
    openPort = 0;
    PeakfftPower[0][1][0].value.store(0.0f);
    ploop = 120;
    frame();
    EXPECT_EQ(tploopAA.load(), 120);
    EXPECT_EQ(PeakfftPower[0][2][0].value.load(), 0.0f);
    // Play mode: a row on every frame; paused: none, and no time stamp.
    setRecX = 0;
    PeakfftPower[0][0][0].value.store(3.0f);
    ploop = 121;
    frame();
    frame();
    EXPECT_EQ(PeakfftPower[0][2][0].value.load(), 3.0f);
    EXPECT_EQ(timeRecZ[1], 121);
    setPauseX = 1;
    ploop = 500;
    frame();
    EXPECT_EQ(PeakfftPower[0][3][0].value.load(), 0.0f);
    EXPECT_EQ(timeRecZ[1], 121);
}

TEST_F(WaterfallRender, ColourSchemesAnimateOncePerFrame)
{
    setPauseX = 1;
    renderer().PColor_valueY = 0;
    std::vector<int> seen;
    for (int f = 0; f < 7; ++f)
        seen.push_back(renderer().advanceFrame(0, 0, 0, 0, 0, 1, 1, 1).PColor);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 0, 1}));
    const QX2DSpectrumRenderer::Palettes fixed = renderer().advanceFrame(0, 0, 0, 0, 0, 0, 1.5f, 2.7f);
    EXPECT_EQ(fixed.PColor, 1);
    EXPECT_EQ(fixed.FColor, 2);
}

}  // namespace
}  // namespace nupo
