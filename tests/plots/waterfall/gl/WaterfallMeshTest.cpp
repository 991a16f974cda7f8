#include "plots/waterfall/QX2DSpectrum.h"
#include "plots/waterfall/gl/QX2DSpectrumRenderer.h"
#include "plots/waterfall/gl/WaterfallFrame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace nupo {
namespace {

QX2DSpectrum& engine()
{
    return QX2DSpectrum::sharedQX2DSpectrum();
}

QX2DSpectrumRenderer& renderer()
{
    return QX2DSpectrumRenderer::sharedQX2DSpectrumRenderer();
}

// The normals of height grid n, computed from a frame's copy of the grid as a frame computes them.
void normalsOf(int n)
{
    static const auto frame = std::make_unique<WaterfallFrame>();
    frame->takeShared({n, -1}, {-1, -1});
    const WaterfallFrameScope scope(*frame);
    renderer().getFaceNormsZ(n);
    renderer().getVertNormsZ();
}

TEST(QX2DSpectrumMesh, GridSizesAndTextureCoordinates)
{
    renderer().setSizenZ(2);
    EXPECT_EQ(gridZ, 42);
    EXPECT_FLOAT_EQ(engine().texCoordsZ[0][41][0], 1.0f);
    EXPECT_FLOAT_EQ(engine().texCoordsZ[7][3][0], 3.0f / 41.0f);
    EXPECT_FLOAT_EQ(engine().texCoordsZ[127][0][1], 127.0f / 41.0f);
    engine().texCoordsZ[7][3][0] = -1.0f;
    renderer().setSizenZ(7);  // keeps the size, recomputes the coordinates
    EXPECT_EQ(gridZ, 42);
    EXPECT_FLOAT_EQ(engine().texCoordsZ[7][3][0], 3.0f / 41.0f);
    renderer().setSizenZ(3);
    EXPECT_EQ(gridZ, 64);
    EXPECT_FLOAT_EQ(engine().texCoordsZ[127][0][1], 127.0f / 63.0f);
}

TEST(QX2DSpectrumMesh, FaceAndVertexNormals)
{
    renderer().setSizenZ(3);
    engine().initPositionZ();
    normalsOf(0);
    for (int i : {0, 50, 127})
        for (int j : {0, 30, 63}) {
            EXPECT_FLOAT_EQ(engine().vertNormsZ[i][j][2], 1.0f) << i << "," << j;
            EXPECT_FLOAT_EQ(engine().vertNormsZ[i][j][0], 0.0f);
        }

    // A raised point tilts the cells around it and leaves those two away flat.
    engine().positZ[5][5] = 1.0f;
    normalsOf(0);
    // Cell (rows 4..5, columns 4..5): first triangle a=P[4][4] b=P[4][5] c=P[5][4]: flat; second has
    // d = P[5][5] = 1: (b - d, c - d, 1) = (-1, -1, 1) / sqrt 3.
    const float s = 1.0f / std::sqrt(3.0f);
    EXPECT_FLOAT_EQ(engine().faceNormsZ[0][4][4][2], 1.0f);
    EXPECT_NEAR(engine().faceNormsZ[1][4][4][0], -s, 1e-6);
    EXPECT_NEAR(engine().faceNormsZ[1][4][4][1], -s, 1e-6);
    // Cell (rows 5..6, columns 5..6): a = 1: (1, 1, 1) / sqrt 3.
    EXPECT_NEAR(engine().faceNormsZ[0][5][5][0], s, 1e-6);
    for (int cell : {2, 7})
        EXPECT_FLOAT_EQ(engine().faceNormsZ[0][cell][cell][2], 1.0f);
    EXPECT_FLOAT_EQ(engine().vertNormsZ[8][8][2], 1.0f);
    EXPECT_NEAR(engine().vertNormsZ[5][5][2], 1.0f, 1e-6);  // the tip of a symmetric peak points up
    EXPECT_LT(engine().vertNormsZ[4][5][2], 0.99f);         // its flanks lean

    // Rows from 63 on take only the faces of the row above them.
    engine().positXZ[99][10] = 2.0f;  // grid 10
    normalsOf(10);
    float sum[3] = {0, 0, 0};
    for (const float* n :
         {engine().faceNormsZ[0][99][10], engine().faceNormsZ[1][99][10], engine().faceNormsZ[1][99][9]})
        for (int k = 0; k < 3; ++k)
            sum[k] += n[k];
    normZ(sum);
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(engine().vertNormsZ[100][10][k], sum[k], 1e-6);

    // A grid number outside 0..19 leaves the normals.
    const float before = engine().faceNormsZ[0][99][10][2];
    engine().positXZ[99][10] = 0.0f;
    normalsOf(20);
    EXPECT_EQ(engine().faceNormsZ[0][99][10][2], before);
}

}  // namespace
}  // namespace nupo
