#include "platform/gl/MeshNormals.h"
#include "plots/frame/gl/FloorNormals.h"
#include "views3d/scene/gl/MeshControl.h"
#include "views3d/scene/gl/QX3DSpectrumMesh.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace nupo;

namespace {

QX3DSpectrumMesh& mesh()
{
    return QX3DSpectrumMesh::sharedQX3DSpectrumMesh();
}

void expectVector(const float* v, float x, float y, float z, const char* what)
{
    EXPECT_NEAR(v[0], x, 1e-5) << what;
    EXPECT_NEAR(v[1], y, 1e-5) << what;
    EXPECT_NEAR(v[2], z, 1e-5) << what;
}

void unit(float v[3])
{
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    for (int k = 0; k < 3; ++k)
        v[k] /= length;
}

}  // namespace

TEST(MeshGeometry, FlatGridsFaceUp)
{
    grid = 64;
    auto& heights = mesh().heights(3);
    for (auto& row : heights)
        row.fill(2.5f);
    mesh().getFaceNorms(3);
    mesh().getVertNorms();
    for (int i = 0; i < 63; i += 7)
        for (int j = 0; j < 63; j += 5) {
            expectVector(mesh().faceNorms[0][i][j], 0, 0, 1, "face 0");
            expectVector(mesh().faceNorms[1][i][j], 0, 0, 1, "face 1");
        }
    for (int i = 0; i < 64; i += 9)
        for (int j = 0; j < 64; j += 9)
            expectVector(mesh().vertNorms[i][j], 0, 0, 1, "vertex");
    expectVector(mesh().vertNorms[63][63], 0, 0, 1, "far corner");

    getFaceNormsAX();
    getVertNormsAX();
    expectVector(faceNormsAX[1][62][62], 0, 0, 1, "floor face");
    expectVector(vertNormsAX[0][63], 0, 0, 1, "floor vertex");
}

TEST(MeshGeometry, NormalsAroundARaisedVertex)
{
    grid = 64;
    auto& P = mesh().heights(0);
    P[1][1] = 1.0f;
    mesh().getFaceNorms(0);
    mesh().getVertNorms();
    const float s3 = 1.0f / std::sqrt(3.0f);
    const float s2 = 1.0f / std::sqrt(2.0f);
    // Cell (0, 0) has the raised vertex in its far corner, cell (1, 1) in its near one.
    expectVector(mesh().faceNorms[0][0][0], 0, 0, 1, "cell 0,0 triangle 0");
    expectVector(mesh().faceNorms[1][0][0], -s3, -s3, s3, "cell 0,0 triangle 1");
    expectVector(mesh().faceNorms[0][1][1], s3, s3, s3, "cell 1,1 triangle 0");
    expectVector(mesh().faceNorms[1][1][1], 0, 0, 1, "cell 1,1 triangle 1");
    expectVector(mesh().faceNorms[0][0][1], -s2, 0, s2, "cell 0,1 triangle 0");
    expectVector(mesh().faceNorms[1][1][0], s2, 0, s2, "cell 1,0 triangle 1");
    // The peak itself faces up; (1, 0) sums cell (1, 0) triangle 0 and both triangles of cell (0, 0).
    expectVector(mesh().vertNorms[1][1], 0, 0, 1, "peak");
    float side[3] = {-s3, -s2 - s3, s2 + 1 + s3};
    unit(side);
    expectVector(mesh().vertNorms[1][0], side[0], side[1], side[2], "vertex 1,0");
    // Two cells away nothing tilts.
    expectVector(mesh().faceNorms[0][3][3], 0, 0, 1, "cell 3,3");

    // Segments from each triangle's centroid along its normal.
    mesh().getFaceNormSegs(0);
    expectVector(mesh().faceNormSegs[0][0][0][0], 1.0f / 3, 1.0f / 3, 0, "centroid 0");
    expectVector(mesh().faceNormSegs[1][0][0][0], 2.0f / 3, 2.0f / 3, 1.0f / 3, "centroid 1");
    expectVector(mesh().faceNormSegs[1][1][0][0], 2.0f / 3 - s3, 2.0f / 3 - s3, 1.0f / 3 + s3, "tip 1");
}

TEST(MeshGeometry, CornerVerticesAndASmallGrid)
{
    // Sentinels outside the 16 x 16 corner must survive.
    for (auto& row : mesh().vertNorms)
        for (auto& v : row)
            v[0] = 9.0f;
    mesh().faceNorms[0][20][3][0] = 9.0f;
    grid = 16;
    auto& P = mesh().heights(7);
    for (int i = 0; i < 64; ++i)
        for (int j = 0; j < 64; ++j)
            P[i][j] = 0.1f * i * i - 0.2f * j + 0.05f * i * j;
    mesh().getFaceNorms(7);
    mesh().getVertNorms();
    EXPECT_EQ(mesh().vertNorms[16][0][0], 9.0f);
    EXPECT_EQ(mesh().vertNorms[0][16][0], 9.0f);
    EXPECT_EQ(mesh().faceNorms[0][20][3][0], 9.0f);

    const auto& F = mesh().faceNorms;
    float v[3];
    for (int k = 0; k < 3; ++k)
        v[k] = F[0][0][0][k];
    expectVector(mesh().vertNorms[0][0], v[0], v[1], v[2], "corner 0,0");
    for (int k = 0; k < 3; ++k)
        v[k] = F[1][14][14][k];
    expectVector(mesh().vertNorms[15][15], v[0], v[1], v[2], "corner 15,15");
    for (int k = 0; k < 3; ++k)
        v[k] = F[0][0][14][k] + F[1][0][14][k];
    unit(v);
    expectVector(mesh().vertNorms[0][15], v[0], v[1], v[2], "corner 0,15");
}

TEST(MeshGeometry, GenericNormalsServeATallerGridWithFewerFaceRows)
{
    // 128 rows of 64 columns whose vertices from row 63 on take only the faces of the row above.
    static float P[128][64];
    static float F[2][128][64][3];
    static float V[128][64][3];
    for (int i = 0; i < 128; ++i)
        for (int j = 0; j < 64; ++j)
            P[i][j] = static_cast<float>((i * 7 + j * 3) % 5);
    getFaceNormsOf(P, 128, 64, F);
    getVertNormsOf(F, 128, 64, V, 63);
    float v[3];
    for (int k = 0; k < 3; ++k)
        v[k] = F[0][99][10][k] + F[1][99][10][k] + F[1][99][9][k];
    unit(v);
    expectVector(V[100][10], v[0], v[1], v[2], "row 100");
}

TEST(MeshGeometry, TextureCoordinatesSpanTheGrid)
{
    grid = 64;
    mesh().getTexCoords();
    EXPECT_EQ(mesh().texCoords[0][0][0], 0.0f);
    EXPECT_EQ(mesh().texCoords[0][63][0], 1.0f);
    EXPECT_EQ(mesh().texCoords[0][63][1], 0.0f);
    EXPECT_EQ(mesh().texCoords[63][0][1], 1.0f);
    EXPECT_FLOAT_EQ(mesh().texCoords[21][42][0], 42.0f / 63);
}

TEST(MeshGeometry, ResetShapes)
{
    grid = 64;
    auto& P = mesh().heights(0);
    mesh().veloc[5][5] = 3.0f;
    mesh().force[5][5] = 3.0f;
    mesh().resetn(2);
    EXPECT_EQ(resetnMode, 2);
    EXPECT_EQ(P[32][32], 96.0f);
    EXPECT_EQ(P[32][31], 0.0f);
    EXPECT_EQ(mesh().veloc[5][5], 0.0f);
    EXPECT_EQ(mesh().force[5][5], 0.0f);

    mesh().resetn(6);  // block of G / 4 on 22..41
    EXPECT_EQ(P[22][22], 16.0f);
    EXPECT_EQ(P[41][41], 16.0f);
    EXPECT_EQ(P[21][30], 0.0f);
    EXPECT_EQ(P[30][42], 0.0f);
    mesh().resetn(5);  // the same square as a hole in a plateau with a flat border
    EXPECT_EQ(P[30][30], 0.0f);
    EXPECT_EQ(P[10][30], 16.0f);
    EXPECT_EQ(P[0][30], 0.0f);
    EXPECT_EQ(P[30][63], 0.0f);
    mesh().resetn(4);  // row 1, its ends on the border
    EXPECT_EQ(P[1][1], 16.0f);
    EXPECT_EQ(P[1][62], 16.0f);
    EXPECT_EQ(P[1][0], 0.0f);
    EXPECT_EQ(P[1][63], 0.0f);
    EXPECT_EQ(P[2][5], 0.0f);
    mesh().resetn(8);  // 49..62
    EXPECT_EQ(P[49][49], 16.0f);
    EXPECT_EQ(P[62][62], 16.0f);
    EXPECT_EQ(P[48][55], 0.0f);
    EXPECT_EQ(P[63][55], 0.0f);
    mesh().resetn(3);  // ridge on i + j = 62 and 63
    EXPECT_FLOAT_EQ(P[30][32], 64.0f / 6);
    EXPECT_FLOAT_EQ(P[30][33], 64.0f / 6);
    EXPECT_EQ(P[30][31], 0.0f);
    mesh().resetn(7);  // everything beyond the anti-diagonal
    EXPECT_FLOAT_EQ(P[40][40], 64.0f / 6);
    EXPECT_EQ(P[20][20], 0.0f);

    mesh().resetn(9);
    EXPECT_NEAR(P[16][16], 2 * std::sin(M_PI / 4) * 64 / 6, 1e-4);
    P[16][16] = -1.0f;
    mesh().resetn(0);  // keeps mode 9 and re-applies it
    EXPECT_EQ(resetnMode, 9);
    EXPECT_NEAR(P[16][16], 2 * std::sin(M_PI / 4) * 64 / 6, 1e-4);
    mesh().resetn(10);
    EXPECT_NEAR(P[16][8], (std::sin(M_PI / 2) + std::sin(M_PI / 4)) * 64 / 6, 1e-4);

    // Unknown shapes are stored and leave the inside; the border still goes flat.
    P[10][10] = 5.0f;
    P[0][10] = 5.0f;
    mesh().resetn(11);
    EXPECT_EQ(resetnMode, 11);
    EXPECT_EQ(P[10][10], 5.0f);
    EXPECT_EQ(P[0][10], 0.0f);
    mesh().resetn(-1);
    EXPECT_EQ(resetnMode, -1);

    grid = 42;
    mesh().resetn(2);
    EXPECT_EQ(P[21][21], 63.0f);
}

TEST(MeshGeometry, GridSizeAndAnimation)
{
    grid = 64;
    resetnMode = 2;
    mesh().setSizen(2);
    EXPECT_EQ(grid, 42);
    EXPECT_EQ(mesh().heights(0)[21][21], 63.0f);  // shrank: reset to the stored shape
    EXPECT_FLOAT_EQ(mesh().texCoords[0][41][0], 1.0f);

    const int requests = meshViewRequests().redisplayCount;
    mesh().setSizen(7);
    EXPECT_EQ(grid, 42);
    EXPECT_GT(meshViewRequests().redisplayCount, requests);

    mesh().heights(0)[5][5] = 4.0f;
    mesh().setSizen(3);  // grows: no reset
    EXPECT_EQ(grid, 64);
    EXPECT_EQ(mesh().heights(0)[5][5], 4.0f);
    EXPECT_FLOAT_EQ(mesh().texCoords[0][63][0], 1.0f);

    grid = 16;
    for (auto& row : mesh().veloc)
        for (float& v : row)
            v = 1.0f;
    waving = 0;
    mesh().reverse();
    EXPECT_EQ(mesh().veloc[1][1], -1.0f);
    EXPECT_EQ(mesh().veloc[14][14], -1.0f);
    EXPECT_EQ(mesh().veloc[0][5], 1.0f);
    EXPECT_EQ(mesh().veloc[15][5], 1.0f);
    EXPECT_EQ(mesh().veloc[5][20], 1.0f);
    EXPECT_EQ(waving, 1);

    mesh().setMain(1);
    EXPECT_EQ(waving, 0);
    EXPECT_EQ(editing, 1);
    mesh().setMain(2);
    EXPECT_EQ(waving, 1);
    EXPECT_EQ(editing, 0);
    mesh().setMain(3);
    EXPECT_EQ(waving, 0);

    // Grid numbers outside 0..19 read the base grid.
    EXPECT_EQ(&mesh().heights(25), &mesh().heights(20));
    EXPECT_EQ(&mesh().heights(-1), &mesh().heights(20));
    EXPECT_NE(&mesh().heights(19), &mesh().heights(20));
}
