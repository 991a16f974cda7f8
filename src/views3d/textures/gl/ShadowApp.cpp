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
    auto set =
        pictures_ ? std::make_shared<SpritePictureSet>(*pictures_) : std::make_shared<SpritePictureSet>();
    if (set->pictures.size() <= static_cast<std::size_t>(n))
        set->pictures.resize(static_cast<std::size_t>(n) + 1);
    set->pictures[static_cast<std::size_t>(n)].reset();
    const std::size_t length = strnlen(path, static_cast<std::size_t>(pathCapacity));
    bool loaded = false;
    if (length >= static_cast<std::size_t>(nameBufferSize)) {
        Util::log("image path too long (%zu characters, at most %d)", length, nameBufferSize - 1);
    } else {
        QString why;
        set->pictures[static_cast<std::size_t>(n)] =
            SpritePicture::load(QString::fromUtf8(path, static_cast<qsizetype>(length)), &why);
        loaded = set->pictures[static_cast<std::size_t>(n)] != nullptr;
    }
    pictures_ = std::move(set);
    return loaded;
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

void ShadowApp::emptySlots()
{
    pictures_.reset();
}

void ShadowApp::install(SharedPictureSet set)
{
    pictures_ = std::move(set);
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
    if (ViewSprites* sprites = ViewSprites::drawing(SpriteScene::Wave))
        sprites->clear();
}

void AppInitAX()
{
    InitGLAX();
    if (ViewSprites* sprites = ViewSprites::drawing(SpriteScene::Spectrum))
        sprites->clear();
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
    setRender(0);
    return loaded;
}

bool textureInitReadSAX()
{
    const bool loaded = shadow_appAX.InitAXS(0);
    setRenderAX(0);
    return loaded;
}

void setRender(int n)
{
    if (ViewSprites* sprites = ViewSprites::drawing(SpriteScene::Wave))
        sprites->RenderScene(n);
}

void setRenderAX(int n)
{
    if (ViewSprites* sprites = ViewSprites::drawing(SpriteScene::Spectrum))
        sprites->RenderScene(n);
}

void useImage(int n)
{
    if (ViewSprites* sprites = ViewSprites::drawing(SpriteScene::Wave))
        sprites->use(n);
}

void useImageAX(int n)
{
    if (ViewSprites* sprites = ViewSprites::drawing(SpriteScene::Spectrum))
        sprites->use(n);
}

}  // namespace nupo
