#pragma once

// Vector functions of the mesh code on float[3] vectors; the first argument is the result.

namespace nupo {

// v = a.
void copy(float v[3], const float a[3]);
// v = a - b.
void sub(float v[3], const float a[3], const float b[3]);
// v = a + b.
void add(float v[3], const float a[3], const float b[3]);
// v = v / s, in place.
void scalDiv(float v[3], float s);
// v = a x b. Components are written in turn, so v must be distinct from a and b.
void cross(float v[3], const float a[3], const float b[3]);
// Divides v by its length. A zero vector has no direction and is left as it is.
void norm(float v[3]);
// v = (x, y, z), each rounded to float.
void set(float v[3], double x, double y, double z);

}  // namespace nupo
