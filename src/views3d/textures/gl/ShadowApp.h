#pragma once

#include "views3d/textures/gl/GLBlitter.h"
#include "views3d/textures/gl/SpritePicture.h"
#include "views3d/textures/gl/ViewSprites.h"

namespace nupo {

// A scene's shared image table: image number 0..999 to a decoded picture, the set the media browser
// loaded last. It holds pictures, never GL names: each view that shows a set makes its own textures of it
// in its own context (ViewSprites), and the drawing entry functions below act on the table of the view
// drawing on the calling thread. Main thread.
class ShadowApp {
public:
    static constexpr int slotCount = 1000;
    // Longest path (with its terminating zero) a slot accepts.
    static constexpr int nameBufferSize = 264;

    explicit ShadowApp(SpriteScene scene) : scene_(scene) {}
    virtual ~ShadowApp() = default;

    // Reads and decodes the image at `outCHAR` into slot n on the calling thread (the checked reader
    // refuses a FIFO or a device without blocking). False, with the slot left empty, for a slot outside
    // 0..999, a path that does not fit or an image that cannot be loaded.
    bool InitAXS(int n);
    // The same with image n of the set, `outCHARM`[n] (n 0..255).
    bool InitAXMX(int n);
    // Empties every slot.
    void emptySlots();
    // Makes set the table's pictures (the media browser, once a set is decoded).
    void install(SharedPictureSet set);
    // The pictures now: an immutable set that the caller may keep.
    const SharedPictureSet& pictures() const { return pictures_; }
    const SpritePicture* picture(int n) const { return pictures_ ? pictures_->picture(n) : nullptr; }
    SpriteScene scene() const { return scene_; }

private:
    bool load(int n, const char* path, int pathCapacity);

    const SpriteScene scene_;
    SharedPictureSet pictures_;
};

// The 3D spectrum's table.
class ShadowAppAX : public ShadowApp {
public:
    using ShadowApp::ShadowApp;
};

// The sprite factories and tables of the wave surface (no suffix) and the 3D spectrum (AX). They live to
// process end: a drawing thread left to finish its frame as the program ends may still use them.
inline GLBlitter& blitter = *new GLBlitter;
inline GLBlitter& blitterAX = *new GLBlitter;
inline ShadowApp& shadow_app = *new ShadowApp{SpriteScene::Wave};
inline ShadowAppAX& shadow_appAX = *new ShadowAppAX{SpriteScene::Spectrum};

// OpenGL state of the sprite scenes.
void InitGL();
void InitGLAX();
// Set-up of the two scenes in the frame of a view: the GL state, and every texture of the drawing view's
// table deleted (its frame makes those of its set again).
void AppInit();
void AppInitAX();
// Empty every slot of the shared table before an image set is loaded.
void textureInitX();
void textureInitXAX();
// Load image n of a set into slot n of the shared table (on the calling thread).
bool ImageInitMX(int n);
bool ImageInitMXAX(int n);
// Load the chosen image into slot 0 of the shared table, and draw it where a view draws on this thread.
bool textureInitReadS();
bool textureInitReadSAX();
// Draw slot n of the drawing view's table, leaving its texture bound; nothing where no view of the scene
// draws on this thread.
void setRender(int n);
void setRenderAX(int n);
// Make image n of the drawing view's table the one its textured meshes show (ViewSprites::use): what the
// scenes do when they change images, where the sprite's quad would stand in the picture.
void useImage(int n);
void useImageAX(int n);

}  // namespace nupo
