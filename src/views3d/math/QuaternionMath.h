#pragma once

// The small geometry layer under the image sprites: a 3-vector, a 4 x 4 matrix, a quaternion and the
// sprite transform, with quaternion and matrix functions named and behaving as the QuickDraw 3D math
// interface's. Matrices act on row vectors (v' = v M) and are stored row by row, which is the memory
// layout glMultMatrixf expects for the same transform: they go to OpenGL unchanged.

namespace nupo {

struct Vec {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    Vec() = default;
    Vec(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
};

struct Matrix {
    float value[4][4];  // [row][column]
    Matrix();           // identity
};

struct Quat {
    float w = 1.0f;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    Quat() = default;  // identity
    Quat(float w_, float x_, float y_, float z_) : w(w_), x(x_), y(y_), z(z_) {}
    Matrix GetMatrix() const;
};

// A sprite's placement: rotate, then scale, then move to the position.
struct QMatrix {
    Quat rotation;
    Vec position;
    Vec scale;
    QMatrix() { Init(); }
    void Init();
};

Matrix* Q3Matrix4x4_SetIdentity(Matrix* m);
Quat* Q3Quaternion_SetIdentity(Quat* q);
Matrix* Q3Matrix4x4_SetQuaternion(Matrix* m, const Quat* q);
// The conjugate (w, -x, -y, -z), not divided by the squared norm.
Quat* Q3Quaternion_Invert(const Quat* q, Quat* r);
// q divided by its norm; a quaternion of (nearly) zero or (nearly) unit norm is returned unchanged.
Quat* Q3Quaternion_Normalize(const Quat* q, Quat* r);
// r = q2 q1: the rotation q1 followed by q2. r may be q1 or q2.
Quat* Q3Quaternion_Multiply(const Quat* q1, const Quat* q2, Quat* r);
// Rotation by angle radians about a unit axis.
Quat* Q3Quaternion_SetRotateAboutAxis(Quat* q, const Vec* axis, float angle);
float Q3Quaternion_Dot(const Quat* q1, const Quat* q2);
// Component-wise interpolation, normalised.
Quat* Q3Quaternion_InterpolateFast(const Quat* q1, const Quat* q2, float t, Quat* r);
// Spherical interpolation (without turning towards the shorter arc); nearly equal or opposite
// quaternions give q1 up to t = 0.5 and q2 after.
Quat* Q3Quaternion_InterpolateLinear(const Quat* q1, const Quat* q2, float t, Quat* r);
// The rotation that takes unit vector a to unit vector b.
Quat* Q3Quaternion_SetRotateVectorToVector(Quat* q, const Vec* a, const Vec* b);
// v rotated by q.
Vec* Q3Vector3D_TransformQuaternion(const Vec* v, const Quat* q, Vec* r);
Vec* Q3Point3D_TransformQuaternion(const Vec* p, const Quat* q, Vec* r);

}  // namespace nupo
