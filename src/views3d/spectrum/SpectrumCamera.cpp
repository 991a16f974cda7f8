#include "views3d/spectrum/SpectrumCamera.h"

#include "views3d/math/Trackball.h"

#include <cmath>

namespace nupo {

namespace {

// Layout groups of the preset table: the one-set layouts (0, 1), the three-set (2) and two-set (3)
// layouts, and the single sources (4..13). Preset 1 tells layouts 0 and 1 apart.
enum Group { OneSet0, OneSet1, ThreeSets, TwoSets, Single, GroupCount };

CameraPreset preset(float sphi, float stheta, float x, float y, float depth,
                    std::optional<float> mode = std::nullopt, std::optional<int> top = std::nullopt)
{
    return CameraPreset{SceneCamera{sphi, stheta, x, y, depth}, mode, top};
}

}  // namespace

std::optional<CameraPreset> cameraPreset(int n, int viewModeX)
{
    if (n < 0 || n > 4 || viewModeX < 0 || viewModeX > 13)
        return std::nullopt;
    static const CameraPreset table[5][GroupCount] = {
        {preset(90, 43.75f, 0, 6, 144.1f, 16.0f), preset(90, 43.75f, 0, 6, 144.1f, 16.0f),
         preset(90, 45.25f, 0, -40, 232.1f, 16.0f), preset(90, 45.25f, 0, -40, 232.0f, 16.0f),
         preset(90, 56, 1, -4, 80, 0.0f)},
        {preset(90, 0, 0, -38, 155.1f), preset(90, 0, 0, -36, 155.1f),
         preset(90, 0, 0, -36, 432.1f, 40.0f, 1), preset(90, 0, 0, -38, 442.0f, 40.0f, 1),
         preset(90, 0, 0, -36, 128.3f)},
        {preset(0, 87.25f, -38, 0, 155.1f), preset(0, 87.25f, -38, 0, 155.1f),
         preset(0, 68.5f, -34, -28, 222.1f), preset(0, 82.25f, -46, -26, 222.0f),
         preset(0, 86.25f, -32, -4, 110)},
        {preset(42.75f, 59.75f, -30, 0, 155.1f), preset(42.75f, 59.75f, -30, 0, 155.1f),
         preset(49.5f, 58.75f, -26, -28, 222.1f), preset(52, 66.75f, -38, -26, 222.0f),
         preset(42, 60, -14, 0, 90)},
        {preset(270, 59.75f, 0, 20, 155.1f), preset(270, 59.75f, 0, 20, 155.1f),
         preset(270, 58.75f, 0, -28, 222.1f), preset(270, 66.75f, 0, -26, 222.0f), preset(270, 60, 0, 6, 40)},
    };
    const int group = viewModeX >= 4 ? Single : viewModeX;
    return table[n][group];
}

SceneCamera interpolatedCamera(const SceneCamera& c, const SceneCamera& t, int step)
{
    const float k = static_cast<float>(step);
    return SceneCamera{c.sphi + (t.sphi - c.sphi) / 10.0f * k, c.stheta + (t.stheta - c.stheta) / 10.0f * k,
                       c.Xposition + (t.Xposition - c.Xposition) / 10.0f * k,
                       c.Yposition + (t.Yposition - c.Yposition) / 10.0f * k,
                       c.sdepth + (t.sdepth - c.sdepth) / 10.0f * k};
}

void applyDrag(SceneCamera& camera, int moveMode, int downX, int downY, float px, float py)
{
    switch (moveMode) {
        case 0:
            camera.stheta += (downY - py) * 0.25f;
            camera.sphi += (px - downX) * 0.25f;
            break;
        case 1:
            camera.Yposition += (downY - py) * 0.25f;
            camera.Xposition += (px - downX) * 0.25f;
            break;
        case 2:
            camera.sdepth += (downY - py) / 10.0f;
            break;
        default:
            break;
    }
}

int hotSpotAt(int x, int y, int w, int h)
{
    const int w2 = w / 2, h2 = h / 2, w4 = w / 4, h4 = h / 4;
    auto inside = [&](int cx, int cy, int below, int above, int halfWidth) {
        return cx - halfWidth < x && x < cx + halfWidth && cy - below < y && y < cy + above;
    };
    if (inside(w2, h2, 70, 90, 70))
        return 5;
    if (inside(w2, h4, 100, 120, 100))
        return 1;
    if (inside(w2, 3 * h4, 100, 120, 100))
        return 2;
    if (inside(w4, h2, 100, 120, 100))
        return 3;
    if (inside(3 * w4, h2, 100, 120, 100))
        return 4;
    return 0;
}

Frustum projectionFrustum(const CameraRecord& camera, float shapeSize)
{
    double zNear = -camera.viewPos.z - shapeSize * 0.5;
    if (zNear < 0.00001)
        zNear = 0.00001;
    if (zNear < 1.0)
        zNear = 1.0;
    const double zFar = -camera.viewPos.z + shapeSize * 0.5;
    const double h = zNear * std::tan(camera.aperture * 0.0174532925 * 0.5);
    const float ratio = static_cast<float>(camera.viewWidth) /
                        static_cast<float>(camera.viewHeight > 0 ? camera.viewHeight : 1);
    if (ratio >= 1.0f)
        return Frustum{-ratio * h, ratio * h, -h, h, zNear, zFar};
    return Frustum{-h, h, -h / ratio, h / ratio, zNear, zFar};
}

bool scrollAperture(CameraRecord& camera, double d)
{
    if (d == 0.0)
        return false;
    camera.aperture += -camera.aperture * d / 200.0;
    if (camera.aperture < 0.1)
        camera.aperture = 0.1;
    if (camera.aperture > 179.9)
        camera.aperture = 179.9;
    return true;
}

void resetCamera(CameraRecord& camera)
{
    camera.aperture = 40.0;
    camera.rotPoint = Vec3d{};
    camera.viewPos = Vec3d{0.0, 0.0, -10.0};
    camera.viewDir = Vec3d{0.0, 0.0, 10.0};
    camera.viewUp = Vec3d{0.0, 1.0, 0.0};
}

void mouseDolly(CameraRecord& camera, double startY[1], double pointY)
{
    camera.viewPos.z += (startY[0] - pointY) * (-camera.viewPos.z) / 300.0;
    if (camera.viewPos.z == 0.0)
        camera.viewPos.z = 0.0001;
    startY[0] = pointY;
}

void mousePan(CameraRecord& camera, double start[2], double pointX, double pointY)
{
    if (camera.viewPos.z != 0.0) {
        const double s = -900.0 / camera.viewPos.z;
        camera.viewPos.x -= (start[0] - pointX) / s;
        camera.viewPos.y -= (start[1] - pointY) / s;
    }
    start[0] = pointX;
    start[1] = pointY;
}

void updateObjectRotation(float rRot[3], float rVel[3], float rAccel[3], float objectRotation[4], double dt)
{
    for (int i = 0; i < 3; ++i) {
        rVel[i] += static_cast<float>(rAccel[i] * dt * 30.0);
        if (rVel[i] > 2.0f) {
            rVel[i] = 2.0f;
            rAccel[i] = -rAccel[i];
        } else if (rVel[i] < -2.0f) {
            rVel[i] = -2.0f;
            rAccel[i] = -rAccel[i];
        }
        rRot[i] += static_cast<float>(rVel[i] * dt * 30.0);
        while (rRot[i] > 360.0f)
            rRot[i] -= 360.0f;
        while (rRot[i] < -360.0f)
            rRot[i] += 360.0f;
    }
    const float x[4] = {rRot[0], 1.0f, 0.0f, 0.0f};
    const float y[4] = {rRot[1], 0.0f, 1.0f, 0.0f};
    const float z[4] = {rRot[2], 0.0f, 0.0f, 1.0f};
    addToRotationTrackball(x, objectRotation);
    addToRotationTrackball(y, objectRotation);
    addToRotationTrackball(z, objectRotation);
}

}  // namespace nupo
