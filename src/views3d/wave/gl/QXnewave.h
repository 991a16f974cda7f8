#pragma once

// The wave-surface engine: a square sheet of vertices that moves like a net of springs with its outermost
// rows and columns held fixed, and the renderer that draws it as the four walls of a tunnel. Nothing damps
// the motion; a disturbance keeps travelling until the sheet is reset or stopped. Every array is sized for
// the largest sheet (63) and only the top-left `gridd` x `gridd` part is used, so resizing never
// allocates. The sheet, the renderer's state below and the variables of this header are drawing state of
// the wave-surface frames: only those frames touch them (one at a time, each with its GL context
// current), and changes from outside a frame are requests carried out between frames
// (changeWaveDrawing, QXnewaveGLView.h).

#include "platform/gl/TexelFootprint.h"
#include "platform/gl/VectorMath.h"
#include "views3d/textures/gl/EdgeOnGuard.h"

#include <functional>

namespace nupo {

// Active side of the sheet: 15, 31, 42 or 63 once set by setdSized.
inline int gridd = 17;
// Time step: 0.001, 0.004 or 0.008 once set by setSpeeddn.
inline float dtd = 0.004f;

// --- Renderer state ---------------------------------------------------------------------------------
inline float lightPositiond[4] = {0.0f, 0.0f, 1.0f, 1.0f};
inline float aspectd = 1.25f;  // width / height of the view
inline float zNeard = 1.0f;
inline float zFard = 1000.0f;
inline int xsized = 0;          // view width in pixels
inline int ysized = 0;          // view height in pixels
inline int imagePositionN = 0;  // 1: each wall takes the next image or palette
inline int ImageNXZ = 0;        // image number made current at the start of the last frame
inline unsigned int texId1d = 0;
inline unsigned int texId2d = 0;
// The image loadImageTextured uploads (RGBA bytes); nothing fills it unless a caller does.
inline int texWidtdhd = 0;
inline int texHeightd = 0;
inline const unsigned char* texDatad = nullptr;

// The arguments of one tunnel frame, named as the drawing entry's keywords.
struct QXnewaveFrame {
    float displayUndn = 0.0f;  // rotation about z, degrees
    float sthet = 0.0f;        // tilt: rotation about x by minus this, degrees
    float Xposi = 0.0f;
    float Yposi = 0.0f;
    float sdept = 0.0f;  // distance: shift along z by minus this
    int DX = 0;          // DX, DY and drawS are carried for the caller; the tunnel does not use them
    int DY = 0;
    int drawS = 0;
    int displayUnn = 0;  // draw mode: 0 wireframe, 1 hidden line, 2 flat, 3 smooth, 4 textured, other none
    int texture = 0;     // 0 height palette, 1 column palette, 2 image Color_Map, 3 image Dynamic_Texture
    int RunTexture = 0;  // step the image or palette once per frame
    int RunbyBrainsw = 0;
    int Env = 0;      // sphere-mapped environment on or off ...
    int EnvMode = 0;  // ... applied after this frame when set
    int ImageNX = 0;  // current image number
    int maxImageNX = 1;
    float PColor = 0.0f;  // palette 0..5 of texture mode 0
    float FColor = 0.0f;  // palette 0..5 of texture mode 1
    float Color_Map = 0.0f;
    float Dynamic_Texture = 0.0f;
};

class QXnewave {
public:
    static constexpr int side = 63;

    static QXnewave& sharedQXnewave();

    // --- Simulation (QXnewave.cpp) ------------------------------------------------------------------
    // One step (forces, velocities, heights) while the sheet runs, then a redisplay request.
    void wavedn();
    void godn();
    void stopdn();
    void editd();
    // Turns every inner vertex's motion around; starts the sheet if it was stopped.
    void reversed();
    // Stops the sheet, stores a non-zero mode, zeroes force and velocity and shapes the heights (mode 0
    // re-applies the stored shape; a mode without a shape leaves the inner heights); the border is flat.
    void resetdn(int mode);
    // n 0..3: side 15, 31, 42, 63 (another n keeps it); a shrinking sheet is reset to its stored shape.
    void setdSized(int n);
    // n 0, 1, 2: step 0.001, 0.004, 0.008; another n keeps it.
    void setSpeeddn(int n);
    void getforced();
    void getvelocdityd();
    void getpositdiond();
    void getFaceNormsd();
    void getVertNormsd();
    void getFaceNormSegsd();
    void getTexCoordsd();

    // --- Tunnel renderer (QXnewaveTunnel.cpp) -------------------------------------------------------
    // Draws one frame: the sheet as four walls of a tunnel. Returns the image number after the frame's
    // steps, which the caller passes back as the next frame's ImageNX.
    int displayUndn(QXnewaveFrame frame);
    // One-time GL and engine set-up: smooth-shaded, 15 vertices a side, fastest step, flat.
    void mainNewaved();
    // Follows a view size; a height below 1 counts as 1 for the aspect ratio.
    void myReshapeXdn(int w, int h);
    // Shading and lighting of draw mode 0..4 (another mode is stored but changes no GL state).
    void setDisplayd(int mode);
    // 0 full screen, 1 normal segments on/off, 2 line antialiasing on/off, 3 environment map on, 4 off.
    void setOtherd(int n);
    void drawWireframed();
    void drawHiddenLined();
    void drawFlatShadedd();
    // mode 0 height palette p, 1 column palette f, another mode the current colour.
    void drawSmoothShadedd(int mode, float PColor, float FColor);
    void drawTexturedd();
    void drawFaceNormalsd();
    // Uploads `texDatad` into `texId1d` and `texId2d`; nothing when no image is given.
    void loadImageTextured();

    // What the hosting view does on a redisplay or full-screen request; requests are counted either way.
    std::function<void()> redisplay;
    std::function<void()> fullScreen;
    int redisplayRequests = 0;
    void postRedisplay();

    float forced[side][side] = {};
    float velocd[side][side] = {};
    float positd[side][side] = {};
    float vertNormsd[side][side][3] = {};
    float faceNormsd[2][side][side][3] = {};
    float faceNormSegsd[2][2][side][side][3] = {};
    float texCoordsd[side][side][2] = {};
    int resetdnModed = 0;
    int wavingd = 0;
    int editdingd = 0;
    int drawFaceNormsd = 0;
    int antialiasd = 0;
    int envMapdd = 0;
    int displayModed = 0;

    // How many triangles the last frame drew without anisotropic filtering, seen edge-on (EdgeOnGuard).
    int edgeOnTriangles = 0;

private:
    void drawWall(const QXnewaveFrame& frame);
    // Marks the triangles of the textured sheet seen edge-on (EdgeOnGuard), with the bound texture and the
    // current transforms; false when there are none or the texture is not filtered anisotropically.
    bool findEdgeOnTriangles();
    // The image and palette step: next image (wrapped and made current in image modes) or next palette.
    static void stepImage(int& k, QXnewaveFrame& frame);

    // Set by findEdgeOnTriangles: where each vertex lands, and which triangles are edge-on, [triangle 0
    // or 1 of the cell][i][j].
    EdgeOnGuard edgeOnGuard_;
    TexturedCorner edgeOnCorners_[side][side] = {};
    bool edgeOn_[2][side][side] = {};
};

// The engine's vector functions are those of the mesh code.
inline void copyd(float v[3], const float a[3])
{
    copy(v, a);
}
inline void subd(float v[3], const float a[3], const float b[3])
{
    sub(v, a, b);
}
inline void addd(float v[3], const float a[3], const float b[3])
{
    add(v, a, b);
}
inline void scalDivd(float v[3], float s)
{
    scalDiv(v, s);
}
inline void crossd(float v[3], const float a[3], const float b[3])
{
    cross(v, a, b);
}
inline void normd(float v[3])
{
    norm(v);
}
inline void setd(float v[3], double x, double y, double z)
{
    set(v, x, y, z);
}

// Draws a string in 12-pixel Helvetica at the raster position; nothing for null.
void DrawStrd(const char* s);
// Escape ends the process; another key asks for a redisplay. Nothing registers it.
void keyboarddn(unsigned char key, int x, int y);

}  // namespace nupo
