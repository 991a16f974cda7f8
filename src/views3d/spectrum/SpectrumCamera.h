#pragma once

// The camera maths of the 3D band-spectrum view: the scene camera and its presets, the look-at camera
// record used for the overlays, pointer drags, keys and the wheel, and the five hot spots of the view.
// Plain numbers, no GL.

#include <optional>

namespace nupo {

// The scene camera the composer builds its projection from: azimuth and elevation in degrees, pan and
// distance.
struct SceneCamera {
    float sphi = 0.0f;
    float stheta = 0.0f;
    float Xposition = 0.0f;
    float Yposition = 0.0f;
    float sdepth = 0.0f;

    friend bool operator==(const SceneCamera&, const SceneCamera&) = default;
};

// A camera preset: the target camera, and the scene mode and top-view variant where the preset sets them.
struct CameraPreset {
    SceneCamera target;
    std::optional<float> Viwe_Mode_value;
    std::optional<int> TopNO;
};

// Preset n (0..4) for layout code viewModeX (0..13); none for other values.
std::optional<CameraPreset> cameraPreset(int n, int viewModeX);

// A preset move takes this many frames; frame k (0..9) draws the camera k tenths of the way.
inline constexpr int presetMoveFrames = 10;
// The camera drawn on frame `step` of a move from `current` to `target`.
SceneCamera interpolatedCamera(const SceneCamera& current, const SceneCamera& target, int step);

// A left-button drag by (px - downX, downY - py) with py stored negated: mode 0 turns (stheta, sphi),
// 1 pans, 2 changes the distance. Other modes move nothing.
void applyDrag(SceneCamera& camera, int moveMode, int downX, int downY, float px, float py);

// Hot spot under the pointer at (x, y) (origin bottom left) in a w x h view: 5 the centre, 1 the
// lower, 2 the upper, 3 the left, 4 the right zone, 0 none.
int hotSpotAt(int x, int y, int w, int h);

// The look-at camera record of the overlays.
struct Vec3d {
    double x = 0.0, y = 0.0, z = 0.0;
};
struct CameraRecord {
    Vec3d viewPos, viewDir, viewUp, rotPoint;
    double aperture = 0.0;
    int viewWidth = 0;
    int viewHeight = 0;
};

// The projection's frustum for a scene of size shapeSize. A view 0 pixels high is taken as 1 high.
struct Frustum {
    double left, right, bottom, top, zNear, zFar;
};
Frustum projectionFrustum(const CameraRecord& camera, float shapeSize);

// The wheel: d = the sum of the deltas; when not 0 the aperture changes by -aperture * d / 200, kept in
// 0.1 .. 179.9. True when it changed.
bool scrollAperture(CameraRecord& camera, double d);

// The idle look-at camera moves: reset, dolly and pan from a start point (updated to the point).
void resetCamera(CameraRecord& camera);
void mouseDolly(CameraRecord& camera, double startY[1], double pointY);
// Does nothing while viewPos.z is 0 (no pan scale).
void mousePan(CameraRecord& camera, double start[2], double pointX, double pointY);

// Object spin: velocities accelerate and turn at +-2, angles wrap at +-360, and objectRotation takes
// the three axis rotations in turn.
void updateObjectRotation(float rRot[3], float rVel[3], float rAccel[3], float objectRotation[4], double dt);
}  // namespace nupo
