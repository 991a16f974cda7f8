#pragma once

#include "platform/gl/GridMesh.h"

#include <span>
#include <vector>

namespace nupo {

// Drops, before a draw, the triangles that the GL's face culling would discard anyway, so that Mesa
// neither transforms nor sets them up. Only triangles whose facing is certain are dropped: those whose
// window-space area lies on the culled side by more than the rounding and sub-pixel snapping of the
// rasteriser can move it, with every corner in front of the eye. The rest (edge-on triangles, corners at
// or behind the eye) go to the GL, which decides as before, so the pixels drawn are the same.
class FacingCull {
public:
    // Reads the projection, modelview, viewport and face-culling state of the current context. Does
    // nothing unless culling is on for either the front or the back faces alone.
    void begin();
    bool active() const { return culled_ != 0; }

    // Window positions of `count` vertices of three floats each, `stride` bytes apart.
    void project(const float* positions, int stride, int count);
    // The triangles of `triangles` (three indices each into the projected vertices) that the GL might
    // draw, in their order; valid until the next call. All of them when not active.
    std::span<const GridMesh::Index> keep(const std::vector<GridMesh::Index>& triangles);

private:
    struct Point {
        double x, y;  // window position relative to the viewport's centre; NaN at or behind the eye
    };
    double matrix_[4][4] = {};  // projection x modelview, rows x, y, w used
    double halfWidth_ = 0.0, halfHeight_ = 0.0;
    int culled_ = 0;  // +1: back faces culled, -1: front faces, 0: none for certain
    std::vector<Point> points_;
    std::vector<GridMesh::Index> kept_;
};

}  // namespace nupo
