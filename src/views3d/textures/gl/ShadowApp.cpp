#include "views3d/textures/gl/ShadowApp.h"

#include "shared/CoreState.h"
#include "views3d/textures/gl/ImageSources.h"

#include <GL/gl.h>

#include <cstring>

namespace nupo {

bool ShadowApp::load(int n, const char* path, int pathCapacity)
{
    if (n < 0 || n >= slotCount) {
        Util::log("image number %d is outside 0..%d", n, slotCount - 1);
        return false;
    }
    slots_[n].reset();
    const std::size_t length = strnlen(path, static_cast<std::size_t>(pathCapacity));
    if (length >= static_cast<std::size_t>(nameBufferSize)) {
        Util::log("image path too long (%zu characters, at most %d)", length, nameBufferSize - 1);
        return false;
    }
    char name[nameBufferSize];
    std::memcpy(name, path, length);
    name[length] = '\0';

    SpriteImageInfo info(3, 0, 0);
    std::unique_ptr<GLSprite> sprite = blitter_.CreateSprite(name, info);
    if (!sprite)
        return false;
    sprite->info.centred = 1;
    sprite->info.filterQuality = 8.0f;
    slots_[n] = std::move(sprite);
    return true;
}

bool ShadowApp::InitAXS(int n)
{
    return load(n, outCHAR, outCHARSize);
}

bool ShadowApp::InitAXMX(int n)
{
    if (n < 0 || n >= outCHARMCount) {
        Util::log("image set number %d is outside 0..%d", n, outCHARMCount - 1);
        return false;
    }
    return load(n, outCHARM[n], outCHARMSize);
}

void ShadowApp::RenderScene(int n)
{
    if (GLSprite* s = sprite(n < 0 ? 0 : n))
        s->Render();
    glEnable(GL_LIGHTING);
    glDisable(GL_LIGHTING);
}

void ShadowApp::emptySlots()
{
    for (auto& slot : slots_)
        slot.reset();
}

GLSprite* ShadowApp::sprite(int n) const
{
    return n >= 0 && n < slotCount ? slots_[n].get() : nullptr;
}

void InitGL()
{
    static constexpr GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glShadeModel(GL_SMOOTH);
    glDisable(GL_DITHER);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    glLightfv(GL_LIGHT0, GL_AMBIENT, white);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glEnable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

void InitGLAX()
{
    InitGL();
}

void AppInit()
{
    InitGL();
    shadow_app.emptySlots();
}

void AppInitAX()
{
    InitGLAX();
    shadow_appAX.emptySlots();
}

void textureInitX()
{
    shadow_app.emptySlots();
}

void textureInitXAX()
{
    shadow_appAX.emptySlots();
}

bool ImageInitMX(int n)
{
    return shadow_app.InitAXMX(n);
}

bool ImageInitMXAX(int n)
{
    return shadow_appAX.InitAXMX(n);
}

bool textureInitReadS()
{
    const bool loaded = shadow_app.InitAXS(0);
    shadow_app.RenderScene(0);
    return loaded;
}

bool textureInitReadSAX()
{
    const bool loaded = shadow_appAX.InitAXS(0);
    shadow_appAX.RenderSceneAX(0);
    return loaded;
}

void setRender(int n)
{
    shadow_app.RenderScene(n);
}

void setRenderAX(int n)
{
    shadow_appAX.RenderSceneAX(n);
}

}  // namespace nupo
