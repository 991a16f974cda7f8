#pragma once

#include "views3d/textures/gl/GBuffer.h"
#include "views3d/textures/gl/SpriteImageInfo.h"
#include "views3d/textures/gl/SpritePicture.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace nupo {

// Highest texture anisotropy of the current context; 0 when it has no anisotropic filtering.
float maxAnisotropy();

// An image buffer with its OpenGL texture: upload with filters and mipmaps, and textured quads. The
// texture belongs to the GL context current at its creation and is deleted with the buffer while that
// context is current.
class GLBuffer : public GBuffer {
public:
    GLBuffer() = default;
    ~GLBuffer() override;

    // Makes the texture from the decoded pixels: mode 0 and 1 nearest, 2 linear, 3 and above a full
    // mipmap chain, each level the whole buffer scaled down. False, and no texture, when nothing was
    // decoded or no texture name can be had.
    bool CreateTexture(int mode);
    // The same from a shared decoded picture, whose buffer and mipmap chain are uploaded as they are;
    // this buffer takes the picture's sizes and keeps no pixels of its own.
    bool CreateTexture(const SpritePicture& picture, int mode);
    // Binds the texture with the anisotropy of quality 1..8 and the minification filter of the filter
    // mode.
    void SetTexture(float quality);
    // The size the texture keeps: the buffer's.
    QSizeF Rescale(QSizeF size) const { return size; }
    // Places and draws the quad of def's source rectangle at point: centred on it, or with its corner at
    // the point minus the hot spot. A colour with alpha 0 draws nothing.
    void Render(const ImageRenderDef& def, const QPointF& point);
    // Textured quad of source rectangle r at a, corners coloured c[0..3]; the texture stays bound.
    void Render(const QRectF& r, const QPointF& a, const RGBA* c, float quality);

    unsigned int textureName() const { return textureName_; }
    bool textureReady() const { return textureReady_; }
    float texelWidth() const { return texelWidth_; }
    float texelHeight() const { return texelHeight_; }
    int filterMode = 0;  // filter mode applied when drawing

    // Textures of every GLBuffer that exist now.
    static int liveTextures();

private:
    void deleteTexture();
    // Uploads base (and, for mode 3 and above, the levels below it) into this buffer's texture.
    bool uploadTexture(const GBuffer& base, const std::vector<const GBuffer*>& smaller, int mode);

    unsigned int textureName_ = 0;
    const void* textureContext_ = nullptr;
    bool textureReady_ = false;
    float texelWidth_ = 0.0f;
    float texelHeight_ = 0.0f;
};

}  // namespace nupo
