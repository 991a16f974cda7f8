#include "views3d/math/QuaternionMath.h"

#include <cmath>

namespace nupo {

namespace {

constexpr float epsilon = 1.1920929e-07f;

}  // namespace

Matrix::Matrix()
{
    Q3Matrix4x4_SetIdentity(this);
}

Matrix Quat::GetMatrix() const
{
    Matrix m;
    Q3Matrix4x4_SetQuaternion(&m, this);
    return m;
}

void QMatrix::Init()
{
    Q3Quaternion_SetIdentity(&rotation);
    position = Vec(0.0f, 0.0f, 0.0f);
    scale = Vec(1.0f, 1.0f, 1.0f);
}

Matrix* Q3Matrix4x4_SetIdentity(Matrix* m)
{
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            m->value[row][column] = row == column ? 1.0f : 0.0f;
    return m;
}

Quat* Q3Quaternion_SetIdentity(Quat* q)
{
    *q = Quat(1.0f, 0.0f, 0.0f, 0.0f);
    return q;
}

Matrix* Q3Matrix4x4_SetQuaternion(Matrix* m, const Quat* q)
{
    const float w = q->w, x = q->x, y = q->y, z = q->z;
    float(&v)[4][4] = m->value;
    v[0][0] = 1 - 2 * y * y - 2 * z * z;
    v[0][1] = 2 * x * y + 2 * w * z;
    v[0][2] = 2 * x * z - 2 * w * y;
    v[1][0] = 2 * x * y - 2 * w * z;
    v[1][1] = 1 - 2 * x * x - 2 * z * z;
    v[1][2] = 2 * y * z + 2 * w * x;
    v[2][0] = 2 * x * z + 2 * w * y;
    v[2][1] = 2 * y * z - 2 * w * x;
    v[2][2] = 1 - 2 * x * x - 2 * y * y;
    v[0][3] = v[1][3] = v[2][3] = 0.0f;
    v[3][0] = v[3][1] = v[3][2] = 0.0f;
    v[3][3] = 1.0f;
    return m;
}

Quat* Q3Quaternion_Invert(const Quat* q, Quat* r)
{
    *r = Quat(q->w, -q->x, -q->y, -q->z);
    return r;
}

Quat* Q3Quaternion_Normalize(const Quat* q, Quat* r)
{
    const float n = q->w * q->w + q->x * q->x + q->y * q->y + q->z * q->z;
    if (n < epsilon || (n > 1.0f - epsilon && n < 1.0f + epsilon)) {
        *r = *q;
        return r;
    }
    const float length = std::sqrt(n);
    *r = Quat(q->w / length, q->x / length, q->y / length, q->z / length);
    return r;
}

Quat* Q3Quaternion_Multiply(const Quat* q1, const Quat* q2, Quat* r)
{
    const Quat a = *q1;
    const Quat b = *q2;
    r->w = a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z;
    r->x = b.w * a.x + b.x * a.w + b.y * a.z - b.z * a.y;
    r->y = b.w * a.y + b.y * a.w + b.z * a.x - b.x * a.z;
    r->z = b.w * a.z + b.z * a.w + b.x * a.y - b.y * a.x;
    return r;
}

Quat* Q3Quaternion_SetRotateAboutAxis(Quat* q, const Vec* axis, float angle)
{
    const float sine = std::sin(angle / 2.0f);
    *q = Quat(std::cos(angle / 2.0f), sine * axis->x, sine * axis->y, sine * axis->z);
    return q;
}

float Q3Quaternion_Dot(const Quat* q1, const Quat* q2)
{
    return q1->w * q2->w + q1->x * q2->x + q1->y * q2->y + q1->z * q2->z;
}

Quat* Q3Quaternion_InterpolateFast(const Quat* q1, const Quat* q2, float t, Quat* r)
{
    const Quat mix(q1->w + t * (q2->w - q1->w), q1->x + t * (q2->x - q1->x), q1->y + t * (q2->y - q1->y),
                   q1->z + t * (q2->z - q1->z));
    return Q3Quaternion_Normalize(&mix, r);
}

Quat* Q3Quaternion_InterpolateLinear(const Quat* q1, const Quat* q2, float t, Quat* r)
{
    const float c = Q3Quaternion_Dot(q1, q2);
    if (c <= -(1.0f - epsilon) || c >= 1.0f - epsilon) {
        *r = t <= 0.5f ? *q1 : *q2;
        return r;
    }
    const float theta = std::acos(c);
    const float sine = std::sin(theta);
    const float a = std::sin((1.0f - t) * theta) / sine;
    const float b = std::sin(t * theta) / sine;
    *r = Quat(a * q1->w + b * q2->w, a * q1->x + b * q2->x, a * q1->y + b * q2->y, a * q1->z + b * q2->z);
    return r;
}

Quat* Q3Quaternion_SetRotateVectorToVector(Quat* q, const Vec* a, const Vec* b)
{
    Vec h(a->x + b->x, a->y + b->y, a->z + b->z);
    const float length = std::sqrt(h.x * h.x + h.y * h.y + h.z * h.z);
    if (length >= epsilon)
        h = Vec(h.x / length, h.y / length, h.z / length);
    q->w = h.x * b->x + h.y * b->y + h.z * b->z;
    q->x = h.y * b->z - h.z * b->y;
    q->y = h.z * b->x - h.x * b->z;
    q->z = h.x * b->y - h.y * b->x;
    return q;
}

Vec* Q3Vector3D_TransformQuaternion(const Vec* v, const Quat* q, Vec* r)
{
    Quat conjugate;
    Q3Quaternion_Invert(q, &conjugate);
    const Quat p(0.0f, v->x, v->y, v->z);
    Quat result;
    Q3Quaternion_Multiply(&conjugate, &p, &result);
    Q3Quaternion_Multiply(&result, q, &result);
    *r = Vec(result.x, result.y, result.z);
    return r;
}

Vec* Q3Point3D_TransformQuaternion(const Vec* p, const Quat* q, Vec* r)
{
    return Q3Vector3D_TransformQuaternion(p, q, r);
}

}  // namespace nupo
