#include "platform/gl/VectorMath.h"

#include <cmath>

namespace nupo {

void copy(float v[3], const float a[3])
{
    v[0] = a[0];
    v[1] = a[1];
    v[2] = a[2];
}

void sub(float v[3], const float a[3], const float b[3])
{
    v[0] = a[0] - b[0];
    v[1] = a[1] - b[1];
    v[2] = a[2] - b[2];
}

void add(float v[3], const float a[3], const float b[3])
{
    v[0] = a[0] + b[0];
    v[1] = a[1] + b[1];
    v[2] = a[2] + b[2];
}

void scalDiv(float v[3], float s)
{
    v[0] /= s;
    v[1] /= s;
    v[2] /= s;
}

void cross(float v[3], const float a[3], const float b[3])
{
    v[0] = a[1] * b[2] - a[2] * b[1];
    v[1] = a[2] * b[0] - a[0] * b[2];
    v[2] = a[0] * b[1] - a[1] * b[0];
}

void norm(float v[3])
{
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0.0f)
        scalDiv(v, length);
}

void set(float v[3], double x, double y, double z)
{
    v[0] = static_cast<float>(x);
    v[1] = static_cast<float>(y);
    v[2] = static_cast<float>(z);
}

}  // namespace nupo
