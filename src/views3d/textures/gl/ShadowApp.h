#pragma once

#include "views3d/textures/gl/GLBlitter.h"

#include <array>
#include <memory>

namespace nupo {

// A sprite table: image number 0..999 to the sprite loaded for it. Loading an image makes its texture in
// the current GL context; rendering a slot draws the sprite and leaves its texture bound for the meshes
// drawn after it. A slot owns its sprite: emptying or reloading it frees the old sprite, its buffer and
// its texture. Main thread.
class ShadowApp {
public:
    static constexpr int slotCount = 1000;
    // Longest path (with its terminating zero) a slot accepts.
    static constexpr int nameBufferSize = 264;

    explicit ShadowApp(GLBlitter& blitter) : blitter_(blitter) {}
    virtual ~ShadowApp() = default;

    // Loads the image at `outCHAR` into slot n, centred, mipmapped, with the best filtering. False, with
    // the slot left empty, for a slot outside 0..999, a path that does not fit or an image that cannot be
    // loaded.
    bool InitAXS(int n);
    // The same with image n of the set, `outCHARM`[n] (n 0..255).
    bool InitAXMX(int n);
    // Draws slot n (a negative n is slot 0), then switches lighting on and off again. An empty slot or
    // one beyond the table draws nothing.
    void RenderScene(int n);
    // Empties every slot.
    void emptySlots();
    // The sprite in slot n, or null.
    GLSprite* sprite(int n) const;

private:
    bool load(int n, const char* path, int pathCapacity);

    GLBlitter& blitter_;
    std::array<std::unique_ptr<GLSprite>, slotCount> slots_;
};

// The 3D spectrum's table.
class ShadowAppAX : public ShadowApp {
public:
    using ShadowApp::ShadowApp;
    void RenderSceneAX(int n) { RenderScene(n); }
};

// The sprite factories and tables of the wave surface (no suffix) and the 3D spectrum (AX). They live to
// process end: a drawing thread left to finish its frame as the program ends may still use them.
inline GLBlitter& blitter = *new GLBlitter;
inline GLBlitter& blitterAX = *new GLBlitter;
inline ShadowApp& shadow_app = *new ShadowApp{blitter};
inline ShadowAppAX& shadow_appAX = *new ShadowAppAX{blitterAX};

// OpenGL state of the sprite scenes.
void InitGL();
void InitGLAX();
// Set-up of the two scenes: their GL state, every slot emptied.
void AppInit();
void AppInitAX();
// Empty every slot before an image set is loaded.
void textureInitX();
void textureInitXAX();
// Load image n of a set into slot n.
bool ImageInitMX(int n);
bool ImageInitMXAX(int n);
// Load the chosen image into slot 0 and draw it.
bool textureInitReadS();
bool textureInitReadSAX();
// Draw slot n, leaving its texture bound.
void setRender(int n);
void setRenderAX(int n);

}  // namespace nupo
