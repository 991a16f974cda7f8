#include "views3d/math/QuaternionMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace nupo;

namespace {

constexpr float r = 0.70710678f;

void expectQuat(const Quat& q, float w, float x, float y, float z)
{
    EXPECT_NEAR(q.w, w, 1e-5);
    EXPECT_NEAR(q.x, x, 1e-5);
    EXPECT_NEAR(q.y, y, 1e-5);
    EXPECT_NEAR(q.z, z, 1e-5);
}

}  // namespace

TEST(QuaternionMath, MatricesOfRotations)
{
    const Matrix identity = Quat().GetMatrix();
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(identity.value[row][column], row == column ? 1.0f : 0.0f);

    // A quarter turn about z takes x to y: row vectors, so row 0 is the image of x.
    const Matrix m = Quat(r, 0, 0, r).GetMatrix();
    const float expected[4][4] = {{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_NEAR(m.value[row][column], expected[row][column], 1e-6) << row << "," << column;

    const QMatrix transform;
    expectQuat(transform.rotation, 1, 0, 0, 0);
    EXPECT_EQ(transform.scale.y, 1.0f);
    EXPECT_EQ(transform.position.x, 0.0f);
}

TEST(QuaternionMath, ProductsInverseAndTransforms)
{
    Quat q;
    const Vec zAxis(0, 0, 1);
    Q3Quaternion_SetRotateAboutAxis(&q, &zAxis, std::numbers::pi_v<float> / 2);
    expectQuat(q, r, 0, 0, r);
    Quat half;
    Q3Quaternion_Multiply(&q, &q, &half);
    expectQuat(half, 0, 0, 0, 1);

    // x by 90 degrees, then y by 90 degrees: (0.5, 0.5, 0.5, -0.5), which takes x to -z.
    const Quat onX(r, r, 0, 0);
    const Quat onY(r, 0, r, 0);
    Quat both;
    Q3Quaternion_Multiply(&onX, &onY, &both);
    expectQuat(both, 0.5f, 0.5f, 0.5f, -0.5f);
    const Vec x(1, 0, 0);
    Vec moved;
    Q3Vector3D_TransformQuaternion(&x, &both, &moved);
    EXPECT_NEAR(moved.x, 0, 1e-5);
    EXPECT_NEAR(moved.y, 0, 1e-5);
    EXPECT_NEAR(moved.z, -1, 1e-5);
    Q3Point3D_TransformQuaternion(&x, &q, &moved);
    EXPECT_NEAR(moved.y, 1, 1e-5);

    const Quat a(1, 2, 3, 4);
    Quat inverse;
    Q3Quaternion_Invert(&a, &inverse);
    expectQuat(inverse, 1, -2, -3, -4);
    const Quat b(5, 6, 7, 8);
    EXPECT_FLOAT_EQ(Q3Quaternion_Dot(&a, &b), 70.0f);

    const Vec xAxis(1, 0, 0);
    const Vec yAxis(0, 1, 0);
    Quat between;
    Q3Quaternion_SetRotateVectorToVector(&between, &xAxis, &yAxis);
    expectQuat(between, r, 0, 0, r);
}

TEST(QuaternionMath, NormalizeAndInterpolate)
{
    Quat out;
    const Quat zero(0, 0, 0, 0);
    expectQuat(*Q3Quaternion_Normalize(&zero, &out), 0, 0, 0, 0);
    const Quat two(2, 0, 0, 0);
    expectQuat(*Q3Quaternion_Normalize(&two, &out), 1, 0, 0, 0);
    const Quat tiny(0.5f, 0.5f, 0.5f, 0.5f);  // already unit
    expectQuat(*Q3Quaternion_Normalize(&tiny, &out), 0.5f, 0.5f, 0.5f, 0.5f);

    // Equal or opposite quaternions: the first up to t = 0.5, the second after.
    const Quat one(1, 0, 0, 0);
    const Quat minusOne(-1, 0, 0, 0);
    expectQuat(*Q3Quaternion_InterpolateLinear(&one, &minusOne, 0.5f, &out), 1, 0, 0, 0);
    expectQuat(*Q3Quaternion_InterpolateLinear(&one, &minusOne, 0.7f, &out), -1, 0, 0, 0);
    // Halfway to a quarter turn is an eighth turn.
    const Quat quarter(r, 0, 0, r);
    expectQuat(*Q3Quaternion_InterpolateLinear(&one, &quarter, 0.5f, &out),
               std::cos(std::numbers::pi_v<float> / 8), 0, 0, std::sin(std::numbers::pi_v<float> / 8));
    const Quat halfTurn(0, 0, 0, 1);
    expectQuat(*Q3Quaternion_InterpolateFast(&one, &halfTurn, 0.5f, &out), r, 0, 0, r);
}
