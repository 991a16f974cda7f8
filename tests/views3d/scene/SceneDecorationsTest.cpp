#include "SceneTestSupport.h"
#include "analysis/SpectrumMath.h"
#include "plots/frame/gl/FloorNormals.h"
#include "views3d/scene/gl/FlatElements.h"
#include "views3d/scene/gl/FrequencyRuler.h"
#include "views3d/scene/gl/SceneDecorations.h"
#include "views3d/scene/gl/SceneState.h"
#include "views3d/scene/gl/SceneText.h"

#include <array>

using namespace nupo;
using namespace nupo::scenetest;

namespace {

std::vector<int> rowsOf(const RulerMarks& m, int code = -1)
{
    std::vector<int> rows;
    for (int k = 0; k < m.count; ++k)
        if (code < 0 || m.marks[k].code == code)
            rows.push_back(m.marks[k].row);
    return rows;
}

std::vector<std::pair<int, int>> labelsOf(const RulerMarks& m)
{
    std::vector<std::pair<int, int>> labels;
    for (int k = 0; k < m.count; ++k)
        labels.emplace_back(m.marks[k].row, m.marks[k].code);
    return labels;
}

// Orthographic camera over a tile, so that window positions average like model positions.
class Decorations : public SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        glDisable(GL_CULL_FACE);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-20.0, 100.0, -10.0, 80.0, -200.0, 200.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    // Centres of the cubes in a feedback capture (twelve triangles each), window coordinates.
    static std::vector<std::array<float, 3>> cubeCentres(const std::vector<Primitive>& ps)
    {
        std::vector<std::array<float, 3>> centres;
        std::vector<Primitive> triangles;
        for (const Primitive& p : ps)
            if (p.kind == GL_POLYGON_TOKEN)
                triangles.push_back(p);
        for (std::size_t k = 0; k + 12 <= triangles.size(); k += 12) {
            std::array<float, 3> c{};
            for (std::size_t t = k; t < k + 12; ++t)
                for (int i = 0; i < 3; ++i)
                    c[std::size_t(i)] += triangles[t].centre()[std::size_t(i)] / 12.0f;
            centres.push_back(c);
        }
        return centres;
    }
};

}  // namespace

TEST(FrequencyRuler, RowsOfTheLinearLayoutAt128To8192Points)
{
    SampleSpeed = 128;
    EXPECT_FLOAT_EQ(rowsPerHertz(256), 2.0f);
    const std::pair<int, std::vector<int>> expected[] = {
        {128, {64, 61, 59, 55, 50, 48, 43, 33, 23, 3, 0}},
        {256, {64, 59, 55, 47, 38, 33, 23, 3, 0}},
        {512, {64, 55, 47, 31, 14, 3, 0}},
        {1024, {64, 47, 31, 0}},
        {2048, {64, 31, 0}},
        {4096, {64, 0}},
        {8192, {64, 0}},
    };
    for (const auto& [points, rows] : expected)
        EXPECT_EQ(rowsOf(frequencyLineMarks(points, 0, 0, 0)), rows) << points;

    // At 1920 Hz the high edges come in: 8192 points give 64/15 rows per hertz.
    SampleSpeed = 1920;
    EXPECT_EQ(rowsOf(frequencyLineMarks(8192, 0, 0, 0)), (std::vector<int>{64, 55, 46, 29, 11, 0}));
    // 1024 points: 8/15 rows per hertz in single precision puts 90 Hz at 15.99.. (row 15) and 120 Hz at
    // -0.00.. (row 0, drawn), before the closing cube at row 0.
    EXPECT_EQ(rowsOf(frequencyLineMarks(1024, 0, 0, 0)),
              (std::vector<int>{64, 62, 61, 59, 56, 55, 53, 47, 42, 31, 15, 0, 0}));
    // A start row shifts the edges up; cubes above row 64 are dropped.
    SampleSpeed = 128;
    EXPECT_EQ(rowsOf(frequencyLineMarks(256, 0, 0, 4)), (std::vector<int>{64, 63, 59, 51, 42, 37, 27, 7, 0}));
    // Line mode 1 offers small cubes at every second row after the edges.
    const RulerMarks wide = frequencyLineMarks(256, 0, 1, 0);
    EXPECT_EQ(rowsOf(wide, 0).size(), 33u);
    EXPECT_EQ(rowsOf(wide, 0).front(), 0);
    EXPECT_EQ(rowsOf(wide, 0).back(), 64);

    // Without a sampling rate nothing divides by zero: every edge sits at its offset row (62..64).
    SampleSpeed = 0;
    EXPECT_FLOAT_EQ(rowsPerHertz(256), 0.0f);
    for (int row : rowsOf(frequencyLineMarks(256, 0, 0, 0)))
        EXPECT_TRUE(row == 0 || (row >= 62 && row <= 64)) << row;
}

TEST(FrequencyRuler, LabelsOfBothLayouts)
{
    SampleSpeed = 1920;
    const auto labels = labelsOf(frequencyLabelMarks(128, 0, 0));
    // "0" .. "40" crowd the top rows; "60" .. "960" every 2 or 4 rows down to row 0; then "Hz".
    const std::vector<std::pair<int, int>> high = {{60, 50}, {58, 66}, {56, 51}, {52, 52}, {48, 53}, {44, 54},
                                                   {40, 55}, {36, 56}, {32, 57}, {28, 58}, {24, 59}, {20, 60},
                                                   {16, 61}, {12, 62}, {8, 63},  {4, 64},  {0, 65}};
    ASSERT_EQ(labels.size(), 1u + 8u + 17u + 1u);
    EXPECT_EQ(labels.front(), (std::pair{64, 0}));
    EXPECT_EQ(std::vector(labels.begin() + 9, labels.begin() + 26), high);
    EXPECT_EQ(labels.back(), (std::pair{0, 9}));
    // A start row lifts the labels, even above row 64.
    EXPECT_EQ(labelsOf(frequencyLabelMarks(128, 0, 5)).front(), (std::pair{69, 0}));

    const int n[9] = {covFFT512BandFtoN(2),  covFFT512BandFtoN(4),  covFFT512BandFtoN(8),
                      covFFT512BandFtoN(12), covFFT512BandFtoN(15), covFFT512BandFtoN(20),
                      covFFT512BandFtoN(30), covFFT512BandFtoN(40), covFFT512BandFtoN(60)};
    const std::vector<int> cubes = {64,        63 - n[0], 63 - n[1], 63 - n[2], 63 - n[3],
                                    63 - n[4], 64 - n[5], 64 - n[6], 64 - n[7], 64 - n[8]};
    for (int points : {128, 1024, 8192}) {
        EXPECT_EQ(rowsOf(frequencyLineMarks(points, 1, 0, 7)), cubes) << points;
        const auto band = labelsOf(frequencyLabelMarks(points, 1, 7));
        ASSERT_EQ(band.size(), 10u);
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(band[std::size_t(k + 1)], (std::pair{64 - n[k], k + 1}));
        EXPECT_EQ(band.back(), (std::pair{64 - n[8], 9}));
    }
    EXPECT_EQ(64 - n[8], 1);  // "Hz" at row 1
}

TEST(FrequencyRuler, Spacing)
{
    selectXCHNX = 0;
    xsize = 800;
    EXPECT_FLOAT_EQ(rulerSpacing(), 6.0f);
    xsize = 699;
    EXPECT_FLOAT_EQ(rulerSpacing(), 12.0f);
    selectXCHNX = 4;
    EXPECT_FLOAT_EQ(rulerSpacing(), 8.0f);
    xsize = 700;
    EXPECT_FLOAT_EQ(rulerSpacing(), 4.0f);
}

TEST(SceneText, TimesAgesAndTitles)
{
    SampleSpeed = 128;
    EXPECT_EQ(timeText(1000000 - 5600), "02:09:28.750");
    EXPECT_EQ(timeText(0), "00:00:00.000");
    EXPECT_EQ(ageText(long(87.5 * 128)), "-1:27.500");
    EXPECT_EQ(ageText(long(43.75 * 128)), "-43.750");
    EXPECT_EQ(ageText(0), "00.000");
    EXPECT_EQ(ageText(long(3700.5 * 128)), "-1:40.500");
    EXPECT_EQ(ageText(-500), "00.000");
    EXPECT_EQ(timeText(-5), "00:00:00.000");

    EXPECT_STREQ(sourceTitle(4), "Coherence CH 1 & CH 2");
    EXPECT_EQ(sourceTitle(10), nullptr);
}

TEST_F(Decorations, LabelsDrawTheirCharactersAndKeepTheirSpacing)
{
    // The empty nudge bitmap comes first, then one bitmap per character.
    const auto bitmaps = [](int code) {
        return countOf(feedback([&] { labelfftBig(10.0f, 20.0f, 0.0f, code, 0); }), GL_BITMAP_TOKEN);
    };
    EXPECT_EQ(bitmaps(0), 3);    // "0" "E"
    EXPECT_EQ(bitmaps(8), 5);    // "40" "AC"
    EXPECT_EQ(bitmaps(9), 3);    // "Hz"
    EXPECT_EQ(bitmaps(14), 2);   // "4"
    EXPECT_EQ(bitmaps(40), 11);  // "Left brain"
    EXPECT_EQ(bitmaps(62), 4);   // "780"
    EXPECT_EQ(bitmaps(66), 3);   // "90"
    for (int code : {19, 23, 67, 100, -1})
        EXPECT_EQ(bitmaps(code), 1) << code;

    // Power numbers: "2 microV" at gain 4; a gain of 0 reads as 1 ("10 microV"); CH 3 for channel 7.
    const auto power = [](int channel, int level) {
        return countOf(feedback([&] { powerNumberDraw(0.0f, 0.0f, channel, level, 0); }), GL_BITMAP_TOKEN);
    };
    LOGpowerONed = 0;
    displayGainX[1] = 4.0f;
    EXPECT_EQ(power(1, 1), 8);
    displayGainX[1] = 0.0f;
    EXPECT_EQ(power(1, 1), 9);
    displayGainX[2] = 0.5f;
    EXPECT_EQ(power(7, 2), 9);                                                                 // "40 microV"
    EXPECT_EQ(countOf(feedback([] { powerNumberDraw(0, 0, 0, 2, 1); }), GL_BITMAP_TOKEN), 5);  // "100 %"

    fDisplayDA = 4.0f;
    izzz = 64.0f;
    const auto label = [](int code, int row) {
        return countOf(feedback([&] { drawCharInFFT(code, row, 0, 1.0f, 1.0f); }), GL_BITMAP_TOKEN);
    };
    EXPECT_EQ(label(3, 60), 3);
    EXPECT_EQ(label(4, 59), 0);  // within 4 rows of the last
    EXPECT_FLOAT_EQ(izzz, 60.0f);
    EXPECT_EQ(label(9, 59), 3);  // "Hz" always
    EXPECT_FLOAT_EQ(izzz, 59.0f);

    // The ruler's labels: the first 0 Hz label of a run is skipped once, then every run starts with it.
    selectXCHNX = 0;
    xsize = 800;
    SampleSpeed = 128;
    izzz = 64.0f;
    drawFrequencyLabel(256, 0, 0, 1.0f, 1.0f, 0);
    EXPECT_FLOAT_EQ(izzz, 70.0f);
}

TEST_F(Decorations, MarkerCubesAreSpacedUnlessExempt)
{
    fDisplayDA = 4.0f;
    const auto cubes = [&](int sizeMode) {
        izzzz = 68.0f;
        return cubeCentres(feedback([&] {
            for (int row : {64, 60, 59})
                drawSolidSphereWithColor(row, sizeMode, 0, 1.0f, 1.0f);
        }));
    };
    const auto spaced = cubes(0);
    ASSERT_EQ(spaced.size(), 2u);
    EXPECT_NEAR(spaced[0][1], project(0, 64, 0)[1], 0.01);
    EXPECT_NEAR(spaced[1][1], project(0, 60, 0)[1], 0.01);
    EXPECT_EQ(cubes(1).size(), 3u);

    // The ruler's line: at 256 points and 128 Hz with spacing 6, the first run skips 64, 59, 33 and 0;
    // the next run starts at 64. In line mode 1 every edge is drawn and no small cube fits.
    selectXCHNX = 0;
    xsize = 800;
    SampleSpeed = 128;
    izzzz = 64.0f;
    const auto line = [&](int lineMode) {
        return cubeCentres(feedback([&] { drawFrequencyLine(256, 0, 0, lineMode, 1.0f, 1.0f, 0); }));
    };
    EXPECT_EQ(line(0).size(), 5u);
    EXPECT_FLOAT_EQ(izzzz, 70.0f);
    EXPECT_EQ(line(0).size(), 6u);
    EXPECT_EQ(line(1).size(), 9u);
}

TEST_F(Decorations, MarksBoxesAndFlashing)
{
    const auto triangles = [](int shape) {
        return countOf(feedback([&] { drawMark(shape, 3.0f); }), GL_POLYGON_TOKEN);
    };
    EXPECT_EQ(triangles(0), 12);
    EXPECT_EQ(triangles(2), 12);
    EXPECT_EQ(triangles(1), 12 * 12 * 2);

    flushC2 = 0;
    drawSQBS(0, 10.0f, 20.0f, 1.0f, 3.0f);
    EXPECT_EQ(flushC2, 0);
    for (int k = 1; k <= 64; ++k) {
        drawSQBS(1, 10.0f, 20.0f, 1.0f, 3.0f);
        EXPECT_EQ(flushC2, k);
    }
    drawSQBS(2, 10.0f, 20.0f, 1.0f, 3.0f);
    EXPECT_EQ(flushC2, 0);

    // The box's faces: both windings of four quads, at depths 1 and 3 and rows 44 and 54.
    const auto box = feedback([] { drawBSA(10.0f, 20.0f, 1.0f, 3.0f); });
    EXPECT_EQ(countOf(box, GL_POLYGON_TOKEN), 16);
    float minY = 1e9f, maxY = -1e9f;
    for (const Primitive& p : box)
        for (const auto& v : p.vertices) {
            minY = std::min(minY, v[1]);
            maxY = std::max(maxY, v[1]);
        }
    EXPECT_NEAR(minY, project(0, 44, 0)[1], 0.01);
    EXPECT_NEAR(maxY, project(0, 54, 0)[1], 0.01);
}

TEST_F(Decorations, FlatElementsPlaceTheirItemsAndRestoreTheMatrix)
{
    GLfloat before[16], after[16];
    glTranslatef(3.0f, 4.0f, 5.0f);
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    for (int kind = -1; kind <= 25; ++kind) {
        drawSQflat(kind, 0, 0, 1.0f, 2.0f, 7.5f, 1.0f, 1.0f, 0, 0);
        glGetFloatv(GL_MODELVIEW_MATRIX, after);
        for (int k = 0; k < 16; ++k)
            ASSERT_FLOAT_EQ(after[k], before[k]) << "kind " << kind;
    }
    glLoadIdentity();

    RawWaveColorN = 0;
    for (int k = 1; k <= 25; ++k) {
        drawSQflat(99, 0, 0, 0, 0, 0, 1, 1, 0, 0);
        EXPECT_EQ(RawWaveColorN, 10 * k);
    }
    drawSQflat(99, 0, 0, 0, 0, 0, 1, 1, 0, 0);
    EXPECT_EQ(RawWaveColorN, 0);

    vertNormsAX[5][5][2] = 0.0f;
    EXPECT_TRUE(feedback([] { drawSQflat(FlatKind::floorNormals, 0, 0, 0, 0, 0, 1, 1, 0, 0); }).empty());
    EXPECT_FLOAT_EQ(vertNormsAX[5][5][2], 1.0f);

    // Time markers: nine cubes along each edge at x = 0, 8, .., 64.
    for (int kind : {FlatKind::timeMarkers, FlatKind::smallTimeMarkers}) {
        const auto centres = cubeCentres(feedback([&] { drawSQflat(kind, 0, 0, 0, 0, 4.0f, 1, 1, 0, 0); }));
        ASSERT_EQ(centres.size(), 18u);
        for (int k = 0; k <= 8; ++k) {
            EXPECT_NEAR(centres[std::size_t(2 * k)][0], project(8 * k, 0, 4)[0], 0.01);
            EXPECT_NEAR(centres[std::size_t(2 * k + 1)][1], project(8 * k, 64, 4)[1], 0.01);
        }
    }

    // Time labels: nine times at y = 2 and nine ages at y = 69, one bitmap per character.
    SampleSpeed = 128;
    for (auto& t : timeRec)
        t = 0;
    timeRec[0] = 128 * 90;
    const auto labels = feedback([] { drawSQflat(FlatKind::timeLabels, 0, 0, 0, 0, 0, 1, 1, 0, 0); });
    // Times of twelve characters; ages "00.000" for row 0, then "-1:30.000".
    EXPECT_EQ(countOf(labels, GL_BITMAP_TOKEN), 12 * 9 + 6 + 8 * 9);
    EXPECT_NEAR(labels[12].vertices[0][0], project(8, 2, 0)[0], 0.01);
    EXPECT_NEAR(labels[12 * 9].vertices[0][1], project(0, 69, 0)[1], 0.01);

    // Level plane: the floor's two windings and four corner cubes.
    EXPECT_EQ(countOf(feedback([] { drawSQflat(FlatKind::levelPlane, 0, 0, 0, 0, 5, 1, 1, 0, 0); }),
                      GL_POLYGON_TOKEN),
              4 + 4 * 12);
}
