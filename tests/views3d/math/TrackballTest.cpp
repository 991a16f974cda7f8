#include "views3d/math/Trackball.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace nupo;

namespace {

void expectRotation(const float actual[4], float angle, float x, float y, float z)
{
    EXPECT_NEAR(actual[0], angle, 1e-3);
    EXPECT_NEAR(actual[1], x, 1e-5);
    EXPECT_NEAR(actual[2], y, 1e-5);
    EXPECT_NEAR(actual[3], z, 1e-5);
}

}  // namespace

TEST(Trackball, SphereFillsTheShorterSideAroundTheAreaCentre)
{
    // 200 x 100 at (0, 0): radius 50, centre (100, 50).
    startTrackball(150, 100, 0, 0, 200, 100);
    EXPECT_FLOAT_EQ(gRadiusTrackball, 50.0f);
    EXPECT_EQ(gXCenterTrackball, 100);
    EXPECT_EQ(gYCenterTrackball, 50);
    // (50, 50) lies outside the sphere: on its rim plane.
    EXPECT_FLOAT_EQ(gStartPtTrackball[0], 50.0f);
    EXPECT_FLOAT_EQ(gStartPtTrackball[1], 50.0f);
    EXPECT_FLOAT_EQ(gStartPtTrackball[2], 0.0f);

    // Taller than wide: the width decides. Centre (35, 65); (18, 24) from it is 24 up on a sphere of 30.
    startTrackball(53, 89, 5, 15, 60, 100);
    EXPECT_FLOAT_EQ(gRadiusTrackball, 30.0f);
    EXPECT_EQ(gYCenterTrackball, 65);
    EXPECT_FLOAT_EQ(gStartPtTrackball[2], 0.0f);  // 18-24-30: exactly on the rim
    startTrackball(35, 65, 5, 15, 60, 100);
    EXPECT_FLOAT_EQ(gStartPtTrackball[2], 30.0f);
}

TEST(Trackball, DragFromTheCentreToTheRimTurnsAQuarter)
{
    startTrackball(100, 50, 0, 0, 200, 100);  // sphere top (0, 0, 50)
    float rotation[4] = {7, 7, 7, 7};
    rollToTrackball(100, 50, rotation);  // not moved: untouched
    expectRotation(rotation, 7, 7, 7, 7);

    rollToTrackball(150, 50, rotation);  // to (50, 0, 0): start x end = (0, 2500, 0)
    expectRotation(rotation, 90.0f, 0, 1, 0);
    // Measured from the drag's start every time.
    rollToTrackball(100, 100, rotation);  // to (0, 50, 0): axis (-2500, 0, 0)
    expectRotation(rotation, 90.0f, -1, 0, 0);
}

TEST(Trackball, PointsWithoutAnAxisLeaveTheRotation)
{
    // Both outside the sphere on one ray from the centre: no axis to turn about.
    startTrackball(160, 50, 0, 0, 200, 100);
    float rotation[4] = {12, 0, 0, 1};
    rollToTrackball(180, 50, rotation);
    expectRotation(rotation, 12, 0, 0, 1);
    for (float v : rotation)
        EXPECT_TRUE(std::isfinite(v));

    // A sphere of radius 0 with the drag starting at its centre.
    startTrackball(10, 10, 10, 10, 0, 0);
    rollToTrackball(20, 10, rotation);
    expectRotation(rotation, 12, 0, 0, 1);
}

TEST(Trackball, RotationToQuaternion)
{
    const float rotation[4] = {90, 0, 0, 1};
    float q[4];
    rotation2Quat(rotation, q);
    EXPECT_NEAR(q[0], 0, 1e-6);
    EXPECT_NEAR(q[1], 0, 1e-6);
    EXPECT_NEAR(q[2], 0.70710678f, 1e-6);
    EXPECT_NEAR(q[3], 0.70710678f, 1e-6);
}

TEST(Trackball, ComposingRotations)
{
    // Two quarter turns about z from no rotation make a half turn about z.
    float rotation[4] = {0, 1, 0, 0};
    const float quarter[4] = {90, 0, 0, 1};
    addToRotationTrackball(quarter, rotation);
    expectRotation(rotation, 90, 0, 0, 1);
    addToRotationTrackball(quarter, rotation);
    expectRotation(rotation, 180, 0, 0, 1);

    // A zero-angle delta keeps the rotation.
    float tilted[4] = {30, 0.6f, 0.8f, 0};
    const float none[4] = {0, 1, 0, 0};
    addToRotationTrackball(none, tilted);
    expectRotation(tilted, 30, 0.6f, 0.8f, 0);

    // A rotation followed by its inverse is no rotation.
    float there[4] = {30, 1, 0, 0};
    const float back[4] = {-30, 1, 0, 0};
    addToRotationTrackball(back, there);
    expectRotation(there, 0, 1, 0, 0);

    // Rotation on x followed by one on y: q = (0.5, 0.5, 0.5, -0.5)... as w x y z, 120 degrees about
    // (1, 1, -1) / sqrt 3.
    float onX[4] = {90, 1, 0, 0};
    const float onY[4] = {90, 0, 1, 0};
    addToRotationTrackball(onY, onX);
    const float third = 1.0f / std::sqrt(3.0f);
    expectRotation(onX, 120, third, third, -third);
}

TEST(Trackball, AWholeTurnIsNoRotationInsteadOfADivisionByZero)
{
    // Two half turns: w = -1, whose half angle has a sine of 0.
    float rotation[4] = {180, 0, 0, 1};
    const float half[4] = {180, 0, 0, 1};
    addToRotationTrackball(half, rotation);
    for (float v : rotation)
        EXPECT_TRUE(std::isfinite(v));
    expectRotation(rotation, 0, 1, 0, 0);
}
