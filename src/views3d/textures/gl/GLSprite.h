#pragma once

#include "views3d/math/QuaternionMath.h"
#include "views3d/textures/gl/GLBuffer.h"

#include <memory>

namespace nupo {

// A textured image placed by a transform, showing one frame of its image's frame grid.
class GLSprite {
public:
    GLSprite() = default;
    virtual ~GLSprite() = default;
    virtual void Process() {}
    // Draws the current frame at the origin of the sprite's transform; nothing without a ready texture.
    virtual void Render();
    // Gives the texture the filter Render draws with (the sprite's texture mode and filter quality) without
    // drawing; the texture bound before stays bound.
    void applyFilter();
    // Binds the texture with the filter Render draws with, without drawing: meshes drawn next show the
    // image as the sprite would. Nothing without a ready texture.
    void bindForDrawing();

    // Shows buffer with info; a frame size of 0 or less becomes the image's size. False for no buffer.
    bool Set(std::shared_ptr<GLBuffer> buffer, const SpriteImageInfo& info);

    std::shared_ptr<GLBuffer> buffer;
    QMatrix matrix;
    SpriteImageInfo info{0, 0, 0};
    float frame = 0.0f;
};

}  // namespace nupo
