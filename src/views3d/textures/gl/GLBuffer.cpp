#include "views3d/textures/gl/GLBuffer.h"

#include "views3d/textures/gl/CurrentGLContext.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <atomic>
#include <cstring>

namespace nupo {

namespace {

std::atomic<int> liveTextureCount{0};  // drawing threads of several views make and delete textures

void upload(int level, const GBuffer& buffer)
{
    // 32-bit pixels are native words 0xAARRGGBB: BGRA read as reversed 8-8-8-8 words takes blue from the
    // low byte and alpha from the high one on either byte order.
    const bool full = buffer.bufferDepth() == 32;
    glTexImage2D(GL_TEXTURE_2D, level, full ? GL_RGBA8 : GL_RGB5_A1, buffer.bufferSize().width(),
                 buffer.bufferSize().height(), 0, GL_BGRA,
                 full ? GL_UNSIGNED_INT_8_8_8_8_REV : GL_UNSIGNED_SHORT_1_5_5_5_REV, buffer.pixels());
}

}  // namespace

float maxAnisotropy()
{
    // Each drawing thread has its own context: each keeps its own answer.
    thread_local const void* context = nullptr;
    thread_local float maximum = 0.0f;
    const void* current = currentGLContext();
    if (current != context) {
        context = current;
        maximum = 0.0f;
        const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
        if (extensions && (std::strstr(extensions, "GL_EXT_texture_filter_anisotropic") ||
                           std::strstr(extensions, "GL_ARB_texture_filter_anisotropic")))
            glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
    }
    return maximum;
}

GLBuffer::~GLBuffer()
{
    deleteTexture();
}

int GLBuffer::liveTextures()
{
    return liveTextureCount;
}

void GLBuffer::deleteTexture()
{
    if (textureName_ != 0) {
        // A texture of another context cannot be reached from here; it goes with that context.
        if (textureContext_ == currentGLContext())
            glDeleteTextures(1, &textureName_);
        --liveTextureCount;
    }
    textureName_ = 0;
    textureContext_ = nullptr;
    textureReady_ = false;
}

bool GLBuffer::CreateTexture(int mode)
{
    if (!drawn() || !pixels()) {
        Util::log("no image to make a texture of (%s)", qUtf8Printable(file().path));
        return false;
    }
    std::vector<std::unique_ptr<GBuffer>> levels;
    if (mode > 2)
        levels = mipmapLevels(*this);
    std::vector<const GBuffer*> smaller;
    for (const auto& level : levels)
        smaller.push_back(level.get());
    return uploadTexture(*this, smaller, mode);
}

bool GLBuffer::CreateTexture(const SpritePicture& picture, int mode)
{
    const GBuffer& base = picture.level(0);
    if (!base.pixels()) {
        Util::log("no image to make a texture of (%s)", qUtf8Printable(picture.path()));
        return false;
    }
    file_.path = picture.path();
    imageSize_ = base.imageSize();
    imageDepth_ = base.imageDepth();
    bufferSize_ = base.bufferSize();
    bufferDepth_ = base.bufferDepth();
    bufferLength_ = base.bufferLength();
    std::vector<const GBuffer*> smaller;
    if (mode > 2)
        for (int n = 1; n < picture.levelCount(); ++n)
            smaller.push_back(&picture.level(n));
    return uploadTexture(base, smaller, mode);
}

bool GLBuffer::uploadTexture(const GBuffer& base, const std::vector<const GBuffer*>& smaller, int mode)
{
    if (textureName_ != 0 && textureContext_ != currentGLContext())
        deleteTexture();
    if (textureName_ == 0) {
        if (!currentGLContext()) {
            Util::log("no texture");
            return false;
        }
        glGenTextures(1, &textureName_);
        if (textureName_ == 0) {
            Util::log("no texture");
            return false;
        }
        textureContext_ = currentGLContext();
        ++liveTextureCount;
    }

    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, base.bufferDepth() == 32 ? 4 : 2);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    glBindTexture(GL_TEXTURE_2D, textureName_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    upload(0, base);
    if (mode <= 2) {
        const GLint filter = mode <= 1 ? GL_NEAREST : GL_LINEAR;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    } else {
        int level = 0;
        for (const GBuffer* next : smaller)
            upload(++level, *next);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, level);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glPopClientAttrib();
    textureReady_ = true;
    texelWidth_ = 1.0f / static_cast<float>(base.bufferSize().width());
    texelHeight_ = 1.0f / static_cast<float>(base.bufferSize().height());
    return true;
}

void GLBuffer::SetTexture(float quality)
{
    glBindTexture(GL_TEXTURE_2D, textureName_);
    if (const float maximum = maxAnisotropy(); maximum > 0.0f)
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT,
                        1.0f + (quality - 1.0f) / 7.0f * maximum);
    switch (filterMode) {
        case 1:
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            break;
        case 2:
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            break;
        case 3:
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
            break;
        default:
            break;
    }
}

void GLBuffer::Render(const ImageRenderDef& def, const QPointF& point)
{
    if (def.colour.alpha == 0.0f)
        return;
    const QRectF& r = def.sourceRect;
    const QPointF corner = def.centred ? point - QPointF(r.width() / 2, r.height() / 2)
                                       : point - QPointF(def.hotSpotX, def.hotSpotY);
    const RGBA colours[4] = {def.colour, def.colour, def.colour, def.colour};
    Render(r, corner, colours, def.filterQuality);
}

void GLBuffer::Render(const QRectF& r, const QPointF& a, const RGBA* c, float quality)
{
    SetTexture(quality);
    const float s0 = static_cast<float>(r.x()) * texelWidth_;
    const float t0 = static_cast<float>(r.y()) * texelHeight_;
    const float s1 = s0 + static_cast<float>(r.width()) * texelWidth_;
    const float t1 = t0 + static_cast<float>(r.height()) * texelHeight_;
    const auto corner = [](double x, double y) { glVertex2i(static_cast<int>(x), static_cast<int>(y)); };
    const auto colour = [](const RGBA& k) { glColor4f(k.red, k.green, k.blue, k.alpha); };
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    colour(c[0]);
    corner(a.x(), a.y());
    glTexCoord2f(s0, t1);
    colour(c[1]);
    corner(a.x(), a.y() + r.height());
    glTexCoord2f(s1, t1);
    colour(c[2]);
    corner(a.x() + r.width(), a.y() + r.height());
    glTexCoord2f(s1, t0);
    colour(c[3]);
    corner(a.x() + r.width(), a.y());
    glEnd();
}

}  // namespace nupo
