#pragma once

// Switches of the 3D spectrum mesh and the GL state of its mesh modes (0 wireframe, 1 hidden line, 2 flat
// shaded, 3 smooth shaded, 4 textured). The 3D views' frames' (one at a time), with the frame's GL context
// current: a view's settings reach them as work done in its context before its next frame.

#include <functional>

namespace nupo {

inline int waving = 0;           // animation flag of the mesh engine
inline int editing = 0;          // editing flag of the mesh engine
inline int resetnMode = 7;       // reset shape that resetn applies (1..10 shape it)
inline float dt = 0.004f;        // time step of the surface animation
inline int drawFaceNorms = 0;    // non-zero: the tile drawer overlays the face normals
inline int antialias = 0;        // non-zero: blended, smoothed lines of width 1.5
inline int envMap = 0;           // non-zero: sphere-mapped texture
inline unsigned int texId1 = 0;  // plain texture of the environment-map toggle
inline unsigned int texId2 = 0;  // environment texture of that toggle
inline int xsize = 0;            // width of the 3D view's last drawn rectangle, pixels
inline int ysize = 0;            // its height
inline float lightPosition[4] = {0.0f, 0.0f, 1.0f, 1.0f};

// What the view hosting the engine does when the engine asks for a new frame or for full screen. Empty
// until a view installs its handlers; requests are counted either way.
struct MeshViewRequests {
    std::function<void()> redisplay;
    std::function<void()> fullScreen;
    int redisplayCount = 0;
};
MeshViewRequests& meshViewRequests();
// Asks the hosting view to draw a new frame.
void postRedisplay();

// Stops the animation.
void stopn();
// n 0, 1, 2 set `dt` to 0.001, 0.004, 0.008; other values leave it.
void setSpeedn(int n);
// Shade model and lighting of mesh mode 0..4; other modes change nothing.
void setDisplayn(int mode);
// n 0 full screen, 1 face-normal overlay toggle, 2 line antialiasing toggle, 3 environment-map toggle.
void setOther(int n);
// Records the size of the rectangle the view draws.
void myReshapeXn(int width, int height);

}  // namespace nupo
