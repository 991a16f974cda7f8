#pragma once

#include "views3d/textures/gl/GLSprite.h"
#include "views3d/textures/gl/SpritePicture.h"

#include <memory>
#include <vector>

namespace nupo {

class GLBlitter;

// The two sprite scenes: the wave surface's and the 3D spectrum's.
enum class SpriteScene { Wave, Spectrum };

// One view's sprites: the textures of the picture set the view shows, made in the view's own GL context
// by its own frames and bound only there. The pictures are shared (SpritePictureSet); the GL names are
// this table's alone, deleted by it in their context when the view shows another set. Used only by the
// view's frames (its drawing thread, its context current), one at a time.
class ViewSprites {
public:
    // At most this many textures are made in one frame; the rest in the frames after it.
    static constexpr int uploadsPerFrame = 32;

    explicit ViewSprites(SpriteScene scene);
    ~ViewSprites();
    ViewSprites(const ViewSprites&) = delete;
    ViewSprites& operator=(const ViewSprites&) = delete;

    // Shows set in the current context: the textures of its pictures are made here, those of the set
    // shown before deleted. Nothing to do when it shows that set in this context already; a new context
    // (the old one gone with its names) makes them all again. False while textures are still to be made
    // (the next frame goes on).
    bool show(const SharedPictureSet& set);
    // Deletes every texture (in the current context, where they were made) and shows no set.
    void clear();
    const SharedPictureSet& shown() const { return shown_; }

    // The sprite of slot n, or null (empty slot, not made yet, or outside the set).
    GLSprite* sprite(int n) const;
    // Draws slot n (a negative n is slot 0), then switches lighting on and off again; an empty slot draws
    // nothing.
    void RenderScene(int n);
    // Makes slot n (a negative n is slot 0) the image the textured meshes drawn next show, as RenderScene
    // leaves it (its texture bound with its drawing filter, lighting switched on and off again) but
    // without drawing its sprite, whose quad would stand in the scene; an empty slot binds nothing.
    void use(int n);
    // Binds slot n's texture without drawing its sprite; nothing for an empty slot.
    void bind(int n) const;

    // The table of the view whose frame of that scene this thread draws now, or null.
    static ViewSprites* drawing(SpriteScene scene);
    // Makes sprites the table the scene's entry functions (setRender, setRenderAX) use on this thread,
    // for the lifetime of this object.
    class Drawing {
    public:
        explicit Drawing(ViewSprites& sprites);
        ~Drawing();
        Drawing(const Drawing&) = delete;
        Drawing& operator=(const Drawing&) = delete;

    private:
        ViewSprites& sprites_;
        ViewSprites* previous_;
    };

private:
    GLBlitter& blitter() const;
    void forget();

    const SpriteScene scene_;
    SharedPictureSet shown_;
    const void* context_ = nullptr;  // where the textures were made
    std::vector<std::unique_ptr<GLSprite>> sprites_;
    std::size_t next_ = 0;  // the first slot whose texture is still to be made
};

}  // namespace nupo
