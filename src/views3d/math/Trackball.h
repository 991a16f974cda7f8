#pragma once

// A virtual trackball: pointer motion over a sphere becomes a rotation, and rotations compose. A rotation
// is four floats: the angle in degrees, then the axis x, y, z. Main thread.

namespace nupo {

// State of one drag: the sphere's radius and centre in pixels and the start and end points on it,
// relative to the centre.
inline float gRadiusTrackball = 0.0f;
inline int gXCenterTrackball = 0;
inline int gYCenterTrackball = 0;
inline float gStartPtTrackball[3] = {};
inline float gEndPtTrackball[3] = {};

// Starts a drag at pointer (x, y) over the area (originX, originY, width, height): the sphere fills the
// area's shorter side and sits at its centre.
void startTrackball(int x, int y, int originX, int originY, int width, int height);
// The rotation from the drag's start point to pointer (x, y), written into rot. Left as it is while the
// pointer has not moved, and when the two points give no axis (the same or opposite directions, or a
// point at the centre of a sphere of radius 0).
void rollToTrackball(int x, int y, float rot[4]);
// Quaternion x, y, z, w of a rotation.
void rotation2Quat(const float A[4], float q[4]);
// The rotation becomes the rotation followed by dA. A result that turns by no angle (or a whole turn) is
// (0, 1, 0, 0).
void addToRotationTrackball(const float dA[4], float A[4]);

}  // namespace nupo
