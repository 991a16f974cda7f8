#include "views3d/wave/gl/WaveWallImages.h"

#include "views3d/textures/gl/ImageSources.h"
#include "views3d/textures/gl/ShadowApp.h"
#include "views3d/wave/gl/QXnewave.h"

#include <GL/gl.h>

#include <cstring>

namespace nupo {

int loadWaveWallImages()
{
    int loaded = 0;
    for (const char* name : waveWallImageNames) {
        // A name without a leading '/' is looked up in the resources' Images folder.
        std::strncpy(outCHARM[loaded], name, outCHARMSize - 1);
        outCHARM[loaded][outCHARMSize - 1] = '\0';
        const GLSprite* sprite = ImageInitMX(loaded) ? shadow_app.sprite(loaded) : nullptr;
        if (!sprite || !sprite->buffer || !sprite->buffer->textureReady())
            break;  // a sprite whose image could not be read draws nothing
        ++loaded;
    }
    if (loaded > 0) {
        setRender(0);
        ImageNXZ = 0;
    }
    return loaded;
}

void bindWallImage(int n)
{
    const GLSprite* sprite = shadow_app.sprite(n);
    if (sprite && sprite->buffer && sprite->buffer->textureReady())
        glBindTexture(GL_TEXTURE_2D, sprite->buffer->textureName());
}

}  // namespace nupo
