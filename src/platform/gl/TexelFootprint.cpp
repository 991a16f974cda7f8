#include "platform/gl/TexelFootprint.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace nupo {

WindowTransform::WindowTransform(const float modelview[16], const float projection[16], const int viewport[4])
{
    std::memcpy(modelview_, modelview, sizeof modelview_);
    std::memcpy(projection_, projection, sizeof projection_);
    std::memcpy(viewport_, viewport, sizeof viewport_);
}

WindowTransform WindowTransform::current()
{
    float modelview[16];
    float projection[16];
    int viewport[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    return WindowTransform(modelview, projection, viewport);
}

void WindowTransform::toEye(const float object[3], float eye[3]) const
{
    const float* m = modelview_;
    for (int r = 0; r < 3; ++r)
        eye[r] = m[r] * object[0] + m[4 + r] * object[1] + m[8 + r] * object[2] + m[12 + r];
}

void WindowTransform::normalToEye(const float normal[3], float eye[3]) const
{
    const float* m = modelview_;
    for (int r = 0; r < 3; ++r)
        eye[r] = m[r] * normal[0] + m[4 + r] * normal[1] + m[8 + r] * normal[2];
    const float length = std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]);
    if (length > 0.0f)
        for (int r = 0; r < 3; ++r)
            eye[r] /= length;
}

WindowTransform::Point WindowTransform::toWindow(const float object[3]) const
{
    float eye[3];
    toEye(object, eye);
    const float* p = projection_;
    float clip[4];
    for (int r = 0; r < 4; ++r)
        clip[r] = p[r] * eye[0] + p[4 + r] * eye[1] + p[8 + r] * eye[2] + p[12 + r];
    Point point;
    point.w = clip[3];
    if (clip[3] > 0.0f) {
        point.x = static_cast<float>(viewport_[0]) +
                  (clip[0] / clip[3] + 1.0f) * 0.5f * static_cast<float>(viewport_[2]);
        point.y = static_cast<float>(viewport_[1]) +
                  (clip[1] / clip[3] + 1.0f) * 0.5f * static_cast<float>(viewport_[3]);
    }
    return point;
}

void sphereMapCoords(const float eyePosition[3], const float eyeNormal[3], float st[2])
{
    float u[3] = {eyePosition[0], eyePosition[1], eyePosition[2]};
    const float length = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
    if (length > 0.0f)
        for (float& c : u)
            c /= length;
    const float dot = eyeNormal[0] * u[0] + eyeNormal[1] * u[1] + eyeNormal[2] * u[2];
    float r[3];
    for (int k = 0; k < 3; ++k)
        r[k] = u[k] - 2.0f * eyeNormal[k] * dot;
    const float m = 2.0f * std::sqrt(r[0] * r[0] + r[1] * r[1] + (r[2] + 1.0f) * (r[2] + 1.0f));
    st[0] = m > 0.0f ? r[0] / m + 0.5f : 0.5f;
    st[1] = m > 0.0f ? r[1] / m + 0.5f : 0.5f;
}

TexelFootprint texelFootprint(const TexturedCorner& a, const TexturedCorner& b, const TexturedCorner& c)
{
    const TexelFootprint degenerate{std::numeric_limits<double>::infinity(), 0.0};
    const TexturedCorner* corners[3] = {&a, &b, &c};
    for (const TexturedCorner* k : corners) {
        if (!(k->window.w > 0.0f))
            return k->window.w <= 0.0f ? TexelFootprint{} : degenerate;
        if (!std::isfinite(k->window.x) || !std::isfinite(k->window.y) || !std::isfinite(k->u) ||
            !std::isfinite(k->v))
            return degenerate;
    }
    // Perspective-correct interpolation is linear in the window for u/w, v/w and 1/w: their gradients
    // over the triangle's plane give the texture's derivatives at each corner.
    const double e1x = b.window.x - a.window.x;
    const double e1y = b.window.y - a.window.y;
    const double e2x = c.window.x - a.window.x;
    const double e2y = c.window.y - a.window.y;
    const double area2 = e1x * e2y - e1y * e2x;
    if (area2 == 0.0)
        return degenerate;
    const auto gradient = [&](double f0, double f1, double f2, double& dx, double& dy) {
        dx = ((f1 - f0) * e2y - (f2 - f0) * e1y) / area2;
        dy = ((f2 - f0) * e1x - (f1 - f0) * e2x) / area2;
    };
    const auto over = [](const TexturedCorner& k, float value) {
        return value / static_cast<double>(k.window.w);
    };
    double qx, qy, sx, sy, tx, ty;
    gradient(1.0 / a.window.w, 1.0 / b.window.w, 1.0 / c.window.w, qx, qy);
    gradient(over(a, a.u), over(b, b.u), over(c, c.u), sx, sy);
    gradient(over(a, a.v), over(b, b.v), over(c, c.v), tx, ty);
    const double qSlope = std::hypot(qx, qy);
    TexelFootprint footprint;
    footprint.pixelsToHorizon = std::numeric_limits<double>::infinity();
    for (const TexturedCorner* k : corners) {
        const double w = k->window.w;
        const double dudx = (sx - k->u * qx) * w;
        const double dudy = (sy - k->u * qy) * w;
        const double dvdx = (tx - k->v * qx) * w;
        const double dvdy = (ty - k->v * qy) * w;
        footprint.texelsPerPixel =
            std::max({footprint.texelsPerPixel, std::hypot(dudx, dvdx), std::hypot(dudy, dvdy)});
        if (qSlope > 0.0)
            footprint.pixelsToHorizon = std::min(footprint.pixelsToHorizon, 1.0 / w / qSlope);
    }
    if (!std::isfinite(footprint.texelsPerPixel) || std::isnan(footprint.pixelsToHorizon))
        return degenerate;
    return footprint;
}

}  // namespace nupo
