#include "views3d/textures/gl/EdgeOnGuard.h"

#include "views3d/textures/gl/GLBuffer.h"

#include <GL/gl.h>
#include <GL/glext.h>

namespace nupo {

bool EdgeOnGuard::begin()
{
    anisotropy_ = 1.0f;
    if (maxAnisotropy() > 0.0f)
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy_);
    if (anisotropy_ <= 1.0f)
        return false;
    GLint width = 0;
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    width_ = static_cast<float>(width);
    height_ = static_cast<float>(height);
    generatedS_ = glIsEnabled(GL_TEXTURE_GEN_S);
    generatedT_ = glIsEnabled(GL_TEXTURE_GEN_T);
    transform_ = WindowTransform::current();
    return true;
}

TexturedCorner EdgeOnGuard::place(const float position[3], const float normal[3],
                                  const float texCoord[2]) const
{
    float st[2] = {texCoord[0], texCoord[1]};
    // The environment map's coordinates come from the eye-space positions and normals.
    if (generatedS_ || generatedT_) {
        float eye[3];
        float eyeNormal[3];
        float generated[2];
        transform_->toEye(position, eye);
        transform_->normalToEye(normal, eyeNormal);
        sphereMapCoords(eye, eyeNormal, generated);
        st[0] = generatedS_ ? generated[0] : st[0];
        st[1] = generatedT_ ? generated[1] : st[1];
    }
    TexturedCorner corner;
    corner.window = transform_->toWindow(position);
    corner.u = st[0] * width_;
    corner.v = st[1] * height_;
    return corner;
}

bool EdgeOnGuard::edgeOn(const TexturedCorner& a, const TexturedCorner& b, const TexturedCorner& c)
{
    const TexelFootprint footprint = texelFootprint(a, b, c);
    return footprint.texelsPerPixel > edgeOnTexelsPerPixel ||
           footprint.pixelsToHorizon < edgeOnPixelsToHorizon;
}

void EdgeOnGuard::withoutAnisotropy(const std::function<void()>& draw) const
{
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, 1.0f);
    draw();
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy_);
}

}  // namespace nupo
