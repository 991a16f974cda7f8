#include "views3d/math/Trackball.h"

#include <algorithm>
#include <cmath>

namespace nupo {

namespace {

constexpr float degreesPerRadian = 57.29578f;
constexpr float radiansPerDegree = 0.01745329f;
// Below this an axis length or a sine is taken as zero: dividing by it would give no direction.
constexpr float tinyDivisor = 1e-6f;

// z of the sphere point over (x, y); 0 outside the sphere (on its rim plane).
float sphereZ(float x, float y)
{
    const float r2 = gRadiusTrackball * gRadiusTrackball;
    const float d2 = x * x + y * y;
    return d2 <= r2 ? std::sqrt(r2 - d2) : 0.0f;
}

float length(const float v[3])
{
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

}  // namespace

void startTrackball(int x, int y, int originX, int originY, int width, int height)
{
    gRadiusTrackball = width > height ? 0.5f * height : 0.5f * width;
    gXCenterTrackball = static_cast<int>(originX + width * 0.5f);
    gYCenterTrackball = static_cast<int>(originY + height * 0.5f);
    gStartPtTrackball[0] = static_cast<float>(x - gXCenterTrackball);
    gStartPtTrackball[1] = static_cast<float>(y - gYCenterTrackball);
    gStartPtTrackball[2] = sphereZ(gStartPtTrackball[0], gStartPtTrackball[1]);
}

void rollToTrackball(int x, int y, float rot[4])
{
    float* s = gStartPtTrackball;
    float* e = gEndPtTrackball;
    e[0] = static_cast<float>(x - gXCenterTrackball);
    e[1] = static_cast<float>(y - gYCenterTrackball);
    if (std::fabs(e[0] - s[0]) < 0.001f && std::fabs(e[1] - s[1]) < 0.001f)
        return;
    e[2] = sphereZ(e[0], e[1]);

    const float axis[3] = {s[1] * e[2] - s[2] * e[1], s[2] * e[0] - s[0] * e[2], s[0] * e[1] - s[1] * e[0]};
    const float lengths = length(s) * length(e);
    const float axisLength = length(axis);
    if (lengths < tinyDivisor || axisLength < tinyDivisor)
        return;
    const float cosine = (s[0] * e[0] + s[1] * e[1] + s[2] * e[2]) / lengths;
    const float sine = axisLength / lengths;
    rot[0] = std::atan2(sine, cosine) * degreesPerRadian;
    rot[1] = axis[0] / axisLength;
    rot[2] = axis[1] / axisLength;
    rot[3] = axis[2] / axisLength;
}

void rotation2Quat(const float A[4], float q[4])
{
    const float half = A[0] * radiansPerDegree * 0.5f;
    const float sine = std::sin(half);
    q[0] = A[1] * sine;
    q[1] = A[2] * sine;
    q[2] = A[3] * sine;
    q[3] = std::cos(half);
}

void addToRotationTrackball(const float dA[4], float A[4])
{
    float q0[4];
    float q1[4];
    rotation2Quat(A, q0);
    rotation2Quat(dA, q1);

    // q = q1 * q0 (Hamilton product): the rotation first, then the delta.
    float q[4];
    q[0] = q1[1] * q0[2] - q1[2] * q0[1] + q1[3] * q0[0] + q1[0] * q0[3];
    q[1] = q1[2] * q0[0] - q1[0] * q0[2] + q1[3] * q0[1] + q1[1] * q0[3];
    q[2] = q1[0] * q0[1] - q1[1] * q0[0] + q1[3] * q0[2] + q1[2] * q0[3];
    q[3] = q1[3] * q0[3] - q1[0] * q0[0] - q1[1] * q0[1] - q1[2] * q0[2];

    const float w = std::clamp(q[3], -1.0f, 1.0f);
    const float half = std::acos(w);
    const float sine = std::sin(half);
    if (std::fabs(w - 1.0f) < 1e-7f || sine < tinyDivisor) {
        A[0] = 0.0f;
        A[1] = 1.0f;
        A[2] = 0.0f;
        A[3] = 0.0f;
        return;
    }
    A[0] = 2.0f * half * degreesPerRadian;
    A[1] = q[0] / sine;
    A[2] = q[1] / sine;
    A[3] = q[2] / sine;
}

}  // namespace nupo
