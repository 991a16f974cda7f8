#include "views3d/scene/gl/FacingCull.h"

#include <GL/gl.h>

#include <cmath>
#include <cstddef>
#include <limits>

namespace nupo {

void FacingCull::begin()
{
    culled_ = 0;
    if (!glIsEnabled(GL_CULL_FACE))
        return;
    GLint mode = 0, front = 0;
    glGetIntegerv(GL_CULL_FACE_MODE, &mode);
    glGetIntegerv(GL_FRONT_FACE, &front);
    if (mode != GL_BACK && mode != GL_FRONT)
        return;
    GLdouble projection[16], modelview[16];
    GLint viewport[4];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetIntegerv(GL_VIEWPORT, viewport);
    // Column-major: element (row r, column c) at [c * 4 + r].
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += projection[k * 4 + r] * modelview[c * 4 + k];
            matrix_[r][c] = sum;
        }
    halfWidth_ = 0.5 * viewport[2];
    halfHeight_ = 0.5 * viewport[3];
    // Counter-clockwise areas are positive in window space; a front face is one wound as GL_FRONT_FACE
    // says. `culled_` is the sign of the area of the faces culled, seen as counter-clockwise positive.
    const int frontSign = front == GL_CW ? -1 : 1;
    culled_ = mode == GL_BACK ? -frontSign : frontSign;
}

void FacingCull::project(const float* positions, int stride, int count)
{
    points_.resize(std::size_t(count));
    const auto* bytes = reinterpret_cast<const unsigned char*>(positions);
    for (int k = 0; k < count; ++k) {
        const auto* p = reinterpret_cast<const float*>(bytes + std::ptrdiff_t(k) * stride);
        const auto row = [&](int r) {
            return matrix_[r][0] * p[0] + matrix_[r][1] * p[1] + matrix_[r][2] * p[2] + matrix_[r][3];
        };
        const double w = row(3);
        Point& q = points_[std::size_t(k)];
        // Corners at or behind the eye leave the decision to the GL's clipping: their NaN makes every
        // area through them fail the test for culling.
        const bool inFront = w > 1e-6;
        q.x = inFront ? row(0) / w * halfWidth_ : std::numeric_limits<double>::quiet_NaN();
        q.y = inFront ? row(1) / w * halfHeight_ : std::numeric_limits<double>::quiet_NaN();
    }
}

std::span<const GridMesh::Index> FacingCull::keep(const std::vector<GridMesh::Index>& triangles)
{
    if (culled_ == 0)
        return triangles;
    const Point* p = points_.data();
    const std::size_t n = triangles.size() - triangles.size() % 3;
    // Grown, never shrunk nor cleared: filling it anew would cost more than the filtering.
    if (kept_.size() < n)
        kept_.resize(n);
    GridMesh::Index* out = kept_.data();
    const double sign = culled_;
    for (std::size_t t = 0; t < n; t += 3) {
        const GridMesh::Index ia = triangles[t], ib = triangles[t + 1], ic = triangles[t + 2];
        const Point& a = p[ia];
        const Point& b = p[ib];
        const Point& c = p[ic];
        const double abx = b.x - a.x, aby = b.y - a.y, acx = c.x - a.x, acy = c.y - a.y;
        const double area = (abx * acy - aby * acx) * sign;
        // Snapping to the rasteriser's sub-pixel grid moves the area by less than the perimeter over a
        // few hundred; rounding by less than a tiny share of its square. Faces on the drawn side need
        // neither.
        bool culled = false;
        if (area > 0.0) {
            const double perimeter = std::abs(abx) + std::abs(aby) + std::abs(acx) + std::abs(acy) +
                                     std::abs(c.x - b.x) + std::abs(c.y - b.y);
            culled = area > perimeter / 64.0 + 1e-5 * perimeter * perimeter + 1e-3;
        }
        out[0] = ia;
        out[1] = ib;
        out[2] = ic;
        out += culled ? 0 : 3;
    }
    return {kept_.data(), std::size_t(out - kept_.data())};
}

}  // namespace nupo
