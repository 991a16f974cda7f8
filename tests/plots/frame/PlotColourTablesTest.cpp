#include <gtest/gtest.h>

#include "plots/bargraph/gl/BarColourTables.h"
#include "plots/frame/gl/PlotColourTables.h"

#include <cmath>
#include <limits>

using namespace nupo;

namespace {

struct Expected {
    int entry;
    float rgb[4][3];  // styles 1 to 4
};

// Segment ends of the four ramps, to four digits.
const Expected segmentEnds[] = {
    {0, {{0, 0, 0}, {0, 0, 0}, {0.5f, 0, 0}, {0, 0.9961f, 0.8965f}}},
    {36, {{0, 0, 1}, {1, 0, 0}, {0.5f, 0, 1}, {0, 0.8555f, 0.7699f}}},
    {37, {{0, 0, 0.9825f}, {0.9825f, 0, 0}, {0.5f, 0, 0.9825f}, {0, 0.8516f, 0.7664f}}},
    {93, {{0, 0.9825f, 0}, {0, 0.9825f, 0}, {0.5f, 0.9825f, 0}, {0, 0.6328f, 0.5695f}}},
    {158, {{0.9846f, 0, 0}, {0, 0, 0.9846f}, {0.9923f, 0, 0}, {0, 0.3789f, 0.341f}}},
    {159, {{1, 0, 0}, {0, 0, 1}, {1.043f, 0, 0}, {0, 0.375f, 0.3375f}}},
    {210,
     {{1, 0.9808f, 0}, {0.9808f, 0.9808f, 0.01923f}, {0.9672f, 0.7612f, 0.7612f}, {0, 0.1758f, 0.1582f}}},
    {211, {{1, 1, 0}, {1, 1, 0}, {0.9657f, 0.7761f, 0.7761f}, {0, 0.1719f, 0.1547f}}},
    {225, {{1, 1, 0.3111f}, {1, 1, 0.3111f}, {0.9448f, 0.9851f, 0.9851f}, {0, 0.1172f, 0.1055f}}},
    {226, {{1, 1, 0.3333f}, {1, 1, 0.3333f}, {0.87f, 1, 1}, {0.05556f, 0.1133f, 0.102f}}},
    {242, {{1, 1, 0.6889f}, {1, 1, 0.6889f}, {0.39f, 1, 1}, {0.9444f, 0.05078f, 0.0457f}}},
    {243, {{1, 1, 0.7111f}, {1, 1, 0.7111f}, {0.36f, 1, 1}, {1, 0.04688f, 0.04219f}}},
    {255, {{1, 1, 0.9778f}, {1, 1, 0.9778f}, {0, 1, 1}, {1, 0, 0}}},
};

}  // namespace

TEST(PlotColourTables, RampStylesMatchTheirSegmentEndsInBothTables)
{
    for (int style = 1; style <= 4; ++style) {
        resetColor(style);
        resetColor2DBar(style);
        for (const Expected& e : segmentEnds) {
            for (int c = 0; c < 3; ++c) {
                const float want = e.rgb[style - 1][c];
                SCOPED_TRACE(testing::Message()
                             << "style " << style << " entry " << e.entry << " comp " << c);
                EXPECT_NEAR(difmatA[e.entry][c], want, 6e-4);
                EXPECT_FLOAT_EQ(difambA[e.entry][c], difmatA[e.entry][c]);
                EXPECT_FLOAT_EQ(difmatA2DBar[e.entry][c], difmatA[e.entry][c]);
            }
            EXPECT_FLOAT_EQ(difmatA[e.entry][3], 1.0f);
        }
    }
}

TEST(PlotColourTables, RampsKeepTheAmbientAlphaAndStyleFiveCopiesEntryZero)
{
    // No style-5 build yet: the ambient alpha is still 0, so style 5 makes every entry transparent.
    resetColor(3);
    EXPECT_FLOAT_EQ(difambA[10][3], 0.0f);
    resetColor(5);
    for (int i : {0, 100, 255}) {
        EXPECT_FLOAT_EQ(difmatA[i][0], 0.5f);
        EXPECT_FLOAT_EQ(difmatA[i][3], 0.0f);
    }

    // A line colour written into ambient entry 0 fills both tables, alpha included, and survives a ramp.
    const float line[4] = {0.2f, 0.4f, 0.6f, 0.8f};
    for (int c = 0; c < 4; ++c)
        difambA[0][c] = line[c];
    resetColor(5);
    for (int c = 0; c < 4; ++c) {
        EXPECT_FLOAT_EQ(difmatA[255][c], line[c]);
        EXPECT_FLOAT_EQ(difambA[128][c], line[c]);
    }
    resetColor(1);
    EXPECT_FLOAT_EQ(difambA[0][3], 0.8f);
    EXPECT_FLOAT_EQ(difmatA[0][3], 1.0f);
}

TEST(PlotColourTables, UnknownStylesChangeNothing)
{
    resetColor(2);
    const float before = difmatA[40][0];
    resetColor(0);
    resetColor(6);
    resetColor(-1);
    EXPECT_FLOAT_EQ(difmatA[40][0], before);
}

TEST(PlotColourTables, IndexClampHandlesNonFiniteAndHugeValues)
{
    EXPECT_EQ(clampColourIndex(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(clampColourIndex(std::numeric_limits<double>::infinity()), 255);
    EXPECT_EQ(clampColourIndex(-std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(clampColourIndex(1e30), 255);
    EXPECT_EQ(clampColourIndex(-3.0), 0);
    EXPECT_EQ(clampColourIndex(199.9), 199);
}

TEST(PlotColourTables, BrainGraphTableScalesWithLevel)
{
    resetBColor2DBar(2);
    // Level 50 is the plain ramp of style 4; level 100 doubles it and level 0 is black.
    resetColor(4);
    for (int e : {0, 100, 230, 255}) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(difmatFA2DBar[e][50][c], difmatA[e][c], 1e-6);
            EXPECT_NEAR(difmatFA2DBar[e][100][c], 2.0f * difmatA[e][c], 1e-5);
            EXPECT_FLOAT_EQ(difmatFA2DBar[e][0][c], 0.0f);
        }
        EXPECT_FLOAT_EQ(difmatFA2DBar[e][7][3], 1.0f);
    }
}
